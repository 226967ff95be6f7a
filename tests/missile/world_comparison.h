#pragma once

// Field-by-field, bit-for-bit comparison of two worlds for the seeker exactness tests.

#include <array>
#include <cstring>
#include <iomanip>
#include <sstream>
#include <string>
#include <type_traits>
#include <vector>

#include "world/world_state.h"

namespace prrsim::testing {

// Collects the fields that differ. The place of a field (table, slot, sub-record, entry) is
// kept as numbers and spelled out only for a difference.
class Comparison {
  public:
    struct Place {
        const char* table = "world";
        int32_t slot = -1;
        const char* sub = nullptr;
        int32_t entry = -1;
    };
    Place place;

    template <typename T>
    void field(const char* name, const T& a, const T& b) {
        static_assert(std::is_arithmetic_v<T> || std::is_enum_v<T>);
        if (std::memcmp(&a, &b, sizeof(T)) != 0 && differences_.size() < 20) {
            std::ostringstream text;
            text << std::setprecision(17) << where() << name << ": " << +a << " vs " << +b;
            differences_.push_back(text.str());
        }
    }
    template <typename T, size_t N>
    void field(const char* name, const std::array<T, N>& a, const std::array<T, N>& b) {
        for (size_t i = 0; i < N; ++i) {
            if (std::memcmp(&a[i], &b[i], sizeof(T)) != 0) {
                field((std::string(name) + "[" + std::to_string(i) + "]").c_str(), a[i], b[i]);
            }
        }
    }
    void note(const std::string& what) { differences_.push_back(what); }
    bool same() const { return differences_.empty(); }
    std::string report() const {
        std::string all;
        for (const std::string& d : differences_) {
            all += d + "\n";
        }
        return all;
    }

  private:
    std::string where() const {
        std::string text = place.table;
        if (place.slot >= 0) {
            text += "[" + std::to_string(place.slot) + "]";
        }
        if (place.sub != nullptr) {
            text += std::string(".") + place.sub + "[" + std::to_string(place.entry) + "]";
        }
        return text + ".";
    }
    std::vector<std::string> differences_;
};

#define FIELD(f) cmp.field(#f, a.f, b.f)

// A new field in a record must be added to its comparison below.
static_assert(sizeof(Aircraft) == 64);
static_assert(sizeof(RadarSite) == 200);
static_assert(sizeof(PlacedComplex) == 20);
static_assert(sizeof(ReceivedEmitter) == 88);
static_assert(sizeof(TargetListEntry) == 20);
static_assert(sizeof(Missile) == 5560);
static_assert(sizeof(Landmark) == 24);

inline void compare(Comparison& cmp, const Aircraft& a, const Aircraft& b) {
    FIELD(id), FIELD(targetRadar), FIELD(onAttackRun), FIELD(heading), FIELD(climbAngle);
    FIELD(speed), FIELD(x), FIELD(y), FIELD(altitude);
}

inline void compare(Comparison& cmp, const RadarSite& a, const RadarSite& b) {
    FIELD(index), FIELD(typeIndex), FIELD(placedComplex), FIELD(emissionOn), FIELD(rotationOn);
    FIELD(radiating), FIELD(scanCount), FIELD(currentTarget), FIELD(trackCount), FIELD(trackList);
    FIELD(trackCursor), FIELD(illuminationOn), FIELD(captureActive), FIELD(antennaDirection);
    FIELD(rotationRateIndex), FIELD(blinkPeriod), FIELD(prfWobble), FIELD(scanMethod);
    FIELD(dwellTime), FIELD(scanDirection), FIELD(inSector), FIELD(azimuth), FIELD(elevation);
    FIELD(frequencyPercent), FIELD(frequency), FIELD(prfMode), FIELD(x), FIELD(y), FIELD(height);
}

inline void compare(Comparison& cmp, const PlacedComplex& a, const PlacedComplex& b) {
    FIELD(memberCount), FIELD(members), FIELD(complexIndex);
}

inline void compare(Comparison& cmp, const ReceivedEmitter& a, const ReceivedEmitter& b) {
    FIELD(x), FIELD(y), FIELD(height), FIELD(emissionMode.prf), FIELD(emissionMode.pulseWidth);
    FIELD(emissionMode.pulsed), FIELD(emissionMode.compression), FIELD(emissionMode.wobble);
    FIELD(receivedPower), FIELD(typeIndex), FIELD(priority), FIELD(assignedEntry);
    FIELD(horizontalRange), FIELD(radar), FIELD(isIllumination);
}

inline void compare(Comparison& cmp, const TargetListEntry& a, const TargetListEntry& b) {
    FIELD(x), FIELD(y), FIELD(captureRadius), FIELD(priority), FIELD(assignedEmitter);
}

inline void compare(Comparison& cmp, const Missile& a, const Missile& b) {
    FIELD(index), FIELD(typeIndex), FIELD(launchModeIndex), FIELD(directGuidance);
    FIELD(guidanceMode), FIELD(loiterUsed), FIELD(targetPositionState), FIELD(searchEnabled);
    FIELD(seekerOnDistance), FIELD(launched), FIELD(carrier), FIELD(activated), FIELD(capturing);
    FIELD(locked), FIELD(lockLost), FIELD(headAzimuth), FIELD(headElevation), FIELD(signalTime);
    FIELD(lossTime), FIELD(paramsAge), FIELD(frequencyAge), FIELD(scanTimer);
    FIELD(signalPresent), FIELD(signalParamsKnown), FIELD(emissionKindKnown);
    FIELD(radarTypeIdentified), FIELD(frequencyKnown), FIELD(prf), FIELD(frequencyChannel);
    FIELD(pulseWidth), FIELD(targetRadarId), FIELD(pulsed), FIELD(trackedRadarId);
    FIELD(targetRadarType), FIELD(emitterCount);
    for (int32_t i = 0; i < kEmitterCapacity; ++i) {
        cmp.place.sub = "emitters";
        cmp.place.entry = i;
        compare(cmp, a.emitters[i], b.emitters[i]);
    }
    FIELD(targetListCount);
    for (int32_t i = 0; i < kTargetListCapacity; ++i) {
        cmp.place.sub = "targetList";
        cmp.place.entry = i;
        compare(cmp, a.targetList[i], b.targetList[i]);
    }
    cmp.place.sub = nullptr;
    FIELD(bearingToTarget), FIELD(elevationToTarget), FIELD(targetX), FIELD(targetY);
    FIELD(targetAltitude), FIELD(rangeFlown), FIELD(thrust), FIELD(flightTime), FIELD(powerTime);
    FIELD(mass), FIELD(speed), FIELD(heading), FIELD(pitch), FIELD(turnCommand);
    FIELD(climbCommand), FIELD(x), FIELD(y), FIELD(altitude), FIELD(insX), FIELD(insY);
    FIELD(insAltitude), FIELD(horizontalStep), FIELD(verticalStep), FIELD(acceptedTypeCount);
    FIELD(acceptedTypes), FIELD(receivedRadars), FIELD(receivedRadarCount);
    FIELD(receivedReflectionCount), FIELD(receivedReflections);
}

inline void compare(Comparison& cmp, const Landmark& a, const Landmark& b) {
    FIELD(size), FIELD(x), FIELD(y), FIELD(height);
}

template <typename T, size_t N>
inline void compareTable(Comparison& cmp, const char* table, const std::array<T, N>& a,
                         const std::array<T, N>& b) {
    for (size_t i = 0; i < N; ++i) {
        cmp.place = Comparison::Place{table, static_cast<int32_t>(i)};
        compare(cmp, a[i], b[i]);
    }
    cmp.place = Comparison::Place{};
}

// Every record of the two worlds, every slot of every table (vacated slots included), the
// counts and the generator: what the simulation carries from tick to tick.
inline Comparison compareRecords(const WorldState& a, const WorldState& b) {
    Comparison cmp;
    compareTable(cmp, "aircraft", a.aircraft, b.aircraft);
    compareTable(cmp, "radars", a.radars, b.radars);
    compareTable(cmp, "placedComplexes", a.placedComplexes, b.placedComplexes);
    compareTable(cmp, "missiles", a.missiles, b.missiles);
    compareTable(cmp, "landmarks", a.landmarks, b.landmarks);
    FIELD(aircraftCount), FIELD(radarCount), FIELD(placedComplexCount), FIELD(missileCount);
    FIELD(landmarkCount);
    if (!(a.random == b.random)) {
        cmp.note("world.random differs");
    }
    return cmp;
}

// The records and, besides, what belongs to the windows: the selection, the modes, the
// cursors.
inline Comparison compareWorlds(const WorldState& a, const WorldState& b) {
    Comparison cmp = compareRecords(a, b);
    FIELD(selectedAircraft), FIELD(selectedRadar), FIELD(selectedMissile);
    FIELD(pickTargetMode), FIELD(moveAircraftMode), FIELD(radarPlaceMode), FIELD(captureMode);
    FIELD(mapCursor.x), FIELD(mapCursor.y), FIELD(compassCursor.x), FIELD(compassCursor.y);
    FIELD(radarCompassCursor.x), FIELD(radarCompassCursor.y);
    return cmp;
}

#undef FIELD

}  // namespace prrsim::testing
