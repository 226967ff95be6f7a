#include "catalog/radar_catalog.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <iterator>
#include <string>
#include <utility>

namespace prrsim {
namespace {

// --- Catalogue -----------------------------------------------------------------------------

class RadarCatalogTest : public ::testing::Test {
  protected:
    const RadarCatalog& cat = radarCatalog();
    const RadarType& type(int i) const { return cat.types[i]; }
};

TEST_F(RadarCatalogTest, CountsAndNames) {
    EXPECT_EQ(radarTypeCount(), 20);
    EXPECT_EQ(samComplexCount(), 4);
    const std::pair<int, const char*> names[] = {{0, "Куб, РЛС сопровождения 1С31"},
                                                 {3, "РЛС 'Имбирь'"},
                                                 {4, "Тунгусска, РЛС сопровождения"},
                                                 {8, "Бук, РЛС СОУ"},
                                                 {14, "Шилка"},
                                                 {15, "55Ж6"},
                                                 {16, "1Л13"},
                                                 {17, "С-200, РПЦ"},
                                                 {18, "Hawk MPQ-48"},
                                                 {19, "Hawk MPQ-51"}};
    for (const auto& [index, name] : names) {
        EXPECT_EQ(type(index).name, name) << index;
    }
}

struct IdentityRow {
    int index;
    int kind;
    int category;
    int scanKind;
    double beamAz;
    double beamEl;
    int sidelobe;
    int rateCount;
    int rate0;
    int rate1;
    int maxBlink;
};

class RadarIdentityRows : public ::testing::TestWithParam<IdentityRow> {};

TEST_P(RadarIdentityRows, AntennaAndScanData) {
    const IdentityRow& row = GetParam();
    const RadarType& t = radarType(row.index);
    EXPECT_EQ(t.kind, row.kind);
    EXPECT_EQ(t.category, row.category);
    EXPECT_EQ(t.scanKind, row.scanKind);
    EXPECT_EQ(t.beamWidthAz, row.beamAz);
    EXPECT_EQ(t.beamWidthEl, row.beamEl);
    EXPECT_EQ(t.sidelobeLevel, row.sidelobe);
    EXPECT_EQ(t.rotationRateCount, row.rateCount);
    EXPECT_EQ(t.rotationRates[0], row.rate0);
    EXPECT_EQ(t.rotationRates[1], row.rate1);
    EXPECT_EQ(t.maxBlinkPeriod, row.maxBlink);
}

INSTANTIATE_TEST_SUITE_P(Table, RadarIdentityRows,
                         ::testing::Values(IdentityRow{0, 4, 2, 0, 1.0, 1.0, -30, 0, 0, 0, 0},
                                           IdentityRow{1, 0, 2, 2, 1.0, 20.0, -26, 1, 15, 0, 3},
                                           IdentityRow{2, 0, 4, 0, 4.3, 8.6, -28, 2, 15, 7, 2},
                                           IdentityRow{3, 2, 5, 3, 0.5, 0.5, -52, 0, 0, 0, 5},
                                           IdentityRow{8, 1, 2, 1, 1.3, 2.5, -39, 0, 0, 0, 0},
                                           IdentityRow{9, 0, 2, 3, 1.3, 2.5, -39, 0, 0, 0, 3},
                                           IdentityRow{14, 1, 0, 1, 4.5, 5.0, -25, 0, 0, 0, 0},
                                           IdentityRow{15, 0, 5, 0, 6.0, 16.0, -18, 2, 6, 3, 2},
                                           IdentityRow{17, 4, 3, 0, 0.7, 0.7, -27, 0, 0, 0, 0}));

struct EmissionRow {
    int index;
    char band;
    double freqMin;
    double freqMax;
    double power;
    int modeCount;
    char illuminatorBand;
    double illuminatorPower;
};

class RadarEmissionRows : public ::testing::TestWithParam<EmissionRow> {};

TEST_P(RadarEmissionRows, BandFrequencyPowerIlluminator) {
    const EmissionRow& row = GetParam();
    const RadarType& t = radarType(row.index);
    EXPECT_EQ(t.band, row.band);
    EXPECT_EQ(t.freqMin, row.freqMin);
    EXPECT_EQ(t.freqMax, row.freqMax);
    EXPECT_EQ(t.power, row.power);
    EXPECT_EQ(t.prfModeCount, row.modeCount);
    EXPECT_EQ(t.illuminatorBand, row.illuminatorBand);
    EXPECT_EQ(t.illuminatorPower, row.illuminatorPower);
    EXPECT_EQ(t.hasIlluminator, row.illuminatorBand != '\0');
}

INSTANTIATE_TEST_SUITE_P(Table, RadarEmissionRows,
                         ::testing::Values(EmissionRow{0, 'I', 8700, 10200, 270000, 1, 'I', 2500},
                                           EmissionRow{2, 'C', 800, 950, 380000, 3, '\0', 0},
                                           EmissionRow{3, 'G', 4800, 6300, 100000, 3, '\0', 0},
                                           EmissionRow{8, 'I', 8500, 8900, 600, 3, 'I', 2000},
                                           EmissionRow{10, 'H', 6000, 6500, 600000, 1, 'I', 3500},
                                           EmissionRow{15, 'A', 160, 220, 200000, 2, '\0', 0},
                                           EmissionRow{18, 'H', 6200, 7500, 7200, 1, '\0', 0}));

TEST_F(RadarCatalogTest, IlluminatorsAndMultiTargetTrackingOnlyWhereDesigned) {
    for (int i = 0; i < 20; ++i) {
        EXPECT_EQ(type(i).hasIlluminator, i == 0 || i == 8 || i == 10) << i;
        EXPECT_EQ(type(i).maxTracks, i == 3 ? 16 : 0) << i;  // only the "Имбирь"
        EXPECT_EQ(type(i).trackSectorWidth, i == 3 ? 120 : 0) << i;
        const PrfMode& m = type(i).illuminationMode;  // continuous wave, all zero
        EXPECT_FALSE(m.pulsed || m.prf != 0 || m.pulseWidth != 0 || m.compression != 0) << i;
    }
    EXPECT_EQ(type(3).trackSwitchRate, 1.0);
}

TEST_F(RadarCatalogTest, PrfModesExactNumbers) {
    const PrfMode& imbir0 = type(3).prfModes[0];
    EXPECT_EQ(imbir0.prf, 950);
    EXPECT_EQ(imbir0.pulseWidth, 225.0);
    EXPECT_EQ(imbir0.compression, 965.0);
    const PrfMode& buk1 = type(8).prfModes[1];
    EXPECT_EQ(buk1.prf, 130000);
    EXPECT_EQ(buk1.pulseWidth, 1.16);
    EXPECT_EQ(buk1.wobble, 0.05);
    EXPECT_EQ(type(2).prfModes[2].prf, 700);
    EXPECT_EQ(type(4).prfModes[0].pulseWidth, 0.015);
    // Types 17..19 are continuous-wave, every mode of the others pulsed.
    const PrfMode& hawk51 = type(19).prfModes[0];
    EXPECT_EQ(hawk51.prf, 1600);
    EXPECT_EQ(hawk51.pulseWidth, 0.6);
    for (int i = 0; i < 20; ++i) {
        for (int m = 0; m < type(i).prfModeCount; ++m) {
            EXPECT_EQ(type(i).prfModes[m].pulsed, i < 17) << i << "/" << m;
        }
    }
}

TEST_F(RadarCatalogTest, ScanMethodsOnlyForImbirBukSouAndBukSoc) {
    for (int i = 0; i < 20; ++i) {
        const int expected = i == 3 ? 3 : (i == 8 || i == 9) ? 2 : 0;
        EXPECT_EQ(type(i).scanMethodCount, expected) << i;
    }
    const std::pair<int, const char*> names[] = {
        {3, "Поиск РГЧ"},       {3, "Поиск ракет"},
        {3, "Поиск самолётов"}, {8, "Самостоятельный поиск"},
        {8, "Поиск ЦУ"},        {9, "Круговой поиск"},
        {9, "Секторный поиск"}};
    int method = 0;
    for (size_t k = 0; k < std::size(names); ++k) {
        method = (k > 0 && names[k].first == names[k - 1].first) ? method + 1 : 0;
        EXPECT_EQ(type(names[k].first).scanMethods[method].name, names[k].second);
    }
    const ScanMethod& rgch = type(3).scanMethods[0];
    EXPECT_EQ(rgch.sectorWidth, 45);
    EXPECT_EQ(rgch.elevationMin, 26);
    EXPECT_EQ(rgch.elevationMax, 75);
    EXPECT_EQ(rgch.scanRate, 7.5);
    EXPECT_EQ(type(3).scanMethods[1].scanRate, 6.25);
    EXPECT_EQ(type(8).scanMethods[0].elevationMax, 7);
    EXPECT_EQ(type(8).scanMethods[1].sectorWidth, 10);
    EXPECT_EQ(type(9).scanMethods[0].scanRate, 40.0);
    EXPECT_EQ(type(9).scanMethods[1].elevationMax, 40);
}

TEST_F(RadarCatalogTest, MethodOrModeOutsideTheList) {
    for (const int index : {-1, 3, 10}) {  // scan method: all zero
        EXPECT_EQ(scanMethodOf(type(3), index).sectorWidth, 0) << index;
        EXPECT_EQ(scanMethodOf(type(3), index).scanRate, 0.0) << index;
    }
    EXPECT_EQ(scanMethodOf(type(14), 0).scanRate, 0.0);  // "Шилка" has no methods
    EXPECT_EQ(scanMethodOf(type(9), 1).sectorWidth, 30);
    EXPECT_EQ(prfModeOf(type(2), 2).prf, 700);  // emission mode: the first
    EXPECT_EQ(prfModeOf(type(2), 3).prf, 200);
    EXPECT_EQ(prfModeOf(type(2), -1).prf, 200);
}

TEST_F(RadarCatalogTest, SamComplexes) {
    const char* names[] = {"СУРН ЗРК КУБ", "ЗРАК Тунгусска", "ЗРК Тор", "ЗРК Оса"};
    const int members[][2] = {{0, 1}, {4, 5}, {6, 7}, {12, 13}};
    for (int k = 0; k < 4; ++k) {
        const SamComplex& c = samComplex(k);
        EXPECT_EQ(c.name, names[k]);
        ASSERT_EQ(c.memberCount, 2);
        EXPECT_EQ(c.memberTypes[0], members[k][0]);
        EXPECT_EQ(c.memberTypes[1], members[k][1]);
    }
}

}  // namespace
}  // namespace prrsim
