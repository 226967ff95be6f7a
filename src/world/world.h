#pragma once

#include <cstdint>

#include "world/world_state.h"

namespace prrsim {

// Table operations invoked by the user's controls between ticks. Each add returns the new
// record's index, or -1 when its table is full (the world is then unchanged).

// "Добавить самолёт": a new aircraft at (300, 220), course 0, 750 km/h, altitude 0, not on an
// attack run (also in a slot a removal vacated); selection unchanged.
int32_t addAircraft(WorldState& world);

// "Убрать самолёт" for aircraft r: rewrites the radars' targets and track lists; removes the
// missiles loaded on r that are not launched (no impact; the missile window hides if it showed
// one); a launched missile of r keeps flying without a carrier (-1); the other carriers follow
// their aircraft down the table, which then shifts down. Returns false for an invalid r.
bool removeAircraft(WorldState& world, int32_t r);

// "Убрать РЛС" for radar r: shifts the table down and renumbers every stored radar reference:
// the radars' own index fields, the aircraft's attack targets (an aircraft that aimed at r has
// none and leaves its attack run), the placed complexes' member lists and the missiles' radar
// ids and lists (entries naming r are dropped). Returns false for an invalid r.
bool removeRadar(WorldState& world, int32_t r);


// The add-radar dialog's OK: `singleType` (a type index, or -1) or `complex` (a SAM complex
// index, or -1). Creates the radars at (300, 220) at the end of the radar table. Returns the
// number of radars created: 0 when nothing was chosen or a table is full (the world is then
// unchanged).
int32_t addRadars(WorldState& world, int32_t singleType, int32_t complex, bool operational);

// The radar-placement click: radar `row`, or every radar of its placed complex, moves to
// (x, y). Nothing happens for an invalid row.
void placeRadar(WorldState& world, int32_t row, int32_t x, int32_t y);

// Removes missile m (detonation): notifies the impact, shifts the table and renumbers the
// moved records' index fields.
void removeMissile(WorldState& world, int32_t m);

// Start-up as it concerns the world: landmarks, default scenario.
// The generator is left at its default seed, so the default radars' frequencies repeat.
void startWorld(WorldState& world);

// An empty world: landmarks only.
void startEmptyWorld(WorldState& world);

}  // namespace prrsim
