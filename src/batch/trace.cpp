#include "batch/trace.h"

#include <algorithm>
#include <charconv>
#include <cmath>

#include "batch/json_writer.h"
#include "catalog/missile_catalog.h"

namespace prrsim::batch {

void measureMiss(const WorldState& world, ImpactRecord& impact) {
    impact.nearestRadar = -1;
    impact.missDistance.reset();
    double best = 0;
    for (int32_t j = 0; j < world.radarCount; ++j) {
        const RadarSite& r = radarAt(world, j);
        const double d = std::sqrt(square(r.x - impact.x) + square(r.y - impact.y));
        if (impact.nearestRadar < 0 || d < best) {
            impact.nearestRadar = j;
            best = d;
        }
    }
    if (impact.nearestRadar >= 0) {
        impact.missDistance = best * 100;  // one map unit is 100 m
    }
}

void appendReal(std::string& out, double v) {
    if (!std::isfinite(v)) {
        out += "null";
        return;
    }
    if (v == 0 && std::signbit(v)) {
        out += "-0.0";  // "-0" would read back as the integer 0 in many JSON readers
        return;
    }
    char buffer[32];
    const auto result =
        std::to_chars(buffer, buffer + sizeof buffer, v, std::chars_format::general, 17);
    out.append(buffer, result.ptr);
}

void appendString(std::string& out, std::string_view s) {
    out += '"';
    for (const char c : s) {
        const auto u = static_cast<unsigned char>(c);
        if (c == '"' || c == '\\') {
            out += '\\';
            out += c;
        } else if (u < 0x20) {
            static constexpr char hex[] = "0123456789abcdef";
            out += "\\u00";
            out += hex[u >> 4];
            out += hex[u & 0xf];
        } else {
            out += c;  // UTF-8 passes through
        }
    }
    out += '"';
}

namespace {

void appendAircraft(std::string& out, const Aircraft& a) {
    ObjectWriter(out)
        .integer("id", a.id)
        .integer("targetRadar", a.targetRadar)
        .boolean("onAttackRun", a.onAttackRun)
        .real("heading", a.heading)
        .real("climbAngle", a.climbAngle)
        .real("speed", a.speed)
        .real("x", a.x)
        .real("y", a.y)
        .real("altitude", a.altitude)
        .close();
}

void appendRadar(std::string& out, const RadarSite& r) {
    const int32_t tracks = std::clamp(r.trackCount, 0, kTrackListCapacity);
    ObjectWriter(out)
        .integer("index", r.index)
        .integer("typeIndex", r.typeIndex)
        .integer("placedComplex", r.placedComplex)
        .boolean("emissionOn", r.emissionOn)
        .boolean("rotationOn", r.rotationOn)
        .boolean("radiating", r.radiating)
        .integer("scanCount", r.scanCount)
        .integer("currentTarget", r.currentTarget)
        .integer("trackCount", r.trackCount)
        .integers("trackList", std::span<const int32_t>(r.trackList.data(), tracks))
        .integer("trackCursor", r.trackCursor)
        .boolean("illuminationOn", r.illuminationOn)
        .boolean("captureActive", r.captureActive)
        .integer("antennaDirection", r.antennaDirection)
        .integer("blinkPeriod", r.blinkPeriod)
        .integer("scanMethod", r.scanMethod)
        .real("dwellTime", r.dwellTime)
        .integer("scanDirection", r.scanDirection)
        .boolean("inSector", r.inSector)
        .real("azimuth", r.azimuth)
        .real("elevation", r.elevation)
        .integer("frequencyPercent", r.frequencyPercent)
        .real("frequency", r.frequency)
        .integer("prfMode", r.prfMode)
        .integer("x", r.x)
        .integer("y", r.y)
        .integer("height", r.height)
        .close();
}

// Every scalar field of the record by its name; the 8-bit flags and states as integers.
void appendMissile(std::string& out, const Missile& m) {
    ObjectWriter(out)
        .integer("index", m.index)
        .integer("typeIndex", m.typeIndex)
        .integer("launchModeIndex", m.launchModeIndex)
        .integer("directGuidance", m.directGuidance)
        .integer("guidanceMode", m.guidanceMode)
        .integer("loiterUsed", m.loiterUsed)
        .integer("targetPositionState", m.targetPositionState)
        .integer("searchEnabled", m.searchEnabled)
        .integer("seekerOnDistance", m.seekerOnDistance)
        .integer("launched", m.launched)
        .integer("carrier", m.carrier)
        .integer("activated", m.activated)
        .integer("capturing", m.capturing)
        .integer("locked", m.locked)
        .integer("lockLost", m.lockLost)
        .real("headAzimuth", m.headAzimuth)
        .real("headElevation", m.headElevation)
        .real("signalTime", m.signalTime)
        .real("lossTime", m.lossTime)
        .real("paramsAge", m.paramsAge)
        .real("frequencyAge", m.frequencyAge)
        .real("scanTimer", m.scanTimer)
        .integer("signalPresent", m.signalPresent)
        .integer("signalParamsKnown", m.signalParamsKnown)
        .integer("emissionKindKnown", m.emissionKindKnown)
        .integer("radarTypeIdentified", m.radarTypeIdentified)
        .integer("frequencyKnown", m.frequencyKnown)
        .integer("prf", m.prf)
        .integer("frequencyChannel", m.frequencyChannel)
        .real("pulseWidth", m.pulseWidth)
        .integer("targetRadarId", m.targetRadarId)
        .integer("pulsed", m.pulsed)
        .integer("trackedRadarId", m.trackedRadarId)
        .integer("targetRadarType", m.targetRadarType)
        .integer("emitterCount", m.emitterCount)
        .integer("targetListCount", m.targetListCount)
        .real("bearingToTarget", m.bearingToTarget)
        .real("elevationToTarget", m.elevationToTarget)
        .integer("targetX", m.targetX)
        .integer("targetY", m.targetY)
        .integer("targetAltitude", m.targetAltitude)
        .real("rangeFlown", m.rangeFlown)
        .integer("thrust", m.thrust)
        .real("flightTime", m.flightTime)
        .real("powerTime", m.powerTime)
        .real("mass", m.mass)
        .real("speed", m.speed)
        .real("heading", m.heading)
        .real("pitch", m.pitch)
        .real("turnCommand", m.turnCommand)
        .real("climbCommand", m.climbCommand)
        .real("x", m.x)
        .real("y", m.y)
        .real("altitude", m.altitude)
        .real("insX", m.insX)
        .real("insY", m.insY)
        .real("insAltitude", m.insAltitude)
        .real("horizontalStep", m.horizontalStep)
        .real("verticalStep", m.verticalStep)
        .integer("receivedRadarCount", m.receivedRadarCount)
        .integer("receivedReflectionCount", m.receivedReflectionCount)
        .close();
}

template <typename Record, typename Append>
void appendTable(std::string& out, const Record* records, int32_t count, Append append) {
    out += '[';
    for (int32_t i = 0; i < count; ++i) {
        if (i > 0) {
            out += ',';
        }
        append(out, records[i]);
    }
    out += ']';
}

std::string_view missileTypeName(int32_t typeIndex) {
    if (typeIndex < 0 || typeIndex >= missileTypeCount()) {
        return "";
    }
    return missileType(typeIndex).name;
}

}  // namespace

std::string traceLine(const WorldState& world, int64_t tick,
                      std::span<const ImpactRecord> impacts) {
    std::string out;
    out.reserve(1024 + 600 * static_cast<size_t>(world.radarCount + world.missileCount * 3));
    ObjectWriter line(out);
    line.integer("tick", tick);
    line.key("aircraft");
    appendTable(out, world.aircraft.data(), world.aircraftCount, appendAircraft);
    line.key("radars");
    appendTable(out, world.radars.data(), world.radarCount, appendRadar);
    line.key("missiles");
    appendTable(out, world.missiles.data(), world.missileCount, appendMissile);
    line.key("impacts");
    appendTable(out, impacts.data(), static_cast<int32_t>(impacts.size()),
                [](std::string& o, const ImpactRecord& i) {
                    ObjectWriter(o)
                        .integer("tick", i.tick)
                        .integer("missile", i.missile)
                        .real("x", i.x)
                        .real("y", i.y)
                        .close();
                });
    line.close();
    out += '\n';
    return out;
}

std::string summaryLine(const WorldState& world, int64_t ticks,
                        std::span<const ImpactRecord> impacts) {
    std::string out;
    ObjectWriter summary(out);
    summary.integer("ticks", ticks)
        .integer("aircraft", world.aircraftCount)
        .integer("radars", world.radarCount)
        .integer("missiles", world.missileCount);
    summary.key("impacts");
    appendTable(out, impacts.data(), static_cast<int32_t>(impacts.size()),
                [](std::string& o, const ImpactRecord& i) {
                    ObjectWriter(o)
                        .integer("tick", i.tick)
                        .integer("missile", i.missile)
                        .string("type", missileTypeName(i.typeIndex))
                        .real("x", i.x)
                        .real("y", i.y)
                        .integer("nearestRadar", i.nearestRadar)
                        .optionalReal("missDistance", i.missDistance)
                        .close();
                });
    summary.close();
    out += '\n';
    return out;
}

}  // namespace prrsim::batch
