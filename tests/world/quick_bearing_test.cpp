// The quick bearing gives bearingDeg's whole degrees, wherever the direction.

#include "world/quick_bearing.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <limits>
#include <random>

#include "world/geometry.h"

namespace prrsim {
namespace {

// The bound the quick bearing's margin rests on.
TEST(QuickBearing, ArcTangentStaysWithinItsBound) {
    double worst = 0;
    for (int32_t k = 0; k <= 2000000; ++k) {
        const double t = k * 5e-7;
        worst = std::max(worst,
                         std::fabs(quick_bearing_detail::arcTangentOfRatio(t, 1) - std::atan(t)));
        worst = std::max(
            worst, std::fabs(quick_bearing_detail::arcTangentOfRatio(1, t) - std::atan2(1.0, t)));
    }
    EXPECT_LT(worst, 1.6e-9);
}

// The polynomial arc tangent decides a whole degree only where no whole degree lies within
// its error bound: anywhere else the library decides.
TEST(QuickBearing, NeverDiffersFromBearingDeg) {
    std::mt19937_64 random(7);
    std::uniform_real_distribution<double> coordinate(-700, 700);
    std::uniform_real_distribution<double> tiny(-1e-3, 1e-3);
    int64_t checked = 0;
    const auto check = [&checked](double x1, double y1, double x2, double y2) {
        ++checked;
        ASSERT_EQ(quickBearingDeg(x1, y1, x2, y2), bearingDeg(x1, y1, x2, y2))
            << x1 << " " << y1 << " " << x2 << " " << y2;
    };
    for (int32_t n = 0; n < 400000; ++n) {
        const double x = coordinate(random);
        const double y = coordinate(random);
        check(x, y, coordinate(random), coordinate(random));   // anywhere
        check(x, y, x + tiny(random), coordinate(random));     // near the vertical
        check(x, y, coordinate(random), y + tiny(random));     // near the horizontal
        check(0, x / 100, std::fabs(y), std::trunc(x / 300));  // elevations
    }
    // Whole-pixel offsets all round: every whole degree's edge is crossed.
    for (int32_t dx = -300; dx <= 300; ++dx) {
        for (int32_t dy = -300; dy <= 300; ++dy) {
            check(0, 0, dx, dy);
            check(0.5, 0.25, 0.5 + dx, 0.25 + dy);
        }
    }
    check(3, 4, 3, 9);  // vertical
    check(3, 4, 3, 4);  // the same point
    check(0, 0, std::numeric_limits<double>::infinity(), 1);
    EXPECT_GT(checked, 1000000);
}

}  // namespace
}  // namespace prrsim
