// Reading a scene file of 10^4, 10^5 and 10^6 actions from its text (parseScenario): the time
// grows with the number of actions, not with its square. Reports actions per second.
#include <benchmark/benchmark.h>

#include <string>

#include "scenario/scenario.h"

namespace prrsim {
namespace {

// A scene of `count` actions of the kinds a session records, one tick apart.
std::string sceneText(int64_t count) {
    batch::Scenario s;
    s.start = batch::StartWorld::Default;
    s.ticks = count;
    for (int64_t i = 0; i < count; ++i) {
        batch::Action a;
        a.position = static_cast<int32_t>(i);
        a.tick = i;
        a.op = i % 2 == 0 ? batch::Op::SetFrequency : batch::Op::SetAircraft;
        a.radar = static_cast<int32_t>(i % 6);
        a.aircraft = static_cast<int32_t>(i % 4);
        a.value = static_cast<int32_t>(i % 101);
        a.aircraftFields[kFieldSpeed] = 200.0 + static_cast<double>(i % 50);
        s.actions.push_back(a);
    }
    return batch::writeScenario(s);
}

void BM_ReadScene(benchmark::State& state) {
    const std::string text = sceneText(state.range(0));
    for (auto _ : state) {
        std::string error;
        auto scenario = batch::parseScenario(text, "bench.json", error);
        if (!scenario) {
            state.SkipWithError(error.c_str());
            break;
        }
        benchmark::DoNotOptimize(scenario);
    }
    state.SetItemsProcessed(state.iterations() * state.range(0));
    state.counters["MB"] = static_cast<double>(text.size()) / 1e6;
}
BENCHMARK(BM_ReadScene)->Arg(10'000)->Arg(100'000)->Arg(1'000'000)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace prrsim
