// The ops of an aircraft's attack run, the run loop's order, the generator's seed, the op names
// and the scenario's defaults. What the other ops do is pinned by the scenario digests.
#include <gtest/gtest.h>

#include "batch/runner.h"
#include "batch_test_support.h"

namespace prrsim::batch {
namespace {

using namespace testing;

// Runs a scenario on a fresh world and returns it; the run must succeed.
std::unique_ptr<WorldState> run(const std::string& start, int64_t ticks, const std::string& actions,
                                uint32_t seed = 1, std::string* trace = nullptr) {
    const std::string text = R"({"start": ")" + start + R"(", "seed": )" + std::to_string(seed) +
                             R"(, "ticks": )" + std::to_string(ticks) + R"(, "actions": [)" +
                             actions + "]}";
    std::string error;
    const auto scenario = parseScenario(text, "a.json", error);
    EXPECT_TRUE(scenario.has_value()) << error;
    auto world = makeWorld();
    std::ostringstream out;
    const RunResult r = runScenario(*world, *scenario, "a.json", {1, trace ? &out : nullptr});
    EXPECT_EQ(r.status, RunStatus::Ok) << r.error;
    if (trace != nullptr) {
        *trace = out.str();
    }
    return world;
}

struct AttackRow {
    std::vector<std::string> ops;  // ops on aircraft 0: "attackRun", "clearTarget", a radar to pick
    int32_t targetRadar;
    bool onAttackRun;
};

class AttackOps : public ::testing::TestWithParam<AttackRow> {};

// attackRun without a target does nothing, with one it toggles; clearTarget ends both; a pick
// away from every radar (-1) clears the target.
TEST_P(AttackOps, TargetAndAttackRunOfAircraftZero) {
    std::string actions;
    for (const std::string& op : GetParam().ops) {
        const bool pick = op[0] == '-' || std::isdigit(static_cast<unsigned char>(op[0]));
        actions += (actions.empty() ? "" : ", ") +
                   (pick ? R"({"tick": 0, "op": "pickTarget", "aircraft": 0, "radar": )" + op + "}"
                         : R"({"tick": 0, "op": ")" + op + R"(", "aircraft": 0})");
    }
    const auto w = run("default", 0, actions);
    EXPECT_EQ(w->aircraft[0].targetRadar, GetParam().targetRadar);
    EXPECT_EQ(w->aircraft[0].onAttackRun, GetParam().onAttackRun);
}

INSTANTIATE_TEST_SUITE_P(Rows, AttackOps,
                         ::testing::Values(AttackRow{{"attackRun"}, -1, false},
                                           AttackRow{{"2", "attackRun"}, 2, true},
                                           AttackRow{{"2", "attackRun", "attackRun"}, 2, false},
                                           AttackRow{{"2", "attackRun", "clearTarget"}, -1, false},
                                           AttackRow{{"4", "-1"}, -1, false}));

TEST(RunLoop, ActionsOfATickComeBeforeItsLineAndInFileOrder) {
    std::string trace;
    const auto w = run("empty", 3, R"({"tick": 2, "op": "addAircraft"},
                      {"tick": 2, "op": "setAircraft", "aircraft": 0, "x": 5},
                      {"tick": 2, "op": "setAircraft", "aircraft": 0, "x": 7, "speed": 0},
                      {"tick": 3, "op": "addAircraft"})",
                       1, &trace);
    const std::vector<std::string> all = lines(trace);
    ASSERT_EQ(all.size(), 4u);
    EXPECT_TRUE(nlohmann::json::parse(all[1])["aircraft"].empty());
    EXPECT_EQ(nlohmann::json::parse(all[2])["aircraft"][0]["x"], 7);
    // Actions on the last tick apply without another tick: the new aircraft never moved.
    EXPECT_EQ(nlohmann::json::parse(all[3])["aircraft"].size(), 2u);
    EXPECT_EQ(w->aircraft[1].x, 300);
}

TEST(RunLoop, SeedIsAppliedAfterTheStartWorld) {
    // The default radars' frequencies come before the seed; later draws follow it.
    const std::string add = R"({"tick": 0, "op": "addRadar", "type": 2},
                               {"tick": 0, "op": "addRadar", "type": 2},
                               {"tick": 0, "op": "addRadar", "type": 2})";
    const auto a = run("default", 0, add, 1);
    const auto b = run("default", 0, add, 1);
    const auto c = run("default", 0, add, 77);
    for (int j = 0; j < 6; ++j) {
        EXPECT_EQ(a->radars[j].frequencyPercent, c->radars[j].frequencyPercent);
    }
    std::mt19937 seeded(1);
    for (int j = 6; j < 9; ++j) {
        EXPECT_EQ(a->radars[j].frequencyPercent, b->radars[j].frequencyPercent);
        EXPECT_EQ(a->radars[j].frequencyPercent, static_cast<int32_t>(seeded() % 100));
    }
    bool differs = false;
    for (int j = 6; j < 9; ++j) {
        differs = differs || a->radars[j].frequencyPercent != c->radars[j].frequencyPercent;
    }
    EXPECT_TRUE(differs);
}

TEST(Ops, EveryOpHasANameThatParsesBackToIt) {
    for (int i = 0; i <= static_cast<int>(Op::SeekerOnDistance); ++i) {
        const Op op = static_cast<Op>(i);
        const std::string name(opName(op));
        ASSERT_NE(name, "?");
        std::string error;
        // A missing field is reported with the op's name: the name was recognised.
        const auto s = parseScenario(
            R"({"start": "empty", "ticks": 1, "actions": [{"tick": 0, "op": ")" + name + R"("}]})",
            "o.json", error);
        if (s) {
            ASSERT_EQ(s->actions.size(), 1u);
            EXPECT_EQ(s->actions[0].op, op);
        } else {
            EXPECT_NE(error.find("(" + name + ")"), std::string::npos) << error;
        }
    }
}

TEST(Ops, DefaultsOfTheScenario) {
    std::string error;
    const auto s = parseScenario(R"({"start": "empty", "ticks": 5, "description": "x",
                                     "actions": [{"tick": 0, "op": "addRadar", "type": 3}]})",
                                 "d.json", error);
    ASSERT_TRUE(s) << error;
    EXPECT_EQ(s->seed, 1u);
    EXPECT_EQ(s->description, "x");
    EXPECT_TRUE(s->actions[0].operational);
    const auto none = parseScenario(R"({"start": "default", "ticks": 0})", "n.json", error);
    ASSERT_TRUE(none) << error;
    EXPECT_TRUE(none->actions.empty());
    EXPECT_EQ(none->start, StartWorld::Default);
}

}  // namespace
}  // namespace prrsim::batch
