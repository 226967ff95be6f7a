// The seeker's reception on scenes and catalogue entries of the tests' own making, at the edges
// the missile scenarios do not reach: the field of view looking straight down and through the
// direction gate, the emitter list's cap, a search during a capture. Rules no catalogue missile
// uses are not tested.
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
    m.elevationToTarget = 356;  // the radar at elevation 359: exactly the tolerance off
    EXPECT_FALSE(inFieldOfView(c(), m, r));
    m.elevationToTarget = 359;
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

TEST_F(SeekerReception, TheCapIsTestedOncePerRadar) {
    cats.type().maxEmitters = 1;
    scene.addRadar(kFireControl, 100).illuminationOn = true;
    scene.addRadar(kSearch, 120);
    search();
    ASSERT_EQ(m.emitterCount, 2);
    EXPECT_EQ(m.emitters[1].radar, 0);
    cats.type().maxEmitters = 0;
    search();
    EXPECT_EQ(m.emitterCount, 0);
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

}  // namespace
}  // namespace prrsim
