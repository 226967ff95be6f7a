// The batch runner on a long default-world scenario: one "AGM-88C HARM" on aircraft 0,
// captured on radar 0 and launched after two seconds, for 60 s of simulated time. Reports
// simulated ticks per second of real time.

#include <benchmark/benchmark.h>

#include <memory>
#include <sstream>
#include <string>

#include "scenario/runner.h"
#include "scenario/scenario.h"
#include "before/before.h"
#include "capacity_scene.h"

namespace prrsim {
namespace {

constexpr int64_t kScenarioTicks = 6000;

batch::Scenario longDefaultScenario() {
    batch::Scenario s;
    s.start = batch::StartWorld::Default;
    s.seed = 1;
    s.ticks = kScenarioTicks;
    s.description = "one HARM on the default world, 60 s";
    auto add = [&s](int64_t tick, batch::Op op) -> batch::Action& {
        batch::Action a;
        a.position = static_cast<int32_t>(s.actions.size());
        a.tick = tick;
        a.op = op;
        s.actions.push_back(a);
        return s.actions.back();
    };
    batch::Action& pick = add(0, batch::Op::PickTarget);
    pick.aircraft = 0;
    pick.radar = 0;
    batch::Action& load = add(0, batch::Op::AddMissile);
    load.aircraft = 0;
    load.type = scenes::missileTypeNamed("AGM-88C HARM");
    load.launchMode = 0;
    add(0, batch::Op::Activate).missile = 0;
    add(0, batch::Op::Capture).missile = 0;
    add(200, batch::Op::Launch).missile = 0;
    return s;
}

// Without a trace, and with a trace line every 100 ticks into memory; `now` the program's
// runner, `before` the former one (bench/before).
void runDefaultWorld(benchmark::State& state, bool before, int64_t every) {
    const batch::Scenario scenario = longDefaultScenario();
    std::unique_ptr<WorldState> world = makeWorld();
    int64_t ticks = 0;
    std::ostringstream trace;
    batch::RunOptions options;
    if (every > 0) {
        options.every = every;
        options.trace = &trace;
    }
    for (auto _ : state) {
        trace.str(std::string());
        const batch::RunResult result =
            before ? before::runScenario(*world, scenario, "bench", options)
                   : batch::runScenario(*world, scenario, "bench", options);
        if (result.status != batch::RunStatus::Ok) {
            state.SkipWithError(result.error.c_str());
            break;
        }
        ticks += result.ticksRun;
    }
    state.counters["ticks_per_s"] =
        benchmark::Counter(static_cast<double>(ticks), benchmark::Counter::kIsRate);
}

void BM_BatchRunnerDefaultWorld(benchmark::State& state, bool before) {
    runDefaultWorld(state, before, 0);
}
BENCHMARK_CAPTURE(BM_BatchRunnerDefaultWorld, now, false)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_BatchRunnerDefaultWorld, before, true)->Unit(benchmark::kMillisecond);

void BM_BatchRunnerDefaultWorldTraced(benchmark::State& state, bool before) {
    runDefaultWorld(state, before, 100);
}
BENCHMARK_CAPTURE(BM_BatchRunnerDefaultWorldTraced, now, false)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_BatchRunnerDefaultWorldTraced, before, true)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace prrsim
