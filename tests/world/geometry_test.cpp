// The edges of the small helpers the traces never reach: the sign of zero, truncation beyond
// int32 and random numbers below 0 or 1.
#include "world/geometry.h"

#include <gtest/gtest.h>

#include <random>

namespace prrsim {
namespace {

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
