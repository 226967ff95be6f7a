#pragma once

#include <cstdint>

#include "world/world_state.h"

namespace prrsim {

// The values of an aircraft that the aircraft panel's controls and the map's move click set.
enum AircraftField : uint8_t {
    kFieldX,
    kFieldY,
    kFieldAltitude,
    kFieldHeading,
    kFieldClimbAngle,
    kFieldSpeed,
};
inline constexpr int kAircraftFieldCount = 6;

// Each operation below acts on aircraft `i` and returns false (changing nothing) when `i` is not
// an aircraft now or the operation is refused.

// One value as a control sets it: the compass (heading), the speed and climb track bars, the
// "Перенести" click (x and y).
bool setAircraftField(WorldState& world, int32_t i, AircraftField field, double value);

// "Выбрать", then a click on radar `radar` (-1: a click away from every radar). A radar
// position that does not exist now is refused.
bool pickAttackTarget(WorldState& world, int32_t i, int32_t radar);

// "Очистить": no target and no attack run.
bool clearAttackTarget(WorldState& world, int32_t i);

// "На боевой" / "Уйти с боевого": starts or ends the attack run while the aircraft has a radar
// to attack. Returns whether the run was switched.
bool toggleAttackRun(WorldState& world, int32_t i);

}  // namespace prrsim
