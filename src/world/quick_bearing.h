#pragma once

// bearingDeg without the library's arc tangent in all but a very few cases, for the places that
// compute whole-degree directions many times a tick: the seeker's fast reception and antenna
// step, the radars following their targets.
//
// bearingDeg truncates directionAngle(dx, dy) x 57.325, where directionAngle takes the arc
// tangent of |dy / dx| and moves it into its quadrant. Here the arc tangent of the smaller over
// the larger of |dx| and |dy| comes from a polynomial (a Chebyshev interpolation of
// atan(t) / t in t^2 on [0, 1]) within 1.6e-9 of it; the library's value is correctly rounded.
// The scaled angle therefore lies within 57.325 x 1.6e-9 < 1e-7 (plus a few units of rounding)
// of bearingDeg's, and whenever no whole degree lies within kMargin of it both truncate to the
// same whole number. Otherwise, and for a vertical or non-finite direction, bearingDeg itself
// decides: the result is always bearingDeg's.

#include <algorithm>
#include <cmath>
#include <cstdint>

#include "world/geometry.h"

namespace prrsim {

namespace quick_bearing_detail {

// The arc tangent of ay / ax (both non-negative, not both zero) within 1.6e-9. The polynomial
// in s = t^2 is evaluated by Estrin's scheme: its pairs of terms do not wait for each other, so
// the chain of dependent multiplications is four long instead of ten.
inline double arcTangentOfRatio(double ay, double ax) {
    const bool steep = ay > ax;
    // The smaller over the larger, one division on either side of the diagonal (no branch
    // before it).
    const double t = std::min(ax, ay) / std::max(ax, ay);  // in [0, 1]
    const double s = t * t;
    const double s2 = s * s;
    const double s4 = s2 * s2;
    const double s8 = s4 * s4;
    const double q0 = 0.999999997160544 + -0.3333327629196898 * s;
    const double q1 = 0.1999807528082414 + -0.14260016079705623 * s;
    const double q2 = 0.10932341485896302 + -0.08349724924501062 * s;
    const double q3 = 0.057089555186985316 + -0.03035186404340493 * s;
    const double q4 = 0.010487648853086284 + -0.0017011699732393027 * s;
    const double p = (q0 + q1 * s2) + (q2 + q3 * s2) * s4 + q4 * s8;
    const double tp = t * p;
    return steep ? 1.5707963267948966 - tp : tp;
}

}  // namespace quick_bearing_detail

inline int32_t quickBearingDeg(double x1, double y1, double x2, double y2) {
    const double dx = x2 - x1;
    const double dy = y2 - y1;
    if (dx == 0 || !std::isfinite(dx) || !std::isfinite(dy)) {
        return bearingDeg(x1, y1, x2, y2);
    }
    // directionAngle's quadrants: 3.14 - e and e + 3.14 to the left, 6.28 - e and e to the
    // right, on the polynomial's arc tangent.
    const double a = quick_bearing_detail::arcTangentOfRatio(std::fabs(dy), std::fabs(dx));
    const bool left = dx < 0;
    const bool subtracted = left ? dy >= 0 : dy <= 0;
    const double base = left ? 3.14 : (subtracted ? 6.28 : 0.0);
    const double v = (base + (subtracted ? -a : a)) * kRadToDeg;
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

}  // namespace prrsim
