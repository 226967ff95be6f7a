#include "sim/world.h"

#include <gtest/gtest.h>

#include "catalog/radar_catalog.h"
#include "sim/default_scenario.h"

namespace prrsim {
namespace {

class CountingObserver : public WorldObserver {
public:
    void radarPanelRefresh(int32_t) override { ++refreshes; }
    void missileDetonated(const ImpactEvent& e) override {
        ++impacts;
        last = e;
    }
    void missileWindowHide() override { ++hides; }
    int refreshes = 0;
    int impacts = 0;
    int hides = 0;
    ImpactEvent last{};
};

class World : public ::testing::Test {
protected:
    void SetUp() override { startWorld(*world); }
    std::unique_ptr<WorldState> world = makeWorld();
};

TEST_F(World, StartsWithDefaultScenarioAndNothingSelected) {
    EXPECT_EQ(world->aircraftCount, 4);
    EXPECT_EQ(world->radarCount, 6);
    EXPECT_EQ(world->placedComplexCount, 2);
    EXPECT_EQ(world->missileCount, 0);
    EXPECT_EQ(world->landmarkCount, 32);
    EXPECT_EQ(world->selectedAircraft, -1);
    EXPECT_EQ(world->selectedRadar, -1);
    EXPECT_EQ(world->selectedMissile, -1);
    EXPECT_FALSE(world->pickTargetMode || world->moveAircraftMode || world->radarPlaceMode ||
                 world->captureMode);
}

TEST_F(World, AddAircraftFillsNewSlotAndKeepsSelection) {
    world->selectedAircraft = 1;
    const int32_t i = addAircraft(*world);
    ASSERT_EQ(i, 4);
    const Aircraft& a = world->aircraft[4];
    EXPECT_EQ(a.id, 4);
    EXPECT_EQ(a.x, 300);
    EXPECT_EQ(a.y, 220);
    EXPECT_EQ(a.heading, 0);
    EXPECT_EQ(a.climbAngle, 0);
    EXPECT_EQ(a.speed, 750);
    EXPECT_EQ(a.targetRadar, -1);
    EXPECT_EQ(a.altitude, 0);  // never-used slot
    EXPECT_EQ(world->selectedAircraft, 1);
}

// A vacated slot used to hand its last occupant's altitude and attack run to the new aircraft.
TEST_F(World, AircraftInVacatedSlotDoesNotInheritAltitudeOrAttackRun) {
    world->aircraft[3].targetRadar = 0;
    world->aircraft[3].onAttackRun = true;
    ASSERT_GT(world->aircraft[3].altitude, 0);
    ASSERT_TRUE(removeAircraft(*world, 3));
    ASSERT_EQ(addAircraft(*world), 3);
    EXPECT_EQ(world->aircraft[3].altitude, 0);
    EXPECT_FALSE(world->aircraft[3].onAttackRun);
}

TEST_F(World, FullAircraftTableRefusesAddUnchanged) {
    while (world->aircraftCount < kAircraftCapacity) {
        ASSERT_GE(addAircraft(*world), 0);
    }
    EXPECT_EQ(addAircraft(*world), -1);
    EXPECT_EQ(world->aircraftCount, kAircraftCapacity);
}

TEST_F(World, RemovingAircraftRewritesRadarTracks) {
    // Radar 3 tracks aircraft 0 and 1; radar 0 follows aircraft 2.
    world->selectedAircraft = 0;
    ASSERT_TRUE(removeAircraft(*world, 0));
    EXPECT_EQ(world->aircraftCount, 3);
    EXPECT_EQ(world->radars[3].trackCount, 2);
    EXPECT_EQ(world->radars[3].trackList[0], -1);
    EXPECT_EQ(world->radars[3].trackList[1], 0);
    EXPECT_EQ(world->radars[3].currentTarget, -1);
    EXPECT_EQ(world->radars[0].currentTarget, 1);
    EXPECT_EQ(world->aircraft[0].id, 1);  // former aircraft 1 moved down
    EXPECT_EQ(world->aircraft[0].x, 424);
    EXPECT_EQ(world->selectedAircraft, -1);
}

TEST_F(World, RemovingLastAircraftMovesNothing) {
    ASSERT_TRUE(removeAircraft(*world, 3));
    EXPECT_EQ(world->aircraftCount, 3);
    EXPECT_EQ(world->aircraft[2].id, 2);
    EXPECT_FALSE(removeAircraft(*world, 3));
    EXPECT_FALSE(removeAircraft(*world, -1));
}

TEST_F(World, RemovingRadarRenumbersNothing) {
    world->aircraft[0].targetRadar = 4;
    world->selectedRadar = 2;
    ASSERT_TRUE(removeRadar(*world, 2));
    EXPECT_EQ(world->radarCount, 5);
    EXPECT_EQ(world->radars[2].index, 3);  // moved record keeps its own index field
    EXPECT_EQ(world->aircraft[0].targetRadar, 4);  // now aims at the former radar 5
    EXPECT_EQ(world->placedComplexes[1].members[0], 4);
    EXPECT_EQ(world->selectedRadar, -1);
    EXPECT_FALSE(removeRadar(*world, 5));
}

TEST_F(World, AddingComplexCreatesMembersAndArmsPlacement) {
    world->moveAircraftMode = true;
    const int32_t n = addRadars(*world, -1, 2, true);  // "ЗРК Тор"
    ASSERT_EQ(n, 2);
    EXPECT_EQ(world->radarCount, 8);
    EXPECT_EQ(world->placedComplexCount, 3);
    const PlacedComplex& pc = world->placedComplexes[2];
    EXPECT_EQ(pc.memberCount, 2);
    EXPECT_EQ(pc.members[0], 6);
    EXPECT_EQ(pc.members[1], 7);
    EXPECT_EQ(pc.complexIndex, 2);
    EXPECT_EQ(world->radars[6].typeIndex, 6);
    EXPECT_EQ(world->radars[7].typeIndex, 7);
    for (int32_t k : {6, 7}) {
        const RadarSite& r = world->radars[k];
        EXPECT_EQ(r.index, k);
        EXPECT_EQ(r.placedComplex, 2);
        EXPECT_TRUE(r.emissionOn && r.rotationOn && r.radiating);
        EXPECT_EQ(r.currentTarget, -1);
        EXPECT_EQ(r.x, 300);
        EXPECT_EQ(r.y, 220);
    }
    EXPECT_EQ(world->selectedRadar, 7);
    EXPECT_TRUE(world->radarPlaceMode);
    EXPECT_FALSE(world->moveAircraftMode);

    placeSelectedRadar(*world, 100, 50);
    EXPECT_EQ(world->radars[6].x, 100);
    EXPECT_EQ(world->radars[7].y, 50);
    EXPECT_EQ(world->radars[0].x, 430);  // other complexes stay
    EXPECT_FALSE(world->radarPlaceMode);
}

TEST_F(World, AddingSilentSingleRadar) {
    ASSERT_EQ(addRadars(*world, 9, -1, false), 1);
    const RadarSite& r = world->radars[6];
    EXPECT_EQ(r.typeIndex, 9);
    EXPECT_EQ(r.placedComplex, -1);
    EXPECT_FALSE(r.emissionOn || r.rotationOn || r.radiating);
    EXPECT_EQ(world->placedComplexCount, 2);
}

TEST_F(World, NothingChosenOrFullTablesAddNothing) {
    EXPECT_EQ(addRadars(*world, -1, -1, true), 0);
    EXPECT_EQ(addRadars(*world, 20, -1, true), 0);
    EXPECT_EQ(world->radarCount, 6);
    EXPECT_FALSE(world->radarPlaceMode);
    for (int i = 0; i < 8; ++i) {
        ASSERT_EQ(addRadars(*world, -1, 0, true), 2);
    }
    EXPECT_EQ(world->placedComplexCount, kPlacedComplexCapacity);
    EXPECT_EQ(addRadars(*world, -1, 0, true), 0);
    EXPECT_EQ(world->radarCount, 22);
    while (world->radarCount < kRadarCapacity) {
        ASSERT_EQ(addRadars(*world, 2, -1, true), 1);
    }
    EXPECT_EQ(addRadars(*world, 2, -1, true), 0);
    EXPECT_EQ(world->radarCount, kRadarCapacity);
}

TEST_F(World, RemovingSelectedMissileNotifiesAndRenumbers) {
    CountingObserver observer;
    world->observer = &observer;
    world->missileCount = 5;
    for (int32_t i = 0; i < 5; ++i) {
        world->missiles[i].index = i;
        world->missiles[i].x = 10.5 * i;
        world->missiles[i].y = 3.25;
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

    // Removing one before the selection: the selection follows its missile down.
    world->selectedMissile = 3;
    removeMissile(*world, 0);
    EXPECT_EQ(world->selectedMissile, 2);
    EXPECT_EQ(observer.hides, 1);
    EXPECT_EQ(observer.impacts, 2);
    world->observer = nullptr;
}

TEST_F(World, RemovingFromEmptyMissileTableDoesNothing) {
    removeMissile(*world, 0);
    EXPECT_EQ(world->missileCount, 0);
}

}  // namespace
}  // namespace prrsim
