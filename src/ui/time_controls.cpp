// The time controls under the map and the menu "Время".
#include "ui/time_controls.h"

#include <QMenu>
#include <QSignalBlocker>

#include "ui/controls.h"
#include "ui/ui_text.h"

namespace prrsim::ui {

namespace {

constexpr int64_t kTicksPerSecond = 100;

}  // namespace

QString clockText(int64_t tick) {
    const int64_t hundredths = tick % 100;
    const int64_t seconds = tick / 100;
    return QStringLiteral("%1:%2:%3.%4")
        .arg(seconds / 3600)
        .arg(seconds / 60 % 60, 2, 10, QLatin1Char('0'))
        .arg(seconds % 60, 2, 10, QLatin1Char('0'))
        .arg(hundredths, 2, 10, QLatin1Char('0'));
}

QString speedName(int index) {
    if (index == 0) {
        return QStringLiteral("×¼");
    }
    if (index == 1) {
        return QStringLiteral("×½");
    }
    return QStringLiteral("×%1").arg(kQuarterTicks[index] / 4);
}

TimeControls::TimeControls(QWidget* window, QMenuBar* menuBar) : QObject(window) {
    setObjectName(QStringLiteral("timeControls"));
    createTimeline(window);
    createButtons(window);
    createMenu(menuBar);
}

void TimeControls::createTimeline(QWidget* window) {
    timeline_ = makeControl<QSlider>("timeline", {190, 446, 334, 24}, window);
    timeline_->setOrientation(Qt::Horizontal);
    timeline_->setRange(0, 0);
    // A drag jumps when the slider is let go; keys jump at once.
    timeline_->setTracking(false);
    timeline_->setSingleStep(100);
    timeline_->setPageStep(1000);
    timeline_->setToolTip(QStringLiteral("Время сеанса: перейти к любому моменту записи"));
    connect(timeline_, &QSlider::valueChanged, this,
            [this](int tick) { emit jumpRequested(tick); });
    lengthLabel_ = makeLabel("lengthLabel", QString(), 528, 450, window);
    lengthLabel_->resize(70, 16);
    lengthLabel_->setToolTip(QStringLiteral("Длина записи"));
}

void TimeControls::createButtons(QWidget* window) {
    pauseButton_ = makeButton("pauseButton", QStringLiteral("Пауза"), {190, 478, 80, 30}, window);
    stepTickButton_ =
        makeButton("stepTickButton", QStringLiteral("Такт"), {272, 478, 48, 30}, window);
    stepSecondButton_ =
        makeButton("stepSecondButton", QStringLiteral("1 с"), {322, 478, 40, 30}, window);
    slowerButton_ = makeButton("slowerButton", QStringLiteral("−"), {368, 478, 28, 30}, window);
    speedButtonLabel_ = makeLabel("speedButtonLabel", QString(), 398, 486, window);
    speedButtonLabel_->resize(34, 16);
    speedButtonLabel_->setAlignment(Qt::AlignCenter);
    fasterButton_ = makeButton("fasterButton", QStringLiteral("+"), {434, 478, 28, 30}, window);
    restartButton_ =
        makeButton("restartButton", QStringLiteral("Заново"), {468, 478, 70, 30}, window);
    setTips({
        {pauseButton_, QStringLiteral("Остановить или продолжить время (Пробел)")},
        {stepTickButton_, QStringLiteral("Шаг на один такт (0,01 с)")},
        {stepSecondButton_, QStringLiteral("Шаг на одну секунду")},
        {slowerButton_, QStringLiteral("Медленнее, до ×¼")},
        {fasterButton_, QStringLiteral("Быстрее, до ×64")},
        {restartButton_, QStringLiteral("К началу сцены")},
    });
    connect(pauseButton_, &QPushButton::clicked, this, &TimeControls::pauseToggled);
    connect(stepTickButton_, &QPushButton::clicked, this, [this] { emit stepRequested(1); });
    connect(stepSecondButton_, &QPushButton::clicked, this,
            [this] { emit stepRequested(kTicksPerSecond); });
    connect(slowerButton_, &QPushButton::clicked, this, &TimeControls::slowerRequested);
    connect(fasterButton_, &QPushButton::clicked, this, &TimeControls::fasterRequested);
    connect(restartButton_, &QPushButton::clicked, this, &TimeControls::restartRequested);
}

void TimeControls::createMenu(QMenuBar* menuBar) {
    QMenu* menu = menuBar->addMenu(QStringLiteral("Время"));
    menu->setObjectName(QStringLiteral("timeMenu"));
    pauseAction_ =
        makeMenuAction(menu, "pauseAction", QStringLiteral("Пауза"), {QKeySequence(Qt::Key_Space)});
    stepTickAction_ = makeMenuAction(menu, "stepTickAction", QStringLiteral("Шаг на такт"),
                                     {QKeySequence(Qt::Key_Period)});
    stepSecondAction_ = makeMenuAction(menu, "stepSecondAction", QStringLiteral("Шаг на 1 с"),
                                       {QKeySequence(Qt::CTRL | Qt::Key_Period)});
    menu->addSeparator();
    fasterAction_ = makeMenuAction(menu, "fasterAction", QStringLiteral("Быстрее"),
                                   {QKeySequence(Qt::Key_Plus), QKeySequence(Qt::Key_Equal),
                                    QKeySequence(Qt::KeypadModifier | Qt::Key_Plus)});
    slowerAction_ = makeMenuAction(
        menu, "slowerAction", QStringLiteral("Медленнее"),
        {QKeySequence(Qt::Key_Minus), QKeySequence(Qt::KeypadModifier | Qt::Key_Minus)});
    menu->addSeparator();
    restartAction_ = makeMenuAction(menu, "restartAction", QStringLiteral("Заново"),
                                    {QKeySequence(Qt::CTRL | Qt::Key_R)});
    // Time keys work from the missile window and the add-radar dialog too.
    for (QAction* action : menu->actions()) {
        action->setShortcutContext(Qt::ApplicationShortcut);
    }
    connect(pauseAction_, &QAction::triggered, this, &TimeControls::pauseToggled);
    connect(stepTickAction_, &QAction::triggered, this, [this] { emit stepRequested(1); });
    connect(stepSecondAction_, &QAction::triggered, this,
            [this] { emit stepRequested(kTicksPerSecond); });
    connect(fasterAction_, &QAction::triggered, this, &TimeControls::fasterRequested);
    connect(slowerAction_, &QAction::triggered, this, &TimeControls::slowerRequested);
    connect(restartAction_, &QAction::triggered, this, &TimeControls::restartRequested);
}

void TimeControls::show(const TimeShown& shown) {
    const QString caption = shown.paused ? QStringLiteral("Продолжить") : QStringLiteral("Пауза");
    pauseButton_->setText(caption);
    pauseAction_->setText(caption);
    for (QPushButton* step : {stepTickButton_, stepSecondButton_}) {
        step->setEnabled(shown.paused);
    }
    stepTickAction_->setEnabled(shown.paused);
    stepSecondAction_->setEnabled(shown.paused);
    const bool faster = shown.speed < kSpeedCount - 1;
    const bool slower = shown.speed > 0;
    fasterAction_->setEnabled(faster);
    fasterButton_->setEnabled(faster);
    slowerAction_->setEnabled(slower);
    slowerButton_->setEnabled(slower);
    speedButtonLabel_->setText(speedName(shown.speed));
    lengthLabel_->setText(clockText(shown.end));
    if (!timeline_->isSliderDown()) {
        const QSignalBlocker blocker(timeline_);
        timeline_->setRange(0, static_cast<int>(shown.end));
        timeline_->setValue(static_cast<int>(shown.tick));
    }
}

}  // namespace prrsim::ui
