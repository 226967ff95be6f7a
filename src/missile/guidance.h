#pragma once

#include <cstdint>

#include "catalog/missile_catalog.h"
#include "world/missile.h"

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

// The path angle (degrees) the launch mode's climb profile asks for after `rangeFlown`:
// profile 0 a constant angle, 1 an exponential and 2 a linear decay from
// -headElevationMin x 0.7; any other profile asks for 0.
double climbProfileAngle(const MissileType& type, const LaunchMode& mode, double rangeFlown);

}  // namespace prrsim
