#pragma once

// The map view's controls: its part of the menu "Вид" ("Весь район", "1:1", "Подписи",
// "Линейка", "Кольца дальности") and the scale and cursor position in the status bar.

#include <QAction>
#include <QActionGroup>
#include <QLabel>
#include <QMenu>
#include <QObject>
#include <QStatusBar>

#include "ui/map_view.h"

namespace prrsim::ui {

class MapViewControls : public QObject {
    Q_OBJECT
  public:
    MapViewControls(MapView* view, QMenu* viewMenu, QStatusBar* statusBar, QObject* parent);

    QAction* FitAction = nullptr;       // "Весь район", Home
    QAction* OneToOneAction = nullptr;  // "1:1"
    QAction* LabelsAllAction = nullptr;
    QAction* LabelsSelectionAction = nullptr;
    QAction* LabelsNoneAction = nullptr;
    QAction* PlaceLabelsAction = nullptr;  // "Без наложений" also at the map's own size
    QAction* RulerAction = nullptr;        // "Линейка", R
    QAction* RingsAction = nullptr;        // "Кольца дальности"
};

}  // namespace prrsim::ui
