// Time control of the main window: pause, steps, speeds, the timeline under the map and the
// status bar.
#include <QFileInfo>
#include <QSignalBlocker>
#include <cmath>
#include <memory>

#include "ui/controls.h"
#include "ui/radar_panel.h"
#include "ui/main_window.h"

namespace prrsim::ui {

namespace {

// The achieved speed is measured over the last two seconds, once one second is known.
constexpr qint64 kSampleWindowMs = 2000;
constexpr qint64 kShortestSampleMs = 1000;

double speedFactor(int index) {
    return MainWindow::kQuarterTicks[index] / 4.0;
}

QString factorText(double x) {
    if (x >= 10) {
        return QString::number(static_cast<qint64>(x));
    }
    QString text = QString::number(std::trunc(x * 10) / 10, 'f', 1);
    if (text.endsWith(QStringLiteral(".0"))) {
        text.chop(2);
    }
    return text.replace(QLatin1Char('.'), QLatin1Char(','));
}

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
    return QStringLiteral("×%1").arg(MainWindow::kQuarterTicks[index] / 4);
}

void MainWindow::createTimeControls() {
    auto clock = std::make_shared<QElapsedTimer>();
    clock->start();
    wallClock = [clock] { return clock->elapsed(); };

    Timeline = makeControl<QSlider>("Timeline", {190, 446, 334, 24}, this);
    Timeline->setOrientation(Qt::Horizontal);
    Timeline->setRange(0, 0);
    // A drag jumps when the slider is let go; keys jump at once.
    Timeline->setTracking(false);
    Timeline->setSingleStep(100);
    Timeline->setPageStep(1000);
    Timeline->setToolTip(QStringLiteral("Время сеанса: перейти к любому моменту записи"));
    connect(Timeline, &QSlider::valueChanged, this, [this](int tick) { jumpTo(tick); });
    LengthLabel = makeLabel("LengthLabel", QString(), 528, 450, this);
    LengthLabel->resize(70, 16);
    LengthLabel->setToolTip(QStringLiteral("Длина записи"));

    PauseButton = makeButton("PauseButton", QStringLiteral("Пауза"), {190, 478, 80, 30}, this);
    StepTickButton = makeButton("StepTickButton", QStringLiteral("Такт"), {272, 478, 48, 30}, this);
    PauseButton->setToolTip(QStringLiteral("Остановить или продолжить время (Пробел)"));
    StepTickButton->setToolTip(QStringLiteral("Шаг на один такт (0,01 с)"));
    StepSecondButton =
        makeButton("StepSecondButton", QStringLiteral("1 с"), {322, 478, 40, 30}, this);
    StepSecondButton->setToolTip(QStringLiteral("Шаг на одну секунду"));
    SlowerButton = makeButton("SlowerButton", QStringLiteral("−"), {368, 478, 28, 30}, this);
    SlowerButton->setToolTip(QStringLiteral("Медленнее, до ×¼"));
    SpeedButtonLabel = makeLabel("SpeedButtonLabel", QString(), 398, 486, this);
    SpeedButtonLabel->resize(34, 16);
    SpeedButtonLabel->setAlignment(Qt::AlignCenter);
    FasterButton = makeButton("FasterButton", QStringLiteral("+"), {434, 478, 28, 30}, this);
    FasterButton->setToolTip(QStringLiteral("Быстрее, до ×64"));
    RestartButton = makeButton("RestartButton", QStringLiteral("Заново"), {468, 478, 70, 30}, this);
    RestartButton->setToolTip(QStringLiteral("К началу сцены"));
    connect(PauseButton, &QPushButton::clicked, this, &MainWindow::togglePause);
    connect(StepTickButton, &QPushButton::clicked, this, [this] { stepTicks(1); });
    connect(StepSecondButton, &QPushButton::clicked, this, [this] { stepTicks(100); });
    connect(SlowerButton, &QPushButton::clicked, this, &MainWindow::slower);
    connect(FasterButton, &QPushButton::clicked, this, &MainWindow::faster);
    connect(RestartButton, &QPushButton::clicked, this, &MainWindow::restart);
}

void MainWindow::createStatusBar() {
    StatusBar = new QStatusBar(this);
    StatusBar->setObjectName(QStringLiteral("StatusBar"));
    StatusBar->setSizeGripEnabled(false);
    HintLabel = new QLabel(StatusBar);
    HintLabel->setObjectName(QStringLiteral("HintLabel"));
    StatusBar->addWidget(HintLabel, 1);
    TimeLabel = new QLabel(StatusBar);
    TimeLabel->setObjectName(QStringLiteral("TimeLabel"));
    TimeLabel->setToolTip(QStringLiteral("Время сцены, ч:мм:сс.сс"));
    SpeedLabel = new QLabel(StatusBar);
    SpeedLabel->setObjectName(QStringLiteral("SpeedLabel"));
    PauseLabel = new QLabel(StatusBar);
    PauseLabel->setObjectName(QStringLiteral("PauseLabel"));
    FileLabel = new QLabel(StatusBar);
    FileLabel->setObjectName(QStringLiteral("FileLabel"));
    for (QLabel* label : {TimeLabel, SpeedLabel, PauseLabel, FileLabel}) {
        label->setContentsMargins(4, 0, 6, 0);
        StatusBar->addPermanentWidget(label);
    }
}

void MainWindow::setPaused(bool paused) {
    paused_ = paused;
    owedQuarters_ = 0;
    samples_.clear();
    achieved_ = 0;
    const QString caption = paused ? QStringLiteral("Продолжить") : QStringLiteral("Пауза");
    PauseButton->setText(caption);
    PauseAction->setText(caption);
    for (QWidget* w :
         {static_cast<QWidget*>(StepTickButton), static_cast<QWidget*>(StepSecondButton)}) {
        w->setEnabled(paused);
    }
    StepTickAction->setEnabled(paused);
    StepSecondAction->setEnabled(paused);
    updateStatus();
}

void MainWindow::togglePause() {
    setPaused(!paused_);
}

void MainWindow::stepTicks(int64_t n) {
    if (!paused_) {
        return;
    }
    runSteps(n);
    Timer2Timer();
}

void MainWindow::setSpeed(int index) {
    speed_ = std::clamp(index, 0, kSpeedCount - 1);
    owedQuarters_ = 0;
    samples_.clear();
    achieved_ = 0;
    FasterAction->setEnabled(speed_ < kSpeedCount - 1);
    SlowerAction->setEnabled(speed_ > 0);
    FasterButton->setEnabled(speed_ < kSpeedCount - 1);
    SlowerButton->setEnabled(speed_ > 0);
    updateStatus();
}

void MainWindow::faster() {
    setSpeed(speed_ + 1);
}

void MainWindow::slower() {
    setSpeed(speed_ - 1);
}

void MainWindow::jumpTo(int64_t tick) {
    session_.jumpTo(tick);
    samples_.clear();
    achieved_ = 0;
    updateStatus();
}

void MainWindow::restart() {
    jumpTo(0);
}

void MainWindow::noteAchievedSpeed() {
    if (paused_) {
        samples_.clear();
        achieved_ = 0;
        return;
    }
    const qint64 now = wallClock();
    samples_.emplace_back(now, session_.tick());
    while (samples_.size() > 1 && now - samples_.front().first > kSampleWindowMs) {
        samples_.pop_front();
    }
    const auto& [then, tick] = samples_.front();
    if (now - then >= kShortestSampleMs) {
        // Ticks of 0.01 s per wall millisecond, times 10: simulated seconds per wall second.
        achieved_ = static_cast<double>(session_.tick() - tick) * 10.0 / (now - then);
    }
}

QString MainWindow::modeHint() const {
    const QString cancel = QStringLiteral(" (Esc — отмена)");
    if (view_.moveAircraftMode) {
        return QStringLiteral("Щелчок по карте перенесёт самолёт в эту точку") + cancel;
    }
    if (view_.radarPlaceMode) {
        return QStringLiteral("Щелчок по карте поставит РЛС в эту точку") + cancel;
    }
    if (view_.pickTargetMode) {
        return QStringLiteral("Щелчок по РЛС сделает её целью атаки, мимо — снимет цель") + cancel;
    }
    if (view_.captureMode) {
        return QStringLiteral("Щелчок по самолёту даст его РЛС на сопровождение") + cancel;
    }
    return QString();
}

void MainWindow::updateStatus() {
    if (StatusBar == nullptr || PauseAction == nullptr) {
        return;  // still being built
    }
    TimeLabel->setText(clockText(session_.tick()));
    QString speed = speedName(speed_);
    if (achieved_ > 0 && achieved_ < 0.9 * speedFactor(speed_)) {
        speed += QStringLiteral(" (достигнуто ×%1)").arg(factorText(achieved_));
    }
    SpeedLabel->setText(speed);
    SpeedButtonLabel->setText(speedName(speed_));
    PauseLabel->setText(paused_ ? QStringLiteral("Пауза") : QString());
    PauseLabel->setVisible(paused_);
    FileLabel->setText(sceneFile_.isEmpty() ? QStringLiteral("новая сцена")
                                            : QFileInfo(sceneFile_).fileName());
    FileLabel->setToolTip(sceneFile_);
    LengthLabel->setText(clockText(session_.end()));
    if (!Timeline->isSliderDown()) {
        const QSignalBlocker blocker(Timeline);
        Timeline->setRange(0, static_cast<int>(session_.end()));
        Timeline->setValue(static_cast<int>(session_.tick()));
    }
    HintLabel->setText(modeHint());
    updateTitle();  // a write-back may have changed the scene
}

}  // namespace prrsim::ui
