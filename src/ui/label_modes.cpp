#include "ui/label_modes.h"

#include "world/world_state.h"

namespace prrsim::ui {

namespace {

// The radar the selected aircraft (or the selected missile's carrier) attacks; -1 when none.
int32_t attackedRadar(const WorldState& world, const ViewState& view) {
    int32_t aircraft = view.selectedAircraft;
    if (!validAircraft(world, aircraft) && validMissile(world, view.selectedMissile)) {
        aircraft = missileAt(world, view.selectedMissile).carrier;
    }
    return validAircraft(world, aircraft) ? aircraftAt(world, aircraft).targetRadar : -1;
}

bool radarSelected(const WorldState& world, const ViewState& view, int32_t row) {
    if (row == view.selectedRadar || row == attackedRadar(world, view)) {
        return true;
    }
    if (!validRadar(world, view.selectedRadar)) {
        return false;
    }
    const int32_t complex = radarAt(world, view.selectedRadar).placedComplex;
    return validPlacedComplex(world, complex) && radarAt(world, row).placedComplex == complex;
}

bool missileSelected(const WorldState& world, const ViewState& view, int32_t row) {
    return row == view.selectedMissile ||
           (validAircraft(world, view.selectedAircraft) &&
            missileAt(world, row).carrier == view.selectedAircraft);
}

}  // namespace

bool labelShown(const WorldState& world, const ViewState& view, LabelMode mode, LabelOwner owner,
                int32_t row) {
    switch (mode) {
        case LabelMode::All:
            return true;
        case LabelMode::None:
            return false;
        case LabelMode::Selection:
            return owner == LabelOwner::Radar ? radarSelected(world, view, row)
                                              : missileSelected(world, view, row);
    }
    return true;
}

}  // namespace prrsim::ui
