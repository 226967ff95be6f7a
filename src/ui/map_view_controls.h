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

  private:
    QAction* fitAction_ = nullptr;       // "Весь район", Home
    QAction* oneToOneAction_ = nullptr;  // "1:1"
    QAction* labelsAllAction_ = nullptr;
    QAction* labelsSelectionAction_ = nullptr;
    QAction* labelsNoneAction_ = nullptr;
    QAction* placeLabelsAction_ = nullptr;  // "Без наложений" also at the map's own size
    QAction* rulerAction_ = nullptr;        // "Линейка", R
    QAction* ringsAction_ = nullptr;        // "Кольца дальности"

    MapLegend* legend_ = nullptr;
};

}  // namespace prrsim::ui
