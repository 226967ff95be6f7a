#pragma once

// Runs a campaign's runs on worker threads, one world per thread reused from run to run, and
// hands each run's record over in run order as soon as the runs before it are done.

#include <atomic>
#include <cstdint>
#include <functional>

#include "campaign/campaign.h"
#include "campaign/run_record.h"

namespace prrsim::batch {

// Shard `index` of `count` takes the runs i with i mod count = index.
struct Shard {
    int64_t index = 0;
    int64_t count = 1;
};

// The runs first, first + step, … (count of them), in that order: a shard's runs without a
// list that would grow with the campaign.
struct RunSequence {
    int64_t first = 0;
    int64_t step = 1;
    int64_t count = 0;
    int64_t operator[](int64_t k) const { return first + k * step; }
    int64_t size() const { return count; }
    // The runs after the first k.
    RunSequence after(int64_t k) const { return {first + k * step, step, count - k}; }
};

RunSequence shardRuns(int64_t runs, Shard shard);

// Takes the records in the order of the runs given, one at a time; false stops the campaign.
using RunConsumer = std::function<bool(CampaignRunRecord&&)>;

// Runs the given runs of a prepared plan on `threads` threads. Records done out of order wait
// in a window of a few runs per thread, so memory does not grow with the number of runs.
// Stops early, after the runs under way, when `stop` becomes true or the consumer says so;
// what was handed over is then a prefix of `runs`. Returns how many records were handed over.
int64_t runCampaign(const CampaignPlan& plan, RunSequence runs, int threads,
                    const RunConsumer& consume, const std::atomic<bool>* stop = nullptr);

}  // namespace prrsim::batch
