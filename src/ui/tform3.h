#pragma once
// STUB: the missile window; replaced by its real implementation.

#include <QWidget>

#include "sim/world_state.h"

namespace prrsim::ui {

class TForm3 : public QWidget {
    Q_OBJECT
public:
    TForm3(WorldState& world, QWidget* parent);
    // Rewrites every control from the selected missile (nothing when none is selected).
    void refreshMissileWindow();

private:
    WorldState& world_;
};

}  // namespace prrsim::ui
