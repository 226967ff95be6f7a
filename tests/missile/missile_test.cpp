#include "missile/missile.h"

#include <gtest/gtest.h>

#include "catalog/missile_catalog.h"
#include "missile/guidance.h"
#include "missile/missile_control.h"
#include "sim/tick.h"
#include "sim/world.h"

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
    const int32_t i = addMissile(*world, kAlarm, kLoiterMode);
    ASSERT_EQ(i, 0);
    EXPECT_EQ(world->missileCount, 1);
    EXPECT_EQ(world->selectedMissile, 0);
    const Missile& m = world->missiles[0];
    EXPECT_EQ(m.index, 0);
    EXPECT_EQ(m.typeIndex, kAlarm);
    EXPECT_EQ(m.launchModeIndex, kLoiterMode);
    EXPECT_EQ(m.carrier, 1);
    EXPECT_EQ(m.targetPositionState, kTargetNotAcquired);
    EXPECT_EQ(m.trackedRadarId, -1);
    EXPECT_EQ(m.targetRadarType, -1);
    EXPECT_EQ(m.targetRadarId, 0);
    EXPECT_EQ(m.launched, 0);
    EXPECT_EQ(m.activated, 0);
    EXPECT_EQ(m.capturing, 0);
    EXPECT_EQ(m.guidanceMode, 0);
    EXPECT_EQ(m.mass, 0);
    EXPECT_EQ(m.thrust, 0);
    EXPECT_EQ(m.insX, 0);
    EXPECT_EQ(m.targetListCount, 0);  // this mode keeps no target list
    EXPECT_EQ(m.emitterCount, 0);
    EXPECT_EQ(m.acceptedTypeCount, 0);
    expectCarrierMotion(m, world->aircraft[1]);
}

TEST_F(MissileRecord, TargetListHoldsTheRadarsOnTheMapAtLoading) {
    const int32_t i = addMissile(*world, kAlarm, kSuppressMode);
    ASSERT_EQ(i, 0);
    const Missile& m = world->missiles[0];
    ASSERT_EQ(m.targetListCount, world->radarCount);
    for (int32_t j = 0; j < world->radarCount; ++j) {
        EXPECT_EQ(m.targetList[j].x, world->radars[j].x) << j;
        EXPECT_EQ(m.targetList[j].y, world->radars[j].y) << j;
        EXPECT_EQ(m.targetList[j].captureRadius, 0);
        EXPECT_EQ(m.targetList[j].priority, 0);
        EXPECT_EQ(m.targetList[j].assignedEmitter, -1);
    }
    // Radars added later are not in it.
    const int32_t before = world->radarCount;
    ASSERT_GT(addRadars(*world, 0, -1, true), 0);
    EXPECT_EQ(world->missiles[0].targetListCount, before);
}

TEST_F(MissileRecord, SecondMissileOnSameCarrierTakesNextPositionAndBothFollow) {
    ASSERT_EQ(addMissile(*world, kAlarm, kLoiterMode), 0);
    ASSERT_EQ(addMissile(*world, 3, 0), 1);
    EXPECT_EQ(world->missiles[1].index, 1);
    EXPECT_EQ(world->selectedMissile, 1);
    world->aircraft[1].onAttackRun = true;
    world->aircraft[1].targetRadar = 2;
    for (int tick = 0; tick < 20; ++tick) {
        SimulationTick(*world);
        expectCarrierMotion(world->missiles[0], world->aircraft[1]);
        expectCarrierMotion(world->missiles[1], world->aircraft[1]);
    }
}

TEST_F(MissileRecord, AddWithoutLaunchModeChoiceTakesTheFirst) {
    ASSERT_EQ(addMissile(*world, kAlarm, -1), 0);
    EXPECT_EQ(world->missiles[0].launchModeIndex, 0);
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

TEST_F(MissileRecord, FollowCarrierCopiesMotionAndIgnoresMissingCarrier) {
    ASSERT_EQ(addMissile(*world, 0, 0), 0);
    Missile& m = world->missiles[0];
    Aircraft& a = world->aircraft[1];
    a.x = 10;
    a.y = 20;
    a.altitude = 30;
    a.heading = 180;
    a.climbAngle = 5;
    a.speed = 900;
    followCarrier(*world, m);
    expectCarrierMotion(m, a);

    m.carrier = world->aircraftCount;  // the carrier slot left the table
    a.x = 99;
    followCarrier(*world, m);
    EXPECT_EQ(m.x, 10);
    m.carrier = -1;
    followCarrier(*world, m);
    EXPECT_EQ(m.x, 10);
}

// Every field of two records, the lists up to their counts.
void expectSameRecord(const Missile& a, const Missile& b) {
    EXPECT_EQ(a.index, b.index);
    EXPECT_EQ(a.typeIndex, b.typeIndex);
    EXPECT_EQ(a.launchModeIndex, b.launchModeIndex);
    EXPECT_EQ(a.directGuidance, b.directGuidance);
    EXPECT_EQ(a.guidanceMode, b.guidanceMode);
    EXPECT_EQ(a.loiterUsed, b.loiterUsed);
    EXPECT_EQ(a.targetPositionState, b.targetPositionState);
    EXPECT_EQ(a.searchEnabled, b.searchEnabled);
    EXPECT_EQ(a.seekerOnDistance, b.seekerOnDistance);
    EXPECT_EQ(a.launched, b.launched);
    EXPECT_EQ(a.carrier, b.carrier);
    EXPECT_EQ(a.activated, b.activated);
    EXPECT_EQ(a.capturing, b.capturing);
    EXPECT_EQ(a.locked, b.locked);
    EXPECT_EQ(a.lockLost, b.lockLost);
    EXPECT_EQ(a.headAzimuth, b.headAzimuth);
    EXPECT_EQ(a.headElevation, b.headElevation);
    EXPECT_EQ(a.signalTime, b.signalTime);
    EXPECT_EQ(a.lossTime, b.lossTime);
    EXPECT_EQ(a.paramsAge, b.paramsAge);
    EXPECT_EQ(a.frequencyAge, b.frequencyAge);
    EXPECT_EQ(a.scanTimer, b.scanTimer);
    EXPECT_EQ(a.signalPresent, b.signalPresent);
    EXPECT_EQ(a.signalParamsKnown, b.signalParamsKnown);
    EXPECT_EQ(a.emissionKindKnown, b.emissionKindKnown);
    EXPECT_EQ(a.radarTypeIdentified, b.radarTypeIdentified);
    EXPECT_EQ(a.frequencyKnown, b.frequencyKnown);
    EXPECT_EQ(a.prf, b.prf);
    EXPECT_EQ(a.frequencyChannel, b.frequencyChannel);
    EXPECT_EQ(a.pulseWidth, b.pulseWidth);
    EXPECT_EQ(a.targetRadarId, b.targetRadarId);
    EXPECT_EQ(a.pulsed, b.pulsed);
    EXPECT_EQ(a.trackedRadarId, b.trackedRadarId);
    EXPECT_EQ(a.targetRadarType, b.targetRadarType);
    EXPECT_EQ(a.emitterCount, b.emitterCount);
    ASSERT_EQ(a.targetListCount, b.targetListCount);
    for (int32_t k = 0; k < a.targetListCount; ++k) {
        EXPECT_EQ(a.targetList[k].x, b.targetList[k].x);
        EXPECT_EQ(a.targetList[k].y, b.targetList[k].y);
        EXPECT_EQ(a.targetList[k].captureRadius, b.targetList[k].captureRadius);
        EXPECT_EQ(a.targetList[k].priority, b.targetList[k].priority);
        EXPECT_EQ(a.targetList[k].assignedEmitter, b.targetList[k].assignedEmitter);
    }
    EXPECT_EQ(a.bearingToTarget, b.bearingToTarget);
    EXPECT_EQ(a.elevationToTarget, b.elevationToTarget);
    EXPECT_EQ(a.targetX, b.targetX);
    EXPECT_EQ(a.targetY, b.targetY);
    EXPECT_EQ(a.targetAltitude, b.targetAltitude);
    EXPECT_EQ(a.rangeFlown, b.rangeFlown);
    EXPECT_EQ(a.thrust, b.thrust);
    EXPECT_EQ(a.flightTime, b.flightTime);
    EXPECT_EQ(a.powerTime, b.powerTime);
    EXPECT_EQ(a.mass, b.mass);
    EXPECT_EQ(a.speed, b.speed);
    EXPECT_EQ(a.heading, b.heading);
    EXPECT_EQ(a.pitch, b.pitch);
    EXPECT_EQ(a.turnCommand, b.turnCommand);
    EXPECT_EQ(a.climbCommand, b.climbCommand);
    EXPECT_EQ(a.x, b.x);
    EXPECT_EQ(a.y, b.y);
    EXPECT_EQ(a.altitude, b.altitude);
    EXPECT_EQ(a.insX, b.insX);
    EXPECT_EQ(a.insY, b.insY);
    EXPECT_EQ(a.insAltitude, b.insAltitude);
    EXPECT_EQ(a.horizontalStep, b.horizontalStep);
    EXPECT_EQ(a.verticalStep, b.verticalStep);
    EXPECT_EQ(a.acceptedTypeCount, b.acceptedTypeCount);
    EXPECT_EQ(a.receivedRadarCount, b.receivedRadarCount);
    EXPECT_EQ(a.receivedReflectionCount, b.receivedReflectionCount);
}

TEST_F(MissileRecord, ReusedSlotStartsLikeFreshOne) {
    auto fresh = makeWorld();
    *fresh = *world;
    ASSERT_EQ(addMissile(*fresh, kAlarm, kSuppressMode), 0);

    // Use slot 0 hard, then let it detonate.
    ASSERT_EQ(addMissile(*world, 3, 2), 0);
    Missile& used = world->missiles[0];
    used.activated = 1;
    used.capturing = 1;
    used.locked = 1;
    used.lockLost = 1;
    used.loiterUsed = 1;
    used.searchEnabled = 1;
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
    EXPECT_EQ(world->missiles[2].index, 2);
    EXPECT_EQ(world->missiles[3].index, 3);
    EXPECT_EQ(world->missiles[2].seekerOnDistance, 13);
    EXPECT_EQ(world->missiles[3].seekerOnDistance, 14);
    EXPECT_EQ(world->missiles[1].seekerOnDistance, 11);
    // Another missile's removal leaves the window on the same selection index.
    EXPECT_EQ(world->selectedMissile, 4);
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
    world->aircraft[1].targetRadar = -1;
    EXPECT_EQ(designatedRadarOf(*world, m()), -1);
    world->aircraft[1].targetRadar = 3;
    EXPECT_EQ(designatedRadarOf(*world, m()), 3);
    world->aircraft[1].targetRadar = world->radarCount;  // left behind by a radar removal
    EXPECT_EQ(designatedRadarOf(*world, m()), -1);
    m().carrier = world->aircraftCount;
    EXPECT_EQ(designatedRadarOf(*world, m()), -1);
}

TEST_F(MissileControl, ButtonsRefuseAnInvalidRow) {
    EXPECT_FALSE(activateMissile(*world, 1));
    EXPECT_FALSE(captureButton(*world, -1));
    EXPECT_FALSE(launchButton(*world, 1));
    EXPECT_FALSE(setSeekerOnDistance(*world, 1, 5));
    EXPECT_EQ(m().activated, 0);
    EXPECT_EQ(m().launched, 0);
    EXPECT_TRUE(activateMissile(*world, 0));
    EXPECT_EQ(m().activated, 1);
}

TEST_F(MissileControl, CaptureButtonTogglesCaptureForCaptureModes) {
    world->aircraft[1].targetRadar = -1;
    EXPECT_TRUE(captureButton(*world, 0));
    EXPECT_EQ(m().capturing, 1);
    EXPECT_TRUE(captureButton(*world, 0));  // "Отменить захват"
    EXPECT_EQ(m().capturing, 0);
}

TEST_F(MissileControl, DataEntryModeDoesNotStartCapture) {
    ASSERT_EQ(addMissile(*world, kAlarm, kSuppressMode), 1);  // "Ввод данных"
    world->aircraft[1].targetRadar = -1;
    EXPECT_TRUE(captureButton(*world, 1));
    EXPECT_EQ(world->missiles[1].capturing, 0);
}

TEST_F(MissileControl, CaptureLocksOnTheDesignatedRadarByTheCrew) {
    world->aircraft[1].targetRadar = 2;
    EXPECT_TRUE(captureButton(*world, 0));
    EXPECT_EQ(m().capturing, 1);
    // The lock makes the radar's type the only accepted one.
    ASSERT_EQ(m().acceptedTypeCount, 1);
    EXPECT_EQ(m().acceptedTypes[0], world->radars[2].typeIndex);
}

TEST_F(MissileControl, SeekerOnDistanceAcceptsOnlyZeroToHundred) {
    EXPECT_TRUE(setSeekerOnDistance(*world, 0, 0));
    EXPECT_TRUE(setSeekerOnDistance(*world, 0, 100));
    EXPECT_EQ(m().seekerOnDistance, 100);
    EXPECT_FALSE(setSeekerOnDistance(*world, 0, 101));
    EXPECT_FALSE(setSeekerOnDistance(*world, 0, -1));
    EXPECT_EQ(m().seekerOnDistance, 100);
}

TEST_F(MissileControl, LaunchButtonPutsMissileIntoFlight) {
    EXPECT_TRUE(launchButton(*world, 0));
    EXPECT_EQ(m().launched, 1);
    EXPECT_EQ(m().thrust, 37000);
    EXPECT_EQ(m().mass, 268);
    EXPECT_EQ(m().directGuidance, 1);  // climb profile 4
    EXPECT_EQ(m().guidanceMode, kHoming);
}

}  // namespace
}  // namespace prrsim
