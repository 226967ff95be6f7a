#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

#include "catalog/checked_index.h"

namespace prrsim {

// Behaviour class of a radar type; also the map symbol code.
enum RadarKind : uint8_t {
    kSearchRadar = 0,
    kSearchTrackRadar = 1,
    kMultiTargetRadar = 2,
    kFireControlRadar = 4,
};

// Antenna movement while scanning and the beam shape the seeker sees.
enum ScanKind : uint8_t {
    kScanRotationFan = 0,
    kScanSectorRaster = 1,
    kScanRotationAllElevations = 2,
    kScanSectorSweep = 3,
};

// One emission mode. The label is built on demand by prfModeLabel (it depends on the user's
// decimal separator, which the core does not know).
struct PrfMode {
    int32_t prf = 0;
    double pulseWidth = 0;
    bool pulsed = false;
    double compression = 0;
    double wobble = 0;
};

struct ScanMethod {
    std::string_view name;
    int32_t sectorWidth = 0;
    int32_t elevationMin = 0;
    int32_t elevationMax = 0;
    double scanRate = 0;
};

// A band is one upper-case letter; '\0' means none.
using FrequencyBand = char;

struct RadarType {
    std::string_view name;
    uint8_t kind = 0;
    uint8_t category = 0;
    bool hasIlluminator = false;
    double beamWidthAz = 0;
    double beamWidthEl = 0;
    int32_t sidelobeLevel = 0;
    int32_t maxTracks = 0;
    double trackSwitchRate = 0;
    int32_t trackSectorWidth = 0;
    std::array<int32_t, 5> rotationRates{};
    int32_t rotationRateCount = 0;
    int32_t maxBlinkPeriod = 0;
    uint8_t scanKind = 0;
    std::array<ScanMethod, 10> scanMethods{};
    int32_t scanMethodCount = 0;
    double freqMin = 0;
    double freqMax = 0;
    std::array<PrfMode, 10> prfModes{};
    int32_t prfModeCount = 0;
    PrfMode illuminationMode{};  // continuous wave, all numbers 0
    FrequencyBand band = '\0';
    FrequencyBand illuminatorBand = '\0';
    double power = 0;
    double illuminatorPower = 0;
};

struct SamComplex {
    std::string_view name;
    std::array<int32_t, 5> memberTypes{};
    int32_t memberCount = 0;
};

inline constexpr int32_t kRadarTypeCapacity = 20;
inline constexpr int32_t kSamComplexCapacity = 4;

struct RadarCatalog {
    std::array<RadarType, kRadarTypeCapacity> types{};
    int32_t radarTypeCount = 0;
    std::array<SamComplex, kSamComplexCapacity> complexes{};
    int32_t samComplexCount = 0;
};

// Fills a catalogue with the 20 radar types and 4 SAM complexes.
void fillRadarCatalog(RadarCatalog& catalog);

// The program's catalogue, filled once on first use and read-only afterwards.
const RadarCatalog& radarCatalog();
inline const RadarType& radarType(int32_t index) {
    const RadarCatalog& catalog = radarCatalog();
    checkTableIndex("radarTypes", index, catalog.radarTypeCount);
    return catalog.types[index];
}
inline int32_t radarTypeCount() {
    return radarCatalog().radarTypeCount;
}
inline const SamComplex& samComplex(int32_t index) {
    const RadarCatalog& catalog = radarCatalog();
    checkTableIndex("samComplexes", index, catalog.samComplexCount);
    return catalog.complexes[index];
}
inline int32_t samComplexCount() {
    return radarCatalog().samComplexCount;
}

// The scan method a site uses; a type without methods (or an index outside its list) behaves as
// if every field were 0.
const ScanMethod& scanMethodOf(const RadarType& type, int32_t scanMethod);

// The emission mode a site radiates in; an index outside the list gives the first mode.
const PrfMode& prfModeOf(const RadarType& type, int32_t prfMode);

// frequency = freqMin + (freqMax - freqMin) x 0.01 x percent of the type's range; 0 for an
// unknown type.
double frequencyAt(int32_t typeIndex, int32_t percent);

}  // namespace prrsim
