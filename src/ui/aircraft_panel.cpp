// The aircraft panel (Panel1): shows the selected aircraft and flies it; loads missiles on it.
#include <QPainter>
#include <QScopedValueRollback>
#include <QSignalBlocker>
#include <cmath>

#include "catalog/missile_catalog.h"
#include "missile/missile_loading.h"
#include "ui/controls.h"
#include "ui/picture_box.h"
#include "ui/pictures.h"
#include "ui/object_names.h"
#include "ui/main_window.h"
#include "ui/missile_window.h"
#include "ui/ui_text.h"
#include "world/aircraft_control.h"

namespace prrsim::ui {

namespace {

constexpr int kCompassCentre = 31;

QLineEdit* makeEdit(const char* name, const QRect& geometry, bool readOnly, QWidget* parent) {
    auto* edit = makeControl<QLineEdit>(name, geometry, parent);
    edit->setReadOnly(readOnly);
    return edit;
}

// A fresh compass picture with a blue needle from the centre to `end`.
}  // namespace

void MainWindow::createAircraftPanel() {
    Panel1 = new QFrame(this);
    Panel1->setObjectName(QStringLiteral("Panel1"));
    Panel1->setFrameStyle(QFrame::Panel | QFrame::Raised);
    Panel1->setGeometry(601, 0, 184, 441);
    Panel1->hide();
    QWidget* p = Panel1;

    Label1 = makeLabel("Label1", QStringLiteral("Самолёт"), 32, 2, p);
    QFont bold = Label1->font();
    bold.setBold(true);
    Label1->setFont(bold);
    Label1->adjustSize();
    Label7 = makeLabel("Label7", QString(), 112, 5, p);
    Label7->resize(40, 13);
    Label2 = makeLabel("Label2", QStringLiteral("X"), 16, 27, p);
    Edit1 = makeEdit("Edit1", {32, 27, 49, 21}, true, p);
    Label3 = makeLabel("Label3", QStringLiteral("Y"), 88, 27, p);
    Edit2 = makeEdit("Edit2", {104, 27, 49, 21}, true, p);
    Button6 = makeButton("Button6", QStringLiteral("Перенести"), {32, 50, 121, 24}, p);
    Label4 = makeLabel("Label4", QStringLiteral("Высота"), 7, 76, p);
    Edit3 = makeEdit("Edit3", {88, 76, 65, 21}, true, p);
    Label5 = makeLabel("Label5", QStringLiteral("Скорость"), 7, 100, p);
    Edit4 = makeEdit("Edit4", {88, 99, 65, 21}, true, p);

    TrackBar1 = new QSlider(Qt::Horizontal, p);
    TrackBar1->setObjectName(QStringLiteral("TrackBar1"));
    TrackBar1->setGeometry(-1, 124, 162, 33);
    TrackBar1->setRange(0, 1800);
    TrackBar1->setValue(0);

    Label6 = makeLabel("Label6", QStringLiteral("Курс"), 16, 154, p);
    Image2 = new PictureBox(p);
    Image2->setObjectName(QStringLiteral("Image2"));
    Image2->setGeometry(4, 173, 62, 62);
    compassImage_ = compassPicture();
    Image2->setPixmap(compassImage_);
    Edit5 = makeEdit("Edit5", {20, 239, 33, 21}, true, p);

    Label9 = makeLabel("Label9", QStringLiteral("Подъём"), 84, 155, p);
    TrackBar2 = new QSlider(Qt::Vertical, p);
    TrackBar2->setObjectName(QStringLiteral("TrackBar2"));
    TrackBar2->setGeometry(88, 172, 33, 89);
    TrackBar2->setRange(0, 20);
    // Position 0 at the top, as climbAngle = 10 - position puts +10 degrees there.
    TrackBar2->setInvertedAppearance(true);
    TrackBar2->setInvertedControls(true);
    TrackBar2->setValue(10);
    Edit6 = makeEdit("Edit6", {121, 179, 33, 21}, false, p);
    Button2 = makeButton("Button2", QStringLiteral("0"), {122, 204, 32, 17}, p);

    Label8 = makeLabel("Label8", QStringLiteral("Атака цели"), 6, 264, p);
    Label10 = makeLabel("Label10", QString(), 110, 268, p);
    Label10->resize(60, 13);
    Button3 = makeButton("Button3", QStringLiteral("Выбрать"), {3, 292, 86, 24}, p);
    Button1 = makeButton("Button1", QStringLiteral("Очистить"), {91, 292, 88, 24}, p);
    // The bold "Уйти с боевого" needs more than a third of the row: beside "Добавить ПРР".
    Button4 = makeButton("Button4", QStringLiteral("На боевой"), {86, 320, 93, 25}, p);
    Button16 = makeButton("Button16", QStringLiteral("Добавить ПРР"), {3, 320, 79, 25}, p);
    Button11 = makeButton("Button11", QStringLiteral("ПУСК!!!"), {5, 350, 55, 25}, p);
    ComboBox1 = makeControl<QComboBox>("ComboBox1", {4, 384, 176, 21}, p);
    ComboBox2 = makeControl<QComboBox>("ComboBox2", {5, 406, 174, 21}, p);
}

void MainWindow::connectAircraftPanel() {
    setTips({
        {Edit1, QStringLiteral("X самолёта на карте, пиксели 0 … 599 (1 пиксель = 100 м)")},
        {Edit2, QStringLiteral("Y самолёта на карте, пиксели 0 … 439 (1 пиксель = 100 м)")},
        {Button6, QStringLiteral("Перенести самолёт: следующий щелчок по карте ставит его туда")},
        {Edit3, QStringLiteral("Высота полёта, м")},
        {Edit4, QStringLiteral("Скорость, км/ч, 0 … 1800")},
        {TrackBar1, QStringLiteral("Скорость, км/ч, 0 … 1800")},
        {Image2, QStringLiteral("Курс: щелчок по компасу задаёт направление полёта, 0 … 360°")},
        {Edit5, QStringLiteral("Курс, градусы 0 … 360 (0 — восток, по часовой стрелке)")},
        {TrackBar2, QStringLiteral("Угол подъёма (вверх) или снижения (вниз), градусы −10 … +10")},
        {Edit6, QStringLiteral("Угол подъёма, градусы; отрицательный — снижение")},
        {Button2, QStringLiteral("Горизонтальный полёт: угол подъёма 0°")},
        {Button3, QStringLiteral("Выбрать цель атаки: следующий щелчок по РЛС на карте")},
        {Button1, QStringLiteral("Очистить цель атаки")},
        {Button4, QStringLiteral("Выйти на боевой курс к цели атаки или уйти с него")},
        {ComboBox1, QStringLiteral("Тип противорадиолокационной ракеты для подвески")},
        {ComboBox2, QStringLiteral("Режим пуска ракеты выбранного типа")},
        {Button16, QStringLiteral("Подвесить ракету выбранного типа и режима на самолёт")},
        {Button11, QStringLiteral("Пуск ракеты, показанной в окне ракеты")},
    });
    connect(Image2, &PictureBox::mouseMoved, this, &MainWindow::Image2MouseMove);
    connect(Image2, &PictureBox::clicked, this, &MainWindow::Image2Click);
    connect(TrackBar1, &QSlider::valueChanged, this, &MainWindow::TrackBar1Change);
    connect(TrackBar2, &QSlider::valueChanged, this, &MainWindow::TrackBar2Change);
    connect(Button2, &QPushButton::clicked, this, &MainWindow::Button2Click);
    connect(Button3, &QPushButton::clicked, this, &MainWindow::Button3Click);
    connect(Button1, &QPushButton::clicked, this, &MainWindow::Button1Click);
    connect(Button4, &QPushButton::clicked, this, &MainWindow::Button4Click);
    connect(Button6, &QPushButton::clicked, this, &MainWindow::Button6Click);
    connect(Button16, &QPushButton::clicked, this, &MainWindow::Button16Click);
    // Only the user's choice runs the handler; the create event runs it once itself.
    connect(ComboBox1, &QComboBox::activated, this, &MainWindow::ComboBox1Change);
}

// create event: missile lists
void MainWindow::FormCreate() {
    ComboBox1->clear();
    for (int32_t i = 0; i < missileTypeCount(); ++i) {
        ComboBox1->addItem(fromView(missileType(i).name));
    }
    if (ComboBox1->count() > 4) {
        ComboBox1->setCurrentIndex(4);
    }
    ComboBox1Change();
    if (ComboBox2->count() > 1) {
        ComboBox2->setCurrentIndex(1);
    }
}

// missile type
void MainWindow::ComboBox1Change() {
    fillLaunchModeList();
}

void MainWindow::fillLaunchModeList() {
    ComboBox2->clear();
    const int type = ComboBox1->currentIndex();
    if (type >= 0 && type < missileTypeCount()) {
        const MissileType& t = missileType(type);
        for (int32_t i = 0; i < t.launchModeCount && i < kLaunchModeCapacity; ++i) {
            ComboBox2->addItem(fromView(t.launchModes[i].name));
        }
    }
    // No launch mode is chosen until the user picks one.
    ComboBox2->setCurrentIndex(-1);
}

// "Добавить ПРР"
void MainWindow::Button16Click() {
    if (world_.missileCount >= kMissileCapacity) {
        showNotice(QStringLiteral("Ракета не добавлена: таблица ракет заполнена (%1).")
                       .arg(kMissileCapacity));
        return;
    }
    if (ComboBox2->currentIndex() < 0) {
        showNotice(QStringLiteral("Ракета не добавлена: выберите режим пуска."));
        return;
    }
    if (!perform(change::addMissile(view_.selectedAircraft, ComboBox1->currentIndex(),
                                    ComboBox2->currentIndex()))) {
        showNotice(QStringLiteral("Ракета не добавлена."));
        return;
    }
    view_.selectedMissile = world_.missileCount - 1;  // the missile just loaded
    showMissileWindow();
}

void MainWindow::setAircraftPanelTexts(int32_t n, bool withSpeed) {
    const Aircraft& a = aircraftAt(world_, n);
    Label7->setText(numberText(a.number));
    Edit1->setText(QString::number(trunc32(a.x)));
    Edit2->setText(QString::number(trunc32(a.y)));
    Edit3->setText(QString::number(static_cast<qint64>(trunc32(a.altitude)) * 100));
    if (withSpeed) {
        Edit4->setText(QString::number(trunc32(a.speed)));
    }
}

void MainWindow::setAircraftPanelEnabling(int32_t n) {
    const bool hasTarget = validAircraft(world_, n) && aircraftAt(world_, n).targetRadar >= 0;
    Button1->setEnabled(hasTarget);
    Button4->setEnabled(hasTarget);
}

namespace {

// The attack target as shown: the radar's name with its number, or "НЕТ" for none or a radar
// no longer there.
QString targetText(const WorldState& world, int32_t target) {
    return radarName(world, target);
}

// The climb angle the aircraft flies, -180 .. 180 degrees: the attack run's steering stores a
// descent as a direction of 180 .. 360 degrees.
double climbFlown(double climbAngle) {
    constexpr double kHalfTurn = 180;
    constexpr double kFullTurn = 360;
    return climbAngle > kHalfTurn ? climbAngle - kFullTurn : climbAngle;
}

}  // namespace

void MainWindow::refreshAircraftPanel(int32_t n) {
    if (!validAircraft(world_, n)) {
        for (QLineEdit* edit : {Edit1, Edit2, Edit3, Edit4}) {
            edit->clear();
        }
        Label7->clear();
        setAircraftPanelEnabling(n);
        return;
    }
    setAircraftPanelTexts(n, true);
    // Setting a track bar runs its handler when the position changes, so the record gets the
    // shown whole-number speed and climb angle back.
    const QScopedValueRollback<bool> writingBack(writingBack_, true);
    TrackBar1->setValue(trunc32(aircraftAt(world_, n).speed));
    const double stored = aircraftAt(world_, n).climbAngle;
    if (stored >= -10 && stored <= 10) {
        Edit6->setText(QString::number(trunc32(stored)));
        TrackBar2->setValue(trunc32(10 - stored));
    } else {
        showClimbFlown(stored);
    }
    const Aircraft& a = aircraftAt(world_, n);
    Label10->setText(targetText(world_, a.targetRadar));
    drawCompass(n);
    showAttackRun(a.onAttackRun);
    setAircraftPanelEnabling(n);
}

// The climb or descent flown, the bar at its nearest end beyond -10 .. 10; the climb angle is
// left as it is (the bar's handler does not run).
void MainWindow::showClimbFlown(double climbAngle) {
    const double climb = climbFlown(climbAngle);
    Edit6->setText(QString::number(trunc32(climb)));
    const QSignalBlocker blocker(TrackBar2);
    TrackBar2->setValue(trunc32(10 - climb));
}

void MainWindow::refreshAircraftPanelPeriodic(int32_t n) {
    if (!validAircraft(world_, n)) {
        refreshAircraftPanel(n);
        return;
    }
    setAircraftPanelTexts(n, false);
    const Aircraft& a = aircraftAt(world_, n);
    Label10->setText(targetText(world_, a.targetRadar));
    // Only the attack steering turns and tilts the aircraft by itself.
    if (a.onAttackRun) {
        drawCompass(n);
        showClimbFlown(a.climbAngle);
    }
    showAttackRun(a.onAttackRun);
    setAircraftPanelEnabling(n);
}

// Button4's caption and emphasis follow the shown aircraft's attack run.
void MainWindow::showAttackRun(bool onAttackRun) {
    Button4->setText(onAttackRun ? QStringLiteral("Уйти с боевого") : QStringLiteral("На боевой"));
    setArmed(Button4, onAttackRun);
}

void MainWindow::drawCompass(int32_t n) {
    if (!validAircraft(world_, n)) {
        return;
    }
    Aircraft& a = aircraftAt(world_, n);
    const double h = a.heading * kDegToRad;
    compassImage_ = compassWithNeedle(h);
    Image2->setPixmap(compassImage_);
    Edit5->setText(QString::number(trunc32(a.heading)));
    // The course is kept in whole degrees.
    writeBack(change::setAircraft(n, kFieldHeading, trunc32(a.heading)));
}

// compass mouse position
void MainWindow::Image2MouseMove(int x, int y) {
    view_.compassCursor = Point{x, y};
}

// compass: course
void MainWindow::Image2Click() {
    if (!validAircraft(world_, view_.selectedAircraft)) {
        return;
    }
    const int32_t dx = view_.compassCursor.x - kCompassCentre;
    const int32_t dy = view_.compassCursor.y - kCompassCentre;
    const double e = compassAngle(dx, dy);
    compassImage_ = compassWithNeedle(e);
    Image2->setPixmap(compassImage_);
    // 1/3.14 turns the angle back into degrees here.
    const int32_t d = trunc32(e * 180 * 0.3184713375796178);
    Edit5->setText(QString::number(d));
    perform(change::setAircraft(view_.selectedAircraft, kFieldHeading, d));
}

// speed
void MainWindow::TrackBar1Change(int position) {
    if (perform(change::setAircraft(view_.selectedAircraft, kFieldSpeed, position))) {
        Edit4->setText(QString::number(position));
    }
}

// climb angle
void MainWindow::TrackBar2Change(int position) {
    if (perform(change::setAircraft(view_.selectedAircraft, kFieldClimbAngle, 10 - position))) {
        Edit6->setText(QString::number(10 - position));
    }
}

// "0"
void MainWindow::Button2Click() {
    TrackBar2->setValue(10);
}

// "Выбрать"
void MainWindow::Button3Click() {
    view_.pickTargetMode = true;
    updateModeIndicators();
}

// "Очистить"
void MainWindow::Button1Click() {
    perform(change::onAircraft(batch::Op::ClearTarget, view_.selectedAircraft));
    view_.pickTargetMode = false;
    updateModeIndicators();
    refreshAircraftPanelPeriodic(view_.selectedAircraft);
}

// "На боевой" / "Уйти с боевого"
void MainWindow::Button4Click() {
    const int32_t n = view_.selectedAircraft;
    if (!validAircraft(world_, n) || !validRadar(world_, aircraftAt(world_, n).targetRadar)) {
        return;
    }
    perform(change::onAircraft(batch::Op::AttackRun, n));
    showAttackRun(aircraftAt(world_, n).onAttackRun);
}

// "Перенести"
void MainWindow::Button6Click() {
    view_.moveAircraftMode = true;
    updateModeIndicators();
}

}  // namespace prrsim::ui
