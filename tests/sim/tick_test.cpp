#include "sim/tick.h"

#include <gtest/gtest.h>

#include "world/world.h"

namespace prrsim {
namespace {

struct RunRow {
    int32_t targetRadar;
    double heading;
};

class AttackRun : public ::testing::TestWithParam<RunRow> {};

// An aircraft on its attack run steers at its target radar in whole degrees; a target index left
// behind by a radar removal (at or beyond the radar count) counts as none.
TEST_P(AttackRun, SteersOnlyAtARadarOnTheMap) {
    auto world = makeWorld();
    startEmptyWorld(*world);
    Aircraft& a = world->aircraft[addAircraft(*world)];
    a.x = 200;
    a.y = 200;
    a.heading = 30;
    a.speed = 0;
    world->radarCount = 2;
    world->radars[0].x = 100;
    world->radars[0].y = 200;
    world->radars[1].x = 200;
    world->radars[1].y = 300;
    world->radars[2].x = 200;  // a vacated slot
    world->radars[2].y = 100;
    a.targetRadar = GetParam().targetRadar;
    a.onAttackRun = true;
    SimulationTick(*world);
    EXPECT_EQ(a.heading, GetParam().heading);
}

INSTANTIATE_TEST_SUITE_P(Targets, AttackRun,
                         ::testing::Values(RunRow{0, 180}, RunRow{1, 90}, RunRow{-1, 30},
                                           RunRow{2, 30}));

}  // namespace
}  // namespace prrsim
