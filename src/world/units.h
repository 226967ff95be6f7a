#pragma once

namespace prrsim {

// One simulation tick of simulated time: every rate is applied as value x kTickSeconds per tick.
inline constexpr double kTickSeconds = 0.01;

// Speeds are km/h; these are the conversions the motion rules use (rounded as they are).
inline constexpr double kKmhToMetresPerSecond = 0.28;
inline constexpr double kKmhToMapUnitsPerSecond = 0.0028;

// One map pixel (and one altitude unit) is 100 m.
inline constexpr double kMetresPerMapUnit = 100;

}  // namespace prrsim
