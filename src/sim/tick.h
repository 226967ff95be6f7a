#pragma once

#include "world/world_state.h"

namespace prrsim {

// Advances the whole world by one fixed step of 0.01 s (see tick.cpp for the order).
void SimulationTick(WorldState& world);

// One aircraft's motion and attack-run steering.
void moveAircraft(const WorldState& world, Aircraft& aircraft);

}  // namespace prrsim
