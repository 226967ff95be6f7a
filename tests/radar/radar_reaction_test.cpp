// The crews' reaction to anti-radiation missiles: the threat at the warning distance's edge,
// onset, hold, restart, undo, the instructor's change, removal, refusals and a whole complex.
#include "radar/radar_reaction.h"

#include <gtest/gtest.h>

#include <vector>

#include "missile/missile_loading.h"
#include "radar/radar_control.h"
#include "sim/tick.h"
#include "world/world.h"

namespace prrsim {
namespace {

constexpr int32_t kKubTracking = 0;     // fire control: cannot blink
constexpr int32_t kKubSearch = 1;       // search, blink settings 0..3
constexpr int32_t kTunguskaSearch = 5;  // search, but its blink list holds only 0
constexpr int32_t kKubComplex = 0;      // 1С31 and 1С11
constexpr int32_t kTicksPerSecond = 100;

std::vector<WorldEvent> ofKind(WorldState& world, EventKind kind) {
    std::vector<WorldEvent> found;
    for (const WorldEvent& e : world.events.take()) {
        if (e.kind == kind) {
            found.push_back(e);
        }
    }
    return found;
}

// An empty world with radars at (300, 220) and one aircraft carrying one missile that the
// tests put where they need it, launched, without its own steps (only the threat step runs).
class Reaction : public ::testing::Test {
  protected:
    void SetUp() override {
        startEmptyWorld(*world);
        addAircraft(*world);
        ASSERT_EQ(addMissile(*world, 0, 3, 0), 0);
    }

    int32_t addRadar(int32_t type) {
        EXPECT_EQ(addRadars(*world, type, -1, true), 1);
        const int32_t row = world->radarCount - 1;
        radar(row).x = 300;
        radar(row).y = 220;
        return row;
    }

    RadarSite& radar(int32_t row) { return world->radars[row]; }

    // The missile launched at (x, y), or back on its carrier.
    void missileAt(double x, double y, bool launched = true) {
        world->missiles[0].launched = launched ? 1 : 0;
        world->missiles[0].x = x;
        world->missiles[0].y = y;
    }
    void threaten() { missileAt(300 + 50, 220); }
    void clear() { missileAt(300 + 500, 220); }

    // Runs the threat step `n` times.
    void steps(int32_t n) {
        for (int32_t i = 0; i < n; ++i) {
            reactToThreats(*world);
        }
    }

    std::unique_ptr<WorldState> world = makeWorld();
};

ReactionSettings shutdown(int32_t warnKm = 10, int32_t hold = 1) {
    return {kReactionShutdown, warnKm, hold, 0};
}

struct EdgeRow {
    const char* name;
    double dx;
    double dy;
    bool launched;
    bool threatened;
};

class ThreatEdge : public Reaction, public ::testing::WithParamInterface<EdgeRow> {};

// 10 km is 100 map units, measured horizontally; altitude does not count.
TEST_P(ThreatEdge, InsideOrOnTheWarningDistanceThreatens) {
    const EdgeRow& row = GetParam();
    const int32_t r = addRadar(kKubTracking);
    ASSERT_TRUE(setReaction(*world, r, shutdown()));
    missileAt(300 + row.dx, 220 + row.dy, row.launched);
    world->missiles[0].altitude = 500;
    world->events.take();
    steps(1);
    EXPECT_EQ(radar(r).emissionOn, !row.threatened);
    EXPECT_EQ(radar(r).reactionPhase, row.threatened ? kReactionThreatened : kReactionIdle);
    EXPECT_EQ(ofKind(*world, EventKind::ThreatBegan).size(), row.threatened ? 1u : 0u);
}

INSTANTIATE_TEST_SUITE_P(Rows, ThreatEdge,
                         ::testing::Values(EdgeRow{"Inside", 99.99, 0, true, true},
                                           EdgeRow{"On", 100, 0, true, true},
                                           EdgeRow{"OnDiagonal", 60, -80, true, true},
                                           EdgeRow{"Outside", 100.01, 0, true, false},
                                           EdgeRow{"OutsideDiagonal", 60.01, 80, true, false},
                                           EdgeRow{"OnItsCarrier", 0, 0, false, false}),
                         [](const auto& info) { return std::string(info.param.name); });

struct KindRow {
    const char* name;
    int32_t type;
    ReactionSettings settings;
    // The radar's setting (emission on, blink period, frequency percent) before, during and
    // after the reaction, read by `setting`.
    int32_t (*setting)(const RadarSite&);
    int32_t before;
    int32_t during;
};

int32_t emission(const RadarSite& r) {
    return r.emissionOn ? 1 : 0;
}
int32_t blink(const RadarSite& r) {
    return r.blinkPeriod;
}
int32_t percent(const RadarSite& r) {
    return r.frequencyPercent;
}

std::vector<KindRow> kindRows() {
    return {
        {"Shutdown", kKubTracking, {kReactionShutdown, 10, 2, 0}, emission, 1, 0},
        {"Blink", kKubSearch, {kReactionBlink, 10, 2, 3}, blink, 0, 3},
        {"Hop", kKubTracking, {kReactionHop, 10, 2, 85}, percent, 40, 85},
    };
}

class EachKind : public Reaction, public ::testing::WithParamInterface<KindRow> {
  protected:
    int32_t setUpRadar() {
        const KindRow& row = GetParam();
        const int32_t r = addRadar(row.type);
        setFrequencyPercent(*world, r, 40);
        EXPECT_TRUE(setReaction(*world, r, row.settings));
        EXPECT_EQ(row.setting(radar(r)), row.before);
        world->events.take();
        return r;
    }
};

// Applied at the onset, kept while threatened and for exactly the hold time after the threat,
// undone at its end; a threat during the hold restarts it without applying anything again.
TEST_P(EachKind, AppliesHoldsRestartsAndUndoes) {
    const KindRow& row = GetParam();
    const int32_t r = setUpRadar();
    const int32_t hold = row.settings.holdSeconds * kTicksPerSecond;
    threaten();
    steps(1);
    EXPECT_EQ(row.setting(radar(r)), row.during);
    steps(50);
    clear();
    steps(hold / 2);
    threaten();  // within the hold
    steps(3);
    EXPECT_TRUE(reacting(radar(r)));
    clear();
    steps(hold);  // the first clear step starts the hold; `hold` steps later it is undone
    EXPECT_EQ(row.setting(radar(r)), row.during);
    EXPECT_EQ(radar(r).reactionPhase, kReactionHolding);
    const std::vector<WorldEvent> began = ofKind(*world, EventKind::ThreatBegan);
    ASSERT_EQ(began.size(), 1u);
    EXPECT_EQ(began[0].value, row.settings.kind);
    EXPECT_EQ(began[0].missile.number, 1);
    EXPECT_DOUBLE_EQ(began[0].distance, 5000);
    steps(1);
    EXPECT_EQ(row.setting(radar(r)), row.before);
    EXPECT_FALSE(reacting(radar(r)));
    EXPECT_EQ(radar(r).reactionPhase, kReactionIdle);
    const std::vector<WorldEvent> passed = ofKind(*world, EventKind::ThreatPassed);
    ASSERT_EQ(passed.size(), 1u);
    EXPECT_EQ(passed[0].value, row.settings.kind);
    // A new threat is a new onset.
    threaten();
    steps(1);
    EXPECT_EQ(row.setting(radar(r)), row.during);
}

// The instructor changed the setting during the reaction: the reaction forgets it.
TEST_P(EachKind, LeavesTheInstructorsChange) {
    const KindRow& row = GetParam();
    const int32_t r = setUpRadar();
    threaten();
    steps(1);
    switch (row.settings.kind) {
        case kReactionShutdown:
            setEmission(*world, r, true);
            break;
        case kReactionBlink:
            setBlinkPeriod(*world, r, 1);
            break;
        default:
            setFrequencyPercent(*world, r, 10);
            break;
    }
    const int32_t changed = row.setting(radar(r));
    clear();
    steps(row.settings.holdSeconds * kTicksPerSecond + 1);
    EXPECT_EQ(row.setting(radar(r)), changed);
    const std::vector<WorldEvent> passed = ofKind(*world, EventKind::ThreatPassed);
    ASSERT_EQ(passed.size(), 1u);
    EXPECT_EQ(passed[0].value, kReactionNone);
}

// Setting the reaction to none, or removing the radar, ends it where it stands.
TEST_P(EachKind, NoneEndsItWithoutUndoing) {
    const KindRow& row = GetParam();
    const int32_t r = setUpRadar();
    threaten();
    steps(1);
    ASSERT_TRUE(setReaction(*world, r, {kReactionNone, 10, 0, 0}));
    clear();
    steps(row.settings.holdSeconds * kTicksPerSecond + 10);
    EXPECT_EQ(row.setting(radar(r)), row.during);
    EXPECT_TRUE(ofKind(*world, EventKind::ThreatPassed).empty());
}

INSTANTIATE_TEST_SUITE_P(Kinds, EachKind, ::testing::ValuesIn(kindRows()),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(Reaction, HoldTimeRoundsToWholeTicksAndZeroUndoesAtOnce) {
    EXPECT_EQ(holdTicks(0), 0);
    EXPECT_EQ(holdTicks(600), 60000);
    const int32_t r = addRadar(kKubTracking);
    ASSERT_TRUE(setReaction(*world, r, shutdown(10, 0)));
    threaten();
    steps(1);
    EXPECT_FALSE(radar(r).emissionOn);
    clear();
    steps(1);
    EXPECT_TRUE(radar(r).emissionOn);
}

// Shutdown of a silent radar and blink of a blinking one change nothing, then or later.
TEST_F(Reaction, AStateThatDoesNotAllowItAppliesNothing) {
    const int32_t off = addRadar(kKubTracking);
    const int32_t blinking = addRadar(kKubSearch);
    setEmission(*world, off, false);
    setBlinkPeriod(*world, blinking, 2);
    ASSERT_TRUE(setReaction(*world, off, shutdown()));
    ASSERT_TRUE(setReaction(*world, blinking, {kReactionBlink, 10, 1, 3}));
    world->events.take();
    threaten();
    steps(1);
    clear();
    steps(kTicksPerSecond + 1);
    EXPECT_FALSE(radar(off).emissionOn);
    EXPECT_EQ(radar(blinking).blinkPeriod, 2);
    const std::span<const WorldEvent> events = world->events.take();
    ASSERT_EQ(events.size(), 4u);  // began and passed of each, no switch
    for (const WorldEvent& e : events) {
        EXPECT_EQ(e.value, kReactionNone) << eventKindCode(e.kind);
    }
}

// The reaction goes with its record when a radar above it is removed; the removed one's ends.
TEST_F(Reaction, RemovalEndsOnlyTheRemovedRadarsReaction) {
    const int32_t first = addRadar(kKubTracking);
    const int32_t second = addRadar(kKubTracking);
    ASSERT_TRUE(setReaction(*world, first, shutdown(10, 1)));
    ASSERT_TRUE(setReaction(*world, second, shutdown(10, 2)));
    threaten();
    steps(1);
    ASSERT_TRUE(removeRadar(*world, first));
    world->events.take();
    clear();
    steps(kTicksPerSecond + 1);
    EXPECT_FALSE(radar(0).emissionOn);  // the former second holds for 2 s
    steps(kTicksPerSecond);
    EXPECT_TRUE(radar(0).emissionOn);
    const std::vector<WorldEvent> passed = ofKind(*world, EventKind::ThreatPassed);
    ASSERT_EQ(passed.size(), 1u);
    EXPECT_EQ(passed[0].radar.number, 2);
}

// Every member of a complex reacts on its own, each through its own control.
TEST_F(Reaction, AReactingComplex) {
    ASSERT_EQ(addRadars(*world, -1, kKubComplex, true), 2);
    for (int32_t j = 0; j < 2; ++j) {
        radar(j).x = 300 + 20 * j;
        radar(j).y = 220;
        ASSERT_TRUE(setReaction(*world, j, shutdown(10, 1)));
    }
    missileAt(300 - 90, 220);  // 9 km from the first, 11 km from the second
    steps(1);
    EXPECT_FALSE(radar(0).emissionOn);
    EXPECT_TRUE(radar(1).emissionOn);
    missileAt(300 + 25, 220);
    steps(1);
    EXPECT_FALSE(radar(1).emissionOn);
    clear();
    steps(kTicksPerSecond + 1);
    EXPECT_TRUE(radar(0).emissionOn);
    EXPECT_TRUE(radar(1).emissionOn);
}

// The nearest launched missile is the one the event names.
TEST_F(Reaction, TheEventNamesTheNearestMissile) {
    ASSERT_EQ(addMissile(*world, 0, 3, 0), 1);
    const int32_t r = addRadar(kKubTracking);
    ASSERT_TRUE(setReaction(*world, r, shutdown(30, 1)));
    world->events.take();
    world->missiles[1].launched = 1;
    world->missiles[1].x = 300;
    world->missiles[1].y = 220 + 120;
    missileAt(300 - 248, 220);
    steps(1);
    const std::vector<WorldEvent> began = ofKind(*world, EventKind::ThreatBegan);
    ASSERT_EQ(began.size(), 1u);
    EXPECT_EQ(began[0].missile.number, 2);
    EXPECT_DOUBLE_EQ(began[0].distance, 12000);
}

struct RefusalRow {
    const char* name;
    int32_t type;
    ReactionSettings settings;
    ReactionFault fault;
};

class Refusal : public Reaction, public ::testing::WithParamInterface<RefusalRow> {};

TEST_P(Refusal, LeavesTheRadarAsItWas) {
    const RefusalRow& row = GetParam();
    const int32_t r = addRadar(row.type);
    ASSERT_TRUE(setReaction(*world, r, shutdown(20, 5)));
    EXPECT_EQ(reactionFault(radarType(row.type), row.settings), row.fault);
    EXPECT_FALSE(setReaction(*world, r, row.settings));
    const ReactionSettings kept = reactionOf(radar(r));
    EXPECT_EQ(kept.kind, kReactionShutdown);
    EXPECT_EQ(kept.warnKm, 20);
    EXPECT_EQ(kept.holdSeconds, 5);
}

INSTANTIATE_TEST_SUITE_P(
    Rows, Refusal,
    ::testing::Values(
        RefusalRow{
            "BlinkOnFireControl", kKubTracking, {kReactionBlink, 10, 1, 1}, ReactionFault::NoBlink},
        RefusalRow{"BlinkWithAnEmptyList",
                   kTunguskaSearch,
                   {kReactionBlink, 10, 1, 1},
                   ReactionFault::NoBlink},
        RefusalRow{
            "BlinkPeriodZero", kKubSearch, {kReactionBlink, 10, 1, 0}, ReactionFault::Period},
        RefusalRow{
            "BlinkBeyondList", kKubSearch, {kReactionBlink, 10, 1, 4}, ReactionFault::Period},
        RefusalRow{
            "PercentAbove100", kKubSearch, {kReactionHop, 10, 1, 101}, ReactionFault::Percent},
        RefusalRow{"WarnZero", kKubSearch, {kReactionShutdown, 0, 1, 0}, ReactionFault::WarnKm},
        RefusalRow{"WarnAbove150", kKubSearch, {kReactionHop, 151, 1, 5}, ReactionFault::WarnKm},
        RefusalRow{"HoldNegative", kKubSearch, {kReactionShutdown, 10, -1, 0}, ReactionFault::Hold},
        RefusalRow{
            "HoldAbove600", kKubSearch, {kReactionShutdown, 10, 601, 0}, ReactionFault::Hold},
        RefusalRow{"UnknownKind", kKubSearch, {kReactionKindCount, 10, 1, 0}, ReactionFault::Kind}),
    [](const auto& info) { return std::string(info.param.name); });

// Blink is a reaction exactly where the radar panel offers a blink setting above 0; shutdown and
// hop are possible on every type.
TEST_F(Reaction, EveryTypeTakesWhatItsPanelCanDo) {
    for (int32_t type = 0; type < radarTypeCount(); ++type) {
        const int32_t r = addRadar(type);
        const RadarType& t = radarType(type);
        const bool panelBlinks =
            (t.kind == kSearchRadar || t.kind == kMultiTargetRadar) && t.maxBlinkPeriod >= 1;
        EXPECT_EQ(setReaction(*world, r, {kReactionBlink, 10, 1, 1}), panelBlinks) << t.name;
        EXPECT_TRUE(setReaction(*world, r, {kReactionShutdown, 150, 600, 0})) << t.name;
        EXPECT_TRUE(setReaction(*world, r, {kReactionHop, 1, 0, 100})) << t.name;
    }
}

// The whole tick: the step runs between the aircraft and the radars, on the missile where it
// stands after its previous tick; a detonation ends the threat.
TEST(ReactionTick, AHarmMakesTheCrewSwitchOffAndTheyComeBackAfterTheHold) {
    auto world = makeWorld();
    startEmptyWorld(*world);
    addRadars(*world, kKubTracking, -1, true);
    world->radars[0].x = 400;
    world->radars[0].y = 220;
    ASSERT_TRUE(setReaction(*world, 0, {kReactionShutdown, 5, 3, 0}));
    addAircraft(*world);
    world->aircraft[0].x = 250;
    world->aircraft[0].y = 220;
    world->aircraft[0].altitude = 20;
    ASSERT_EQ(addMissile(*world, 0, 3, 2), 0);
    world->missiles[0].launched = 1;
    world->missiles[0].x = 400 - 51;
    world->missiles[0].y = 220;
    world->missiles[0].speed = 0;
    world->events.take();
    const auto scratch = makeSeekerScratch();
    SimulationTick(*world, *scratch);
    EXPECT_TRUE(world->radars[0].emissionOn);  // 5.1 km
    world->missiles[0].x = 400 - 50;
    SimulationTick(*world, *scratch);
    EXPECT_FALSE(world->radars[0].emissionOn);
    EXPECT_FALSE(world->radars[0].radiating);  // the radar update saw it silent
    removeMissile(*world, 0);
    for (int32_t t = 0; t < 3 * kTicksPerSecond; ++t) {
        SimulationTick(*world, *scratch);
    }
    EXPECT_FALSE(world->radars[0].emissionOn);
    SimulationTick(*world, *scratch);
    EXPECT_TRUE(world->radars[0].emissionOn);
}

}  // namespace
}  // namespace prrsim
