#include "catalog/missile_catalog.h"

#include <initializer_list>

namespace prrsim {

namespace {

// Airframe, motor and band coverage of one of the first eight entries.
struct AirframeRow {
    std::string_view name;
    std::string_view bands;
    uint8_t emissionKinds;
    int32_t launchMass;
    int32_t fuelMass;
    int32_t burnTime;
    int32_t powerEndurance;
    double motorThrust;
    double maxLateralAcceleration;
    double dragFactor;
    double parachuteDragFactor;
    double maxAngularRate;
};

// Seeker antenna and search.
struct SeekerRow {
    double sensitivity;
    double antennaArea;
    double fieldOfViewAz;
    double fieldOfViewEl;
    double bearingNoise;
    int32_t headAzimuthLimit;
    int32_t headElevationMin;
    int32_t headElevationMax;
    uint8_t wideSearch;
    int32_t maxEmitters;
    uint8_t directionGate;
    uint8_t separatesEmitters;
};

// Measurement, lock times, inertial guidance and fuze. A channel width of 0 means no table.
struct MeasurementRow {
    uint8_t measuresFrequency;
    double channelLower;
    double channelUpper;
    double channelWidth;
    uint8_t measuresPrf;
    uint8_t measuresEmissionKind;
    uint8_t measuresPulseWidth;
    uint8_t identifiesRadarType;
    double lockConfirmTime;
    double lockHoldTime;
    uint8_t hasInertialGuidance;
    double inertialDrift;
    uint8_t hasProximityFuse;
    int32_t fuseDistance;
};

// The further "AGM-45 Shrike" modifications: what differs from entry 0.
struct ShrikeRow {
    std::string_view name;
    std::string_view bands;
    uint8_t emissionKinds;
    uint8_t measuresFrequency;
    double channelLower;
    double channelUpper;
    double channelWidth;
    uint8_t recognitionLevel;
};

constexpr int32_t kDefinedTypeCount = 16;
constexpr int32_t kFieldByFieldCount = 8;

constexpr AirframeRow kAirframes[kFieldByFieldCount] = {
    {"AGM-45 Shrike B-2", "G", 0, 177, 75, 3, 35, 100000, 80, 0.028, 0, 5},
    {"Х-25МП с ПРГС-1ВП", "HIJ", 1, 320, 116, 9, 70, 85000, 86, 0.037, 0, 6},
    {"Х-58", "EFGHI", 2, 490, 178, 19, 200, 160000, 90, 0.142, 0, 10},
    {"AGM-88C HARM", "DEFGHIJK", 2, 354, 112, 15, 250, 95000, 100, 0.051, 0, 100},
    {"ALARM", "EFGHIJ", 2, 268, 70, 18, 300, 37000, 100, 0.06, 0.64, 100},
    {"Х-27ПС с ПРГС-1ВП", "GHI", 1, 300, 87, 11, 90, 85000, 100, 0.065, 0, 9},
    {"Х-27ПС с ПРГС-2ВП", "GHI", 0, 300, 87, 11, 90, 85000, 100, 0.065, 0, 9},
    {"Х-25МП с ПРГС-2ВП", "HIJ", 0, 320, 116, 9, 70, 85000, 86, 0.037, 0, 8},
};

constexpr SeekerRow kSeekers[kFieldByFieldCount] = {
    {7e-05, 0.129, 15, 15, 0, 60, -45, 20, 0, 0, 0, 0},
    {1.4e-05, 0.287, 9, 9, 0, 60, -30, 30, 0, 0, 0, 0},
    {6.4e-08, 0.45, 7, 7, 1.7, 60, -47, 10, 0, 1, 1, 1},
    {3e-08, 0.19625, 5, 5, 1.5, 60, -30, 15, 1, 10, 1, 1},
    {5e-07, 0.157, 10, 10, 1.5, 60, -30, 30, 1, 10, 0, 0},
    {1.8e-07, 0.239, 10, 10, 2.6, 90, -60, 40, 0, 3, 1, 0},
    {1.8e-07, 0.239, 10, 10, 2.6, 90, -60, 40, 0, 3, 1, 1},
    {1.4e-05, 0.287, 9, 9, 0, 60, -40, 20, 0, 0, 0, 0},
};

constexpr MeasurementRow kMeasurements[kFieldByFieldCount] = {
    {0, 0, 0, 0, 0, 0, 0, 0, 1, 3, 0, 35, 0, 0},
    {0, 0, 0, 0, 0, 0, 0, 0, 1, 1, 1, 0, 0, 0},
    {1, 2200, 10500, 50, 1, 1, 0, 0, 1, 1, 1, 15, 0, 0},
    {1, 1100, 10000, 50, 1, 1, 1, 1, 1, 3, 1, 0.085, 1, 15},
    {1, 0, 0, 0, 1, 0, 1, 1, 1, 2, 1, 20, 0, 0},
    {1, 5000, 12000, 10, 0, 1, 0, 0, 1, 1, 1, 15, 0, 0},
    {1, 5000, 12000, 10, 1, 1, 0, 0, 1, 1, 1, 15, 0, 0},
    {0, 0, 0, 0, 0, 0, 0, 0, 1, 1, 1, 0, 0, 0},
};

// Launch modes in list order. Fields as in LaunchMode: name, takeBearingOnLock,
// crewRecognitionLevel, storeTargetPositionOnLock, designatedRadarOnly, captureBeforeLaunch,
// forgetOnLoss, searchOnLoss, keepSearching, usesTargetList, targetListPriority,
// recognitionLevel, lossAction, waitingAltitude, climbProfile, climbParameter,
// startAtWaitingPoint, keepClimbProfile, diveAngle.
constexpr LaunchMode kSeekerCaptureShrike{
    "захват цели ГСН и пуск", 0, 0, 0, 0, 1, 0, 0, 0, 0, 0, 0, 1, 0, 0, 5, 0, 0, -40};
constexpr LaunchMode kSeekerCaptureKh25{
    "захват цели ГСН и пуск", 0, 0, 0, 0, 1, 0, 0, 0, 0, 0, 0, 1, 0, 1, 5, 0, 0, -25};
constexpr LaunchMode kKh58Modes[] = {
    {"целеуказание и пуск", 1, 2, 0, 0, 1, 1, 0, 0, 0, 0, 2, 1, 0, 0, 10, 0, 0, -40},
    {"пуск по известной цели", 1, 3, 1, 0, 0, 1, 0, 0, 0, 0, 2, 1, 0, 0, 3, 0, 0, -40},
};
constexpr LaunchMode kHarmModes[] = {
    {"самозахват и пуск", 1, 3, 0, 0, 1, 1, 1, 0, 0, 0, 3, 1, 0, 0, 6, 0, 0, -27},
    {"пуск по обнаруженной цели", 1, 3, 0, 0, 1, 0, 0, 0, 0, 0, 3, 1, 0, 0, 6, 0, 0, -10},
    {"пуск по известной цели", 1, 3, 1, 0, 0, 0, 0, 0, 0, 0, 3, 0, 0, 2, 0.0254, 0, 0, -26},
};
constexpr LaunchMode kAlarmModes[] = {
    {"директорный режим", 1, 3, 0, 0, 1, 1, 0, 0, 0, 0, 3, 1, 0, 4, 5, 0, 1, -10},
    {"режим барражирования", 1, 3, 1, 0, 0, 1, 1, 0, 0, 0, 3, 1, 12000, 4, 0, 1, 0, 0},
    {"смешанный режим", 1, 3, 1, 0, 1, 1, 1, 0, 0, 0, 3, 2, 12000, 4, 8, 0, 1, -10},
    {"режим подавления", 1, 3, 0, 0, 0, 1, 1, 0, 1, 1, 3, 1, 0, 1, 5, 0, 1, -10},
    {"универсальный режим", 1, 3, 0, 0, 0, 1, 1, 0, 1, 1, 3, 1, 0, 1, 5, 0, 1, -10},
};
constexpr LaunchMode kKh27Mode{
    "целеуказание и пуск", 1, 3, 0, 0, 1, 1, 1, 1, 0, 0, 2, 1, 0, 0, 9, 0, 0, -45};

// "AGM-45 Shrike B-3А" and "B-3В" end in Cyrillic letters, "B-9A" in a Latin one.
constexpr ShrikeRow kShrikes[] = {
    {"AGM-45 Shrike B-3", "EF", 0, 0, 0, 0, 0, 0},
    {"AGM-45 Shrike B-3А", "EF", 0, 1, 2200, 4500, 50, 2},
    {"AGM-45 Shrike B-3В", "EF", 0, 0, 0, 0, 0, 0},
    {"AGM-45 Shrike B-4", "G", 1, 1, 3600, 6500, 100, 2},
    {"AGM-45 Shrike B-7", "EF", 0, 0, 0, 0, 0, 0},
    {"AGM-45 Shrike B-9", "I", 0, 0, 0, 0, 0, 0},
    {"AGM-45 Shrike B-9A", "I", 1, 0, 0, 0, 0, 0},
    {"AGM-45 Shrike B-10", "EFGHI", 0, 0, 0, 0, 0, 0},
};

void setAirframe(MissileType& t, const AirframeRow& r) {
    t.name = r.name;
    t.bands = r.bands;
    t.emissionKinds = r.emissionKinds;
    t.launchMass = r.launchMass;
    t.fuelMass = r.fuelMass;
    t.burnTime = r.burnTime;
    t.powerEndurance = r.powerEndurance;
    t.motorThrust = r.motorThrust;
    t.maxLateralAcceleration = r.maxLateralAcceleration;
    t.dragFactor = r.dragFactor;
    t.parachuteDragFactor = r.parachuteDragFactor;
    t.maxAngularRate = r.maxAngularRate;
}

void setSeeker(MissileType& t, const SeekerRow& r) {
    t.sensitivity = r.sensitivity;
    t.antennaArea = r.antennaArea;
    t.fieldOfViewAz = r.fieldOfViewAz;
    t.fieldOfViewEl = r.fieldOfViewEl;
    t.bearingNoise = r.bearingNoise;
    t.headAzimuthLimit = r.headAzimuthLimit;
    t.headElevationMin = r.headElevationMin;
    t.headElevationMax = r.headElevationMax;
    t.wideSearch = r.wideSearch;
    t.maxEmitters = r.maxEmitters;
    t.directionGate = r.directionGate;
    t.separatesEmitters = r.separatesEmitters;
}

// Uniform channels (rule 0): lower edge, upper edge, channel width. A zero width leaves the
// type without a table.
void setChannelTable(MissileType& t, double lower, double upper, double width) {
    if (width == 0) {
        return;
    }
    t.channelRule = 0;
    t.channelTableCount = 3;
    t.channelTable[0] = lower;
    t.channelTable[1] = upper;
    t.channelTable[2] = width;
}

void setMeasurement(MissileType& t, const MeasurementRow& r) {
    t.measuresFrequency = r.measuresFrequency;
    setChannelTable(t, r.channelLower, r.channelUpper, r.channelWidth);
    t.measuresPrf = r.measuresPrf;
    t.measuresEmissionKind = r.measuresEmissionKind;
    t.measuresPulseWidth = r.measuresPulseWidth;
    t.identifiesRadarType = r.identifiesRadarType;
    t.lockConfirmTime = r.lockConfirmTime;
    t.lockHoldTime = r.lockHoldTime;
    t.hasInertialGuidance = r.hasInertialGuidance;
    t.inertialDrift = r.inertialDrift;
    t.hasProximityFuse = r.hasProximityFuse;
    t.fuseDistance = r.fuseDistance;
}

void setLaunchModes(MissileType& t, std::initializer_list<LaunchMode> modes) {
    t.launchModeCount = 0;
    for (const LaunchMode& mode : modes) {
        t.launchModes[t.launchModeCount] = mode;
        t.launchModeCount += 1;
    }
}

// Target selection and the radar-type filter: only entries 3, 5 and 6 select by themselves.
void setSelection(MissileCatalog& catalog) {
    MissileType& harm = catalog.types[3];
    harm.selectionRule = 2;  // priority by RadarType.kind
    harm.priorityCount = 5;
    harm.priorityList = {3, 4, 1, 2, 0};
    harm.acceptAllTypes = 1;

    // Both "Х-27ПС" pick the last continuous-wave emitter; their own type lists name the Hawk
    // radars but have no effect while every type is accepted.
    for (int32_t i : {5, 6}) {
        MissileType& kh27 = catalog.types[i];
        kh27.selectionRule = 3;
        kh27.acceptAllTypes = 1;
        kh27.useOwnTypeList = 1;
        kh27.ownTypeCount = 2;
        kh27.ownTypeList = {10, i == 5 ? 18 : 19};
    }
}

void setOwnFields(MissileType& t, const ShrikeRow& r) {
    t.name = r.name;
    t.bands = r.bands;
    t.emissionKinds = r.emissionKinds;
    t.measuresFrequency = r.measuresFrequency;
    setChannelTable(t, r.channelLower, r.channelUpper, r.channelWidth);
    t.launchModes[0].recognitionLevel = r.recognitionLevel;
}

}  // namespace

void fillMissileCatalog(MissileCatalog& catalog) {
    catalog = MissileCatalog{};

    // Entries 0 to 7, field by field; every field not listed stays 0.
    for (int32_t i = 0; i < kFieldByFieldCount; ++i) {
        MissileType& t = catalog.types[i];
        setAirframe(t, kAirframes[i]);
        setSeeker(t, kSeekers[i]);
        setMeasurement(t, kMeasurements[i]);
    }
    setSelection(catalog);
    setLaunchModes(catalog.types[0], {kSeekerCaptureShrike});
    setLaunchModes(catalog.types[1], {kSeekerCaptureKh25});
    setLaunchModes(catalog.types[2], {kKh58Modes[0], kKh58Modes[1]});
    setLaunchModes(catalog.types[3], {kHarmModes[0], kHarmModes[1], kHarmModes[2]});
    setLaunchModes(catalog.types[4], {kAlarmModes[0], kAlarmModes[1], kAlarmModes[2],
                                      kAlarmModes[3], kAlarmModes[4]});
    setLaunchModes(catalog.types[5], {kKh27Mode});
    setLaunchModes(catalog.types[6], {kKh27Mode});
    setLaunchModes(catalog.types[7], {kSeekerCaptureKh25});

    // Entries 8 to 19 start as copies of entry 0; 8 to 15 are the further Shrike
    // modifications, 16 to 19 are spare slots that nothing reads.
    for (int32_t i = kFieldByFieldCount; i < kMissileTypeCapacity; ++i) {
        catalog.types[i] = catalog.types[0];
    }
    for (int32_t i = kFieldByFieldCount; i < kDefinedTypeCount; ++i) {
        setOwnFields(catalog.types[i], kShrikes[i - kFieldByFieldCount]);
    }

    catalog.missileTypeCount = kDefinedTypeCount;
    for (int32_t i = 0; i < catalog.missileTypeCount; ++i) {
        catalog.types[i].paramsMemoryTime = 0.2;
        catalog.types[i].frequencyMemoryTime = 0.1;
    }
}

const MissileCatalog& missileCatalog() {
    static const MissileCatalog catalog = [] {
        MissileCatalog c;
        fillMissileCatalog(c);
        return c;
    }();
    return catalog;
}

}  // namespace prrsim
