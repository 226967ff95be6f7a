// The table operations where the traces do not reach: what the removals answer and do to the
// selection, full tables, the missile removal's notices, the start-up's reset. The renumbering
// itself is pinned by the edge traces.
#include "world/world.h"

#include <gtest/gtest.h>

namespace prrsim {
namespace {

class CountingObserver : public WorldObserver {
  public:
    void radarPanelRefresh(int32_t) override {}
    void missileDetonated(const ImpactEvent& e) override {
        ++impacts;
        last = e;
    }
    void missileWindowHide() override { ++hides; }
    int impacts = 0;
    int hides = 0;
    ImpactEvent last{};
};

class World : public ::testing::Test {
  protected:
    void SetUp() override { startWorld(*world); }
    std::unique_ptr<WorldState> world = makeWorld();
};

TEST_F(World, StartUpResetsTheGeneratorAndTheModes) {
    auto used = makeWorld();
    used->random.seed(12345);
    used->captureMode = true;
    used->selectedMissile = 3;
    startWorld(*used);
    EXPECT_FALSE(used->captureMode);
    EXPECT_EQ(used->selectedMissile, -1);
    for (int32_t j = 0; j < 6; ++j) {
        EXPECT_EQ(used->radars[j].frequencyPercent, world->radars[j].frequencyPercent);
    }
}

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

TEST_F(World, RemovingAMissileRenumbersNotifiesAndMovesTheSelection) {
    CountingObserver observer;
    world->observer = &observer;
    world->missileCount = 5;
    for (int32_t i = 0; i < 5; ++i) {
        world->missiles[i].index = i;
        world->missiles[i].x = 10.5 * i;
    }
    world->selectedMissile = 2;
    removeMissile(*world, 2);
    EXPECT_EQ(world->missileCount, 4);
    EXPECT_EQ(world->missiles[2].index, 2);
    EXPECT_EQ(world->missiles[3].index, 3);
    EXPECT_DOUBLE_EQ(world->missiles[2].x, 31.5);  // the former record 3
    EXPECT_EQ(world->selectedMissile, -1);
    EXPECT_EQ(observer.hides, 1);
    EXPECT_EQ(observer.impacts, 1);
    EXPECT_EQ(observer.last.missile, 2);
    EXPECT_DOUBLE_EQ(observer.last.x, 21.0);

    // Removing one below the selection: the selection follows its missile down.
    world->selectedMissile = 3;
    removeMissile(*world, 0);
    EXPECT_EQ(world->selectedMissile, 2);
    EXPECT_EQ(observer.hides, 1);
    removeMissile(*world, 3);  // beyond the table: nothing
    EXPECT_EQ(observer.impacts, 2);
    world->observer = nullptr;
}

}  // namespace
}  // namespace prrsim
