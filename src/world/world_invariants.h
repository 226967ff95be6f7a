#pragma once

#include <string>

#include "world/world_state.h"

namespace prrsim {

// Checks the world's structural invariants and returns "" when they all hold, otherwise a
// one-line description of the first violation found. What is checked:
//   - every count within 0 .. its table's capacity;
//   - every missile's `index` equals its table position, its type and launch mode exist, its
//     inner list counts are within their capacities and its carrier is -1 or an aircraft slot
//     (a carrier slot at or beyond the aircraft count is allowed: removing aircraft does not
//     touch missiles, and such a missile simply has no carrier);
//   - every radar's type exists, its placed complex is -1 or a placed complex, `trackCount` is
//     within 0 .. 20 and `trackCursor` within -1 .. 20; its stored aircraft indices
//     (`currentTarget`, `trackList`[0 .. trackCount)) are -1 or a current aircraft position
//     (0 .. aircraftCount - 1): removing an aircraft rewrites them, so nothing else is valid;
//   - every placed complex lists at most 3 members and names an existing catalogue complex
//     (member radar indices are not renumbered by radar removals, so they are not checked);
//   - every real field of the live records is finite (aircraft, radars, missiles including
//     their heard emitters).
// Aircraft attack targets are not checked: a radar removal leaves them as they were, and every
// reader treats one beyond the table as none.
std::string checkWorldInvariants(const WorldState& world);

}  // namespace prrsim
