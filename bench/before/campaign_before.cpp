// The campaign pipeline before run records: every run's line kept in memory until the end,
// then parsed back into JSON for the statistics and the runs table (former campaignRunLine,
// runCampaign, readRunLine, CampaignTally::add and runsCsvRows, unchanged apart from their
// namespace and the parts the benchmark does not reach).

#include <atomic>
#include <exception>
#include <memory>
#include <mutex>
#include <thread>

#include "before.h"
#include "review/csv.h"
#include "review/event_log.h"
#include "scenario/json_writer.h"
#include "world/world.h"

namespace prrsim::before {

using nlohmann::json;
using namespace batch;

namespace {

std::string valueText(const json& v) {
    return v.is_string() ? v.get<std::string>() : v.dump();
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
                const RunResult result = batch::runScenario(*world, scenario, kRunSource, options);
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

struct RunLine {
    int64_t run = 0;
    int64_t combination = 0;
    bool stopped = false;
    json line;
};

std::optional<RunLine> readRunLine(std::string_view line) {
    RunLine r;
    try {
        r.line = json::parse(line.begin(), line.end());
    } catch (const json::exception&) {
        return std::nullopt;
    }
    r.run = r.line["run"].get<int64_t>();
    r.combination = r.line["combination"].get<int64_t>();
    r.stopped = !r.line["stopped"].is_null();
    return r;
}

// The counts and samples of CampaignTally::add.
struct Tally {
    int64_t launched = 0, hits = 0, misses = 0, flying = 0;
    std::vector<double> miss, flight;
    void add(const RunLine& r) {
        if (r.stopped) {
            return;
        }
        for (const json& m : r.line["missiles"]) {
            const std::string outcome = m.value("outcome", "");
            const bool detonated = outcome == "hit" || outcome == "miss";
            launched += detonated || outcome == "flying" ? 1 : 0;
            hits += outcome == "hit" ? 1 : 0;
            misses += outcome == "miss" ? 1 : 0;
            flying += outcome == "flying" ? 1 : 0;
            if (detonated && m.contains("missDistance") && m["missDistance"].is_number()) {
                miss.push_back(m["missDistance"].get<double>());
            }
            if (detonated && m.contains("timeOfFlight") && m["timeOfFlight"].is_number()) {
                flight.push_back(m["timeOfFlight"].get<double>());
            }
        }
    }
};

std::string runsCsvRows(const Campaign& c, const RunLine& r) {
    std::string out;
    const auto optionalInteger = [](CsvRow& row, const json& v) {
        if (v.is_number_integer()) {
            row.integer(v.get<int64_t>());
        } else {
            row.empty();
        }
    };
    const auto optionalReal = [](CsvRow& row, const json& v) {
        if (v.is_number()) {
            row.real(v.get<double>(), 2);
        } else {
            row.empty();
        }
    };
    const json& line = r.line;
    const auto rowStart = [&] {
        CsvRow row;
        row.integer(r.run).integer(r.combination);
        optionalInteger(row, line.value("repetition", json()));
        optionalInteger(row, line.value("seed", json()));
        for (const VariedValue& v : c.varied) {
            const json& value = line["values"].value(v.name, json());
            row.text(value.is_null() ? "" : valueText(value));
        }
        row.text(r.stopped && line["stopped"].is_string() ? line["stopped"].get<std::string>()
                                                          : "");
        return row;
    };
    for (const json& m : line["missiles"]) {
        CsvRow row = rowStart();
        optionalInteger(row, m.value("missileNumber", json()));
        row.text(m.value("type", "")).text(m.value("launchMode", ""));
        optionalInteger(row, m.value("targetRadarNumber", json()));
        optionalInteger(row, m.value("launchTick", json()));
        optionalInteger(row, m.value("firstLockTick", json()));
        const std::string outcome = m.value("outcome", "");
        std::string label = outcome;
        for (int k = 0; k <= static_cast<int>(MissileOutcome::RemovedWithCarrier); ++k) {
            if (outcomeCode(static_cast<MissileOutcome>(k)) == outcome) {
                label = outcomeLabel(static_cast<MissileOutcome>(k));
            }
        }
        row.text(label);
        optionalReal(row, m.value("missDistance", json()));
        optionalReal(row, m.value("timeOfFlight", json()));
        out += row.line();
    }
    return out;
}

}  // namespace

int64_t campaignResults(const CampaignPlan& plan, std::span<const int64_t> runs, int threads) {
    const std::vector<std::string> lines = runCampaign(plan, runs, threads);
    Tally tally;
    std::string all;
    std::string csv;
    for (const std::string& line : lines) {
        const std::optional<RunLine> r = readRunLine(line);
        tally.add(*r);
        csv += runsCsvRows(plan.campaign(), *r);
        all += line;
    }
    return static_cast<int64_t>(all.size() + csv.size()) + tally.hits;
}

}  // namespace prrsim::before
