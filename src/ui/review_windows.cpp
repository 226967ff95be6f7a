#include "ui/review_windows.h"

#include <QActionGroup>
#include <QStatusBar>
#include <QVBoxLayout>
#include <algorithm>

#include "ui/main_window.h"
#include "world/world.h"

namespace prrsim::ui {

QMenuBar* menuBarOf(QWidget* window) {
    if (auto* bar = window->findChild<QMenuBar*>(QString(), Qt::FindDirectChildrenOnly)) {
        return bar;
    }
    // The components keep their places inside a client area under the menu bar.
    auto* client = new QWidget(window);
    client->setObjectName(QStringLiteral("Client"));
    client->setFixedSize(window->size());
    for (QWidget* w : window->findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) {
        if (w == client || w->isWindow()) {
            continue;
        }
        const bool hidden = w->isHidden();
        w->setParent(client);
        w->setVisible(!hidden);
    }
    auto* bar = new QMenuBar(window);
    bar->setObjectName(QStringLiteral("MenuBar"));
    auto* layout = new QVBoxLayout(window);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->setMenuBar(bar);
    layout->addWidget(client);
    layout->setSizeConstraint(QLayout::SetFixedSize);
    return bar;
}

ReviewWindows::ReviewWindows(WorldState& world, session::Session& session, QWidget* mainWindow)
    : QObject(mainWindow), world_(world), session_(session) {
    setObjectName(QStringLiteral("Review"));
    Log = new EventLogWindow(session_.review(), mainWindow);
    Log->hide();
    Debrief = new DebriefWindow(world_, session_.review(), mainWindow);
    Debrief->hide();
    createMenu(mainWindow);
    if (auto* bar = mainWindow->findChild<QStatusBar*>()) {
        ProgressLabel = new QLabel(bar);
        ProgressLabel->setObjectName(QStringLiteral("ReviewProgressLabel"));
        bar->addPermanentWidget(ProgressLabel);
        ProgressLabel->hide();
    }
}

ReviewWindows::~ReviewWindows() {
    if (rebuild_) {
        rebuild_->cancelled = true;
        worker_.join();
    }
    delete Log;
    delete Debrief;
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
    if (ProgressLabel == nullptr) {
        return;
    }
    if (rebuild_) {
        const int64_t total = std::max<int64_t>(rebuild_->job.recording.ticks, 1);
        ProgressLabel->setText(
            QStringLiteral("Разбор пересчитывается: %1 %").arg(rebuild_->done * 100 / total));
    }
    ProgressLabel->setVisible(rebuild_ != nullptr);
}

void ReviewWindows::createMenu(QWidget* mainWindow) {
    ViewMenu = menuBarOf(mainWindow)->addMenu(QStringLiteral("Вид"));
    ViewMenu->setObjectName(QStringLiteral("ViewMenu"));
    const auto show = [this](QWidget* window) {
        window->show();
        refresh();
        window->raise();
        window->activateWindow();
    };
    LogAction = ViewMenu->addAction(QStringLiteral("Журнал"), this, [=, this] { show(Log); });
    DebriefAction =
        ViewMenu->addAction(QStringLiteral("Разбор"), this, [=, this] { show(Debrief); });
    ViewMenu->addSeparator();

    QMenu* trails = ViewMenu->addMenu(QStringLiteral("Следы"));
    auto* group = new QActionGroup(this);
    const auto trailAction = [&](const QString& text, TrailMode mode) {
        QAction* action =
            trails->addAction(text, this, [this, mode] { overlays_.setTrails(mode); });
        action->setCheckable(true);
        action->setChecked(mode == TrailMode::Off);
        group->addAction(action);
        return action;
    };
    TrailsOffAction = trailAction(QStringLiteral("Нет"), TrailMode::Off);
    TrailsMinuteAction = trailAction(QStringLiteral("За последнюю минуту"), TrailMode::LastMinute);
    TrailsFlightAction = trailAction(QStringLiteral("За весь полёт"), TrailMode::WholeFlight);

    const auto toggle = [&](const QString& text, auto set) {
        QAction* action = ViewMenu->addAction(text);
        action->setCheckable(true);
        connect(action, &QAction::toggled, this, set);
        return action;
    };
    ImpactsAction =
        toggle(QStringLiteral("Места подрывов"), [this](bool on) { overlays_.setImpacts(on); });
    ClearImpactsAction = ViewMenu->addAction(
        QStringLiteral("Очистить места подрывов"), this,
        [this] { overlays_.clearImpacts(session_.review(), world_.events.tick); });
    RadiatingAction =
        toggle(QStringLiteral("Излучающие РЛС"), [this](bool on) { overlays_.setRadiating(on); });
    LegendAction = toggle(QStringLiteral("Условные обозначения"),
                          [this](bool on) { overlays_.setLegend(on); });
}

void ReviewWindows::refresh() {
    keepReviewCurrent();
    showProgress();
    session_.review();  // settled at the end
    Log->setNow(world_.events.tick);
    if (Log->isVisible()) {
        Log->refresh();
    }
    if (Debrief->isVisible()) {
        Debrief->refresh();
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
