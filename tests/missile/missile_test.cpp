// Loading a missile, its record in a reused slot, the carrier it rides on and the missile
// window's buttons, where the scenario traces do not reach.
#include "missile/missile_loading.h"

#include <gtest/gtest.h>

#include "missile/guidance.h"
#include "missile/missile_control.h"
#include "missile/world_comparison.h"
#include "sim/tick.h"
#include "world/world.h"

namespace prrsim {
namespace {

constexpr int32_t kAlarm = 4;
constexpr int32_t kSuppressMode = 3;  // "режим подавления", uses a target list

class MissileRecord : public ::testing::Test {
  protected:
    void SetUp() override {
        startWorld(*world);
        world->selectedAircraft = 1;
    }
    Missile& m() { return world->missiles[0]; }
    std::unique_ptr<WorldState> world = makeWorld();
};

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
                                                      1}));

// A slot used hard and vacated by a detonation starts exactly like a never-used one.
TEST_F(MissileRecord, ReusedSlotStartsLikeFreshOne) {
    auto fresh = makeWorld();
    *fresh = *world;
    ASSERT_EQ(addMissile(*fresh, kAlarm, kSuppressMode), 0);

    ASSERT_EQ(addMissile(*world, 3, 2), 0);
    Missile& used = m();
    used.activated = used.capturing = used.locked = used.lockLost = used.loiterUsed = 1;
    used.searchEnabled = used.signalPresent = used.signalParamsKnown = 1;
    used.seekerOnDistance = 40;
    used.targetPositionState = kTargetInertial;
    used.signalTime = 2.5;
    used.prf = 400;
    used.targetRadarId = 5;
    used.trackedRadarId = 3;
    used.emitterCount = 2;
    used.emitters[1].receivedPower = 7;
    used.acceptedTypeCount = 1;
    used.acceptedTypes[0] = 7;
    used.receivedRadarCount = 3;
    used.receivedRadars[1] = 4;
    used.receivedReflectionCount = 2;
    used.headAzimuth = 12;
    launchMissile(used);
    for (int tick = 0; tick < 30; ++tick) {
        flightStep(*world, 0);
    }
    m().altitude = -1;
    ASSERT_TRUE(guidanceStep(*world, 0));
    ASSERT_EQ(world->missileCount, 0);

    ASSERT_EQ(addMissile(*world, kAlarm, kSuppressMode), 0);
    testing::Comparison cmp;
    testing::compare(cmp, m(), fresh->missiles[0]);
    EXPECT_TRUE(cmp.same()) << cmp.report();
}

// The missile window's buttons on an "ALARM", "директорный режим" (captures before launch).
TEST_F(MissileRecord, ButtonsRefuseAnInvalidRowAndTheCaptureFollowsTheMode) {
    ASSERT_EQ(addMissile(*world, kAlarm, 0), 0);
    EXPECT_FALSE(activateMissile(*world, 1));
    EXPECT_FALSE(captureButton(*world, -1));
    EXPECT_FALSE(launchButton(*world, 1));
    EXPECT_FALSE(setSeekerOnDistance(*world, 1, 5));
    EXPECT_EQ(m().activated + m().launched + m().capturing, 0);
    EXPECT_TRUE(setSeekerOnDistance(*world, 0, 0));
    EXPECT_TRUE(setSeekerOnDistance(*world, 0, 100));
    EXPECT_FALSE(setSeekerOnDistance(*world, 0, 101));
    EXPECT_FALSE(setSeekerOnDistance(*world, 0, -1));
    EXPECT_EQ(m().seekerOnDistance, 100);

    // A target left behind by a radar removal is none: the button only toggles the capture.
    world->aircraft[1].targetRadar = 6;
    EXPECT_EQ(designatedRadarOf(*world, m()), -1);
    EXPECT_TRUE(captureButton(*world, 0));
    EXPECT_EQ(m().capturing, 1);
    EXPECT_EQ(m().acceptedTypeCount, 0);
    EXPECT_TRUE(captureButton(*world, 0));
    EXPECT_EQ(m().capturing, 0);
    // The crew lock makes the designated radar's type the only accepted one.
    world->aircraft[1].targetRadar = 2;
    EXPECT_TRUE(captureButton(*world, 0));
    EXPECT_EQ(m().capturing, 1);
    EXPECT_EQ(m().acceptedTypes[0], world->radars[2].typeIndex);
    // "Ввод данных" starts no capture.
    ASSERT_EQ(addMissile(*world, kAlarm, kSuppressMode), 1);
    EXPECT_TRUE(captureButton(*world, 1));
    EXPECT_EQ(world->missiles[1].capturing, 0);
    EXPECT_TRUE(launchButton(*world, 0));
    EXPECT_EQ(m().launched, 1);
}

}  // namespace
}  // namespace prrsim
