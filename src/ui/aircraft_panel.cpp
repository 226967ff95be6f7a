// The aircraft panel: shows the selected aircraft and flies it; loads missiles on it.
#include "ui/aircraft_panel.h"

#include <QPainter>
#include <QScopedValueRollback>
#include <QSignalBlocker>
#include <cmath>

#include "catalog/missile_catalog.h"
#include "missile/missile_loading.h"
#include "ui/controls.h"
#include "ui/object_names.h"
#include "ui/picture_box.h"
#include "ui/pictures.h"
#include "ui/ui_text.h"
#include "world/aircraft_control.h"
#include "world/geometry.h"
#include "world/world.h"

namespace prrsim::ui {

namespace {

constexpr int kCompassCentre = 31;
// The missile type and launch mode offered first.
constexpr int kFirstMissileType = 4;
constexpr int kFirstLaunchMode = 1;

QLineEdit* makeEdit(const char* name, const QRect& geometry, bool readOnly, QWidget* parent) {
    auto* edit = makeControl<QLineEdit>(name, geometry, parent);
    edit->setReadOnly(readOnly);
    return edit;
}

}  // namespace

AircraftPanel::AircraftPanel(WorldState& world, ViewState& view, QWidget* parent)
    : QFrame(parent),
      perform(applyDirectly(world)),
      writeBack(applyDirectly(world)),
      world_(world),
      view_(view) {
    setObjectName(QStringLiteral("aircraftPanel"));
    setFrameStyle(QFrame::Panel | QFrame::Raised);
    setGeometry(601, 0, 184, 441);
    createControls();
    setTips();
    connectControls();
    fillMissileTypes();
}

void AircraftPanel::createControls() {
    titleLabel_ = makeLabel("titleLabel", QStringLiteral("Самолёт"), 32, 2, this);
    QFont bold = titleLabel_->font();
    bold.setBold(true);
    titleLabel_->setFont(bold);
    titleLabel_->adjustSize();
    numberLabel_ = makeLabel("numberLabel", QString(), 112, 5, this);
    numberLabel_->resize(40, 13);
    makeLabel("xCaption", QStringLiteral("X"), 16, 27, this);
    xEdit_ = makeEdit("xEdit", {32, 27, 49, 21}, true, this);
    makeLabel("yCaption", QStringLiteral("Y"), 88, 27, this);
    yEdit_ = makeEdit("yEdit", {104, 27, 49, 21}, true, this);
    moveButton_ = makeButton("moveButton", QStringLiteral("Перенести"), {32, 50, 121, 24}, this);
    makeLabel("altitudeCaption", QStringLiteral("Высота"), 7, 76, this);
    altitudeEdit_ = makeEdit("altitudeEdit", {88, 76, 65, 21}, true, this);
    makeLabel("speedCaption", QStringLiteral("Скорость"), 7, 100, this);
    speedEdit_ = makeEdit("speedEdit", {88, 99, 65, 21}, true, this);
    createFlightControls();
    createAttackControls();
}

void AircraftPanel::createFlightControls() {
    speedSlider_ = new QSlider(Qt::Horizontal, this);
    speedSlider_->setObjectName(QStringLiteral("speedSlider"));
    speedSlider_->setGeometry(-1, 124, 162, 33);
    speedSlider_->setRange(0, 1800);
    speedSlider_->setValue(0);

    makeLabel("courseCaption", QStringLiteral("Курс"), 16, 154, this);
    courseCompass_ = new PictureBox(this);
    courseCompass_->setObjectName(QStringLiteral("courseCompass"));
    courseCompass_->setGeometry(4, 173, 62, 62);
    compassImage_ = compassPicture();
    courseCompass_->setPixmap(compassImage_);
    courseEdit_ = makeEdit("courseEdit", {20, 239, 33, 21}, true, this);

    makeLabel("climbCaption", QStringLiteral("Подъём"), 84, 155, this);
    climbSlider_ = new QSlider(Qt::Vertical, this);
    climbSlider_->setObjectName(QStringLiteral("climbSlider"));
    climbSlider_->setGeometry(88, 172, 33, 89);
    climbSlider_->setRange(0, 20);
    // Position 0 at the top, as climbAngle = 10 - position puts +10 degrees there.
    climbSlider_->setInvertedAppearance(true);
    climbSlider_->setInvertedControls(true);
    climbSlider_->setValue(10);
    climbEdit_ = makeEdit("climbEdit", {121, 179, 33, 21}, false, this);
    levelButton_ = makeButton("levelButton", QStringLiteral("0"), {122, 204, 32, 17}, this);
}

void AircraftPanel::createAttackControls() {
    makeLabel("targetCaption", QStringLiteral("Атака цели"), 6, 264, this);
    targetLabel_ = makeLabel("targetLabel", QString(), 110, 268, this);
    targetLabel_->resize(60, 13);
    pickTargetButton_ =
        makeButton("pickTargetButton", QStringLiteral("Выбрать"), {3, 292, 86, 24}, this);
    clearTargetButton_ =
        makeButton("clearTargetButton", QStringLiteral("Очистить"), {91, 292, 88, 24}, this);
    // The bold "Уйти с боевого" needs more than a third of the row: beside "Добавить ПРР".
    attackRunButton_ =
        makeButton("attackRunButton", QStringLiteral("На боевой"), {86, 320, 93, 25}, this);
    addMissileButton_ =
        makeButton("addMissileButton", QStringLiteral("Добавить ПРР"), {3, 320, 79, 25}, this);
    launchButton_ = makeButton("launchButton", QStringLiteral("ПУСК!!!"), {5, 350, 55, 25}, this);
    missileTypeBox_ = makeControl<QComboBox>("missileTypeBox", {4, 384, 176, 21}, this);
    launchModeBox_ = makeControl<QComboBox>("launchModeBox", {5, 406, 174, 21}, this);
}

void AircraftPanel::setTips() {
    ui::setTips({
        {xEdit_, QStringLiteral("X самолёта на карте, пиксели 0 … 599 (1 пиксель = 100 м)")},
        {yEdit_, QStringLiteral("Y самолёта на карте, пиксели 0 … 439 (1 пиксель = 100 м)")},
        {moveButton_,
         QStringLiteral("Перенести самолёт: следующий щелчок по карте ставит его туда")},
        {altitudeEdit_, QStringLiteral("Высота полёта, м")},
        {speedEdit_, QStringLiteral("Скорость, км/ч, 0 … 1800")},
        {speedSlider_, QStringLiteral("Скорость, км/ч, 0 … 1800")},
        {courseCompass_,
         QStringLiteral("Курс: щелчок по компасу задаёт направление полёта, 0 … 360°")},
        {courseEdit_, QStringLiteral("Курс, градусы 0 … 360 (0 — восток, по часовой стрелке)")},
        {climbSlider_,
         QStringLiteral("Угол подъёма (вверх) или снижения (вниз), градусы −10 … +10")},
        {climbEdit_, QStringLiteral("Угол подъёма, градусы; отрицательный — снижение")},
        {levelButton_, QStringLiteral("Горизонтальный полёт: угол подъёма 0°")},
        {pickTargetButton_, QStringLiteral("Выбрать цель атаки: следующий щелчок по РЛС на карте")},
        {clearTargetButton_, QStringLiteral("Очистить цель атаки")},
        {attackRunButton_, QStringLiteral("Выйти на боевой курс к цели атаки или уйти с него")},
        {missileTypeBox_, QStringLiteral("Тип противорадиолокационной ракеты для подвески")},
        {launchModeBox_, QStringLiteral("Режим пуска ракеты выбранного типа")},
        {addMissileButton_, QStringLiteral("Подвесить ракету выбранного типа и режима на самолёт")},
        {launchButton_, QStringLiteral("Пуск ракеты, показанной в окне ракеты")},
    });
}

void AircraftPanel::connectControls() {
    connect(courseCompass_, &PictureBox::mouseMoved, this, [this](int x, int y) {
        view_.compassCursor = Point{x, y};
    });
    connect(courseCompass_, &PictureBox::clicked, this, &AircraftPanel::setCourseFromCompass);
    connect(speedSlider_, &QSlider::valueChanged, this, &AircraftPanel::setSpeed);
    connect(climbSlider_, &QSlider::valueChanged, this, &AircraftPanel::setClimb);
    connect(levelButton_, &QPushButton::clicked, this, &AircraftPanel::flyLevel);
    connect(pickTargetButton_, &QPushButton::clicked, this, &AircraftPanel::armPickTarget);
    connect(clearTargetButton_, &QPushButton::clicked, this, &AircraftPanel::clearTarget);
    connect(attackRunButton_, &QPushButton::clicked, this, &AircraftPanel::toggleAttackRun);
    connect(moveButton_, &QPushButton::clicked, this, &AircraftPanel::armMoveAircraft);
    connect(addMissileButton_, &QPushButton::clicked, this, &AircraftPanel::loadMissile);
    // Only the user's choice refills the launch modes; the start fills them once itself.
    connect(missileTypeBox_, &QComboBox::activated, this, &AircraftPanel::fillLaunchModes);
}

bool AircraftPanel::record(const batch::Action& action) {
    return writingBack_ ? writeBack(action) : perform(action);
}

void AircraftPanel::showArmedModes() {
    setArmed(moveButton_, view_.moveAircraftMode);
    setArmed(pickTargetButton_, view_.pickTargetMode);
}

void AircraftPanel::fillMissileTypes() {
    missileTypeBox_->clear();
    for (int32_t i = 0; i < missileTypeCount(); ++i) {
        missileTypeBox_->addItem(fromView(missileType(i).name));
    }
    if (missileTypeBox_->count() > kFirstMissileType) {
        missileTypeBox_->setCurrentIndex(kFirstMissileType);
    }
    fillLaunchModes();
    if (launchModeBox_->count() > kFirstLaunchMode) {
        launchModeBox_->setCurrentIndex(kFirstLaunchMode);
    }
}

void AircraftPanel::fillLaunchModes() {
    launchModeBox_->clear();
    const int type = missileTypeBox_->currentIndex();
    if (type >= 0 && type < missileTypeCount()) {
        const MissileType& t = missileType(type);
        for (int32_t i = 0; i < t.launchModeCount && i < kLaunchModeCapacity; ++i) {
            launchModeBox_->addItem(fromView(t.launchModes[i].name));
        }
    }
    // No launch mode is chosen until the user picks one.
    launchModeBox_->setCurrentIndex(-1);
}

// "Добавить ПРР"
void AircraftPanel::loadMissile() {
    if (world_.missileCount >= kMissileCapacity) {
        emit notice(QStringLiteral("Ракета не добавлена: таблица ракет заполнена (%1).")
                        .arg(kMissileCapacity));
        return;
    }
    if (launchModeBox_->currentIndex() < 0) {
        emit notice(QStringLiteral("Ракета не добавлена: выберите режим пуска."));
        return;
    }
    if (!perform(change::addMissile(view_.selectedAircraft, missileTypeBox_->currentIndex(),
                                    launchModeBox_->currentIndex()))) {
        emit notice(QStringLiteral("Ракета не добавлена."));
        return;
    }
    view_.selectedMissile = world_.missileCount - 1;  // the missile just loaded
    emit missileLoaded();
}

void AircraftPanel::setTexts(int32_t n, bool withSpeed) {
    const Aircraft& a = aircraftAt(world_, n);
    numberLabel_->setText(numberText(a.number));
    xEdit_->setText(QString::number(trunc32(a.x)));
    yEdit_->setText(QString::number(trunc32(a.y)));
    altitudeEdit_->setText(QString::number(static_cast<qint64>(trunc32(a.altitude)) * 100));
    if (withSpeed) {
        speedEdit_->setText(QString::number(trunc32(a.speed)));
    }
}

void AircraftPanel::setEnabling(int32_t n) {
    const bool hasTarget = validAircraft(world_, n) && aircraftAt(world_, n).targetRadar >= 0;
    clearTargetButton_->setEnabled(hasTarget);
    attackRunButton_->setEnabled(hasTarget);
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

void AircraftPanel::refresh(int32_t n) {
    if (!validAircraft(world_, n)) {
        for (QLineEdit* edit : {xEdit_, yEdit_, altitudeEdit_, speedEdit_}) {
            edit->clear();
        }
        numberLabel_->clear();
        setEnabling(n);
        return;
    }
    setTexts(n, true);
    // Setting a track bar runs its handler when the position changes, so the record gets the
    // shown whole-number speed and climb angle back.
    const QScopedValueRollback<bool> writingBack(writingBack_, true);
    speedSlider_->setValue(trunc32(aircraftAt(world_, n).speed));
    const double stored = aircraftAt(world_, n).climbAngle;
    if (stored >= -10 && stored <= 10) {
        climbEdit_->setText(QString::number(trunc32(stored)));
        climbSlider_->setValue(trunc32(10 - stored));
    } else {
        showClimbFlown(stored);
    }
    const Aircraft& a = aircraftAt(world_, n);
    targetLabel_->setText(targetText(world_, a.targetRadar));
    drawCompass(n);
    showAttackRun(a.onAttackRun);
    setEnabling(n);
}

// The climb or descent flown, the bar at its nearest end beyond -10 .. 10; the climb angle is
// left as it is (the bar's handler does not run).
void AircraftPanel::showClimbFlown(double climbAngle) {
    const double climb = climbFlown(climbAngle);
    climbEdit_->setText(QString::number(trunc32(climb)));
    const QSignalBlocker blocker(climbSlider_);
    climbSlider_->setValue(trunc32(10 - climb));
}

void AircraftPanel::refreshPeriodic(int32_t n) {
    if (!validAircraft(world_, n)) {
        refresh(n);
        return;
    }
    setTexts(n, false);
    const Aircraft& a = aircraftAt(world_, n);
    targetLabel_->setText(targetText(world_, a.targetRadar));
    // Only the attack steering turns and tilts the aircraft by itself.
    if (a.onAttackRun) {
        drawCompass(n);
        showClimbFlown(a.climbAngle);
    }
    showAttackRun(a.onAttackRun);
    setEnabling(n);
}

// The attack-run button's caption and emphasis follow the shown aircraft's attack run.
void AircraftPanel::showAttackRun(bool onAttackRun) {
    attackRunButton_->setText(onAttackRun ? QStringLiteral("Уйти с боевого")
                                          : QStringLiteral("На боевой"));
    setArmed(attackRunButton_, onAttackRun);
}

void AircraftPanel::drawCompass(int32_t n) {
    if (!validAircraft(world_, n)) {
        return;
    }
    Aircraft& a = aircraftAt(world_, n);
    const double h = a.heading * kDegToRad;
    compassImage_ = compassWithNeedle(h);
    courseCompass_->setPixmap(compassImage_);
    courseEdit_->setText(QString::number(trunc32(a.heading)));
    // The course is kept in whole degrees.
    writeBack(change::setAircraft(n, kFieldHeading, trunc32(a.heading)));
}

void AircraftPanel::setCourseFromCompass() {
    if (!validAircraft(world_, view_.selectedAircraft)) {
        return;
    }
    const int32_t dx = view_.compassCursor.x - kCompassCentre;
    const int32_t dy = view_.compassCursor.y - kCompassCentre;
    const double e = compassAngle(dx, dy);
    compassImage_ = compassWithNeedle(e);
    courseCompass_->setPixmap(compassImage_);
    // 1/3.14 turns the angle back into degrees here.
    const int32_t d = trunc32(e * 180 * 0.3184713375796178);
    courseEdit_->setText(QString::number(d));
    perform(change::setAircraft(view_.selectedAircraft, kFieldHeading, d));
}

void AircraftPanel::setSpeed(int position) {
    if (record(change::setAircraft(view_.selectedAircraft, kFieldSpeed, position))) {
        speedEdit_->setText(QString::number(position));
    }
}

void AircraftPanel::setClimb(int position) {
    if (record(change::setAircraft(view_.selectedAircraft, kFieldClimbAngle, 10 - position))) {
        climbEdit_->setText(QString::number(10 - position));
    }
}

void AircraftPanel::flyLevel() {
    climbSlider_->setValue(10);
}

// "Выбрать"
void AircraftPanel::armPickTarget() {
    view_.pickTargetMode = true;
    emit modesChanged();
}

// "Очистить"
void AircraftPanel::clearTarget() {
    perform(change::onAircraft(batch::Op::ClearTarget, view_.selectedAircraft));
    view_.pickTargetMode = false;
    emit modesChanged();
    refreshPeriodic(view_.selectedAircraft);
}

// "На боевой" / "Уйти с боевого"
void AircraftPanel::toggleAttackRun() {
    const int32_t n = view_.selectedAircraft;
    if (!validAircraft(world_, n) || !validRadar(world_, aircraftAt(world_, n).targetRadar)) {
        return;
    }
    perform(change::onAircraft(batch::Op::AttackRun, n));
    showAttackRun(aircraftAt(world_, n).onAttackRun);
}

// "Перенести"
void AircraftPanel::armMoveAircraft() {
    view_.moveAircraftMode = true;
    emit modesChanged();
}

}  // namespace prrsim::ui
