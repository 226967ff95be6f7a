#pragma once

// A campaign's result files and their statistics. Every result is computed from the run lines
// alone, so results written by one process and results merged from shards are the same bytes.
//
// A results directory holds
//   campaign.json  the campaign with its base scenario inline (campaignDocument)
//   runs.jsonl     one line per run, in run order (campaignRunLine)
//   runs.csv       one row per missile of every run
//   summary.json   the statistics per combination of listed values
//   summary.md     the same as a table (also printed)
// A shard's directory holds campaign.json, its runs.jsonl and shard.json ({"shard", "shards",
// "runs"}), written last.

#include <cstdint>
#include <filesystem>
#include <nlohmann/json.hpp>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "campaign/campaign.h"
#include "campaign/campaign_runner.h"
#include "campaign/stats.h"

namespace prrsim::batch {

// What the statistics need of one run line.
struct CampaignRunRecord {
    int64_t run = 0;
    int64_t combination = 0;
    bool stopped = false;
    nlohmann::json line;  // the whole line
};

std::optional<CampaignRunRecord> readRunLine(std::string_view line, std::string& error);

// The statistics of one combination of listed values. Each launched missile of a run that was
// not stopped is one trial; it succeeds when its outcome is a hit.
struct CombinationSummary {
    int64_t combination = 0;
    std::vector<nlohmann::json> values;  // the listed values, in campaign order
    int64_t runs = 0;                    // completed runs
    int64_t stopped = 0;                 // runs stopped at an action, left out of the rest
    int64_t launched = 0;
    int64_t hits = 0;
    int64_t misses = 0;
    int64_t flying = 0;  // still flying when the run ended (not hits)
    int64_t notLaunched = 0;
    int64_t removedWithCarrier = 0;
    std::optional<double> hitProbability;
    std::optional<Interval> interval;        // 95 % Wilson
    int64_t missDistances = 0;               // detonations with a target radar
    std::optional<double> missMedian;        // metres
    std::optional<double> miss90;            // metres
    std::optional<double> meanTimeOfFlight;  // seconds, detonated missiles
};

// Gathers the statistics run by run, so that no run has to be kept.
class CampaignTally {
  public:
    explicit CampaignTally(const Campaign& campaign);
    void add(const CampaignRunRecord& run);
    // One summary per combination, in combination order.
    std::vector<CombinationSummary> finish();
    int64_t stoppedRuns() const { return stopped_; }

  private:
    std::vector<CombinationSummary> summary_;
    std::vector<std::vector<double>> miss_;
    std::vector<std::vector<double>> flight_;
    int64_t stopped_ = 0;
};

// "подрыв не дальше 20 м от РЛС-цели"
std::string hitDefinition(const Campaign& campaign);

std::string summaryJson(const Campaign& campaign, std::span<const CombinationSummary> summary,
                        int64_t stoppedRuns);
std::string summaryTable(const Campaign& campaign, std::span<const CombinationSummary> summary,
                         int64_t stoppedRuns);
// The table of the runs: the byte-order mark and the header, then a run's rows.
std::string runsCsvHeader(const Campaign& campaign);
std::string runsCsvRows(const Campaign& campaign, const CampaignRunRecord& run);

// Writes a complete results directory from the lines of every run, in run order; each file
// through a temporary name, renamed once all are written. Sets `table` to the summary table.
bool writeCampaignResults(const std::filesystem::path& dir, const Campaign& campaign,
                          std::span<const std::string> lines, std::string& table,
                          std::string& error);

// Writes a shard's directory from the lines of its runs.
bool writeShardResults(const std::filesystem::path& dir, const Campaign& campaign, Shard shard,
                       std::span<const std::string> lines, std::string& error);

enum class MergeStatus { Ok, BadInput, WriteFailed };

// Reads the shards' directories, checks that they hold every shard of one campaign once and
// every run once, and writes the results as one process would have.
MergeStatus mergeCampaignShards(std::span<const std::filesystem::path> shards,
                                const std::filesystem::path& out, std::string& table,
                                std::string& error);

}  // namespace prrsim::batch
