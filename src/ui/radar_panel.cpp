#include "ui/radar_panel.h"

#include <QPainter>
#include <QSignalBlocker>
#include <cmath>

#include "catalog/radar_catalog.h"
#include "radar/radar_model.h"
#include "ui/controls.h"
#include "ui/number_text.h"
#include "ui/object_names.h"
#include "ui/pictures.h"
#include "ui/ui_text.h"
#include "world/geometry.h"

namespace prrsim::ui {

namespace {

template <class Control>
Control* place(QWidget* parent, const char* name, int left, int top, int width, int height) {
    return makeControl<Control>(name, QRect(left, top, width, height), parent);
}

QLabel* label(QWidget* parent, const char* name, int left, int top, const QString& caption) {
    return makeLabel(name, caption, left, top, parent);
}

QCheckBox* checkBox(QWidget* parent, const char* name, int left, int top, int width,
                    const QString& caption) {
    auto* control = place<QCheckBox>(parent, name, left, top, width, 17);
    control->setText(caption);
    return control;
}

QPushButton* button(QWidget* parent, const char* name, int left, int top, int width,
                    const QString& caption) {
    auto* control = place<QPushButton>(parent, name, left, top, width, 22);
    control->setText(caption);
    return control;
}

QLineEdit* readOnlyEdit(QWidget* parent, const char* name, int left, int top, int width) {
    auto* control = place<QLineEdit>(parent, name, left, top, width, 20);
    control->setReadOnly(true);
    return control;
}

void setTextColour(QLabel* control, const QColor& colour) {
    QPalette palette = control->palette();
    palette.setColor(QPalette::WindowText, colour);
    control->setPalette(palette);
}

}  // namespace

RadarPanel::RadarPanel(WorldState& world, ViewState& view, QWidget* parent)
    : QFrame(parent), perform(applyDirectly(world)), world_(world), view_(view) {
    setObjectName(QStringLiteral("radarPanel"));
    setFrameShape(QFrame::Panel);
    setFrameShadow(QFrame::Raised);
    resize(185, 441);
    createControls();
    connectHandlers();
    createReactionControls();
}

// The reaction's button sits at the right of "Перенести"; its controls are a tool window that
// changes the radar through the panel's own perform.
void RadarPanel::createReactionControls() {
    reactionButton = button(this, "reactionButton", 126, 2, 55, QStringLiteral("ПРР…"));
    reactionButton->setToolTip(QStringLiteral("Реакция на ПРР"));
    reactionControls = new ReactionControls(world_, this);
    reactionControls->perform = [this](const batch::Action& a) { return perform(a); };
    connect(reactionButton, &QPushButton::clicked, this, [this] { reactionButtonClick(); });
    connect(reactionControls, &ReactionControls::applied, this, [this] { refreshSelected(); });
}

void RadarPanel::reactionButtonClick() {
    if (selected() == nullptr) {
        return;
    }
    reactionControls->showRadars({view_.selectedRadar});
    reactionControls->show();
    reactionControls->raise();
}

void RadarPanel::createControls() {
    Label13 = label(this, "Label13", 6, 2, QStringLiteral("РЛС"));
    Button7 = button(this, "Button7", 48, 2, 75, QStringLiteral("Перенести"));
    Label23 = label(this, "Label23", 10, 26, QString());
    Label23->resize(172, 15);
    Label11 = label(this, "Label11", 8, 44, QStringLiteral("X"));
    Edit7 = readOnlyEdit(this, "Edit7", 32, 42, 57);
    Label12 = label(this, "Label12", 96, 44, QStringLiteral("Y"));
    Edit8 = readOnlyEdit(this, "Edit8", 120, 42, 57);
    CheckBox1 = checkBox(this, "CheckBox1", 8, 63, 80, QStringLiteral("Излучение"));
    CheckBox2 = checkBox(this, "CheckBox2", 88, 63, 90, QStringLiteral("Вращение"));
    Label26 = label(this, "Label26", 8, 82, QStringLiteral("сигнал"));
    Label14 = label(this, "Label14", 55, 82, QStringLiteral("Мерцание"));
    ComboBox3 = place<QComboBox>(this, "ComboBox3", 115, 79, 62, 18);
    Image4 = place<PictureBox>(this, "Image4", 8, 97, 62, 62);
    compassImage_ = compassPicture();
    Image4->setPixmap(compassImage_);
    Label22 = label(this, "Label22", 73, 128, QStringLiteral("Направление"));
    Label24 = label(this, "Label24", 72, 144, QStringLiteral("антенны"));
    Label21 = label(this, "Label21", 125, 145, QString());
    Label21->resize(50, 15);
    Label25 = label(this, "Label25", 9, 158, QStringLiteral("Методы обзора"));
    ComboBox7 = place<QComboBox>(this, "ComboBox7", 8, 171, 170, 21);
    Label15 = label(this, "Label15", 9, 195, QStringLiteral("Автоперестройка частоты"));
    ComboBox4 = place<QComboBox>(this, "ComboBox4", 9, 211, 169, 21);
    Label16 = label(this, "Label16", 10, 239, QStringLiteral("Частота"));
    Edit9 = readOnlyEdit(this, "Edit9", 62, 235, 40);
    Edit10 = readOnlyEdit(this, "Edit10", 107, 235, 47);
    Label18 = label(this, "Label18", 156, 239, QStringLiteral("МГц"));
    TrackBar3 = place<QSlider>(this, "TrackBar3", 2, 254, 178, 30);
    TrackBar3->setOrientation(Qt::Horizontal);
    TrackBar3->setRange(0, 100);
    TrackBar3->setTickPosition(QSlider::TicksBelow);
    TrackBar3->setTickInterval(10);
    Label17 = label(this, "Label17", 8, 291, QStringLiteral("Сигнал"));
    // The emission-mode labels are wider than the panel: cut short, the whole one as tooltip.
    ComboBox5 = place<ElidingComboBox>(this, "ComboBox5", 48, 286, 130, 21);
    CheckBox3 = checkBox(this, "CheckBox3", 8, 310, 170, QStringLiteral("Режим вобуляции ЧПИ"));
    Label20 = label(this, "Label20", 8, 329, QStringLiteral("Сопровождение целей"));
    CheckBox4 = checkBox(this, "CheckBox4", 7, 348, 170, QStringLiteral("Сохранять обзор"));
    ListBox1 = place<QListWidget>(this, "ListBox1", 5, 367, 75, 49);
    CheckBox5 = checkBox(this, "CheckBox5", 82, 380, 90, QStringLiteral("Подсвет"));
    Button8 = button(this, "Button8", 6, 416, 50, QStringLiteral("Захват"));
    Button9 = button(this, "Button9", 56, 416, 55, QStringLiteral("Сброс"));
    Button5 = button(this, "Button5", 111, 416, 70, QStringLiteral("Сброс всего"));
}

void RadarPanel::connectHandlers() {
    setTips({
        {Button7, QStringLiteral("Перенести РЛС (или весь комплекс): следующий щелчок по карте")},
        {Edit7, QStringLiteral("X РЛС на карте, пиксели 0 … 599 (1 пиксель = 100 м)")},
        {Edit8, QStringLiteral("Y РЛС на карте, пиксели 0 … 439 (1 пиксель = 100 м)")},
        {CheckBox1, QStringLiteral("Включить или выключить излучение РЛС")},
        {CheckBox2, QStringLiteral("Включить или остановить вращение антенны")},
        {ComboBox3, QStringLiteral("Мерцание: число оборотов молчания после оборота излучения, "
                                   "0 — без мерцания")},
        {Image4, QStringLiteral("Направление антенны: щелчок по компасу, градусы 0 … 360")},
        {ComboBox7, QStringLiteral("Метод обзора пространства")},
        {ComboBox4, QStringLiteral("Автоперестройка частоты")},
        {Edit9, QStringLiteral("Частота в диапазоне РЛС, % 0 … 100")},
        {Edit10, QStringLiteral("Частота излучения, МГц")},
        {TrackBar3, QStringLiteral("Частота в диапазоне РЛС, % 0 … 100")},
        {CheckBox3, QStringLiteral("Вобуляция частоты повторения импульсов")},
        {CheckBox4, QStringLiteral("Сохранять обзор при сопровождении целей")},
        {ListBox1, QStringLiteral("Сопровождаемые самолёты (номера); щелчок — снять с сопровождения")},
        {CheckBox5, QStringLiteral("Включить или выключить подсвет цели")},
        {Button8, QStringLiteral("Захват: следующий щелчок по самолёту на карте берёт его на "
                                 "сопровождение")},
        {Button9, QStringLiteral("Сбросить выбранную цель сопровождения")},
        {Button5, QStringLiteral("Сбросить все цели сопровождения")},
    });
    if (ComboBox5->toolTip().isEmpty()) {
        ComboBox5->setToolTip(QStringLiteral("Сигнал: режим излучения РЛС"));
    }
    // Only signals raised by the user's own actions run the handlers; refresh blocks the rest.
    connect(CheckBox1, &QCheckBox::clicked, this, [this] { CheckBox1Click(); });
    connect(CheckBox2, &QCheckBox::clicked, this, [this] { CheckBox2Click(); });
    connect(ComboBox3, &QComboBox::activated, this, [this](int i) { ComboBox3Change(i); });
    connect(Image4, &PictureBox::mouseMoved, this, [this](int x, int y) { Image4MouseMove(x, y); });
    connect(Image4, &PictureBox::clicked, this, [this] { Image4Click(); });
    connect(ComboBox7, &QComboBox::activated, this, [this](int i) { ComboBox7Change(i); });
    connect(ComboBox4, &QComboBox::activated, this, [this](int i) { ComboBox4Change(i); });
    connect(TrackBar3, &QSlider::valueChanged, this, [this](int p) { TrackBar3Change(p); });
    connect(ComboBox5, &QComboBox::activated, this, [this](int i) { ComboBox5Change(i); });
    connect(CheckBox3, &QCheckBox::clicked, this, [this] { CheckBox3Click(); });
    connect(CheckBox4, &QCheckBox::clicked, this, [this] { CheckBox4Click(); });
    connect(CheckBox5, &QCheckBox::clicked, this, [this] { CheckBox5Click(); });
    connect(Button7, &QPushButton::clicked, this, [this] { Button7Click(); });
    connect(Button8, &QPushButton::clicked, this, [this] { Button8Click(); });
    connect(Button9, &QPushButton::clicked, this, [this] { Button9Click(); });
    connect(Button5, &QPushButton::clicked, this, [this] { Button5Click(); });
}

void RadarPanel::showArmedModes() {
    setArmed(Button7, view_.radarPlaceMode);
    setArmed(Button8, view_.captureMode);
}

void RadarPanel::refresh(int row) {
    if (!validRadar(world_, row)) {
        return;
    }
    const RadarSite& r = radarAt(world_, row);
    const RadarType& t = radarType(r.typeIndex);
    const int32_t s = view_.selectedRadar;
    const QSignalBlocker b1(CheckBox1), b2(CheckBox2), b3(CheckBox3), b4(CheckBox4), b5(CheckBox5),
        c3(ComboBox3), c5(ComboBox5), c7(ComboBox7), tb(TrackBar3), lb(ListBox1);

    Label13->setText(radarName(world_, row));
    Label13->adjustSize();
    Edit7->setText(QString::number(r.x));
    Edit8->setText(QString::number(r.y));
    CheckBox1->setChecked(r.emissionOn);
    CheckBox2->setChecked(r.rotationOn);
    Label23->setText(fromView(t.name));

    CheckBox3->setChecked(false);
    ComboBox3->clear();
    ComboBox5->clear();

    for (int32_t i = 0; i < t.prfModeCount; ++i) {
        ComboBox5->addItem(QString::fromStdString(prfModeLabel(t.prfModes[i], decimalSeparator())));
    }
    ComboBox5->setCurrentIndex(r.prfMode);

    if (t.kind == kSearchRadar || t.kind == kMultiTargetRadar) {
        for (int32_t i = 0; i <= t.maxBlinkPeriod; ++i) {
            ComboBox3->addItem(QString::number(i));
        }
        ComboBox3->setCurrentIndex(r.blinkPeriod);
        CheckBox3->setChecked(r.prfWobble);
        CheckBox2->setEnabled(true);
        ComboBox3->setEnabled(true);
        ListBox1->setEnabled(t.kind == kMultiTargetRadar);
        CheckBox4->setEnabled(t.kind == kMultiTargetRadar);
    }

    // "Подсвет" only for a radar that has an illuminator and may use it.
    CheckBox5->setVisible((t.kind == kMultiTargetRadar || t.kind == kFireControlRadar) &&
                          t.hasIlluminator);

    const bool radiatingNow = r.radiating && r.emissionOn;
    Button8->setEnabled(radiatingNow);
    Button9->setEnabled(radiatingNow);
    Button5->setEnabled(radiatingNow);

    // The compass and "Подсвет" always show the selected radar, whichever row is refreshed.
    if (validRadar(world_, s)) {
        const RadarSite& selectedSite = radarAt(world_, s);
        showCompassLine(selectedSite.antennaDirection * kDegToRadFlight);
        Label21->setText(QString::number(selectedSite.antennaDirection));
    }

    ComboBox7->clear();
    for (int32_t i = 0; i < t.scanMethodCount; ++i) {
        const std::string_view name = t.scanMethods[i].name;
        ComboBox7->addItem(fromView(name));
    }
    ComboBox7->setCurrentIndex(r.scanMethod);

    // The frequency boxes show this radar's own values, whatever its kind.
    TrackBar3->setValue(r.frequencyPercent);
    Edit9->setText(QString::number(r.frequencyPercent));
    Edit10->setText(realText(r.frequency));

    if (validRadar(world_, s)) {
        CheckBox5->setChecked(radarAt(world_, s).illuminationOn);
    }

    ListBox1->clear();
    for (int32_t i = 0; i < r.trackCount && i < kTrackListCapacity; ++i) {
        ListBox1->addItem(aircraftNumber(world_, r.trackList[i]));
    }

    setTextColour(Label26, r.radiating ? QColor(Qt::red) : QColor(Qt::black));
}

void RadarPanel::showCompassLine(double angle) {
    compassImage_ = compassWithNeedle(angle);
    Image4->setPixmap(compassImage_);
}

RadarSite* RadarPanel::selected() {
    return validRadar(world_, view_.selectedRadar) ? &radarAt(world_, view_.selectedRadar)
                                                    : nullptr;
}

void RadarPanel::refreshSelected() {
    if (validRadar(world_, view_.selectedRadar)) {
        refresh(view_.selectedRadar);
    }
}

void RadarPanel::CheckBox1Click() {
    if (selected() != nullptr) {
        perform(change::switchRadar(batch::Op::SetEmission, view_.selectedRadar,
                                    CheckBox1->isChecked()));
    }
    refreshSelected();
    // "Захват" armed on this radar ends when its emission is switched off.
    emit modesChanged();
}

void RadarPanel::CheckBox2Click() {
    if (selected() != nullptr) {
        perform(change::switchRadar(batch::Op::SetRotation, view_.selectedRadar,
                                    CheckBox2->isChecked()));
    }
    refreshSelected();
}

void RadarPanel::ComboBox3Change(int index) {
    if (selected() != nullptr && index >= 0) {
        perform(change::onRadar(batch::Op::SetBlink, view_.selectedRadar, index));
    }
    refreshSelected();
}

void RadarPanel::Image4Click() {
    if (selected() == nullptr) {
        return;
    }
    const int32_t dx = view_.radarCompassCursor.x - 31;
    const int32_t dy = view_.radarCompassCursor.y - 31;
    const double e = compassAngle(dx, dy);
    showCompassLine(e);
    const int32_t d = radarCompassDirection(dx, dy);
    Label21->setText(QString::number(d));
    perform(change::onRadar(batch::Op::SetAntennaDirection, view_.selectedRadar, d));
    refreshSelected();
}

void RadarPanel::Image4MouseMove(int x, int y) {
    view_.radarCompassCursor = Point{x, y};
}

void RadarPanel::ComboBox7Change(int index) {
    if (selected() != nullptr && index >= 0) {
        perform(change::onRadar(batch::Op::SetScanMethod, view_.selectedRadar, index));
    }
    refreshSelected();
}

void RadarPanel::ComboBox4Change(int) {
    refreshSelected();
}

void RadarPanel::TrackBar3Change(int position) {
    if (selected() != nullptr) {
        perform(change::onRadar(batch::Op::SetFrequency, view_.selectedRadar, position));
    }
    refreshSelected();
}

void RadarPanel::ComboBox5Change(int index) {
    if (selected() != nullptr && index >= 0) {
        perform(change::onRadar(batch::Op::SetPrfMode, view_.selectedRadar, index));
    }
}

void RadarPanel::CheckBox3Click() {
    refreshSelected();
}

void RadarPanel::CheckBox4Click() {
    refreshSelected();
}

void RadarPanel::CheckBox5Click() {
    if (selected() != nullptr) {
        perform(change::switchRadar(batch::Op::SetIllumination, view_.selectedRadar,
                                    CheckBox5->isChecked()));
    }
}

void RadarPanel::Button7Click() {
    view_.radarPlaceMode = true;
    view_.moveAircraftMode = false;
    emit modesChanged();
}

void RadarPanel::Button8Click() {
    view_.captureMode = true;
    view_.pickTargetMode = false;
    emit modesChanged();
    refreshSelected();
}

void RadarPanel::Button9Click() {
    if (selected() == nullptr) {
        return;
    }
    const QList<QListWidgetItem*> chosen = ListBox1->selectedItems();
    const int entry = chosen.isEmpty() ? -1 : ListBox1->row(chosen.first());
    perform(change::onRadar(batch::Op::RemoveTrack, view_.selectedRadar, entry));
    refreshSelected();
}

void RadarPanel::Button5Click() {
    if (selected() != nullptr) {
        perform(change::onRadar(batch::Op::ResetTracking, view_.selectedRadar));
    }
    refreshSelected();
}

}  // namespace prrsim::ui
