#include "world/aircraft_control.h"

#include "world/events.h"

namespace prrsim {

bool setAircraftField(WorldState& world, int32_t i, AircraftField field, double value) {
    if (!validAircraft(world, i)) {
        return false;
    }
    Aircraft& a = aircraftAt(world, i);
    double* const fields[kAircraftFieldCount] = {&a.x,       &a.y,          &a.altitude,
                                                 &a.heading, &a.climbAngle, &a.speed};
    *fields[field] = value;
    return true;
}

bool pickAttackTarget(WorldState& world, int32_t i, int32_t radar) {
    if (!validAircraft(world, i) || (radar != -1 && !validRadar(world, radar))) {
        return false;
    }
    aircraftAt(world, i).targetRadar = radar;
    noteAttackTarget(world, i);
    return true;
}

bool clearAttackTarget(WorldState& world, int32_t i) {
    if (!validAircraft(world, i)) {
        return false;
    }
    Aircraft& a = aircraftAt(world, i);
    if (a.onAttackRun) {
        a.onAttackRun = false;
        noteAttackRun(world, i);
    }
    a.targetRadar = -1;
    noteAttackTarget(world, i);
    return true;
}

bool toggleAttackRun(WorldState& world, int32_t i) {
    if (!validAircraft(world, i) || !validRadar(world, aircraftAt(world, i).targetRadar)) {
        return false;
    }
    Aircraft& a = aircraftAt(world, i);
    a.onAttackRun = !a.onAttackRun;
    noteAttackRun(world, i);
    return true;
}

}  // namespace prrsim
