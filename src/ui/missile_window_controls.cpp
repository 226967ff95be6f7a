// The missile window's controls: their places, captions, tooltips and handlers.
#include <QProgressBar>

#include "ui/controls.h"
#include "ui/fonts.h"
#include "ui/missile_window.h"
#include "ui/pictures.h"

namespace prrsim::ui {

namespace {

const QColor kMaroon(128, 0, 0);

QFont windowFont(bool bold, int pixels = 11) {
    return formFont(bold, pixels);
}

QLabel* label(QWidget* parent, const char* name, int left, int top, const QString& caption,
              const QFont& font) {
    auto* control = makeLabel(name, caption, left, top, parent);
    control->setFont(font);
    control->adjustSize();
    return control;
}

QPushButton* button(QWidget* parent, const char* name, int left, int top, const QString& caption) {
    auto* control = makeButton(name, caption, {left, top, 121, 25}, parent);
    control->setFont(windowFont(false));
    return control;
}

QLineEdit* valueEdit(QWidget* parent, const char* name, int left, int top, int width) {
    auto* control = makeControl<QLineEdit>(name, {left, top, width, 21}, parent);
    control->setFont(windowFont(false));
    control->setReadOnly(true);
    control->setFrame(false);
    return control;
}

QProgressBar* bar(QWidget* parent, const char* name, int left, int top) {
    auto* control = makeControl<QProgressBar>(name, {left, top, 221, 16}, parent);
    control->setRange(0, 100);
    control->setValue(0);
    control->setTextVisible(false);
    return control;
}

}  // namespace

MissileWindow::MissileWindow(WorldState& world, ViewState& view, QWidget* parent)
    : QWidget(parent, Qt::Tool | Qt::WindowStaysOnTopHint),
      perform(applyDirectly(world)),
      world_(world),
      view_(view) {
    setObjectName(QStringLiteral("missileWindow"));
    setFont(windowFont(false));
    setFixedSize(321, 448);
    move(269, 135);
    createControls();
    createTargetParameters();
    createFlightData();

    setTips({
        {activateButton_, QStringLiteral("Включить питание ракеты")},
        {seekerCaptureButton_,
         QStringLiteral("Начать или отменить захват цели головкой самонаведения")},
        {missileLaunchButton_, QStringLiteral("Пуск ракеты")},
        {receivedList_, QStringLiteral("Номера РЛС, принимаемых ГСН")},
        {seekerRangeSlider_,
         QStringLiteral("Расстояние до цели, на котором включается ГСН, км 0 … 100")},
        {targetRadarEdit_, QStringLiteral("Тип РЛС, опознанный ГСН")},
        {missileSpeedEdit_, QStringLiteral("Скорость ракеты, км/ч")},
        {missileXEdit_, QStringLiteral("X ракеты на карте, пиксели (1 пиксель = 100 м)")},
        {missileYEdit_, QStringLiteral("Y ракеты на карте, пиксели (1 пиксель = 100 м)")},
        {missileAltitudeEdit_, QStringLiteral("Высота ракеты, сотни метров")},
        {inertialXEdit_, QStringLiteral("X по инерциальной системе, пиксели")},
        {inertialYEdit_, QStringLiteral("Y по инерциальной системе, пиксели")},
        {inertialAltitudeEdit_, QStringLiteral("Высота по инерциальной системе, сотни метров")},
    });
    connect(activateButton_, &QPushButton::clicked, this, [this] { activate(); });
    connect(seekerCaptureButton_, &QPushButton::clicked, this, [this] { captureOrEnterData(); });
    connect(missileLaunchButton_, &QPushButton::clicked, this, [this] { launch(); });
    connect(seekerRangeSlider_, &QSlider::valueChanged, this, [this](int p) { setSeekerRange(p); });
}

void MissileWindow::createControls() {
    const QFont normal = windowFont(false);
    const QFont bold = windowFont(true);
    modeCaption_ = label(this, "modeCaption", 8, 6, QStringLiteral("Режим"), bold);
    launchModeLabel_ = label(this, "launchModeLabel", 63, 6, QString(), normal);
    activateButton_ = button(this, "activateButton", 2, 24, QStringLiteral("Активировать ракету"));
    seekerCaptureButton_ =
        button(this, "seekerCaptureButton", 2, 48, QStringLiteral("Захват цели"));
    missileLaunchButton_ = button(this, "missileLaunchButton", 2, 73, QStringLiteral("ПУСК"));
    activatedIndicator_ =
        label(this, "activatedIndicator", 130, 30, QStringLiteral("Активирована"), normal);
    captureIndicator_ = label(this, "captureIndicator", 130, 54, QStringLiteral("Захват"), normal);
    launchedIndicator_ =
        label(this, "launchedIndicator", 130, 78, QStringLiteral("Ракета пущена"), normal);
    signalIndicator_ =
        label(this, "signalIndicator", 243, 30, QStringLiteral("Сигнал"), windowFont(true, 13));
    captureTimeLabel_ = label(this, "captureTimeLabel", 245, 54, QString(), normal);
    searchLabel_ =
        label(this, "searchLabel", 183, 53, QStringLiteral("ПОИСК"), windowFont(false, 13));
    setTextColour(searchLabel_, Qt::red);
    searchLabel_->hide();

    seekerPicture_ = makeControl<QLabel>("seekerPicture", {3, 101, 62, 61}, this);
    seekerPicture_->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    seekerImage_ = crossPicture();
    seekerPicture_->setPixmap(seekerImage_);

    receivedList_ = makeControl<QListWidget>("receivedList", {80, 99, 33, 62}, this);
    receivedList_->setFont(normal);
    targetsCaption_ = label(this, "targetsCaption", 120, 99, QStringLiteral("Целей"), normal);
    targetCountLabel_ = label(this, "targetCountLabel", 120, 115, QString(), normal);
    objectsCaption_ = label(this, "objectsCaption", 118, 125, QStringLiteral("Объектов"), normal);
    objectCountLabel_ = label(this, "objectCountLabel", 121, 141, QString(), normal);
    captureHindranceLabel_ = makeControl<QLabel>("captureHindranceLabel", {170, 99, 148, 62}, this);
    captureHindranceLabel_->setFont(normal);
    captureHindranceLabel_->setWordWrap(true);
    captureHindranceLabel_->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    setTextColour(captureHindranceLabel_, Qt::red);
}

void MissileWindow::createTargetParameters() {
    const QFont normal = windowFont(false);
    const QFont bold = windowFont(true);
    targetGroup_ = makeControl<QGroupBox>("targetGroup", {1, 163, 320, 117}, this);
    targetGroup_->setTitle(QStringLiteral("Параметры цели"));
    targetGroup_->setFont(windowFont(true, 13));
    QWidget* g = targetGroup_;
    targetRadarCaption_ = label(g, "targetRadarCaption", 8, 27, QStringLiteral("РЛС"), bold);
    targetRadarEdit_ = makeControl<QLineEdit>("targetRadarEdit", {42, 25, 271, 21}, g);
    targetRadarEdit_->setFont(normal);
    prfLabel_ = label(g, "prfLabel", 8, 53, QStringLiteral("ЧПИ"), bold);
    pulseLabel_ = label(g, "pulseLabel", 80, 53, QStringLiteral("tи"), bold);
    targetFrequencyLabel_ =
        label(g, "targetFrequencyLabel", 136, 53, QStringLiteral("Частота"), bold);
    emissionKindLabel_ = label(g, "emissionKindLabel", 236, 54, QString(), normal);
    setTextColour(emissionKindLabel_, kMaroon);
    guidanceCaption_ = label(g, "guidanceCaption", 8, 74, QStringLiteral("Наведение"), normal);
    guidanceSourceLabel_ = label(g, "guidanceSourceLabel", 101, 76, QString(), normal);
    setTextColour(guidanceSourceLabel_, Qt::red);
    frequencySearchLabel_ = label(g, "frequencySearchLabel", 235, 76, QString(), bold);
    setTextColour(frequencySearchLabel_, kMaroon);
    seekerRangeCaption_ = label(g, "seekerRangeCaption", 8, 95,
                                QStringLiteral("Расстояние для включения ГСН"), normal);
    seekerRangeSlider_ = new QSlider(Qt::Horizontal, g);
    seekerRangeSlider_->setObjectName(QStringLiteral("seekerRangeSlider"));
    // The value stands right of the bar, clear of its groove.
    seekerRangeSlider_->setGeometry(172, 93, 110, 17);
    seekerRangeSlider_->setRange(0, 100);
    seekerRangeSlider_->setValue(0);
    seekerRangeSlider_->setTickInterval(1);
    seekerRangeSlider_->setTickPosition(QSlider::TicksBelow);
    seekerRangeLabel_ = label(g, "seekerRangeLabel", 287, 95, QString(), normal);
}

void MissileWindow::createFlightData() {
    const QFont normal = windowFont(false);
    const QFont bold = windowFont(true);
    motionGroup_ = makeControl<QGroupBox>("motionGroup", {1, 278, 320, 168}, this);
    motionGroup_->setTitle(QStringLiteral("Движение ракеты"));
    motionGroup_->setFont(windowFont(true, 13));
    QWidget* g = motionGroup_;
    missileCourseCaption_ = label(g, "missileCourseCaption", 7, 19, QStringLiteral("Курс"), bold);
    missileCourseLabel_ = label(g, "missileCourseLabel", 47, 18, QString(), normal);
    missileSpeedCaption_ =
        label(g, "missileSpeedCaption", 85, 20, QStringLiteral("Скорость"), bold);
    missileSpeedEdit_ = valueEdit(g, "missileSpeedEdit", 157, 18, 100);
    missileCompass_ = makeControl<QLabel>("missileCompass", {7, 42, 62, 62}, g);
    compassImage_ = compassPicture();
    missileCompass_->setPixmap(compassImage_);
    coordinatesCaption_ =
        label(g, "coordinatesCaption", 86, 41, QStringLiteral("Координаты"), normal);
    missileAltitudeCaption_ =
        label(g, "missileAltitudeCaption", 218, 41, QStringLiteral("Высота"), bold);
    missileXCaption_ = label(g, "missileXCaption", 72, 65, QStringLiteral("X"), bold);
    missileYCaption_ = label(g, "missileYCaption", 145, 65, QStringLiteral("Y"), bold);
    missileXEdit_ = valueEdit(g, "missileXEdit", 85, 60, 58);
    missileYEdit_ = valueEdit(g, "missileYEdit", 158, 60, 58);
    missileAltitudeEdit_ = valueEdit(g, "missileAltitudeEdit", 219, 60, 90);
    inertialXEdit_ = valueEdit(g, "inertialXEdit", 85, 84, 58);
    inertialYEdit_ = valueEdit(g, "inertialYEdit", 158, 84, 58);
    inertialAltitudeEdit_ = valueEdit(g, "inertialAltitudeEdit", 219, 84, 90);
    fuelCaption_ = label(g, "fuelCaption", 14, 109, QStringLiteral("Топливо"), bold);
    setTextColour(fuelCaption_, Qt::red);
    fuelBar_ = bar(g, "fuelBar", 86, 109);
    powerCaption_ = label(g, "powerCaption", 15, 128, QStringLiteral("Питание"), bold);
    setTextColour(powerCaption_, Qt::red);
    powerBar_ = bar(g, "powerBar", 86, 128);
    trajectoryCaption_ =
        label(g, "trajectoryCaption", 3, 146, QStringLiteral("Траектория"), normal);
    trajectoryLabel_ = label(g, "trajectoryLabel", 97, 148, QStringLiteral("На цель"), bold);
    setTextColour(trajectoryLabel_, Qt::red);
}

}  // namespace prrsim::ui
