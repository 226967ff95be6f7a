#include "world/geometry.h"

#include <gtest/gtest.h>

#include <random>

namespace prrsim {
namespace {

struct BearingRow {
    double dx, dy;
    int32_t expected;
};

class BearingTable : public ::testing::TestWithParam<BearingRow> {};

// The constants 3.14 and 57.325 put some exact directions one degree short and +x at 360.
TEST_P(BearingTable, DirectionInWholeDegrees) {
    const BearingRow row = GetParam();
    EXPECT_EQ(bearingDeg(0, 0, row.dx, row.dy), row.expected)
        << "direction (" << row.dx << ", " << row.dy << ")";
    EXPECT_EQ(bearingDeg(430, 324, 430 + row.dx, 324 + row.dy), row.expected);
}

INSTANTIATE_TEST_SUITE_P(Directions, BearingTable,
                         ::testing::Values(BearingRow{1, 0, 360}, BearingRow{1, 1, 45},
                                           BearingRow{0, 1, 90}, BearingRow{-1, 1, 134},
                                           BearingRow{-1, 0, 180}, BearingRow{-1, -1, 225},
                                           BearingRow{0, -1, 270}, BearingRow{1, -1, 314},
                                           BearingRow{0, 0, 270}, BearingRow{1, 0.0001, 0}));

TEST(AngleDiff, SignedTurnWrapsAtHalfCircle) {
    EXPECT_DOUBLE_EQ(angleDiff(350, 10), 20);
    EXPECT_DOUBLE_EQ(angleDiff(10, 350), -20);
    EXPECT_DOUBLE_EQ(angleDiff(-10, 10), 20);
    EXPECT_DOUBLE_EQ(angleDiff(0, 180), 180);
    EXPECT_DOUBLE_EQ(angleDiff(180, 0), -180);
    EXPECT_DOUBLE_EQ(angleDiff(0, 360), 0);
}

TEST(SmallHelpers, EdgesOfSignTruncationAndRandom) {
    EXPECT_EQ(signOf(0), 0);
    EXPECT_EQ(signOf(-0.5), -1);
    EXPECT_EQ(trunc32(-2.9), -2);
    EXPECT_EQ(trunc32(1e300), 2147483647);
    EXPECT_EQ(trunc32(-1e300), -2147483647 - 1);
    std::mt19937 gen;
    EXPECT_EQ(randomBelow(gen, 0), 0);
    EXPECT_EQ(randomBelow(gen, -3), 0);
}

}  // namespace
}  // namespace prrsim
