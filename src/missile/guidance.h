#pragma once

#include <cstdint>

#include "missile/missile.h"

namespace prrsim {

struct WorldState;

// "ПУСК": puts the missile into flight (again, if it already flies).
void launchMissile(Missile& m);

// Turn and pitch integration, motor, power, guidance law and fuze of missile `row`.
// Returns true when the missile detonated and left the table.
bool guidanceStep(WorldState& world, int32_t row);

// Speed, position, inertial estimate and ground impact of missile `row`.
// Returns true when the missile hit the ground and left the table.
bool flightStep(WorldState& world, int32_t row);

// The Gaussian-shaped command law with the rate limit: command in -1..1 for an error in
// degrees.
double steeringCommand(double errorDeg, double speed, double maxLateralAcceleration,
                       double maxAngularRate);

}  // namespace prrsim
