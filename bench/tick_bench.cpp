// The simulation tick: the start-up world with one capturing "AGM-88C HARM", and the tables
// at full capacity before launch and in flight. Each scene runs three ways in the same run:
// `now`, the program's tick; `before`, the tick as it was before the radar index
// (bench/before); `direct`, the program's tick with every seeker read directly (test support),
// the reference of the exactness tests.

#include <benchmark/benchmark.h>

#include <memory>

#include "before/before.h"
#include "capacity_scene.h"
#include "missile/seeker/seeker_tracking.h"
#include "seeker_direct_reading.h"
#include "sim/tick.h"
#include "world/world_state.h"

namespace prrsim {
namespace {

enum class Code { Now, Before, Direct };

using TickFunction = void (*)(WorldState&, SeekerScratch&);

TickFunction tickOf(Code code) {
    switch (code) {
        case Code::Before:
            // runTicks hands every tick a before::Scratch.
            return [](WorldState& world, SeekerScratch& scratch) {
                before::tick(world, static_cast<before::Scratch&>(scratch));
            };
        case Code::Direct:
            return testing::directTick;
        default:
            return SimulationTick;
    }
}

// Ticks the scene is run before measuring: the captures have turned into locks.
constexpr int32_t kWarmUpTicks = 120;

std::unique_ptr<WorldState> warmedUp(std::unique_ptr<WorldState> world, bool launch) {
    const auto scratch = makeSeekerScratch();
    for (int32_t n = 0; n < kWarmUpTicks; ++n) {
        SimulationTick(*world, *scratch);
    }
    if (launch) {
        scenes::launchAll(*world);
    }
    return world;
}

// One tick per iteration. Every `period` ticks the world goes back to `start` outside the
// timing, so every measured tick is one of the scene's first `period` ticks.
void runTicks(benchmark::State& state, const WorldState& start, Code code, int32_t period) {
    const TickFunction tick = tickOf(code);
    // A before::Scratch serves every code: it is the program's with what the former code adds.
    const std::unique_ptr<before::Scratch> scratch = before::makeScratch();
    std::unique_ptr<WorldState> world = makeWorld();
    *world = start;
    int32_t n = 0;
    for (auto _ : state) {
        if (n == period) {
            state.PauseTiming();
            *world = start;
            n = 0;
            state.ResumeTiming();
        }
        tick(*world, *scratch);
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

// Registers `function` once per code path: name/now, name/before, name/direct.
#define PRRSIM_THREE_WAYS(function)                                                   \
    BENCHMARK_CAPTURE(function, now, Code::Now)->Unit(benchmark::kMicrosecond);       \
    BENCHMARK_CAPTURE(function, before, Code::Before)->Unit(benchmark::kMicrosecond); \
    BENCHMARK_CAPTURE(function, direct, Code::Direct)->Unit(benchmark::kMicrosecond)

void BM_DefaultSceneTick(benchmark::State& state, Code code) {
    runTicks(state, defaultScene(), code, 1000);
}
PRRSIM_THREE_WAYS(BM_DefaultSceneTick);

void BM_CapacityTickBeforeLaunch(benchmark::State& state, Code code) {
    runTicks(state, preparedCapacityScene(scenes::Missiles::Harm, false), code, 200);
}
PRRSIM_THREE_WAYS(BM_CapacityTickBeforeLaunch);

void BM_CapacityTickInFlight(benchmark::State& state, Code code) {
    runTicks(state, preparedCapacityScene(scenes::Missiles::Harm, true), code, 200);
}
PRRSIM_THREE_WAYS(BM_CapacityTickInFlight);

// Every catalogue type and launch mode (searches, wide search, continuous-wave seekers).
void BM_CapacityTickMixedInFlight(benchmark::State& state, Code code) {
    runTicks(state, preparedCapacityScene(scenes::Missiles::Mixed, true), code, 200);
}
PRRSIM_THREE_WAYS(BM_CapacityTickMixedInFlight);

// The seeker steps of all 100 missiles of the capacity scene with nothing memorised before each
// step, so every emission in band is accepted and every radar is tried on both passes, directly
// and through all 32 landmarks: the heaviest reception load a tick can carry.
void BM_SeekerStepsNothingMemorised(benchmark::State& state, Code code) {
    std::unique_ptr<WorldState> world = makeWorld();
    *world = preparedCapacityScene(scenes::Missiles::Harm, false);
    const SeekerCatalogs c = programCatalogs();
    const seeker::Reading& reading = code == Code::Direct   ? testing::directReading()
                                     : code == Code::Before ? before::fastReading()
                                                            : seeker::programReading();
    const std::unique_ptr<before::Scratch> scratch = before::makeScratch();
    // The radars stay as they are: one radar index serves every step, as in a tick.
    IndexedRadars indexed(*scratch);
    for (auto _ : state) {
        for (int32_t i = 0; i < world->missileCount; ++i) {
            Missile& m = world->missiles[i];
            m.signalParamsKnown = 0;
            m.emissionKindKnown = 0;
            m.radarTypeIdentified = 0;
            m.frequencyKnown = 0;
            m.trackedRadarId = -1;
            seekerStep(c, *world, *scratch, m, reading);
        }
    }
}
PRRSIM_THREE_WAYS(BM_SeekerStepsNothingMemorised);

}  // namespace
}  // namespace prrsim
