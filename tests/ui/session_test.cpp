// The recorded session: jumps rebuild the world of their tick bit for bit, watching replays the
// recording, a change before the end drops the rest only when allowed, write-backs are recorded
// only when they write something, and the windows' selection survives replays.
#include <gtest/gtest.h>

#include "scenario/runner.h"
#include "missile/world_comparison.h"
#include "ui/changes.h"
#include "session/session.h"
#include "ui/view_state.h"
#include "world/world.h"

namespace prrsim::ui {
namespace {

batch::Scenario scene(const std::string& start, int64_t ticks, const std::string& actions) {
    const std::string text = R"({"start": ")" + start + R"(", "ticks": )" + std::to_string(ticks) +
                             R"(, "actions": [)" + actions + "]}";
    std::string error;
    auto s = batch::parseScenario(text, "s.json", error);
    EXPECT_TRUE(s) << error;
    return s ? *s : batch::Scenario{};
}

// The batch runner's world after `ticks` of the scenario.
std::unique_ptr<WorldState> batchWorld(batch::Scenario s, int64_t ticks) {
    s.ticks = ticks;
    std::erase_if(s.actions, [ticks](const batch::Action& a) { return a.tick > ticks; });
    auto world = makeWorld();
    const batch::RunResult r = batch::runScenario(*world, s, "s.json", {});
    EXPECT_EQ(r.status, batch::RunStatus::Ok) << r.error;
    return world;
}

void expectSameRecords(const WorldState& a, const WorldState& b, const std::string& where) {
    const testing::Comparison cmp = testing::compareRecords(a, b);
    EXPECT_TRUE(cmp.same()) << where << ":\n" << cmp.report();
}

// A HARM launched from aircraft 0 onto radar 0, radars retuned and moved, an aircraft added and
// removed: 9,000 ticks, past a few snapshots.
const char* kFlight = R"(
    {"tick": 0, "op": "pickTarget", "aircraft": 0, "radar": 0},
    {"tick": 0, "op": "addMissile", "aircraft": 0, "type": 3, "launchMode": 0},
    {"tick": 0, "op": "activate", "missile": 0},
    {"tick": 10, "op": "capture", "missile": 0},
    {"tick": 300, "op": "launch", "missile": 0},
    {"tick": 3999, "op": "setFrequency", "radar": 2, "percent": 40},
    {"tick": 4000, "op": "addAircraft"},
    {"tick": 4000, "op": "placeRadar", "radar": 5, "x": 100, "y": 100},
    {"tick": 6000, "op": "removeAircraft", "aircraft": 4},
    {"tick": 8001, "op": "setAircraft", "aircraft": 1, "heading": 45.5})";

class SessionTest : public ::testing::Test {
  protected:
    void open(const batch::Scenario& s) {
        batch::ScenarioError error;
        ASSERT_TRUE(session.open(s, "s.json", error)) << error.line();
    }

    std::unique_ptr<WorldState> world = makeWorld();
    session::Session session{*world};
};

TEST_F(SessionTest, JumpsRebuildTheWorldOfTheirTickBitForBit) {
    const batch::Scenario s = scene("default", 9000, kFlight);
    open(s);
    EXPECT_EQ(session.tick(), 9000);
    expectSameRecords(*world, *batchWorld(s, 9000), "opened");
    constexpr int64_t k = session::Session::kSnapshotInterval;
    EXPECT_EQ(session.snapshotCount(), static_cast<size_t>(9000 / k + 1));
    // Backwards, forwards from the current tick, onto and next to snapshots and actions.
    for (const int64_t tick :
         {0L, 5L, k - 1, k, k + 1, 2 * k + 1, 8999L, 299L, 300L, 4000L, 3999L, 9000L}) {
        session.jumpTo(tick);
        ASSERT_EQ(session.tick(), tick);
        expectSameRecords(*world, *batchWorld(s, tick), "jump to " + std::to_string(tick));
    }
}

TEST_F(SessionTest, WatchingFromAJumpReplaysTheRecordedActionsAtTheirTicks) {
    const batch::Scenario s = scene("default", 9000, kFlight);
    open(s);
    session.jumpTo(3900);
    EXPECT_TRUE(session.actionsAhead());
    for (int i = 0; i < 2200; ++i) {
        session.step();
    }
    expectSameRecords(*world, *batchWorld(s, 6100), "watched to 6100");
    EXPECT_EQ(session.end(), 9000);
    EXPECT_FALSE(session.modified());
}

// An add and a removal in one tick leave the table's count as it was but write a slot above
// it; a jump back must return that slot to its default.
TEST_F(SessionTest, AddAndRemoveInOneTickStillCountForTheSlotsAJumpClears) {
    const batch::Scenario s = scene("empty", 40, R"(
        {"tick": 10, "op": "addAircraft"},
        {"tick": 10, "op": "removeAircraft", "aircraft": 0})");
    open(s);
    EXPECT_EQ(world->aircraft[0].speed, 750);  // the vacated slot keeps its values
    session.jumpTo(5);
    expectSameRecords(*world, *batchWorld(s, 5), "after the jump back");
    EXPECT_EQ(world->aircraft[0].speed, 0);
}

TEST_F(SessionTest, ChangeBeforeTheEndDropsTheRestOnlyWhenAllowed) {
    open(scene("default", 500, R"(
        {"tick": 100, "op": "setRotation", "radar": 1, "on": false},
        {"tick": 400, "op": "setBlink", "radar": 1, "period": 2})"));
    std::vector<int64_t> asked;
    bool allow = false;
    session.confirmDrop = [&](int64_t tick) {
        asked.push_back(tick);
        return allow;
    };
    session.jumpTo(200);
    const double before = world->aircraft[0].speed;
    const batch::Action speed = change::setAircraft(0, kFieldSpeed, 900);
    EXPECT_FALSE(session.perform(speed));
    EXPECT_EQ(world->aircraft[0].speed, before);
    EXPECT_EQ(session.actionCount(), 2u);
    EXPECT_FALSE(session.modified());

    // An action that could not be applied is refused before anything is asked.
    EXPECT_FALSE(session.perform(change::onAircraft(batch::Op::RemoveAircraft, 9)));
    EXPECT_EQ(asked, std::vector<int64_t>{200});

    allow = true;
    EXPECT_TRUE(session.perform(speed));
    EXPECT_EQ(asked, (std::vector<int64_t>{200, 200}));
    EXPECT_EQ(world->aircraft[0].speed, 900);
    const batch::Scenario r = session.recording();
    ASSERT_EQ(r.actions.size(), 2u);
    EXPECT_EQ(r.actions[1].op, batch::Op::SetAircraft);
    EXPECT_EQ(r.actions[1].tick, 200);
    EXPECT_EQ(r.ticks, 200);
    EXPECT_TRUE(session.modified());
    // From here on the session records as it runs, without asking.
    session.step();
    EXPECT_TRUE(session.perform(change::onRadar(batch::Op::SetFrequency, 0, 10)));
    EXPECT_EQ(asked.size(), 2u);
    expectSameRecords(*world, *batchWorld(session.recording(), 201), "after the branch");
}

TEST_F(SessionTest, WriteBacksAreRecordedOnlyWhenTheyWriteSomethingAtTheEnd) {
    open(scene("default", 50,
               R"({"tick": 20, "op": "setAircraft", "aircraft": 2, "speed": 750.5})"));
    const batch::Action whole = change::setAircraft(2, kFieldSpeed, 750);
    // While watching an earlier tick the recording is left as it is.
    session.jumpTo(30);
    EXPECT_FALSE(session.perform(whole, session::Change::WriteBack));
    session.jumpTo(50);
    EXPECT_TRUE(session.perform(whole, session::Change::WriteBack));
    EXPECT_EQ(world->aircraft[2].speed, 750);
    // The value is there now: nothing more to record.
    EXPECT_FALSE(session.perform(whole, session::Change::WriteBack));
    EXPECT_EQ(session.actionCount(), 2u);
    // -0.0 and 0.0 differ in the bits a trace compares.
    EXPECT_TRUE(session.perform(change::setAircraft(2, kFieldClimbAngle, -0.0), session::Change::WriteBack));
}

TEST_F(SessionTest, RefusedChangesLeaveWorldAndRecordingAlone) {
    session.reset(batch::StartWorld::Default);
    const auto before = makeWorld();
    *before = *world;
    const batch::Action refused[] = {
        change::onAircraft(batch::Op::RemoveAircraft, 4),  // no aircraft 4
        change::placeRadar(0, 650, 10),                    // off the map: no file holds it
        change::onMissile(batch::Op::Launch, 0),           // no missile yet
        change::onRadar(batch::Op::SetScanMethod, 0, 0),   // the type has no scan methods
        change::setAircraft(0, kFieldSpeed, -5),           // below the speed bar
    };
    for (const batch::Action& a : refused) {
        EXPECT_FALSE(session.perform(a)) << batch::opName(a.op);
    }
    EXPECT_EQ(session.actionCount(), 0u);
    expectSameRecords(*world, *before, "after the refusals");
}

TEST_F(SessionTest, ReplayedActionsKeepTheWindowsSelectionAndModes) {
    open(scene("default", 100, R"(
        {"tick": 50, "op": "addRadar", "type": 2},
        {"tick": 60, "op": "setAircraft", "aircraft": 1, "speed": 300})"));
    session.jumpTo(40);
    // The window's view kept across replays as the main window keeps it.
    ViewState view;
    view.selectedAircraft = 1;
    view.moveAircraftMode = true;
    TableLengths before;
    int replaced = 0;
    session.worldReplacing = [&](bool anotherScene) {
        EXPECT_FALSE(anotherScene);
        before = tableLengths(*world);
    };
    session.worldReplaced = [&] {
        keepAfterRebuild(view, before, *world);
        ++replaced;
    };
    for (int i = 0; i < 20; ++i) {
        session.step();
    }
    // The replayed add changes no selection or mode, and the aircraft table kept its length, so
    // its selection stays.
    EXPECT_EQ(view.selectedAircraft, 1);
    EXPECT_EQ(view.selectedRadar, -1);
    EXPECT_FALSE(view.radarPlaceMode);
    EXPECT_TRUE(view.moveAircraftMode);
    EXPECT_EQ(world->aircraft[1].speed, 300);
    EXPECT_EQ(replaced, 2);
    // A jump to before the radar was added: the radar table shrank.
    view.selectedRadar = 6;
    view.selectedAircraft = -1;
    session.jumpTo(10);
    EXPECT_EQ(view.selectedRadar, -1);
}

TEST_F(SessionTest, FailedOpenLeavesTheSessionAsItWas) {
    open(scene("default", 30, R"({"tick": 5, "op": "addAircraft"})"));
    const auto before = makeWorld();
    *before = *world;
    batch::ScenarioError error;
    EXPECT_FALSE(session.open(scene("default", 100, R"(
        {"tick": 0, "op": "removeRadar", "radar": 5},
        {"tick": 70, "op": "setEmission", "radar": 5, "on": false})"),
                              "bad.json", error));
    EXPECT_EQ(error.line(),
              "bad.json: action 1 (setEmission) at tick 70: field \"radar\": 5 is not a radar "
              "position now (there are 5)");
    EXPECT_EQ(session.tick(), 30);
    EXPECT_EQ(session.actionCount(), 1u);
    expectSameRecords(*world, *before, "after the failed open");
    // Given up through the progress report: the same.
    EXPECT_FALSE(session.open(scene("default", 9000, ""), "long.json", error,
                              [](int64_t done, int64_t) { return done < 4000; }));
    EXPECT_EQ(error.refusal.code, batch::RefusalCode::Cancelled);
    EXPECT_EQ(session.tick(), 30);
}

TEST_F(SessionTest, SnapshotsKeepOnlyTheSlotsTheTablesHaveUsed) {
    session.reset(batch::StartWorld::Default);
    const size_t oneDefault = session.snapshotBytes();
    // Four aircraft, six radars, two complexes, no missiles: far below a full table copy.
    EXPECT_LT(oneDefault, sizeof(WorldState) / 20);
    for (int i = 0; i < 2 * session::Session::kSnapshotInterval; ++i) {
        session.step();
    }
    EXPECT_EQ(session.snapshotCount(), 3u);  // ticks 0, one interval and two
    EXPECT_EQ(session.snapshotBytes(), 3 * oneDefault);
}

}  // namespace
}  // namespace prrsim::ui
