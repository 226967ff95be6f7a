#pragma once

#include <cstdint>

namespace prrsim {

// One simulation tick of simulated time: every rate is applied as value x kTickSeconds per tick.
inline constexpr double kTickSeconds = 0.01;

// Speeds are km/h; these are the conversions the motion rules use (the rounded factors the motion rules were calibrated with).
inline constexpr double kKmhToMetresPerSecond = 0.28;
inline constexpr double kKmhToMapUnitsPerSecond = 0.0028;

// One map pixel (and one altitude unit) is 100 m.
inline constexpr double kMetresPerMapUnit = 100;

// The map in pixels: x runs 0..kMapWidth - 1 to the right, y 0..kMapHeight - 1 downwards.
inline constexpr int32_t kMapWidth = 600;
inline constexpr int32_t kMapHeight = 440;

}  // namespace prrsim
