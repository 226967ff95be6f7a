#pragma once

#include <cstdint>

#include "world/world_state.h"

namespace prrsim {

// The aircraft panel's attack controls as core operations on aircraft `row`. Each returns false
// and changes nothing when `row` is not an aircraft.

// "Выбрать", then a click on radar `radar` (-1: a click away from every radar, no target).
bool pickAttackTarget(WorldState& world, int32_t row, int32_t radar);

// "Очистить": no target, attack run ended.
bool clearAttackTarget(WorldState& world, int32_t row);

// "На боевой" / "Уйти с боевого": starts or ends the attack run; does nothing while the
// aircraft has no existing target radar.
bool toggleAttackRun(WorldState& world, int32_t row);

}  // namespace prrsim
