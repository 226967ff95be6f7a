#include "sim/tick.h"

#include <gtest/gtest.h>

#include <cmath>

#include "missile/missile_loading.h"
#include "world/world.h"

namespace prrsim {
namespace {

class Tick : public ::testing::Test {
  protected:
    void SetUp() override { startEmptyWorld(*world); }
    Aircraft& add(double x, double y, double altitude, double heading, double climb, double speed) {
        const int32_t i = addAircraft(*world);
        Aircraft& a = world->aircraft[i];
        a.x = x;
        a.y = y;
        a.altitude = altitude;
        a.heading = heading;
        a.climbAngle = climb;
        a.speed = speed;
        return a;
    }
    RadarSite& addRadarAt(int32_t type, int32_t x, int32_t y) {
        addRadars(*world, type, -1, true);
        world->radarPlaceMode = false;
        RadarSite& r = world->radars[world->radarCount - 1];
        r.x = x;
        r.y = y;
        return r;
    }
    std::unique_ptr<WorldState> world = makeWorld();
};

TEST_F(Tick, StoppedAircraftDoesNotMove) {
    const Aircraft& a = add(100, 100, 10, 123, 7, 0);
    SimulationTick(*world);
    EXPECT_EQ(a.x, 100);
    EXPECT_EQ(a.y, 100);
    EXPECT_EQ(a.altitude, 10);
}

TEST_F(Tick, LevelFlightEastAdvancesPointZeroTwoOnePerTick) {
    const Aircraft& a = add(100, 100, 10, 0, 0, 750);
    SimulationTick(*world);
    EXPECT_NEAR(a.x, 100.021, 1e-12);
    EXPECT_EQ(a.y, 100);
    EXPECT_EQ(a.altitude, 10);
}

TEST_F(Tick, VerticalClimbFallsJustShortOfRightAngle) {
    const Aircraft& a = add(100, 100, 10, 0, 90, 750);
    const double k = 0.0028 * 750 * 0.01;
    SimulationTick(*world);
    EXPECT_NEAR((a.altitude - 10) / k, 0.9999993, 1e-7);
    EXPECT_NEAR((a.x - 100) / k, 0.0012, 1e-4);
}

struct RunRow {
    int32_t radarX, radarY;
    double expectedHeading;
};

class AttackRunHeading : public Tick, public ::testing::WithParamInterface<RunRow> {};

TEST_P(AttackRunHeading, SteersAtRadarInWholeDegrees) {
    Aircraft& a = add(200, 200, 0, 45, 0, 0);
    addRadarAt(0, GetParam().radarX, GetParam().radarY);
    a.targetRadar = 0;
    a.onAttackRun = true;
    SimulationTick(*world);
    EXPECT_EQ(a.heading, GetParam().expectedHeading);
}

INSTANTIATE_TEST_SUITE_P(Compass, AttackRunHeading,
                         ::testing::Values(RunRow{200, 300, 90}, RunRow{200, 100, 270},
                                           RunRow{100, 200, 180}, RunRow{300, 200, 360}));

TEST_F(Tick, AttackRunDiveOfFortyFiveDegreesGives314) {
    Aircraft& a = add(200, 200, 45, 0, 0, 0);
    addRadarAt(0, 245, 200);
    a.targetRadar = 0;
    a.onAttackRun = true;
    SimulationTick(*world);
    EXPECT_EQ(a.climbAngle, 314);
}

TEST_F(Tick, AttackRunWithoutValidTargetFliesStraight) {
    Aircraft& a = add(200, 200, 10, 30, 0, 750);
    a.onAttackRun = true;
    a.targetRadar = -1;
    SimulationTick(*world);
    EXPECT_EQ(a.heading, 30);
    a.targetRadar = 5;  // left behind by a radar removal: treated as none
    SimulationTick(*world);
    EXPECT_EQ(a.heading, 30);
}

TEST_F(Tick, FiftyAdditionsOfOneHundredthExceedHalf) {
    // The automatic search tests scanTimer > 0.5 before the timer step of the same tick.
    double t = 0;
    for (int i = 0; i < 50; ++i) {
        t += 0.01;
    }
    EXPECT_GT(t, 0.5);
}

}  // namespace
}  // namespace prrsim
