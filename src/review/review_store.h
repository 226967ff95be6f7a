#pragma once

// What the windows keep of a session for its review: every event taken from the world, the
// per-missile summary, a sample of every powered or flying missile and the trails of aircraft
// and missiles. All of it lives outside the tick: the main window drains the world's events
// after each tick and before each redraw, and samples every kSampleTicks ticks.

#include <cstdint>
#include <limits>
#include <span>
#include <vector>

#include "review/missile_summary.h"
#include "world/events.h"
#include "world/world_state.h"

namespace prrsim::review {

// Missiles and trails are sampled every this many ticks (0.1 s).
inline constexpr int64_t kSampleTicks = 10;

// A missile's phase at a sample, as the plots mark it.
enum class FlightPhase : uint8_t {
    Carried,         // on its carrier (powered)
    ClimbProfile,    // launched, flying its climb profile
    DirectHoming,    // homing straight at its target
    ToWaitingPoint,  // on its way to the waiting point (after a lost lock, or from the launch)
    Parachute,       // descending under its parachute
    PowerOut,        // launched, on-board power used up
};
inline constexpr int kFlightPhaseCount = 6;

FlightPhase flightPhaseOf(const Missile& m);

inline constexpr float kNoValue = std::numeric_limits<float>::quiet_NaN();

// One missile at one sample (32 bytes).
struct MissileSample {
    int64_t tick = 0;
    float altitude = 0;               // metres
    float groundDistance = kNoValue;  // horizontal, metres, to its target radar; none: NaN
    float slantDistance = kNoValue;   // metres, to its target radar
    float speed = 0;                  // km/h
    float power = kNoValue;           // W arriving directly from the radar it follows
    FlightPhase phase = FlightPhase::Carried;
};

// One trail point: tick and map pixel (8 bytes).
struct TrailPoint {
    int32_t tick = 0;
    int16_t x = 0;
    int16_t y = 0;
};

// A trail gets a new point once its object has moved this many pixels (in x or y) from the
// last one.
inline constexpr int kTrailStep = 2;

class ReviewStore {
  public:
    // Takes the world's events into the store and the summary.
    void drain(WorldState& world);
    // Samples every powered or flying missile and extends the trails, at the world's tick.
    void sample(const WorldState& world);
    // Forgets everything (a new session).
    void clear();
    // The world went back to `tick` (a jump on the timeline): forgets what happened after it
    // and what the world noted while it was rebuilt; playing on notes it again.
    void rewindTo(WorldState& world, int64_t tick);

    const std::vector<WorldEvent>& events() const { return events_; }
    const batch::MissileSummaryCollector& summary() const { return summary_; }
    // Positions in events() of the detonations, oldest first.
    const std::vector<size_t>& detonations() const { return detonations_; }
    // The samples of the missile with this number (empty for an unknown one).
    std::span<const MissileSample> samples(int32_t missileNumber) const;
    // Trails by number - 1.
    const std::vector<std::vector<TrailPoint>>& aircraftTrails() const { return aircraftTrails_; }
    const std::vector<std::vector<TrailPoint>>& missileTrails() const { return missileTrails_; }
    // Counts the clears, so that views built from the store know to start again.
    uint64_t generation() const { return generation_; }

  private:
    void endFlight(const WorldState& world, const WorldEvent& e);

    std::vector<WorldEvent> events_;
    batch::MissileSummaryCollector summary_;
    std::vector<size_t> detonations_;
    std::vector<std::vector<MissileSample>> samples_;  // by missile number - 1
    std::vector<std::vector<TrailPoint>> aircraftTrails_;
    std::vector<std::vector<TrailPoint>> missileTrails_;
    std::vector<int32_t> radarRows_;  // radar table position by number, at the last sample
    uint64_t generation_ = 0;
};

}  // namespace prrsim::review
