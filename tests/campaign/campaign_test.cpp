// Campaigns: the statistics, the plan of every run, refused campaign files, and results that
// are the same bytes whatever the threads and shards.
#include <chrono>
#include <gtest/gtest.h>

#include <map>
#include <random>
#include <set>

#include "batch_test_support.h"
#include "campaign/campaign.h"
#include "campaign/campaign_results.h"
#include "campaign/campaign_runner.h"
#include "campaign/stats.h"

namespace prrsim::batch {
namespace {

using namespace testing;
using nlohmann::json;

struct WilsonRow {
    int64_t hits, trials;
    double low, high;
};

TEST(CampaignStats, WilsonIntervalMatchesTheTextbookValues) {
    const WilsonRow rows[] = {
        {0, 10, 0.0, 0.2775},      {5, 10, 0.2366, 0.7634}, {16, 20, 0.5840, 0.9193},
        {81, 263, 0.2553, 0.3662}, {10, 10, 0.7225, 1.0},   {1, 1, 0.2065, 1.0},
    };
    for (const WilsonRow& r : rows) {
        const auto interval = wilsonInterval(r.hits, r.trials);
        ASSERT_TRUE(interval) << r.hits << "/" << r.trials;
        EXPECT_NEAR(interval->low, r.low, 5e-5) << r.hits << "/" << r.trials;
        EXPECT_NEAR(interval->high, r.high, 5e-5) << r.hits << "/" << r.trials;
        EXPECT_LE(interval->high, 1.0);
        EXPECT_GE(interval->low, 0.0);
    }
    // No hits and all hits pin the bound exactly, not a rounding away from it.
    EXPECT_EQ(wilsonInterval(0, 7)->low, 0.0);
    EXPECT_EQ(wilsonInterval(7, 7)->high, 1.0);
    EXPECT_FALSE(wilsonInterval(0, 0));
}

struct PercentileRow {
    std::vector<double> sorted;
    double p;
    double expected;
};

TEST(CampaignStats, PercentilesInterpolateBetweenRanks) {
    const PercentileRow rows[] = {
        {{1, 2, 3, 4, 5, 6, 7, 8, 9, 10}, 0.5, 5.5},
        {{1, 2, 3, 4, 5, 6, 7, 8, 9, 10}, 0.9, 9.1},
        {{15, 20, 35, 40, 50}, 0.5, 35},
        {{15, 20, 35, 40, 50}, 0.9, 46},
        {{15, 20, 35, 40, 50}, 1.0, 50},
        {{7}, 0.9, 7},
    };
    for (const PercentileRow& r : rows) {
        EXPECT_NEAR(percentile(r.sorted, r.p).value_or(-1), r.expected, 1e-12)
            << r.sorted.size() << " values, p " << r.p;
    }
    EXPECT_FALSE(percentile({}, 0.5));
    const std::vector<double> flights = {10, 20, 60};
    EXPECT_DOUBLE_EQ(mean(flights).value_or(0), 30);
}

// A HARM against a blinking search radar: small enough for tests, with a drawn launch tick.
json baseScenario() {
    return json::parse(R"({
      "start": "empty", "seed": 1, "ticks": 2500,
      "actions": [
        {"tick": 0, "op": "addRadar", "type": 1},
        {"tick": 0, "op": "placeRadar", "radar": 0, "x": 400, "y": 220},
        {"tick": 0, "op": "setBlink", "radar": 0, "period": 0},
        {"tick": 0, "op": "addAircraft"},
        {"tick": 0, "op": "setAircraft", "aircraft": 0, "x": 250, "y": 220, "altitude": 40,
         "heading": 0, "speed": 800},
        {"tick": 0, "op": "pickTarget", "aircraft": 0, "radar": 0},
        {"tick": 0, "op": "addMissile", "aircraft": 0, "type": 3, "launchMode": 1},
        {"tick": 0, "op": "activate", "missile": 0},
        {"tick": 0, "op": "capture", "missile": 0},
        {"tick": 150, "op": "launch", "missile": 0}
      ]})");
}

json smallCampaign() {
    json c;
    c["scenario"] = baseScenario();
    c["repetitions"] = 3;
    c["seed"] = 7;
    c["vary"] = json::parse(R"([
        {"name": "blink", "pointer": "/actions/2/period", "values": [0, 3]},
        {"name": "x", "pointer": "/actions/4/x", "values": [250, 300]},
        {"name": "launch", "pointer": "/actions/9/tick", "uniform": {"min": 100, "max": 400}}
      ])");
    c["plot"] = {{"x", "x"}, {"lines", "blink"}};
    return c;
}

// The lines of the given runs, in their order.
std::vector<std::string> runLines(const CampaignPlan& plan, RunSequence runs, int threads) {
    std::vector<std::string> lines;
    runCampaign(plan, runs, threads, [&lines](CampaignRunRecord&& r) {
        lines.push_back(r.line);
        return true;
    });
    return lines;
}

Campaign parsed(const json& doc) {
    std::string error;
    std::optional<Campaign> c = parseCampaign(doc.dump(), "c.json", ".", error);
    EXPECT_TRUE(c) << error;
    return c.value_or(Campaign{});
}

TEST(CampaignPlanning, EveryCombinationOfTheListsRepetitionTimes) {
    json doc = smallCampaign();
    doc["vary"][0]["values"] = {0, 1, 3};
    const Campaign c = parsed(doc);
    ASSERT_EQ(c.combinations, 6);
    ASSERT_EQ(c.runs, 18);
    std::map<std::pair<int, int>, int> seen;
    for (int64_t i = 0; i < c.runs; ++i) {
        const RunPlan p = planRun(c, i);
        EXPECT_EQ(p.combination * 3 + p.repetition, i);
        ++seen[{p.values[0].get<int>(), p.values[1].get<int>()}];
    }
    EXPECT_EQ(seen.size(), 6u);
    for (const auto& [values, count] : seen) {
        EXPECT_EQ(count, 3) << values.first << " " << values.second;
    }
    // The first list varies slowest.
    EXPECT_EQ(planRun(c, 3).values[1], 300);
    EXPECT_EQ(planRun(c, 6).values[0], 1);
}

TEST(CampaignPlanning, RunIDependsOnTheCampaignAndIOnly) {
    const Campaign c = parsed(smallCampaign());
    std::set<uint32_t> seeds;
    std::set<int64_t> launches;
    for (int64_t i = 0; i < c.runs; ++i) {
        const RunPlan p = planRun(c, i);
        const RunPlan again = planRun(c, i);
        EXPECT_EQ(p.seed, again.seed);
        EXPECT_EQ(p.values, again.values);
        // Draws are whole numbers within the bounds, as the launch tick is.
        ASSERT_TRUE(p.values[2].is_number_integer());
        EXPECT_GE(p.values[2].get<int64_t>(), 100);
        EXPECT_LE(p.values[2].get<int64_t>(), 400);
        // The same repetition of every combination shares its draws.
        const RunPlan first = planRun(c, p.repetition);
        EXPECT_EQ(p.seed, first.seed);
        EXPECT_EQ(p.values[2], first.values[2]);
        seeds.insert(p.seed);
        launches.insert(p.values[2].get<int64_t>());
    }
    EXPECT_EQ(seeds.size(), 3u);
    EXPECT_EQ(launches.size(), 3u);
    // Another campaign seed, other draws.
    json other = smallCampaign();
    other["seed"] = 8;
    EXPECT_NE(planRun(parsed(other), 0).seed, planRun(c, 0).seed);

    // The line of run 7 run alone is line 7 of the whole campaign on two threads.
    CampaignPlan plan(c);
    std::string error;
    ASSERT_TRUE(plan.prepare("c.json", error)) << error;
    const RunSequence all = shardRuns(c.runs, {});
    const std::vector<std::string> lines = runLines(plan, all, 2);
    const RunSequence seven = {7, 1, 1};
    EXPECT_EQ(runLines(plan, seven, 1).at(0), lines.at(7));
    EXPECT_EQ(json::parse(lines[7])["values"]["launch"], planRun(c, 7).values[2]);
}

TEST(CampaignPlanning, NormalDrawsStayWithinTheirBounds) {
    json doc = smallCampaign();
    doc["repetitions"] = 200;
    doc["scenario"]["actions"][4]["y"] = 220.5;
    doc["vary"][2] = json::parse(
        R"({"name": "y", "pointer": "/actions/4/y", "normal": {"mean": 220, "sd": 30,
            "min": 200, "max": 260}})");
    const Campaign c = parsed(doc);
    double sum = 0;
    for (int64_t r = 0; r < c.repetitions; ++r) {
        const json y = planRun(c, r).values[2];
        ASSERT_TRUE(y.is_number_float());  // the base's y is a real number here
        EXPECT_GE(y.get<double>(), 200);
        EXPECT_LE(y.get<double>(), 260);
        sum += y.get<double>();
    }
    // The truncated distribution's mean lies a little above 220.
    EXPECT_NEAR(sum / 200, 226, 4);
}

struct BadCampaign {
    std::string name;
    std::function<void(json&)> change;
    std::string message;  // part of the error line
};

std::vector<BadCampaign> badCampaigns() {
    return {
        {"UnknownField", [](json& c) { c["repetition"] = 3; }, "field \"repetition\": unknown"},
        {"NoScenario", [](json& c) { c.erase("scenario"); }, "field \"scenario\": missing"},
        {"MissingScenarioFile", [](json& c) { c["scenario"] = "nowhere.json"; },
         "nowhere.json: cannot read"},
        {"BaseRefused", [](json& c) { c["scenario"]["ticks"] = -1; },
         "field \"scenario\": the base scenario is refused"},
        {"NoRepetitions", [](json& c) { c["repetitions"] = 0; }, "field \"repetitions\": 0 is"},
        {"NegativeHitRadius", [](json& c) { c["hitRadius"] = -5; }, "field \"hitRadius\""},
        {"UnknownPointer", [](json& c) { c["vary"][0]["pointer"] = "/actions/12/period"; },
         "vary 0 (\"blink\"): field \"pointer\": \"/actions/12/period\" does not name"},
        {"NotAPointer", [](json& c) { c["vary"][1]["pointer"] = "actions/4/x"; },
         "vary 1 (\"x\"): field \"pointer\": \"actions/4/x\" is not a JSON Pointer"},
        {"TwoKinds",
         [](json& c) {
             c["vary"][0]["uniform"] = {{"min", 0}, {"max", 3}};
         },
         "field \"values\": give exactly one"},
        {"EmptyList", [](json& c) { c["vary"][0]["values"] = json::array(); },
         "field \"values\": must be a non-empty list"},
        {"UniformUpsideDown", [](json& c) { c["vary"][2]["uniform"]["min"] = 500; },
         "field \"uniform.max\": 400 leaves no value"},
        {"NormalWithoutSpread",
         [](json& c) {
             c["vary"][2].erase("uniform");
             c["vary"][2]["normal"] = {{"mean", 200}, {"sd", 0}};
         },
         "field \"normal.sd\": must be above 0"},
        {"NormalBoundsTooTight",
         [](json& c) {
             c["vary"][2].erase("uniform");
             c["vary"][2]["normal"] = {{"mean", 200}, {"sd", 10}, {"min", 300}};
         },
         "field \"normal.min\": min and max leave less than 1 %"},
        {"DrawOnAString", [](json& c) { c["vary"][2]["pointer"] = "/start"; },
         "field \"uniform\": draws numbers"},
        {"SamePointerTwice", [](json& c) { c["vary"][1]["pointer"] = "/actions/2/period"; },
         "field \"pointer\": \"/actions/2/period\" is varied twice"},
        // A whole action varied with a field inside it ended in an internal failure.
        {"VaryingAnActionAndAFieldInsideIt",
         [](json& c) {
             c["vary"][1] = {{"name", "action"},
                             {"pointer", "/actions/2"},
                             {"values", json::array({c["scenario"]["actions"][2]})}};
         },
         "field \"pointer\": \"/actions/2\" overlaps the varied \"/actions/2/period\""},
        {"VaryingAFieldInsideAVariedAction",
         [](json& c) {
             c["vary"][0] = {{"name", "action"},
                             {"pointer", "/actions/2"},
                             {"values", json::array({c["scenario"]["actions"][2]})}};
             c["vary"][1]["pointer"] = "/actions/2/period";
             c["vary"][1]["values"] = {0, 3};
             c["plot"] = json();
             c.erase("plot");
         },
         "overlaps the varied \"/actions/2\""},
        {"PlotOfADrawnValue", [](json& c) { c["plot"]["x"] = "launch"; },
         "field \"plot.x\": \"launch\" is not the name of a varied value with a list"},
        // The scenario reader's refusals, named with the run and its values.
        {"ListedValueRefused",
         [](json& c) {
             c["vary"][1]["values"] = {250, 2000000};
         },
         "run 3 (blink=0, x=2000000, launch="},
        {"DrawnValueRefused", [](json& c) { c["vary"][2]["uniform"]["max"] = 9000; },
         "field \"tick\": "},
    };
}

class CampaignRefusal : public ::testing::TestWithParam<BadCampaign> {};

TEST_P(CampaignRefusal, NamesTheFieldBeforeAnyRun) {
    json doc = smallCampaign();
    GetParam().change(doc);
    std::string error;
    std::optional<Campaign> c = parseCampaign(doc.dump(), "c.json", ".", error);
    if (c) {
        CampaignPlan plan(std::move(*c));
        ASSERT_FALSE(plan.prepare("c.json", error)) << "accepted";
    }
    EXPECT_NE(error.find(GetParam().message), std::string::npos) << error;
    EXPECT_EQ(error.rfind("c.json", 0), 0u) << error;
}

INSTANTIATE_TEST_SUITE_P(Bad, CampaignRefusal, ::testing::ValuesIn(badCampaigns()),
                         [](const auto& info) { return info.param.name; });

TEST(CampaignExe, ABadCampaignExitsTwoAndWritesNothing) {
    const TempDir dir;
    json doc = smallCampaign();
    doc["vary"][0]["pointer"] = "/actions/40/period";
    writeFile(dir / "c.json", doc.dump());
    const ExeResult r =
        runExe({"campaign", (dir / "c.json").string(), "--out", (dir / "out").string()}, dir);
    EXPECT_EQ(r.exitCode, 2);
    EXPECT_NE(r.err.find("field \"pointer\""), std::string::npos) << r.err;
    EXPECT_FALSE(fs::exists(dir / "out"));
}

std::map<std::string, std::string> filesOf(const fs::path& dir) {
    std::map<std::string, std::string> files;
    for (const auto& entry : fs::directory_iterator(dir)) {
        files[entry.path().filename().string()] = readFile(entry.path());
    }
    return files;
}

TEST(CampaignExe, SameBytesForAnyThreadsAndForMergedShards) {
    const TempDir dir;
    writeFile(dir / "c.json", smallCampaign().dump());
    const std::string campaign = (dir / "c.json").string();
    const auto run = [&](std::vector<std::string> extra) {
        std::vector<std::string> args = {"campaign", campaign};
        args.insert(args.end(), extra.begin(), extra.end());
        const ExeResult r = runExe(args, dir);
        EXPECT_EQ(r.exitCode, 0) << r.err;
        return r;
    };
    const ExeResult one = run({"--threads", "1", "--out", (dir / "one").string()});
    run({"--threads", "2", "--out", (dir / "two").string()});
    for (const std::string k : {"0", "1", "2"}) {
        run({"--threads", "2", "--shard", k + "/3", "--out", (dir / ("s" + k)).string()});
    }
    // Merged in another order than the shards' numbers.
    const ExeResult merged = runExe({"merge", (dir / "s2").string(), (dir / "s0").string(),
                                     (dir / "s1").string(), "--out", (dir / "m").string()},
                                    dir);
    ASSERT_EQ(merged.exitCode, 0) << merged.err;

    const auto expected = filesOf(dir / "one");
    EXPECT_EQ(expected.size(), 5u);
    EXPECT_EQ(filesOf(dir / "two"), expected);
    EXPECT_EQ(filesOf(dir / "m"), expected);
    EXPECT_NE(one.out.find(expected.at("summary.md")), std::string::npos);

    // The results hold what the runs did: 12 lines, one missile each, launched.
    const std::vector<std::string> runs = lines(expected.at("runs.jsonl"));
    ASSERT_EQ(runs.size(), 12u);
    int64_t launched = 0;
    for (const std::string& line : runs) {
        const json r = json::parse(line);
        ASSERT_EQ(r["missiles"].size(), 1u);
        launched += r["missiles"][0]["launchTick"].is_null() ? 0 : 1;
    }
    const json summary = json::parse(expected.at("summary.json"));
    int64_t counted = 0;
    for (const json& g : summary["summary"]) {
        counted += g["launched"].get<int64_t>();
    }
    EXPECT_EQ(counted, launched);
    EXPECT_EQ(summary["hit"], "подрыв не дальше 20 м от РЛС-цели");
}

struct BadMerge {
    std::string name;
    std::function<void(const fs::path&)> damage;  // given the folder of s0, s1 and m
    std::vector<std::string> shards;
    std::string out;
    int exitCode;
    std::string message;
};

// Replaces the first occurrence of `from` in line `line` (from 0) of a file.
void editLine(const fs::path& file, size_t line, const std::string& from, const std::string& to) {
    std::vector<std::string> all = lines(readFile(file));
    const size_t at = all.at(line).find(from);
    ASSERT_NE(at, std::string::npos) << all.at(line);
    all[line].replace(at, from.size(), to);
    std::string text;
    for (const std::string& l : all) {
        text += l + "\n";
    }
    writeFile(file, text);
}

TEST(CampaignExe, MergeRefusesWhatDoesNotBelongAndKeepsEarlierResults) {
    const TempDir dir;
    writeFile(dir / "c.json", smallCampaign().dump());
    for (const std::string k : {"0", "1"}) {
        const ExeResult r = runExe({"campaign", (dir / "c.json").string(), "--threads", "1",
                                    "--shard", k + "/2", "--out", (dir / ("s" + k)).string()},
                                   dir);
        ASSERT_EQ(r.exitCode, 0) << r.err;
    }
    ASSERT_EQ(runExe({"merge", (dir / "s0").string(), (dir / "s1").string(), "--out",
                      (dir / "m").string()},
                     dir)
                  .exitCode,
              0);
    // A line of shard 0 with a hit turned into a miss and the other way round.
    const std::vector<std::string> s0 = lines(readFile(dir / "s0" / "runs.jsonl"));
    size_t hitLine = s0.size();
    size_t missLine = s0.size();
    for (size_t n = 0; n < s0.size(); ++n) {
        const json m = json::parse(s0[n])["missiles"][0];
        if (m["outcome"] == "hit" && hitLine == s0.size()) {
            hitLine = n;
        }
        if (m["outcome"] == "miss" && m["missDistance"].is_number() && missLine == s0.size()) {
            missLine = n;
        }
    }
    ASSERT_LT(missLine, s0.size());
    const std::string runs0 = "s0/runs.jsonl";

    const std::vector<BadMerge> rows = {
        {"missing shard", [](const fs::path&) {}, {"s0"}, "m", 2, "shard 1/2 is missing"},
        {"same shard twice", [](const fs::path&) {}, {"s0", "s0"}, "m", 2, "shard 0/2 is also"},
        {"interrupted shard",
         [](const fs::path& d) { fs::remove(d / "s1" / "shard.json"); },
         {"s0", "s1"},
         "m",
         2,
         "no shard.json"},
        {"truncated runs",
         [](const fs::path& d) {
             const std::string runs = readFile(d / "s0" / "runs.jsonl");
             writeFile(d / "s0" / "runs.jsonl", runs.substr(0, runs.size() / 2));
         },
         {"s0", "s1"},
         "m",
         2,
         "runs.jsonl: line "},
        // A truncated last line was counted as a line of the shard.
        {"MergeTruncatedLastLineIsNamed",
         [](const fs::path& d) {
             const std::string runs = readFile(d / "s0" / "runs.jsonl");
             writeFile(d / "s0" / "runs.jsonl", runs.substr(0, runs.size() - 5));
         },
         {"s0", "s1"},
         "m",
         2,
         "runs.jsonl: line 6: cut short"},
        {"extra line",
         [](const fs::path& d) {
             const std::string runs = readFile(d / "s1" / "runs.jsonl");
             writeFile(d / "s1" / "runs.jsonl", runs + runs.substr(0, runs.find('\n') + 1));
         },
         {"s0", "s1"},
         "m",
         2,
         "s1/runs.jsonl: more lines than"},
        // Merge trusted run lines: a miss edited into a hit was accepted.
        {"MergeRecomputesTheHitVerdict",
         [missLine](const fs::path& d) {
             editLine(d / "s0" / "runs.jsonl", missLine, "\"outcome\":\"miss\"",
                      "\"outcome\":\"hit\"");
         },
         {"s0", "s1"},
         "m",
         2,
         runs0 + ": line " + std::to_string(missLine + 1) + ": field \"missiles/0\": outcome"},
        {"run of another shard",
         [](const fs::path& d) {
             editLine(d / "s0" / "runs.jsonl", 1, "\"run\":2,", "\"run\":3,");
         },
         {"s0", "s1"},
         "m",
         2,
         runs0 + ": line 2: field \"combination\""},
        {"value not planned",
         [](const fs::path& d) {
             editLine(d / "s0" / "runs.jsonl", 0, "\"blink\":0", "\"blink\":3");
         },
         {"s0", "s1"},
         "m",
         2,
         runs0 + ": line 1: field \"values\": \"blink\""},
        // merge a0 a1 --out a0 destroyed shard a0.
        {"MergeOutIsOneOfItsInputs", [](const fs::path&) {}, {"s0", "s1"}, "s0", 2, "--out"},
        {"out holding an input", [](const fs::path&) {}, {"s0", "s1"}, ".", 2, "--out"},
        // --out that is a file exited 1 for merge and 2 for campaign.
        {"MergeOutThatIsAFile",
         [](const fs::path& d) { writeFile(d / "file", "x"); },
         {"s0", "s1"},
         "file",
         2,
         "file: not a directory"},
    };
    for (const BadMerge& row : rows) {
        const fs::path here = dir / ("row-" + std::to_string(&row - rows.data()));
        fs::create_directories(here);
        for (const std::string name : {"s0", "s1", "m"}) {
            fs::copy(dir / name, here / name, fs::copy_options::recursive);
        }
        row.damage(here);
        const auto shardsBefore = filesOf(here / "s0");
        std::vector<std::string> args = {"merge"};
        for (const std::string& s : row.shards) {
            args.push_back((here / s).string());
        }
        args.insert(args.end(), {"--out", (here / row.out).string()});
        const ExeResult r = runExe(args, dir);
        EXPECT_EQ(r.exitCode, row.exitCode) << row.name;
        EXPECT_NE(r.err.find(row.message), std::string::npos) << row.name << ": " << r.err;
        EXPECT_EQ(lines(r.err).size(), 1u) << row.name << ": " << r.err;
        EXPECT_EQ(filesOf(here / "m"), filesOf(dir / "m")) << row.name;
        EXPECT_EQ(filesOf(here / "s0"), shardsBefore) << row.name;
        for (const auto& entry : fs::directory_iterator(here)) {
            EXPECT_FALSE(entry.path().filename().string().ends_with(".partial")) << row.name;
        }
    }
}

// Runs `plan` into `out` with a writer, stopping (as a kill would) after `stopAfter` runs or at
// `step` of the finish. Returns whether the set was finished.
bool runInto(const CampaignPlan& plan, const fs::path& out, bool resume, int64_t stopAfter,
             FinishStep step = FinishStep::None) {
    const RunSequence runs = shardRuns(plan.campaign().runs, {});
    ResultSetWriter writer(out, plan.campaign(), std::nullopt);
    std::string error;
    EXPECT_EQ(writer.open(resume, runs, error), ResultStatus::Ok) << error;
    int64_t added = writer.done();
    runCampaign(plan, runs.after(writer.done()), 2, [&](CampaignRunRecord&& r) {
        if (added >= stopAfter) {
            return false;
        }
        ++added;
        return writer.add(r, error);
    });
    if (added < plan.campaign().runs) {
        return false;
    }
    std::string table;
    EXPECT_EQ(writer.finish(table, error, step), ResultStatus::Ok) << error;
    return step == FinishStep::None;
}

CampaignPlan preparedPlan(const json& doc) {
    CampaignPlan plan(parsed(doc));
    std::string error;
    EXPECT_TRUE(plan.prepare("c.json", error)) << error;
    return plan;
}

TEST(CampaignResume, InterruptedThenResumedEqualsUninterruptedAndNoMixIsEverSeen) {
    const TempDir dir;
    const CampaignPlan plan = preparedPlan(smallCampaign());
    ASSERT_TRUE(runInto(plan, dir / "whole", false, plan.campaign().runs));
    const auto whole = filesOf(dir / "whole");
    // The set that was there before: another campaign's.
    json before = smallCampaign();
    before["repetitions"] = 1;
    ASSERT_TRUE(runInto(preparedPlan(before), dir / "old", false, 4));
    const auto old = filesOf(dir / "old");

    struct Row {
        int64_t stopAfter;
        FinishStep step;
        bool cutLine;  // the kill came in the middle of a line
    };
    std::mt19937 random(11);
    std::vector<Row> rows = {{0, FinishStep::None, false},
                             {12, FinishStep::Replace, false},
                             {12, FinishStep::RemoveOld, false},
                             {11, FinishStep::None, true}};
    for (int k = 0; k < 4; ++k) {
        rows.push_back(
            {std::uniform_int_distribution<int64_t>(1, 11)(random), FinishStep::None, k % 2 == 0});
    }
    for (const Row& row : rows) {
        const std::string what = std::to_string(row.stopAfter) + " runs, step " +
                                 std::to_string(static_cast<int>(row.step));
        const fs::path out = dir / "out";
        fs::remove_all(out);
        fs::copy(dir / "old", out);
        EXPECT_FALSE(runInto(plan, out, false, row.stopAfter, row.step)) << what;
        // A reader finds the old set or the new one whole.
        EXPECT_EQ(filesOf(out), row.step == FinishStep::RemoveOld ? whole : old) << what;
        if (row.cutLine) {
            std::ofstream(stagingDirectory(out) / "runs.jsonl", std::ios::app) << "{\"run\":";
        }
        EXPECT_TRUE(runInto(plan, out, true, plan.campaign().runs)) << what;
        EXPECT_EQ(filesOf(out), whole) << what;
        EXPECT_FALSE(fs::exists(stagingDirectory(out))) << what;
    }
}

TEST(CampaignResults, AFailedWriteNamesTheFileAndLeavesTheEarlierSetWhole) {
    const TempDir dir;
    const CampaignPlan plan = preparedPlan(smallCampaign());
    ASSERT_TRUE(runInto(plan, dir / "out", false, plan.campaign().runs));
    const auto before = filesOf(dir / "out");
    ResultSetWriter writer(dir / "out", plan.campaign(), std::nullopt);
    std::string error;
    ASSERT_EQ(writer.open(false, shardRuns(plan.campaign().runs, {}), error), ResultStatus::Ok);
    runCampaign(plan, shardRuns(plan.campaign().runs, {}), 2,
                [&](CampaignRunRecord&& r) { return writer.add(r, error); });
    // The summary, written last, cannot take its name.
    fs::create_directories(stagingDirectory(dir / "out") / "summary.json" / "x");
    std::string table;
    EXPECT_EQ(writer.finish(table, error), ResultStatus::WriteFailed);
    EXPECT_NE(error.find("summary.json"), std::string::npos) << error;
    EXPECT_EQ(filesOf(dir / "out"), before);
    for (const auto& entry : fs::directory_iterator(stagingDirectory(dir / "out"))) {
        EXPECT_NE(entry.path().extension(), ".tmp") << entry.path();
    }
}

TEST(CampaignResume, RunsOfAnotherCampaignAreRefused) {
    const TempDir dir;
    const CampaignPlan plan = preparedPlan(smallCampaign());
    EXPECT_FALSE(runInto(plan, dir / "out", false, 5));
    json other = smallCampaign();
    other["seed"] = 8;
    const CampaignPlan otherPlan = preparedPlan(other);
    ResultSetWriter writer(dir / "out", otherPlan.campaign(), std::nullopt);
    std::string error;
    EXPECT_EQ(writer.open(true, shardRuns(12, {}), error), ResultStatus::BadInput);
    EXPECT_NE(error.find("belong to another campaign"), std::string::npos) << error;
    // A shard's runs are not the whole campaign's.
    ResultSetWriter shard(dir / "out", plan.campaign(), Shard{1, 2});
    EXPECT_EQ(shard.open(true, shardRuns(12, {1, 2}), error), ResultStatus::BadInput);
    EXPECT_NE(error.find("line 1: field \"run\""), std::string::npos) << error;
}

// Runs still flying at the end of a run counted and were plotted as misses.
TEST(CampaignResults, FlyingMissilesAreUnresolvedNotMisses) {
    const TempDir dir;
    json doc = smallCampaign();
    doc["vary"][1] = {{"name", "ticks"}, {"pointer", "/ticks"}, {"values", {500, 2500}}};
    doc["plot"] = {{"x", "ticks"}, {"lines", "blink"}};
    ASSERT_TRUE(runInto(preparedPlan(doc), dir / "out", false, 12));
    const json summary = json::parse(readFile(dir / "out" / "summary.json"));
    for (const json& g : summary["summary"]) {
        // Cut short, or not blinking with time to arrive: a blinking radar can keep the
        // missile searching to the end too.
        const bool cut = g["values"]["ticks"] == 500;
        const bool arrives = !cut && g["values"]["blink"] == 0;
        EXPECT_EQ(g["resolved"].get<int64_t>() + g["unresolved"].get<int64_t>(), 3) << g.dump();
        EXPECT_EQ(g["hits"].get<int64_t>() + g["misses"].get<int64_t>(),
                  g["resolved"].get<int64_t>())
            << g.dump();
        if (cut || arrives) {
            EXPECT_EQ(g["unresolved"], cut ? 3 : 0) << g.dump();
        }
        EXPECT_EQ(g["hitProbability"].is_null(), g["resolved"] == 0) << g.dump();
        EXPECT_EQ(g["interval95"].is_null(), g["resolved"] == 0) << g.dump();
        EXPECT_EQ(g["unresolvedWarning"], g["unresolved"] != 0) << g.dump();
    }
    const std::string table = readFile(dir / "out" / "summary.md");
    EXPECT_NE(table.find("Внимание (0, 500): не решено к концу прогона 3 из 3"), std::string::npos)
        << table;
}

struct CommandRow {
    std::vector<std::string> args;  // "DIR/" is replaced with the test's folder
    int exitCode;
    std::string message;  // part of the one line on stderr (stdout for --help)
};

TEST(CampaignExe, EveryBadCommandLineExitsTwoWithOneLine) {
    const TempDir dir;
    writeFile(dir / "c.json", smallCampaign().dump());
    writeFile(dir / "file", "x");
    fs::create_directories(dir / "notes");
    writeFile(dir / "notes" / "thesis.txt", "x");
    const std::vector<CommandRow> rows = {
        {{"campaign"}, 2, "no campaign file"},
        {{"campaign", "DIR/c.json", "DIR/c.json"}, 2, "more than one campaign file"},
        {{"campaign", "DIR/c.json", "--threads", "0"}, 2, "--threads 0"},
        {{"campaign", "DIR/c.json", "--threads", "two"}, 2, "--threads two"},
        {{"campaign", "DIR/c.json", "--threads"}, 2, "--threads needs a value"},
        {{"campaign", "DIR/c.json", "--shard", "2/2"}, 2, "--shard 2/2"},
        {{"campaign", "DIR/c.json", "--shard", "1"}, 2, "--shard 1"},
        {{"campaign", "DIR/c.json", "--out", ""}, 2, "--out given twice or empty"},
        {{"campaign", "DIR/c.json", "--resume", "--resume"}, 2, "--resume given twice"},
        {{"campaign", "DIR/c.json", "--fast"}, 2, "unknown option --fast"},
        {{"campaign", "DIR/nowhere.json"}, 2, "nowhere.json"},
        // --out that is a file: exit 2 (merge said 1).
        {{"campaign", "DIR/c.json", "--out", "DIR/file"}, 2, "file: not a directory"},
        {{"campaign", "DIR/c.json", "--out", "DIR/notes"}, 2, "holds thesis.txt"},
        {{"merge"}, 2, "needs the shard directories and --out"},
        {{"merge", "DIR/a"}, 2, "needs the shard directories and --out"},
        {{"merge", "DIR/a", "--out"}, 2, "--out needs one value"},
        {{"merge", "DIR/a", "--out", "DIR/m", "--fast"}, 2, "unknown option --fast"},
        {{"merge", "DIR/nowhere", "--out", "DIR/m"}, 2, "nowhere: no shard.json"},
        {{"--fast"}, 2, "unknown option --fast"},
        {{}, 2, "no scenario file"},
        // prrsim-batch --help was an unknown option.
        {{"--help"}, 0, "usage: prrsim-batch SCENARIO.json"},
        {{"campaign", "--help"}, 0, "usage: prrsim-batch campaign"},
        {{"merge", "--help"}, 0, "usage: prrsim-batch merge"},
    };
    for (const CommandRow& row : rows) {
        std::vector<std::string> args;
        std::string what;
        for (std::string a : row.args) {
            if (a.starts_with("DIR/")) {
                a = (dir / a.substr(4)).string();
            }
            what += " " + a;
            args.push_back(a);
        }
        const ExeResult r = runExe(args, dir);
        EXPECT_EQ(r.exitCode, row.exitCode) << what << ": " << r.err;
        const std::string& text = row.exitCode == 0 ? r.out : r.err;
        EXPECT_NE(text.find(row.message), std::string::npos) << what << ": " << text;
        if (row.exitCode != 0) {
            EXPECT_EQ(lines(r.err).size(), 1u) << what << ": " << r.err;
            EXPECT_TRUE(r.out.empty()) << what;
        }
    }
    EXPECT_EQ(readFile(dir / "notes" / "thesis.txt"), "x");
    EXPECT_FALSE(fs::exists(dir / "c-results"));
}

// Runs prrsim-batch under `timeout`, which sends `signal` after `seconds`.
ExeResult runKilled(const std::vector<std::string>& args, const std::string& signal, double seconds,
                    const TempDir& dir) {
    std::vector<std::string> all = {"--preserve-status", "-s", signal, std::to_string(seconds),
                                    PRRSIM_BATCH_EXE};
    all.insert(all.end(), args.begin(), args.end());
    std::string command = "timeout";
    for (const std::string& a : all) {
        command += " " + shellQuote(a);
    }
    command += " >" + shellQuote((dir / "stdout.txt").string()) + " 2>" +
               shellQuote((dir / "stderr.txt").string());
    const int status = std::system(command.c_str());
    ExeResult result;
    result.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    result.err = readFile(dir / "stderr.txt");
    return result;
}

TEST(CampaignExe, AKilledOrStoppedCampaignResumesToTheSameBytes) {
    const TempDir dir;
    json doc = smallCampaign();
    doc["repetitions"] = 300;  // 1200 runs
    writeFile(dir / "c.json", doc.dump());
    const std::string campaign = (dir / "c.json").string();
    // The signals come at shares of the uninterrupted run's time, so that they fall inside the
    // run on a fast machine and a slow (or sanitized) one alike.
    const auto start = std::chrono::steady_clock::now();
    const ExeResult whole = runExe(
        {"campaign", campaign, "--threads", "1", "--quiet", "--out", (dir / "whole").string()},
        dir);
    const double wholeSeconds =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    ASSERT_EQ(whole.exitCode, 0) << whole.err;
    const auto expected = filesOf(dir / "whole");
    struct Row {
        std::string signal;
        int exitCode;  // when the signal came before the end
        double share;  // of the uninterrupted run's time
    };
    const Row rows[] = {
        {"TERM", 143, 0.3}, {"INT", 130, 0.5}, {"KILL", 137, 0.4}, {"KILL", 137, 0.7}};
    int interrupted = 0;
    for (const Row& row : rows) {
        const fs::path out = dir / ("out-" + row.signal + std::to_string(row.share));
        const ExeResult stopped =
            runKilled({"campaign", campaign, "--threads", "1", "--out", out.string()}, row.signal,
                      row.share * wholeSeconds, dir);
        if (stopped.exitCode == row.exitCode) {
            ++interrupted;
            EXPECT_FALSE(fs::exists(out)) << row.signal;
            if (row.signal != "KILL") {
                EXPECT_EQ(lines(stopped.err).back().find("prrsim-batch campaign: stopped by SIG"),
                          0u)
                    << stopped.err;
                for (const auto& entry : fs::directory_iterator(stagingDirectory(out))) {
                    EXPECT_NE(entry.path().extension(), ".tmp") << entry.path();
                }
            }
        } else {
            EXPECT_EQ(stopped.exitCode, 0) << row.signal << ": " << stopped.err;
        }
        const ExeResult resumed = runExe(
            {"campaign", campaign, "--threads", "2", "--resume", "--quiet", "--out", out.string()},
            dir);
        ASSERT_EQ(resumed.exitCode, 0) << resumed.err;
        EXPECT_EQ(filesOf(out), expected) << row.signal << " " << row.share;
    }
    EXPECT_GT(interrupted, 0);
}

TEST(CampaignExamples, EveryExampleCampaignIsAccepted) {
    int count = 0;
    for (const auto& entry : fs::directory_iterator(sourcePath("examples"))) {
        if (!entry.path().filename().string().ends_with("-campaign.json")) {
            continue;
        }
        ++count;
        std::string error;
        std::optional<Campaign> c = loadCampaign(entry.path().string(), error);
        ASSERT_TRUE(c) << error;
        CampaignPlan plan(std::move(*c));
        EXPECT_TRUE(plan.prepare(entry.path().string(), error)) << error;
        EXPECT_TRUE(plan.campaign().plotX) << entry.path();
    }
    EXPECT_GE(count, 2);
}

}  // namespace
}  // namespace prrsim::batch
