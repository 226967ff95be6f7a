#pragma once

#include <QAction>
#include <QMenu>
#include <QObject>
#include <functional>

#include "ui/map_overlays.h"

namespace prrsim::ui {

// The review's part of the menu "Вид": "Журнал" and "Разбор" open their windows; "Следы",
// "Места подрывов", "Излучающие РЛС" and "Условные обозначения" switch the map's overlays.
class ReviewMenu : public QObject {
    Q_OBJECT
  public:
    ReviewMenu(QMenu* viewMenu, MapOverlays& overlays, QObject* parent);

    // "Условные обозначения": the legend's window follows it.
    QAction* legendAction() const { return legendAction_; }

  signals:
    void logRequested();
    void debriefRequested();
    void clearImpactsRequested();

  private:
    void createTrailChoice(QMenu* viewMenu);
    QAction* addToggle(QMenu* viewMenu, const char* name, const QString& text,
                       const std::function<void(bool)>& set);

    MapOverlays& overlays_;
    QAction* logAction_ = nullptr;
    QAction* debriefAction_ = nullptr;
    QAction* trailsOffAction_ = nullptr;
    QAction* trailsMinuteAction_ = nullptr;
    QAction* trailsFlightAction_ = nullptr;
    QAction* impactsAction_ = nullptr;
    QAction* clearImpactsAction_ = nullptr;
    QAction* radiatingAction_ = nullptr;
    QAction* legendAction_ = nullptr;
};

}  // namespace prrsim::ui
