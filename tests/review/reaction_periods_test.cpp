// The crews' reaction periods read back from the event log of a whole run, and from logs where a
// reaction ends without its threatPassed.
#include "review/reaction_periods.h"

#include <gtest/gtest.h>

#include "scenario/runner.h"
#include "world/radar_site.h"
#include "batch_test_support.h"

namespace prrsim::review {
namespace {

using namespace batch::testing;

struct Collect final : batch::RunListener {
    void onEvents(const WorldState&, std::span<const WorldEvent> taken) override {
        events.insert(events.end(), taken.begin(), taken.end());
    }
    std::vector<WorldEvent> events;
};

// The first radar's reaction is undone 20 s after the detonation; the second's is set back to
// none during the threat and stays in force.
TEST(ReactionPeriods, OfAWholeRun) {
    const fs::path path = sourcePath("tests/scenario/edges/reaction_shutdown.json");
    std::string error;
    const auto scenario = batch::loadScenario(path.string(), error);
    ASSERT_TRUE(scenario.has_value()) << error;
    auto world = makeWorld();
    Collect log;
    batch::RunOptions options(1000, nullptr);
    options.listeners.push_back(&log);
    ASSERT_EQ(batch::runScenario(*world, *scenario, path.string(), options).status,
              batch::RunStatus::Ok);
    EXPECT_EQ(reactionPeriods(log.events, 1),
              (std::vector<ReactionPeriod>{{758, 4055, kReactionShutdown}}));
    EXPECT_EQ(reactionPeriods(log.events, 2),
              (std::vector<ReactionPeriod>{{151, -1, kReactionShutdown}}));
    EXPECT_TRUE(reactionPeriods(log.events, 3).empty());
}

WorldEvent event(int64_t tick, EventKind kind, int32_t radar, int32_t value = 0) {
    WorldEvent e;
    e.tick = tick;
    e.kind = kind;
    e.radar.number = radar;
    e.value = value;
    return e;
}

TEST(ReactionPeriods, EndAtRemovalOrTheNextOnsetAndSkipWhatWasNotApplied) {
    const std::vector<WorldEvent> events = {
        event(10, EventKind::ThreatBegan, 4, kReactionNone),  // nothing applied
        event(20, EventKind::ThreatPassed, 4, kReactionNone),
        event(30, EventKind::ThreatBegan, 4, kReactionHop),
        event(35, EventKind::ThreatBegan, 5, kReactionBlink),
        event(40, EventKind::ThreatBegan, 4, kReactionShutdown),  // its reaction was set anew
        event(50, EventKind::RadarRemoved, 4),
        event(60, EventKind::ThreatPassed, 5, kReactionNone),  // the instructor's change kept
    };
    EXPECT_EQ(reactionPeriods(events, 4),
              (std::vector<ReactionPeriod>{{30, 40, kReactionHop}, {40, 50, kReactionShutdown}}));
    EXPECT_EQ(reactionPeriods(events, 5),
              (std::vector<ReactionPeriod>{{35, 60, kReactionBlink}}));
}

}  // namespace
}  // namespace prrsim::review
