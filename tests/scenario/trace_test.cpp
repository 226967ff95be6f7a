// The trace format where the scenario digests do not reach: numbers that must read back to the
// same bits, non-finite values, escapes, sampling, impacts and the summary.
#include <gtest/gtest.h>

#include <bit>
#include <charconv>
#include <cmath>
#include <cstdlib>
#include <limits>

#include "scenario/json_writer.h"
#include "scenario/runner.h"
#include "scenario/trace.h"
#include "batch_test_support.h"
#include "world/world.h"

namespace prrsim::batch {
namespace {

using namespace testing;
using ordered = nlohmann::ordered_json;

// The object's keys in order, separated by blanks.
std::string keysOf(const ordered& object) {
    std::string keys;
    for (const auto& [key, value] : object.items()) {
        keys += (keys.empty() ? "" : " ") + key;
    }
    return keys;
}

RunResult runText(WorldState& world, const std::string& text, std::ostream* trace,
                  int64_t every = 1) {
    std::string error;
    const auto scenario = parseScenario(text, "t.json", error);
    EXPECT_TRUE(scenario.has_value()) << error;
    if (!scenario) {
        return {};
    }
    return runScenario(world, *scenario, "t.json", {every, trace});
}

class RealFormat : public ::testing::TestWithParam<double> {};

TEST_P(RealFormat, ReadsBackToTheSameBits) {
    const double v = GetParam();
    std::string text;
    appendReal(text, v);
    const double back = std::strtod(text.c_str(), nullptr);
    EXPECT_EQ(std::bit_cast<uint64_t>(back), std::bit_cast<uint64_t>(v)) << text;
    // JSON reads it as the same number too.
    EXPECT_EQ(std::bit_cast<uint64_t>(nlohmann::json::parse(text).get<double>()),
              std::bit_cast<uint64_t>(v))
        << text;
    // Whatever the shortcut taken, the text is the 17-digit general form earlier traces hold.
    if (v != 0 || !std::signbit(v)) {
        char buffer[32];
        const auto end =
            std::to_chars(buffer, buffer + sizeof buffer, v, std::chars_format::general, 17).ptr;
        EXPECT_EQ(text, std::string(buffer, end));
    }
}

INSTANTIATE_TEST_SUITE_P(Values, RealFormat,
                         ::testing::Values(0.1, 1.0 / 3.0, 0.021, 0.0028 * 780 * 0.01, 244.0,
                                           1e-300, 5e-324, -0.0, -123.456,
                                           std::numeric_limits<double>::max(),
                                           std::numeric_limits<double>::min(), 360.29999999999808,
                                           2.0, -17.0, 999999999999999.0, -999999999999999.0, 1e15,
                                           1e16, 1e17, 123456789012345.5));

TEST(RealFormat, NonFiniteIsNullAndNegativeZeroStaysReal) {
    for (const double v :
         {std::numeric_limits<double>::quiet_NaN(), std::numeric_limits<double>::infinity(),
          -std::numeric_limits<double>::infinity()}) {
        std::string text;
        appendReal(text, v);
        EXPECT_EQ(text, "null");
    }
    std::string text;
    appendReal(text, -0.0);
    EXPECT_EQ(text, "-0.0");
}

TEST(TraceLine, StringsAreEscaped) {
    std::string s;
    appendString(s, "a\"b\\c\n\x01 Х-58");
    EXPECT_EQ(s, "\"a\\\"b\\\\c\\u000a\\u0001 Х-58\"");
    EXPECT_EQ(nlohmann::json::parse(s).get<std::string>(), "a\"b\\c\n\x01 Х-58");
}

// A number's member is written in one piece when its name needs no escape and is short: names
// that need one, or are long, and names on either side of the limit give the same JSON.
TEST(TraceLine, NumberMembersOfEveryNameReadBack) {
    const std::string names[] = {"x",
                                 "a\"b",
                                 "tab\tname",
                                 std::string(48, 'n'),
                                 std::string(49, 'n'),
                                 std::string(200, 'n')};
    for (const std::string& name : names) {
        std::string text;
        ObjectWriter(text)
            .real(name, 0.1)
            .integer(name + "i", -1234567890123)
            .real(name + "z", -0.0)
            .real(name + "n", std::nan(""))
            .close();
        const ordered back = ordered::parse(text);
        ASSERT_EQ(back.size(), 4U) << text;
        EXPECT_EQ(back[name].get<double>(), 0.1) << text;
        EXPECT_EQ(back[name + "i"].get<int64_t>(), -1234567890123) << text;
        EXPECT_TRUE(std::signbit(back[name + "z"].get<double>())) << text;
        EXPECT_TRUE(back[name + "n"].is_null()) << text;
    }
}

struct Sampling {
    int64_t ticks;
    int64_t every;
    std::vector<int64_t> expected;
};

void PrintTo(const Sampling& s, std::ostream* os) {
    *os << "ticks " << s.ticks << " every " << s.every;
}

class TraceSampling : public ::testing::TestWithParam<Sampling> {};

TEST_P(TraceSampling, LinesAtMultiplesAndTheLastTick) {
    const Sampling& s = GetParam();
    auto world = makeWorld();
    std::ostringstream trace;
    const RunResult r = runText(
        *world, R"({"start": "empty", "ticks": )" + std::to_string(s.ticks) + "}", &trace, s.every);
    EXPECT_EQ(r.status, RunStatus::Ok);
    EXPECT_EQ(r.ticksRun, s.ticks);
    std::vector<int64_t> ticks;
    for (const std::string& l : lines(trace.str())) {
        ticks.push_back(nlohmann::json::parse(l)["tick"].get<int64_t>());
    }
    EXPECT_EQ(ticks, s.expected);
}

INSTANTIATE_TEST_SUITE_P(Every, TraceSampling,
                         ::testing::Values(Sampling{10, 4, {0, 4, 8, 10}},
                                           Sampling{8, 4, {0, 4, 8}}, Sampling{3, 1, {0, 1, 2, 3}},
                                           Sampling{0, 5, {0}}, Sampling{5, 100, {0, 5}}));

// An aircraft skimming the ground drops a missile that is never switched on: the flight step
// alone takes it below the ground.
const char* kDroppedMissile = R"({"start": "empty", "ticks": 300, "actions": [
    {"tick": 0, "op": "addAircraft"},
    {"tick": 0, "op": "setAircraft", "aircraft": 0, "altitude": 0.5, "climbAngle": -10,
     "speed": 900},
    {"tick": 0, "op": "addRadar", "type": 2},
    {"tick": 0, "op": "placeRadar", "radar": 0, "x": 320, "y": 225},
    {"tick": 0, "op": "addMissile", "aircraft": 0, "type": 0, "launchMode": 0},
    {"tick": 0, "op": "launch", "missile": 0}]})";

TEST(TraceImpacts, ReportedOnceOnTheNextWrittenLineAndInTheSummary) {
    auto world = makeWorld();
    std::ostringstream trace;
    const RunResult r = runText(*world, kDroppedMissile, &trace, 7);
    ASSERT_EQ(r.impacts.size(), 1u);
    const int64_t tick = r.impacts[0].tick;
    int reported = 0;
    for (const std::string& l : lines(trace.str())) {
        const auto line = nlohmann::json::parse(l);
        for (const auto& i : line["impacts"]) {
            ++reported;
            EXPECT_EQ(i["tick"], tick);
            EXPECT_GE(line["tick"].get<int64_t>(), tick);
            EXPECT_LT(line["tick"].get<int64_t>() - tick, 7);
        }
    }
    EXPECT_EQ(reported, 1);
    const auto summary = ordered::parse(summaryLine(*world, r.ticksRun, r.impacts));
    EXPECT_EQ(keysOf(summary["impacts"][0]), "tick missile type x y nearestRadar missDistance");
    EXPECT_EQ(summary["impacts"][0]["type"], "AGM-45 Shrike B-2");
    EXPECT_EQ(summary["impacts"][0]["nearestRadar"], 0);
}

TEST(Summary, NearestRadarTiesGoToTheLowerPositionAndNoRadarGivesNoMiss) {
    auto world = makeWorld();
    startEmptyWorld(*world);
    ImpactRecord impact;
    impact.x = 100;
    impact.y = 100;
    impact.typeIndex = 4;
    measureMiss(*world, impact);
    EXPECT_EQ(impact.nearestRadar, -1);
    const auto summary = nlohmann::json::parse(summaryLine(*world, 12, {&impact, 1}));
    EXPECT_TRUE(summary["impacts"][0]["missDistance"].is_null());
    EXPECT_EQ(summary["impacts"][0]["type"], "ALARM");

    world->radarCount = 3;
    world->radars[0].x = 100;  // 10 away
    world->radars[0].y = 90;
    world->radars[1].x = 103;  // 5 away (3-4-5)
    world->radars[1].y = 104;
    world->radars[2].x = 100;  // 5 away, same distance
    world->radars[2].y = 105;
    measureMiss(*world, impact);
    EXPECT_EQ(impact.nearestRadar, 1);
    EXPECT_DOUBLE_EQ(impact.missDistance.value(), 500.0);
}

// The executable: one summary line, and a line every tick with the smallest --every.
TEST(SummaryExe, PrintsOneLineWithTheFinalCounts) {
    const TempDir dir;
    const fs::path scenario = dir / "s.json";
    writeFile(scenario, R"({"start": "default", "ticks": 5, "actions": [
        {"tick": 1, "op": "addAircraft"}, {"tick": 2, "op": "removeRadar", "radar": 0}]})");
    const ExeResult r = runExe({scenario.string(), "--every", "1", "--trace", dir / "t"}, dir);
    EXPECT_EQ(r.exitCode, 0) << r.err;
    EXPECT_EQ(r.err, "");
    EXPECT_EQ(r.out, "{\"ticks\":5,\"aircraft\":5,\"radars\":5,\"missiles\":0,\"impacts\":[]}\n");
    EXPECT_EQ(lines(readFile(dir / "t")).size(), 6u);
}

}  // namespace
}  // namespace prrsim::batch
