#pragma once

#include <cstdint>
#include <span>

#include "world/events.h"
#include "world/world_state.h"

namespace prrsim::batch {

// Follows a run of runScenario without changing it: the event writers, the per-missile
// summary, the flight recording.
class RunListener {
  public:
    virtual ~RunListener() = default;
    // The events taken from the world after its start, after each action and after each tick,
    // in order; `world` is the world just after them.
    virtual void onEvents(const WorldState& world, std::span<const WorldEvent> events) {
        (void)world;
        (void)events;
    }
    // The world after `tick` ticks and the actions of that tick, at every trace interval and
    // after the last tick, after that moment's events.
    virtual void onSample(const WorldState& world, int64_t tick) {
        (void)world;
        (void)tick;
    }
};

}  // namespace prrsim::batch
