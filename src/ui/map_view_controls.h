#pragma once

// The map view's controls: its part of the menu "Вид" ("Весь район", "1:1", "Подписи",
// "Линейка", "Кольца дальности"), the scale and cursor position in the status bar, and the
// legend's window, shown by the review's "Условные обозначения".

#include <QAction>
#include <QActionGroup>
#include <QLabel>
#include <QMenu>
#include <QObject>
#include <QStatusBar>

#include "ui/map_legend.h"
#include "ui/map_view.h"

namespace prrsim::ui {

class MapViewControls : public QObject {
    Q_OBJECT
  public:
    // The view draws `overlays` (the review's) and places their miss distances among its
    // labels; `legendAction` ("Условные обозначения") shows and hides the legend's window.
    MapViewControls(MapView* view, QMenu* viewMenu, QStatusBar* statusBar, MapOverlays& overlays,
                    QAction* legendAction, QObject* parent);

    QAction* FitAction = nullptr;       // "Весь район", Home
    QAction* OneToOneAction = nullptr;  // "1:1"
    QAction* LabelsAllAction = nullptr;
    QAction* LabelsSelectionAction = nullptr;
    QAction* LabelsNoneAction = nullptr;
    QAction* PlaceLabelsAction = nullptr;  // "Без наложений" also at the map's own size
    QAction* RulerAction = nullptr;        // "Линейка", R
    QAction* RingsAction = nullptr;        // "Кольца дальности"

  private:
    MapLegend* legend_ = nullptr;
};

}  // namespace prrsim::ui
