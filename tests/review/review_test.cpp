// After-action review from the batch runner: the event sequences of whole attacks, the events
// against the state they describe, the per-missile summary, and the JSON-line and CSV forms.
#include <gtest/gtest.h>

#include <bit>
#include <map>
#include <set>

#include "review/csv.h"
#include "review/event_log.h"
#include "review/missile_summary.h"
#include "scenario/runner.h"
#include "batch_test_support.h"
#include "world/world.h"

namespace prrsim::batch {
namespace {

using namespace testing;
using nlohmann::json;

const fs::path kScenarios = sourcePath("tests/scenario/scenarios");

// Keeps every event, and the first missile's state after every sampled tick.
struct Recorder final : RunListener {
    struct State {
        uint8_t activated, launched, locked, guidanceMode, directGuidance;
    };
    std::vector<WorldEvent> events;
    std::map<int64_t, State> missile;
    void onEvents(const WorldState&, std::span<const WorldEvent> e) override {
        events.insert(events.end(), e.begin(), e.end());
    }
    void onSample(const WorldState& world, int64_t tick) override {
        for (int32_t i = 0; i < world.missileCount; ++i) {
            const Missile& m = world.missiles[i];
            if (m.review.number == 1) {
                missile[tick] = {m.activated, m.launched, m.locked, m.guidanceMode,
                                 m.directGuidance};
            }
        }
    }
};

Scenario load(const std::string& name) {
    std::string error;
    auto scenario = loadScenario((kScenarios / (name + ".json")).string(), error);
    EXPECT_TRUE(scenario.has_value()) << error;
    return scenario.value_or(Scenario{});
}

RunResult run(WorldState& world, const Scenario& scenario, RunListener& listener,
              int64_t every = 100) {
    RunOptions options(every);
    options.listeners.push_back(&listener);
    RunResult result = runScenario(world, scenario, "s.json", options);
    EXPECT_EQ(result.status, RunStatus::Ok) << result.error;
    return result;
}

// The codes of the first missile's events and of the radars' switches, in order.
std::string story(const std::vector<WorldEvent>& events) {
    std::string codes;
    for (const WorldEvent& e : events) {
        const bool radarSwitch = e.kind == EventKind::EmissionOff ||
                                 e.kind == EventKind::EmissionOn ||
                                 e.kind == EventKind::BlinkStarted;
        if (e.missile.number == 1 || radarSwitch) {
            codes += (codes.empty() ? "" : " ") + std::string(eventKindCode(e.kind));
        }
    }
    return codes;
}

TEST(EventKinds, EachHasItsOwnCodeLabelAndSentence) {
    std::set<std::string> codes;
    std::set<std::string_view> labels;
    for (int32_t k = 0; k < kEventKindCount; ++k) {
        WorldEvent e;
        e.kind = static_cast<EventKind>(k);
        codes.insert(eventKindCode(e.kind));
        labels.insert(eventKindLabel(e.kind));
        EXPECT_FALSE(describeEvent(e).empty()) << eventKindCode(e.kind);
    }
    codes.erase("");
    labels.erase("");
    EXPECT_EQ(codes.size(), static_cast<size_t>(kEventKindCount));
    EXPECT_EQ(labels.size(), static_cast<size_t>(kEventKindCount));
}

// Distances in a detonation's sentence are said in whole metres, to the target and to the
// nearest other radar alike; a missing or removed target is said so.
TEST(EventKinds, DetonationSaysItsMissesInWholeMetres) {
    struct Row {
        ObjectRef target;
        double miss;
        ObjectRef nearest;
        double nearestMiss;
        std::string expected;
    };
    const ObjectRef cube{0, 3, -1};
    const ObjectRef other{1, 5, -1};
    const Row rows[] = {
        {{}, kNoDistance, {}, kNoDistance, "Ракета №1: подрыв на высоте 0 м, цели нет"},
        {cube, 9.4, {}, kNoDistance, "Ракета №1: подрыв на высоте 0 м, промах 9 м по РЛС №3"},
        {cube, kNoDistance, {}, kNoDistance, "Ракета №1: подрыв на высоте 0 м, цель РЛС №3 убрана"},
        {cube, 412.6, other, 153.6,
         "Ракета №1: подрыв на высоте 0 м, промах 413 м по РЛС №3; ближайшая — РЛС №5 (154 м)"},
    };
    for (const Row& row : rows) {
        WorldEvent e;
        e.kind = EventKind::Detonated;
        e.missile = {0, 1, -1};
        e.radar = row.target;
        e.distance = row.miss;
        e.secondRadar = row.nearest;
        e.distance2 = row.nearestMiss;
        EXPECT_EQ(describeEvent(e), row.expected);
    }
}

TEST(EventSequence, WholeAttacksTellTheirStory) {
    const std::pair<std::string, std::string> rows[] = {
        {"harm_self_lock",
         "missileAdded missileActivated targetDesignated captureStarted locked launched "
         "directHoming detonated"},
        {"alarm_mixed_silent",
         "missileAdded missileActivated targetDesignated captureStarted locked launched "
         "emissionOff lockLost toWaitingPoint waitingPointReached parachuteOpened powerOut"},
        {"shrike_b2_blinking",
         "missileAdded missileActivated targetDesignated captureStarted locked launched "
         "blinkStarted lockLost captureStarted relocked lockLost captureStarted powerOut"},
    };
    for (const auto& [name, expected] : rows) {
        auto world = makeWorld();
        Recorder recorder;
        run(*world, load(name), recorder);
        EXPECT_EQ(story(recorder.events), expected) << name;
    }
}

// Every missile scenario: each event that reports a change of the missile's state carries the
// tick at which the state shows it, and every such change has its event.
TEST(EventSequence, EventsMatchTheStateChangesOfEveryMissileScenario) {
    using Changes = std::multimap<int64_t, std::string>;
    for (const auto& file : fs::directory_iterator(kScenarios)) {
        const std::string name = file.path().stem().string();
        auto world = makeWorld();
        Recorder recorder;
        const RunResult result = run(*world, load(name), recorder, 1);
        Changes fromEvents;
        for (const WorldEvent& e : recorder.events) {
            const std::string code = eventKindCode(e.kind);
            if (e.missile.number == 1 &&
                (code == "missileActivated" || code == "launched" || code == "locked" ||
                 code == "relocked" || code == "lockLost" || code == "powerOut" ||
                 code == "directHoming" || code == "toWaitingPoint" || code == "parachuteOpened")) {
                fromEvents.emplace(e.tick, code == "relocked" ? "locked" : code);
            }
        }
        Changes fromState;
        Recorder::State was{};
        for (const auto& [tick, now] : recorder.missile) {
            const auto changed = [&](bool happened, const char* code) {
                if (happened) {
                    fromState.emplace(tick, code);
                }
            };
            changed(!was.activated && now.activated, "missileActivated");
            changed(!was.launched && now.launched, "launched");
            changed(!was.locked && now.locked, "locked");
            changed(was.locked && !now.locked, "lockLost");
            changed(was.launched && was.activated && !now.activated, "powerOut");
            changed(was.launched && !was.directGuidance && now.directGuidance, "directHoming");
            changed(
                was.launched && was.guidanceMode == kHoming && now.guidanceMode == kToWaitingPoint,
                "toWaitingPoint");
            changed(was.guidanceMode == kToWaitingPoint && now.guidanceMode == kParachuteDescent,
                    "parachuteOpened");
            was = now;
        }
        EXPECT_EQ(fromEvents, fromState) << name;
        const auto detonated =
            std::find_if(recorder.events.begin(), recorder.events.end(),
                         [](const WorldEvent& e) { return e.kind == EventKind::Detonated; });
        ASSERT_EQ(detonated != recorder.events.end(), !result.impacts.empty()) << name;
        if (!result.impacts.empty()) {
            EXPECT_EQ(detonated->tick, result.impacts[0].tick) << name;
            EXPECT_EQ(std::bit_cast<uint64_t>(detonated->x),
                      std::bit_cast<uint64_t>(result.impacts[0].x))
                << name;
        }
    }
}

// Heights a little below the ground were said as "подрыв на высоте -1 м".
TEST(EventKinds, DetonationBelowTheGroundIsAtTheGround) {
    struct Row {
        double altitude;  // map units
        std::string expected;
    };
    const Row rows[] = {
        {-0.003, "Ракета №1: подрыв у земли (0 м), цели нет"},
        {-0.0125, "Ракета №1: подрыв у земли (0 м), цели нет"},
        {0, "Ракета №1: подрыв на высоте 0 м, цели нет"},
        {0.05, "Ракета №1: подрыв на высоте 5 м, цели нет"},
    };
    for (const Row& row : rows) {
        WorldEvent e;
        e.kind = EventKind::Detonated;
        e.missile = {0, 1, -1};
        e.altitude = row.altitude;
        EXPECT_EQ(describeEvent(e), row.expected) << row.altitude;
    }
}

// A target radar removed before the detonation gave "targetRadarType":"".
TEST(MissileSummary, ARemovedTargetRadarKeepsItsTypeName) {
    auto world = makeWorld();
    startEmptyWorld(*world);
    WorldEvent added;
    added.kind = EventKind::MissileAdded;
    added.missile = {0, 1, 3};
    WorldEvent locked = added;
    locked.kind = EventKind::Locked;
    locked.radar = {0, 1, 1};
    WorldEvent designated = added;
    designated.kind = EventKind::TargetDesignated;
    designated.radar = {0, 1, 2};
    WorldEvent detonated = added;
    detonated.kind = EventKind::Detonated;
    detonated.radar = {-1, 1, -1};  // no longer in the table
    detonated.tick = 50;
    struct Row {
        std::vector<WorldEvent> log;
        int32_t type;
    };
    const Row rows[] = {{{added, locked, detonated}, 1}, {{added, designated, detonated}, 2}};
    for (const Row& row : rows) {
        const std::vector<MissileSummary> summary = summarizeMissiles(row.log, *world);
        ASSERT_EQ(summary.size(), 1u);
        EXPECT_EQ(summary[0].targetRadar, 1);
        EXPECT_EQ(summary[0].targetRadarType, row.type);
        const json line = json::parse(missileSummaryJsonLine(summary[0]));
        EXPECT_EQ(line["targetRadarType"], std::string(radarType(row.type).name));
    }
}

TEST(MissileSummary, OutcomesAndTheHitRadius) {
    constexpr double kExactlyTheMiss = -1;  // the radius set to the miss distance itself
    struct Row {
        std::string scenario;
        bool dropLaunch;  // run without its launch action
        double radius;
        MissileOutcome outcome;
    };
    const Row rows[] = {
        {"harm_self_lock", false, kDefaultHitRadiusMetres, MissileOutcome::Hit},  // 9 m
        {"harm_self_lock", false, 5, MissileOutcome::Miss},
        {"harm_detected_target", false, kDefaultHitRadiusMetres, MissileOutcome::Miss},  // 95 m
        {"harm_detected_target", false, 100, MissileOutcome::Hit},
        {"harm_detected_target", false, kExactlyTheMiss, MissileOutcome::Hit},  // the edge hits
        {"alarm_mixed_silent", false, kDefaultHitRadiusMetres, MissileOutcome::Flying},
        {"harm_self_lock", true, kDefaultHitRadiusMetres, MissileOutcome::NotLaunched},
    };
    for (const Row& r : rows) {
        const std::string what = r.scenario + " radius " + std::to_string(r.radius);
        Scenario scenario = load(r.scenario);
        if (r.dropLaunch) {
            scenario.actions.pop_back();
        }
        auto world = makeWorld();
        MissileSummaryCollector collector;
        const RunResult result = run(*world, scenario, collector);
        const double radius = r.radius == kExactlyTheMiss
                                  ? collector.summaries(*world).at(0).missDistance.value()
                                  : r.radius;
        const std::vector<MissileSummary> rows = collector.summaries(*world, radius);
        ASSERT_EQ(rows.size(), 1u) << what;
        const MissileSummary& s = rows[0];
        EXPECT_EQ(s.outcome, r.outcome) << what;
        EXPECT_EQ(s.number, 1);
        EXPECT_EQ(s.carrier, 1);
        EXPECT_EQ(s.targetRadar, 1) << what;
        EXPECT_EQ(s.launchTick.has_value(), !r.dropLaunch) << what;
        EXPECT_TRUE(s.firstLockTick.has_value()) << what;
        if (!result.impacts.empty()) {
            EXPECT_EQ(s.missDistance, result.impacts[0].missDistance) << what;  // one radar
            EXPECT_DOUBLE_EQ(*s.timeOfFlight, (result.impacts[0].tick - 150) / 100.0) << what;
        } else if (!r.dropLaunch) {
            EXPECT_DOUBLE_EQ(*s.timeOfFlight, (scenario.ticks - 150) / 100.0) << what;
        }
    }
}

TEST(MissileSummary, AMissileGoneWithoutDetonatingWasRemovedWithItsCarrier) {
    auto world = makeWorld();
    startEmptyWorld(*world);
    WorldEvent added;
    added.kind = EventKind::MissileAdded;
    added.missile = {0, 1, 3};
    WorldEvent removed = added;
    removed.kind = EventKind::MissileRemoved;
    removed.tick = 40;
    // Noted by the removal, or only seen missing from the table.
    const std::vector<std::vector<WorldEvent>> logs = {{added, removed}, {added}};
    for (const auto& log : logs) {
        const std::vector<MissileSummary> rows = summarizeMissiles(log, *world);
        ASSERT_EQ(rows.size(), 1u);
        EXPECT_EQ(rows[0].outcome, MissileOutcome::RemovedWithCarrier);
        EXPECT_FALSE(rows[0].timeOfFlight.has_value());
    }
}

// A minimal reader of the comma-separated table: fields, with "" for a quote inside quotes.
std::vector<std::vector<std::string>> readCsv(std::string text) {
    EXPECT_EQ(text.rfind(kCsvByteOrderMark, 0), 0u);
    text.erase(0, kCsvByteOrderMark.size());
    std::vector<std::vector<std::string>> rows(1, std::vector<std::string>(1));
    bool quoted = false;
    for (size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        if (quoted && c == '"' && i + 1 < text.size() && text[i + 1] == '"') {
            rows.back().back() += '"';
            ++i;
        } else if (c == '"') {
            quoted = !quoted;
        } else if (!quoted && c == ',') {
            rows.back().emplace_back();
        } else if (!quoted && c == '\r' && text[i + 1] == '\n') {
            rows.emplace_back(1);
            ++i;
        } else {
            rows.back().back() += c;
        }
    }
    rows.pop_back();  // after the last line break
    return rows;
}

TEST(EventFiles, JsonLinesAndCsvReadBackToTheEvents) {
    auto world = makeWorld();
    Recorder recorder;
    MissileSummaryCollector collector;
    RunOptions options(100);
    options.listeners = {&recorder, &collector};
    runScenario(*world, load("harm_detected_target"), "s.json", options);
    std::ostringstream csv;
    writeEventsCsv(csv, recorder.events);
    const auto table = readCsv(csv.str());
    ASSERT_EQ(table.size(), recorder.events.size() + 1);
    for (size_t i = 0; i < recorder.events.size(); ++i) {
        const WorldEvent& e = recorder.events[i];
        const json line = json::parse(eventJsonLine(e));
        EXPECT_EQ(line["tick"], e.tick);
        EXPECT_EQ(line["kind"], eventKindCode(e.kind));
        const auto& row = table[i + 1];
        ASSERT_EQ(row.size(), table[0].size()) << i;
        EXPECT_EQ(row[0], std::to_string(e.tick));
        EXPECT_EQ(row[2], eventKindCode(e.kind));
        EXPECT_EQ(row.back(), describeEvent(e));
        if (e.kind == EventKind::Detonated) {
            EXPECT_EQ(std::bit_cast<uint64_t>(line["x"].get<double>()),
                      std::bit_cast<uint64_t>(e.x));
            EXPECT_EQ(line["missDistance"].get<double>(), e.distance);
            EXPECT_EQ(line["targetRadarType"], "Тор, РЛС сопровождения");
            EXPECT_EQ(row[8], "Тор, РЛС сопровождения");
            EXPECT_EQ(row[14], "95.31");
        }
    }
    const std::vector<MissileSummary> summaries = collector.summaries(*world);
    std::ostringstream summaryCsv;
    writeMissileSummaryCsv(summaryCsv, summaries);
    const auto summaryTable = readCsv(summaryCsv.str());
    ASSERT_EQ(summaryTable.size(), 2u);
    EXPECT_EQ(summaryTable[1][1], "AGM-88C HARM");
    EXPECT_EQ(summaryTable[1][8], "промах");
    const json line = json::parse(missileSummaryJsonLine(summaries[0]));
    EXPECT_EQ(line["outcome"], "miss");
    EXPECT_EQ(line["launchMode"], "пуск по обнаруженной цели");
    EXPECT_EQ(line["missDistance"].get<double>(), *summaries[0].missDistance);
    EXPECT_EQ(line["endTick"], *summaries[0].endTick);
}

// The files a directory holds, by name.
std::vector<std::string> filesIn(const fs::path& dir) {
    std::vector<std::string> names;
    for (const auto& entry : fs::directory_iterator(dir)) {
        names.push_back(entry.path().filename().string());
    }
    std::sort(names.begin(), names.end());
    return names;
}

TEST(ReviewExe, WritesEveryFileAndOneSummaryLinePerMissile) {
    const TempDir dir;
    const fs::path scenario = dir / "s.json";
    fs::copy_file(kScenarios / "harm_self_lock.json", scenario);
    const ExeResult r =
        runExe({scenario.string(), "--events", (dir / "e.jsonl").string(), "--events-csv",
                (dir / "e.csv").string(), "--summary-csv", (dir / "m.csv").string(), "--acmi",
                (dir / "r.acmi").string(), "--every", "100"},
               dir);
    ASSERT_EQ(r.exitCode, 0) << r.err;
    const std::vector<std::string> out = lines(r.out);
    ASSERT_EQ(out.size(), 2u);
    EXPECT_EQ(json::parse(out[1])["outcome"], "hit");
    EXPECT_EQ(filesIn(dir.path()),
              (std::vector<std::string>{"e.csv", "e.jsonl", "m.csv", "r.acmi", "s.json",
                                        "stderr.txt", "stdout.txt"}));
    // The files hold what the run's events and summary say, as the library writes them.
    auto world = makeWorld();
    Recorder recorder;
    MissileSummaryCollector collector;
    RunOptions options(100);
    options.listeners = {&recorder, &collector};
    runScenario(*world, load("harm_self_lock"), "s.json", options);
    std::string events;
    for (const WorldEvent& e : recorder.events) {
        events += eventJsonLine(e);
    }
    EXPECT_EQ(readFile(dir / "e.jsonl"), events);
    std::ostringstream csv;
    writeEventsCsv(csv, recorder.events);
    EXPECT_EQ(readFile(dir / "e.csv"), csv.str());
    EXPECT_EQ(out[1] + "\n", missileSummaryJsonLine(collector.summaries(*world)[0]));
    EXPECT_EQ(readFile(dir / "r.acmi").rfind("FileType=text/acmi/tacview\n", 0), 0u);
}

TEST(ReviewExe, AFailedRunLeavesEarlierFilesWhole) {
    const TempDir dir;
    const fs::path scenario = dir / "bad.json";
    writeFile(scenario, R"({"start": "empty"})");
    const fs::path events = dir / "e.jsonl";
    writeFile(events, "earlier\n");
    const ExeResult r = runExe({scenario.string(), "--events", events.string()}, dir);
    EXPECT_EQ(r.exitCode, 2);
    EXPECT_EQ(readFile(events), "earlier\n");
    EXPECT_EQ(filesIn(dir.path()),
              (std::vector<std::string>{"bad.json", "e.jsonl", "stderr.txt", "stdout.txt"}));
}

}  // namespace
}  // namespace prrsim::batch
