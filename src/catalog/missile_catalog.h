#pragma once

#include <array>
#include <cstdint>
#include <string_view>

#include "catalog/checked_index.h"

namespace prrsim {

// How the automatic search picks one of the emitters it hears (a missile type's selectionRule).
enum SelectionRule : uint8_t {
    kSelectNone = 0,
    kSelectByCategory = 1,      // priority list of radar categories
    kSelectByKind = 2,          // priority list of radar kinds
    kSelectLastContinuous = 3,  // the last continuous-wave emitter
    kSelectByType = 6,          // priority list of radar type indices
};

// Which emission parameters a lock memorises and later matches (crewRecognitionLevel,
// recognitionLevel).
enum RecognitionLevel : uint8_t {
    kRecognizeNothing = 0,
    kRecognizeEmissionKind = 1,
    kRecognizeParameters = 2,
    kRecognizeRadarType = 3,
};

// What a launched missile does when it loses its lock (lossAction).
enum LossAction : uint8_t {
    kOnLossNothing = 0,
    kOnLossRecapture = 1,
    kOnLossWaitingPoint = 2,  // once; recapture afterwards
};

// The launched missile's vertical path until it homes directly (climbProfile).
enum ClimbProfile : uint8_t {
    kClimbConstantAngle = 0,
    kClimbExponential = 1,
    kClimbLinear = 2,
    kClimbDirectHoming = 4,
};

// One launch procedure of a missile type.
struct LaunchMode {
    std::string_view name;
    uint8_t takeBearingOnLock = 0;
    uint8_t crewRecognitionLevel = 0;  // RecognitionLevel
    uint8_t storeTargetPositionOnLock = 0;
    uint8_t designatedRadarOnly = 0;
    uint8_t captureBeforeLaunch = 0;
    uint8_t forgetOnLoss = 0;
    uint8_t searchOnLoss = 0;
    uint8_t keepSearching = 0;
    uint8_t usesTargetList = 0;
    uint8_t targetListPriority = 0;
    uint8_t recognitionLevel = 0;  // RecognitionLevel
    uint8_t lossAction = 0;        // LossAction
    int32_t waitingAltitude = 0;
    uint8_t climbProfile = 0;  // ClimbProfile
    double climbParameter = 0;
    uint8_t startAtWaitingPoint = 0;
    uint8_t keepClimbProfile = 0;
    double diveAngle = 0;
};

inline constexpr int32_t kLaunchModeCapacity = 5;
inline constexpr int32_t kChannelTableCapacity = 8;
inline constexpr int32_t kPriorityListCapacity = 8;
inline constexpr int32_t kOwnTypeListCapacity = 8;

struct MissileType {
    std::string_view name;
    double maxLateralAcceleration = 0;
    double dragFactor = 0;
    double parachuteDragFactor = 0;
    double motorThrust = 0;
    int32_t launchMass = 0;
    int32_t fuelMass = 0;
    int32_t burnTime = 0;
    int32_t powerEndurance = 0;
    uint8_t emissionKinds = 0;  // 0 pulsed only, 1 continuous only, 2 both
    std::string_view bands;
    double sensitivity = 0;
    double antennaArea = 0;
    double fieldOfViewAz = 0;
    double fieldOfViewEl = 0;
    double bearingNoise = 0;
    int32_t headAzimuthLimit = 0;
    int32_t headElevationMin = 0;
    int32_t headElevationMax = 0;
    double maxAngularRate = 0;
    uint8_t wideSearch = 0;
    uint8_t measuresFrequency = 0;
    uint8_t channelRule = 0;
    // Rules 0/1: lower edge, upper edge, channel width (count 3); rule 2: ascending boundaries.
    // A count of 0 means the type has no table.
    int32_t channelTableCount = 0;
    std::array<double, kChannelTableCapacity> channelTable{};
    uint8_t measuresPrf = 0;
    uint8_t measuresEmissionKind = 0;
    uint8_t measuresPulseWidth = 0;
    uint8_t identifiesRadarType = 0;
    int32_t maxEmitters = 0;
    uint8_t directionGate = 0;
    uint8_t separatesEmitters = 0;
    double lockConfirmTime = 0;
    double lockHoldTime = 0;
    double paramsMemoryTime = 0;
    double frequencyMemoryTime = 0;
    uint8_t selectionRule = 0;  // SelectionRule
    int32_t priorityCount = 0;
    std::array<int32_t, kPriorityListCapacity> priorityList{};
    uint8_t acceptAllTypes = 0;
    uint8_t useOwnTypeList = 0;
    int32_t ownTypeCount = 0;
    std::array<int32_t, kOwnTypeListCapacity> ownTypeList{};
    uint8_t hasInertialGuidance = 0;
    double inertialDrift = 0;
    uint8_t hasProximityFuse = 0;
    int32_t fuseDistance = 0;
    int32_t launchModeCount = 0;
    std::array<LaunchMode, kLaunchModeCapacity> launchModes{};
};

inline constexpr int32_t kMissileTypeCapacity = 20;

struct MissileCatalog {
    std::array<MissileType, kMissileTypeCapacity> types{};
    int32_t missileTypeCount = 0;  // 16 defined entries
};

// Fills a catalogue in this order (entries 0-7, copies of entry 0 for 8-19 with their
// own fields for 8-15, then the memory-time pass over the 16 counted entries).
void fillMissileCatalog(MissileCatalog& catalog);

// The program's catalogue, filled once on first use and read-only afterwards.
const MissileCatalog& missileCatalog();
inline const MissileType& missileType(int32_t index) {
    const MissileCatalog& catalog = missileCatalog();
    checkTableIndex("missileTypes", index, catalog.missileTypeCount);
    return catalog.types[index];
}
inline int32_t missileTypeCount() {
    return missileCatalog().missileTypeCount;
}
inline const LaunchMode& launchMode(int32_t type, int32_t mode) {
    const MissileType& t = missileType(type);
    checkTableIndex("launchModes", mode, t.launchModeCount);
    return t.launchModes[mode];
}

}  // namespace prrsim
