#include "world/geometry.h"

#include <gtest/gtest.h>

#include <random>

namespace prrsim {
namespace {

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

}  // namespace
}  // namespace prrsim
