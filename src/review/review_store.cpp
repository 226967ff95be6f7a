#include "review/review_store.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

#include "catalog/missile_catalog.h"
#include "catalog/radar_catalog.h"
#include "missile/seeker/seeker_reception.h"

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

void extendTrail(std::vector<TrailPoint>& trail, int64_t tick, double x, double y) {
    const TrailPoint p = trailPoint(tick, x, y);
    if (trail.empty() || std::abs(trail.back().x - p.x) >= kTrailStep ||
        std::abs(trail.back().y - p.y) >= kTrailStep) {
        trail.push_back(p);
    }
}

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
    const std::span<const WorldEvent> taken = world.events.take();
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

void ReviewStore::sample(const WorldState& world) {
    const int64_t tick = world.events.tick;
    radarRows_.assign(static_cast<size_t>(world.events.lastRadarNumber) + 1, -1);
    for (int32_t j = 0; j < world.radarCount; ++j) {
        const int32_t number = world.radars[j].number;
        if (number > 0 && number < static_cast<int32_t>(radarRows_.size())) {
            radarRows_[static_cast<size_t>(number)] = j;
        }
    }
    for (int32_t i = 0; i < world.aircraftCount; ++i) {
        const Aircraft& a = world.aircraft[i];
        if (a.number > 0) {
            extendTrail(slot(aircraftTrails_, a.number), tick, a.x, a.y);
        }
    }
    for (int32_t k = 0; k < world.missileCount; ++k) {
        const Missile& m = world.missiles[k];
        const int32_t number = m.review.number;
        if (number <= 0 || !(m.activated || m.launched)) {
            continue;  // nothing to plot before it is switched on, or after its power ran out
        }
        if (m.launched) {
            extendTrail(slot(missileTrails_, number), tick, m.x, m.y);
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
    }
}

void ReviewStore::clear() {
    events_.clear();
    summary_.clear();
    detonations_.clear();
    samples_.clear();
    aircraftTrails_.clear();
    missileTrails_.clear();
    ++generation_;
}

void ReviewStore::rewindTo(WorldState& world, int64_t tick) {
    world.events.take();
    if (tick == 0) {  // the start of this scene or of another one
        clear();
        return;
    }
    const auto after = [tick](const auto& item) { return item.tick > tick; };
    events_.erase(std::remove_if(events_.begin(), events_.end(), after), events_.end());
    detonations_.clear();
    for (size_t i = 0; i < events_.size(); ++i) {
        if (events_[i].kind == EventKind::Detonated) {
            detonations_.push_back(i);
        }
    }
    summary_.clear();
    summary_.add(events_);
    for (auto& samples : samples_) {
        samples.erase(std::remove_if(samples.begin(), samples.end(), after), samples.end());
    }
    for (auto* trails : {&aircraftTrails_, &missileTrails_}) {
        for (auto& trail : *trails) {
            trail.erase(std::remove_if(trail.begin(), trail.end(), after), trail.end());
        }
    }
    ++generation_;
}

std::span<const MissileSample> ReviewStore::samples(int32_t missileNumber) const {
    if (missileNumber <= 0 || static_cast<size_t>(missileNumber) > samples_.size()) {
        return {};
    }
    return samples_[static_cast<size_t>(missileNumber) - 1];
}

}  // namespace prrsim::review
