#pragma once

#include <cmath>
#include <cstdint>
#include <limits>
#include <random>

namespace prrsim {

// The system's own angle constants. Degrees become radians by 0.01744 in most places; the
// missile's flight step and a few drawings use 0.017444, the aircraft and missile glyphs 0.0174.
// Radians become degrees only inside bearingDeg, by 57.325 with 3.14 for pi.
inline constexpr double kDegToRad = 0.01744;
inline constexpr double kDegToRadFlight = 0.017444;
inline constexpr double kDegToRadGlyph = 0.0174;
inline constexpr double kRadToDeg = 57.325;

// Direction from (x1, y1) to (x2, y2) in whole degrees, 0..360 (exact +x gives 360,
// equal points give 270).
int32_t bearingDeg(double x1, double y1, double x2, double y2);

inline double square(double v) {
    return v * v;
}

inline int32_t signOf(double v) {
    return v > 0 ? 1 : (v < 0 ? -1 : 0);
}

inline int32_t absInt(int32_t n) {
    return n < 0 ? -n : n;
}

// Truncation towards zero, the system's only real-to-integer conversion. Values outside the
// int32 range saturate instead of invoking undefined behaviour. Inline, as are the helpers
// above: the tick calls them many times per missile.
inline int32_t trunc32(double v) {
    if (!(v == v)) {
        return 0;  // NaN never reaches the world; treat it as zero rather than trap
    }
    if (v >= 2147483647.0) {
        return std::numeric_limits<int32_t>::max();
    }
    if (v <= -2147483648.0) {
        return std::numeric_limits<int32_t>::min();
    }
    return static_cast<int32_t>(v);
}

// Signed turn from direction a to direction b, always -180..180 (for finite inputs).
inline double angleDiff(double a, double b) {
    if (a < 0) {
        a += 360;
    }
    if (b < 0) {
        b += 360;
    }
    double c = b - a;
    if (c > 180) {
        c -= 360;
    }
    if (c < -180) {
        c += 360;
    }
    // Arguments beyond one turn (a circling missile's heading, any carrier's course) leave more
    // than half a turn after the single correction: the rest in whole turns. fmod is exact, so
    // this equals subtracting or adding 360 until the turn lies in -180..180.
    if ((c > 180 || c < -180) && std::isfinite(c)) {
        c = std::fmod(c, 360.0);
        if (c > 180) {
            c -= 360;
        } else if (c < -180) {
            c += 360;
        }
    }
    return c;
}

// The angle in radians of the direction (dx, dy) by the rules of bearingDeg (3.14 for pi,
// 1.57 / 4.71 straight down / up), as the compass pictures compute it.
double compassAngle(int32_t dx, int32_t dy);

// The one pseudo-random source: 0 for n <= 0, otherwise gen() % n.
int32_t randomBelow(std::mt19937& gen, int32_t n);

}  // namespace prrsim
