// Refusals as values: every code has its English line, the reader fills in the parts the
// windows need, and a long scenario's reading reports its progress and can be given up.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <set>

#include "refusal_samples.h"
#include "scenario/refusal.h"
#include "scenario/scenario.h"

namespace prrsim::batch {
namespace {

TEST(Refusal, EveryCodeHasOneSample) {
    std::set<int> codes;
    for (const Refusal& r : testing::refusalSamples()) {
        EXPECT_TRUE(codes.insert(static_cast<int>(r.code)).second)
            << "code " << static_cast<int>(r.code) << " sampled twice";
    }
    for (int code = 0; code < kRefusalCodeCount; ++code) {
        EXPECT_TRUE(codes.contains(code)) << "code " << code << " has no sample";
    }
}

TEST(Refusal, EveryCodeHasItsOwnOneLineAsciiEnglishText) {
    std::set<std::string> texts;
    for (const Refusal& r : testing::refusalSamples()) {
        const std::string text = englishText(r);
        SCOPED_TRACE(text);
        EXPECT_FALSE(text.empty());
        EXPECT_NE(text, englishText(refusal(RefusalCode::Count)));  // not the fallback
        for (const char* placeholder : {"{", "%1", "%2"}) {
            EXPECT_EQ(text.find(placeholder), std::string::npos);
        }
        for (const char c : text) {
            EXPECT_TRUE(static_cast<unsigned char>(c) >= 0x20 &&
                        static_cast<unsigned char>(c) < 0x7f);
        }
        EXPECT_TRUE(texts.insert(text).second) << "two codes give the same text";
    }
}

struct EnglishRow {
    const char* name;
    Refusal refusal;
    const char* text;
};

Refusal with(RefusalCode code, const std::function<void(Refusal&)>& fill) {
    Refusal r = refusal(code);
    fill(r);
    return r;
}

TEST(Refusal, EnglishTextsOfTypedParts) {
    using C = RefusalCode;
    const EnglishRow rows[] = {
        {"launch mode range",
         with(C::OutsideRange,
              [](Refusal& r) {
                  r.value = "3";
                  r.max = 2;
                  r.list = RefusalList::LaunchModes;
                  r.owner = "AGM-88C HARM";
              }),
         "3 is outside 0..2 (the launch modes of \"AGM-88C HARM\")"},
        {"aircraft limit",
         with(C::OutsideRealRange,
              [](Refusal& r) {
                  r.value = "1e7";
                  r.realMin = -1e6;
                  r.realMax = 1e6;
              }),
         "1e7 is outside -1e6..1e6"},
        {"speed limit",
         with(C::OutsideRealRange,
              [](Refusal& r) {
                  r.value = "-1";
                  r.realMax = 1e6;
              }),
         "-1 is outside 0..1e6"},
        {"empty list",
         with(C::EmptyRange,
              [](Refusal& r) {
                  r.value = "0";
                  r.list = RefusalList::RadarTypes;
              }),
         "0 is not allowed: there are no (the radar types)"},
        {"row gone",
         with(C::NoSuchRow,
              [](Refusal& r) {
                  r.table = RefusalTable::Radar;
                  r.number = 6;
                  r.count = 6;
              }),
         "6 is not a radar position now (there are 6)"},
        {"complexes full",
         with(C::TableFull,
              [](Refusal& r) {
                  r.table = RefusalTable::PlacedComplex;
                  r.max = 10;
              }),
         "the placed-complex table is full (10)"},
        {"op without fields", with(C::UnknownField, [](Refusal& r) { r.value = "addAircraft"; }),
         "unknown field (addAircraft takes no fields)"},
        {"bare parser failure", refusal(C::JsonMalformed), "malformed JSON"},
        {"base scenario",
         with(C::BaseScenarioRefused,
              [](Refusal& r) {
                  r.value = "base.json: action 0";
                  r.cause = {with(C::UnknownOp, [](Refusal& op) { op.value = "a\nb"; })};
              }),
         "the base scenario is refused: base.json: action 0: unknown op \"a\\nb\""},
        {"same output",
         with(C::SameOutputFile,
              [](Refusal& r) {
                  r.value = "out.csv";
                  r.names = {"--events-csv", "--summary-csv"};
              }),
         "--events-csv and --summary-csv name the same file out.csv"},
    };
    for (const EnglishRow& row : rows) {
        EXPECT_EQ(englishText(row.refusal), row.text) << row.name;
    }
}

struct ReaderRow {
    const char* name;
    std::string text;
    Refusal expected;
    const char* field;
};

std::string oneAction(const std::string& action) {
    return R"({"start": "default", "ticks": 100, "actions": [)" + action + "]}";
}

// What the reader puts into the refusal is what a window needs, not only what the line shows.
TEST(Refusal, ReaderFillsTheTypedParts) {
    using C = RefusalCode;
    const ReaderRow rows[] = {
        {"syntax", "{\n\"start\": ",
         with(C::JsonSyntax,
              [](Refusal& r) {
                  r.line = 2;
                  r.column = 10;
              }),
         ""},
        {"overflow", R"({"start": "empty", "ticks": 1e400})",
         with(C::NumberOverflow, [](Refusal& r) { r.value = "1e400"; }), ""},
        {"percent", oneAction(R"({"tick": 1, "op": "setFrequency", "radar": 0, "percent": 120})"),
         with(C::OutsideRange,
              [](Refusal& r) {
                  r.value = "120";
                  r.max = 100;
              }),
         "percent"},
        {"launch mode",
         oneAction(R"({"tick": 1, "op": "addMissile", "aircraft": 0, "type": 0, "launchMode": 9})"),
         with(C::OutsideRange,
              [](Refusal& r) {
                  r.value = "9";
                  r.max = 0;
                  r.list = RefusalList::LaunchModes;
                  r.owner = "AGM-45 Shrike B-2";
              }),
         "launchMode"},
        {"blink needs a period",
         oneAction(R"({"tick": 1, "op": "setReaction", "radar": 0, "kind": "blink", "warnKm": 20,
                      "holdSeconds": 5})"),
         with(C::MissingForKind, [](Refusal& r) { r.value = "blink"; }), "blinkPeriod"},
        {"integer as text", oneAction(R"({"tick": "1", "op": "addAircraft"})"),
         with(C::NotInteger,
              [](Refusal& r) {
                  r.type = JsonType::String;
                  r.value = "\"1\"";
              }),
         "tick"},
    };
    for (const ReaderRow& row : rows) {
        ScenarioError error;
        EXPECT_FALSE(parseScenario(row.text, "s.json", error)) << row.name;
        EXPECT_EQ(error.field, row.field) << row.name;
        Refusal expected = row.expected;
        if (expected.code == RefusalCode::JsonSyntax) {
            // The parser's own words are kept for the English line only.
            EXPECT_FALSE(error.refusal.detail.empty());
            expected.detail = error.refusal.detail;
        }
        EXPECT_EQ(error.refusal, expected)
            << row.name << ": " << error.line() << " / " << englishText(expected);
        EXPECT_EQ(error.line(), error.place() + ": " + englishText(expected)) << row.name;
    }
}

std::string manyActions(int count) {
    std::string text = R"({"start": "empty", "ticks": 10, "actions": [)";
    for (int i = 0; i < count; ++i) {
        text +=
            std::string(i == 0 ? "" : ",") + R"({"tick": 0, "op": "clearTarget", "aircraft": 0})";
    }
    return text + "]}";
}

TEST(ReadProgress, ReportedEveryFewThousandActionsAndNeverForAShortScene) {
    const int count = 2 * kProgressActions + 100;
    std::vector<double> fractions;
    ScenarioError error;
    const auto scenario = parseScenario(manyActions(count), "long.json", error, [&](double f) {
        fractions.push_back(f);
        return true;
    });
    ASSERT_TRUE(scenario) << error.line();
    EXPECT_EQ(scenario->actions.size(), static_cast<size_t>(count));
    ASSERT_EQ(fractions.size(), 2u);
    EXPECT_DOUBLE_EQ(fractions[0], double(kProgressActions) / count);
    EXPECT_DOUBLE_EQ(fractions[1], double(2 * kProgressActions) / count);

    fractions.clear();
    EXPECT_TRUE(parseScenario(manyActions(kProgressActions), "short.json", error, [&](double f) {
        fractions.push_back(f);
        return true;
    }));
    EXPECT_TRUE(fractions.empty());
}

TEST(ReadProgress, GivingUpRefusesTheSceneAsCancelled) {
    const std::string text = manyActions(3 * kProgressActions);
    int calls = 0;
    ScenarioError error;
    EXPECT_FALSE(parseScenario(text, "long.json", error, [&](double) { return ++calls < 2; }));
    EXPECT_EQ(calls, 2);
    EXPECT_EQ(error.refusal.code, RefusalCode::Cancelled);
    EXPECT_EQ(error.line(), "long.json: reading cancelled");

    // Through the file too, and the same text without a report reads.
    const auto path = std::filesystem::temp_directory_path() / "prrsim_refusal_progress.json";
    std::ofstream(path) << text;
    EXPECT_FALSE(loadScenario(path.string(), error, [](double) { return false; }));
    EXPECT_EQ(error.refusal.code, RefusalCode::Cancelled);
    EXPECT_TRUE(loadScenario(path.string(), error));
    std::filesystem::remove(path);
}

}  // namespace
}  // namespace prrsim::batch
