#include "campaign/campaign_runner.h"

#include <atomic>
#include <exception>
#include <memory>
#include <mutex>
#include <thread>

#include "scenario/json_writer.h"
#include "world/world.h"

namespace prrsim::batch {

std::vector<int64_t> shardRuns(int64_t runs, Shard shard) {
    std::vector<int64_t> mine;
    for (int64_t i = shard.index; i < runs; i += shard.count) {
        mine.push_back(i);
    }
    return mine;
}

std::string campaignRunLine(const Campaign& campaign, const RunPlan& plan, const Scenario& scenario,
                            const RunResult& result, std::span<const MissileSummary> missiles) {
    std::string line;
    ObjectWriter run(line);
    run.integer("run", plan.run)
        .integer("combination", plan.combination)
        .integer("repetition", plan.repetition)
        .integer("seed", scenario.seed)
        .key("values");
    ObjectWriter values(line);
    for (size_t k = 0; k < campaign.varied.size(); ++k) {
        values.key(campaign.varied[k].name);
        line += plan.values[k].dump();
    }
    values.close();
    run.integer("ticks", result.ticksRun);
    if (result.status == RunStatus::Ok) {
        run.null("stopped");
    } else {
        run.string("stopped", result.error);
    }
    run.key("missiles");
    line += '[';
    for (size_t m = 0; m < missiles.size(); ++m) {
        std::string object = missileSummaryJsonLine(missiles[m]);
        object.pop_back();  // its line break
        line += (m == 0 ? "" : ",") + object;
    }
    line += ']';
    run.close();
    return line + "\n";
}

std::vector<std::string> runCampaign(const CampaignPlan& plan, std::span<const int64_t> runs,
                                     int threads) {
    std::vector<std::string> lines(runs.size());
    std::atomic<size_t> next{0};
    std::exception_ptr failure;
    std::mutex failureLock;
    const auto work = [&] {
        try {
            const std::unique_ptr<WorldState> world = makeWorld();
            MissileSummaryCollector missiles;
            RunOptions options;
            options.listeners.push_back(&missiles);
            for (size_t k = next++; k < runs.size(); k = next++) {
                const RunPlan run = planRun(plan.campaign(), runs[k]);
                const Scenario scenario = plan.scenario(run);
                missiles.clear();
                const RunResult result = runScenario(*world, scenario, kRunSource, options);
                lines[k] = campaignRunLine(plan.campaign(), run, scenario, result,
                                           missiles.summaries(*world, plan.campaign().hitRadius));
            }
        } catch (...) {
            const std::lock_guard<std::mutex> lock(failureLock);
            failure = std::current_exception();
            next = runs.size();
        }
    };
    const int count = std::max(1, std::min<int>(threads, static_cast<int>(runs.size())));
    std::vector<std::thread> workers;
    for (int t = 1; t < count; ++t) {
        workers.emplace_back(work);
    }
    work();
    for (std::thread& w : workers) {
        w.join();
    }
    if (failure) {
        std::rethrow_exception(failure);
    }
    return lines;
}

}  // namespace prrsim::batch
