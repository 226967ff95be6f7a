#pragma once
// STUB: the radar panel (Panel2); replaced by its real implementation.

#include <QFrame>
#include <QPushButton>

#include "sim/world_state.h"

namespace prrsim::ui {

class RadarPanel : public QFrame {
    Q_OBJECT
public:
    RadarPanel(WorldState& world, QWidget* parent);
    // Fills the panel from radar `row` (the compass and "Подсвет" show the selected radar).
    void refresh(int row);

    QPushButton* Button7 = nullptr;  // "Перенести"
    QPushButton* Button8 = nullptr;  // "Захват"

signals:
    // A handler changed a map-click mode; the main window updates captions and cursor.
    void modesChanged();

private:
    WorldState& world_;
};

}  // namespace prrsim::ui
