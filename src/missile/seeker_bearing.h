#pragma once

// bearingDeg without the library's arc tangent in all but a very few cases, for the seeker's
// fast reception, which computes the same whole-degree directions many times a tick.
//
// bearingDeg truncates directionAngle(dx, dy) x 57.325, where directionAngle takes the arc
// tangent of |dy / dx| and moves it into its quadrant. Here the arc tangent comes from a series
// whose error stays below 1.9e-8 (after reduction to |u| <= tan(pi / 8), the terms up to u^15:
// the remainder is at most |u|^17 / 17); the library's value is correctly rounded. The scaled
// angle therefore lies within 57.325 x 1.9e-8 = 1.1e-6 (plus a few units of rounding) of
// bearingDeg's, and whenever no whole degree lies within kMargin of it both truncate to the same
// whole number. Otherwise, and for a vertical or non-finite direction, bearingDeg itself
// decides: the result is always bearingDeg's.

#include <cmath>
#include <cstdint>

#include "sim/geometry.h"

namespace prrsim::seeker {

namespace bearing_detail {

// The arc tangent of ay / ax (both non-negative, not both zero) within 1.9e-8.
inline double arcTangentOfRatio(double ay, double ax) {
    const bool inverted = ay > ax;
    double t = inverted ? ax / ay : ay / ax;  // in [0, 1]
    constexpr double kTanEighthPi = 0.41421356237309503;
    const bool shifted = t > kTanEighthPi;
    if (shifted) {
        t = (t - 1) / (t + 1);  // atan(t) = pi / 4 + atan(u), |u| <= tan(pi / 8)
    }
    // t - t^3 / 3 + t^5 / 5 - ... - t^15 / 15
    const double t2 = t * t;
    double p = 1.0 / 13 - t2 / 15;
    p = -1.0 / 11 + t2 * p;
    p = 1.0 / 9 + t2 * p;
    p = -1.0 / 7 + t2 * p;
    p = 1.0 / 5 + t2 * p;
    p = -1.0 / 3 + t2 * p;
    p = t + t * t2 * p;
    if (shifted) {
        p += 0.78539816339744831;
    }
    return inverted ? 1.5707963267948966 - p : p;
}

}  // namespace bearing_detail

inline int32_t quickBearingDeg(double x1, double y1, double x2, double y2) {
    const double dx = x2 - x1;
    const double dy = y2 - y1;
    if (dx == 0 || !std::isfinite(dx) || !std::isfinite(dy)) {
        return bearingDeg(x1, y1, x2, y2);
    }
    // directionAngle's quadrants, on the series' arc tangent.
    double e = bearing_detail::arcTangentOfRatio(std::fabs(dy), std::fabs(dx));
    if (dx < 0 && dy >= 0) {
        e = 3.14 - e;
    } else if (dx < 0 && dy <= 0) {
        e = e + 3.14;
    } else if (dx > 0 && dy <= 0) {
        e = 6.28 - e;
    }
    const double v = e * kRadToDeg;
    constexpr double kMargin = 4e-6;
    if (!(v - kMargin >= 0 && v + kMargin < 1000)) {
        return bearingDeg(x1, y1, x2, y2);
    }
    const int32_t low = static_cast<int32_t>(v - kMargin);
    if (low != static_cast<int32_t>(v + kMargin)) {
        return bearingDeg(x1, y1, x2, y2);  // a whole degree within the margin
    }
    return low;
}

}  // namespace prrsim::seeker
