#include "world/world_invariants.h"

#include <gtest/gtest.h>

#include <functional>
#include <limits>
#include <string>

#include "missile/missile_loading.h"
#include "sim/tick.h"
#include "world/world.h"

namespace prrsim {
namespace {

// The default world with one missile loaded on aircraft 1.
std::unique_ptr<WorldState> worldWithMissile() {
    auto w = makeWorld();
    startWorld(*w);
    EXPECT_EQ(addMissile(*w, 1, 0, 0), 0);
    return w;
}

TEST(WorldInvariants, HoldForTheStartWorldsAndThroughTicks) {
    auto w = worldWithMissile();
    EXPECT_EQ(checkWorldInvariants(*w), "");
    auto empty = makeWorld();
    startEmptyWorld(*empty);
    EXPECT_EQ(checkWorldInvariants(*empty), "");
    const auto scratch = makeSeekerScratch();
    for (int i = 0; i < 500; ++i) {
        SimulationTick(*w, *scratch);
    }
    EXPECT_EQ(checkWorldInvariants(*w), "");
}

constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();
constexpr double kInf = std::numeric_limits<double>::infinity();

struct Breakage {
    const char* name;
    std::function<void(WorldState&)> breakIt;
    const char* expected;  // a part of the report
};

class BrokenWorld : public ::testing::TestWithParam<Breakage> {};

TEST_P(BrokenWorld, IsReported) {
    auto w = worldWithMissile();
    GetParam().breakIt(*w);
    const std::string report = checkWorldInvariants(*w);
    EXPECT_NE(report.find(GetParam().expected), std::string::npos) << report;
}

const Breakage kBreakages[] = {
    {"AircraftCountAboveCapacity", [](WorldState& w) { w.aircraftCount = 51; }, "aircraftCount 51"},
    {"NegativeRadarCount", [](WorldState& w) { w.radarCount = -1; }, "radarCount -1"},
    {"MissileCountAboveCapacity", [](WorldState& w) { w.missileCount = 101; }, "missileCount 101"},
    {"PlacedComplexCountAboveCapacity", [](WorldState& w) { w.placedComplexCount = 11; },
     "placedComplexCount 11"},
    {"MissileIndexFieldOff", [](WorldState& w) { w.missiles[0].index = 1; },
     "missiles[0]: index field 1"},
    {"MissileTypeMissing", [](WorldState& w) { w.missiles[0].typeIndex = 16; }, "typeIndex 16"},
    {"MissileLaunchModeMissing", [](WorldState& w) { w.missiles[0].launchModeIndex = 5; },
     "launchModeIndex 5"},
    {"MissileCarrierBeyondTable", [](WorldState& w) { w.missiles[0].carrier = 4; },
     "carrier 4 is no aircraft"},
    {"MissileFollowsRemovedRadar", [](WorldState& w) { w.missiles[0].trackedRadarId = 6; },
     "trackedRadarId 6"},
    {"ReceivedRadarBeyondTable",
     [](WorldState& w) {
         w.missiles[0].receivedRadarCount = 2;
         w.missiles[0].receivedRadars[1] = 6;
     },
     "receivedRadars[1] 6"},
    {"EmitterOfRemovedRadar",
     [](WorldState& w) {
         w.missiles[0].emitterCount = 1;
         w.missiles[0].emitters[0].radar = 9;
     },
     "emitters[0].radar 9"},
    {"RadarIndexFieldOff", [](WorldState& w) { w.radars[3].index = 4; },
     "radars[3]: index field 4"},
    {"AttackTargetBeyondRadars", [](WorldState& w) { w.aircraft[2].targetRadar = 6; },
     "aircraft[2]: targetRadar 6"},
    {"ComplexMemberBeyondRadars", [](WorldState& w) { w.placedComplexes[1].members[1] = 6; },
     "members[1] 6"},
    {"MissileEmitterCountTooHigh", [](WorldState& w) { w.missiles[0].emitterCount = 13; },
     "emitterCount 13"},
    {"MissileNaNPosition", [](WorldState& w) { w.missiles[0].x = kNaN; }, "missiles[0]: x is not"},
    {"MissileInfiniteSpeed", [](WorldState& w) { w.missiles[0].speed = kInf; }, "speed is not"},
    {"EmitterNaNPower",
     [](WorldState& w) {
         w.missiles[0].emitterCount = 1;
         w.missiles[0].emitters[0].radar = 0;
         w.missiles[0].emitters[0].receivedPower = kNaN;
     },
     "emitters.receivedPower"},
    {"AircraftNaNAltitude", [](WorldState& w) { w.aircraft[3].altitude = kNaN; },
     "aircraft[3]: altitude is not finite"},
    {"RadarInfiniteAzimuth", [](WorldState& w) { w.radars[2].azimuth = -kInf; },
     "radars[2]: azimuth is not finite"},
    {"RadarTargetBeyondAircraft", [](WorldState& w) { w.radars[0].currentTarget = 4; },
     "currentTarget 4"},
    {"RadarTargetBelowNone", [](WorldState& w) { w.radars[0].currentTarget = -2; },
     "currentTarget -2"},
    {"TrackEntryOfRemovedAircraft",
     [](WorldState& w) {
         w.radars[5].trackCount = 2;
         w.radars[5].trackList[1] = 7;
     },
     "trackList[1] 7"},
    {"ReactionKindUnknown", [](WorldState& w) { w.radars[2].reactionKind = 4; },
     "radars[2]: reactionKind 4 is no reaction"},
    {"ReactionNoneUnderWay", [](WorldState& w) { w.radars[1].reactionPhase = kReactionHolding; },
     "radars[1]: a reaction of kind none is under way"},
    {"ReactionHoldBeyondItsTime",
     [](WorldState& w) {
         RadarSite& r = w.radars[0];
         r.reactionKind = kReactionShutdown;
         r.reactionWarnKm = 10;
         r.reactionHoldSeconds = 2;
         r.reactionPhase = kReactionHolding;
         r.reactionHoldLeft = 201;
     },
     "reactionHoldLeft 201 outside 0..200"},
    {"ReactionIdleButApplied",
     [](WorldState& w) {
         w.radars[0].reactionKind = kReactionHop;
         w.radars[0].reactionWarnKm = 10;
         w.radars[0].reactionApplied = true;
     },
     "an idle reaction holds or is applied"},
    {"TrackCountAboveList", [](WorldState& w) { w.radars[1].trackCount = 21; }, "trackCount 21"},
    {"TrackCursorFarOut", [](WorldState& w) { w.radars[1].trackCursor = -5; }, "trackCursor -5"},
    {"RadarTypeMissing", [](WorldState& w) { w.radars[1].typeIndex = 20; }, "typeIndex 20"},
    {"RadarComplexMissing", [](WorldState& w) { w.radars[1].placedComplex = 2; },
     "placedComplex 2"},
    {"ComplexWithFourMembers", [](WorldState& w) { w.placedComplexes[0].memberCount = 4; },
     "memberCount 4"},
};

INSTANTIATE_TEST_SUITE_P(All, BrokenWorld, ::testing::ValuesIn(kBreakages),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(WorldInvariants, StaleValuesBeyondTheCountsAreNotLiveRecords) {
    auto w = worldWithMissile();
    w->aircraft[10].x = kNaN;
    w->radars[50].currentTarget = 40;
    w->missiles[5].index = 77;
    w->radars[0].trackList[3] = 99;  // beyond trackCount 0
    EXPECT_EQ(checkWorldInvariants(*w), "");
}

TEST(WorldInvariants, RemovalsLeaveNoReferenceBeyondTheTables) {
    auto w = worldWithMissile();
    w->aircraft[0].targetRadar = 5;
    ASSERT_EQ(addMissile(*w, 3, 3, 0), 1);
    w->missiles[1].launched = 1;
    const auto scratch = makeSeekerScratch();
    for (int i = 0; i < 60; ++i) {
        SimulationTick(*w, *scratch);
    }
    removeRadar(*w, 5);
    removeRadar(*w, 0);
    removeAircraft(*w, 3);  // the launched missile loses its carrier
    removeAircraft(*w, 1);  // the loaded one goes with its aircraft
    EXPECT_EQ(w->missileCount, 1);
    EXPECT_EQ(checkWorldInvariants(*w), "");
}

TEST(CheckedTableAccessDeathTest, ReadBeyondTheCountNamesTableAndIndex) {
    if (!kTableAccessChecked) {
        GTEST_SKIP() << "table access is unchecked in release builds";
    }
    auto w = worldWithMissile();
    const WorldState& c = *w;
    EXPECT_DEATH(aircraftAt(c, 4), "aircraft\\[4\\] read with count 4");
    EXPECT_DEATH(radarAt(*w, -1), "radars\\[-1\\] read with count 6");
    EXPECT_DEATH(missileAt(*w, 1), "missiles\\[1\\] read with count 1");
    EXPECT_DEATH(placedComplexAt(c, 2), "placedComplexes\\[2\\]");
    EXPECT_DEATH(landmarkAt(c, 32), "landmarks\\[32\\]");
}

}  // namespace
}  // namespace prrsim
