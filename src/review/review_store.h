#pragma once

// The review of a run: every event taken from the world, the per-missile summary, a sample of
// every powered or flying missile and the trails of aircraft and missiles. It is a function of
// the recording alone: reviewOf() runs a scenario through the batch runner with a
// ReviewRecorder, and a session extending its recording live takes the same events and samples
// at the same moments (after the start, after every action and tick; a sample after the
// actions of every kSampleTicks-th tick). All of it lives outside the tick.

#include <cstdint>
#include <functional>
#include <limits>
#include <optional>
#include <span>
#include <string_view>
#include <vector>

#include "review/missile_summary.h"
#include "scenario/run_listener.h"
#include "scenario/scenario.h"
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
    // Events already taken from `world`, which is the world just after them.
    void add(const WorldState& world, std::span<const WorldEvent> events);
    // Samples every powered or flying missile and extends the trails, at the world's tick.
    void sample(const WorldState& world);
    // Takes back the last sample when it was made at `tick`: an action made at that tick
    // comes before its sample, which is then taken again.
    void unsampleAt(int64_t tick);
    // The summary as of `world`, the world at the end of the run.
    void settle(const WorldState& world);
    // Forgets everything (a new session).
    void clear();

    const std::vector<WorldEvent>& events() const { return events_; }
    const batch::MissileSummaryCollector& summary() const { return summary_; }
    // One row per missile, as of the tick the store was last settled at (end()).
    const std::vector<batch::MissileSummary>& summaries() const { return summaries_; }
    int64_t end() const { return end_; }
    // Positions in events() of the detonations, oldest first.
    const std::vector<size_t>& detonations() const { return detonations_; }
    // The samples of the missile with this number (empty for an unknown one).
    std::span<const MissileSample> samples(int32_t missileNumber) const;
    // Trails by number - 1.
    const std::vector<std::vector<TrailPoint>>& aircraftTrails() const { return aircraftTrails_; }
    const std::vector<std::vector<TrailPoint>>& missileTrails() const { return missileTrails_; }
    // Changes whenever the store is replaced or cleared, so that views built from it know to
    // start again; within one generation the events only grow.
    uint64_t generation() const { return generation_; }
    // Counts the samples taken back: a trail may have lost its last point.
    uint64_t retaken() const { return retaken_; }
    // A store swapped in for this one goes on from its generation.
    void follow(const ReviewStore& former) { generation_ = former.generation_ + 1; }

  private:
    // What the last sample appended, to take it back: a missile's samples or trail, an
    // aircraft's trail, by number.
    enum class Series : uint8_t { MissileSamples, MissileTrail, AircraftTrail };
    struct Appended {
        Series series;
        int32_t number;
    };

    void endFlight(const WorldState& world, const WorldEvent& e);
    bool extendTrail(std::vector<std::vector<TrailPoint>>& trails, int32_t number, int64_t tick,
                     double x, double y);

    std::vector<WorldEvent> events_;
    batch::MissileSummaryCollector summary_;
    std::vector<size_t> detonations_;
    std::vector<std::vector<MissileSample>> samples_;  // by missile number - 1
    std::vector<std::vector<TrailPoint>> aircraftTrails_;
    std::vector<std::vector<TrailPoint>> missileTrails_;
    std::vector<int32_t> radarRows_;  // radar table position by number, at the last sample
    std::vector<batch::MissileSummary> summaries_;
    int64_t end_ = 0;
    int64_t lastSampleTick_ = -1;
    std::vector<Appended> lastSample_;
    uint64_t generation_ = 0;
    uint64_t retaken_ = 0;
};

// Whether the review samples the world after the actions of this tick.
inline bool sampledAt(int64_t tick) {
    return tick % kSampleTicks == 0;
}

// Follows a run of the batch runner into a store: its events, and its samples at the ticks the
// review samples (the runner's sampling interval must divide kSampleTicks).
class ReviewRecorder final : public batch::RunListener {
  public:
    explicit ReviewRecorder(ReviewStore& store) : store_(store) {}
    void onEvents(const WorldState& world, std::span<const WorldEvent> events) override;
    void onSample(const WorldState& world, int64_t tick) override;

  private:
    ReviewStore& store_;
};

// Ticks done of total; false gives up.
using ReviewProgress = std::function<bool(int64_t done, int64_t total)>;

// The review of a whole scenario as the batch runner runs it, settled at its last tick: what
// `prrsim-batch --events` and `--summary-csv` write of it. Nothing when the run stops at an
// action that cannot be applied or `progress` gives up. Needs no state but its arguments:
// safe to run on any thread.
std::optional<ReviewStore> reviewOf(const batch::Scenario& scenario, std::string_view source,
                                    const ReviewProgress& progress = {});

}  // namespace prrsim::review
