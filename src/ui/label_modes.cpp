#include "ui/label_modes.h"

#include "world/world_state.h"

namespace prrsim::ui {

namespace {

// The radar the selected aircraft (or the selected missile's carrier) attacks; -1 when none.
int32_t attackedRadar(const WorldState& world) {
    int32_t aircraft = world.selectedAircraft;
    if (!validAircraft(world, aircraft) && validMissile(world, world.selectedMissile)) {
        aircraft = missileAt(world, world.selectedMissile).carrier;
    }
    return validAircraft(world, aircraft) ? aircraftAt(world, aircraft).targetRadar : -1;
}

bool radarSelected(const WorldState& world, int32_t row) {
    if (row == world.selectedRadar || row == attackedRadar(world)) {
        return true;
    }
    if (!validRadar(world, world.selectedRadar)) {
        return false;
    }
    const int32_t complex = radarAt(world, world.selectedRadar).placedComplex;
    return validPlacedComplex(world, complex) && radarAt(world, row).placedComplex == complex;
}

bool missileSelected(const WorldState& world, int32_t row) {
    return row == world.selectedMissile ||
           (validAircraft(world, world.selectedAircraft) &&
            missileAt(world, row).carrier == world.selectedAircraft);
}

}  // namespace

bool labelShown(const WorldState& world, LabelMode mode, LabelOwner owner, int32_t row) {
    switch (mode) {
        case LabelMode::All:
            return true;
        case LabelMode::None:
            return false;
        case LabelMode::Selection:
            return owner == LabelOwner::Radar ? radarSelected(world, row)
                                              : missileSelected(world, row);
    }
    return true;
}

}  // namespace prrsim::ui
