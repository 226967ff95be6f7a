#include "scenario/runner.h"

#include <memory>

#include "scenario/actions.h"
#include "sim/tick.h"
#include "world/world.h"

namespace prrsim::batch {

namespace {

// Records each detonation with the tick count it belongs to and the miss it made.
class ImpactRecorder final : public WorldObserver {
  public:
    explicit ImpactRecorder(const WorldState& world) : world_(world) {}

    // Detonations from now on belong to `tick` (the count once the running tick completes).
    void setTick(int64_t tick) { tick_ = tick; }

    void radarPanelRefresh(int32_t) override {}
    void missileRemoved(int32_t) override {}
    void missileDetonated(const ImpactEvent& event) override {
        ImpactRecord impact;
        impact.tick = tick_;
        impact.missile = event.missile;
        impact.typeIndex = event.typeIndex;
        impact.x = event.x;
        impact.y = event.y;
        measureMiss(world_, impact);
        all_.push_back(impact);
        sinceLastLine_.push_back(impact);
    }

    std::vector<ImpactRecord>& sinceLastLine() { return sinceLastLine_; }
    std::vector<ImpactRecord>& all() { return all_; }

  private:
    const WorldState& world_;
    int64_t tick_ = 0;
    std::vector<ImpactRecord> all_;
    std::vector<ImpactRecord> sinceLastLine_;
};

// Hands the events noted since the last take to every listener.
void deliverEvents(WorldState& world, const RunOptions& options) {
    const std::span<const WorldEvent> events = world.events.take();
    if (events.empty()) {
        return;
    }
    for (RunListener* listener : options.listeners) {
        listener->onEvents(world, events);
    }
}

// Clears the observer however the run ends, so the world never points at a dead recorder.
struct ObserverGuard {
    WorldState& world;
    ~ObserverGuard() { world.observer = nullptr; }
};

}  // namespace

ScenarioError actionError(std::string_view source, const Action& action, const ApplyError& error) {
    return {std::string(source), action.position, std::string(opName(action.op)),
            action.tick,         error.field,     error.refusal};
}

RunResult runScenario(WorldState& world, const Scenario& scenario, std::string_view source,
                      const RunOptions& options) {
    RunResult result;
    ImpactRecorder recorder(world);
    world.observer = &recorder;
    const ObserverGuard guard{world};
    if (scenario.start == StartWorld::Default) {
        startWorld(world);
    } else {
        startEmptyWorld(world);
    }
    world.random.seed(scenario.seed);
    deliverEvents(world, options);
    const std::unique_ptr<SeekerScratch> scratch = makeSeekerScratch();

    const int64_t every = options.every > 0 ? options.every : 1;
    size_t next = 0;
    for (int64_t n = 0; n <= scenario.ticks; ++n) {
        for (; next < scenario.actions.size() && scenario.actions[next].tick == n; ++next) {
            const Action& action = scenario.actions[next];
            if (const auto error = applyAction(world, action)) {
                result.status = RunStatus::BadInput;
                result.error = actionError(source, action, *error).line();
                result.impacts = std::move(recorder.all());
                return result;
            }
            deliverEvents(world, options);
        }
        const bool sample = n % every == 0 || n == scenario.ticks;
        if (sample) {
            for (RunListener* listener : options.listeners) {
                listener->onSample(world, n);
            }
        }
        if (options.trace != nullptr && sample) {
            *options.trace << traceLine(world, n, recorder.sinceLastLine());
            recorder.sinceLastLine().clear();
            if (!*options.trace) {
                result.status = RunStatus::InternalFailure;
                result.error = std::string(source) + ": the trace could not be written";
                result.impacts = std::move(recorder.all());
                return result;
            }
        }
        if (n < scenario.ticks) {
            recorder.setTick(n + 1);
            SimulationTick(world, *scratch);
            result.ticksRun = n + 1;
            deliverEvents(world, options);
        }
    }
    result.impacts = std::move(recorder.all());
    return result;
}

}  // namespace prrsim::batch
