// What each op does to the world, the run loop's order, and the generator's seed.
#include <gtest/gtest.h>

#include "batch/runner.h"
#include "batch_test_support.h"
#include "catalog/radar_catalog.h"
#include "world/geometry.h"

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

TEST(Actions, StartWorlds) {
    const auto empty = run("empty", 0, "");  // landmarks only
    EXPECT_EQ(empty->landmarkCount, 32);
    EXPECT_EQ(empty->aircraftCount + empty->radarCount + empty->placedComplexCount, 0);
    const auto w = run("default", 0, "");
    EXPECT_EQ(w->aircraftCount, 4);
    EXPECT_EQ(w->radarCount, 6);
    EXPECT_EQ(w->placedComplexCount, 2);
    EXPECT_EQ(w->missileCount, 0);
}

TEST(Actions, SetAircraftWritesOnlyTheGivenFields) {
    const auto w =
        run("default", 0,
            R"({"tick": 0, "op": "setAircraft", "aircraft": 1, "heading": 90.5, "speed": 0})");
    const Aircraft& a = w->aircraft[1];
    EXPECT_EQ(a.heading, 90.5);
    EXPECT_EQ(a.speed, 0);
    EXPECT_EQ(a.x, 424);
    EXPECT_EQ(a.y, 318);
    EXPECT_EQ(a.altitude, 22);
    EXPECT_EQ(a.climbAngle, 0);
}

TEST(Actions, PickClearAndAttackRun) {
    // attackRun without a target does nothing; with one it toggles; clearTarget ends both.
    auto w = run("default", 0, R"({"tick": 0, "op": "attackRun", "aircraft": 0})");
    EXPECT_FALSE(w->aircraft[0].onAttackRun);
    w = run("default", 0, R"({"tick": 0, "op": "pickTarget", "aircraft": 0, "radar": 2},
                             {"tick": 0, "op": "attackRun", "aircraft": 0})");
    EXPECT_EQ(w->aircraft[0].targetRadar, 2);
    EXPECT_TRUE(w->aircraft[0].onAttackRun);
    w = run("default", 0, R"({"tick": 0, "op": "pickTarget", "aircraft": 0, "radar": 2},
                             {"tick": 0, "op": "attackRun", "aircraft": 0},
                             {"tick": 0, "op": "attackRun", "aircraft": 0})");
    EXPECT_FALSE(w->aircraft[0].onAttackRun);
    w = run("default", 0, R"({"tick": 0, "op": "pickTarget", "aircraft": 0, "radar": 2},
                             {"tick": 0, "op": "attackRun", "aircraft": 0},
                             {"tick": 0, "op": "clearTarget", "aircraft": 0})");
    EXPECT_FALSE(w->aircraft[0].onAttackRun);
    EXPECT_EQ(w->aircraft[0].targetRadar, -1);
    // A click away from every radar clears the target.
    w = run("default", 0, R"({"tick": 0, "op": "pickTarget", "aircraft": 3, "radar": 4},
                             {"tick": 0, "op": "pickTarget", "aircraft": 3, "radar": -1})");
    EXPECT_EQ(w->aircraft[3].targetRadar, -1);
}

TEST(Actions, AttackRunSteersAtTheTarget) {
    // Aircraft 0 at (244, 192) sent at radar 2 at (345, 264): after one tick the course is
    // the bearing to the radar in whole degrees.
    const auto w = run("default", 1, R"({"tick": 0, "op": "pickTarget", "aircraft": 0, "radar": 2},
                                       {"tick": 0, "op": "attackRun", "aircraft": 0})");
    const Aircraft& a = w->aircraft[0];
    EXPECT_EQ(a.heading, bearingDeg(a.x, a.y, 345, 264));
    EXPECT_EQ(a.heading, std::trunc(a.heading));
}

TEST(Actions, AddComplexAndPlaceMovesEveryMember) {
    const auto w = run("default", 0, R"({"tick": 0, "op": "addComplex", "complex": 2},
        {"tick": 0, "op": "placeRadar", "radar": 6, "x": 100, "y": 50})");
    ASSERT_EQ(w->radarCount, 8);
    EXPECT_EQ(w->placedComplexCount, 3);
    for (int j : {6, 7}) {
        EXPECT_EQ(w->radars[j].placedComplex, 2);
        EXPECT_EQ(w->radars[j].x, 100);
        EXPECT_EQ(w->radars[j].y, 50);
    }
    EXPECT_EQ(radarType(w->radars[6].typeIndex).name, "Тор, РЛС сопровождения");
    EXPECT_EQ(radarType(w->radars[7].typeIndex).name, "Тор, РЛС обнаружения");
    // The default complexes did not move.
    EXPECT_EQ(w->radars[0].x, 430);
}

TEST(Actions, AddRadarOperationalOrNot) {
    const auto w = run("empty", 0, R"({"tick": 0, "op": "addRadar", "type": 9},
        {"tick": 0, "op": "addRadar", "type": 9, "operational": false})");
    ASSERT_EQ(w->radarCount, 2);
    EXPECT_TRUE(w->radars[0].emissionOn);
    EXPECT_TRUE(w->radars[0].rotationOn);
    EXPECT_FALSE(w->radars[1].emissionOn);
    EXPECT_FALSE(w->radars[1].radiating);
    EXPECT_EQ(w->radars[1].placedComplex, -1);
    EXPECT_EQ(w->radars[1].x, 300);
}

TEST(Actions, RadarPanelOps) {
    const auto w = run("default", 0, R"(
        {"tick": 0, "op": "setEmission", "radar": 2, "on": false},
        {"tick": 0, "op": "setRotation", "radar": 1, "on": false},
        {"tick": 0, "op": "setBlink", "radar": 5, "period": 3},
        {"tick": 0, "op": "setAntennaDirection", "radar": 3, "degrees": 200},
        {"tick": 0, "op": "setScanMethod", "radar": 3, "method": 1},
        {"tick": 0, "op": "setFrequency", "radar": 4, "percent": 100},
        {"tick": 0, "op": "setPrfMode", "radar": 2, "mode": 2},
        {"tick": 0, "op": "setIllumination", "radar": 0, "on": true})");
    EXPECT_FALSE(w->radars[2].emissionOn);
    EXPECT_FALSE(w->radars[2].radiating);
    EXPECT_FALSE(w->radars[1].rotationOn);
    EXPECT_EQ(w->radars[5].blinkPeriod, 3);
    EXPECT_FALSE(w->radars[5].radiating);
    EXPECT_EQ(w->radars[3].antennaDirection, 200);
    EXPECT_EQ(w->radars[3].scanMethod, 1);
    EXPECT_FALSE(w->radars[3].inSector);
    EXPECT_EQ(w->radars[4].frequencyPercent, 100);
    EXPECT_EQ(w->radars[4].frequency, 10200);
    EXPECT_EQ(w->radars[2].prfMode, 2);
    EXPECT_TRUE(w->radars[0].illuminationOn);
}

TEST(Actions, TrackingOps) {
    // Radar 4 (fire control) takes aircraft 1; radar 3 drops entry 0 of its two; an entry
    // outside the list is ignored; radar 3 is then reset.
    auto w = run("default", 0, R"({"tick": 0, "op": "assignTarget", "radar": 4, "aircraft": 1},
                                  {"tick": 0, "op": "removeTrack", "radar": 3, "entry": 0},
                                  {"tick": 0, "op": "removeTrack", "radar": 3, "entry": 5},
                                  {"tick": 0, "op": "removeTrack", "radar": 3, "entry": -1})");
    EXPECT_EQ(w->radars[4].currentTarget, 1);
    EXPECT_TRUE(w->radars[4].captureActive);
    EXPECT_EQ(w->radars[3].trackCount, 1);
    EXPECT_EQ(w->radars[3].trackList[0], 1);
    w = run("default", 0, R"({"tick": 0, "op": "resetTracking", "radar": 3})");
    EXPECT_EQ(w->radars[3].trackCount, 0);
    EXPECT_FALSE(w->radars[3].captureActive);
    EXPECT_EQ(w->radars[3].currentTarget, -1);
}

TEST(Actions, RemovalsRenumberAsTheTablesDo) {
    // Removing aircraft 0 leaves radar 3 tracking -1 and 0 (the former aircraft 1).
    auto w = run("default", 0, R"({"tick": 0, "op": "removeAircraft", "aircraft": 0})");
    EXPECT_EQ(w->aircraftCount, 3);
    EXPECT_EQ(w->radars[3].trackList[0], -1);
    EXPECT_EQ(w->radars[3].trackList[1], 0);
    // Removing radar 1 moves radar 2 down with its index field and the aircraft aiming at it.
    w = run("default", 0, R"({"tick": 0, "op": "pickTarget", "aircraft": 0, "radar": 2},
                             {"tick": 0, "op": "removeRadar", "radar": 1})");
    EXPECT_EQ(w->radarCount, 5);
    EXPECT_EQ(w->radars[1].index, 1);
    EXPECT_EQ(w->aircraft[0].targetRadar, 1);
    // A missile loaded on a removed aircraft goes with it.
    w = run("default", 0,
            R"({"tick": 0, "op": "addMissile", "aircraft": 1, "type": 3, "launchMode": 1},
                {"tick": 0, "op": "removeAircraft", "aircraft": 1})");
    EXPECT_EQ(w->missileCount, 0);
}

TEST(Actions, MissileOps) {
    const auto w = run("default", 0, R"(
        {"tick": 0, "op": "pickTarget", "aircraft": 1, "radar": 0},
        {"tick": 0, "op": "addMissile", "aircraft": 1, "type": 3, "launchMode": 1},
        {"tick": 0, "op": "addMissile", "aircraft": 2, "type": 4, "launchMode": 4},
        {"tick": 0, "op": "addMissile", "aircraft": 0, "type": 3, "launchMode": 0},
        {"tick": 0, "op": "activate", "missile": 0},
        {"tick": 0, "op": "capture", "missile": 0},
        {"tick": 0, "op": "seekerOnDistance", "missile": 1, "value": 40},
        {"tick": 0, "op": "launch", "missile": 2})");
    ASSERT_EQ(w->missileCount, 3);
    const Missile& m0 = w->missiles[0];
    EXPECT_EQ(m0.carrier, 1);
    EXPECT_EQ(m0.typeIndex, 3);
    EXPECT_EQ(m0.launchModeIndex, 1);
    EXPECT_EQ(m0.activated, 1);
    EXPECT_EQ(m0.capturing, 1);
    EXPECT_EQ(m0.x, w->aircraft[1].x);
    const Missile& m1 = w->missiles[1];
    EXPECT_EQ(m1.carrier, 2);
    EXPECT_EQ(m1.index, 1);
    EXPECT_EQ(m1.seekerOnDistance, 40);
    EXPECT_EQ(w->missiles[2].launched, 1);
    EXPECT_EQ(w->missiles[2].mass, 354);
    EXPECT_EQ(w->missiles[1].launched, 0);
    EXPECT_EQ(w->selectedAircraft, 0);
    EXPECT_EQ(w->selectedMissile, 2);
}

TEST(RunLoop, ActionsOfATickComeBeforeItsLineAndInFileOrder) {
    std::string trace;
    run("empty", 3, R"({"tick": 2, "op": "addAircraft"},
                      {"tick": 2, "op": "setAircraft", "aircraft": 0, "x": 5},
                      {"tick": 2, "op": "setAircraft", "aircraft": 0, "x": 7, "speed": 0})",
        1, &trace);
    const std::vector<std::string> all = lines(trace);
    ASSERT_EQ(all.size(), 4u);
    EXPECT_TRUE(nlohmann::json::parse(all[1])["aircraft"].empty());
    const auto line2 = nlohmann::json::parse(all[2]);
    EXPECT_EQ(line2["aircraft"][0]["x"], 7);
    EXPECT_EQ(nlohmann::json::parse(all[3])["aircraft"][0]["x"], 7);  // speed 0: stays
}

TEST(RunLoop, ActionsOnTheLastTickApplyWithoutAnotherTick) {
    std::string trace;
    const auto w = run("empty", 2, R"({"tick": 2, "op": "addAircraft"})", 1, &trace);
    EXPECT_EQ(w->aircraftCount, 1);
    EXPECT_EQ(w->aircraft[0].x, 300);  // placed, never moved
    EXPECT_EQ(nlohmann::json::parse(lines(trace).back())["aircraft"].size(), 1u);
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

TEST(RunLoop, TwoRunsWriteTheSameBytes) {
    const std::string actions = R"(
        {"tick": 0, "op": "addRadar", "type": 8},
        {"tick": 0, "op": "placeRadar", "radar": 6, "x": 250, "y": 200},
        {"tick": 10, "op": "addMissile", "aircraft": 2, "type": 3, "launchMode": 0},
        {"tick": 10, "op": "activate", "missile": 0},
        {"tick": 50, "op": "setBlink", "radar": 1, "period": 2})";
    std::string first;
    std::string second;
    run("default", 400, actions, 9, &first);
    run("default", 400, actions, 9, &second);
    EXPECT_EQ(lines(first).size(), 401u);
    EXPECT_EQ(first, second);
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
