#pragma once

// The code paths the benchmarks measure the program against, as they were before the
// performance work of the radar index, the label cache and the batch runner: each one is the
// former code, kept unchanged apart from its namespace, so that any machine can measure before
// and after in one run.

#include "missile/seeker_reading.h"
#include "sim/world_state.h"

namespace prrsim::before {

// The seeker's fast reading in which every missile visits every radar.
const seeker::Reading& fastReading();

// The tick with that reading.
void tick(WorldState& world);

}  // namespace prrsim::before
