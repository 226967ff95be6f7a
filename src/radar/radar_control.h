#pragma once

#include <cstdint>

#include "world/world_state.h"

namespace prrsim {

// The radar panel's emission controls as world operations on radar `row`: each applies the
// control as radar_model.h describes it and notes the change in the event log. Each returns
// false and changes nothing when `row` is not a radar.

bool setEmission(WorldState& world, int32_t row, bool on);                  // "Излучение"
bool setBlinkPeriod(WorldState& world, int32_t row, int32_t period);        // "Мерцание"
bool setIllumination(WorldState& world, int32_t row, bool on);              // "Подсвет"
bool setFrequencyPercent(WorldState& world, int32_t row, int32_t percent);  // track bar
bool setPrfMode(WorldState& world, int32_t row, int32_t mode);              // "Сигнал"

}  // namespace prrsim
