#pragma once

// The one list of every record's fields, in record order. Whatever lists fields — the trace
// writer, the world invariants, the field-by-field world comparison of the tests — visits them
// here, so a new field is added in one place.
//
// RecordFields<R>::visit(v) calls v(use, "name", get) for each field of R, where get(record)
// returns a reference to that field of `record` (const or not). A field that is itself a record
// or an array of records has RecordFields of its own.

#include <array>
#include <cstdint>
#include <type_traits>

#include "catalog/radar_catalog.h"
#include "world/aircraft.h"
#include "world/landmark.h"
#include "world/missile.h"
#include "world/radar_site.h"

namespace prrsim {

// Where a field shows: every field is compared and checked; traced ones are also written to
// trace lines (a traced list is written up to the record's count for it; a reaction field only
// for a radar whose reaction is not none, so that the traces of scenes without reactions stay
// as they were).
enum class FieldUse : uint8_t { Traced, TracedList, TracedReaction, Internal };

template <typename R>
struct RecordFields;

template <typename T>
concept HasRecordFields = requires {
    sizeof(RecordFields<T>);
};

#define PRRSIM_FIELD(use, name) \
    v(                          \
        FieldUse::use, #name, [](auto& r) -> auto& { return r.name; })

template <>
struct RecordFields<Aircraft> {
    template <typename V>
    static void visit(V&& v) {
        PRRSIM_FIELD(Traced, id);
        PRRSIM_FIELD(Traced, targetRadar);
        PRRSIM_FIELD(Traced, onAttackRun);
        PRRSIM_FIELD(Traced, heading);
        PRRSIM_FIELD(Traced, climbAngle);
        PRRSIM_FIELD(Traced, speed);
        PRRSIM_FIELD(Traced, x);
        PRRSIM_FIELD(Traced, y);
        PRRSIM_FIELD(Traced, altitude);
        PRRSIM_FIELD(Internal, number);
    }
};

template <>
struct RecordFields<RadarSite> {
    template <typename V>
    static void visit(V&& v) {
        PRRSIM_FIELD(Traced, index);
        PRRSIM_FIELD(Traced, typeIndex);
        PRRSIM_FIELD(Traced, placedComplex);
        PRRSIM_FIELD(Traced, emissionOn);
        PRRSIM_FIELD(Traced, rotationOn);
        PRRSIM_FIELD(Traced, radiating);
        PRRSIM_FIELD(Traced, scanCount);
        PRRSIM_FIELD(Traced, currentTarget);
        PRRSIM_FIELD(Traced, trackCount);
        PRRSIM_FIELD(TracedList, trackList);  // up to trackCount
        PRRSIM_FIELD(Traced, trackCursor);
        PRRSIM_FIELD(Traced, illuminationOn);
        PRRSIM_FIELD(Traced, captureActive);
        PRRSIM_FIELD(Traced, antennaDirection);
        PRRSIM_FIELD(Internal, rotationRateIndex);
        PRRSIM_FIELD(Traced, blinkPeriod);
        PRRSIM_FIELD(Internal, prfWobble);
        PRRSIM_FIELD(Traced, scanMethod);
        PRRSIM_FIELD(Traced, dwellTime);
        PRRSIM_FIELD(Traced, scanDirection);
        PRRSIM_FIELD(Traced, inSector);
        PRRSIM_FIELD(Traced, azimuth);
        PRRSIM_FIELD(Traced, elevation);
        PRRSIM_FIELD(Traced, frequencyPercent);
        PRRSIM_FIELD(Traced, frequency);
        PRRSIM_FIELD(Traced, prfMode);
        PRRSIM_FIELD(Traced, x);
        PRRSIM_FIELD(Traced, y);
        PRRSIM_FIELD(Traced, height);
        PRRSIM_FIELD(Internal, number);
        PRRSIM_FIELD(TracedReaction, reactionKind);
        PRRSIM_FIELD(TracedReaction, reactionWarnKm);
        PRRSIM_FIELD(TracedReaction, reactionHoldSeconds);
        PRRSIM_FIELD(TracedReaction, reactionValue);
        PRRSIM_FIELD(TracedReaction, reactionPhase);
        PRRSIM_FIELD(TracedReaction, reactionHoldLeft);
        PRRSIM_FIELD(TracedReaction, reactionApplied);
        PRRSIM_FIELD(TracedReaction, reactionPrevious);
    }
};

template <>
struct RecordFields<PlacedComplex> {
    template <typename V>
    static void visit(V&& v) {
        PRRSIM_FIELD(Internal, memberCount);
        PRRSIM_FIELD(Internal, members);
        PRRSIM_FIELD(Internal, complexIndex);
    }
};

template <>
struct RecordFields<PrfMode> {
    template <typename V>
    static void visit(V&& v) {
        PRRSIM_FIELD(Internal, prf);
        PRRSIM_FIELD(Internal, pulseWidth);
        PRRSIM_FIELD(Internal, pulsed);
        PRRSIM_FIELD(Internal, compression);
        PRRSIM_FIELD(Internal, wobble);
    }
};

template <>
struct RecordFields<ReceivedEmitter> {
    template <typename V>
    static void visit(V&& v) {
        PRRSIM_FIELD(Internal, x);
        PRRSIM_FIELD(Internal, y);
        PRRSIM_FIELD(Internal, height);
        PRRSIM_FIELD(Internal, emissionMode);
        PRRSIM_FIELD(Internal, receivedPower);
        PRRSIM_FIELD(Internal, typeIndex);
        PRRSIM_FIELD(Internal, priority);
        PRRSIM_FIELD(Internal, assignedEntry);
        PRRSIM_FIELD(Internal, horizontalRange);
        PRRSIM_FIELD(Internal, radar);
        PRRSIM_FIELD(Internal, isIllumination);
    }
};

template <>
struct RecordFields<TargetListEntry> {
    template <typename V>
    static void visit(V&& v) {
        PRRSIM_FIELD(Internal, x);
        PRRSIM_FIELD(Internal, y);
        PRRSIM_FIELD(Internal, captureRadius);
        PRRSIM_FIELD(Internal, priority);
        PRRSIM_FIELD(Internal, assignedEmitter);
    }
};

template <>
struct RecordFields<MissileReview> {
    template <typename V>
    static void visit(V&& v) {
        PRRSIM_FIELD(Internal, number);
        PRRSIM_FIELD(Internal, designatedRadar);
        PRRSIM_FIELD(Internal, lockedRadar);
        PRRSIM_FIELD(Internal, candidateRadar);
        PRRSIM_FIELD(Internal, candidateSteps);
    }
};

template <>
struct RecordFields<Missile> {
    template <typename V>
    static void visit(V&& v) {
        PRRSIM_FIELD(Traced, index);
        PRRSIM_FIELD(Traced, typeIndex);
        PRRSIM_FIELD(Traced, launchModeIndex);
        PRRSIM_FIELD(Traced, directGuidance);
        PRRSIM_FIELD(Traced, guidanceMode);
        PRRSIM_FIELD(Traced, loiterUsed);
        PRRSIM_FIELD(Traced, targetPositionState);
        PRRSIM_FIELD(Traced, searchEnabled);
        PRRSIM_FIELD(Traced, seekerOnDistance);
        PRRSIM_FIELD(Traced, launched);
        PRRSIM_FIELD(Traced, carrier);
        PRRSIM_FIELD(Traced, activated);
        PRRSIM_FIELD(Traced, capturing);
        PRRSIM_FIELD(Traced, locked);
        PRRSIM_FIELD(Traced, lockLost);
        PRRSIM_FIELD(Traced, headAzimuth);
        PRRSIM_FIELD(Traced, headElevation);
        PRRSIM_FIELD(Traced, signalTime);
        PRRSIM_FIELD(Traced, lossTime);
        PRRSIM_FIELD(Traced, paramsAge);
        PRRSIM_FIELD(Traced, frequencyAge);
        PRRSIM_FIELD(Traced, scanTimer);
        PRRSIM_FIELD(Traced, signalPresent);
        PRRSIM_FIELD(Traced, signalParamsKnown);
        PRRSIM_FIELD(Traced, emissionKindKnown);
        PRRSIM_FIELD(Traced, radarTypeIdentified);
        PRRSIM_FIELD(Traced, frequencyKnown);
        PRRSIM_FIELD(Traced, prf);
        PRRSIM_FIELD(Traced, frequencyChannel);
        PRRSIM_FIELD(Traced, pulseWidth);
        PRRSIM_FIELD(Traced, targetRadarId);
        PRRSIM_FIELD(Traced, pulsed);
        PRRSIM_FIELD(Traced, trackedRadarId);
        PRRSIM_FIELD(Traced, targetRadarType);
        PRRSIM_FIELD(Traced, emitterCount);
        PRRSIM_FIELD(Internal, emitters);
        PRRSIM_FIELD(Traced, targetListCount);
        PRRSIM_FIELD(Internal, targetList);
        PRRSIM_FIELD(Traced, bearingToTarget);
        PRRSIM_FIELD(Traced, elevationToTarget);
        PRRSIM_FIELD(Traced, targetX);
        PRRSIM_FIELD(Traced, targetY);
        PRRSIM_FIELD(Traced, targetAltitude);
        PRRSIM_FIELD(Traced, rangeFlown);
        PRRSIM_FIELD(Traced, thrust);
        PRRSIM_FIELD(Traced, flightTime);
        PRRSIM_FIELD(Traced, powerTime);
        PRRSIM_FIELD(Traced, mass);
        PRRSIM_FIELD(Traced, speed);
        PRRSIM_FIELD(Traced, heading);
        PRRSIM_FIELD(Traced, pitch);
        PRRSIM_FIELD(Traced, turnCommand);
        PRRSIM_FIELD(Traced, climbCommand);
        PRRSIM_FIELD(Traced, x);
        PRRSIM_FIELD(Traced, y);
        PRRSIM_FIELD(Traced, altitude);
        PRRSIM_FIELD(Traced, insX);
        PRRSIM_FIELD(Traced, insY);
        PRRSIM_FIELD(Traced, insAltitude);
        PRRSIM_FIELD(Traced, horizontalStep);
        PRRSIM_FIELD(Traced, verticalStep);
        PRRSIM_FIELD(Internal, acceptedTypeCount);
        PRRSIM_FIELD(Internal, acceptedTypes);
        PRRSIM_FIELD(Internal, receivedRadars);
        PRRSIM_FIELD(Traced, receivedRadarCount);
        PRRSIM_FIELD(Traced, receivedReflectionCount);
        PRRSIM_FIELD(Internal, receivedReflections);
        PRRSIM_FIELD(Internal, review);
    }
};

template <>
struct RecordFields<Landmark> {
    template <typename V>
    static void visit(V&& v) {
        PRRSIM_FIELD(Internal, size);
        PRRSIM_FIELD(Internal, x);
        PRRSIM_FIELD(Internal, y);
        PRRSIM_FIELD(Internal, height);
    }
};

#undef PRRSIM_FIELD

// A new field must be added to its record's list above (and these sizes updated with it).
static_assert(sizeof(Aircraft) == 64);
static_assert(sizeof(RadarSite) == 240);
static_assert(sizeof(PlacedComplex) == 20);
static_assert(sizeof(ReceivedEmitter) == 88);
static_assert(sizeof(TargetListEntry) == 20);
static_assert(sizeof(MissileReview) == 20);
static_assert(sizeof(Missile) == 5576);
static_assert(sizeof(Landmark) == 24);

// Calls f(field, subField, value) for every real (double) field of `record`: `subField` is null
// for a field of the record itself and names the field within a sub-record or list entry.
template <typename R, typename F>
void forEachRealField(const R& record, F&& f) {
    RecordFields<R>::visit([&](FieldUse, const char* name, auto get) {
        const auto& value = get(record);
        using T = std::remove_cvref_t<decltype(value)>;
        const auto inner = [&](const char* sub, const char*, double x) { f(name, sub, x); };
        if constexpr (std::is_same_v<T, double>) {
            f(name, nullptr, value);
        } else if constexpr (HasRecordFields<T>) {
            forEachRealField(value, inner);
        } else if constexpr (requires {
                                 value.size();
                                 value[0];
                             }) {
            using E = std::remove_cvref_t<decltype(value[0])>;
            for (const auto& element : value) {
                if constexpr (std::is_same_v<E, double>) {
                    f(name, nullptr, element);
                } else if constexpr (HasRecordFields<E>) {
                    forEachRealField(element, inner);
                }
            }
        }
    });
}

}  // namespace prrsim
