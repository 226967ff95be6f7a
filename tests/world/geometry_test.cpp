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
TEST_P(BearingTable, DirectionGivesDesignedDegrees) {
    const BearingRow row = GetParam();
    EXPECT_EQ(bearingDeg(0, 0, row.dx, row.dy), row.expected)
        << "direction (" << row.dx << ", " << row.dy << ")";
}

INSTANTIATE_TEST_SUITE_P(Directions, BearingTable,
                         ::testing::Values(BearingRow{1, 0, 360}, BearingRow{1, 1, 45},
                                           BearingRow{0, 1, 90}, BearingRow{-1, 1, 134},
                                           BearingRow{-1, 0, 180}, BearingRow{-1, -1, 225},
                                           BearingRow{0, -1, 270}, BearingRow{1, -1, 314},
                                           BearingRow{0, 0, 270}, BearingRow{1, 0.0001, 0}));

TEST(Bearing, VerticalPlaneDiveOf45DegreesIs314) {
    EXPECT_EQ(bearingDeg(0, 45, 45, 0), 314);
}

TEST(Bearing, IsTranslationInvariant) {
    EXPECT_EQ(bearingDeg(430, 324, 431, 324), 360);
    EXPECT_EQ(bearingDeg(430, 324, 430, 325), 90);
}

TEST(AngleDiff, SignedTurnWrapsAtHalfCircle) {
    EXPECT_DOUBLE_EQ(angleDiff(350, 10), 20);
    EXPECT_DOUBLE_EQ(angleDiff(10, 350), -20);
    EXPECT_DOUBLE_EQ(angleDiff(-10, 10), 20);
    EXPECT_DOUBLE_EQ(angleDiff(0, 180), 180);
    EXPECT_DOUBLE_EQ(angleDiff(180, 0), -180);
    EXPECT_DOUBLE_EQ(angleDiff(0, 360), 0);
}

// The single correction by 360 left turns of more than half a circle, the wrong way round, for
// headings beyond one turn (a circling missile reached -609 degrees).
struct TurnRow {
    double a, b, expected;
};

void PrintTo(const TurnRow& row, std::ostream* os) {
    *os << "angleDiff(" << row.a << ", " << row.b << ")";
}

class TurnBeyondOneCircle : public ::testing::TestWithParam<TurnRow> {};

TEST_P(TurnBeyondOneCircle, NeverTurnsMoreThanHalfACircle) {
    const TurnRow row = GetParam();
    EXPECT_DOUBLE_EQ(angleDiff(row.a, row.b), row.expected);
}

INSTANTIATE_TEST_SUITE_P(Headings, TurnBeyondOneCircle,
                         ::testing::Values(TurnRow{-632.75, 359, -88.25}, TurnRow{-609, 350, -121},
                                           TurnRow{0, 600.5, -119.5}, TurnRow{1000.25, 0.5, 80.25},
                                           TurnRow{0, 900, 180}, TurnRow{900, 0, -180},
                                           TurnRow{0, 1000000000.5, -79.5}, TurnRow{350, 10, 20}));

TEST(SmallHelpers, SignAbsSquareTrunc) {
    EXPECT_EQ(signOf(0), 0);
    EXPECT_EQ(signOf(-0.5), -1);
    EXPECT_EQ(signOf(2), 1);
    EXPECT_EQ(absInt(-7), 7);
    EXPECT_DOUBLE_EQ(square(-3), 9);
    EXPECT_EQ(trunc32(-2.9), -2);
    EXPECT_EQ(trunc32(2.9), 2);
    EXPECT_EQ(trunc32(1e300), 2147483647);
    EXPECT_EQ(trunc32(-1e300), -2147483647 - 1);
}

TEST(RandomBelow, ZeroAndOneAlwaysGiveZero) {
    std::mt19937 gen;
    for (int i = 0; i < 100; ++i) {
        EXPECT_EQ(randomBelow(gen, 0), 0);
        EXPECT_EQ(randomBelow(gen, 1), 0);
    }
}

TEST(RandomBelow, DefaultSeedRepeatsAndStaysInRange) {
    std::mt19937 a;
    std::mt19937 b;
    for (int i = 0; i < 1000; ++i) {
        const int32_t v = randomBelow(a, 100);
        EXPECT_EQ(v, randomBelow(b, 100));
        EXPECT_GE(v, 0);
        EXPECT_LT(v, 100);
    }
}

TEST(CompassAngle, FollowsBearingRules) {
    EXPECT_DOUBLE_EQ(compassAngle(10, 0), 6.28);
    EXPECT_DOUBLE_EQ(compassAngle(0, 10), 1.57);
    EXPECT_DOUBLE_EQ(compassAngle(0, 0), 4.71);
    EXPECT_DOUBLE_EQ(compassAngle(-10, 0), 3.14);
}

}  // namespace
}  // namespace prrsim
