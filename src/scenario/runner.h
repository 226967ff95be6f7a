#pragma once

#include <cstdint>
#include <ostream>
#include <string>
#include <string_view>
#include <vector>

#include "scenario/actions.h"
#include "scenario/run_listener.h"
#include "scenario/scenario.h"
#include "scenario/trace.h"
#include "world/world_state.h"

namespace prrsim::batch {

struct RunOptions {
    RunOptions(int64_t every = 1, std::ostream* trace = nullptr) : every(every), trace(trace) {}

    int64_t every = 1;              // a trace line every `every` ticks (and after the last tick)
    std::ostream* trace = nullptr;  // no trace when null
    // Told the events as they are taken and sampled with the trace; not owned.
    std::vector<RunListener*> listeners;
};

enum class RunStatus {
    Ok,
    BadInput,         // an action could not be applied; the run stopped there
    InternalFailure,  // the trace could not be written
};

struct RunResult {
    RunStatus status = RunStatus::Ok;
    std::string error;     // one line, for BadInput and InternalFailure
    int64_t ticksRun = 0;  // ticks completed (all of them when Ok)
    std::vector<ImpactRecord> impacts;
};

// The error of an action that could not be applied at its tick.
ScenarioError actionError(std::string_view source, const Action& action, const ApplyError& error);

// Runs the scenario on `world`: loads its start world, reseeds the generator, and then for
// n = 0 .. ticks applies the actions of tick n in file order, writes a trace line when n is a
// multiple of `every` or the last tick, and runs one tick while n < ticks. `source` names the
// scenario in error lines. The world's events are taken after its start, after every action
// and after every tick, and handed to the listeners, which are also sampled at every trace
// interval. The world is left as the run ended, without an observer.
RunResult runScenario(WorldState& world, const Scenario& scenario, std::string_view source,
                      const RunOptions& options);

}  // namespace prrsim::batch
