#include "world/world.h"

#include <vector>

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
    void missileRemoved(int32_t row) override { removed.push_back(row); }
    int refreshes = 0;
    int impacts = 0;
    std::vector<int32_t> removed;
    ImpactEvent last{};
};

class World : public ::testing::Test {
  protected:
    void SetUp() override { startWorld(*world); }
    std::unique_ptr<WorldState> world = makeWorld();
};

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

// Removing a radar used to leave every stored radar index as it was: an aircraft that aimed at
// a radar above the removed one attacked the radar that moved into its place.
TEST_F(World, RadarRemovalLeavesNoAircraftOrComplexAimingAtAnotherRadar) {
    world->aircraft[0].targetRadar = 4;
    world->aircraft[0].onAttackRun = true;
    world->aircraft[1].targetRadar = 1;
    world->aircraft[1].onAttackRun = true;
    world->aircraft[2].targetRadar = 0;
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
    EXPECT_FALSE(removeRadar(*world, 5));

    // An aircraft on its attack run keeps steering at its own radar.
    const RadarSite& aimed = world->radars[3];
    const auto scratch = makeSeekerScratch();
    SimulationTick(*world, *scratch);
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

TEST_F(World, NothingChosenOrFullTablesAddNothing) {
    EXPECT_EQ(addRadars(*world, -1, -1, true), 0);
    EXPECT_EQ(addRadars(*world, 20, -1, true), 0);
    EXPECT_EQ(world->radarCount, 6);
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

// A missile loaded on a removed aircraft used to ride whatever aircraft moved into the slot,
// or hang where it was (and still be launched) when the last aircraft was removed.
TEST_F(World, RemovedAircraftTakesItsLoadedMissilesAlong) {
    CountingObserver observer;
    world->observer = &observer;
    const auto load = [&](int32_t carrier) { return addMissile(*world, carrier, 3, 0); };
    ASSERT_EQ(load(1), 0);
    ASSERT_EQ(load(2), 1);
    ASSERT_EQ(load(1), 2);
    ASSERT_EQ(load(0), 3);
    world->missiles[2].launched = 1;
    world->missiles[1].seekerOnDistance = 42;  // tells the missile of aircraft 2 apart
    ASSERT_TRUE(removeAircraft(*world, 1));
    ASSERT_EQ(world->missileCount, 3);
    EXPECT_EQ(world->missiles[0].seekerOnDistance, 42);
    EXPECT_EQ(world->missiles[0].carrier, 1);   // aircraft 2 moved down, its missile follows
    EXPECT_EQ(world->missiles[1].carrier, -1);  // launched: flies on without a carrier
    EXPECT_EQ(world->missiles[2].carrier, 0);
    for (int32_t m = 0; m < world->missileCount; ++m) {
        EXPECT_EQ(world->missiles[m].index, m);
    }
    EXPECT_EQ(observer.removed, std::vector<int32_t>{0});  // the loaded one, not the launched
    EXPECT_EQ(observer.impacts, 0);

    // The missile of the aircraft that moved down goes with it, without an impact.
    ASSERT_TRUE(removeAircraft(*world, 1));
    EXPECT_EQ(world->missileCount, 2);
    EXPECT_EQ(observer.removed, (std::vector<int32_t>{0, 0}));
    EXPECT_EQ(observer.impacts, 0);
    world->observer = nullptr;
}

}  // namespace
}  // namespace prrsim
