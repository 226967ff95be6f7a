#include "missile/seeker/seeker_tracking.h"

#include <gtest/gtest.h>

#include <cmath>

#include "missile/missile_loading.h"
#include "seeker_test_support.h"
#include "sim/tick.h"
#include "world/geometry.h"
#include "world/world.h"

namespace prrsim {
namespace {

using testing::kContinuous;
using testing::kFireControl;
using testing::kMultiTarget;
using testing::kSearch;
using testing::kSearchTrack;
using testing::Scene;
using testing::TestCatalogs;

class SeekerTracking : public ::testing::Test {
  protected:
    TestCatalogs cats;
    Scene scene;
    Missile& m = scene.missile();
    SeekerCatalogs c() const { return cats.view(); }

    void step() { seekerStep(c(), *scene.world, m); }
    // One tick of the seeker as the simulation runs it.
    void tick() {
        if (m.capturing || m.locked) {
            step();
        }
        if (m.targetPositionState != kTargetNone) {
            headStep(c(), *scene.world, m);
        }
        timerStep(c(), m);
    }
    bool accepts(const RadarSite& r, int32_t pass = 0) {
        int32_t channel = -99;
        return acceptEmission(c(), m, r, pass, channel);
    }
};

// --- capture and lock
// ------------------------------------------------------------------------------

TEST_F(SeekerTracking, LockNeedsSignalTimeStrictlyAboveTheConfirmTime) {
    scene.addRadar(kSearch, 100);
    m.capturing = 1;
    m.signalPresent = 1;
    m.signalTime = 1.0;
    step();
    EXPECT_EQ(m.locked, 0);
    EXPECT_EQ(m.capturing, 1);
    m.signalTime = std::nextafter(1.0, 2.0);
    m.guidanceMode = kToWaitingPoint;
    m.lockLost = 1;
    m.targetPositionState = kTargetInertial;
    step();
    EXPECT_EQ(m.locked, 1);
    EXPECT_EQ(m.capturing, 0);
    EXPECT_EQ(m.lockLost, 0);
    EXPECT_EQ(m.guidanceMode, kHoming);
    EXPECT_EQ(m.targetPositionState, kTargetFromSeeker);
}

TEST_F(SeekerTracking, CaptureTurnsIntoALockAfterAboutOneSecond) {
    scene.addRadar(kSearch, 100);
    m.capturing = 1;
    int32_t ticks = 0;
    while (!m.locked && ticks < 1000) {
        tick();
        ++ticks;
    }
    // Signal found in tick 1; a hundred additions of 0.01 exceed 1.0, so tick 101 locks.
    EXPECT_EQ(ticks, 101);
    EXPECT_EQ(m.signalPresent, 1);
}

TEST_F(SeekerTracking, LostSignalRestartsTheCapture) {
    RadarSite& r = scene.addRadar(kSearch, 100);
    cats.type().hasInertialGuidance = 1;
    m.capturing = 1;
    step();
    EXPECT_EQ(m.signalPresent, 1);
    EXPECT_EQ(m.targetPositionState, kTargetFromSeeker);
    m.signalTime = 0.5;
    r.radiating = false;
    step();
    EXPECT_EQ(m.signalPresent, 0);
    EXPECT_EQ(m.signalTime, 0);
    EXPECT_EQ(m.targetPositionState, kTargetInertial);
    EXPECT_EQ(m.capturing, 1);
}

TEST_F(SeekerTracking, LostSignalWithoutInertialGuidanceKeepsTheStateWhileCapturing) {
    RadarSite& r = scene.addRadar(kSearch, 100);
    m.capturing = 1;
    step();
    r.radiating = false;
    step();
    EXPECT_EQ(m.signalPresent, 0);
    EXPECT_EQ(m.targetPositionState, kTargetFromSeeker);
}

TEST_F(SeekerTracking, CancelledCaptureKeepsTheSignalAndLocksAtOnceWhenResumed) {
    scene.addRadar(kSearch, 100);
    m.capturing = 1;
    for (int32_t i = 0; i < 50; ++i) {
        tick();
    }
    m.capturing = 0;  // "Отменить захват"
    for (int32_t i = 0; i < 80; ++i) {
        tick();
    }
    EXPECT_EQ(m.signalPresent, 1);
    EXPECT_GT(m.signalTime, 1.0);
    m.capturing = 1;
    step();
    EXPECT_EQ(m.locked, 1);
}

TEST_F(SeekerTracking, LockIsLostWhenLossTimeReachesTheHoldTime) {
    cats.type().lockHoldTime = 3;
    m.locked = 1;
    m.signalPresent = 0;
    m.lossTime = std::nextafter(3.0, 0.0);
    step();
    EXPECT_EQ(m.locked, 1);
    EXPECT_EQ(m.lockLost, 0);
    m.lossTime = 3.0;
    step();
    EXPECT_EQ(m.locked, 0);
    EXPECT_EQ(m.lockLost, 1);
    EXPECT_EQ(m.capturing, 0);  // loss action 0
}

TEST_F(SeekerTracking, SignalLossWhileLockedStartsTheLossTimer) {
    RadarSite& r = scene.addRadar(kSearch, 100);
    m.locked = 1;
    m.signalPresent = 1;
    m.lossTime = 0.7;
    r.radiating = false;
    step();
    EXPECT_EQ(m.signalPresent, 0);
    EXPECT_EQ(m.lossTime, 0);
    EXPECT_EQ(m.targetPositionState, kTargetNone);
    EXPECT_EQ(m.locked, 1);
    for (int32_t i = 0; i < 100; ++i) {
        timerStep(c(), m);
    }
    r.radiating = true;
    step();
    EXPECT_EQ(m.signalPresent, 1);
    EXPECT_EQ(m.targetPositionState, kTargetFromSeeker);
    EXPECT_EQ(m.lossTime, 0);
    EXPECT_EQ(m.locked, 1);
}

class LossAction : public SeekerTracking {
  protected:
    void SetUp() override {
        m.locked = 1;
        m.signalPresent = 0;
        m.lossTime = 5;
        m.signalParamsKnown = m.radarTypeIdentified = m.emissionKindKnown = 1;
        m.frequencyKnown = 1;
        m.guidanceMode = kHoming;
    }
};

TEST_F(LossAction, RecaptureKeepsTheMemoryUnlessForgetting) {
    cats.mode().lossAction = 1;
    step();
    EXPECT_EQ(m.lockLost, 1);
    EXPECT_EQ(m.capturing, 1);
    EXPECT_EQ(m.targetPositionState, kTargetNone);
    EXPECT_EQ(m.signalParamsKnown, 1);
}

TEST_F(LossAction, RecaptureForgetsAndSearches) {
    cats.mode().lossAction = 1;
    cats.mode().forgetOnLoss = 1;
    cats.type().hasInertialGuidance = 1;
    step();
    EXPECT_EQ(m.capturing, 1);
    EXPECT_EQ(m.targetPositionState, kTargetInertial);
    EXPECT_EQ(m.signalParamsKnown, 0);
    EXPECT_EQ(m.radarTypeIdentified, 0);
    EXPECT_EQ(m.emissionKindKnown, 0);
    EXPECT_EQ(m.frequencyKnown, 1);
    EXPECT_EQ(m.searchEnabled, 0);

    m.locked = 1;
    cats.mode().searchOnLoss = 1;
    step();
    EXPECT_EQ(m.searchEnabled, 1);
    EXPECT_EQ(m.capturing, 0);
}

TEST_F(LossAction, WaitingPointOnceThenRecapture) {
    cats.mode().lossAction = 2;
    step();
    EXPECT_EQ(m.loiterUsed, 1);
    EXPECT_EQ(m.guidanceMode, kToWaitingPoint);
    EXPECT_EQ(m.targetPositionState, kTargetNone);
    EXPECT_EQ(m.capturing, 0);
    m.locked = 1;
    m.guidanceMode = kHoming;
    step();
    EXPECT_EQ(m.guidanceMode, kHoming);
    EXPECT_EQ(m.capturing, 1);
}

TEST_F(LossAction, WaitingPointWithInertialGuidanceFliesOnInertialData) {
    cats.mode().lossAction = 2;
    cats.type().hasInertialGuidance = 1;
    step();
    EXPECT_EQ(m.guidanceMode, kToWaitingPoint);
    EXPECT_EQ(m.targetPositionState, kTargetInertial);
}

// --- estimate
// ----------------------------------------------------------------------------------------

TEST_F(SeekerTracking, OneEmitterEstimateIsItsPosition) {
    RadarSite& r = scene.addRadar(kSearch, 100, 103);
    r.height = 2;
    m.capturing = 1;
    step();
    EXPECT_EQ(m.targetX, 100);
    EXPECT_EQ(m.targetY, 103);
    EXPECT_EQ(m.targetAltitude, 2);
    EXPECT_EQ(m.receivedRadarCount, 1);
    EXPECT_EQ(m.receivedRadars[0], 0);
}

TEST_F(SeekerTracking, EstimateIsThePowerWeightedCentre) {
    RadarSite& a = scene.addRadar(kSearch, 100);
    RadarSite& b = scene.addRadar(kSearch, 130, 104);
    b.height = 3;
    m.capturing = 1;
    step();
    const double pa = directPower(c(), m, a, Channel::Main).power;
    const double pb = directPower(c(), m, b, Channel::Main).power;
    const double total = pa + pb;
    const int32_t meanX = (100 + 130) / 2;
    const int32_t meanY = (100 + 104) / 2;
    int32_t x = meanX;
    x = trunc32(x + (100 - meanX) * pa / total);
    x = trunc32(x + (130 - meanX) * pb / total);
    int32_t y = meanY;
    y = trunc32(y + (100 - meanY) * pa / total);
    y = trunc32(y + (104 - meanY) * pb / total);
    const int32_t z = trunc32(trunc32(0 * pa / total) + 3 * pb / total);
    EXPECT_EQ(m.targetX, x);
    EXPECT_EQ(m.targetY, y);
    EXPECT_EQ(m.targetAltitude, z);
    // The nearer radar is much louder: the estimate lies near it.
    EXPECT_LT(m.targetX, 110);
}

TEST_F(SeekerTracking, ReflectionsAddTheRadarsPositionAndTheLandmarkToTheList) {
    cats.type().sensitivity = 1e-12;
    RadarSite& r = scene.addRadar(kSearch, 100, 200);  // out of view; beam at the landmark
    r.azimuth = bearingDeg(100, 200, 80, 100);
    scene.addLandmark(200, 300, 500);  // not in view
    scene.addLandmark(80, 100, 500);
    m.capturing = 1;
    step();
    EXPECT_EQ(m.signalPresent, 1);
    EXPECT_EQ(m.receivedRadarCount, 0);
    ASSERT_EQ(m.receivedReflectionCount, 1);
    EXPECT_EQ(m.receivedReflections[0], 1);
    EXPECT_EQ(m.targetX, 100);
    EXPECT_EQ(m.targetY, 200);
}

TEST_F(SeekerTracking, ReceivedListsKeepTheFirstTenButTheEstimateUsesAll) {
    for (int32_t i = 0; i < 12; ++i) {
        scene.addRadar(kSearch, 100 + 10 * i);
    }
    m.capturing = 1;
    step();
    EXPECT_EQ(m.receivedRadarCount, 10);
    EXPECT_EQ(m.receivedRadars[9], 9);
    // Twelve radars: mean 155, so the far ones pull the estimate beyond the first ten's mean.
    double total = 0;
    for (int32_t i = 0; i < 12; ++i) {
        total += directPower(c(), m, scene.world->radars[i], Channel::Main).power;
    }
    int32_t x = 155;
    for (int32_t i = 0; i < 12; ++i) {
        const double p = directPower(c(), m, scene.world->radars[i], Channel::Main).power;
        x = trunc32(x + (100 + 10 * i - 155) * p / total);
    }
    EXPECT_EQ(m.targetX, x);
}

TEST_F(SeekerTracking, EveryReceivedStepResetsTheInertialPosition) {
    RadarSite& r = scene.addRadar(kSearch, 100);
    m.capturing = 1;
    m.insX = 1;
    m.insY = 2;
    m.insAltitude = 3;
    step();
    EXPECT_EQ(m.insX, m.x);
    EXPECT_EQ(m.insY, m.y);
    EXPECT_EQ(m.insAltitude, m.altitude);
    m.insX = 7;
    r.radiating = false;
    step();
    EXPECT_EQ(m.insX, 7);
}

// --- parameter learning and memory
// ------------------------------------------------------------------

TEST_F(SeekerTracking, LevelTwoEndsWithTheLastRadarsPulseParameters) {
    MissileType& t = cats.type();
    t.measuresPrf = 1;
    t.measuresPulseWidth = 1;
    testing::measureFrequencyOnFiftyMegahertzChannels(t);
    cats.mode().recognitionLevel = 2;
    m.pulsed = 1;
    // Within 15 % of each other, so the second radar is accepted after the first is learned.
    cats.radars.types[kSearchTrack].prfModes[0].prf = 1300;
    scene.addRadar(kSearch, 100).frequency = 4075;       // 1200 Hz, 1.2 us, channel 37
    scene.addRadar(kSearchTrack, 110).frequency = 6000;  // 1300 Hz, 1.16 us, channel 76
    m.capturing = 1;
    step();
    ASSERT_EQ(m.receivedRadarCount, 2);
    EXPECT_EQ(m.prf, 1300);
    EXPECT_DOUBLE_EQ(m.pulseWidth, 1.16);
    // The frequency is learned only once pulse parameters are known: on the second radar.
    EXPECT_EQ(m.frequencyKnown, 1);
    EXPECT_EQ(m.frequencyChannel, 76);
    EXPECT_EQ(m.signalParamsKnown, 1);
}

TEST_F(SeekerTracking, LevelThreeKeepsTheFirstLearnedValues) {
    MissileType& t = cats.type();
    t.measuresPrf = 1;
    t.measuresPulseWidth = 1;
    t.identifiesRadarType = 1;
    t.acceptAllTypes = 1;
    cats.mode().recognitionLevel = 3;
    m.pulsed = 1;
    cats.radars.types[kSearch].prfModes[1] = PrfMode{1300, 1.3, true, 1, 0};
    scene.addRadar(kSearch, 100);
    scene.addRadar(kSearch, 110).prfMode = 1;  // same type, parameters within 15 %
    m.capturing = 1;
    step();
    ASSERT_EQ(m.receivedRadarCount, 2);
    EXPECT_EQ(m.prf, 1200);
    EXPECT_DOUBLE_EQ(m.pulseWidth, 1.2);
    EXPECT_EQ(m.targetRadarType, kSearch);
    EXPECT_EQ(m.radarTypeIdentified, 1);
}

TEST_F(SeekerTracking, FrequencyWithoutPulseMeasurementIsLearnedFirst) {
    MissileType& t = cats.type();
    testing::measureFrequencyOnFiftyMegahertzChannels(t);
    scene.addRadar(kSearch, 100).frequency = 4075;
    scene.addRadar(kSearch, 110).frequency = 6000;
    m.capturing = 1;
    step();
    EXPECT_EQ(m.frequencyChannel, 37);
}

TEST_F(SeekerTracking, LevelOneLearnsTheKindOnce) {
    cats.type().measuresEmissionKind = 1;
    cats.mode().recognitionLevel = 1;
    scene.addRadar(kContinuous, 100);
    scene.addRadar(kSearch, 110);
    m.pulsed = 1;
    m.capturing = 1;
    step();
    EXPECT_EQ(m.emissionKindKnown, 1);
    EXPECT_EQ(m.pulsed, 0);
}

TEST_F(SeekerTracking, IlluminationPassLearnsFromTheMainMode) {
    cats.type().measuresPrf = 1;
    cats.mode().recognitionLevel = 2;
    cats.type().bands = "I";
    m.pulsed = 1;
    RadarSite& r = scene.addRadar(kFireControl, 100);
    r.illuminationOn = true;
    r.radiating = true;
    m.capturing = 1;
    step();
    EXPECT_EQ(m.prf, 1850);
}

TEST_F(SeekerTracking, SeparatingSeekerFollowsTheFirstPulsedRadar) {
    MissileType& t = cats.type();
    t.measuresPrf = 1;
    t.separatesEmitters = 1;
    scene.addRadar(kContinuous, 100);
    RadarSite& pulsed = scene.addRadar(kSearch, 110);
    pulsed.index = 17;
    scene.addRadar(kSearch, 120);
    m.capturing = 1;
    step();
    EXPECT_EQ(m.trackedRadarId, 17);
    for (RadarSite& r : scene.world->radars) {
        r.radiating = false;
    }
    step();
    EXPECT_EQ(m.trackedRadarId, -1);
}

TEST_F(SeekerTracking, MemoryExpiresWithoutSignal) {
    cats.type().measuresFrequency = 1;
    cats.type().measuresPrf = 1;
    cats.mode().recognitionLevel = 3;
    m.capturing = 1;
    m.frequencyKnown = 1;
    m.signalParamsKnown = 1;
    m.frequencyAge = 0.1;
    m.paramsAge = 0.3;
    step();
    EXPECT_EQ(m.frequencyKnown, 1);  // 0.1 is not above 0.1
    m.frequencyAge = 0.11;
    step();
    EXPECT_EQ(m.frequencyKnown, 0);
    EXPECT_EQ(m.frequencyAge, 0);
    EXPECT_EQ(m.signalParamsKnown, 0);  // the same step: level 3, params aged
    EXPECT_EQ(m.paramsAge, 0);
}

TEST_F(SeekerTracking, PulseMemoryExpiresOnlyAtLevelThree) {
    cats.type().measuresPrf = 1;
    cats.mode().recognitionLevel = 2;
    m.capturing = 1;
    m.signalParamsKnown = 1;
    m.paramsAge = 0.3;
    step();
    EXPECT_EQ(m.signalParamsKnown, 1);
}

// --- emission acceptance
// -----------------------------------------------------------------------------

class Acceptance : public SeekerTracking {
  protected:
    void SetUp() override {
        MissileType& t = cats.type();
        t.measuresPrf = 1;
        t.measuresPulseWidth = 1;
        t.measuresEmissionKind = 1;
        testing::measureFrequencyOnFiftyMegahertzChannels(t);
        cats.mode().recognitionLevel = 2;
        m.signalParamsKnown = 1;
        m.frequencyKnown = 1;
        m.pulsed = 1;
        m.prf = 2000;
        m.pulseWidth = 20;
        m.frequencyChannel = 56;  // 5000 MHz
    }

    RadarSite& radarWith(int32_t prf, double pulseWidth) {
        cats.radars.types[kSearch].prfModes[0].prf = prf;
        cats.radars.types[kSearch].prfModes[0].pulseWidth = pulseWidth;
        return scene.world->radarCount > 0 ? scene.world->radars[0] : scene.addRadar(kSearch, 100);
    }
};

TEST_F(Acceptance, FifteenPercentIsAcceptedExactly) {
    EXPECT_TRUE(accepts(radarWith(2000, 20)));
    EXPECT_TRUE(accepts(radarWith(2300, 20)));
    EXPECT_FALSE(accepts(radarWith(2301, 20)));
    EXPECT_TRUE(accepts(radarWith(1700, 20)));
    EXPECT_FALSE(accepts(radarWith(1699, 20)));
    EXPECT_TRUE(accepts(radarWith(2000, 23)));
    EXPECT_FALSE(accepts(radarWith(2000, 24)));
    EXPECT_TRUE(accepts(radarWith(2000, 16.5)));  // trunc(-3.5) = -3
    EXPECT_FALSE(accepts(radarWith(2000, 16)));
}

TEST_F(Acceptance, PulseWidthDifferenceIsTruncatedFirst) {
    m.pulseWidth = 1.2;
    EXPECT_TRUE(accepts(radarWith(2000, 1.38)));
    EXPECT_TRUE(accepts(radarWith(2000, 2.19)));
    EXPECT_FALSE(accepts(radarWith(2000, 2.2)));
}

TEST_F(Acceptance, FrequencyChannelMustMatch) {
    RadarSite& r = radarWith(2000, 20);
    int32_t channel = 0;
    r.frequency = 6000;
    EXPECT_FALSE(acceptEmission(c(), m, r, 0, channel));
    EXPECT_EQ(channel, 76);
    m.frequencyKnown = 0;  // level 2: then the pulse width is not compared either
    EXPECT_TRUE(accepts(radarWith(2000, 40)));
    EXPECT_FALSE(accepts(radarWith(2400, 40)));
}

TEST_F(Acceptance, ContinuousMemoryComparesNoPulses) {
    m.pulsed = 0;
    EXPECT_TRUE(accepts(radarWith(9000, 99)));
}

TEST_F(Acceptance, LevelThreeComparesTheRadarType) {
    cats.mode().recognitionLevel = 3;
    m.radarTypeIdentified = 1;
    m.targetRadarType = kSearch;
    const RadarSite& r = radarWith(2000, 20);
    EXPECT_TRUE(accepts(r));
    m.targetRadarType = kSearchTrack;
    EXPECT_FALSE(accepts(r));
    // A type the filter does not accept is not compared.
    cats.type().identifiesRadarType = 1;
    EXPECT_TRUE(accepts(r));
    // The pulse-width test applies at level 3 even without a known frequency.
    m.targetRadarType = kSearch;
    m.frequencyKnown = 0;
    EXPECT_FALSE(accepts(radarWith(2000, 24)));
    // ... and not for a memorised continuous wave.
    m.pulsed = 0;
    EXPECT_TRUE(accepts(radarWith(2000, 24)));
    EXPECT_TRUE(accepts(radarWith(9000, 24)));
}

TEST_F(Acceptance, EmissionKindComparedAtLevelOne) {
    cats.mode().recognitionLevel = 1;
    m.signalParamsKnown = 0;
    m.emissionKindKnown = 1;
    const RadarSite& pulsed = radarWith(2000, 20);
    const RadarSite& cw = scene.addRadar(kContinuous, 100);
    EXPECT_TRUE(accepts(pulsed));
    EXPECT_FALSE(accepts(cw));
    cats.type().measuresEmissionKind = 0;
    EXPECT_TRUE(accepts(cw));
    // Levels 2 and 3 with only the kind known compare the kind too.
    cats.type().measuresEmissionKind = 1;
    cats.mode().recognitionLevel = 3;
    EXPECT_FALSE(accepts(cw));
    cats.mode().recognitionLevel = 0;
    EXPECT_TRUE(accepts(cw));
}

TEST_F(Acceptance, NothingMemorisedAcceptsAnyEmission) {
    m.signalParamsKnown = 0;
    EXPECT_TRUE(accepts(radarWith(50000, 300)));
}

TEST_F(Acceptance, EmissionKindTheSeekerCannotHearIsRefused) {
    cats.type().emissionKinds = 0;
    m.signalParamsKnown = 0;
    RadarSite& fc = scene.addRadar(kFireControl, 100);
    EXPECT_TRUE(accepts(fc, 0));
    EXPECT_FALSE(accepts(fc, -1));
    cats.type().emissionKinds = 1;
    EXPECT_FALSE(accepts(fc, 0));
    EXPECT_TRUE(accepts(fc, -1));
}

TEST_F(Acceptance, PulseTrainSeparationRefusesOtherRadarsMainEmission) {
    cats.type().separatesEmitters = 1;
    RadarSite& followed = radarWith(2000, 20);
    followed.index = 3;
    RadarSite& other = scene.addRadar(kFireControl, 100);
    other.index = 4;
    m.trackedRadarId = 3;
    EXPECT_TRUE(accepts(followed));
    EXPECT_FALSE(accepts(other, 0));
    m.pulsed = 0;
    EXPECT_TRUE(accepts(other, -1));  // the illumination pass is not separated
    m.trackedRadarId = -1;
    m.pulsed = 1;
    cats.radars.types[kFireControl].prfModes[0] = PrfMode{2000, 20, true, 1, 0};
    EXPECT_TRUE(accepts(other, 0));
}

TEST_F(Acceptance, DesignatedRadarOnlyBeforeLaunch) {
    cats.mode().designatedRadarOnly = 1;
    m.signalParamsKnown = 0;
    RadarSite& r = radarWith(2000, 20);
    r.index = 9;
    m.targetRadarId = 8;
    EXPECT_FALSE(accepts(r));
    m.targetRadarId = 9;
    EXPECT_TRUE(accepts(r));
    m.targetRadarId = 8;
    m.launched = 1;
    EXPECT_TRUE(accepts(r));
}

TEST_F(SeekerTracking, RefusedEmissionsAreNotReceived) {
    cats.mode().designatedRadarOnly = 1;
    m.targetRadarId = 1;
    scene.addRadar(kSearch, 100);
    scene.addRadar(kSearch, 120);
    m.capturing = 1;
    step();
    ASSERT_EQ(m.receivedRadarCount, 1);
    EXPECT_EQ(m.receivedRadars[0], 1);
    EXPECT_EQ(m.targetX, 120);
}

TEST_F(SeekerTracking, BandOfTheMainChannelDecidesForTheIlluminationToo) {
    cats.type().bands = "G";
    RadarSite& r = scene.addRadar(kFireControl, 100);
    cats.radars.types[kFireControl].illuminatorBand = 'G';
    r.illuminationOn = true;
    m.capturing = 1;
    step();
    EXPECT_EQ(m.signalPresent, 0);
    cats.type().bands = "I";
    cats.type().emissionKinds = 1;  // only the illumination pass is accepted
    step();
    EXPECT_EQ(m.signalPresent, 1);
}

// --- antenna and target direction
// -----------------------------------------------------------------

TEST_F(SeekerTracking, AntennaSlewsAtItsRateAndStopsAtTheLimit) {
    cats.type().maxAngularRate = 100;
    cats.type().headAzimuthLimit = 3;
    m.locked = 1;
    m.targetPositionState = kTargetNone;  // keep the target direction as set
    m.bearingToTarget = 10;
    headStep(c(), *scene.world, m);
    EXPECT_DOUBLE_EQ(m.headAzimuth, 1);
    headStep(c(), *scene.world, m);
    headStep(c(), *scene.world, m);
    EXPECT_DOUBLE_EQ(m.headAzimuth, 3);
    m.bearingToTarget = 350;  // the target moves back: the antenna stays at the limit
    headStep(c(), *scene.world, m);
    EXPECT_DOUBLE_EQ(m.headAzimuth, 3);
}

TEST_F(SeekerTracking, AntennaElevationMovesOnlyStrictlyInsideItsLimits) {
    cats.type().maxAngularRate = 100;
    cats.type().headElevationMin = -2;
    m.locked = 1;
    m.targetPositionState = kTargetNone;
    m.elevationToTarget = 340;
    headStep(c(), *scene.world, m);
    EXPECT_DOUBLE_EQ(m.headElevation, -1);
    headStep(c(), *scene.world, m);
    EXPECT_DOUBLE_EQ(m.headElevation, -2);
    headStep(c(), *scene.world, m);
    EXPECT_DOUBLE_EQ(m.headElevation, -2);
    m.elevationToTarget = 20;
    headStep(c(), *scene.world, m);
    EXPECT_DOUBLE_EQ(m.headElevation, -2);
}

TEST_F(SeekerTracking, AntennaStillWithoutLock) {
    m.targetPositionState = kTargetNone;
    m.bearingToTarget = 10;
    headStep(c(), *scene.world, m);
    EXPECT_EQ(m.headAzimuth, 0);
    cats.type().hasInertialGuidance = 1;
    m.lockLost = 1;
    headStep(c(), *scene.world, m);
    EXPECT_DOUBLE_EQ(m.headAzimuth, 0.1);
}

TEST_F(SeekerTracking, SeekerDataGiveTheNoisyDirection) {
    cats.type().bearingNoise = 1.5;
    m.targetPositionState = kTargetFromSeeker;
    m.targetX = 100;
    m.targetY = 150;
    m.targetAltitude = 0;
    std::mt19937 copy = scene.world->random;
    headStep(c(), *scene.world, m);
    const double noiseAz = (1 - randomBelow(copy, 100) * 2 * 0.01) * 1.5;
    const double noiseEl = (1 - randomBelow(copy, 100) * 2 * 0.01) * 1.5;
    EXPECT_DOUBLE_EQ(m.bearingToTarget, bearingDeg(50, 100, 100, 150) + noiseAz);
    const double dist = std::sqrt(square(100 - 50.0) + square(150 - 100.0));
    EXPECT_DOUBLE_EQ(m.elevationToTarget, bearingDeg(0, 0.5, dist, 0) + noiseEl);
    EXPECT_LE(std::abs(noiseAz), 1.5);
}

TEST_F(SeekerTracking, InertialDataGiveTheDirectionFromTheInertialPosition) {
    cats.type().hasInertialGuidance = 1;
    cats.type().bearingNoise = 1.5;
    m.targetPositionState = kTargetInertial;
    m.trackedRadarId = 4;
    m.insX = 100;
    m.insY = 100;
    m.insAltitude = 10;
    m.targetX = 100;
    m.targetY = 150;
    const std::mt19937 before = scene.world->random;
    headStep(c(), *scene.world, m);
    EXPECT_EQ(m.bearingToTarget, 90);
    EXPECT_EQ(m.elevationToTarget, bearingDeg(0, 10, 50, 0));
    EXPECT_EQ(m.trackedRadarId, -1);
    EXPECT_TRUE(scene.world->random == before);  // no noise drawn
    // Without inertial guidance the inertial state leaves the directions alone.
    cats.type().hasInertialGuidance = 0;
    m.bearingToTarget = 5;
    headStep(c(), *scene.world, m);
    EXPECT_EQ(m.bearingToTarget, 5);
}

// --- timers
// ------------------------------------------------------------------------------------------

TEST_F(SeekerTracking, TimersRunOnlyInTheirStates) {
    MissileType& t = cats.type();
    t.measuresFrequency = 1;
    t.measuresPrf = 1;
    m.signalPresent = 1;
    timerStep(c(), m);
    EXPECT_DOUBLE_EQ(m.signalTime, 0.01);
    EXPECT_EQ(m.lossTime, 0);
    m.locked = 1;
    m.signalPresent = 0;
    m.signalParamsKnown = 1;
    m.frequencyKnown = 1;
    timerStep(c(), m);
    EXPECT_DOUBLE_EQ(m.signalTime, 0.01);
    EXPECT_DOUBLE_EQ(m.lossTime, 0.01);
    EXPECT_DOUBLE_EQ(m.frequencyAge, 0.01);
    EXPECT_EQ(m.paramsAge, 0);  // the frequency memory ages first
    m.frequencyKnown = 0;
    timerStep(c(), m);
    EXPECT_DOUBLE_EQ(m.frequencyAge, 0.01);
    EXPECT_DOUBLE_EQ(m.paramsAge, 0.01);
    EXPECT_EQ(m.scanTimer, 0);
    m.searchEnabled = 1;
    timerStep(c(), m);
    EXPECT_DOUBLE_EQ(m.scanTimer, 0.01);
}

// --- the program's catalogue
// -----------------------------------------------------------------------

TEST(SeekerTrackingCatalogue, ShrikeLocksOnTheOneSThirtyOne) {
    Scene scene;
    Missile& m = scene.missile();
    m.typeIndex = 13;  // "AGM-45 Shrike B-9", band I, pulsed only
    ASSERT_EQ(missileType(13).name, "AGM-45 Shrike B-9");
    RadarSite& r = scene.addRadar(0, 100);
    r.frequency = radarType(0).freqMin;
    m.capturing = 1;
    int32_t ticks = 0;
    while (!m.locked && ticks < 500) {
        if (m.capturing || m.locked) {
            seekerStep(*scene.world, m);
        }
        if (m.targetPositionState != kTargetNone) {
            headStep(*scene.world, m);
        }
        timerStep(m);
        ++ticks;
    }
    EXPECT_EQ(ticks, 101);
    EXPECT_EQ(m.targetX, 100);
    EXPECT_EQ(m.targetY, 100);
    int32_t channel = -1;
    EXPECT_TRUE(acceptEmission(m, r, 0, channel));
    EXPECT_EQ(channel, 0);
}

TEST(SeekerTrackingCatalogue, AlarmSuppressionModeFindsAndLocksADefaultRadarThroughTheTick) {
    auto world = makeWorld();
    startWorld(*world);
    world->selectedAircraft = 0;
    const int32_t row = addMissile(*world, 4, 3);  // "ALARM", "режим подавления"
    ASSERT_GE(row, 0);
    Missile& m = world->missiles[row];
    ASSERT_EQ(m.targetListCount, 6);
    m.activated = 1;
    // The crew's data entry on radar 0 fills the radar types the seeker accepts.
    lockOnEmitter(*world, m, 0, Channel::Main, false);
    m.searchEnabled = 1;
    int32_t ticks = 0;
    while (!m.locked && ticks < 400) {
        SimulationTick(*world);
        ++ticks;
    }
    // The search runs once the scan timer passes 0.5 s (tick 51) and picks, by the target
    // list, a radar still at its stored position; the capture then locks 101 ticks later.
    EXPECT_EQ(ticks, 151);
    EXPECT_EQ(m.locked, 1);
    EXPECT_EQ(m.searchEnabled, 0);
    // Both 1С31 of the two complexes are heard: the estimate lies between them.
    EXPECT_EQ(m.receivedRadarCount, 2);
    EXPECT_GE(m.targetX, 430);
    EXPECT_LE(m.targetX, 435);
    EXPECT_GE(m.targetY, 316);
    EXPECT_LE(m.targetY, 324);
}

}  // namespace
}  // namespace prrsim
