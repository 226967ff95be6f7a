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

    void step() { seekerStep(c(), *scene.world, *scene.scratch, m); }
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

// --- acceptance ----------------------------------------------------------------------------

struct AcceptRow {
    int32_t prf;
    double pulseWidth;
    bool accepted;
};

class Acceptance : public SeekerTracking, public ::testing::WithParamInterface<AcceptRow> {};

// A memorised pulsed emission of 2000 Hz and 20 us at 5000 MHz (level 2): PRF and pulse width
// may deviate by 15 %, the pulse-width difference truncated first.
TEST_P(Acceptance, FifteenPercentIsAcceptedExactly) {
    MissileType& t = cats.type();
    t.measuresPrf = t.measuresPulseWidth = t.measuresEmissionKind = 1;
    testing::measureFrequencyOnFiftyMegahertzChannels(t);
    cats.mode().recognitionLevel = 2;
    m.signalParamsKnown = m.frequencyKnown = m.pulsed = 1;
    m.prf = 2000;
    m.pulseWidth = 20;
    m.frequencyChannel = 56;
    cats.radars.types[kSearch].prfModes[0].prf = GetParam().prf;
    cats.radars.types[kSearch].prfModes[0].pulseWidth = GetParam().pulseWidth;
    EXPECT_EQ(accepts(scene.addRadar(kSearch, 100)), GetParam().accepted);
}

INSTANTIATE_TEST_SUITE_P(Rows, Acceptance,
                         ::testing::Values(AcceptRow{2000, 20, true}, AcceptRow{2300, 20, true},
                                           AcceptRow{2301, 20, false}, AcceptRow{1700, 20, true},
                                           AcceptRow{1699, 20, false}, AcceptRow{2000, 23, true},
                                           AcceptRow{2000, 24, false}, AcceptRow{2000, 16.5, true},
                                           AcceptRow{2000, 16, false}));

// Memories the scenarios never leave: only the emission kind or only the radar type known, and a
// level-3 memory of a pulsed emission against one of a continuous wave.
TEST_F(SeekerTracking, AcceptanceByWhatIsMemorised) {
    MissileType& t = cats.type();
    t.measuresEmissionKind = t.measuresPulseWidth = 1;
    cats.mode().recognitionLevel = 3;
    const RadarSite& cw = scene.addRadar(kContinuous, 100);
    const RadarSite& pulsed = scene.addRadar(kSearch, 100);  // 1.2 us pulses
    m.emissionKindKnown = 1;                                 // only the kind: the kind is compared
    m.pulsed = 1;
    EXPECT_FALSE(accepts(cw));
    EXPECT_TRUE(accepts(pulsed));
    m.emissionKindKnown = 0;  // only the type: the type is compared
    m.radarTypeIdentified = 1;
    m.targetRadarType = kSearchTrack;
    EXPECT_FALSE(accepts(pulsed));
    m.targetRadarType = kSearch;
    m.signalParamsKnown = 1;  // the pulse width of a pulsed memory, whatever the frequency
    m.pulseWidth = 2.5;
    EXPECT_FALSE(accepts(pulsed));
    m.pulsed = 0;  // ... but not of a continuous-wave memory
    EXPECT_TRUE(accepts(pulsed));
}

// The program's "ALARM" in "режим подавления" after the crew's data entry: the automatic search
// runs once the scan timer passes 0.5 s, picks by the target list a radar still at its stored
// place and stops; the capture locks 101 ticks later.
TEST(SeekerSearchThroughTheTick, AlarmFindsADefaultRadarByItsTargetListAndStopsSearching) {
    auto world = makeWorld();
    startWorld(*world);
    Missile& m = world->missiles[addMissile(*world, 0, 4, 3)];
    m.activated = 1;
    lockOnEmitter(programCatalogs(), *world, m, 0, Channel::Main, false);
    m.searchEnabled = 1;
    int32_t ticks = 0;
    const auto scratch = makeSeekerScratch();
    while (!m.locked && ticks < 400) {
        SimulationTick(*world, *scratch);
        ++ticks;
    }
    EXPECT_EQ(ticks, 151);
    EXPECT_EQ(m.searchEnabled, 0);
    EXPECT_EQ(m.receivedRadarCount, 2);  // both 1С31 of the two complexes
}

}  // namespace
}  // namespace prrsim
