// The crews' reactions through a whole run: the trace carries the reaction's keys only for
// radars whose reaction is not none, and the log tells the threat and its end in words.
#include <gtest/gtest.h>

#include <nlohmann/json.hpp>

#include "review/event_log.h"
#include "scenario/runner.h"
#include "batch_test_support.h"

namespace prrsim::batch {
namespace {

using namespace testing;
using nlohmann::json;

struct Sentences final : RunListener {
    void onEvents(const WorldState&, std::span<const WorldEvent> events) override {
        for (const WorldEvent& e : events) {
            if (e.kind == EventKind::ThreatBegan || e.kind == EventKind::ThreatPassed) {
                said.push_back(describeEvent(e));
            }
        }
    }
    std::vector<std::string> said;
};

struct Outcome {
    std::vector<std::string> trace;
    std::vector<std::string> said;
};

Outcome run(const std::string& name, int64_t every) {
    const fs::path path = sourcePath("tests/scenario/edges") / (name + ".json");
    std::string error;
    const auto scenario = loadScenario(path.string(), error);
    EXPECT_TRUE(scenario.has_value()) << error;
    auto world = makeWorld();
    std::ostringstream out;
    Sentences sentences;
    RunOptions options(every, &out);
    options.listeners.push_back(&sentences);
    const RunResult r = runScenario(*world, *scenario, path.string(), options);
    EXPECT_EQ(r.status, RunStatus::Ok) << r.error;
    return {lines(out.str()), sentences.said};
}

TEST(ReactionTrace, KeysOnlyWhileTheReactionIsNotNone) {
    const Outcome r = run("reaction_shutdown", 500);
    ASSERT_EQ(r.trace.size(), 13u);
    const json early = json::parse(r.trace[1]);  // tick 500
    const json late = json::parse(r.trace[2]);   // tick 1000: the second radar's set to none
    EXPECT_EQ(early["radars"][0]["reactionKind"], kReactionShutdown);
    EXPECT_EQ(early["radars"][1]["reactionPhase"], kReactionThreatened);
    EXPECT_EQ(early["radars"][1]["reactionApplied"], true);
    EXPECT_TRUE(late["radars"][0].contains("reactionHoldLeft"));
    for (const char* key : {"reactionKind", "reactionWarnKm", "reactionHoldSeconds",
                            "reactionValue", "reactionPhase", "reactionHoldLeft",
                            "reactionApplied", "reactionPrevious"}) {
        EXPECT_TRUE(early["radars"][1].contains(key)) << key;
        EXPECT_FALSE(late["radars"][1].contains(key)) << key;
    }
    EXPECT_EQ(late["radars"][1]["emissionOn"], false);  // none did not undo the shutdown
}

struct WordsRow {
    const char* scenario;
    std::vector<std::string> said;
};

class ReactionWords : public ::testing::TestWithParam<WordsRow> {};

TEST_P(ReactionWords, TheLogSaysWhatTheCrewDidAndUndid) {
    EXPECT_EQ(run(GetParam().scenario, 100000).said, GetParam().said);
}

INSTANTIATE_TEST_SUITE_P(
    Kinds, ReactionWords,
    ::testing::Values(
        WordsRow{"reaction_shutdown",
                 {"РЛС №2 «Куб, РЛС сопровождения 1С31»: угроза — ракета №1 в 16,2 км, "
                  "излучение выключено",
                  "РЛС №1 «Куб, РЛС сопровождения 1С31»: угроза — ракета №1 в 12 км, "
                  "излучение выключено",
                  "РЛС №1 «Куб, РЛС сопровождения 1С31»: угроза миновала, излучение включено"}},
        WordsRow{"reaction_blink",
                 {"РЛС №1 «Куб, РЛС обнаружения 1С11»: угроза — ракета №1 в 20 км, мерцание 2",
                  "РЛС №1 «Куб, РЛС обнаружения 1С11»: угроза миновала, мерцание выключено"}},
        WordsRow{"reaction_hop",
                 {"РЛС №1 «Куб, РЛС обнаружения 1С11»: угроза — ракета №1 в 25 км, частота "
                  "переведена на 90 % диапазона",
                  "РЛС №1 «Куб, РЛС обнаружения 1С11»: угроза миновала, частота возвращена на "
                  "30 % диапазона"}}),
    [](const auto& info) { return std::string(info.param.scenario); });

}  // namespace
}  // namespace prrsim::batch
