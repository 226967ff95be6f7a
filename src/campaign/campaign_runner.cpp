#include "campaign/campaign_runner.h"

#include <condition_variable>
#include <exception>
#include <map>
#include <memory>
#include <mutex>
#include <thread>
#include <vector>

#include "world/world.h"

namespace prrsim::batch {

namespace {

// Runs ahead of the oldest unfinished one that a thread may start, per thread.
constexpr size_t kWindowPerThread = 8;

}  // namespace

RunSequence shardRuns(int64_t runs, Shard shard) {
    const int64_t count =
        shard.index < runs ? (runs - shard.index + shard.count - 1) / shard.count : 0;
    return {shard.index, shard.count, count};
}

int64_t runCampaign(const CampaignPlan& plan, RunSequence runs, int threads,
                    const RunConsumer& consume, const std::atomic<bool>* stop) {
    const int count =
        static_cast<int>(std::max<int64_t>(1, std::min<int64_t>(threads, runs.size())));
    const auto total = static_cast<size_t>(runs.size());
    const size_t window = kWindowPerThread * static_cast<size_t>(count);
    std::mutex lock;
    std::condition_variable progressed;
    size_t next = 0;     // the next run to start
    size_t emitted = 0;  // the records handed over
    bool halted = false;
    std::map<size_t, CampaignRunRecord> waiting;
    std::exception_ptr failure;

    const auto claim = [&](std::unique_lock<std::mutex>& held) -> std::optional<size_t> {
        progressed.wait(held, [&] { return halted || next >= total || next < emitted + window; });
        if (!halted && stop != nullptr && stop->load()) {
            halted = true;
            progressed.notify_all();
        }
        if (halted || next >= total) {
            return std::nullopt;
        }
        return next++;
    };
    const auto handOver = [&](size_t k, CampaignRunRecord&& record) {
        waiting.emplace(k, std::move(record));
        for (auto it = waiting.find(emitted); it != waiting.end() && !halted;
             it = waiting.find(emitted)) {
            CampaignRunRecord ready = std::move(it->second);
            waiting.erase(it);
            ++emitted;
            halted = !consume(std::move(ready));
        }
        progressed.notify_all();
    };
    const auto work = [&] {
        try {
            const std::unique_ptr<WorldState> world = makeWorld();
            MissileSummaryCollector missiles;
            RunOptions options;
            options.listeners.push_back(&missiles);
            std::unique_lock<std::mutex> held(lock);
            for (std::optional<size_t> k = claim(held); k; k = claim(held)) {
                held.unlock();
                const RunPlan run = planRun(plan.campaign(), runs[static_cast<int64_t>(*k)]);
                const Scenario scenario = plan.scenario(run);
                missiles.clear();
                const RunResult result = runScenario(*world, scenario, kRunSource, options);
                CampaignRunRecord record =
                    makeRunRecord(plan.campaign(), run, scenario, result,
                                  missiles.summaries(*world, plan.campaign().hitRadius));
                held.lock();
                handOver(*k, std::move(record));
            }
        } catch (...) {
            const std::lock_guard<std::mutex> guard(lock);
            failure = failure ? failure : std::current_exception();
            halted = true;
            progressed.notify_all();
        }
    };
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
    return static_cast<int64_t>(emitted);
}

}  // namespace prrsim::batch
