#pragma once

#include <cstdint>

#include "world/missile.h"

namespace prrsim {

struct WorldState;

// Initialises `missile` on carrier `carrier` (an aircraft table position) with the given type
// and launch mode; builds the target list from the radars on the map when the mode uses one.
// Every other field returns to its creation value; the record's `index` is kept (the add sets
// it).
void createMissile(WorldState& world, Missile& missile, int32_t type, int32_t launchMode,
                   int32_t carrier);

// "Добавить ПРР": appends a missile on aircraft `carrier`. Returns its index, or -1 when the add
// is refused (table full, no valid carrier, type or launch mode).
int32_t addMissile(WorldState& world, int32_t carrier, int32_t type, int32_t launchMode);

// A missile on its carrier copies the carrier's position and motion. A carrier position at or
// beyond the aircraft count is treated as no carrier (the missile keeps its state).
void followCarrier(WorldState& world, Missile& missile);

}  // namespace prrsim
