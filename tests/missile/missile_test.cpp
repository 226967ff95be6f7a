#include "missile/missile_loading.h"

#include <gtest/gtest.h>

#include <tuple>

#include "catalog/missile_catalog.h"
#include "missile/guidance.h"
#include "missile/missile_control.h"
#include "sim/tick.h"
#include "world/world.h"

namespace prrsim {
namespace {

constexpr int32_t kAlarm = 4;
constexpr int32_t kLoiterMode = 1;    // "режим барражирования"
constexpr int32_t kSuppressMode = 3;  // "режим подавления", uses a target list

class MissileRecord : public ::testing::Test {
  protected:
    void SetUp() override {
        startWorld(*world);
        world->selectedAircraft = 1;
        Aircraft& a = world->aircraft[1];
        a.x = 123.25;
        a.y = 87.5;
        a.altitude = 42.75;
        a.heading = 33;
        a.climbAngle = 355;
        a.speed = 810;
    }
    std::unique_ptr<WorldState> world = makeWorld();
};

void expectCarrierMotion(const Missile& m, const Aircraft& a) {
    EXPECT_EQ(m.x, a.x);
    EXPECT_EQ(m.y, a.y);
    EXPECT_EQ(m.altitude, a.altitude);
    EXPECT_EQ(m.heading, a.heading);
    EXPECT_EQ(m.pitch, a.climbAngle);
    EXPECT_EQ(m.speed, a.speed);
}

TEST_F(MissileRecord, AddCreatesMissileWithCreationValuesAndSelectsIt) {
    ASSERT_EQ(addMissile(*world, kAlarm, kLoiterMode), 0);
    EXPECT_EQ(world->selectedMissile, 0);
    const Missile& m = world->missiles[0];
    EXPECT_EQ(m.typeIndex, kAlarm);
    EXPECT_EQ(m.launchModeIndex, kLoiterMode);
    EXPECT_EQ(m.carrier, 1);
    EXPECT_EQ(m.targetPositionState, 3);
    EXPECT_EQ(m.trackedRadarId, -1);
    EXPECT_EQ(m.targetRadarType, -1);
    EXPECT_EQ(m.targetListCount, 0);  // this mode keeps no target list
    expectCarrierMotion(m, world->aircraft[1]);

    // No launch mode chosen: the first.
    ASSERT_EQ(addMissile(*world, kAlarm, -1), 1);
    EXPECT_EQ(world->missiles[1].launchModeIndex, 0);
    EXPECT_EQ(world->missiles[1].index, 1);
    EXPECT_EQ(world->selectedMissile, 1);
}

TEST_F(MissileRecord, TargetListHoldsTheRadarsOnTheMapAtLoading) {
    ASSERT_EQ(addMissile(*world, kAlarm, kSuppressMode), 0);
    const Missile& m = world->missiles[0];
    ASSERT_EQ(m.targetListCount, 6);
    for (int32_t j = 0; j < 6; ++j) {
        EXPECT_EQ(m.targetList[j].x, world->radars[j].x) << j;
        EXPECT_EQ(m.targetList[j].y, world->radars[j].y) << j;
        EXPECT_EQ(m.targetList[j].captureRadius, 0);
        EXPECT_EQ(m.targetList[j].priority, 0);
        EXPECT_EQ(m.targetList[j].assignedEmitter, -1);
    }
    // Radars added later are not in it.
    ASSERT_GT(addRadars(*world, 0, -1, true), 0);
    EXPECT_EQ(world->missiles[0].targetListCount, 6);
}

TEST_F(MissileRecord, MissilesOnTheCarrierFollowItUntilItLeavesTheTable) {
    ASSERT_EQ(addMissile(*world, kAlarm, kLoiterMode), 0);
    ASSERT_EQ(addMissile(*world, 3, 0), 1);
    world->aircraft[1].onAttackRun = true;
    world->aircraft[1].targetRadar = 2;
    for (int tick = 0; tick < 20; ++tick) {
        SimulationTick(*world);
        expectCarrierMotion(world->missiles[0], world->aircraft[1]);
        expectCarrierMotion(world->missiles[1], world->aircraft[1]);
    }
    Missile& m = world->missiles[0];
    const double x = m.x;
    world->aircraft[1].x = 99;
    for (const int32_t gone : {world->aircraftCount, -1}) {
        m.carrier = gone;
        followCarrier(*world, m);
        EXPECT_EQ(m.x, x);
    }
}

struct RefusedAdd {
    const char* what;
    int32_t selectedAircraft;
    int32_t type;
    int32_t mode;
};

class MissileRecordRefused : public MissileRecord,
                             public ::testing::WithParamInterface<RefusedAdd> {};

TEST_P(MissileRecordRefused, LeavesWorldUnchanged) {
    const RefusedAdd& row = GetParam();
    ASSERT_EQ(addMissile(*world, 0, 0), 0);
    world->selectedMissile = -1;
    world->selectedAircraft = row.selectedAircraft;
    EXPECT_EQ(addMissile(*world, row.type, row.mode), -1) << row.what;
    EXPECT_EQ(world->missileCount, 1);
    EXPECT_EQ(world->selectedMissile, -1);
}

INSTANTIATE_TEST_SUITE_P(Rows, MissileRecordRefused,
                         ::testing::Values(RefusedAdd{"no aircraft selected", -1, 0, 0},
                                           RefusedAdd{"aircraft beyond the table", 4, 0, 0},
                                           RefusedAdd{"type beyond the catalogue", 1, 16, 0},
                                           RefusedAdd{"negative type", 1, -1, 0},
                                           RefusedAdd{"launch mode beyond the type's count", 1, 0,
                                                      1},
                                           RefusedAdd{"fifth mode of a three-mode type", 1, 3, 4}));

TEST_F(MissileRecord, AddIsRefusedWhenTableIsFull) {
    for (int32_t i = 0; i < kMissileCapacity; ++i) {
        ASSERT_EQ(addMissile(*world, 0, 0), i);
    }
    world->selectedMissile = 7;
    EXPECT_EQ(addMissile(*world, 0, 0), -1);
    EXPECT_EQ(world->missileCount, kMissileCapacity);
    EXPECT_EQ(world->selectedMissile, 7);
}

// Every scalar field and fixed list of two records, the target lists up to their counts.
void expectSameRecord(const Missile& a, const Missile& b) {
    using M = Missile;
    int n = 0;  // the field's place in the list below, for a failure message
    const auto same = [&](auto field) {
        EXPECT_EQ(a.*field, b.*field) << "field " << n;
        ++n;
    };
    const auto fields = std::make_tuple(
        &M::index, &M::typeIndex, &M::launchModeIndex, &M::directGuidance, &M::guidanceMode,
        &M::loiterUsed, &M::targetPositionState, &M::searchEnabled, &M::seekerOnDistance,
        &M::launched, &M::carrier, &M::activated, &M::capturing, &M::locked, &M::lockLost,
        &M::headAzimuth, &M::headElevation, &M::signalTime, &M::lossTime, &M::paramsAge,
        &M::frequencyAge, &M::scanTimer, &M::signalPresent, &M::signalParamsKnown,
        &M::emissionKindKnown, &M::radarTypeIdentified, &M::frequencyKnown, &M::prf,
        &M::frequencyChannel, &M::pulseWidth, &M::targetRadarId, &M::pulsed, &M::trackedRadarId,
        &M::targetRadarType, &M::emitterCount, &M::bearingToTarget, &M::elevationToTarget,
        &M::targetX, &M::targetY, &M::targetAltitude, &M::rangeFlown, &M::thrust, &M::flightTime,
        &M::powerTime, &M::mass, &M::speed, &M::heading, &M::pitch, &M::turnCommand,
        &M::climbCommand, &M::x, &M::y, &M::altitude, &M::insX, &M::insY, &M::insAltitude,
        &M::horizontalStep, &M::verticalStep, &M::acceptedTypeCount, &M::acceptedTypes,
        &M::receivedRadars, &M::receivedRadarCount, &M::receivedReflectionCount,
        &M::receivedReflections);
    std::apply([&](auto... field) { (same(field), ...); }, fields);
    ASSERT_EQ(a.targetListCount, b.targetListCount);
    for (int32_t k = 0; k < a.targetListCount; ++k) {
        EXPECT_EQ(a.targetList[k].x, b.targetList[k].x);
        EXPECT_EQ(a.targetList[k].y, b.targetList[k].y);
        EXPECT_EQ(a.targetList[k].captureRadius, b.targetList[k].captureRadius);
        EXPECT_EQ(a.targetList[k].priority, b.targetList[k].priority);
        EXPECT_EQ(a.targetList[k].assignedEmitter, b.targetList[k].assignedEmitter);
    }
}

TEST_F(MissileRecord, ReusedSlotStartsLikeFreshOne) {
    auto fresh = makeWorld();
    *fresh = *world;
    ASSERT_EQ(addMissile(*fresh, kAlarm, kSuppressMode), 0);

    // Use slot 0 hard, then let it detonate.
    ASSERT_EQ(addMissile(*world, 3, 2), 0);
    Missile& used = world->missiles[0];
    used.activated = used.capturing = used.locked = used.lockLost = 1;
    used.loiterUsed = used.searchEnabled = 1;
    used.seekerOnDistance = 40;
    used.targetPositionState = kTargetInertial;
    used.signalTime = 2.5;
    used.prf = 400;
    used.pulseWidth = 1.2;
    used.targetRadarId = 5;
    used.trackedRadarId = 3;
    used.targetRadarType = 7;
    used.emitterCount = 2;
    used.acceptedTypeCount = 1;
    used.acceptedTypes[0] = 7;
    used.receivedRadarCount = 3;
    used.receivedRadars[1] = 4;
    used.receivedReflectionCount = 2;
    used.powerTime = 9;
    used.headAzimuth = 12;
    used.bearingToTarget = 100;
    used.targetX = 50;
    launchMissile(used);
    for (int tick = 0; tick < 30; ++tick) {
        flightStep(*world, 0);
    }
    world->missiles[0].altitude = -1;
    guidanceStep(*world, 0);
    ASSERT_EQ(world->missileCount, 0);

    world->selectedMissile = -1;
    ASSERT_EQ(addMissile(*world, kAlarm, kSuppressMode), 0);
    expectSameRecord(world->missiles[0], fresh->missiles[0]);
}

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

class MissileRemoval : public MissileRecord {
  protected:
    void SetUp() override {
        MissileRecord::SetUp();
        world->observer = &observer;
        for (int32_t i = 0; i < 5; ++i) {
            ASSERT_EQ(addMissile(*world, 0, 0), i);
            Missile& m = world->missiles[i];
            m.seekerOnDistance = 10 + i;  // tells the records apart
            launchMissile(m);
        }
        // Missile 2 dives into the ground within one flight step.
        Missile& doomed = world->missiles[2];
        doomed.altitude = 0.001;
        doomed.pitch = 270;
        doomed.x = 77.9;
        doomed.y = 66.2;
    }
    CountingObserver observer;
};

TEST_F(MissileRemoval, GroundImpactRenumbersTheRecordsAbove) {
    world->selectedMissile = 4;
    EXPECT_TRUE(flightStep(*world, 2));
    ASSERT_EQ(world->missileCount, 4);
    for (int32_t i = 0; i < 4; ++i) {
        EXPECT_EQ(world->missiles[i].index, i);
        EXPECT_EQ(world->missiles[i].seekerOnDistance, i < 2 ? 10 + i : 11 + i);
    }
    // Another missile's removal: the window stays on the same missile, now one place lower.
    EXPECT_EQ(world->selectedMissile, 3);
    EXPECT_EQ(observer.hides, 0);
    EXPECT_EQ(observer.impacts, 1);
    EXPECT_EQ(trunc32(observer.last.x), 77);
    EXPECT_EQ(trunc32(observer.last.y), 66);
}

TEST_F(MissileRemoval, RemovingTheShownMissileClearsSelectionAndHidesWindow) {
    world->selectedMissile = 2;
    EXPECT_TRUE(flightStep(*world, 2));
    EXPECT_EQ(world->selectedMissile, -1);
    EXPECT_EQ(observer.hides, 1);
    EXPECT_EQ(observer.impacts, 1);
}

TEST_F(MissileRemoval, TickHandlesTheRecordThatMovedDownExactlyOnce) {
    auto reference = makeWorld();
    *reference = *world;
    reference->observer = nullptr;
    ASSERT_FALSE(flightStep(*reference, 3));
    SimulationTick(*world);
    ASSERT_EQ(world->missileCount, 4);
    // The former missile 3 now sits at 2 and flew exactly one step.
    EXPECT_EQ(world->missiles[2].seekerOnDistance, 13);
    EXPECT_EQ(world->missiles[2].x, reference->missiles[3].x);
    EXPECT_EQ(world->missiles[2].altitude, reference->missiles[3].altitude);
}

// The missile window's buttons.
class MissileControl : public MissileRecord {
  protected:
    void SetUp() override {
        MissileRecord::SetUp();
        ASSERT_EQ(addMissile(*world, kAlarm, 0), 0);  // "директорный режим", captures first
    }
    Missile& m() { return world->missiles[0]; }
};

TEST_F(MissileControl, DesignatedRadarIsTheCarriersValidAttackTarget) {
    for (const int32_t target : {-1, 6}) {  // none, or left behind by a radar removal
        world->aircraft[1].targetRadar = target;
        EXPECT_EQ(designatedRadarOf(*world, m()), -1) << target;
    }
    world->aircraft[1].targetRadar = 3;
    EXPECT_EQ(designatedRadarOf(*world, m()), 3);
    m().carrier = world->aircraftCount;
    EXPECT_EQ(designatedRadarOf(*world, m()), -1);
}

TEST_F(MissileControl, ButtonsRefuseAnInvalidRowAndActOnAValidOne) {
    EXPECT_FALSE(activateMissile(*world, 1));
    EXPECT_FALSE(captureButton(*world, -1));
    EXPECT_FALSE(launchButton(*world, 1));
    EXPECT_FALSE(setSeekerOnDistance(*world, 1, 5));
    EXPECT_EQ(m().activated, 0);
    EXPECT_EQ(m().launched, 0);
    EXPECT_TRUE(activateMissile(*world, 0));
    EXPECT_EQ(m().activated, 1);

    // The switch-on distance takes 0..100 only.
    EXPECT_TRUE(setSeekerOnDistance(*world, 0, 0));
    EXPECT_TRUE(setSeekerOnDistance(*world, 0, 100));
    EXPECT_FALSE(setSeekerOnDistance(*world, 0, 101));
    EXPECT_FALSE(setSeekerOnDistance(*world, 0, -1));
    EXPECT_EQ(m().seekerOnDistance, 100);

    EXPECT_TRUE(launchButton(*world, 0));
    EXPECT_EQ(m().launched, 1);
    EXPECT_EQ(m().thrust, 37000);
    EXPECT_EQ(m().mass, 268);
    EXPECT_EQ(m().directGuidance, 1);  // climb profile 4
    EXPECT_EQ(m().guidanceMode, kHoming);
}

TEST_F(MissileControl, CaptureButtonByLaunchMode) {
    // Without a designated radar it only toggles the capture ("Отменить захват" back).
    world->aircraft[1].targetRadar = -1;
    EXPECT_TRUE(captureButton(*world, 0));
    EXPECT_EQ(m().capturing, 1);
    EXPECT_EQ(m().acceptedTypeCount, 0);
    EXPECT_TRUE(captureButton(*world, 0));
    EXPECT_EQ(m().capturing, 0);

    // "Ввод данных" starts no capture.
    ASSERT_EQ(addMissile(*world, kAlarm, kSuppressMode), 1);
    EXPECT_TRUE(captureButton(*world, 1));
    EXPECT_EQ(world->missiles[1].capturing, 0);

    // The crew lock makes the designated radar's type the only accepted one.
    world->aircraft[1].targetRadar = 2;
    EXPECT_TRUE(captureButton(*world, 0));
    EXPECT_EQ(m().capturing, 1);
    ASSERT_EQ(m().acceptedTypeCount, 1);
    EXPECT_EQ(m().acceptedTypes[0], world->radars[2].typeIndex);
}

}  // namespace
}  // namespace prrsim
