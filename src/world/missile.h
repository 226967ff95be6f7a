#pragma once

#include <array>
#include <cstdint>

#include "catalog/radar_catalog.h"

namespace prrsim {

// Trajectory state of a launched missile.
enum GuidanceMode : uint8_t {
    kToWaitingPoint = 0,
    kParachuteDescent = 1,
    kHoming = 2,
};

// Where the target data come from.
enum TargetPositionState : uint8_t {
    kTargetFromSeeker = 0,   // "ЕСТЬ"
    kTargetInertial = 1,     // "ИНЕРЦИАЛЬНОЕ"
    kTargetNone = 2,         // "НЕТ"
    kTargetNotAcquired = 3,  // empty text
};

// One radar channel heard by the last automatic search.
struct ReceivedEmitter {
    int32_t x = 0;
    int32_t y = 0;
    int32_t height = 0;
    PrfMode emissionMode{};  // the channel's emission (a copy of the catalogue entry)
    double receivedPower = 0;
    int32_t typeIndex = 0;
    int32_t priority = 0;
    int32_t assignedEntry = -1;
    int32_t horizontalRange = 0;
    int32_t radar = -1;  // radar table position at the search
    uint8_t isIllumination = 0;
};

// One stored radar position of a missile's target list.
struct TargetListEntry {
    int32_t x = 0;
    int32_t y = 0;
    int32_t captureRadius = 0;
    int32_t priority = 0;
    int32_t assignedEmitter = -1;
};

// The search caps the heard channels at maxEmitters (at most 10), tested once per radar, so a
// radar's second channel can take it one above the cap.
inline constexpr int32_t kEmitterCapacity = 12;
inline constexpr int32_t kTargetListCapacity = 200;  // one entry per radar on the map
inline constexpr int32_t kAcceptedTypeCapacity = 20;
inline constexpr int32_t kReceivedCapacity = 10;

// What the event log keeps about a missile besides its flight: it never steers the missile.
struct MissileReview {
    int32_t number = 0;           // 1, 2, ... in order of loading; stays with the record
    int32_t designatedRadar = 0;  // number of the radar the crew designated, 0 none
    int32_t lockedRadar = 0;      // number of the radar the seeker locked on or moved to, 0 none
    int32_t candidateRadar = 0;   // another radar the locked seeker has been following ...
    int32_t candidateSteps = 0;   // ... for this many steps in a row
};

struct Missile {
    int32_t index = 0;
    int32_t typeIndex = 0;
    int32_t launchModeIndex = 0;
    uint8_t directGuidance = 0;
    uint8_t guidanceMode = 0;
    uint8_t loiterUsed = 0;
    uint8_t targetPositionState = kTargetNotAcquired;
    uint8_t searchEnabled = 0;
    int32_t seekerOnDistance = 0;
    uint8_t launched = 0;
    int32_t carrier = -1;  // position of the carrier in the aircraft table
    uint8_t activated = 0;
    uint8_t capturing = 0;
    uint8_t locked = 0;
    uint8_t lockLost = 0;
    double headAzimuth = 0;
    double headElevation = 0;
    double signalTime = 0;
    double lossTime = 0;
    double paramsAge = 0;
    double frequencyAge = 0;
    double scanTimer = 0;
    uint8_t signalPresent = 0;
    uint8_t signalParamsKnown = 0;
    uint8_t emissionKindKnown = 0;
    uint8_t radarTypeIdentified = 0;
    uint8_t frequencyKnown = 0;
    int32_t prf = 0;
    int32_t frequencyChannel = 0;
    double pulseWidth = 0;
    int32_t targetRadarId = 0;
    uint8_t pulsed = 0;
    int32_t trackedRadarId = -1;
    int32_t targetRadarType = -1;
    int32_t emitterCount = 0;
    std::array<ReceivedEmitter, kEmitterCapacity> emitters{};
    int32_t targetListCount = 0;
    std::array<TargetListEntry, kTargetListCapacity> targetList{};
    double bearingToTarget = 0;
    double elevationToTarget = 0;
    int32_t targetX = 0;
    int32_t targetY = 0;
    int32_t targetAltitude = 0;
    double rangeFlown = 0;
    int32_t thrust = 0;
    double flightTime = 0;
    double powerTime = 0;
    double mass = 0;
    double speed = 0;
    double heading = 0;
    double pitch = 0;
    double turnCommand = 0;
    double climbCommand = 0;
    double x = 0;
    double y = 0;
    double altitude = 0;
    double insX = 0;
    double insY = 0;
    double insAltitude = 0;
    double horizontalStep = 0;
    double verticalStep = 0;
    int32_t acceptedTypeCount = 0;
    std::array<int32_t, kAcceptedTypeCapacity> acceptedTypes{};
    std::array<int32_t, kReceivedCapacity> receivedRadars{};
    int32_t receivedRadarCount = 0;
    int32_t receivedReflectionCount = 0;
    std::array<int32_t, kReceivedCapacity> receivedReflections{};
    MissileReview review{};
};

}  // namespace prrsim
