// Time in the main window: the ticks the timer runs at the speed, pause, steps, jumps, the
// achieved speed and the status bar.
#include <QFileInfo>
#include <QScopedValueRollback>
#include <algorithm>
#include <cmath>
#include <memory>

#include "ui/main_window.h"

namespace prrsim::ui {

namespace {

// The achieved speed is measured over the last two seconds, once one second is known.
constexpr qint64 kSampleWindowMs = 2000;
constexpr qint64 kShortestSampleMs = 1000;
constexpr int kQuartersPerTick = 4;
// Below this share of the chosen speed the status bar says what is achieved.
constexpr double kSlowShare = 0.9;

double speedFactor(int index) {
    return kQuarterTicks[index] / static_cast<double>(kQuartersPerTick);
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

void MainWindow::connectTime() {
    auto clock = std::make_shared<QElapsedTimer>();
    clock->start();
    wallClock = [clock] { return clock->elapsed(); };
    connect(timeControls_, &TimeControls::pauseToggled, this, &MainWindow::togglePause);
    connect(timeControls_, &TimeControls::stepRequested, this, &MainWindow::stepTicks);
    connect(timeControls_, &TimeControls::slowerRequested, this, &MainWindow::slower);
    connect(timeControls_, &TimeControls::fasterRequested, this, &MainWindow::faster);
    connect(timeControls_, &TimeControls::restartRequested, this, &MainWindow::restart);
    connect(timeControls_, &TimeControls::jumpRequested, this, &MainWindow::jumpTo);
}

void MainWindow::runDueTicks() {
    if (paused_ || sceneFiles_->prompting()) {
        return;
    }
    owedQuarters_ += kQuarterTicks[speed_];
    const int ticks = owedQuarters_ / kQuartersPerTick;
    owedQuarters_ %= kQuartersPerTick;
    runSteps(ticks);
}

void MainWindow::runSteps(int64_t n) {
    {
        const QScopedValueRollback<bool> stepping(stepping_, true);
        for (int64_t i = 0; i < n; ++i) {
            session_.step();
        }
    }
    if (resyncDue_) {
        resyncDue_ = false;
        showWorldAgain();
    }
}

void MainWindow::setPaused(bool paused) {
    paused_ = paused;
    owedQuarters_ = 0;
    samples_.clear();
    achieved_ = 0;
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
    redraw();
}

void MainWindow::setSpeed(int index) {
    speed_ = std::clamp(index, 0, kSpeedCount - 1);
    owedQuarters_ = 0;
    samples_.clear();
    achieved_ = 0;
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
    if (statusBar_ == nullptr || timeControls_ == nullptr) {
        return;  // still being built
    }
    timeLabel_->setText(clockText(session_.tick()));
    QString speed = speedName(speed_);
    if (achieved_ > 0 && achieved_ < kSlowShare * speedFactor(speed_)) {
        speed += QStringLiteral(" (достигнуто ×%1)").arg(factorText(achieved_));
    }
    speedLabel_->setText(speed);
    pauseLabel_->setText(paused_ ? QStringLiteral("Пауза") : QString());
    pauseLabel_->setVisible(paused_);
    const QString& file = sceneFiles_->sceneFile();
    fileLabel_->setText(file.isEmpty() ? QStringLiteral("новая сцена")
                                       : QFileInfo(file).fileName());
    fileLabel_->setToolTip(file);
    timeControls_->show(TimeShown{paused_, speed_, session_.tick(), session_.end()});
    hintLabel_->setText(modeHint());
    updateTitle();  // a write-back may have changed the scene
}

}  // namespace prrsim::ui
