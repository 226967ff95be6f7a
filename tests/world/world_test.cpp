#include "world/world.h"

#include <gtest/gtest.h>

#include "catalog/radar_catalog.h"
#include "missile/missile_loading.h"
#include "sim/tick.h"
#include "world/default_scenario.h"

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

// Removing a radar used to leave every stored radar index as it was: an aircraft that aimed at
// a radar above the removed one attacked the radar that moved into its place.
TEST_F(World, RadarRemovalLeavesNoAircraftOrComplexAimingAtAnotherRadar) {
    world->aircraft[0].targetRadar = 4;
    world->aircraft[0].onAttackRun = true;
    world->aircraft[1].targetRadar = 1;
    world->aircraft[1].onAttackRun = true;
    world->aircraft[2].targetRadar = 0;
    world->selectedRadar = 1;
    ASSERT_TRUE(removeRadar(*world, 1));
    EXPECT_EQ(world->radarCount, 5);
    for (int32_t j = 0; j < world->radarCount; ++j) {
        EXPECT_EQ(world->radars[j].index, j);
    }
    EXPECT_EQ(world->aircraft[0].targetRadar, 3);  // the same radar, one place lower
    EXPECT_TRUE(world->aircraft[0].onAttackRun);
    EXPECT_EQ(world->aircraft[1].targetRadar, -1);  // its radar is gone: the run ends
    EXPECT_FALSE(world->aircraft[1].onAttackRun);
    EXPECT_EQ(world->aircraft[2].targetRadar, 0);
    // The first "СУРН ЗРК КУБ" keeps its radar 0; the second's radars 4 and 5 are now 3 and 4.
    EXPECT_EQ(world->placedComplexes[0].memberCount, 1);
    EXPECT_EQ(world->placedComplexes[0].members[0], 0);
    EXPECT_EQ(world->placedComplexes[1].memberCount, 2);
    EXPECT_EQ(world->placedComplexes[1].members[0], 3);
    EXPECT_EQ(world->placedComplexes[1].members[1], 4);
    EXPECT_EQ(world->selectedRadar, -1);
    EXPECT_FALSE(removeRadar(*world, 5));

    // An aircraft on its attack run keeps steering at its own radar.
    const RadarSite& aimed = world->radars[3];
    SimulationTick(*world);
    const Aircraft& a = world->aircraft[0];
    EXPECT_EQ(a.heading, bearingDeg(a.x, a.y, aimed.x, aimed.y));
}

// The seeker's radar ids and lists after radar 2 of 6 left: ids naming it become -1, those above
// move down; list entries naming it leave the list.
struct MissileRadarRow {
    const char* name;
    int32_t storedId;
    int32_t expectedId;
};

void PrintTo(const MissileRadarRow& row, std::ostream* os) {
    *os << row.name;
}

class MissileRadarIds : public World, public ::testing::WithParamInterface<MissileRadarRow> {};

TEST_P(MissileRadarIds, RadarRemovalLeavesNoMissileNamingAnotherRadar) {
    world->missileCount = 1;
    Missile& m = world->missiles[0];
    m.targetRadarId = GetParam().storedId;
    m.trackedRadarId = GetParam().storedId;
    m.locked = 1;
    ASSERT_TRUE(removeRadar(*world, 2));
    EXPECT_EQ(m.targetRadarId, GetParam().expectedId);
    EXPECT_EQ(m.trackedRadarId, GetParam().expectedId);
    EXPECT_EQ(m.locked, 1);  // the lock ends only when the seeker no longer hears its radar
}

INSTANTIATE_TEST_SUITE_P(Rows, MissileRadarIds,
                         ::testing::Values(MissileRadarRow{"Below", 1, 1},
                                           MissileRadarRow{"Removed", 2, -1},
                                           MissileRadarRow{"Above", 3, 2},
                                           MissileRadarRow{"Last", 5, 4},
                                           MissileRadarRow{"None", -1, -1}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(World, RadarRemovalDropsTheRadarFromTheMissilesLists) {
    world->missileCount = 1;
    Missile& m = world->missiles[0];
    m.receivedRadarCount = 4;
    m.receivedRadars = {0, 2, 4, 5};
    m.emitterCount = 3;
    for (int32_t i = 0; i < 3; ++i) {
        m.emitters[i].radar = std::array{4, 2, 1}[i];
        m.emitters[i].x = 100 + i;  // tells the entries apart
    }
    m.targetListCount = 3;
    m.targetList[0].assignedEmitter = 1;  // paired with the emitter of radar 2
    m.targetList[1].assignedEmitter = 2;
    m.targetList[2].assignedEmitter = -1;
    ASSERT_TRUE(removeRadar(*world, 2));
    ASSERT_EQ(m.receivedRadarCount, 3);
    EXPECT_EQ(m.receivedRadars[0], 0);
    EXPECT_EQ(m.receivedRadars[1], 3);
    EXPECT_EQ(m.receivedRadars[2], 4);
    ASSERT_EQ(m.emitterCount, 2);
    EXPECT_EQ(m.emitters[0].radar, 3);
    EXPECT_EQ(m.emitters[1].radar, 1);
    EXPECT_EQ(m.emitters[1].x, 102);
    EXPECT_EQ(m.targetList[0].assignedEmitter, -1);
    EXPECT_EQ(m.targetList[1].assignedEmitter, 1);
    EXPECT_EQ(m.targetList[2].assignedEmitter, -1);
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

// A missile loaded on a removed aircraft used to ride whatever aircraft moved into the slot,
// or hang where it was (and still be launched) when the last aircraft was removed.
TEST_F(World, RemovedAircraftTakesItsLoadedMissilesAlong) {
    CountingObserver observer;
    world->observer = &observer;
    const auto load = [&](int32_t carrier) {
        world->selectedAircraft = carrier;
        return addMissile(*world, 3, 0);
    };
    ASSERT_EQ(load(1), 0);
    ASSERT_EQ(load(2), 1);
    ASSERT_EQ(load(1), 2);
    ASSERT_EQ(load(0), 3);
    world->missiles[2].launched = 1;
    world->missiles[1].seekerOnDistance = 42;  // tells the missile of aircraft 2 apart
    world->selectedMissile = 1;
    ASSERT_TRUE(removeAircraft(*world, 1));
    ASSERT_EQ(world->missileCount, 3);
    EXPECT_EQ(world->missiles[0].seekerOnDistance, 42);
    EXPECT_EQ(world->missiles[0].carrier, 1);   // aircraft 2 moved down, its missile follows
    EXPECT_EQ(world->missiles[1].carrier, -1);  // launched: flies on without a carrier
    EXPECT_EQ(world->missiles[2].carrier, 0);
    for (int32_t m = 0; m < world->missileCount; ++m) {
        EXPECT_EQ(world->missiles[m].index, m);
    }
    EXPECT_EQ(world->selectedMissile, 0);
    EXPECT_EQ(observer.impacts, 0);
    EXPECT_EQ(observer.hides, 0);

    // The shown missile goes with its aircraft: the window hides, no impact.
    world->selectedMissile = 0;
    ASSERT_TRUE(removeAircraft(*world, 1));
    EXPECT_EQ(world->missileCount, 2);
    EXPECT_EQ(world->selectedMissile, -1);
    EXPECT_EQ(observer.hides, 1);
    EXPECT_EQ(observer.impacts, 0);
    world->observer = nullptr;
}

TEST_F(World, RemovingFromEmptyMissileTableDoesNothing) {
    removeMissile(*world, 0);
    EXPECT_EQ(world->missileCount, 0);
}

}  // namespace
}  // namespace prrsim
