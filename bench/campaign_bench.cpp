// Campaign throughput: 60-second default-world engagements (one "AGM-88C HARM" on aircraft 0,
// captured on radar 0 and launched after two seconds, as BM_BatchRunnerDefaultWorld runs it)
// spread over 1 or 2 worker threads, each run with its own scenario seed. Reports engagements
// and simulated ticks per second of wall time; the cost per run beyond the ticks shows against
// BM_BatchRunnerDefaultWorld in the same run.

#include <benchmark/benchmark.h>
#include <time.h>

#include <algorithm>
#include <nlohmann/json.hpp>
#include <numeric>
#include <string>
#include <vector>

#include "before/before.h"
#include "campaign/campaign.h"
#include "campaign/campaign_results.h"
#include "campaign/campaign_runner.h"

namespace prrsim {
namespace {

constexpr int64_t kScenarioTicks = 6000;
constexpr int64_t kRunsPerIteration = 16;

batch::CampaignPlan defaultWorldCampaign() {
    const nlohmann::json campaign = {{"scenario", nlohmann::json::parse(R"({
            "start": "default", "seed": 1, "ticks": 6000,
            "actions": [
              {"tick": 0, "op": "pickTarget", "aircraft": 0, "radar": 0},
              {"tick": 0, "op": "addMissile", "aircraft": 0, "type": 3, "launchMode": 0},
              {"tick": 0, "op": "activate", "missile": 0},
              {"tick": 0, "op": "capture", "missile": 0},
              {"tick": 200, "op": "launch", "missile": 0}
            ]})")},
                                     {"repetitions", 10000},
                                     {"seed", 1}};
    std::string error;
    std::optional<batch::Campaign> c = batch::parseCampaign(campaign.dump(), "bench", ".", error);
    batch::CampaignPlan plan(c.value_or(batch::Campaign{}));
    if (!c || !plan.prepare("bench", error)) {
        throw std::runtime_error(error);
    }
    return plan;
}

// CPU time of the whole process (every thread), seconds.
double processCpuSeconds() {
    timespec t{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &t);
    return static_cast<double>(t.tv_sec) + static_cast<double>(t.tv_nsec) * 1e-9;
}

// Engagements per second of wall time and per second of the process's CPU time since `cpuStart`.
void setEngagementCounters(benchmark::State& state, int64_t engagements, double cpuStart) {
    state.counters["engagements_per_s"] =
        benchmark::Counter(static_cast<double>(engagements), benchmark::Counter::kIsRate);
    state.counters["engagements_per_cpu_s"] =
        static_cast<double>(engagements) / (processCpuSeconds() - cpuStart);
}

void BM_CampaignDefaultWorld(benchmark::State& state) {
    const int threads = static_cast<int>(state.range(0));
    const batch::CampaignPlan plan = defaultWorldCampaign();
    std::vector<int64_t> runs(kRunsPerIteration);
    int64_t first = 0;
    int64_t engagements = 0;
    const double cpuStart = processCpuSeconds();
    for (auto _ : state) {
        // Other runs every iteration, so that the seeds differ as in a real campaign.
        std::iota(runs.begin(), runs.end(), first % (plan.campaign().runs - kRunsPerIteration));
        first += kRunsPerIteration;
        int64_t bytes = 0;
        const batch::RunSequence sequence = {runs[0], 1, kRunsPerIteration};
        engagements +=
            batch::runCampaign(plan, sequence, threads, [&bytes](batch::CampaignRunRecord&& r) {
                bytes += static_cast<int64_t>(r.line.size());
                return true;
            });
        benchmark::DoNotOptimize(bytes);
    }
    // On a machine shared with other work the wall-clock rates fall with the load; the CPU
    // time all threads spend per engagement does not.
    state.counters["cpu_ms_per_engagement"] =
        (processCpuSeconds() - cpuStart) * 1e3 /
        static_cast<double>(std::max<int64_t>(engagements, 1));
    state.counters["engagements_per_s"] =
        benchmark::Counter(static_cast<double>(engagements), benchmark::Counter::kIsRate);
    state.counters["ticks_per_s"] = benchmark::Counter(
        static_cast<double>(engagements * kScenarioTicks), benchmark::Counter::kIsRate);
}
BENCHMARK(BM_CampaignDefaultWorld)
    ->ArgName("threads")
    ->Arg(1)
    ->Arg(2)
    ->UseRealTime()
    ->Unit(benchmark::kMillisecond);

// The whole pipeline of a campaign's runs into its results (lines, runs table, statistics), in
// memory, on one thread, for engagements cut short at `ticks` (the argument): the shorter the
// runs, the more the cost per run beyond the simulation counts. "engagements_per_cpu_s" is the
// rate on a machine shared with other work.
batch::CampaignPlan shortCampaign(int64_t ticks) {
    nlohmann::json doc =
        nlohmann::json::parse(batch::campaignDocument(defaultWorldCampaign().campaign()));
    doc["scenario"]["ticks"] = ticks;
    std::string error;
    std::optional<batch::Campaign> c = batch::parseCampaign(doc.dump(), "bench", ".", error);
    batch::CampaignPlan plan(c.value_or(batch::Campaign{}));
    if (!c || !plan.prepare("bench", error)) {
        throw std::runtime_error(error);
    }
    return plan;
}

void BM_CampaignResultsBefore(benchmark::State& state) {
    const batch::CampaignPlan plan = shortCampaign(state.range(0));
    const double cpuStart = processCpuSeconds();
    std::vector<int64_t> runs(kRunsPerIteration);
    int64_t first = 0;
    for (auto _ : state) {
        std::iota(runs.begin(), runs.end(), first % (plan.campaign().runs - kRunsPerIteration));
        first += kRunsPerIteration;
        benchmark::DoNotOptimize(before::campaignResults(plan, runs, 1));
    }
    setEngagementCounters(state, first, cpuStart);
}
BENCHMARK(BM_CampaignResultsBefore)
    ->ArgName("ticks")
    ->Arg(300)
    ->Arg(1000)
    ->UseRealTime()
    ->Unit(benchmark::kMillisecond);

void BM_CampaignResults(benchmark::State& state) {
    const batch::CampaignPlan plan = shortCampaign(state.range(0));
    const double cpuStart = processCpuSeconds();
    int64_t first = 0;
    for (auto _ : state) {
        const int64_t start = first % (plan.campaign().runs - kRunsPerIteration);
        first += kRunsPerIteration;
        batch::CampaignTally tally(plan.campaign());
        std::string all;
        std::string csv;
        batch::runCampaign(plan, {start, 1, kRunsPerIteration}, 1,
                           [&](batch::CampaignRunRecord&& r) {
                               tally.add(r);
                               csv += batch::runsCsvRows(plan.campaign(), r);
                               all += r.line;
                               return true;
                           });
        benchmark::DoNotOptimize(static_cast<int64_t>(all.size() + csv.size()) +
                                 tally.finish()[0].hits);
    }
    setEngagementCounters(state, first, cpuStart);
}
BENCHMARK(BM_CampaignResults)
    ->ArgName("ticks")
    ->Arg(300)
    ->Arg(1000)
    ->UseRealTime()
    ->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace prrsim
