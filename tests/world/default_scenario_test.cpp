#include "world/default_scenario.h"

#include <gtest/gtest.h>

#include "catalog/radar_catalog.h"
#include "world/world.h"

namespace prrsim {
namespace {

TEST(DefaultScenario, RadarsStandAsDesigned) {
    auto world = makeWorld();
    startWorld(*world);
    const auto& r = world->radars;
    EXPECT_EQ(r[0].currentTarget, 2);
    EXPECT_EQ(r[4].currentTarget, -1);
    EXPECT_EQ(r[5].currentTarget, 0);
    EXPECT_EQ(r[0].x, r[1].x);
    EXPECT_EQ(r[0].y, r[1].y);
    EXPECT_EQ(r[4].x, 435);
    EXPECT_EQ(r[5].y, 316);
    EXPECT_EQ(r[4].placedComplex, 1);
    EXPECT_EQ(r[2].placedComplex, -1);
    const RadarSite& imbir = r[3];
    EXPECT_EQ(imbir.antennaDirection, 166);
    EXPECT_EQ(imbir.azimuth, 166);
    EXPECT_EQ(imbir.trackCount, 2);
    EXPECT_EQ(imbir.trackList[0], 0);
    EXPECT_EQ(imbir.trackList[1], 1);
    EXPECT_EQ(imbir.currentTarget, 0);
    EXPECT_TRUE(imbir.captureActive);
    EXPECT_EQ(imbir.scanMethod, 2);
    EXPECT_EQ(imbir.elevation, 0);
    for (int32_t j = 0; j < world->radarCount; ++j) {
        EXPECT_EQ(r[j].index, j);
        EXPECT_TRUE(r[j].emissionOn && r[j].rotationOn && r[j].radiating && r[j].inSector);
        EXPECT_EQ(r[j].scanDirection, 1);
        EXPECT_GE(r[j].frequencyPercent, 0);
        EXPECT_LT(r[j].frequencyPercent, 100);
    }
}

TEST(DefaultScenario, FrequenciesRepeatOnEveryStart) {
    auto a = makeWorld();
    auto b = makeWorld();
    startWorld(*a);
    b->random.seed(12345);  // a used generator is reset by the start-up
    startWorld(*b);
    for (int32_t j = 0; j < 6; ++j) {
        EXPECT_EQ(a->radars[j].frequencyPercent, b->radars[j].frequencyPercent);
        EXPECT_EQ(a->radars[j].frequency, b->radars[j].frequency);
    }
}

TEST(DefaultScenario, AircraftAsListed) {
    auto world = makeWorld();
    startWorld(*world);
    const Aircraft& a2 = world->aircraft[2];
    EXPECT_EQ(a2.id, 2);
    EXPECT_EQ(a2.x, 294);
    EXPECT_EQ(a2.y, 155);
    EXPECT_EQ(a2.altitude, 60);
    EXPECT_EQ(a2.heading, 72);
    EXPECT_EQ(a2.climbAngle, 3);
    EXPECT_EQ(a2.speed, 800);
    for (int32_t i = 0; i < 4; ++i) {
        EXPECT_EQ(world->aircraft[i].targetRadar, -1);
        EXPECT_FALSE(world->aircraft[i].onAttackRun);
    }
}

TEST(Landmarks, ThirtyTwoAtGroundLevel) {
    auto world = makeWorld();
    startEmptyWorld(*world);
    ASSERT_EQ(world->landmarkCount, 32);
    EXPECT_EQ(world->landmarks[0].x, 380);
    EXPECT_EQ(world->landmarks[0].size, 549);
    EXPECT_EQ(world->landmarks[11].size, 44);
    EXPECT_EQ(world->landmarks[31].y, 126);
    for (const Landmark& l : world->landmarks) {
        EXPECT_EQ(l.height, 0);
    }
    EXPECT_EQ(world->aircraftCount + world->radarCount + world->missileCount, 0);
}

}  // namespace
}  // namespace prrsim
