#include "review/acmi.h"

#include <charconv>
#include <cmath>
#include <cstring>

#include "review/event_log.h"
#include "scenario/scenario.h"
#include "world/units.h"

namespace prrsim::batch {

uint64_t acmiAircraftId(int32_t number) {
    return 0x100000 + static_cast<uint64_t>(number);
}
uint64_t acmiRadarId(int32_t number) {
    return 0x200000 + static_cast<uint64_t>(number);
}
uint64_t acmiMissileId(int32_t number) {
    return 0x300000 + static_cast<uint64_t>(number);
}

namespace {

std::string hex(uint64_t id) {
    char buffer[32];
    const auto r = std::to_chars(buffer, buffer + sizeof buffer, id, 16);
    return std::string(buffer, r.ptr);
}

// The shortest text that reads back to the same double.
std::string number(double v) {
    char buffer[64];
    const auto r = std::to_chars(buffer, buffer + sizeof buffer, v);
    return std::string(buffer, r.ptr);
}

// A text value: backslashes and commas are escaped (a backslash ending a line would continue
// the value onto the next one), the separators of events and lines cannot occur.
std::string text(std::string_view s) {
    std::string out;
    for (const char c : s) {
        if (c == ',' || c == '\\') {
            out += '\\';
            out += c;
        } else if (c == '\n' || c == '\r') {
            out += ' ';
        } else if (c == '|') {
            out += '/';
        } else {
            out += c;
        }
    }
    return out;
}

// Degrees in -180..180, as the format's pitch wants them.
double signedDegrees(double a) {
    double d = std::fmod(a, 360.0);
    if (d > 180) {
        d -= 360;
    } else if (d <= -180) {
        d += 360;
    }
    return d;
}

// The map's heading (0 = +x, clockwise on the map) as a yaw from north.
double yawOf(double heading) {
    double yaw = std::fmod(heading + 90, 360.0);
    return yaw < 0 ? yaw + 360 : yaw;
}

double eastOf(double x) {
    return x * 100;
}
double northOf(double y) {
    return (kMapHeight - y) * 100;
}

std::vector<double> airTransform(double x, double y, double altitude, double pitch,
                                 double heading) {
    const double u = eastOf(x);
    const double v = northOf(y);
    const double yaw = yawOf(heading);
    return {u / kAcmiMetresPerDegree,
            v / kAcmiMetresPerDegree,
            altitude * 100,
            0,
            signedDegrees(pitch),
            yaw,
            u,
            v,
            yaw};
}

std::vector<double> groundTransform(double x, double y, double height) {
    const double u = eastOf(x);
    const double v = northOf(y);
    return {u / kAcmiMetresPerDegree, v / kAcmiMetresPerDegree, height * 100, u, v};
}

std::vector<double> aircraftTransform(const Aircraft& a) {
    return airTransform(a.x, a.y, a.altitude, a.climbAngle, a.heading);
}

std::vector<double> missileTransform(const Missile& m) {
    return airTransform(m.x, m.y, m.altitude, m.pitch, m.heading);
}

std::vector<double> radarTransform(const RadarSite& r) {
    return groundTransform(r.x, r.y, r.height);
}

bool same(double a, double b) {
    return std::memcmp(&a, &b, sizeof a) == 0;
}

// The record an event names, when it is still at that table position.
const Aircraft* aircraftOf(const WorldState& w, const ObjectRef& ref) {
    return validAircraft(w, ref.row) && aircraftAt(w, ref.row).number == ref.number
               ? &aircraftAt(w, ref.row)
               : nullptr;
}
const RadarSite* radarOf(const WorldState& w, const ObjectRef& ref) {
    return validRadar(w, ref.row) && radarAt(w, ref.row).number == ref.number ? &radarAt(w, ref.row)
                                                                              : nullptr;
}
const Missile* missileOf(const WorldState& w, const ObjectRef& ref) {
    return validMissile(w, ref.row) && missileAt(w, ref.row).review.number == ref.number
               ? &missileAt(w, ref.row)
               : nullptr;
}

}  // namespace

AcmiRecorder::AcmiRecorder(std::ostream& out, std::string_view title, std::string_view briefing)
    : out_(out) {
    out_ << "FileType=text/acmi/tacview\n"
         << "FileVersion=2.2\n"
         << "0,ReferenceTime=2000-01-01T00:00:00Z\n"
         << "0,ReferenceLongitude=0\n"
         << "0,ReferenceLatitude=0\n"
         << "0,DataSource=prrsim\n"
         << "0,Title=" << text(title) << '\n';
    if (!briefing.empty()) {
        out_ << "0,Briefing=" << text(briefing) << '\n';
    }
}

void AcmiRecorder::at(int64_t tick) {
    tick_ = tick;
}

void AcmiRecorder::line(const std::string& content) {
    if (written_ != tick_) {
        out_ << '#' << number(static_cast<double>(tick_) / 100) << '\n';
        written_ = tick_;
    }
    out_ << content << '\n';
}

void AcmiRecorder::place(uint64_t id, const std::vector<double>& transform,
                         const std::string& properties) {
    Shown& s = shown_[id];
    const bool fresh = s.transform.size() != transform.size();
    std::string t;
    bool changed = false;
    for (size_t i = 0; i < transform.size(); ++i) {
        if (i > 0) {
            t += '|';
        }
        if (fresh || !same(s.transform[i], transform[i])) {
            t += number(transform[i]);
            changed = true;
        }
    }
    s.transform = transform;
    if (changed || !properties.empty()) {
        line(hex(id) + (changed ? ",T=" + t : std::string()) + properties);
    }
}

void AcmiRecorder::remove(uint64_t id, std::string_view event, const std::string& content) {
    if (!shown(id)) {
        return;
    }
    line("0,Event=" + std::string(event) + "|" + hex(id) + "|" + text(content));
    line("-" + hex(id));
    shown_.erase(id);
}

void AcmiRecorder::message(const WorldEvent& e, const std::string& content) {
    std::string ids;
    const auto add = [&](uint64_t id) {
        if (shown(id)) {
            ids += hex(id) + "|";
        }
    };
    add(acmiMissileId(e.missile.number));
    add(acmiAircraftId(e.aircraft.number));
    add(acmiRadarId(e.radar.number));
    add(acmiRadarId(e.secondRadar.number));
    line("0,Event=Message|" + ids + text(content));
}

void AcmiRecorder::sampleRadarMode(uint64_t id, bool radiating) {
    Shown& s = shown_[id];
    if (s.radarMode != (radiating ? 1 : 0)) {
        s.radarMode = radiating ? 1 : 0;
        line(hex(id) + ",RadarMode=" + std::to_string(s.radarMode));
    }
}

void AcmiRecorder::event(const WorldState& world, const WorldEvent& e) {
    const std::string description = describeEvent(e);
    const uint64_t missile = acmiMissileId(e.missile.number);
    switch (e.kind) {
        case EventKind::AircraftAdded: {
            const Aircraft* a = aircraftOf(world, e.aircraft);
            place(acmiAircraftId(e.aircraft.number),
                  a != nullptr ? aircraftTransform(*a) : airTransform(e.x, e.y, e.altitude, 0, 0),
                  ",Type=Air+FixedWing,Name=Самолёт,CallSign=Самолёт №" +
                      std::to_string(e.aircraft.number) + ",Coalition=Ударная группа,Color=Blue");
            return;
        }
        case EventKind::RadarAdded: {
            const RadarSite* r = radarOf(world, e.radar);
            const uint64_t id = acmiRadarId(e.radar.number);
            place(id, r != nullptr ? radarTransform(*r) : groundTransform(e.x, e.y, 0),
                  ",Type=Ground+Static+AntiAircraft,Name=" + text(radarTypeName(e.radar.type)) +
                      ",CallSign=РЛС №" + std::to_string(e.radar.number) +
                      ",Coalition=ПВО,Color=Red");
            sampleRadarMode(id, r != nullptr && r->radiating);
            return;
        }
        case EventKind::RadarPlaced: {
            const RadarSite* r = radarOf(world, e.radar);
            place(acmiRadarId(e.radar.number),
                  groundTransform(e.x, e.y, r != nullptr ? r->height : 0), {});
            return;
        }
        case EventKind::AircraftRemoved:
            remove(acmiAircraftId(e.aircraft.number), "LeftArea", description);
            return;
        case EventKind::RadarRemoved:
            remove(acmiRadarId(e.radar.number), "LeftArea", description);
            return;
        case EventKind::MissileRemoved:
            remove(missile, "LeftArea", description);
            return;
        case EventKind::Launched: {
            const Missile* m = missileOf(world, e.missile);
            std::string properties =
                ",Type=Weapon+Missile,Name=" + text(missileTypeName(e.missile.type)) +
                ",CallSign=Ракета №" + std::to_string(e.missile.number) +
                ",Coalition=Ударная группа,Color=Blue";
            if (m != nullptr) {
                properties += ",Label=" + text(launchModeName(m->typeIndex, m->launchModeIndex));
            }
            if (shown(acmiAircraftId(e.aircraft.number))) {
                properties += ",Parent=" + hex(acmiAircraftId(e.aircraft.number));
            }
            if (m != nullptr && m->review.lockedRadar != 0 && m->locked) {
                properties +=
                    ",LockedTargetMode=1,LockedTarget=" + hex(acmiRadarId(m->review.lockedRadar));
            }
            place(missile,
                  m != nullptr ? missileTransform(*m) : airTransform(e.x, e.y, e.altitude, 0, 0),
                  properties);
            message(e, description);
            return;
        }
        case EventKind::Detonated:
            if (shown(missile)) {
                std::vector<double> t = shown_[missile].transform;
                const std::vector<double> end = airTransform(e.x, e.y, e.altitude, 0, 0);
                for (const size_t i : {0, 1, 2, 6, 7}) {
                    t[i] = end[i];  // the point of detonation, the attitude kept
                }
                place(missile, t, {});
            }
            remove(missile, "Destroyed", description);
            return;
        case EventKind::Locked:
        case EventKind::Relocked:
        case EventKind::SeekerTargetSwitched:
            if (shown(missile) && e.radar.present()) {
                line(hex(missile) +
                     ",LockedTargetMode=1,LockedTarget=" + hex(acmiRadarId(e.radar.number)));
            }
            break;
        case EventKind::LockLost:
            if (shown(missile)) {
                line(hex(missile) + ",LockedTargetMode=0");
            }
            break;
        case EventKind::ParachuteOpened:
            if (shown(missile)) {
                line(hex(missile) + ",Parachute=1");
            }
            break;
        default:
            break;
    }
    message(e, description);
}

void AcmiRecorder::onEvents(const WorldState& world, std::span<const WorldEvent> events) {
    for (const WorldEvent& e : events) {
        at(e.tick);
        event(world, e);
    }
}

void AcmiRecorder::onSample(const WorldState& world, int64_t tick) {
    at(tick);
    for (int32_t i = 0; i < world.aircraftCount; ++i) {
        const Aircraft& a = aircraftAt(world, i);
        if (shown(acmiAircraftId(a.number))) {
            place(acmiAircraftId(a.number), aircraftTransform(a), {});
        }
    }
    for (int32_t j = 0; j < world.radarCount; ++j) {
        const RadarSite& r = radarAt(world, j);
        if (shown(acmiRadarId(r.number))) {
            place(acmiRadarId(r.number), radarTransform(r), {});
            sampleRadarMode(acmiRadarId(r.number), r.radiating);
        }
    }
    for (int32_t k = 0; k < world.missileCount; ++k) {
        const Missile& m = missileAt(world, k);
        if (shown(acmiMissileId(m.review.number))) {
            place(acmiMissileId(m.review.number), missileTransform(m), {});
        }
    }
}

}  // namespace prrsim::batch
