#include "ui/review_windows.h"

#include <QStatusBar>
#include <algorithm>

#include "ui/main_window.h"
#include "world/world.h"

namespace prrsim::ui {

ReviewWindows::ReviewWindows(WorldState& world, session::Session& session, QWidget* mainWindow,
                             QMenu* viewMenu)
    : QObject(mainWindow), world_(world), session_(session) {
    setObjectName(QStringLiteral("review"));
    log_ = new EventLogWindow(session_.review(), mainWindow);
    log_->hide();
    connect(log_, &EventLogWindow::objectChosen, this, &ReviewWindows::objectChosen);
    connect(log_, &EventLogWindow::jumpToTick, this, &ReviewWindows::jumpRequested);
    debrief_ = new DebriefWindow(world_, session_.review(), mainWindow);
    debrief_->hide();
    menu_ = new ReviewMenu(viewMenu, overlays_, this);
    connect(menu_, &ReviewMenu::logRequested, this, [this] { showWindow(log_); });
    connect(menu_, &ReviewMenu::debriefRequested, this, [this] { showWindow(debrief_); });
    connect(menu_, &ReviewMenu::clearImpactsRequested, this,
            [this] { overlays_.clearImpacts(session_.review(), world_.events.tick); });
    if (auto* bar = mainWindow->findChild<QStatusBar*>()) {
        progressLabel_ = new QLabel(bar);
        progressLabel_->setObjectName(QStringLiteral("reviewProgressLabel"));
        bar->addPermanentWidget(progressLabel_);
        progressLabel_->hide();
    }
}

ReviewWindows::~ReviewWindows() {
    if (rebuild_) {
        rebuild_->cancelled = true;
        worker_.join();
    }
    delete log_;
    delete debrief_;
}

void ReviewWindows::keepReviewCurrent() {
    if (session_.reviewCurrent() || rebuild_) {
        return;
    }
    session::Session::ReviewJob job = session_.reviewJob();
    if (job.recording.ticks <= kRebuildHereTicks) {
        session_.rebuildReview();
        return;
    }
    rebuild_ = std::make_unique<Rebuild>();
    rebuild_->job = std::move(job);
    Rebuild* shared = rebuild_.get();
    worker_ = std::thread([this, shared] {
        shared->result = shared->job.run([shared](int64_t done, int64_t) {
            shared->done = done;
            return !shared->cancelled;
        });
        QMetaObject::invokeMethod(
            this, [this] { finishRebuild(); }, Qt::QueuedConnection);
    });
    showProgress();
}

void ReviewWindows::finishRebuild() {
    if (!rebuild_) {
        return;
    }
    worker_.join();
    if (rebuild_->result) {
        session_.adoptReview(std::move(*rebuild_->result), rebuild_->job.stamp);
    }
    rebuild_.reset();
    showProgress();
    // The recording may have changed meanwhile: then the next refresh starts again.
}

void ReviewWindows::showProgress() {
    if (progressLabel_ == nullptr) {
        return;
    }
    if (rebuild_) {
        const int64_t total = std::max<int64_t>(rebuild_->job.recording.ticks, 1);
        progressLabel_->setText(
            QStringLiteral("Разбор пересчитывается: %1 %").arg(rebuild_->done * 100 / total));
    }
    progressLabel_->setVisible(rebuild_ != nullptr);
}

void ReviewWindows::showWindow(QWidget* window) {
    window->show();
    refresh();
    window->raise();
    window->activateWindow();
}

void ReviewWindows::refresh() {
    keepReviewCurrent();
    showProgress();
    session_.review();  // settled at the end
    log_->setNow(world_.events.tick);
    if (log_->isVisible()) {
        log_->refresh();
    }
    if (debrief_->isVisible()) {
        debrief_->refresh();
    }
}

void ReviewWindows::drawOverlays(QPainter& painter) {
    overlays_.draw(painter, world_, session_.review());
}

// An object chosen in the log: selected as a click on it would select it, if it is still on
// the map.
void MainWindow::selectReviewObject(ReviewObject object, int32_t number) {
    int32_t row = -1;
    if (object == ReviewObject::Missile) {
        for (int32_t k = 0; k < world_.missileCount && row < 0; ++k) {
            row = world_.missiles[k].review.number == number ? k : -1;
        }
    } else if (object == ReviewObject::Aircraft) {
        for (int32_t i = 0; i < world_.aircraftCount && row < 0; ++i) {
            row = world_.aircraft[i].number == number ? i : -1;
        }
    } else {
        for (int32_t j = 0; j < world_.radarCount && row < 0; ++j) {
            row = world_.radars[j].number == number ? j : -1;
        }
    }
    if (row < 0) {
        return;
    }
    complexMemberList_->hide();
    view_.selectedAircraft = object == ReviewObject::Aircraft ? row : -1;
    view_.selectedRadar = object == ReviewObject::Radar ? row : -1;
    view_.selectedMissile = object == ReviewObject::Missile ? row : -1;
    showRadarSelection();
    showSelectionPanels();
    updateModeIndicators();
}

}  // namespace prrsim::ui
