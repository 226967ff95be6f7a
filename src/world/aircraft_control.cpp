#include "world/aircraft_control.h"

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
    return true;
}

bool clearAttackTarget(WorldState& world, int32_t i) {
    if (!validAircraft(world, i)) {
        return false;
    }
    Aircraft& a = aircraftAt(world, i);
    a.onAttackRun = false;
    a.targetRadar = -1;
    return true;
}

bool toggleAttackRun(WorldState& world, int32_t i) {
    if (!validAircraft(world, i) || !validRadar(world, aircraftAt(world, i).targetRadar)) {
        return false;
    }
    Aircraft& a = aircraftAt(world, i);
    a.onAttackRun = !a.onAttackRun;
    return true;
}

}  // namespace prrsim
