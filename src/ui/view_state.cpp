#include "ui/view_state.h"

namespace prrsim::ui {

TableLengths tableLengths(const WorldState& world) {
    return {world.aircraftCount, world.radarCount, world.missileCount};
}

void keepAfterRebuild(ViewState& view, const TableLengths& before, const WorldState& world) {
    if (world.aircraftCount != before.aircraft || !validAircraft(world, view.selectedAircraft)) {
        view.selectedAircraft = -1;
    }
    if (world.radarCount != before.radars || !validRadar(world, view.selectedRadar)) {
        view.selectedRadar = -1;
    }
    if (world.missileCount != before.missiles || !validMissile(world, view.selectedMissile)) {
        view.selectedMissile = -1;
    }
    if (view.selectedAircraft >= 0 && view.selectedMissile >= 0) {
        const int32_t carrier = missileAt(world, view.selectedMissile).carrier;
        if (!validAircraft(world, carrier) ||
            aircraftAt(world, carrier).id != aircraftAt(world, view.selectedAircraft).id) {
            view.selectedMissile = -1;
        }
    }
}

void forgetScene(ViewState& view) {
    ViewState kept;
    kept.mapCursor = view.mapCursor;
    kept.compassCursor = view.compassCursor;
    kept.radarCompassCursor = view.radarCompassCursor;
    view = kept;
}

bool followMissileRemoval(ViewState& view, int32_t row) {
    if (view.selectedMissile == row) {
        view.selectedMissile = -1;
        return true;
    }
    if (view.selectedMissile > row) {
        // The shown missile moved down with its record: the selection follows it, so it never
        // names a slot beyond the table or another aircraft's missile.
        view.selectedMissile -= 1;
    }
    return false;
}

namespace {

bool noneOrBelow(int32_t index, int32_t count) {
    return index == -1 || (index >= 0 && index < count);
}

}  // namespace

std::string viewProblem(const WorldState& world, const ViewState& view) {
    if (!noneOrBelow(view.selectedAircraft, world.aircraftCount)) {
        return "selectedAircraft " + std::to_string(view.selectedAircraft) + " is no aircraft";
    }
    if (!noneOrBelow(view.selectedRadar, world.radarCount)) {
        return "selectedRadar " + std::to_string(view.selectedRadar) + " is no radar";
    }
    if (!noneOrBelow(view.selectedMissile, world.missileCount)) {
        return "selectedMissile " + std::to_string(view.selectedMissile) + " is no missile";
    }
    if (view.selectedAircraft >= 0 && view.selectedMissile >= 0 &&
        missileAt(world, view.selectedMissile).carrier != view.selectedAircraft) {
        return "selectedMissile " + std::to_string(view.selectedMissile) +
               " does not ride on selectedAircraft " + std::to_string(view.selectedAircraft);
    }
    return "";
}

}  // namespace prrsim::ui
