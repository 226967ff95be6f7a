#pragma once

#include "world/world_state.h"

namespace prrsim {

// The 32 landmarks of the map.
void fillLandmarks(WorldState& world);

// Four aircraft, six radars (two placed SAM complexes "СУРН ЗРК КУБ" and two single radars),
// no missiles. Draws the radars' frequencies from the world's generator.
void loadDefaultScenario(WorldState& world);

}  // namespace prrsim
