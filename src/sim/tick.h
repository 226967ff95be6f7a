#pragma once

#include "missile/seeker/seeker_reading.h"
#include "world/world_state.h"

namespace prrsim {

// Advances the whole world by one fixed step of 0.01 s (see tick.cpp for the order).
void SimulationTick(WorldState& world);

// The same tick with the seekers reading the radars as `reading` says (the exactness tests and
// the benchmarks run other readings through it).
void runTick(WorldState& world, const seeker::Reading& reading);

// One aircraft's motion and attack-run steering; `memo` keeps the trigonometry of the last
// motion made with it.
void moveAircraft(const WorldState& world, Aircraft& aircraft, AircraftMotionMemo& memo);

}  // namespace prrsim
