// The guidance step's thresholds, where the missile scenarios pass by without touching them:
// the proximity fuze's distances and the seeker's switch-on distance.
#include "missile/guidance.h"

#include <gtest/gtest.h>

#include "catalog/missile_catalog.h"
#include "missile/missile_loading.h"
#include "world/geometry.h"
#include "world/world.h"

namespace prrsim {
namespace {

constexpr int32_t kShrike = 0;
constexpr int32_t kHarm = 3;
constexpr int32_t kAlarm = 4;

class Guidance : public ::testing::Test {
  protected:
    // One launched, activated missile at (100, 100), altitude 50, heading 0, pitch 0,
    // 1000 km/h.
    Missile& launch(int32_t type, int32_t mode) {
        world->missileCount = 1;
        Missile& m = world->missiles[0];
        createMissile(*world, m, type, mode, -1);
        m.index = 0;
        m.x = 100;
        m.y = 100;
        m.altitude = 50;
        m.speed = 1000;
        launchMissile(m);
        m.activated = 1;
        return m;
    }
    std::unique_ptr<WorldState> world = makeWorld();
};

struct FuzeRow {
    const char* what;
    int32_t type;
    uint8_t targetState;
    double pitch;
    double altitude;
    double targetDistance;
    bool fires;
};

class GuidanceFuze : public Guidance, public ::testing::WithParamInterface<FuzeRow> {};

TEST_P(GuidanceFuze, ProximityBurst) {
    const FuzeRow& row = GetParam();
    Missile& missile = launch(row.type, 0);
    missile.pitch = row.pitch;
    missile.altitude = row.altitude;
    missile.targetPositionState = row.targetState;
    missile.targetX = trunc32(100 + row.targetDistance);
    missile.targetY = 100;
    missile.x = missile.targetX - row.targetDistance;
    missile.insX = missile.x;
    EXPECT_EQ(guidanceStep(*world, 0), row.fires) << row.what;
    EXPECT_EQ(world->missileCount, row.fires ? 0 : 1) << row.what;
}

INSTANTIATE_TEST_SUITE_P(
    Rows, GuidanceFuze,
    ::testing::Values(
        FuzeRow{"diving, 0.1 from the target", kHarm, kTargetFromSeeker, 300, 5, 0.1, true},
        FuzeRow{"diving, 0.2 from the target", kHarm, kTargetFromSeeker, 300, 5, 0.2, false},
        FuzeRow{"level counts as not climbing", kHarm, kTargetFromSeeker, 0, 5, 0.1, true},
        FuzeRow{"pitch 180 counts as not climbing", kHarm, kTargetFromSeeker, 180, 5, 0.1, true},
        FuzeRow{"climbing low: slant range 0.1", kHarm, kTargetFromSeeker, 30, 0.05, 50, true},
        FuzeRow{"climbing higher: slant range 2", kHarm, kTargetFromSeeker, 30, 1, 0.1, false},
        FuzeRow{"inertial distance", kHarm, kTargetInertial, 300, 5, 0.1, true},
        FuzeRow{"no target data: no distance", kHarm, kTargetNone, 300, 5, 0, false},
        FuzeRow{"no fuze fitted", kShrike, kTargetFromSeeker, 300, 5, 0, false},
        FuzeRow{"below ground", kShrike, kTargetNone, 0, -0.001, 50, true}));

struct SwitchOnRow {
    const char* what;
    int32_t mode;
    uint8_t targetState;
    int32_t seekerOnDistance;
    uint8_t locked;
    uint8_t capturing;
};

class GuidanceSwitchOn : public Guidance, public ::testing::WithParamInterface<SwitchOnRow> {};

TEST_P(GuidanceSwitchOn, SeekerSwitchesOnNearTheTarget) {
    const SwitchOnRow& row = GetParam();
    Missile& alarm = launch(kAlarm, row.mode);
    alarm.targetPositionState = row.targetState;
    alarm.targetX = 150;  // 50 map units away
    alarm.targetY = 100;
    alarm.seekerOnDistance = row.seekerOnDistance;
    alarm.locked = row.locked;
    ASSERT_FALSE(guidanceStep(*world, 0));
    EXPECT_EQ(alarm.capturing, row.capturing) << row.what;
}

INSTANTIATE_TEST_SUITE_P(
    Rows, GuidanceSwitchOn,
    ::testing::Values(SwitchOnRow{"5 is not beyond 0.1 x 50", 3, kTargetFromSeeker, 5, 0, 0},
                      SwitchOnRow{"6 is beyond 0.1 x 50", 3, kTargetFromSeeker, 6, 0, 1},
                      SwitchOnRow{"no target data: distance 0", 3, kTargetNotAcquired, 1, 0, 1},
                      SwitchOnRow{"switch-on distance 0 never", 3, kTargetNotAcquired, 0, 0, 0},
                      SwitchOnRow{"already locked", 3, kTargetFromSeeker, 100, 1, 0},
                      SwitchOnRow{"crew captures in this mode", 0, kTargetFromSeeker, 100, 0, 0},
                      SwitchOnRow{"not homing", 1, kTargetFromSeeker, 100, 0, 0}));

}  // namespace
}  // namespace prrsim
