// The simulation tick: the start-up world with one capturing "AGM-88C HARM", and the tables
// at full capacity before launch and in flight, each by the fast path and by the direct
// reading of the seeker (world.seekerScratch.directReading), measured in the same run.

#include <benchmark/benchmark.h>

#include <memory>

#include "capacity_scene.h"
#include "missile/seeker/seeker_tracking.h"
#include "sim/tick.h"
#include "world/world_state.h"

namespace prrsim {
namespace {

// Ticks the scene is run before measuring: the captures have turned into locks.
constexpr int32_t kWarmUpTicks = 120;

std::unique_ptr<WorldState> warmedUp(std::unique_ptr<WorldState> world, bool launch) {
    for (int32_t n = 0; n < kWarmUpTicks; ++n) {
        SimulationTick(*world);
    }
    if (launch) {
        scenes::launchAll(*world);
    }
    return world;
}

// One tick per iteration. Every `period` ticks the world goes back to `start` outside the
// timing, so every measured tick is one of the scene's first `period` ticks.
void runTicks(benchmark::State& state, const WorldState& start, bool directReading,
              int32_t period) {
    std::unique_ptr<WorldState> world = makeWorld();
    *world = start;
    world->seekerScratch.directReading = directReading;
    int32_t n = 0;
    for (auto _ : state) {
        if (n == period) {
            state.PauseTiming();
            *world = start;
            world->seekerScratch.directReading = directReading;
            n = 0;
            state.ResumeTiming();
        }
        SimulationTick(*world);
        ++n;
    }
    state.counters["ticks_per_s"] =
        benchmark::Counter(static_cast<double>(state.iterations()), benchmark::Counter::kIsRate);
}

const WorldState& defaultScene() {
    static const std::unique_ptr<WorldState> world =
        warmedUp(scenes::defaultSceneWithHarm(), false);
    return *world;
}

const WorldState& preparedCapacityScene(scenes::Missiles kind, bool launched) {
    static const std::unique_ptr<WorldState> harmOnCarriers =
        warmedUp(scenes::capacityScene(scenes::Missiles::Harm, false), false);
    static const std::unique_ptr<WorldState> harmInFlight =
        warmedUp(scenes::capacityScene(scenes::Missiles::Harm, false), true);
    static const std::unique_ptr<WorldState> mixedInFlight =
        warmedUp(scenes::capacityScene(scenes::Missiles::Mixed, false), true);
    if (kind == scenes::Missiles::Mixed) {
        return *mixedInFlight;
    }
    return launched ? *harmInFlight : *harmOnCarriers;
}

// Argument 0: the fast path; 1: the direct reading.
void BM_DefaultSceneTick(benchmark::State& state) {
    runTicks(state, defaultScene(), state.range(0) == 1, 1000);
}
BENCHMARK(BM_DefaultSceneTick)->ArgName("direct")->Arg(0)->Arg(1);

void BM_CapacityTickBeforeLaunch(benchmark::State& state) {
    runTicks(state, preparedCapacityScene(scenes::Missiles::Harm, false), state.range(0) == 1, 200);
}
BENCHMARK(BM_CapacityTickBeforeLaunch)
    ->ArgName("direct")
    ->Arg(0)
    ->Arg(1)
    ->Unit(benchmark::kMicrosecond);

void BM_CapacityTickInFlight(benchmark::State& state) {
    runTicks(state, preparedCapacityScene(scenes::Missiles::Harm, true), state.range(0) == 1, 200);
}
BENCHMARK(BM_CapacityTickInFlight)
    ->ArgName("direct")
    ->Arg(0)
    ->Arg(1)
    ->Unit(benchmark::kMicrosecond);

// Every catalogue type and launch mode (searches, wide search, continuous-wave seekers).
void BM_CapacityTickMixedInFlight(benchmark::State& state) {
    runTicks(state, preparedCapacityScene(scenes::Missiles::Mixed, true), state.range(0) == 1, 200);
}
BENCHMARK(BM_CapacityTickMixedInFlight)
    ->ArgName("direct")
    ->Arg(0)
    ->Arg(1)
    ->Unit(benchmark::kMicrosecond);

// The seeker steps of all 100 missiles of the capacity scene with nothing memorised before each
// step, so every emission in band is accepted and every radar is tried on both passes, directly
// and through all 32 landmarks: the heaviest reception load a tick can carry.
void BM_SeekerStepsNothingMemorised(benchmark::State& state) {
    std::unique_ptr<WorldState> world = makeWorld();
    *world = preparedCapacityScene(scenes::Missiles::Harm, false);
    world->seekerScratch.directReading = state.range(0) == 1;
    for (auto _ : state) {
        for (int32_t i = 0; i < world->missileCount; ++i) {
            Missile& m = world->missiles[i];
            m.signalParamsKnown = 0;
            m.emissionKindKnown = 0;
            m.radarTypeIdentified = 0;
            m.frequencyKnown = 0;
            m.trackedRadarId = -1;
            seekerStep(*world, m);
        }
    }
}
BENCHMARK(BM_SeekerStepsNothingMemorised)
    ->ArgName("direct")
    ->Arg(0)
    ->Arg(1)
    ->Unit(benchmark::kMicrosecond);

}  // namespace
}  // namespace prrsim
