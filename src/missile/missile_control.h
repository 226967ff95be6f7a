#pragma once

#include <cstdint>

#include "world/world_state.h"

namespace prrsim {

// The missile window's buttons as core operations on missile `row`. Each returns false and
// changes nothing when `row` is not a missile.

// The radar chosen as attack target of the missile's carrier, or -1 (no valid carrier or
// target).
int32_t designatedRadarOf(const WorldState& world, const Missile& m);

// "Активировать ракету".
bool activateMissile(WorldState& world, int32_t row);

// "Захват цели" / "Отменить захват" / "Ввод данных": cancels a capture in progress, or locks
// on the designated radar by the crew and sets capturing = captureBeforeLaunch.
bool captureButton(WorldState& world, int32_t row);

// "ПУСК".
bool launchButton(WorldState& world, int32_t row);

// Seeker switch-on distance track bar, 0..100.
bool setSeekerOnDistance(WorldState& world, int32_t row, int32_t value);

}  // namespace prrsim
