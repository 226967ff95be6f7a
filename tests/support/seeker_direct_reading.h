#pragma once

// The seeker read directly, for the exactness tests and the benchmarks' reference figures:
// every radar, pass and path put through the reception tests one by one, and every radar's
// field of view tested in full by the automatic search. No cache, no pre-test.

#include "missile/seeker/seeker_reading.h"
#include "missile/seeker/seeker_scratch.h"
#include "world/world_state.h"

namespace prrsim::testing {

const seeker::Reading& directReading();

// SimulationTick with every seeker read directly.
void directTick(WorldState& world, SeekerScratch& scratch);

}  // namespace prrsim::testing
