#include "missile/seeker/seeker_reception.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string_view>

#include "seeker_test_support.h"
#include "world/geometry.h"

namespace prrsim {
namespace {

using testing::kContinuous;
using testing::kFireControl;
using testing::kMultiTarget;
using testing::kSearch;
using testing::kSearchTrack;
using testing::Scene;
using testing::TestCatalogs;

class SeekerReception : public ::testing::Test {
  protected:
    TestCatalogs cats;
    Scene scene;
    Missile& m = scene.missile();
    SeekerCatalogs c() const { return cats.view(); }
};

// --- band, emission kind, type filter, channel, rank ------------------------------------------

struct BandRow {
    std::string_view bands;
    char band;
    bool covered;
};

class BandCoverage : public SeekerReception, public ::testing::WithParamInterface<BandRow> {};

TEST_P(BandCoverage, ComparesLettersExactly) {
    cats.type().bands = GetParam().bands;
    cats.radars.types[kSearch].band = GetParam().band;
    const RadarSite& r = scene.addRadar(kSearch, 100);
    EXPECT_EQ(bandCovered(c(), m, r, Channel::Main), GetParam().covered);
}

INSTANTIATE_TEST_SUITE_P(Letters, BandCoverage,
                         ::testing::Values(BandRow{"EF", 'G', false}, BandRow{"G", 'G', true},
                                           BandRow{"EFGHI", 'E', true}, BandRow{"EFGHI", 'I', true},
                                           BandRow{"EFGHI", 'D', false},
                                           BandRow{"EFGHI", 'J', false},
                                           BandRow{"EFGHI", 'A', false},
                                           BandRow{"DEFGHIJK", 'K', true}));

TEST_F(SeekerReception, IlluminationChannelUsesTheIlluminatorBand) {
    cats.radars.types[kFireControl].band = 'G';
    cats.type().bands = "I";
    const RadarSite& r = scene.addRadar(kFireControl, 100);
    EXPECT_FALSE(bandCovered(c(), m, r, Channel::Main));
    EXPECT_TRUE(bandCovered(c(), m, r, Channel::Illumination));
    // A type without an illuminator has no illumination band at all.
    const RadarSite& s = scene.addRadar(kSearch, 100);
    cats.type().bands = "GHI";
    EXPECT_FALSE(bandCovered(c(), m, s, Channel::Illumination));
}

TEST_F(SeekerReception, EmissionKindsAcceptedByTheSeeker) {
    const RadarSite& pulsed = scene.addRadar(kSearch, 100);
    const RadarSite& cw = scene.addRadar(kContinuous, 100);
    const RadarSite& fc = scene.addRadar(kFireControl, 100);
    struct Row {
        uint8_t kinds;
        bool pulsedOk;
        bool cwOk;
    };
    for (const Row row : {Row{0, true, false}, Row{1, false, true}, Row{2, true, true}}) {
        cats.type().emissionKinds = row.kinds;
        EXPECT_EQ(emissionKindAccepted(c(), m, pulsed, Channel::Main), row.pulsedOk);
        EXPECT_EQ(emissionKindAccepted(c(), m, cw, Channel::Main), row.cwOk);
        // The illumination signal is continuous wave whatever the main emission.
        EXPECT_EQ(emissionKindAccepted(c(), m, fc, Channel::Illumination), row.cwOk);
    }
}

TEST_F(SeekerReception, EmissionKindFollowsTheSitesCurrentMode) {
    cats.radars.types[kSearch].prfModes[1].pulsed = false;
    cats.type().emissionKinds = 0;
    RadarSite& r = scene.addRadar(kSearch, 100);
    EXPECT_TRUE(emissionKindAccepted(c(), m, r, Channel::Main));
    r.prfMode = 1;
    EXPECT_FALSE(emissionKindAccepted(c(), m, r, Channel::Main));
    r.prfMode = 7;  // outside the list: the first mode
    EXPECT_TRUE(emissionKindAccepted(c(), m, r, Channel::Main));
}

TEST_F(SeekerReception, RadarTypeFilter) {
    MissileType& t = cats.type();
    EXPECT_TRUE(radarTypeAccepted(c(), m, 3));  // no identification: everything passes
    t.identifiesRadarType = 1;
    EXPECT_FALSE(radarTypeAccepted(c(), m, 3));  // empty accepted list accepts nothing
    m.acceptedTypes[0] = 3;
    m.acceptedTypeCount = 1;
    EXPECT_TRUE(radarTypeAccepted(c(), m, 3));
    EXPECT_FALSE(radarTypeAccepted(c(), m, 4));
    t.useOwnTypeList = 1;
    t.ownTypeList[0] = 10;
    t.ownTypeList[1] = 18;
    t.ownTypeCount = 2;
    EXPECT_FALSE(radarTypeAccepted(c(), m, 3));
    EXPECT_TRUE(radarTypeAccepted(c(), m, 18));
    t.acceptAllTypes = 1;
    EXPECT_TRUE(radarTypeAccepted(c(), m, 3));
}

TEST_F(SeekerReception, UniformChannels) {
    MissileType& t = cats.type();
    t.channelTable[0] = 2200;
    t.channelTable[1] = 10500;
    t.channelTable[2] = 50;
    t.channelTableCount = 3;
    EXPECT_EQ(frequencyChannelOf(c(), m, 4075), 37);
    EXPECT_EQ(frequencyChannelOf(c(), m, 2200), 0);
    EXPECT_EQ(frequencyChannelOf(c(), m, 10500), 0);
    EXPECT_EQ(frequencyChannelOf(c(), m, 2249.9), 0);
    EXPECT_EQ(frequencyChannelOf(c(), m, 2250), 1);
    EXPECT_EQ(frequencyChannelOf(c(), m, 10499), 165);
    t.channelRule = 1;
    EXPECT_EQ(frequencyChannelOf(c(), m, 4075), 37);
    t.channelRule = 3;
    EXPECT_EQ(frequencyChannelOf(c(), m, 4075), 0);
}

TEST_F(SeekerReception, NoChannelTableGivesChannelZero) {
    EXPECT_EQ(frequencyChannelOf(c(), m, 4075), 0);
    cats.type().channelRule = 2;
    EXPECT_EQ(frequencyChannelOf(c(), m, 4075), 0);
}

TEST_F(SeekerReception, BoundaryTableCountsLeadingBoundariesBelow) {
    MissileType& t = cats.type();
    t.channelRule = 2;
    t.channelTable[0] = 1000;
    t.channelTable[1] = 2000;
    t.channelTable[2] = 3000;
    t.channelTable[3] = 9000;  // beyond the count: ignored
    t.channelTableCount = 3;
    EXPECT_EQ(frequencyChannelOf(c(), m, 500), 0);
    EXPECT_EQ(frequencyChannelOf(c(), m, 1000), 0);
    EXPECT_EQ(frequencyChannelOf(c(), m, 1500), 1);
    EXPECT_EQ(frequencyChannelOf(c(), m, 2000), 1);
    EXPECT_EQ(frequencyChannelOf(c(), m, 2999), 2);
    EXPECT_EQ(frequencyChannelOf(c(), m, 9500), 3);
}

TEST_F(SeekerReception, PriorityRankKeys) {
    MissileType& t = cats.type();
    t.priorityList = {3, 4, 1, 2, 0};
    t.priorityCount = 5;
    const RadarSite& fc = scene.addRadar(kFireControl, 100);  // kind 4, category 5
    const RadarSite& mt = scene.addRadar(kMultiTarget, 100);  // kind 2, category 3
    const RadarSite& se = scene.addRadar(kSearch, 100);       // kind 0, category 1
    t.selectionRule = 2;
    EXPECT_EQ(priorityRank(c(), m, fc), 1);
    EXPECT_EQ(priorityRank(c(), m, mt), 3);
    EXPECT_EQ(priorityRank(c(), m, se), 4);
    t.selectionRule = 1;
    EXPECT_EQ(priorityRank(c(), m, fc), -1);
    EXPECT_EQ(priorityRank(c(), m, mt), 0);
    EXPECT_EQ(priorityRank(c(), m, se), 2);
    t.selectionRule = 6;
    EXPECT_EQ(priorityRank(c(), m, fc), 4);  // type index 0
    EXPECT_EQ(priorityRank(c(), m, mt), 0);  // type index 3
    const RadarSite& st = scene.addRadar(kSearchTrack, 100);
    EXPECT_EQ(priorityRank(c(), m, st), 1);  // type index 4
    t.priorityCount = 1;                     // only the first key is listed
    EXPECT_EQ(priorityRank(c(), m, st), -1);
    t.selectionRule = 0;
    EXPECT_EQ(priorityRank(c(), m, fc), -1);
}

// --- fields of view ------------------------------------------------------------------------------

TEST_F(SeekerReception, FieldOfViewAboutTheAntennaDirection) {
    const RadarSite& ahead = scene.addRadar(kSearch, 100);
    const RadarSite& off = scene.addRadar(kSearch, 100, 110);  // bearing 11 degrees
    EXPECT_TRUE(inFieldOfView(c(), m, ahead));
    EXPECT_FALSE(inFieldOfView(c(), m, off));
    m.headAzimuth = 8;
    EXPECT_TRUE(inFieldOfView(c(), m, off));
    EXPECT_FALSE(inFieldOfView(c(), m, ahead));
    // Elevation: a missile 20 units up sees the radar about 22 degrees below.
    m.headAzimuth = 0;
    m.altitude = 20;
    EXPECT_FALSE(inFieldOfView(c(), m, ahead));
    m.headElevation = -20;
    EXPECT_TRUE(inFieldOfView(c(), m, ahead));
}

TEST_F(SeekerReception, LookingStraightDownIgnoresAzimuth) {
    // The missile hangs 0.2 east of the radar, nose down: the radar lies 180 degrees off the
    // heading, but with 270 - pitch = 0 inside the field of view the azimuth does not count.
    const RadarSite& below = scene.addRadar(kSearch, 10, 100);
    m.x = 10.2;
    m.pitch = 270;
    m.headElevation = 21;
    ASSERT_EQ(bearingDeg(m.x, m.y, below.x, below.y), 180);
    ASSERT_EQ(bearingDeg(0, m.altitude, 0.2, 0), 291);
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

TEST_F(SeekerReception, ReflectionFieldOfViewAimsAtTheLandmark) {
    const RadarSite& r = scene.addRadar(kSearch, 100, 200);  // far off the nose
    const Landmark& ahead = scene.addLandmark(80, 100, 500);
    const Landmark& aside = scene.addLandmark(80, 140, 500);
    EXPECT_FALSE(inFieldOfView(c(), m, r));
    EXPECT_TRUE(inFieldOfViewAt(c(), m, r, ahead));
    EXPECT_FALSE(inFieldOfViewAt(c(), m, r, aside));
}

TEST_F(SeekerReception, GimbalRangeAddsHalfTheLimitAndHalfTheFieldOfView) {
    // Limit 60, field of view 10: 35 degrees each side.
    const RadarSite& at34 = scene.addRadar(kSearch, 100, 134);  // atan(34/50) = 34.2 -> 34
    const RadarSite& at40 = scene.addRadar(kSearch, 100, 142);
    ASSERT_EQ(bearingDeg(50, 100, 100, 134), 34);
    ASSERT_EQ(bearingDeg(50, 100, 100, 142), 40);
    EXPECT_TRUE(inGimbalRange(c(), m, at34));
    EXPECT_FALSE(inGimbalRange(c(), m, at40));
    EXPECT_FALSE(inFieldOfView(c(), m, at34));
    // Elevation: strictly between -30 - 5 and 30 + 5.
    m.altitude = 30;  // about 31 degrees down at 50 units
    const RadarSite& ahead = scene.addRadar(kSearch, 100);
    EXPECT_TRUE(inGimbalRange(c(), m, ahead));
    m.altitude = 40;
    EXPECT_FALSE(inGimbalRange(c(), m, ahead));
}

// --- power
// -----------------------------------------------------------------------------------------

TEST_F(SeekerReception, DirectPowerFormula) {
    const RadarSite& r = scene.addRadar(kSearch, 100);
    const Reception got = directPower(c(), m, r, Channel::Main);
    // Pt x area x 0.7 x G / (12.56 x (100 d)^2), G = 129600 / (2 x 2).
    const double expected = 100000 * 0.2 * 0.7 * (129600 / (2.0 * 2.0)) / (12.56 * square(5000.0));
    EXPECT_TRUE(got.detected);
    EXPECT_DOUBLE_EQ(got.power, expected);
    cats.type().sensitivity = expected * 1.0000001;
    EXPECT_FALSE(directPower(c(), m, r, Channel::Main).detected);
    cats.type().sensitivity = expected;
    EXPECT_TRUE(directPower(c(), m, r, Channel::Main).detected);
}

TEST_F(SeekerReception, SideLobesLowerThePowerBySidelobeLevel) {
    RadarSite& r = scene.addRadar(kSearch, 100);
    const double main = directPower(c(), m, r, Channel::Main).power;
    r.azimuth += 1;  // still within half the 2-degree beam
    EXPECT_DOUBLE_EQ(directPower(c(), m, r, Channel::Main).power, main);
    r.azimuth += 90;
    const Reception side = directPower(c(), m, r, Channel::Main);
    EXPECT_DOUBLE_EQ(side.power,
                     100000 * std::pow(10.0, -3.0) * 0.2 * 0.7 * 32400 / (12.56 * square(5000.0)));
    cats.type().sensitivity = side.power * 2;
    EXPECT_FALSE(directPower(c(), m, r, Channel::Main).detected);
}

TEST_F(SeekerReception, FanBeamNeverIlluminatesAMissileAtItsOwnHeight) {
    cats.radars.types[kSearch].scanKind = kScanRotationFan;
    RadarSite& r = scene.addRadar(kSearch, 100);
    m.altitude = 0;
    ASSERT_EQ(bearingDeg(0, 0, 50, 0), 360);
    const double fromSideLobe = directPower(c(), m, r, Channel::Main).power;
    m.altitude = 0.5;  // elevation 0 from the radar: within the fan
    const double fromBeam = directPower(c(), m, r, Channel::Main).power;
    EXPECT_NEAR(fromSideLobe / fromBeam, 0.001, 1e-12);
}

TEST_F(SeekerReception, PencilBeamNeedsTheElevationToo) {
    cats.radars.types[kSearch].scanKind = kScanSectorSweep;
    RadarSite& r = scene.addRadar(kSearch, 100);
    m.altitude = 5;  // bearingDeg(0, 0, 50, 5) = 5
    r.elevation = 5;
    const double inBeam = directPower(c(), m, r, Channel::Main).power;
    r.elevation = 7;  // 2 off with half-width 1
    EXPECT_NEAR(directPower(c(), m, r, Channel::Main).power / inBeam, 0.001, 1e-12);
}

TEST_F(SeekerReception, SilentRadarOrIlluminatorIsNotHeard) {
    RadarSite& r = scene.addRadar(kFireControl, 100);
    EXPECT_TRUE(directPower(c(), m, r, Channel::Main).detected);
    EXPECT_FALSE(directPower(c(), m, r, Channel::Illumination).detected);
    r.illuminationOn = true;
    const Reception illum = directPower(c(), m, r, Channel::Illumination);
    EXPECT_TRUE(illum.detected);
    EXPECT_DOUBLE_EQ(illum.power, 2500 * 0.2 * 0.7 * 32400 / (12.56 * square(5000.0)));
    r.radiating = false;
    EXPECT_FALSE(directPower(c(), m, r, Channel::Main).detected);
    EXPECT_FALSE(directPower(c(), m, r, Channel::Illumination).detected);
}

TEST_F(SeekerReception, PowerStaysFiniteOverTheRadar) {
    RadarSite& r = scene.addRadar(kSearch, 50);
    const Reception got = directPower(c(), m, r, Channel::Main);
    EXPECT_TRUE(std::isfinite(got.power));
    EXPECT_GT(got.power, 0);
    const Landmark& l = scene.addLandmark(50, 100, 500);
    const Reception reflected = reflectedPower(c(), m, r, l);
    EXPECT_TRUE(std::isfinite(reflected.power));
    EXPECT_GT(reflected.power, 0);
}

TEST_F(SeekerReception, ReflectedPowerFormula) {
    RadarSite& r = scene.addRadar(kSearch, 100, 130);  // landmark at (100, 100), 30 south
    r.azimuth = bearingDeg(100, 130, 100, 100);
    const Landmark& l = scene.addLandmark(100, 100, 549);
    const Reception got = reflectedPower(c(), m, r, l);
    const double expected = 100000 * 0.2 * 549 * 0.7 * 32400 /
                            (12.56 * 12.56 * square(100 * 50.0) * square(100 * 30.0));
    EXPECT_DOUBLE_EQ(got.power, expected);
    EXPECT_TRUE(got.detected);
    r.azimuth += 180;
    EXPECT_DOUBLE_EQ(reflectedPower(c(), m, r, l).power, expected * std::pow(10.0, -3.0));
    r.radiating = false;
    EXPECT_FALSE(reflectedPower(c(), m, r, l).detected);
}

// --- automatic search
// ------------------------------------------------------------------------------

TEST_F(SeekerReception, IlluminationComesFirstAndSharesTheRadarsPower) {
    RadarSite& r = scene.addRadar(kFireControl, 100);
    r.illuminationOn = true;
    cats.type().selectionRule = 0;
    EXPECT_FALSE(searchEmitters(c(), *scene.world, m).found());
    ASSERT_EQ(m.emitterCount, 2);
    EXPECT_EQ(m.emitters[0].isIllumination, 1);
    EXPECT_FALSE(m.emitters[0].emissionMode.pulsed);
    EXPECT_EQ(m.emitters[1].isIllumination, 0);
    EXPECT_EQ(m.emitters[1].emissionMode.prf, 1850);
    // The power noted for the radar is that of its last heard channel.
    const double mainPower = directPower(c(), m, r, Channel::Main).power;
    EXPECT_DOUBLE_EQ(m.emitters[0].receivedPower, mainPower);
    EXPECT_DOUBLE_EQ(m.emitters[1].receivedPower, mainPower);
    EXPECT_EQ(m.emitters[0].horizontalRange, 50);
    EXPECT_EQ(m.emitters[0].radar, 0);
    EXPECT_EQ(m.emitters[0].assignedEntry, -1);

    r.illuminationOn = false;
    searchEmitters(c(), *scene.world, m);
    ASSERT_EQ(m.emitterCount, 1);
    EXPECT_EQ(m.emitters[0].isIllumination, 0);
}

TEST_F(SeekerReception, TheCapIsTestedOncePerRadar) {
    cats.type().maxEmitters = 1;
    scene.addRadar(kFireControl, 100).illuminationOn = true;
    scene.addRadar(kSearch, 120);
    searchEmitters(c(), *scene.world, m);
    ASSERT_EQ(m.emitterCount, 2);
    EXPECT_EQ(m.emitters[0].radar, 0);
    EXPECT_EQ(m.emitters[1].radar, 0);
}

TEST_F(SeekerReception, NoEmittersAllowedFindsNothing) {
    cats.type().maxEmitters = 0;
    cats.type().selectionRule = 3;
    scene.addRadar(kContinuous, 100);
    EXPECT_FALSE(searchEmitters(c(), *scene.world, m).found());
    EXPECT_EQ(m.emitterCount, 0);
}

TEST_F(SeekerReception, ListCapacityHoldsWhateverTheTypeAllows) {
    cats.type().maxEmitters = 50;
    for (int32_t i = 0; i < 20; ++i) {
        scene.addRadar(kFireControl, 100 + i).illuminationOn = true;
    }
    searchEmitters(c(), *scene.world, m);
    EXPECT_LE(m.emitterCount, kEmitterCapacity);
    EXPECT_GE(m.emitterCount, kEmitterCapacity - 1);
}

TEST_F(SeekerReception, BandKindAndViewFilterTheSearch) {
    cats.type().bands = "G";
    cats.type().emissionKinds = 0;
    scene.addRadar(kFireControl, 100);  // band I
    scene.addRadar(kContinuous, 100);   // CW
    scene.addRadar(kSearch, 100, 160);  // out of view
    scene.addRadar(kSearch, 120).radiating = false;
    scene.addRadar(kSearch, 130);
    searchEmitters(c(), *scene.world, m);
    ASSERT_EQ(m.emitterCount, 1);
    EXPECT_EQ(m.emitters[0].radar, 4);
}

TEST_F(SeekerReception, PriorityListPicksTheFireControlRadar) {
    MissileType& t = cats.type();
    t.selectionRule = 2;
    t.priorityList = {3, 4, 1, 2, 0};
    t.priorityCount = 5;
    scene.addRadar(kSearch, 100);       // kind 0
    scene.addRadar(kMultiTarget, 105);  // kind 2
    scene.addRadar(kSearchTrack, 110);  // kind 1
    scene.addRadar(kFireControl, 115);  // kind 4
    scene.addRadar(kFireControl, 120);  // kind 4, later
    SearchResult got = searchEmitters(c(), *scene.world, m);
    ASSERT_TRUE(got.found());
    EXPECT_EQ(got.radar, 3);
    EXPECT_EQ(got.channel, Channel::Main);
    scene.world->radars[3].radiating = false;
    scene.world->radars[4].radiating = false;
    got = searchEmitters(c(), *scene.world, m);
    EXPECT_EQ(got.radar, 2);  // kind 1 next
}

TEST_F(SeekerReception, UnlistedKeyRanksLast) {
    MissileType& t = cats.type();
    t.selectionRule = 2;
    t.priorityList[0] = 2;
    t.priorityCount = 1;
    scene.addRadar(kSearch, 100);
    scene.addRadar(kFireControl, 105);
    EXPECT_EQ(searchEmitters(c(), *scene.world, m).radar, 0);  // nothing listed: the first
    scene.addRadar(kMultiTarget, 110);
    EXPECT_EQ(searchEmitters(c(), *scene.world, m).radar, 2);
}

TEST_F(SeekerReception, RuleThreePicksTheLastContinuousWave) {
    cats.type().selectionRule = 3;
    scene.addRadar(kContinuous, 100);
    scene.addRadar(kFireControl, 105).illuminationOn = true;
    scene.addRadar(kSearch, 110);
    const SearchResult got = searchEmitters(c(), *scene.world, m);
    ASSERT_TRUE(got.found());
    EXPECT_EQ(got.radar, 1);
    EXPECT_EQ(got.channel, Channel::Illumination);
    // A seeker for pulsed emissions only never hears a continuous wave: nothing to select.
    cats.type().emissionKinds = 0;
    EXPECT_FALSE(searchEmitters(c(), *scene.world, m).found());
    EXPECT_EQ(m.emitterCount, 2);
}

TEST_F(SeekerReception, ReservedAndEmptyRulesSelectNothing) {
    scene.addRadar(kContinuous, 100);
    scene.addRadar(kSearch, 110);
    for (const uint8_t rule : {0, 4, 5, 7}) {
        cats.type().selectionRule = rule;
        EXPECT_FALSE(searchEmitters(c(), *scene.world, m).found()) << int{rule};
        EXPECT_EQ(m.emitterCount, 2);
    }
}

TEST_F(SeekerReception, RadarTypeFilterAppliesToTheSearch) {
    cats.type().identifiesRadarType = 1;
    cats.type().selectionRule = 3;
    scene.addRadar(kContinuous, 100);
    EXPECT_FALSE(searchEmitters(c(), *scene.world, m).found());
    m.acceptedTypes[0] = kContinuous;
    m.acceptedTypeCount = 1;
    EXPECT_TRUE(searchEmitters(c(), *scene.world, m).found());
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
    const SearchResult first = searchEmitters(c(), *scene.world, m);
    ASSERT_TRUE(first.found());
    lockOnEmitter(c(), *scene.world, m, first.radar, first.channel, true);
    m.locked = 1;
    EXPECT_FALSE(searchEmitters(c(), *scene.world, m).found());
    m.locked = 0;
    m.capturing = 1;
    EXPECT_FALSE(searchEmitters(c(), *scene.world, m).found());
    r.frequency = 6000;  // another channel: a new emitter
    EXPECT_TRUE(searchEmitters(c(), *scene.world, m).found());
    r.frequency = 5000;
    r.prfMode = 1;  // another PRF and pulse width
    EXPECT_TRUE(searchEmitters(c(), *scene.world, m).found());
    m.capturing = 0;
    r.prfMode = 0;
    EXPECT_TRUE(searchEmitters(c(), *scene.world, m).found());
}

// --- target list
// -----------------------------------------------------------------------------------

class TargetListSearch : public SeekerReception {
  protected:
    void SetUp() override {
        cats.mode().usesTargetList = 1;
        cats.mode().targetListPriority = 1;
        scene.addRadar(kSearch, 100);
        scene.addRadar(kSearch, 110);
        scene.addRadar(kSearch, 120);
        m.targetListCount = 3;
        for (int32_t i = 0; i < 3; ++i) {
            m.targetList[i] = TargetListEntry{100 + 10 * i, 100, 0, 0, -1};
        }
    }
};

TEST_F(TargetListSearch, UnsetRadiusMatchesOnlyTheExactPosition) {
    const SearchResult got = searchEmitters(c(), *scene.world, m);
    ASSERT_TRUE(got.found());
    EXPECT_EQ(got.radar, 0);  // all priorities 0: the first entry
    for (int32_t i = 0; i < 3; ++i) {
        EXPECT_EQ(m.targetList[i].assignedEmitter, i);
        EXPECT_EQ(m.emitters[i].assignedEntry, i);
    }
    // A radar moved since loading is matched by no entry.
    scene.world->radars[0].x = 101;
    scene.world->radars[0].azimuth = 180;
    EXPECT_EQ(searchEmitters(c(), *scene.world, m).radar, 1);
    EXPECT_EQ(m.targetList[0].assignedEmitter, -1);
    EXPECT_EQ(m.emitters[0].assignedEntry, -1);
}

TEST_F(TargetListSearch, SmallestPriorityWins) {
    m.targetList[0].priority = 5;
    m.targetList[1].priority = 2;
    m.targetList[2].priority = 2;
    EXPECT_EQ(searchEmitters(c(), *scene.world, m).radar, 1);
    EXPECT_EQ(m.emitters[1].priority, 2);
    EXPECT_EQ(m.emitters[0].priority, 5);
}

TEST_F(TargetListSearch, NearestFreeEmitterWithinTheRadius) {
    m.targetList[0] = TargetListEntry{112, 100, 5, 1, -1};   // nearest: radar 1 (110)
    m.targetList[1] = TargetListEntry{111, 100, 15, 0, -1};  // radar 1 taken: radar 2 (120)
    m.targetList[2] = TargetListEntry{300, 300, 10, 0, -1};  // nothing near
    EXPECT_EQ(searchEmitters(c(), *scene.world, m).radar, 2);
    EXPECT_EQ(m.targetList[0].assignedEmitter, 1);
    EXPECT_EQ(m.targetList[1].assignedEmitter, 2);
    EXPECT_EQ(m.targetList[2].assignedEmitter, -1);
}

TEST_F(TargetListSearch, WithoutPriorityTheRulesChoiceStands) {
    cats.mode().targetListPriority = 0;
    EXPECT_FALSE(searchEmitters(c(), *scene.world, m).found());
    EXPECT_EQ(m.targetList[2].assignedEmitter, 2);
    cats.type().selectionRule = 2;
    cats.type().priorityList[0] = kSearchRadar;
    cats.type().priorityCount = 1;
    EXPECT_EQ(searchEmitters(c(), *scene.world, m).radar, 0);
}

TEST_F(TargetListSearch, NoMatchLeavesTheRulesChoice) {
    for (int32_t i = 0; i < 3; ++i) {
        m.targetList[i].x = 400;
    }
    EXPECT_FALSE(searchEmitters(c(), *scene.world, m).found());
}

// --- lock
// ------------------------------------------------------------------------------------------

class Lock : public SeekerReception {
  protected:
    void SetUp() override {
        MissileType& t = cats.type();
        t.measuresEmissionKind = 1;
        t.measuresPrf = 1;
        t.measuresPulseWidth = 1;
        t.identifiesRadarType = 1;
        testing::measureFrequencyOnFiftyMegahertzChannels(t);
        t.hasInertialGuidance = 1;
        LaunchMode& mode = cats.mode();
        mode.takeBearingOnLock = 1;
        mode.storeTargetPositionOnLock = 1;
        mode.designatedRadarOnly = 1;
        mode.crewRecognitionLevel = 0;
        mode.recognitionLevel = 3;
        RadarSite& r = scene.addRadar(kSearch, 100, 120);
        r.index = 42;  // moved down after a removal: the index field differs from the position
        r.height = 1;
        r.frequency = 4075;
        m.signalParamsKnown = 1;
        m.emissionKindKnown = 1;
        m.radarTypeIdentified = 1;
        m.frequencyKnown = 1;
        m.prf = 7;
        m.acceptedTypes = {5, 6};
        m.acceptedTypeCount = 2;
    }
};

TEST_F(Lock, CrewLevelZeroStillStoresRadarDirectionAndPosition) {
    lockOnEmitter(c(), *scene.world, m, 0, Channel::Main, false);
    EXPECT_EQ(m.signalParamsKnown, 0);
    EXPECT_EQ(m.emissionKindKnown, 0);
    EXPECT_EQ(m.radarTypeIdentified, 0);
    EXPECT_EQ(m.frequencyKnown, 0);
    EXPECT_EQ(m.prf, 7);  // not recorded
    EXPECT_EQ(m.targetRadarId, 42);
    EXPECT_EQ(m.bearingToTarget, bearingDeg(50, 100, 100, 120));
    EXPECT_EQ(m.targetX, 100);
    EXPECT_EQ(m.targetY, 120);
    EXPECT_EQ(m.targetAltitude, 1);
    EXPECT_EQ(m.targetPositionState, kTargetInertial);
    EXPECT_EQ(m.acceptedTypeCount, 1);
    EXPECT_EQ(m.acceptedTypes[0], kSearch);
    EXPECT_EQ(m.capturing, 0);
    EXPECT_EQ(m.locked, 0);
}

TEST_F(Lock, AutomaticLevelThreeRecordsEverythingMeasured) {
    lockOnEmitter(c(), *scene.world, m, 0, Channel::Main, true);
    EXPECT_EQ(m.pulsed, 1);
    EXPECT_EQ(m.emissionKindKnown, 1);
    EXPECT_EQ(m.prf, 1200);
    EXPECT_DOUBLE_EQ(m.pulseWidth, 1.2);
    EXPECT_EQ(m.frequencyChannel, 37);
    EXPECT_EQ(m.frequencyKnown, 1);
    EXPECT_EQ(m.signalParamsKnown, 1);
    EXPECT_EQ(m.targetRadarType, kSearch);
    EXPECT_EQ(m.radarTypeIdentified, 1);
}

TEST_F(Lock, LevelOneRecordsOnlyTheEmissionKind) {
    cats.mode().recognitionLevel = 1;
    m.frequencyKnown = 0;
    lockOnEmitter(c(), *scene.world, m, 0, Channel::Main, true);
    EXPECT_EQ(m.pulsed, 1);
    EXPECT_EQ(m.emissionKindKnown, 1);
    EXPECT_EQ(m.prf, 7);
    EXPECT_EQ(m.frequencyKnown, 0);
    EXPECT_EQ(m.signalParamsKnown, 1);  // untouched
}

TEST_F(Lock, LevelTwoLeavesTheTypeIdentification) {
    cats.mode().recognitionLevel = 2;
    cats.type().measuresFrequency = 0;
    m.targetRadarType = 9;
    lockOnEmitter(c(), *scene.world, m, 0, Channel::Main, true);
    EXPECT_EQ(m.prf, 1200);
    EXPECT_EQ(m.frequencyKnown, 0);
    EXPECT_EQ(m.targetRadarType, 9);
    EXPECT_EQ(m.radarTypeIdentified, 1);
}

TEST_F(Lock, UnacceptedEmissionKindStopsAfterTheKind) {
    cats.type().emissionKinds = 1;  // continuous only; the radar is pulsed
    lockOnEmitter(c(), *scene.world, m, 0, Channel::Main, true);
    EXPECT_EQ(m.pulsed, 1);
    EXPECT_EQ(m.prf, 7);
    EXPECT_EQ(m.targetRadarId, 42);  // the rest of the lock still happens
}

TEST_F(Lock, IlluminationChannelRecordsTheContinuousWave) {
    RadarSite& fc = scene.addRadar(kFireControl, 100);
    fc.illuminationOn = true;
    lockOnEmitter(c(), *scene.world, m, 1, Channel::Illumination, true);
    EXPECT_EQ(m.pulsed, 0);
    EXPECT_EQ(m.prf, 0);
}

TEST_F(Lock, AntennaAzimuthBeyondHalfTheLimitIsZeroed) {
    // Radar 40 degrees off the nose, limit 60.
    RadarSite& r = scene.world->radars[0];
    r.x = 100;
    r.y = 142;
    ASSERT_EQ(bearingDeg(50, 100, 100, 142), 40);
    lockOnEmitter(c(), *scene.world, m, 0, Channel::Main, false);
    EXPECT_EQ(m.headAzimuth, 0);
    EXPECT_EQ(m.bearingToTarget, 40);
    r.y = 125;  // about 26 degrees: within 30
    lockOnEmitter(c(), *scene.world, m, 0, Channel::Main, false);
    EXPECT_EQ(m.headAzimuth, bearingDeg(50, 100, 100, 125));
}

TEST_F(Lock, AntennaElevationOutsideItsLimitsIsZeroed) {
    m.altitude = 40;  // radar about 38 degrees below: under -30
    lockOnEmitter(c(), *scene.world, m, 0, Channel::Main, false);
    EXPECT_EQ(m.headElevation, 0);
    EXPECT_EQ(m.elevationToTarget, bearingDeg(0, 40, std::sqrt(50.0 * 50 + 20 * 20), 1));
    m.altitude = 10;
    lockOnEmitter(c(), *scene.world, m, 0, Channel::Main, false);
    EXPECT_EQ(m.headElevation, angleDiff(0, m.elevationToTarget));
    EXPECT_LT(m.headElevation, 0);
}

TEST_F(Lock, OptionalPartsFollowTheLaunchMode) {
    LaunchMode& mode = cats.mode();
    mode.takeBearingOnLock = 0;
    mode.designatedRadarOnly = 0;
    mode.forgetOnLoss = mode.searchOnLoss = mode.keepSearching = 1;
    cats.type().hasInertialGuidance = 0;
    m.bearingToTarget = 77;
    lockOnEmitter(c(), *scene.world, m, 0, Channel::Main, false);
    EXPECT_EQ(m.bearingToTarget, 77);
    EXPECT_EQ(m.targetRadarId, 0);
    EXPECT_EQ(m.targetPositionState, kTargetNotAcquired);
    EXPECT_EQ(m.targetX, 0);
    EXPECT_EQ(m.searchEnabled, 1);
}

TEST_F(Lock, InvalidRadarChangesNothing) {
    lockOnEmitter(c(), *scene.world, m, 5, Channel::Main, true);
    EXPECT_EQ(m.acceptedTypeCount, 2);
    EXPECT_EQ(m.prf, 7);
}

// --- the program's catalogue
// -----------------------------------------------------------------------

class CatalogueSeeker : public ::testing::Test {
  protected:
    Scene scene;
    Missile& m = scene.missile();

    // Index of a catalogue entry by name, -1 if missing.
    static int32_t missileNamed(std::string_view name) {
        for (int32_t i = 0; i < missileTypeCount(); ++i) {
            if (missileType(i).name == name) {
                return i;
            }
        }
        return -1;
    }

    void useMissile(std::string_view name, int32_t launchModeIndex = 0) {
        const int32_t t = missileNamed(name);
        ASSERT_GE(t, 0) << name;
        m.typeIndex = t;
        m.launchModeIndex = launchModeIndex;
    }

    RadarSite& radar(int32_t typeIndex, int32_t x, int32_t y = 100) {
        RadarSite& r = scene.addRadar(typeIndex, x, y);
        r.frequency = radarType(typeIndex).freqMin;
        return r;
    }
};

TEST_F(CatalogueSeeker, ChannelNumbers) {
    useMissile("Х-58");
    EXPECT_EQ(frequencyChannelOf(m, 4075), 37);
    EXPECT_EQ(frequencyChannelOf(m, 2200), 0);
    EXPECT_EQ(frequencyChannelOf(m, 10500), 0);
    useMissile("ALARM");
    for (const double f : {200.0, 2200.0, 4075.0, 9000.0, 25000.0}) {
        EXPECT_EQ(frequencyChannelOf(m, f), 0) << f;
    }
    useMissile("AGM-45 Shrike B-3А");
    EXPECT_EQ(frequencyChannelOf(m, 2300), 2);
    useMissile("AGM-45 Shrike B-4");
    EXPECT_EQ(frequencyChannelOf(m, 5000), 14);
}

TEST_F(CatalogueSeeker, BandLetters) {
    ASSERT_EQ(radarType(1).band, 'G');  // "Куб, РЛС обнаружения 1С11"
    const RadarSite& g = radar(1, 100);
    useMissile("AGM-45 Shrike B-3");  // "EF"
    EXPECT_FALSE(bandCovered(m, g, Channel::Main));
    useMissile("AGM-45 Shrike B-2");  // "G"
    EXPECT_TRUE(bandCovered(m, g, Channel::Main));
}

TEST_F(CatalogueSeeker, KhTwoFiveEightTakesBothChannelsOfOneRadar) {
    useMissile("Х-58");
    ASSERT_EQ(radarType(0).name, "Куб, РЛС сопровождения 1С31");
    radar(0, 100).illuminationOn = true;
    radar(1, 110);
    EXPECT_FALSE(searchEmitters(*scene.world, m).found());  // rule 0 selects nothing
    ASSERT_EQ(m.emitterCount, 2);
    EXPECT_EQ(m.emitters[0].isIllumination, 1);
    EXPECT_EQ(m.emitters[1].isIllumination, 0);
    EXPECT_EQ(m.emitters[1].radar, 0);
}

TEST_F(CatalogueSeeker, ShrikesAndKhTwoFiveNeverFindATarget) {
    radar(1, 100);
    radar(0, 110).illuminationOn = true;
    radar(17, 120);
    for (const std::string_view name :
         {"AGM-45 Shrike B-2", "AGM-45 Shrike B-3", "AGM-45 Shrike B-10", "Х-25МП с ПРГС-1ВП",
          "Х-25МП с ПРГС-2ВП"}) {
        useMissile(name);
        EXPECT_FALSE(searchEmitters(*scene.world, m).found()) << name;
        EXPECT_EQ(m.emitterCount, 0) << name;
    }
}

TEST_F(CatalogueSeeker, HarmPrefersTheFireControlRadar) {
    useMissile("AGM-88C HARM");
    radar(2, 100);   // П-15, kind 0
    radar(3, 105);   // Имбирь, kind 2
    radar(8, 110);   // Бук СОУ, kind 1
    radar(10, 115);  // Hawk MPQ-46, kind 4
    radar(19, 120);  // Hawk MPQ-51, kind 4
    for (int32_t j = 0; j < scene.world->radarCount; ++j) {
        RadarSite& r = scene.world->radars[j];
        // Every beam shape: point the beam at the missile in both planes.
        r.elevation = bearingDeg(0, 0, r.x - 50, 0.5);
    }
    const SearchResult got = searchEmitters(*scene.world, m);
    ASSERT_TRUE(got.found());
    EXPECT_EQ(got.radar, 3);
}

TEST_F(CatalogueSeeker, KhTwentySevenPicksTheLastContinuousWave) {
    radar(17, 100);  // С-200 РПЦ, G, CW
    radar(18, 105);  // Hawk MPQ-48, H, CW
    radar(0, 110);   // 1С31, I, pulsed
    useMissile("Х-27ПС с ПРГС-1ВП");
    const SearchResult got = searchEmitters(*scene.world, m);
    ASSERT_TRUE(got.found());
    EXPECT_EQ(got.radar, 1);
    useMissile("Х-27ПС с ПРГС-2ВП");
    EXPECT_FALSE(searchEmitters(*scene.world, m).found());
}

TEST_F(CatalogueSeeker, FanBeamOfTheOneSThirtyOneMissesAMissileAtItsHeight) {
    useMissile("AGM-45 Shrike B-9");
    RadarSite& r = radar(0, 100);
    m.altitude = 0;
    const double side = directPower(m, r, Channel::Main).power;
    m.altitude = 0.5;
    const double main = directPower(m, r, Channel::Main).power;
    EXPECT_NEAR(side / main, std::pow(10.0, -3.0), 1e-12);
}

}  // namespace
}  // namespace prrsim
