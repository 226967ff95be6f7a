#pragma once

#include "missile/seeker/seeker_reading.h"
#include "missile/seeker/seeker_scratch.h"
#include "world/world_state.h"

namespace prrsim {

// Advances the whole world by one fixed step of 0.01 s (see tick.cpp for the order). The
// seekers work in `scratch`, which the caller keeps from tick to tick (makeSeekerScratch): any
// scratch area gives the same world, a kept one gives it faster.
void SimulationTick(WorldState& world, SeekerScratch& scratch);

// The same tick with the seekers reading the radars as `reading` says (the exactness tests and
// the benchmarks run other readings through it).
void runTick(WorldState& world, SeekerScratch& scratch, const seeker::Reading& reading);

// One aircraft's motion and attack-run steering; `memo` keeps the trigonometry of the last
// motion made with it.
void moveAircraft(const WorldState& world, Aircraft& aircraft, AircraftMotionMemo& memo);

}  // namespace prrsim
