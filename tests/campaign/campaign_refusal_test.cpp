// A refused campaign file as a value: the code, the place and the parts a window would need,
// and the same line as the command line writes.
#include <gtest/gtest.h>

#include "campaign/campaign.h"

namespace prrsim::batch {
namespace {

struct CampaignRefusalRow {
    const char* name;
    std::string text;
    RefusalCode code;
    std::string field;
    int64_t entry;
    std::string value;
};

const std::string kBase = R"({"start": "empty", "ticks": 10})";

TEST(CampaignRefusal, IsACodeWithItsPlaceAndParts) {
    const CampaignRefusalRow rows[] = {
        {"not an object", "[1]", RefusalCode::CampaignNotObject, "", -1, ""},
        {"repetitions", R"({"scenario": )" + kBase + R"(, "repetitions": 0})",
         RefusalCode::OutsideRange, "repetitions", -1, "0"},
        {"base file", R"({"scenario": "no such file.json", "repetitions": 1})",
         RefusalCode::BaseFileUnreadable, "scenario", -1, "./no such file.json"},
        {"pointer",
         R"({"scenario": )" + kBase +
             R"(, "repetitions": 1, "vary": [{"pointer": "/nothing", "values": [1]}]})",
         RefusalCode::PointerNamesNothing, "pointer", 0, "/nothing"},
        {"unknown field", R"({"scenario": )" + kBase + R"(, "repetitions": 1, "runs": 2})",
         RefusalCode::UnknownCampaignField, "runs", -1, ""},
    };
    for (const CampaignRefusalRow& row : rows) {
        CampaignError error;
        EXPECT_FALSE(parseCampaign(row.text, "c.json", ".", error)) << row.name;
        EXPECT_EQ(error.refusal.code, row.code) << row.name << ": " << error.line();
        EXPECT_EQ(error.field, row.field) << row.name;
        EXPECT_EQ(error.entry, row.entry) << row.name;
        EXPECT_EQ(error.refusal.value, row.value) << row.name;
        std::string line;
        EXPECT_FALSE(parseCampaign(row.text, "c.json", ".", line));
        EXPECT_EQ(line, error.line()) << row.name;
    }
}

TEST(CampaignRefusal, RefusedBaseScenarioCarriesTheReadersRefusal) {
    const std::string text =
        R"({"scenario": {"start": "empty", "ticks": 10, "actions": [{"tick": 0, "op": "fly"}]},
            "repetitions": 1})";
    CampaignError error;
    ASSERT_FALSE(parseCampaign(text, "c.json", ".", error));
    EXPECT_EQ(error.refusal.code, RefusalCode::BaseScenarioRefused);
    ASSERT_EQ(error.refusal.cause.size(), 1u);
    EXPECT_EQ(error.refusal.cause[0].code, RefusalCode::UnknownOp);
    EXPECT_EQ(error.refusal.cause[0].value, "fly");
    EXPECT_EQ(error.line(),
              "c.json: field \"scenario\": the base scenario is refused: c.json: "
              "scenario: action 0: field \"op\": unknown op \"fly\"");
}

}  // namespace
}  // namespace prrsim::batch
