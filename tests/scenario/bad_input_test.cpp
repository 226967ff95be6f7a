// Every kind of bad input is refused with exit status 2, one line on stderr naming the file, the
// action, the field and the reason, and nothing written.
#include <gtest/gtest.h>

#include "scenario/runner.h"
#include "scenario/scenario.h"
#include "batch_test_support.h"

namespace prrsim::batch {
namespace {

using namespace testing;

struct BadCase {
    const char* name;
    std::string scenario;
    // Every one of these must appear in the error line.
    std::vector<std::string> expected;
};

void PrintTo(const BadCase& c, std::ostream* os) {
    *os << c.name;
}

std::string withActions(const std::string& actions, int ticks = 100) {
    return R"({"start": "default", "ticks": )" + std::to_string(ticks) + R"(, "actions": [)" +
           actions + "]}";
}

// A case of one action list in the default world.
BadCase act(const char* name, const std::string& actions, std::vector<std::string> expected) {
    return {name, withActions(actions), std::move(expected)};
}

// Refused before anything runs.
std::vector<BadCase> parseCases() {
    return {
        act("UnknownOp", R"({"tick": 0, "op": "fly"})",
            {"action 0", "field \"op\"", "unknown op \"fly\""}),
        act("OpMissing", R"({"tick": 0, "radar": 1})", {"action 0", "field \"op\"", "missing"}),
        act("OpNotString", R"({"tick": 0, "op": 3})",
            {"action 0", "field \"op\"", "must be a string"}),
        act("UnknownField", R"({"tick": 0, "op": "addRadar", "typ": 1})",
            {"action 0 (addRadar)", "field \"typ\"", "unknown field", "type, operational"}),
        act("FieldOnOpWithoutFields", R"({"tick": 0, "op": "addAircraft", "x": 1})",
            {"action 0 (addAircraft)", "field \"x\"", "takes no fields"}),
        act("MissingField", R"({"tick": 0, "op": "addAircraft"}, {"tick": 1, "op": "removeRadar"})",
            {"action 1 (removeRadar)", "field \"radar\"", "missing"}),
        act("MissingTick", R"({"op": "addAircraft"})",
            {"action 0 (addAircraft)", "field \"tick\"", "missing"}),
        act("IndexAsString", R"({"tick": 0, "op": "removeRadar", "radar": "1"})",
            {"field \"radar\"", "must be an integer", "string"}),
        act("IntegerAsReal", R"({"tick": 0, "op": "setFrequency", "radar": 0, "percent": 50.5})",
            {"field \"percent\"", "must be an integer"}),
        act("BoolAsNumber", R"({"tick": 0, "op": "setEmission", "radar": 0, "on": 1})",
            {"field \"on\"", "must be true or false"}),
        act("RealAsString", R"({"tick": 0, "op": "setAircraft", "aircraft": 0, "speed": "fast"})",
            {"field \"speed\"", "must be a number"}),
        act("AbsurdMagnitude",
            R"({"tick": 0, "op": "setAircraft", "aircraft": 0, "altitude": 1e7})",
            {"field \"altitude\"", "outside -1e6..1e6"}),
        // A missile loaded on an aircraft flying backwards ran its speed to -infinity and its
        // position to NaN.
        act("NegativeCarrierSpeed",
            R"({"tick": 0, "op": "setAircraft", "aircraft": 0, "speed": -1000000})",
            {"field \"speed\"", "-1000000 is outside 0..1e6"}),
        act("SetAircraftWithoutValues", R"({"tick": 0, "op": "setAircraft", "aircraft": 0})",
            {"action 0 (setAircraft)", "needs at least one of"}),
        act("RadarTypeOutOfCatalogue", R"({"tick": 0, "op": "addRadar", "type": 20})",
            {"field \"type\"", "20 is outside 0..19", "radar types"}),
        act("ComplexOutOfCatalogue", R"({"tick": 0, "op": "addComplex", "complex": 4})",
            {"field \"complex\"", "4 is outside 0..3"}),
        {"MissileTypeOutOfCatalogue",
         withActions(
             R"({"tick": 0, "op": "addMissile", "aircraft": 0, "type": 16, "launchMode": 0})"),
         {"field \"type\"", "16 is outside 0..15", "missile types"}},
        {"LaunchModeOutsideTypeList",
         withActions(
             R"({"tick": 0, "op": "addMissile", "aircraft": 0, "type": 3, "launchMode": 3})"),
         {"field \"launchMode\"", "3 is outside 0..2", "launch modes of \"AGM-88C HARM\""}},
        act("PercentAbove100", R"({"tick": 0, "op": "setFrequency", "radar": 0, "percent": 101})",
            {"field \"percent\"", "101 is outside 0..100"}),
        act("DirectionAbove360",
            R"({"tick": 0, "op": "setAntennaDirection", "radar": 0, "degrees": 361})",
            {"field \"degrees\"", "361 is outside 0..360"}),
        act("SeekerDistanceNegative",
            R"({"tick": 0, "op": "seekerOnDistance", "missile": 0, "value": -1})",
            {"field \"value\"", "-1 is outside 0..100"}),
        act("ClickOffTheMap", R"({"tick": 0, "op": "placeRadar", "radar": 0, "x": 600, "y": 10})",
            {"field \"x\"", "600 is outside 0..599"}),
        act("NegativeIndex", R"({"tick": 0, "op": "removeAircraft", "aircraft": -1})",
            {"field \"aircraft\"", "-1 is outside 0..49"}),
        act("PickTargetBelowMinusOne",
            R"({"tick": 0, "op": "pickTarget", "aircraft": 0, "radar": -2})",
            {"field \"radar\"", "-2 is outside -1..199"}),
        act("UnsortedTicks",
            R"({"tick": 5, "op": "addAircraft"}, {"tick": 4, "op": "addAircraft"})",
            {"action 1 (addAircraft)", "field \"tick\"", "sorted"}),
        act("TickBeyondTicks", R"({"tick": 101, "op": "addAircraft"})",
            {"action 0 (addAircraft)", "field \"tick\"", "101 is outside 0..100"}),
        act("ReactionUnknownKind",
            R"({"tick": 0, "op": "setReaction", "radar": 0, "kind": "jam", "warnKm": 10, "holdSeconds": 0})",
            {"action 0 (setReaction)", "field \"kind\"", "\"jam\" is not one of \"none\", \"shutdown\", \"blink\", \"hop\""}),
        act("ReactionKindAsNumber",
            R"({"tick": 0, "op": "setReaction", "radar": 0, "kind": 1, "warnKm": 10, "holdSeconds": 0})",
            {"field \"kind\"", "must be a string"}),
        act("ReactionWarnZero",
            R"({"tick": 0, "op": "setReaction", "radar": 0, "kind": "shutdown", "warnKm": 0, "holdSeconds": 0})",
            {"field \"warnKm\"", "0 is outside 1..150"}),
        act("ReactionWarnAbove150",
            R"({"tick": 0, "op": "setReaction", "radar": 0, "kind": "none", "warnKm": 151, "holdSeconds": 0})",
            {"field \"warnKm\"", "151 is outside 1..150"}),
        act("ReactionHoldAbove600",
            R"({"tick": 0, "op": "setReaction", "radar": 0, "kind": "shutdown", "warnKm": 9, "holdSeconds": 601})",
            {"field \"holdSeconds\"", "601 is outside 0..600"}),
        act("ReactionPercentAbove100",
            R"({"tick": 0, "op": "setReaction", "radar": 0, "kind": "hop", "warnKm": 9, "holdSeconds": 1, "frequencyPercent": 101})",
            {"field \"frequencyPercent\"", "101 is outside 0..100"}),
        act("ReactionBlinkPeriodZero",
            R"({"tick": 0, "op": "setReaction", "radar": 1, "kind": "blink", "warnKm": 9, "holdSeconds": 1, "blinkPeriod": 0})",
            {"field \"blinkPeriod\"", "0 is outside 1..2147483647"}),
        act("ReactionBlinkWithoutPeriod",
            R"({"tick": 0, "op": "setReaction", "radar": 1, "kind": "blink", "warnKm": 9, "holdSeconds": 1, "frequencyPercent": 5})",
            {"field \"blinkPeriod\"", "missing (kind \"blink\" needs it)"}),
        act("ReactionHopWithoutPercent",
            R"({"tick": 0, "op": "setReaction", "radar": 1, "kind": "hop", "warnKm": 9, "holdSeconds": 1})",
            {"field \"frequencyPercent\"", "missing (kind \"hop\" needs it)"}),
        act("ReactionWithoutHold",
            R"({"tick": 0, "op": "setReaction", "radar": 1, "kind": "none", "warnKm": 9})",
            {"field \"holdSeconds\"", "missing"}),
        act("ActionNotObject", R"({"tick": 0, "op": "addAircraft"}, 7)",
            {"action 1", "must be an object"}),
        {"MalformedJson",
         R"({"start": "default", "ticks": 10, "actions": [})",
         {"malformed JSON", "line 1"}},
        // A number beyond a double escaped the reader as an exception: an internal failure
        // (exit 1) from the program, a crash from the library.
        {"NumberOverflowInJson",
         R"({"start": "default", "seed": 1e3081, "ticks": 10})",
         {"malformed JSON", "number overflow", "1e3081"}},
        // An op or a key holding a newline split the one-line error in two.
        {"NewlineInUnknownOp",
         withActions(R"({"tick": 0, "op": "set\nAircraft"})"),
         {"action 0: field \"op\"", "unknown op \"set\\nAircraft\""}},
        {"ControlCharacterInUnknownKey",
         withActions(R"({"tick": 0, "op": "addAircraft", "a\u0001b": 1})"),
         {"field \"a\\u0001b\": unknown field"}},
        {"DuplicateKey",
         R"({"start": "default", "ticks": 10, "ticks": 20})",
         {"malformed JSON", "\"ticks\" appears twice"}},
        {"NotAnObject", R"([1, 2])", {"must be a JSON object"}},
        {"UnknownTopField",
         R"({"start": "default", "ticks": 10, "seeds": 3})",
         {"field \"seeds\"", "unknown field"}},
        {"StartMissing", R"({"ticks": 10})", {"field \"start\"", "missing"}},
        {"StartUnknown",
         R"({"start": "full", "ticks": 10})",
         {"field \"start\"", "\"default\" or \"empty\""}},
        {"TicksMissing", R"({"start": "empty"})", {"field \"ticks\"", "missing"}},
        {"TicksNegative", R"({"start": "empty", "ticks": -1})", {"field \"ticks\"", "outside"}},
        {"SeedNegative",
         R"({"start": "empty", "ticks": 1, "seed": -5})",
         {"field \"seed\"", "outside 0..4294967295"}},
        {"ActionsNotArray",
         R"({"start": "empty", "ticks": 1, "actions": {}})",
         {"field \"actions\"", "must be an array"}},
    };
}

class ParseRefusal : public ::testing::TestWithParam<BadCase> {};

TEST_P(ParseRefusal, NamesFileActionFieldAndReason) {
    const BadCase& c = GetParam();
    std::string error;
    EXPECT_FALSE(parseScenario(c.scenario, "bad.json", error).has_value());
    EXPECT_EQ(error.rfind("bad.json: ", 0), 0u) << error;
    EXPECT_EQ(error.find('\n'), std::string::npos) << error;
    for (const std::string& part : c.expected) {
        EXPECT_NE(error.find(part), std::string::npos) << "missing '" << part << "' in: " << error;
    }
}

INSTANTIATE_TEST_SUITE_P(BadScenario, ParseRefusal, ::testing::ValuesIn(parseCases()),
                         [](const auto& info) { return std::string(info.param.name); });

// The executable: exit 2, one line on stderr, no summary, no trace file created.
TEST(BadScenarioExe, RefusesEveryParseCaseWithoutWritingAnything) {
    const TempDir dir;
    for (const BadCase& c : parseCases()) {
        const fs::path scenario = dir / "bad.json";
        const fs::path trace = dir / "trace.jsonl";
        writeFile(scenario, c.scenario);
        fs::remove(trace);
        const ExeResult r = runExe({scenario.string(), "--trace", trace.string()}, dir);
        EXPECT_EQ(r.exitCode, 2) << c.name;
        EXPECT_EQ(r.out, "") << c.name;
        EXPECT_EQ(lines(r.err).size(), 1u) << c.name << ": " << r.err;
        EXPECT_EQ(r.err.rfind(scenario.string() + ": ", 0), 0u) << c.name << ": " << r.err;
        EXPECT_FALSE(fs::exists(trace)) << c.name;
    }
}

TEST(BadScenarioExe, BadCommandLines) {
    const TempDir dir;
    const fs::path scenario = dir / "ok.json";
    writeFile(scenario, R"({"start": "empty", "ticks": 3})");
    const std::vector<std::vector<std::string>> bad = {
        {scenario.string(), "--every", "0"},
        {scenario.string(), "--every", "-3"},
        {scenario.string(), "--every", "x"},
        {scenario.string(), "--every", "5x"},
        {scenario.string(), "--every", ""},
        {scenario.string(), "--every"},
        {scenario.string(), "--every", "2", "--every", "3"},
        {scenario.string(), "--trace"},
        {scenario.string(), "--events"},
        {scenario.string(), "--acmi", "a.acmi", "--acmi", "b.acmi"},
        {scenario.string(), "--summary-csv", ""},
        {scenario.string(), "--events", (dir / "x").string(), "--events-csv",
         (dir / "." / "x").string()},
        {scenario.string(), "--acmi", scenario.string()},
        {scenario.string(), "--verbose"},
        {scenario.string(), scenario.string()},
        {},
    };
    for (const auto& args : bad) {
        const ExeResult r = runExe(args, dir);
        EXPECT_EQ(r.exitCode, 2) << ::testing::PrintToString(args);
        EXPECT_EQ(r.out, "") << ::testing::PrintToString(args);
        EXPECT_EQ(lines(r.err).size(), 1u) << r.err;
    }
}

TEST(BadScenarioExe, UncreatableOutputFiles) {
    const TempDir dir;
    const fs::path scenario = dir / "ok.json";
    writeFile(scenario, R"({"start": "empty", "ticks": 3})");
    const std::string file = (dir / "no-such-dir" / "f").string();
    const std::pair<std::string, std::string> rows[] = {
        {"--trace", "trace"},
        {"--events", "event log"},
        {"--events-csv", "event table"},
        {"--summary-csv", "missile table"},
        {"--acmi", "flight recording"},
    };
    for (const auto& [option, what] : rows) {
        const ExeResult r = runExe({scenario.string(), option, file}, dir);
        EXPECT_EQ(r.exitCode, 2);
        EXPECT_EQ(r.out, "");
        EXPECT_EQ(r.err, file + ": cannot create the " + what + " file\n");
    }
}

// Refused only when the action is applied: the run stops at that action.
struct RuntimeCase {
    const char* name;
    std::string actions;
    int64_t stopTick;
    std::vector<std::string> expected;
};

void PrintTo(const RuntimeCase& c, std::ostream* os) {
    *os << c.name;
}

// `n` copies of one action, as the items of an action list.
std::string repeated(int n, const std::string& action) {
    std::string list;
    for (int i = 0; i < n; ++i) {
        list += (i ? ", " : "") + action;
    }
    return list;
}

std::vector<RuntimeCase> runtimeCases() {
    return {
        {"RadarRemovedEarlier",
         R"({"tick": 2, "op": "removeRadar", "radar": 5},
            {"tick": 4, "op": "setEmission", "radar": 5, "on": false})",
         4,
         {"action 1 (setEmission) at tick 4", "field \"radar\"", "5 is not a radar position now",
          "there are 5"}},
        {"AircraftNotThere",
         R"({"tick": 6, "op": "removeAircraft", "aircraft": 4})",
         6,
         {"action 0 (removeAircraft) at tick 6", "field \"aircraft\"", "4 is not an aircraft"}},
        {"MissileNotThere",
         R"({"tick": 1, "op": "activate", "missile": 0})",
         1,
         {"action 0 (activate)", "field \"missile\"", "0 is not a missile position now"}},
        {"PickTargetOfMissingRadar",
         R"({"tick": 2, "op": "pickTarget", "aircraft": 0, "radar": 6})",
         2,
         {"field \"radar\"", "6 is not a radar"}},
        {"AssignMissingAircraft",
         R"({"tick": 2, "op": "assignTarget", "radar": 0, "aircraft": 4})",
         2,
         {"field \"aircraft\"", "4 is not an aircraft"}},
        {"BlinkBeyondTypeList",
         R"({"tick": 2, "op": "setBlink", "radar": 1, "period": 4})",
         2,
         {"field \"period\"", "4 is outside 0..3",
          "blink settings of \"Куб, РЛС обнаружения 1С11\""}},
        {"BlinkOnFireControlRadar",
         R"({"tick": 2, "op": "setBlink", "radar": 0, "period": 0})",
         2,
         {"field \"period\"", "offers no blink settings"}},
        {"ReactionBlinkOnFireControlRadar",
         R"({"tick": 2, "op": "setReaction", "radar": 0, "kind": "blink", "warnKm": 10, "holdSeconds": 5, "blinkPeriod": 1})",
         2,
         {"action 0 (setReaction) at tick 2", "field \"kind\"",
          "\"Куб, РЛС сопровождения 1С31\" cannot blink"}},
        {"ReactionBlinkBeyondTypeList",
         R"({"tick": 3, "op": "setReaction", "radar": 1, "kind": "blink", "warnKm": 10, "holdSeconds": 5, "blinkPeriod": 4})",
         3,
         {"field \"blinkPeriod\"", "4 is outside 1..3",
          "blink settings of \"Куб, РЛС обнаружения 1С11\""}},
        {"ScanMethodOnTypeWithoutMethods",
         R"({"tick": 2, "op": "setScanMethod", "radar": 2, "method": 0})",
         2,
         {"field \"method\"", "\"РЛС обнаружения П-15\" offers no scan methods"}},
        {"ScanMethodBeyondList",
         R"({"tick": 2, "op": "setScanMethod", "radar": 3, "method": 3})",
         2,
         {"field \"method\"", "3 is outside 0..2"}},
        {"PrfModeBeyondList",
         R"({"tick": 2, "op": "setPrfMode", "radar": 2, "mode": 3})",
         2,
         {"field \"mode\"", "3 is outside 0..2", "emission modes"}},
        {"AircraftTableFull",
         repeated(47, R"({"tick": 3, "op": "addAircraft"})"),
         3,
         {"action 46 (addAircraft) at tick 3", "the aircraft table is full (50)"}},
        {"RadarTableFull",
         repeated(195, R"({"tick": 3, "op": "addRadar", "type": 2})"),
         3,
         {"action 194 (addRadar)", "radar table is full (200)"}},
        // A complex that fills the radar table exactly is placed; the next radar is refused.
        {"RadarTableFilledByAComplex",
         repeated(192, R"({"tick": 3, "op": "addRadar", "type": 2})") +
             R"(, {"tick": 3, "op": "addComplex", "complex": 1}, {"tick": 3, "op": "addRadar", "type": 2})",
         3,
         {"action 193 (addRadar)", "radar table is full (200)"}},
        {"PlacedComplexTableFull",
         repeated(9, R"({"tick": 3, "op": "addComplex", "complex": 1})"),
         3,
         {"action 8 (addComplex)", "placed-complex table is full (10)"}},
        {"MissileTableFull",
         repeated(101,
                  R"({"tick": 3, "op": "addMissile", "aircraft": 0, "type": 3, "launchMode": 0})"),
         3,
         {"action 100 (addMissile)", "missile table is full (100)"}},
    };
}

class RuntimeRefusal : public ::testing::TestWithParam<RuntimeCase> {};

TEST_P(RuntimeRefusal, StopsAtTheActionInProcess) {
    const RuntimeCase& c = GetParam();
    std::string error;
    const auto scenario = parseScenario(withActions(c.actions, 20), "rt.json", error);
    ASSERT_TRUE(scenario.has_value()) << error;
    auto world = makeWorld();
    std::ostringstream trace;
    const RunResult r = runScenario(*world, *scenario, "rt.json", {1, &trace});
    EXPECT_EQ(r.status, RunStatus::BadInput);
    EXPECT_EQ(r.ticksRun, c.stopTick);
    EXPECT_EQ(r.error.rfind("rt.json: ", 0), 0u) << r.error;
    for (const std::string& part : c.expected) {
        EXPECT_NE(r.error.find(part), std::string::npos)
            << "missing '" << part << "' in: " << r.error;
    }
    // Lines 0 .. stopTick - 1 were written before the action's tick came.
    EXPECT_EQ(lines(trace.str()).size(), static_cast<size_t>(c.stopTick));
    EXPECT_EQ(world->observer, nullptr);
}

INSTANTIATE_TEST_SUITE_P(BadAction, RuntimeRefusal, ::testing::ValuesIn(runtimeCases()),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(BadActionExe, ExitTwoWithoutSummaryAndTraceUpToTheAction) {
    const TempDir dir;
    const fs::path scenario = dir / "rt.json";
    const fs::path trace = dir / "t.jsonl";
    writeFile(scenario, withActions(R"({"tick": 7, "op": "removeRadar", "radar": 6})", 20));
    const ExeResult r = runExe({scenario.string(), "--trace", trace.string()}, dir);
    EXPECT_EQ(r.exitCode, 2);
    EXPECT_EQ(r.out, "");
    EXPECT_EQ(r.err, scenario.string() +
                         ": action 0 (removeRadar) at tick 7: field \"radar\": 6 is not a radar "
                         "position now (there are 6)\n");
    EXPECT_EQ(lines(readFile(trace)).size(), 7u);
}

}  // namespace
}  // namespace prrsim::batch
