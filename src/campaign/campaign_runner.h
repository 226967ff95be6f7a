#pragma once

// Runs a campaign's runs on worker threads, one world per thread reused from run to run.

#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "campaign/campaign.h"
#include "review/missile_summary.h"
#include "scenario/runner.h"

namespace prrsim::batch {

// Shard `index` of `count` takes the runs i with i mod count = index.
struct Shard {
    int64_t index = 0;
    int64_t count = 1;
};

std::vector<int64_t> shardRuns(int64_t runs, Shard shard);

// One JSON line (with its line break) per run: "run", "combination", "repetition", "seed" (the
// scenario's), "values" (name: value, in campaign order), "ticks" (run), "stopped" (null, or
// the line of the action the run stopped at) and "missiles" (the per-missile summaries with
// the campaign's hit radius).
std::string campaignRunLine(const Campaign& campaign, const RunPlan& plan, const Scenario& scenario,
                            const RunResult& result, std::span<const MissileSummary> missiles);

// Runs the given runs of a prepared plan on `threads` threads and returns their lines in the
// order given. Which thread runs which run changes nothing in the lines.
std::vector<std::string> runCampaign(const CampaignPlan& plan, std::span<const int64_t> runs,
                                     int threads);

}  // namespace prrsim::batch
