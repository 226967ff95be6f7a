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
    reactionButton_ = button(this, "reactionButton", 126, 2, 55, QStringLiteral("ПРР…"));
    reactionButton_->setToolTip(QStringLiteral("Реакция на ПРР"));
    reactionControls_ = new ReactionControls(world_, this);
    reactionControls_->perform = [this](const batch::Action& a) { return perform(a); };
    connect(reactionButton_, &QPushButton::clicked, this, [this] { openReaction(); });
    connect(reactionControls_, &ReactionControls::applied, this, [this] { refreshSelected(); });
}

void RadarPanel::openReaction() {
    if (selected() == nullptr) {
        return;
    }
    openReactionFor({view_.selectedRadar});
}

void RadarPanel::openReactionFor(const std::vector<int32_t>& rows) {
    reactionControls_->showRadars(rows);
    reactionControls_->show();
    reactionControls_->raise();
}

void RadarPanel::createControls() {
    radarTitleLabel_ = label(this, "radarTitleLabel", 6, 2, QStringLiteral("РЛС"));
    moveRadarButton_ = button(this, "moveRadarButton", 48, 2, 75, QStringLiteral("Перенести"));
    typeLabel_ = label(this, "typeLabel", 10, 26, QString());
    typeLabel_->resize(172, 15);
    radarXCaption_ = label(this, "radarXCaption", 8, 44, QStringLiteral("X"));
    radarXEdit_ = readOnlyEdit(this, "radarXEdit", 32, 42, 57);
    radarYCaption_ = label(this, "radarYCaption", 96, 44, QStringLiteral("Y"));
    radarYEdit_ = readOnlyEdit(this, "radarYEdit", 120, 42, 57);
    emissionBox_ = checkBox(this, "emissionBox", 8, 63, 80, QStringLiteral("Излучение"));
    rotationBox_ = checkBox(this, "rotationBox", 88, 63, 90, QStringLiteral("Вращение"));
    signalLabel_ = label(this, "signalLabel", 8, 82, QStringLiteral("сигнал"));
    blinkCaption_ = label(this, "blinkCaption", 55, 82, QStringLiteral("Мерцание"));
    blinkBox_ = place<QComboBox>(this, "blinkBox", 115, 79, 62, 18);
    antennaCompass_ = place<PictureBox>(this, "antennaCompass", 8, 97, 62, 62);
    compassImage_ = compassPicture();
    antennaCompass_->setPixmap(compassImage_);
    antennaCaption_ = label(this, "antennaCaption", 73, 128, QStringLiteral("Направление"));
    antennaCaptionEnd_ = label(this, "antennaCaptionEnd", 72, 144, QStringLiteral("антенны"));
    antennaDirectionLabel_ = label(this, "antennaDirectionLabel", 125, 145, QString());
    antennaDirectionLabel_->resize(50, 15);
    scanCaption_ = label(this, "scanCaption", 9, 158, QStringLiteral("Методы обзора"));
    scanMethodBox_ = place<QComboBox>(this, "scanMethodBox", 8, 171, 170, 21);
    frequencyHopCaption_ =
        label(this, "frequencyHopCaption", 9, 195, QStringLiteral("Автоперестройка частоты"));
    frequencyHopBox_ = place<QComboBox>(this, "frequencyHopBox", 9, 211, 169, 21);
    frequencyCaption_ = label(this, "frequencyCaption", 10, 239, QStringLiteral("Частота"));
    frequencyPercentEdit_ = readOnlyEdit(this, "frequencyPercentEdit", 62, 235, 40);
    frequencyEdit_ = readOnlyEdit(this, "frequencyEdit", 107, 235, 47);
    megahertzLabel_ = label(this, "megahertzLabel", 156, 239, QStringLiteral("МГц"));
    frequencySlider_ = place<QSlider>(this, "frequencySlider", 2, 254, 178, 30);
    frequencySlider_->setOrientation(Qt::Horizontal);
    frequencySlider_->setRange(0, 100);
    frequencySlider_->setTickPosition(QSlider::TicksBelow);
    frequencySlider_->setTickInterval(10);
    emissionModeCaption_ = label(this, "emissionModeCaption", 8, 291, QStringLiteral("Сигнал"));
    // The emission-mode labels are wider than the panel: cut short, the whole one as tooltip.
    emissionModeBox_ = place<ElidingComboBox>(this, "emissionModeBox", 48, 286, 130, 21);
    prfWobbleBox_ =
        checkBox(this, "prfWobbleBox", 8, 310, 170, QStringLiteral("Режим вобуляции ЧПИ"));
    trackingCaption_ =
        label(this, "trackingCaption", 8, 329, QStringLiteral("Сопровождение целей"));
    keepScanBox_ = checkBox(this, "keepScanBox", 7, 348, 170, QStringLiteral("Сохранять обзор"));
    trackList_ = place<QListWidget>(this, "trackList", 5, 367, 75, 49);
    illuminationBox_ = checkBox(this, "illuminationBox", 82, 380, 90, QStringLiteral("Подсвет"));
    captureButton_ = button(this, "captureButton", 6, 416, 50, QStringLiteral("Захват"));
    dropTrackButton_ = button(this, "dropTrackButton", 56, 416, 55, QStringLiteral("Сброс"));
    dropAllTracksButton_ =
        button(this, "dropAllTracksButton", 111, 416, 70, QStringLiteral("Сброс всего"));
}

void RadarPanel::connectHandlers() {
    setTips({
        {moveRadarButton_,
         QStringLiteral("Перенести РЛС (или весь комплекс): следующий щелчок по карте")},
        {radarXEdit_, QStringLiteral("X РЛС на карте, пиксели 0 … 599 (1 пиксель = 100 м)")},
        {radarYEdit_, QStringLiteral("Y РЛС на карте, пиксели 0 … 439 (1 пиксель = 100 м)")},
        {emissionBox_, QStringLiteral("Включить или выключить излучение РЛС")},
        {rotationBox_, QStringLiteral("Включить или остановить вращение антенны")},
        {blinkBox_, QStringLiteral("Мерцание: число оборотов молчания после оборота излучения, "
                                   "0 — без мерцания")},
        {antennaCompass_,
         QStringLiteral("Направление антенны: щелчок по компасу, градусы 0 … 360")},
        {scanMethodBox_, QStringLiteral("Метод обзора пространства")},
        {frequencyHopBox_, QStringLiteral("Автоперестройка частоты")},
        {frequencyPercentEdit_, QStringLiteral("Частота в диапазоне РЛС, % 0 … 100")},
        {frequencyEdit_, QStringLiteral("Частота излучения, МГц")},
        {frequencySlider_, QStringLiteral("Частота в диапазоне РЛС, % 0 … 100")},
        {prfWobbleBox_, QStringLiteral("Вобуляция частоты повторения импульсов")},
        {keepScanBox_, QStringLiteral("Сохранять обзор при сопровождении целей")},
        {trackList_,
         QStringLiteral("Сопровождаемые самолёты (номера); щелчок — снять с сопровождения")},
        {illuminationBox_, QStringLiteral("Включить или выключить подсвет цели")},
        {captureButton_,
         QStringLiteral("Захват: следующий щелчок по самолёту на карте берёт его на "
                        "сопровождение")},
        {dropTrackButton_, QStringLiteral("Сбросить выбранную цель сопровождения")},
        {dropAllTracksButton_, QStringLiteral("Сбросить все цели сопровождения")},
    });
    if (emissionModeBox_->toolTip().isEmpty()) {
        emissionModeBox_->setToolTip(QStringLiteral("Сигнал: режим излучения РЛС"));
    }
    // Only signals raised by the user's own actions run the handlers; refresh blocks the rest.
    connect(emissionBox_, &QCheckBox::clicked, this, [this] { switchEmission(); });
    connect(rotationBox_, &QCheckBox::clicked, this, [this] { switchRotation(); });
    connect(blinkBox_, &QComboBox::activated, this, [this](int i) { setBlink(i); });
    connect(antennaCompass_, &PictureBox::mouseMoved, this,
            [this](int x, int y) { compassMouseMoved(x, y); });
    connect(antennaCompass_, &PictureBox::clicked, this, [this] { setAntennaFromCompass(); });
    connect(scanMethodBox_, &QComboBox::activated, this, [this](int i) { setScanMethod(i); });
    connect(frequencyHopBox_, &QComboBox::activated, this,
            [this](int i) { chooseFrequencyHop(i); });
    connect(frequencySlider_, &QSlider::valueChanged, this, [this](int p) { setFrequency(p); });
    connect(emissionModeBox_, &QComboBox::activated, this, [this](int i) { setEmissionMode(i); });
    connect(prfWobbleBox_, &QCheckBox::clicked, this, [this] { switchPrfWobble(); });
    connect(keepScanBox_, &QCheckBox::clicked, this, [this] { switchKeepScan(); });
    connect(illuminationBox_, &QCheckBox::clicked, this, [this] { switchIllumination(); });
    connect(moveRadarButton_, &QPushButton::clicked, this, [this] { armMoveRadar(); });
    connect(captureButton_, &QPushButton::clicked, this, [this] { armCapture(); });
    connect(dropTrackButton_, &QPushButton::clicked, this, [this] { dropTrack(); });
    connect(dropAllTracksButton_, &QPushButton::clicked, this, [this] { dropAllTracks(); });
}

void RadarPanel::showArmedModes() {
    setArmed(moveRadarButton_, view_.radarPlaceMode);
    setArmed(captureButton_, view_.captureMode);
}

void RadarPanel::refresh(int row) {
    if (!validRadar(world_, row)) {
        return;
    }
    const RadarSite& r = radarAt(world_, row);
    const RadarType& t = radarType(r.typeIndex);
    const int32_t s = view_.selectedRadar;
    const QSignalBlocker b1(emissionBox_), b2(rotationBox_), b3(prfWobbleBox_), b4(keepScanBox_),
        b5(illuminationBox_), c3(blinkBox_), c5(emissionModeBox_), c7(scanMethodBox_),
        tb(frequencySlider_), lb(trackList_);

    radarTitleLabel_->setText(radarName(world_, row));
    radarTitleLabel_->adjustSize();
    radarXEdit_->setText(QString::number(r.x));
    radarYEdit_->setText(QString::number(r.y));
    emissionBox_->setChecked(r.emissionOn);
    rotationBox_->setChecked(r.rotationOn);
    typeLabel_->setText(fromView(t.name));

    prfWobbleBox_->setChecked(false);
    blinkBox_->clear();
    emissionModeBox_->clear();

    for (int32_t i = 0; i < t.prfModeCount; ++i) {
        emissionModeBox_->addItem(
            QString::fromStdString(prfModeLabel(t.prfModes[i], decimalSeparator())));
    }
    emissionModeBox_->setCurrentIndex(r.prfMode);

    if (t.kind == kSearchRadar || t.kind == kMultiTargetRadar) {
        for (int32_t i = 0; i <= t.maxBlinkPeriod; ++i) {
            blinkBox_->addItem(QString::number(i));
        }
        blinkBox_->setCurrentIndex(r.blinkPeriod);
        prfWobbleBox_->setChecked(r.prfWobble);
        rotationBox_->setEnabled(true);
        blinkBox_->setEnabled(true);
        trackList_->setEnabled(t.kind == kMultiTargetRadar);
        keepScanBox_->setEnabled(t.kind == kMultiTargetRadar);
    }

    // "Подсвет" only for a radar that has an illuminator and may use it.
    illuminationBox_->setVisible((t.kind == kMultiTargetRadar || t.kind == kFireControlRadar) &&
                                 t.hasIlluminator);

    const bool radiatingNow = r.radiating && r.emissionOn;
    captureButton_->setEnabled(radiatingNow);
    dropTrackButton_->setEnabled(radiatingNow);
    dropAllTracksButton_->setEnabled(radiatingNow);

    // The compass and "Подсвет" always show the selected radar, whichever row is refreshed.
    if (validRadar(world_, s)) {
        const RadarSite& selectedSite = radarAt(world_, s);
        showCompassLine(selectedSite.antennaDirection * kDegToRadFlight);
        antennaDirectionLabel_->setText(QString::number(selectedSite.antennaDirection));
    }

    scanMethodBox_->clear();
    for (int32_t i = 0; i < t.scanMethodCount; ++i) {
        const std::string_view name = t.scanMethods[i].name;
        scanMethodBox_->addItem(fromView(name));
    }
    scanMethodBox_->setCurrentIndex(r.scanMethod);

    // The frequency boxes show this radar's own values, whatever its kind.
    frequencySlider_->setValue(r.frequencyPercent);
    frequencyPercentEdit_->setText(QString::number(r.frequencyPercent));
    frequencyEdit_->setText(realText(r.frequency));

    if (validRadar(world_, s)) {
        illuminationBox_->setChecked(radarAt(world_, s).illuminationOn);
    }

    trackList_->clear();
    for (int32_t i = 0; i < r.trackCount && i < kTrackListCapacity; ++i) {
        trackList_->addItem(aircraftNumber(world_, r.trackList[i]));
    }

    setTextColour(signalLabel_, r.radiating ? QColor(Qt::red) : QColor(Qt::black));
}

void RadarPanel::showCompassLine(double angle) {
    compassImage_ = compassWithNeedle(angle);
    antennaCompass_->setPixmap(compassImage_);
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

void RadarPanel::switchEmission() {
    if (selected() != nullptr) {
        perform(change::switchRadar(batch::Op::SetEmission, view_.selectedRadar,
                                    emissionBox_->isChecked()));
    }
    refreshSelected();
    // "Захват" armed on this radar ends when its emission is switched off.
    emit modesChanged();
}

void RadarPanel::switchRotation() {
    if (selected() != nullptr) {
        perform(change::switchRadar(batch::Op::SetRotation, view_.selectedRadar,
                                    rotationBox_->isChecked()));
    }
    refreshSelected();
}

void RadarPanel::setBlink(int index) {
    if (selected() != nullptr && index >= 0) {
        perform(change::onRadar(batch::Op::SetBlink, view_.selectedRadar, index));
    }
    refreshSelected();
}

void RadarPanel::setAntennaFromCompass() {
    if (selected() == nullptr) {
        return;
    }
    const int32_t dx = view_.radarCompassCursor.x - 31;
    const int32_t dy = view_.radarCompassCursor.y - 31;
    const double e = compassAngle(dx, dy);
    showCompassLine(e);
    const int32_t d = radarCompassDirection(dx, dy);
    antennaDirectionLabel_->setText(QString::number(d));
    perform(change::onRadar(batch::Op::SetAntennaDirection, view_.selectedRadar, d));
    refreshSelected();
}

void RadarPanel::compassMouseMoved(int x, int y) {
    view_.radarCompassCursor = Point{x, y};
}

void RadarPanel::setScanMethod(int index) {
    if (selected() != nullptr && index >= 0) {
        perform(change::onRadar(batch::Op::SetScanMethod, view_.selectedRadar, index));
    }
    refreshSelected();
}

void RadarPanel::chooseFrequencyHop(int) {
    refreshSelected();
}

void RadarPanel::setFrequency(int position) {
    if (selected() != nullptr) {
        perform(change::onRadar(batch::Op::SetFrequency, view_.selectedRadar, position));
    }
    refreshSelected();
}

void RadarPanel::setEmissionMode(int index) {
    if (selected() != nullptr && index >= 0) {
        perform(change::onRadar(batch::Op::SetPrfMode, view_.selectedRadar, index));
    }
}

void RadarPanel::switchPrfWobble() {
    refreshSelected();
}

void RadarPanel::switchKeepScan() {
    refreshSelected();
}

void RadarPanel::switchIllumination() {
    if (selected() != nullptr) {
        perform(change::switchRadar(batch::Op::SetIllumination, view_.selectedRadar,
                                    illuminationBox_->isChecked()));
    }
}

void RadarPanel::armMoveRadar() {
    view_.radarPlaceMode = true;
    view_.moveAircraftMode = false;
    emit modesChanged();
}

void RadarPanel::armCapture() {
    view_.captureMode = true;
    view_.pickTargetMode = false;
    emit modesChanged();
    refreshSelected();
}

void RadarPanel::dropTrack() {
    if (selected() == nullptr) {
        return;
    }
    const QList<QListWidgetItem*> chosen = trackList_->selectedItems();
    const int entry = chosen.isEmpty() ? -1 : trackList_->row(chosen.first());
    perform(change::onRadar(batch::Op::RemoveTrack, view_.selectedRadar, entry));
    refreshSelected();
}

void RadarPanel::dropAllTracks() {
    if (selected() != nullptr) {
        perform(change::onRadar(batch::Op::ResetTracking, view_.selectedRadar));
    }
    refreshSelected();
}

}  // namespace prrsim::ui
