#include "catalog/radar_catalog.h"

#include <initializer_list>

namespace prrsim {

namespace {

// A short list written inline in the tables below, copied into fixed storage.
template <typename T, int32_t N>
struct InlineList {
    std::array<T, N> items{};
    int32_t count = 0;
    constexpr InlineList(std::initializer_list<T> values) {
        for (const T& v : values) {
            items[count++] = v;
        }
    }
};

// Identity, antenna and scan data of one type.
struct TypeRow {
    std::string_view name;
    uint8_t kind;
    uint8_t category;
    uint8_t scanKind;
    double beamWidthAz;
    double beamWidthEl;
    int32_t sidelobeLevel;
    InlineList<int32_t, 5> rotationRates;
    int32_t maxBlinkPeriod;
};

// Emission data of one type; an illuminator band of '\0' means the type has none.
struct EmissionRow {
    FrequencyBand band;
    double freqMin;
    double freqMax;
    double power;
    InlineList<PrfMode, 10> prfModes;
    FrequencyBand illuminatorBand;
    double illuminatorPower;
};

struct ScanMethodRow {
    int32_t typeIndex;
    ScanMethod method;
};

struct ComplexRow {
    std::string_view name;
    InlineList<int32_t, 5> memberTypes;
};

// A pulsed mode: prf, pulse width, compression ratio, wobble depth.
constexpr PrfMode pulsed(int32_t prf, double pulseWidth, double compression, double wobble) {
    return PrfMode{prf, pulseWidth, true, compression, wobble};
}

// A continuous-wave mode.
constexpr PrfMode continuous(int32_t prf, double pulseWidth) {
    return PrfMode{prf, pulseWidth, false, 0, 0};
}

constexpr TypeRow kTypes[kRadarTypeCapacity] = {
    {"Куб, РЛС сопровождения 1С31", kFireControlRadar, 2, kScanRotationFan, 1.0, 1.0, -30, {}, 0},
    {"Куб, РЛС обнаружения 1С11",
     kSearchRadar,
     2,
     kScanRotationAllElevations,
     1.0,
     20.0,
     -26,
     {15},
     3},
    {"РЛС обнаружения П-15", kSearchRadar, 4, kScanRotationFan, 4.3, 8.6, -28, {15, 7}, 2},
    {"РЛС 'Имбирь'", kMultiTargetRadar, 5, kScanSectorSweep, 0.5, 0.5, -52, {}, 5},
    {"Тунгусска, РЛС сопровождения", kFireControlRadar, 0, kScanRotationFan, 2.0, 2.0, -35, {}, 0},
    {"Тунгусска, РЛС обнаружения", kSearchRadar, 0, kScanRotationFan, 5.0, 15.0, -28, {60}, 0},
    {"Тор, РЛС сопровождения", kFireControlRadar, 1, kScanRotationFan, 2.0, 2.0, -35, {}, 0},
    {"Тор, РЛС обнаружения", kSearchRadar, 1, kScanRotationAllElevations, 5.0, 15.0, -27, {60}, 0},
    {"Бук, РЛС СОУ", kSearchTrackRadar, 2, kScanSectorRaster, 1.3, 2.5, -39, {}, 0},
    {"Бук, РЛС СОЦ", kSearchRadar, 2, kScanSectorSweep, 1.3, 2.5, -39, {}, 3},
    {"Hawk, MPQ-46", kFireControlRadar, 2, kScanRotationFan, 2.5, 2.5, -27, {}, 0},
    {"Hawk, MPQ-50", kSearchRadar, 2, kScanRotationFan, 4.5, 35.0, -26, {10}, 0},
    {"Оса, РЛС сопровождения", kFireControlRadar, 1, kScanRotationFan, 1.0, 27.0, -30, {}, 0},
    {"Оса, РЛС обнаружения", kSearchRadar, 1, kScanRotationAllElevations, 1.0, 27.0, -25, {60}, 0},
    {"Шилка", kSearchTrackRadar, 0, kScanSectorRaster, 4.5, 5.0, -25, {}, 0},
    {"55Ж6", kSearchRadar, 5, kScanRotationFan, 6.0, 16.0, -18, {6, 3}, 2},
    {"1Л13", kSearchRadar, 5, kScanRotationFan, 6.0, 30.0, -22, {6, 3}, 2},
    {"С-200, РПЦ", kFireControlRadar, 3, kScanRotationFan, 0.7, 0.7, -27, {}, 0},
    {"Hawk MPQ-48", kSearchRadar, 4, kScanRotationFan, 3.5, 22.0, -25, {12, 6}, 2},
    {"Hawk MPQ-51", kFireControlRadar, 2, kScanRotationFan, 2.5, 2.5, -37, {}, 0},
};

constexpr EmissionRow kEmissions[kRadarTypeCapacity] = {
    {'I', 8700, 10200, 270000, {pulsed(1850, 0.07, 1, 0.15)}, 'I', 2500},
    {'G', 4700, 5300, 600000, {pulsed(1200, 1.2, 1, 0.1)}, '\0', 0},
    {'C',
     800,
     950,
     380000,
     {pulsed(200, 2, 1, 0), pulsed(500, 2, 1, 0), pulsed(700, 2, 1, 0)},
     '\0',
     0},
    {'G',
     4800,
     6300,
     100000,
     {pulsed(950, 225, 965, 0), pulsed(950, 67, 202, 0), pulsed(1100, 33, 67, 0)},
     '\0',
     0},
    {'K', 18000, 27000, 150000, {pulsed(4200, 0.015, 1, 0.1)}, '\0', 0},
    {'E', 2000, 2500, 10000, {pulsed(3800, 1.6, 1, 0.1)}, '\0', 0},
    {'J', 17000, 22500, 7900, {pulsed(3800, 0.02, 1, 0.1)}, '\0', 0},
    {'J', 10200, 14700, 185000, {pulsed(4500, 1.8, 1, 0.1)}, '\0', 0},
    {'I',
     8500,
     8900,
     600,
     {pulsed(2600, 1.16, 1, 0), pulsed(130000, 1.16, 1, 0.05), pulsed(130000, 11.6, 10, 0.05)},
     'I',
     2000},
    {'F', 2800, 3600, 129000, {pulsed(750, 36, 20, 0.1)}, '\0', 0},
    {'H', 6000, 6500, 600000, {pulsed(2580, 0.2, 1, 0)}, 'I', 3500},
    {'D', 1100, 1600, 900000, {pulsed(700, 2.2, 1, 0.1)}, '\0', 0},
    {'J', 16000, 22000, 200000, {pulsed(4000, 0.02, 1, 0.1)}, '\0', 0},
    {'H', 7500, 8000, 250000, {pulsed(1750, 1.5, 1, 0.1)}, '\0', 0},
    {'J', 14000, 20000, 180000, {pulsed(3600, 0.06, 1, 0.1)}, '\0', 0},
    {'A', 160, 220, 200000, {pulsed(200, 43, 13, 0.1), pulsed(40, 43, 13, 0.1)}, '\0', 0},
    {'A', 180, 230, 120000, {pulsed(250, 43, 13, 0.1)}, '\0', 0},
    {'G', 4500, 6200, 10000, {continuous(0, 0)}, '\0', 0},
    {'H', 6200, 7500, 7200, {continuous(0, 0)}, '\0', 0},
    {'J', 17000, 25000, 120000, {continuous(1600, 0.6)}, '\0', 0},
};

constexpr ScanMethodRow kScanMethods[] = {
    {3, {"Поиск РГЧ", 45, 26, 75, 7.5}},       {3, {"Поиск ракет", 30, 9, 50, 6.25}},
    {3, {"Поиск самолётов", 30, 0, 50, 6.0}},  {8, {"Самостоятельный поиск", 120, 0, 7, 30.0}},
    {8, {"Поиск ЦУ", 10, 0, 7, 5.0}},          {9, {"Круговой поиск", 360, 0, 40, 40.0}},
    {9, {"Секторный поиск", 30, 0, 40, 12.0}},
};

constexpr ComplexRow kComplexes[kSamComplexCapacity] = {
    {"СУРН ЗРК КУБ", {0, 1}},
    {"ЗРАК Тунгусска", {4, 5}},
    {"ЗРК Тор", {6, 7}},
    {"ЗРК Оса", {12, 13}},
};

// The only multi-target type: 16 aircraft, one switch per second, a 120-degree sector.
constexpr int32_t kMultiTargetMaxTracks = 16;
constexpr double kMultiTargetSwitchRate = 1.0;
constexpr int32_t kMultiTargetSectorWidth = 120;

RadarType makeType(const TypeRow& row, const EmissionRow& emission) {
    RadarType t{};
    t.name = row.name;
    t.kind = row.kind;
    t.category = row.category;
    t.hasIlluminator = emission.illuminatorBand != '\0';
    t.beamWidthAz = row.beamWidthAz;
    t.beamWidthEl = row.beamWidthEl;
    t.sidelobeLevel = row.sidelobeLevel;
    if (row.kind == kMultiTargetRadar) {
        t.maxTracks = kMultiTargetMaxTracks;
        t.trackSwitchRate = kMultiTargetSwitchRate;
        t.trackSectorWidth = kMultiTargetSectorWidth;
    }
    t.rotationRates = row.rotationRates.items;
    t.rotationRateCount = row.rotationRates.count;
    t.maxBlinkPeriod = row.maxBlinkPeriod;
    t.scanKind = row.scanKind;
    t.freqMin = emission.freqMin;
    t.freqMax = emission.freqMax;
    t.prfModes = emission.prfModes.items;
    t.prfModeCount = emission.prfModes.count;
    t.illuminationMode = PrfMode{};
    t.band = emission.band;
    t.illuminatorBand = emission.illuminatorBand;
    t.power = emission.power;
    t.illuminatorPower = emission.illuminatorPower;
    return t;
}

}  // namespace

void fillRadarCatalog(RadarCatalog& catalog) {
    catalog = RadarCatalog{};
    for (int32_t i = 0; i < kRadarTypeCapacity; ++i) {
        catalog.types[i] = makeType(kTypes[i], kEmissions[i]);
    }
    catalog.radarTypeCount = kRadarTypeCapacity;
    for (const ScanMethodRow& row : kScanMethods) {
        RadarType& t = catalog.types[row.typeIndex];
        t.scanMethods[t.scanMethodCount++] = row.method;
    }
    for (int32_t k = 0; k < kSamComplexCapacity; ++k) {
        SamComplex& c = catalog.complexes[k];
        c.name = kComplexes[k].name;
        c.memberTypes = kComplexes[k].memberTypes.items;
        c.memberCount = kComplexes[k].memberTypes.count;
    }
    catalog.samComplexCount = kSamComplexCapacity;
}

const RadarCatalog& radarCatalog() {
    static const RadarCatalog catalog = [] {
        RadarCatalog c;
        fillRadarCatalog(c);
        return c;
    }();
    return catalog;
}

const ScanMethod& scanMethodOf(const RadarType& type, int32_t scanMethod) {
    static const ScanMethod none{};
    if (scanMethod < 0 || scanMethod >= type.scanMethodCount) {
        return none;
    }
    return type.scanMethods[scanMethod];
}

const PrfMode& prfModeOf(const RadarType& type, int32_t prfMode) {
    if (prfMode < 0 || prfMode >= type.prfModeCount) {
        return type.prfModes[0];
    }
    return type.prfModes[prfMode];
}

double frequencyAt(int32_t typeIndex, int32_t percent) {
    if (typeIndex < 0 || typeIndex >= radarTypeCount()) {
        return 0;
    }
    const RadarType& t = radarType(typeIndex);
    return t.freqMin + (t.freqMax - t.freqMin) * 0.01 * percent;
}

}  // namespace prrsim
