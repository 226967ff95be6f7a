#pragma once

// A campaign's result files and their statistics. Every result is computed from the runs'
// records alone, so results written by one process, resumed or merged from shards are the same
// bytes. Records are written as they come: nothing grows with the number of runs but the miss
// distances the percentiles need.
//
// A results directory holds
//   campaign.json  the campaign with its base scenario inline (campaignDocument)
//   runs.jsonl     one line per run, in run order (makeRunRecord)
//   runs.csv       one row per missile of every run
//   summary.json   the statistics per combination of listed values
//   summary.md     the same as a table (also printed)
// A shard's directory holds campaign.json, its runs.jsonl and shard.json ({"shard", "shards",
// "runs"}). A result set is built in a folder beside the results directory (stagingDirectory)
// and takes the directory's place as a whole once complete, so that readers see the old set or
// the new one, never a mix; an interrupted campaign's runs stay there for --resume.

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <nlohmann/json.hpp>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "campaign/campaign.h"
#include "campaign/campaign_runner.h"
#include "scenario/output_file.h"
#include "campaign/run_record.h"
#include "campaign/stats.h"

namespace prrsim::batch {

// The statistics of one combination of listed values. Each missile of a run that was not
// stopped is a hit, a miss, unresolved (still flying or still on its carrier when the run
// ended) or removed with its carrier; the hit probability is over the resolved ones (hits and
// misses).
struct CombinationSummary {
    int64_t combination = 0;
    std::vector<nlohmann::json> values;  // the listed values, in campaign order
    int64_t runs = 0;                    // completed runs
    int64_t stopped = 0;                 // runs stopped at an action, left out of the rest
    int64_t launched = 0;
    int64_t hits = 0;
    int64_t misses = 0;
    int64_t flying = 0;       // launched, still flying when the run ended
    int64_t notLaunched = 0;  // still on the carrier when the run ended
    int64_t removedWithCarrier = 0;
    std::optional<double> hitProbability;    // hits / (hits + misses)
    std::optional<Interval> interval;        // 95 % Wilson, over hits + misses
    int64_t missDistances = 0;               // detonations with a target radar
    std::optional<double> missMedian;        // metres
    std::optional<double> miss90;            // metres
    std::optional<double> meanTimeOfFlight;  // seconds, detonated missiles

    int64_t resolved() const { return hits + misses; }
    int64_t unresolved() const { return flying + notLaunched; }
    // More than kUnresolvedWarningShare of the missiles that were to be decided were not.
    bool unresolvedWarning() const;
};

// Above this share of unresolved missiles a combination's hit probability comes with a
// warning: the runs may be too short for what they try.
inline constexpr double kUnresolvedWarningShare = 0.05;

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
    std::vector<double> flightSum_;
    std::vector<int64_t> flightCount_;
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

enum class ResultStatus { Ok, BadInput, WriteFailed };

// ".NAME.partial" beside `out`: where a result set for `out` is built.
std::filesystem::path stagingDirectory(const std::filesystem::path& out);

// The steps at which a test may stop finish() as a kill would.
enum class FinishStep { Replace, RemoveOld, None };

// Builds a result set (or a shard's) in the staging folder as the records come and puts it in
// place of `out` once complete.
class ResultSetWriter {
  public:
    ResultSetWriter(std::filesystem::path out, const Campaign& campaign,
                    std::optional<Shard> shard);
    ~ResultSetWriter();
    ResultSetWriter(const ResultSetWriter&) = delete;
    ResultSetWriter& operator=(const ResultSetWriter&) = delete;

    // Checks that `out` can take a result set and starts the staging folder: afresh, or with
    // `resume` from the runs already in it, checked against the campaign and `planned` (the
    // runs in the order they are written). On refusal sets `error` to one line.
    ResultStatus open(bool resume, RunSequence planned, std::string& error);
    // Runs already in the staging folder (after open).
    int64_t done() const { return done_; }
    // Appends a run's line and rows and counts it; false (and `error`) when a write failed.
    bool add(const CampaignRunRecord& run, std::string& error);
    // Writes the summaries (or the shard's marker) and puts the set in place of `out`. Sets
    // `table` to the summary table.
    ResultStatus finish(std::string& table, std::string& error,
                        FinishStep stopBefore = FinishStep::None);
    // Drops the staging folder (a refused merge).
    void discard();

  private:
    // Names the file whose write failed.
    ResultStatus fail(std::string& error) const;
    std::filesystem::path out_;
    std::filesystem::path staging_;
    const Campaign& campaign_;
    std::optional<Shard> shard_;
    CampaignTally tally_;
    GrowingFile runs_;
    GrowingFile csv_;
    int64_t done_ = 0;
};

// Reads the shards' directories, checks that they hold every shard of one campaign once and
// every run once, each line as its campaign would have written it, and writes the results as
// one process would have.
ResultStatus mergeCampaignShards(std::span<const std::filesystem::path> shards,
                                 const std::filesystem::path& out, std::string& table,
                                 std::string& error);

}  // namespace prrsim::batch
