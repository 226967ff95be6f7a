// The table operations where the traces do not reach: what the removals answer and do to the
// selection, and full tables. The renumbering itself is pinned by the edge traces.
#include "world/world.h"

#include <gtest/gtest.h>

namespace prrsim {
namespace {

class World : public ::testing::Test {
  protected:
    void SetUp() override { startWorld(*world); }
    std::unique_ptr<WorldState> world = makeWorld();
};

TEST_F(World, RemovalsRefuseAPositionNotInTheTableAndClearTheSelection) {
    world->selectedAircraft = 1;
    world->selectedRadar = 2;
    EXPECT_FALSE(removeAircraft(*world, 4));
    EXPECT_FALSE(removeRadar(*world, 6));
    EXPECT_FALSE(removeAircraft(*world, -1));
    EXPECT_EQ(world->selectedAircraft, 1);
    EXPECT_EQ(world->selectedRadar, 2);
    EXPECT_TRUE(removeAircraft(*world, 3));
    EXPECT_TRUE(removeRadar(*world, 5));
    EXPECT_EQ(world->aircraftCount, 3);
    EXPECT_EQ(world->radarCount, 5);
    EXPECT_EQ(world->selectedAircraft, -1);
    EXPECT_EQ(world->selectedRadar, -1);
}

TEST_F(World, NothingChosenOrFullTablesAddNothing) {
    EXPECT_EQ(addRadars(*world, -1, -1, true), 0);
    EXPECT_EQ(addRadars(*world, 20, -1, true), 0);
    EXPECT_EQ(addRadars(*world, -1, 4, true), 0);
    EXPECT_EQ(world->radarCount, 6);
    EXPECT_FALSE(world->radarPlaceMode);
    for (int i = 0; i < 8; ++i) {
        ASSERT_EQ(addRadars(*world, -1, 0, true), 2);
    }
    EXPECT_EQ(addRadars(*world, -1, 0, true), 0);
    EXPECT_EQ(world->placedComplexCount, kPlacedComplexCapacity);
    while (world->radarCount < kRadarCapacity - 1) {
        ASSERT_EQ(addRadars(*world, 2, -1, true), 1);
    }
    world->placedComplexCount = 0;
    EXPECT_EQ(addRadars(*world, -1, 0, true), 0);  // two members, one free slot
    EXPECT_EQ(world->placedComplexCount, 0);
    EXPECT_EQ(addRadars(*world, 2, -1, true), 1);
    EXPECT_EQ(addRadars(*world, 2, -1, true), 0);
    EXPECT_EQ(world->radarCount, kRadarCapacity);
    while (world->aircraftCount < kAircraftCapacity) {
        ASSERT_GE(addAircraft(*world), 0);
    }
    EXPECT_EQ(addAircraft(*world), -1);
    EXPECT_EQ(world->aircraftCount, kAircraftCapacity);
}

}  // namespace
}  // namespace prrsim
