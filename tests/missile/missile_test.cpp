// Loads and button presses the scenario reader never lets through: invalid rows, types, modes
// and distances, and a designated radar left behind by a removal.
#include "missile/missile_loading.h"

#include <gtest/gtest.h>

#include "missile/missile_control.h"
#include "world/world.h"

namespace prrsim {
namespace {

constexpr int32_t kAlarm = 4;

class MissileRecord : public ::testing::Test {
  protected:
    void SetUp() override { startWorld(*world); }
    Missile& m() { return world->missiles[0]; }
    std::unique_ptr<WorldState> world = makeWorld();
};

struct RefusedAdd {
    const char* what;
    int32_t carrier;
    int32_t type;
    int32_t mode;
};

class MissileRecordRefused : public MissileRecord,
                             public ::testing::WithParamInterface<RefusedAdd> {};

TEST_P(MissileRecordRefused, LeavesWorldUnchanged) {
    const RefusedAdd& row = GetParam();
    ASSERT_EQ(addMissile(*world, 1, 0, 0), 0);
    EXPECT_EQ(addMissile(*world, row.carrier, row.type, row.mode), -1) << row.what;
    EXPECT_EQ(world->missileCount, 1);
}

INSTANTIATE_TEST_SUITE_P(Rows, MissileRecordRefused,
                         ::testing::Values(RefusedAdd{"no carrier", -1, 0, 0},
                                           RefusedAdd{"aircraft beyond the table", 4, 0, 0},
                                           RefusedAdd{"type beyond the catalogue", 1, 16, 0},
                                           RefusedAdd{"negative type", 1, -1, 0},
                                           RefusedAdd{"launch mode beyond the type's count", 1, 0,
                                                      1}));

// The missile window's buttons on an "ALARM", "директорный режим" (captures before launch).
TEST_F(MissileRecord, ButtonsRefuseAnInvalidRowOrDistanceAndAStaleTargetIsNone) {
    ASSERT_EQ(addMissile(*world, 1, kAlarm, 0), 0);
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
    // A target left behind by a radar removal is none: the button only starts the capture.
    world->aircraft[1].targetRadar = 6;
    EXPECT_EQ(designatedRadarOf(*world, m()), -1);
    EXPECT_TRUE(captureButton(*world, 0));
    EXPECT_EQ(m().capturing, 1);
    EXPECT_EQ(m().acceptedTypeCount, 0);
    EXPECT_TRUE(launchButton(*world, 0));
    EXPECT_EQ(m().launched, 1);
}

}  // namespace
}  // namespace prrsim
