#pragma once

// The review side of the main window: the store of the session's events and samples, the
// windows "Журнал" and "Разбор", the map overlays and the menu "Вид" that opens and switches
// them. The main window calls afterTick() after each tick, refresh() before each redraw and
// drawOverlays() at the end of the map paint.

#include <QAction>
#include <QMenu>
#include <QMenuBar>
#include <QObject>
#include <QPainter>
#include <QWidget>

#include "ui/debrief_window.h"
#include "ui/event_log_window.h"
#include "ui/map_overlays.h"
#include "review/review_store.h"
#include "world/world_state.h"

namespace prrsim::ui {

// The window's menu bar: the one it has, or a new one above its components (which then keep
// their places in a client area of the window's former size).
QMenuBar* menuBarOf(QWidget* window);

class ReviewWindows : public QObject {
    Q_OBJECT
  public:
    ReviewWindows(WorldState& world, QWidget* mainWindow);
    // The windows go first: they read the store.
    ~ReviewWindows() override;

    // After each tick: the tick's events into the store; every kSampleTicks a sample.
    void afterTick();
    // Before each redraw: events of the handlers since, and the open windows brought up to
    // date.
    void refresh();
    // The overlays that are on, over the finished map frame.
    void drawOverlays(QPainter& painter);

    review::ReviewStore& store() { return store_; }
    MapOverlays& overlays() { return overlays_; }

    EventLogWindow* Log = nullptr;
    DebriefWindow* Debrief = nullptr;
    QMenu* ViewMenu = nullptr;  // "Вид"
    QAction* LogAction = nullptr;
    QAction* DebriefAction = nullptr;
    QAction* TrailsOffAction = nullptr;
    QAction* TrailsMinuteAction = nullptr;
    QAction* TrailsFlightAction = nullptr;
    QAction* ImpactsAction = nullptr;
    QAction* ClearImpactsAction = nullptr;
    QAction* RadiatingAction = nullptr;
    QAction* LegendAction = nullptr;

  private:
    void createMenu(QWidget* mainWindow);

    WorldState& world_;
    review::ReviewStore store_;
    MapOverlays overlays_;
};

}  // namespace prrsim::ui
