#include "review/review_store.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

#include "catalog/missile_catalog.h"
#include "catalog/radar_catalog.h"
#include "missile/seeker/seeker_reception.h"
#include "scenario/runner.h"
#include "world/world.h"

namespace prrsim::review {

namespace {

constexpr float kMetresPerUnit = 100;

template <typename T>
std::vector<T>& slot(std::vector<std::vector<T>>& table, int32_t number) {
    if (static_cast<size_t>(number) > table.size()) {
        table.resize(static_cast<size_t>(number));
    }
    return table[static_cast<size_t>(number) - 1];
}

TrailPoint trailPoint(int64_t tick, double x, double y) {
    return {static_cast<int32_t>(std::min<int64_t>(tick, INT32_MAX)),
            static_cast<int16_t>(std::clamp(trunc32(x), -30000, 30000)),
            static_cast<int16_t>(std::clamp(trunc32(y), -30000, 30000))};
}

// The run was given up: unwinds the batch runner, whose world is the review's own.
struct GivenUp {};

// The power arriving directly from the radar: its main emission, or its illumination when
// that is stronger.
float powerFrom(const Missile& m, const RadarSite& r) {
    if (r.typeIndex < 0 || r.typeIndex >= radarTypeCount()) {
        return kNoValue;
    }
    double power = directPower(programCatalogs(), m, r, Channel::Main).power;
    if (r.illuminationOn) {
        power = std::max(power, directPower(programCatalogs(), m, r, Channel::Illumination).power);
    }
    return static_cast<float>(power);
}

}  // namespace

FlightPhase flightPhaseOf(const Missile& m) {
    if (!m.launched) {
        return FlightPhase::Carried;
    }
    if (m.guidanceMode == kParachuteDescent) {
        return FlightPhase::Parachute;
    }
    if (!m.activated) {
        return FlightPhase::PowerOut;
    }
    if (m.guidanceMode == kToWaitingPoint) {
        return FlightPhase::ToWaitingPoint;
    }
    return m.directGuidance == 0 ? FlightPhase::ClimbProfile : FlightPhase::DirectHoming;
}

void ReviewStore::drain(WorldState& world) {
    add(world, world.events.take());
}

void ReviewStore::add(const WorldState& world, std::span<const WorldEvent> taken) {
    for (const WorldEvent& e : taken) {
        if (e.kind == EventKind::Detonated) {
            detonations_.push_back(events_.size());
            if (e.missile.number > 0) {
                endFlight(world, e);
            }
        }
        events_.push_back(e);
    }
    summary_.add(taken);
}

// The point of detonation ends the missile's samples and trail.
void ReviewStore::endFlight(const WorldState& world, const WorldEvent& e) {
    std::vector<MissileSample>& samples = slot(samples_, e.missile.number);
    if (!samples.empty()) {
        MissileSample s = samples.back();  // speed and phase as last sampled
        s.tick = e.tick;
        s.altitude = static_cast<float>(e.altitude) * kMetresPerUnit;
        s.groundDistance = static_cast<float>(e.distance);
        s.slantDistance = kNoValue;
        s.power = kNoValue;
        for (int32_t j = 0; j < world.radarCount; ++j) {
            if (e.radar.number > 0 && world.radars[j].number == e.radar.number) {
                s.slantDistance = static_cast<float>(std::sqrt(
                    square(e.distance) + square((e.altitude - world.radars[j].height) * 100)));
            }
        }
        samples.push_back(s);
    }
    slot(missileTrails_, e.missile.number).push_back(trailPoint(e.tick, e.x, e.y));
}

bool ReviewStore::extendTrail(std::vector<std::vector<TrailPoint>>& trails, int32_t number,
                              int64_t tick, double x, double y) {
    std::vector<TrailPoint>& trail = slot(trails, number);
    const TrailPoint p = trailPoint(tick, x, y);
    if (trail.empty() || std::abs(trail.back().x - p.x) >= kTrailStep ||
        std::abs(trail.back().y - p.y) >= kTrailStep) {
        trail.push_back(p);
        return true;
    }
    return false;
}

void ReviewStore::sample(const WorldState& world) {
    const int64_t tick = world.events.tick;
    lastSampleTick_ = tick;
    lastSample_.clear();
    radarRows_.assign(static_cast<size_t>(world.events.lastRadarNumber) + 1, -1);
    for (int32_t j = 0; j < world.radarCount; ++j) {
        const int32_t number = world.radars[j].number;
        if (number > 0 && number < static_cast<int32_t>(radarRows_.size())) {
            radarRows_[static_cast<size_t>(number)] = j;
        }
    }
    for (int32_t i = 0; i < world.aircraftCount; ++i) {
        const Aircraft& a = world.aircraft[i];
        if (a.number > 0 && extendTrail(aircraftTrails_, a.number, tick, a.x, a.y)) {
            lastSample_.push_back({Series::AircraftTrail, a.number});
        }
    }
    for (int32_t k = 0; k < world.missileCount; ++k) {
        const Missile& m = world.missiles[k];
        const int32_t number = m.review.number;
        if (number <= 0 || !(m.activated || m.launched)) {
            continue;  // nothing to plot before it is switched on, or after its power ran out
        }
        if (m.launched && extendTrail(missileTrails_, number, tick, m.x, m.y)) {
            lastSample_.push_back({Series::MissileTrail, number});
        }
        MissileSample s;
        s.tick = tick;
        s.altitude = static_cast<float>(m.altitude) * kMetresPerUnit;
        s.speed = static_cast<float>(m.speed);
        s.phase = flightPhaseOf(m);
        const int32_t target =
            m.review.lockedRadar != 0 ? m.review.lockedRadar : m.review.designatedRadar;
        const int32_t row = target > 0 && target < static_cast<int32_t>(radarRows_.size())
                                ? radarRows_[static_cast<size_t>(target)]
                                : -1;
        if (row >= 0) {
            const RadarSite& r = world.radars[row];
            const double ground = std::sqrt(square(m.x - r.x) + square(m.y - r.y));
            s.groundDistance = static_cast<float>(ground) * kMetresPerUnit;
            s.slantDistance =
                static_cast<float>(std::sqrt(square(ground) + square(m.altitude - r.height))) *
                kMetresPerUnit;
            s.power = powerFrom(m, r);
        }
        slot(samples_, number).push_back(s);
        lastSample_.push_back({Series::MissileSamples, number});
    }
}

void ReviewStore::unsampleAt(int64_t tick) {
    if (tick != lastSampleTick_) {
        return;
    }
    for (const Appended& a : lastSample_) {
        const auto n = static_cast<size_t>(a.number) - 1;
        switch (a.series) {
            case Series::MissileSamples:
                samples_[n].pop_back();
                break;
            case Series::MissileTrail:
                missileTrails_[n].pop_back();
                break;
            case Series::AircraftTrail:
                aircraftTrails_[n].pop_back();
                break;
        }
    }
    lastSample_.clear();
    lastSampleTick_ = -1;
    ++retaken_;
}

void ReviewStore::settle(const WorldState& world) {
    summaries_ = summary_.summaries(world);
    end_ = world.events.tick;
}

void ReviewStore::clear() {
    const uint64_t generation = generation_;
    *this = ReviewStore{};
    generation_ = generation + 1;
}

std::span<const MissileSample> ReviewStore::samples(int32_t missileNumber) const {
    if (missileNumber <= 0 || static_cast<size_t>(missileNumber) > samples_.size()) {
        return {};
    }
    return samples_[static_cast<size_t>(missileNumber) - 1];
}

void ReviewRecorder::onEvents(const WorldState& world, std::span<const WorldEvent> events) {
    store_.add(world, events);
}

void ReviewRecorder::onSample(const WorldState& world, int64_t tick) {
    if (sampledAt(tick)) {
        store_.sample(world);
    }
}

namespace {

// Tells the progress at every sample and gives up when it says so.
class ProgressListener final : public batch::RunListener {
  public:
    ProgressListener(const ReviewProgress& progress, int64_t total)
        : progress_(progress), total_(total) {}
    void onSample(const WorldState&, int64_t tick) override {
        if (tick % kProgressTicks == 0 && !progress_(tick, total_)) {
            throw GivenUp{};
        }
    }

  private:
    static constexpr int64_t kProgressTicks = 2000;
    const ReviewProgress& progress_;
    int64_t total_;
};

}  // namespace

std::optional<ReviewStore> reviewOf(const batch::Scenario& scenario, std::string_view source,
                                    const ReviewProgress& progress) {
    ReviewStore store;
    ReviewRecorder recorder(store);
    batch::RunOptions options(kSampleTicks);
    options.listeners.push_back(&recorder);
    std::optional<ProgressListener> told;
    if (progress) {
        options.listeners.push_back(&told.emplace(progress, scenario.ticks));
    }
    std::unique_ptr<WorldState> world = makeWorld();
    try {
        if (batch::runScenario(*world, scenario, source, options).status != batch::RunStatus::Ok) {
            return std::nullopt;
        }
    } catch (const GivenUp&) {
        return std::nullopt;
    }
    store.settle(*world);
    return store;
}

}  // namespace prrsim::review
