#pragma once

// The review side of the main window: the windows "Журнал" and "Разбор", the map overlays and
// the menu "Вид" that opens and switches them, all reading the session's review of the whole
// recording and marking the session's present moment in it. The main window calls refresh()
// before each redraw and drawOverlays() at the end of the map paint. A review to be rebuilt is
// rebuilt here; a long rebuild runs on a thread of its own, with its progress in the status
// bar, and is handed to the session when done.

#include <QAction>
#include <QLabel>
#include <QMenu>
#include <QObject>
#include <QPainter>
#include <QWidget>
#include <atomic>
#include <memory>
#include <optional>
#include <thread>
#include <vector>

#include "review/review_store.h"
#include "session/session.h"
#include "ui/debrief_window.h"
#include "ui/event_log_window.h"
#include "ui/map_overlays.h"
#include "ui/review_menu.h"
#include "world/world_state.h"

namespace prrsim::ui {

class ReviewWindows : public QObject {
    Q_OBJECT
  public:
    // The windows belong to `mainWindow`; the review's commands go into `viewMenu`.
    ReviewWindows(WorldState& world, session::Session& session, QWidget* mainWindow,
                  QMenu* viewMenu);
    // A rebuild under way is given up and waited for; the windows go first: they read the
    // review.
    ~ReviewWindows() override;

    // Before each redraw: a review to be rebuilt is rebuilt (or its rebuild started), and the
    // open windows are brought up to date and to the present moment.
    void refresh();
    // The overlays that are on, over the finished map frame.
    void drawOverlays(QPainter& painter);
    // The impact crosses shown through `camera`, which the frame's placed labels keep clear of.
    std::vector<ScreenBox> impactCrossBoxes(const MapCamera& camera) const {
        return overlays_.impactCrossBoxes(session_.review(), world_.events.tick, camera);
    }

    const review::ReviewStore& store() { return session_.review(); }
    MapOverlays& overlays() { return overlays_; }
    QAction* legendAction() const { return menu_->legendAction(); }
    // Whether a rebuild runs on its thread; waits for it to end and takes its result.
    bool rebuilding() const { return rebuild_ != nullptr; }
    void finishRebuild();

    // A rebuild of a recording this long or shorter runs at once, without a thread: at
    // capacity it takes about as long as a redraw (75 µs of CPU a tick, docs/performance.md).
    static constexpr int64_t kRebuildHereTicks = 250;

  signals:
    // An object or a moment chosen in the log.
    void objectChosen(prrsim::ui::ReviewObject object, int32_t number);
    void jumpRequested(int64_t tick);

  private:
    // What the rebuild's thread shares with the window.
    struct Rebuild {
        session::Session::ReviewJob job;
        std::atomic<int64_t> done{0};
        std::atomic<bool> cancelled{false};
        std::optional<review::ReviewStore> result;
    };

    void showWindow(QWidget* window);
    void keepReviewCurrent();
    void showProgress();

    WorldState& world_;
    session::Session& session_;
    MapOverlays overlays_;
    std::unique_ptr<Rebuild> rebuild_;
    std::thread worker_;
    EventLogWindow* log_ = nullptr;
    DebriefWindow* debrief_ = nullptr;
    ReviewMenu* menu_ = nullptr;
    QLabel* progressLabel_ = nullptr;  // in the status bar while a rebuild runs
};

}  // namespace prrsim::ui
