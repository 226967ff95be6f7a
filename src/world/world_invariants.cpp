#include "world/world_invariants.h"

#include <cmath>
#include <initializer_list>
#include <string>
#include <string_view>

#include "catalog/missile_catalog.h"
#include "catalog/radar_catalog.h"
#include "world/record_fields.h"
#include "world/units.h"

namespace prrsim {

namespace {

std::string at(std::string_view table, int32_t i, std::string_view what) {
    return std::string(table) + "[" + std::to_string(i) + "]: " + std::string(what);
}

std::string countProblem(std::string_view name, int32_t count, int32_t capacity) {
    if (count < 0 || count > capacity) {
        return std::string(name) + " " + std::to_string(count) + " outside 0.." +
               std::to_string(capacity);
    }
    return "";
}

// The first non-finite real field of a record (its sub-records and lists included), by name.
template <typename R>
std::string firstNonFinite(std::string_view table, int32_t i, const R& record) {
    std::string problem;
    forEachRealField(record, [&](const char* name, const char* sub, double value) {
        if (problem.empty() && !std::isfinite(value)) {
            const std::string field = sub == nullptr ? name : std::string(name) + "." + sub;
            problem = at(table, i, field + " is not finite");
        }
    });
    return problem;
}

bool noneOrBelow(int32_t index, int32_t count) {
    return index == -1 || (index >= 0 && index < count);
}

std::string checkCounts(const WorldState& w) {
    for (const std::string& p :
         {countProblem("aircraftCount", w.aircraftCount, kAircraftCapacity),
          countProblem("radarCount", w.radarCount, kRadarCapacity),
          countProblem("placedComplexCount", w.placedComplexCount, kPlacedComplexCapacity),
          countProblem("missileCount", w.missileCount, kMissileCapacity),
          countProblem("landmarkCount", w.landmarkCount, kLandmarkCapacity)}) {
        if (!p.empty()) {
            return p;
        }
    }
    return "";
}

std::string checkAircraft(const WorldState& w) {
    for (int32_t i = 0; i < w.aircraftCount; ++i) {
        const Aircraft& a = w.aircraft[i];
        std::string p = firstNonFinite("aircraft", i, a);
        if (!p.empty()) {
            return p;
        }
        if (!noneOrBelow(a.targetRadar, w.radarCount)) {
            return at("aircraft", i,
                      "targetRadar " + std::to_string(a.targetRadar) + " is no radar");
        }
    }
    return "";
}

// A reaction's settings within their ranges and its state one the threat step can reach.
std::string checkReaction(const RadarSite& r) {
    if (r.reactionKind < 0 || r.reactionKind >= kReactionKindCount) {
        return "reactionKind " + std::to_string(r.reactionKind) + " is no reaction";
    }
    if (r.reactionPhase < kReactionIdle || r.reactionPhase > kReactionHolding) {
        return "reactionPhase " + std::to_string(r.reactionPhase) + " is no phase";
    }
    if (r.reactionKind == kReactionNone) {
        return r.reactionPhase == kReactionIdle && !r.reactionApplied
                   ? ""
                   : "a reaction of kind none is under way";
    }
    if (r.reactionWarnKm < kReactionWarnKmMin || r.reactionWarnKm > kReactionWarnKmMax ||
        r.reactionHoldSeconds < 0 || r.reactionHoldSeconds > kReactionHoldSecondsMax) {
        return "reaction warnKm " + std::to_string(r.reactionWarnKm) + " or holdSeconds " +
               std::to_string(r.reactionHoldSeconds) + " out of range";
    }
    const auto holdTicks = std::lround(r.reactionHoldSeconds / kTickSeconds);
    if (r.reactionHoldLeft < 0 || r.reactionHoldLeft > holdTicks) {
        return "reactionHoldLeft " + std::to_string(r.reactionHoldLeft) + " outside 0.." +
               std::to_string(holdTicks);
    }
    if (r.reactionPhase == kReactionIdle && (r.reactionApplied || r.reactionHoldLeft != 0)) {
        return "an idle reaction holds or is applied";
    }
    const bool percent = r.reactionKind == kReactionHop;
    if (percent && (r.reactionValue < 0 || r.reactionValue > kReactionPercentMax ||
                    r.reactionPrevious < 0 || r.reactionPrevious > kReactionPercentMax)) {
        return "a hop's percentages " + std::to_string(r.reactionValue) + ", " +
               std::to_string(r.reactionPrevious) + " outside 0..100";
    }
    if (r.reactionKind == kReactionBlink && r.reactionValue < 1) {
        return "a blink reaction's period " + std::to_string(r.reactionValue) + " below 1";
    }
    return "";
}

std::string checkRadar(const WorldState& w, int32_t j) {
    const RadarSite& r = w.radars[j];
    if (r.index != j) {
        return at("radars", j, "index field " + std::to_string(r.index));
    }
    if (r.typeIndex < 0 || r.typeIndex >= radarTypeCount()) {
        return at("radars", j, "typeIndex " + std::to_string(r.typeIndex) + " is no radar type");
    }
    if (!noneOrBelow(r.placedComplex, w.placedComplexCount)) {
        return at("radars", j,
                  "placedComplex " + std::to_string(r.placedComplex) + " is no placed complex");
    }
    if (r.trackCount < 0 || r.trackCount > kTrackListCapacity) {
        return at("radars", j, "trackCount " + std::to_string(r.trackCount) + " outside 0..20");
    }
    if (r.trackCursor < -1 || r.trackCursor > kTrackListCapacity) {
        return at("radars", j, "trackCursor " + std::to_string(r.trackCursor) + " outside -1..20");
    }
    if (!noneOrBelow(r.currentTarget, w.aircraftCount)) {
        return at("radars", j,
                  "currentTarget " + std::to_string(r.currentTarget) + " is no aircraft");
    }
    for (int32_t k = 0; k < r.trackCount; ++k) {
        if (!noneOrBelow(r.trackList[k], w.aircraftCount)) {
            return at("radars", j,
                      "trackList[" + std::to_string(k) + "] " + std::to_string(r.trackList[k]) +
                          " is no aircraft");
        }
    }
    if (std::string p = checkReaction(r); !p.empty()) {
        return at("radars", j, p);
    }
    return firstNonFinite("radars", j, r);
}

std::string checkRadars(const WorldState& w) {
    for (int32_t j = 0; j < w.radarCount; ++j) {
        std::string p = checkRadar(w, j);
        if (!p.empty()) {
            return p;
        }
    }
    for (int32_t c = 0; c < w.placedComplexCount; ++c) {
        const PlacedComplex& pc = w.placedComplexes[c];
        if (pc.memberCount < 0 || pc.memberCount > kComplexMemberCapacity) {
            return at("placedComplexes", c,
                      "memberCount " + std::to_string(pc.memberCount) + " outside 0..3");
        }
        if (pc.complexIndex < 0 || pc.complexIndex >= samComplexCount()) {
            return at("placedComplexes", c,
                      "complexIndex " + std::to_string(pc.complexIndex) + " is no SAM complex");
        }
        for (int32_t k = 0; k < pc.memberCount; ++k) {
            if (pc.members[k] < 0 || pc.members[k] >= w.radarCount) {
                return at("placedComplexes", c,
                          "members[" + std::to_string(k) + "] " + std::to_string(pc.members[k]) +
                              " is no radar");
            }
        }
    }
    return "";
}

std::string listCountProblem(int32_t m, std::string_view name, int32_t count, int32_t capacity) {
    const std::string p = countProblem(name, count, capacity);
    return p.empty() ? p : at("missiles", m, p);
}

// The seeker's radar references name radars in the table (its designated radar id starts at 0
// before any radar is designated, so only the followed one is checked).
std::string checkMissileRadars(const WorldState& w, const Missile& s, int32_t m) {
    if (!noneOrBelow(s.trackedRadarId, w.radarCount)) {
        return at("missiles", m,
                  "trackedRadarId " + std::to_string(s.trackedRadarId) + " is no radar");
    }
    for (int32_t k = 0; k < s.receivedRadarCount; ++k) {
        if (s.receivedRadars[k] < 0 || s.receivedRadars[k] >= w.radarCount) {
            return at("missiles", m,
                      "receivedRadars[" + std::to_string(k) + "] " +
                          std::to_string(s.receivedRadars[k]) + " is no radar");
        }
    }
    for (int32_t e = 0; e < s.emitterCount; ++e) {
        if (s.emitters[e].radar < 0 || s.emitters[e].radar >= w.radarCount) {
            return at("missiles", m,
                      "emitters[" + std::to_string(e) + "].radar " +
                          std::to_string(s.emitters[e].radar) + " is no radar");
        }
    }
    return "";
}

std::string checkMissileLists(const Missile& s, int32_t m) {
    for (const std::string& p :
         {listCountProblem(m, "emitterCount", s.emitterCount, kEmitterCapacity),
          listCountProblem(m, "targetListCount", s.targetListCount, kTargetListCapacity),
          listCountProblem(m, "acceptedTypeCount", s.acceptedTypeCount, kAcceptedTypeCapacity),
          listCountProblem(m, "receivedRadarCount", s.receivedRadarCount, kReceivedCapacity),
          listCountProblem(m, "receivedReflectionCount", s.receivedReflectionCount,
                           kReceivedCapacity)}) {
        if (!p.empty()) {
            return p;
        }
    }
    return "";
}

std::string checkMissile(const WorldState& w, int32_t m) {
    const Missile& s = w.missiles[m];
    if (s.index != m) {
        return at("missiles", m, "index field " + std::to_string(s.index));
    }
    if (s.typeIndex < 0 || s.typeIndex >= missileTypeCount()) {
        return at("missiles", m, "typeIndex " + std::to_string(s.typeIndex) + " is no type");
    }
    if (s.launchModeIndex < 0 || s.launchModeIndex >= missileType(s.typeIndex).launchModeCount) {
        return at("missiles", m,
                  "launchModeIndex " + std::to_string(s.launchModeIndex) + " is no launch mode");
    }
    if (!noneOrBelow(s.carrier, w.aircraftCount)) {
        return at("missiles", m, "carrier " + std::to_string(s.carrier) + " is no aircraft");
    }
    std::string p = checkMissileLists(s, m);
    if (p.empty()) {
        p = checkMissileRadars(w, s, m);
    }
    if (!p.empty()) {
        return p;
    }
    return firstNonFinite("missiles", m, s);
}

std::string checkMissiles(const WorldState& w) {
    for (int32_t m = 0; m < w.missileCount; ++m) {
        std::string p = checkMissile(w, m);
        if (!p.empty()) {
            return p;
        }
    }
    return "";
}

}  // namespace

std::string checkWorldInvariants(const WorldState& world) {
    // Counts first: every later check walks the tables by them.
    std::string p = checkCounts(world);
    if (p.empty()) {
        p = checkAircraft(world);
    }
    if (p.empty()) {
        p = checkRadars(world);
    }
    if (p.empty()) {
        p = checkMissiles(world);
    }
    return p;
}

}  // namespace prrsim
