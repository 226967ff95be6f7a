#pragma once
// STUB: the add-radar dialog; replaced by its real implementation.

#include <QWidget>

#include "sim/world_state.h"

namespace prrsim::ui {

class TForm2 : public QWidget {
    Q_OBJECT
public:
    TForm2(WorldState& world, QWidget* parent);

signals:
    // OK added radars (selectedRadar is the last one, radarPlaceMode is set).
    void radarsAdded();
    // The dialog closed (by OK, Cancel or the window's close button).
    void closed();

private:
    WorldState& world_;
};

}  // namespace prrsim::ui
