// Input is bounded before it is parsed or echoed: nesting, size, the length of quoted values,
// NUL bytes and trailing data, for scenes and campaigns, by the library and by prrsim-batch.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include "batch_test_support.h"
#include "campaign/campaign.h"
#include "scenario/input_text.h"
#include "scenario/scenario.h"

namespace prrsim::batch {
namespace {

using namespace testing;

std::string nested(int levels, const std::string& inner = "1") {
    return std::string(static_cast<size_t>(levels), '[') + inner +
           std::string(static_cast<size_t>(levels), ']');
}

std::string scene(const std::string& ticks) {
    return R"({"start":"empty","ticks":)" + ticks + "}";
}

struct BoundRow {
    const char* name;
    std::string text;
    std::string expected;  // in the error line; empty: the scene is read
};

void PrintTo(const BoundRow& r, std::ostream* os) {
    *os << r.name;
}

std::vector<BoundRow> boundRows() {
    const std::string longOp(1 << 20, 'q');
    std::string longArray = "[1";
    for (int i = 0; i < 100000; ++i) {
        longArray += ",1";
    }
    longArray += "]";
    return {
        {"PlainScene", R"({"start":"empty","ticks":1,"description":"x","actions":[]})", ""},
        {"DepthBeyondTheLimit", scene(nested(kMaxNestingDepth)), "nested deeper than 64 levels"},
        {"DepthJustInside", scene(nested(kMaxNestingDepth - 1)), "must be an integer"},
        {"NulThenGarbage", scene("3") + std::string(1, '\0') + "garbage", "a NUL byte at offset"},
        {"NulInsideAString",
         R"({"start":"empty","ticks":3,"description":"a)" + std::string(1, '\0') + R"(b"})",
         "a NUL byte"},
        {"TrailingGarbage", scene("3") + "garbage", "malformed JSON"},
        {"TrailingSecondValue", scene("3") + scene("4"), "malformed JSON"},
        {"LongUnknownOp",
         R"({"start":"empty","ticks":3,"actions":[{"tick":0,"op":")" + longOp + R"("}]})",
         "unknown op \"qqqq"},
        {"LongKey", R"({"start":"empty","ticks":3,")" + longOp + R"(":1})", "unknown field"},
        {"LongValueOfAnInteger", scene("\"" + longOp + "\""), "must be an integer"},
        {"LongNumber", scene(std::string(200000, '1')), "number overflow"},
        {"LongArrayAsAnInteger", scene(longArray), "must be an integer"},
        {"LongBadToken", scene("tru" + longOp), "malformed JSON"},
        {"LongDuplicateKey", "{\"" + longOp + "\":1,\"" + longOp + "\":2}", "appears twice"},
    };
}

class InputBounds : public ::testing::TestWithParam<BoundRow> {};

TEST_P(InputBounds, RefusedInOneShortLine) {
    const BoundRow& row = GetParam();
    ScenarioError error;
    const auto scenario = parseScenario(row.text, "in.json", error);
    if (row.expected.empty()) {
        EXPECT_TRUE(scenario.has_value()) << error.line();
        return;
    }
    ASSERT_FALSE(scenario.has_value());
    const std::string line = error.line();
    EXPECT_NE(line.find(row.expected), std::string::npos) << line;
    EXPECT_EQ(line.rfind("in.json: ", 0), 0u) << line;
    EXPECT_LT(line.size(), 400u) << line.substr(0, 400);
    EXPECT_EQ(line.find('\n'), std::string::npos);
}

INSTANTIATE_TEST_SUITE_P(Scene, InputBounds, ::testing::ValuesIn(boundRows()),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(InputBounds, QuotedValuesAreCutWithAnEllipsisOnCharacters) {
    const std::string cyrillic = "ж";
    std::string longText;
    for (int i = 0; i < 200; ++i) {
        longText += cyrillic;
    }
    const std::string cut = shortened(longText);
    EXPECT_EQ(cut.size(), kMaxQuotedLength * cyrillic.size() + std::string("…").size());
    EXPECT_EQ(cut.substr(cut.size() - 3), "…");
    EXPECT_EQ(shortened("short"), "short");
    EXPECT_EQ(shortened(std::string(kMaxQuotedLength, 'a')), std::string(kMaxQuotedLength, 'a'));
}

// prrsim-batch crashed on a 140 KB scene nested 65,000 levels deep: the error message dumped the
// value recursively.
TEST(InputBoundsRegression, DeeplyNestedSceneCrashedTheBatchRunner) {
    const TempDir dir;
    const fs::path file = dir / "deep.json";
    writeFile(file, scene(nested(65000)));
    const ExeResult r = runExe({file.string()}, dir);
    EXPECT_EQ(r.exitCode, 2);
    EXPECT_EQ(r.err, file.string() + ": malformed JSON: nested deeper than 64 levels\n");
}

TEST(InputBoundsRegression, DeeplyNestedCampaignCrashed) {
    const TempDir dir;
    const fs::path file = dir / "deep-campaign.json";
    writeFile(file, R"({"runs":)" + nested(65000) + "}");
    std::string error;
    EXPECT_FALSE(loadCampaign(file.string(), error).has_value());
    EXPECT_NE(error.find("nested deeper than 64 levels"), std::string::npos) << error;
}

// A 50 MB op name gave a 52 MB error line.
TEST(InputBoundsRegression, HugeOpNameGaveAHugeLine) {
    const TempDir dir;
    const fs::path file = dir / "long.json";
    writeFile(file, R"({"start":"empty","ticks":3,"actions":[{"tick":0,"op":")" +
                        std::string(8 << 20, 'o') + R"("}]})");
    const ExeResult r = runExe({file.string()}, dir);
    EXPECT_EQ(r.exitCode, 2);
    EXPECT_EQ(lines(r.err).size(), 1u);
    EXPECT_LT(r.err.size(), 300u);
}

// "…}\0garbage" was accepted while "…}garbage" was refused.
TEST(InputBoundsRegression, NulByteEndedTheJson) {
    ScenarioError error;
    EXPECT_FALSE(parseScenario(scene("3") + std::string(1, '\0') + "garbage", "f", error));
    EXPECT_FALSE(parseScenario(scene("3") + "garbage", "f", error));
}

struct FileRow {
    const char* name;
    std::function<void(const fs::path&)> make;
    std::string expected;
};

TEST(InputBounds, FilesThatAreNotSmallRegularFilesAreRefusedUnread) {
    const FileRow rows[] = {
        {"Directory", [](const fs::path& p) { fs::create_directory(p); }, "not a regular file"},
        {"Pipe", [](const fs::path& p) { ::mkfifo(p.c_str(), 0600); }, "not a regular file"},
        {"Missing", [](const fs::path&) {}, "cannot open the scenario file"},
        {"Huge",
         [](const fs::path& p) {
             writeFile(p, "{}");
             fs::resize_file(p, kMaxInputBytes + 1);  // sparse: nothing is written
         },
         "larger than 128 MiB"},
    };
    for (const FileRow& row : rows) {
        const TempDir dir;
        const fs::path file = dir / "scene.json";
        row.make(file);
        std::string error;
        EXPECT_FALSE(loadScenario(file.string(), error).has_value()) << row.name;
        EXPECT_EQ(error, file.string() + ": " + row.expected) << row.name;
    }
}

TEST(InputBounds, ReadBoundedTextHonoursTheLimit) {
    const TempDir dir;
    writeFile(dir / "f", "12345");
    std::string text;
    EXPECT_EQ(readBoundedText(dir / "f", text, 5), ReadProblem::None);
    EXPECT_EQ(text, "12345");
    EXPECT_EQ(readBoundedText(dir / "f", text, 4), ReadProblem::TooLarge);
}

}  // namespace
}  // namespace prrsim::batch
