// The seeker's reception on scenes and catalogue entries of the tests' own making, at the edges
// the missile scenarios do not reach: the field of view looking straight down and through the
// direction gate, the detection threshold, the emitter list's cap, a search during a capture,
// the antenna limits of a lock. Rules no catalogue missile uses are not tested.
#include "missile/seeker/seeker_reception.h"

#include <gtest/gtest.h>

#include <cmath>

#include "seeker_test_support.h"
#include "world/geometry.h"

namespace prrsim {
namespace {

using testing::kContinuous;
using testing::kFireControl;
using testing::kSearch;
using testing::Scene;
using testing::TestCatalogs;

class SeekerReception : public ::testing::Test {
  protected:
    TestCatalogs cats;
    Scene scene;
    Missile& m = scene.missile();
    SeekerCatalogs c() const { return cats.view(); }
    SearchResult search() { return searchEmitters(c(), *scene.world, m); }
};

TEST_F(SeekerReception, LookingStraightDownIgnoresAzimuth) {
    // The missile hangs 0.2 east of the radar, nose down: the radar lies 180 degrees off the
    // heading, but with 270 - pitch = 0 inside the field of view the azimuth does not count.
    const RadarSite& below = scene.addRadar(kSearch, 10, 100);
    m.x = 10.2;
    m.pitch = 270;
    m.headElevation = 21;
    EXPECT_TRUE(inFieldOfView(c(), m, below));
    m.heading = 90;
    EXPECT_TRUE(inFieldOfView(c(), m, below));
    m.pitch = 264;  // 270 - pitch = 6: the azimuth counts again
    m.headElevation = 27;
    EXPECT_FALSE(inFieldOfView(c(), m, below));
}

TEST_F(SeekerReception, DirectionGateLooksAtTheStoredTargetDirection) {
    cats.type().directionGate = 1;
    cats.type().bearingNoise = 2;  // tolerance 3 degrees
    const RadarSite& r = scene.addRadar(kSearch, 100);
    m.targetPositionState = kTargetFromSeeker;
    m.bearingToTarget = 4;  // radar at bearing 360: 4 off
    m.elevationToTarget = 359;
    EXPECT_FALSE(inFieldOfView(c(), m, r));
    m.bearingToTarget = 2;
    EXPECT_TRUE(inFieldOfView(c(), m, r));
    // A gate near the radar accepts it even outside the instantaneous field of view.
    m.headAzimuth = 30;
    EXPECT_TRUE(inFieldOfView(c(), m, r));
    // Continuous-wave emissions and inertial data bypass the gate.
    m.targetPositionState = kTargetInertial;
    EXPECT_FALSE(inFieldOfView(c(), m, r));
    const RadarSite& cw = scene.addRadar(kContinuous, 100);
    m.targetPositionState = kTargetFromSeeker;
    EXPECT_FALSE(inFieldOfView(c(), m, cw));
}

// The detection threshold is reached at equality; side lobes lower the power by the type's
// level in decibels; a silent radar is heard on no path, yet over the radar the power is finite.
TEST_F(SeekerReception, PowerThresholdSideLobesAndSilence) {
    RadarSite& r = scene.addRadar(kFireControl, 100);
    const Reception near = directPower(c(), m, r, Channel::Main);
    EXPECT_TRUE(near.detected);
    cats.type().sensitivity = near.power;
    EXPECT_TRUE(directPower(c(), m, r, Channel::Main).detected);
    cats.type().sensitivity = near.power * 1.0000001;
    EXPECT_FALSE(directPower(c(), m, r, Channel::Main).detected);
    r.azimuth += 1;  // still within half the 2-degree beam
    EXPECT_DOUBLE_EQ(directPower(c(), m, r, Channel::Main).power, near.power);
    r.azimuth += 90;  // side lobes at -30 dB
    EXPECT_NEAR(directPower(c(), m, r, Channel::Main).power / near.power, 1e-3, 1e-15);
    r.radiating = false;
    EXPECT_FALSE(directPower(c(), m, r, Channel::Main).detected);
    EXPECT_FALSE(directPower(c(), m, r, Channel::Illumination).detected);
    EXPECT_FALSE(reflectedPower(c(), m, r, scene.addLandmark(80, 100, 300)).detected);
    // Right over the radar and its landmark the power stays finite.
    r.radiating = true;
    r.x = 50;
    EXPECT_TRUE(std::isfinite(directPower(c(), m, r, Channel::Main).power));
    EXPECT_TRUE(std::isfinite(reflectedPower(c(), m, r, scene.addLandmark(50, 100, 500)).power));
}

TEST_F(SeekerReception, TheCapIsTestedOncePerRadarAndTheListNeverOverflows) {
    cats.type().maxEmitters = 1;
    scene.addRadar(kFireControl, 100).illuminationOn = true;
    scene.addRadar(kSearch, 120);
    search();
    ASSERT_EQ(m.emitterCount, 2);
    EXPECT_EQ(m.emitters[1].radar, 0);
    cats.type().maxEmitters = 0;
    search();
    EXPECT_EQ(m.emitterCount, 0);
    cats.type().maxEmitters = 50;
    for (int32_t i = 0; i < 20; ++i) {
        scene.addRadar(kFireControl, 100 + i).illuminationOn = true;
    }
    search();
    EXPECT_LE(m.emitterCount, kEmitterCapacity);
    EXPECT_GE(m.emitterCount, kEmitterCapacity - 1);
}

TEST_F(SeekerReception, SameRadarAgainIsNoTargetWhileCapturingOrLocked) {
    MissileType& t = cats.type();
    t.selectionRule = 2;
    t.priorityList[0] = kSearchRadar;
    t.priorityCount = 1;
    t.measuresPrf = 1;
    t.measuresPulseWidth = 1;
    testing::measureFrequencyOnFiftyMegahertzChannels(t);
    cats.mode().recognitionLevel = 2;
    RadarSite& r = scene.addRadar(kSearch, 100);
    const SearchResult first = search();
    ASSERT_TRUE(first.found());
    lockOnEmitter(c(), *scene.world, m, first.radar, first.channel, true);
    m.locked = 1;
    EXPECT_FALSE(search().found());
    m.locked = 0;
    m.capturing = 1;
    EXPECT_FALSE(search().found());
    r.frequency = 6000;  // another channel: a new emitter
    EXPECT_TRUE(search().found());
    r.frequency = 5000;
    r.prfMode = 1;  // another PRF and pulse width
    EXPECT_TRUE(search().found());
    m.capturing = 0;
    r.prfMode = 0;
    EXPECT_TRUE(search().found());
}

// A crew lock (recognition level 0) on a radar 40 degrees off the nose and about 38 degrees
// below: beyond half the azimuth limit (30) and under the elevation limit (-30).
TEST_F(SeekerReception, LockZeroesAnAntennaBeyondItsLimitsAndOptionalPartsFollowTheMode) {
    cats.type().hasInertialGuidance = 1;
    LaunchMode& mode = cats.mode();
    mode.takeBearingOnLock = mode.storeTargetPositionOnLock = 1;
    RadarSite& r = scene.addRadar(kSearch, 100, 142);
    m.altitude = 40;
    lockOnEmitter(c(), *scene.world, m, 0, Channel::Main, false);
    EXPECT_EQ(m.headAzimuth, 0);
    EXPECT_EQ(m.bearingToTarget, 40);
    EXPECT_EQ(m.headElevation, 0);
    EXPECT_LT(m.elevationToTarget, 330);
    EXPECT_EQ(m.targetPositionState, kTargetInertial);
    mode.takeBearingOnLock = 0;
    mode.forgetOnLoss = mode.searchOnLoss = mode.keepSearching = 1;
    cats.type().hasInertialGuidance = 0;
    m.targetPositionState = kTargetNotAcquired;
    r.y = 125;
    lockOnEmitter(c(), *scene.world, m, 0, Channel::Main, false);
    EXPECT_EQ(m.bearingToTarget, 40);
    EXPECT_EQ(m.targetPositionState, kTargetNotAcquired);
    EXPECT_EQ(m.targetY, 142);
    EXPECT_EQ(m.searchEnabled, 1);
    m.acceptedTypeCount = 2;
    lockOnEmitter(c(), *scene.world, m, 5, Channel::Main, true);  // no such radar: nothing
    EXPECT_EQ(m.acceptedTypeCount, 2);
}

}  // namespace
}  // namespace prrsim
