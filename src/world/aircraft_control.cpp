#include "world/aircraft_control.h"

namespace prrsim {

bool pickAttackTarget(WorldState& world, int32_t row, int32_t radar) {
    if (!validAircraft(world, row)) {
        return false;
    }
    aircraftAt(world, row).targetRadar = radar;
    noteAttackTarget(world, row);
    return true;
}

bool clearAttackTarget(WorldState& world, int32_t row) {
    if (!validAircraft(world, row)) {
        return false;
    }
    Aircraft& a = aircraftAt(world, row);
    if (a.onAttackRun) {
        a.onAttackRun = false;
        noteAttackRun(world, row);
    }
    a.targetRadar = -1;
    noteAttackTarget(world, row);
    return true;
}

bool toggleAttackRun(WorldState& world, int32_t row) {
    if (!validAircraft(world, row)) {
        return false;
    }
    Aircraft& a = aircraftAt(world, row);
    if (validRadar(world, a.targetRadar)) {
        a.onAttackRun = !a.onAttackRun;
        noteAttackRun(world, row);
    }
    return true;
}

}  // namespace prrsim
