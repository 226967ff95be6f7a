#pragma once

// A campaign: one base scenario run many times, with some of its values varied. Listed values
// are crossed (every combination of the lists), drawn values are sampled anew for every
// repetition. Run i is planned from the campaign and i alone, so the same run gives the same
// result whichever process or thread runs it.

#include <cstdint>
#include <filesystem>
#include <nlohmann/json.hpp>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "review/missile_summary.h"
#include "scenario/scenario.h"

namespace prrsim::batch {

enum class VaryKind { List, Uniform, Normal };

// One value of the base scenario that the campaign varies.
struct VariedValue {
    std::string name;     // the column of the results; the pointer when not given
    std::string pointer;  // JSON Pointer into the base scenario
    VaryKind kind = VaryKind::List;
    std::vector<nlohmann::json> values;  // List
    double first = 0;                    // Uniform: min; Normal: mean
    double second = 0;                   // Uniform: max; Normal: standard deviation
    std::optional<double> low;           // Normal: draws below are drawn again
    std::optional<double> high;          // Normal: draws above are drawn again
    // The base holds a whole number there: draws are whole numbers too.
    bool integer = false;
};

struct Campaign {
    std::string description;
    nlohmann::json base;  // the base scenario document
    int64_t repetitions = 1;
    uint64_t seed = 1;
    double hitRadius = kDefaultHitRadiusMetres;
    std::vector<VariedValue> varied;
    std::optional<std::string> plotX;      // the listed value along the plot's axis
    std::optional<std::string> plotLines;  // the listed value that makes the plot's lines

    // Positions in `varied` of the listed values, in order; the first varies slowest.
    std::vector<size_t> listed;
    int64_t combinations = 1;  // the product of the lists' lengths
    int64_t runs = 1;          // combinations × repetitions
};

inline constexpr int64_t kMaxCampaignRuns = 100'000'000;

// Why a campaign file is refused, and where: the parts of its one error line.
struct CampaignError {
    std::string source;
    int64_t entry = -1;     // the position of the "vary" entry at fault; -1: none
    std::string entryName;  // that entry's name, when it has one
    std::string field;      // the field at fault; empty when the file as a whole is refused
    Refusal refusal;
    // "<source>[: vary N[ ("name")]][: field "f"]: <the refusal in English>", on one line.
    std::string line() const;
};

// Reads and checks a campaign. `source` names it in error lines; a base scenario given as a
// file name is read relative to `directory`. On failure returns nothing and sets `error` to
// the refusal (or its one line). The runs' scenarios are checked by CampaignPlan::prepare.
std::optional<Campaign> parseCampaign(std::string_view text, std::string_view source,
                                      const std::filesystem::path& directory, CampaignError& error);
std::optional<Campaign> parseCampaign(std::string_view text, std::string_view source,
                                      const std::filesystem::path& directory, std::string& error);
std::optional<Campaign> loadCampaign(const std::string& path, CampaignError& error);
std::optional<Campaign> loadCampaign(const std::string& path, std::string& error);

// The campaign as one JSON document with the base scenario inline and every default written
// out: read back by parseCampaign it is the same campaign. Results carry it.
std::string campaignDocument(const Campaign& campaign);

// What run `run` is: its combination and repetition (run = combination × repetitions +
// repetition), its scenario seed and the value of every varied entry, in campaign order.
struct RunPlan {
    int64_t run = 0;
    int64_t combination = 0;
    int64_t repetition = 0;
    uint32_t seed = 0;
    std::vector<nlohmann::json> values;
};

// The listed values' positions in their lists for a combination.
std::vector<size_t> combinationIndices(const Campaign& campaign, int64_t combination);

// Random values come from a counter-based hash of (campaign seed, repetition, stream, draw):
// stream 0 is the scenario seed, stream k + 1 the varied entry k. The same repetition of every
// combination gets the same draws (common random numbers), so combinations are compared on the
// same random histories.
uint64_t campaignHash(uint64_t seed, uint64_t repetition, uint64_t stream, uint64_t draw);
RunPlan planRun(const Campaign& campaign, int64_t run);

// The base scenario with the plan's values and seed written in.
nlohmann::json runDocument(const Campaign& campaign, const RunPlan& plan);

// The name under which the runs' scenarios report errors of their actions.
inline constexpr std::string_view kRunSource = "scenario";

// The scenarios of a campaign's runs, checked before anything runs.
class CampaignPlan {
  public:
    explicit CampaignPlan(Campaign campaign) : campaign_(std::move(campaign)) {}

    // Checks that the scenario reader accepts every run's scenario (once per combination when
    // nothing is drawn; otherwise every run). On failure sets `error` to one line naming the
    // run, its values and the reader's refusal.
    bool prepare(std::string_view source, std::string& error);

    const Campaign& campaign() const { return campaign_; }
    // Run `plan.run`'s scenario (after prepare()).
    Scenario scenario(const RunPlan& plan) const;

  private:
    std::optional<Scenario> read(const RunPlan& plan, std::string& error) const;
    Campaign campaign_;
    bool drawn_ = false;
    std::vector<Scenario> byCombination_;  // when nothing is drawn
};

// "name=value, name=value" for messages and labels.
std::string describeValues(const Campaign& campaign, const std::vector<nlohmann::json>& values,
                           bool listedOnly);

}  // namespace prrsim::batch
