#include "catalog/radar_catalog.h"

#include <gtest/gtest.h>

#include <string>

#include "sim/number_text.h"

namespace prrsim {
namespace {

// --- Number text ---------------------------------------------------------------------------

struct RealCase {
    double value;
    const char* comma;
};

class FormatRealRows : public ::testing::TestWithParam<RealCase> {};

TEST_P(FormatRealRows, FixedPointFifteenDigitsNoTrailingZeros) {
    const RealCase& c = GetParam();
    EXPECT_EQ(formatReal(c.value, ','), c.comma);
    std::string dotted = c.comma;
    for (char& ch : dotted) {
        if (ch == ',') {
            ch = '.';
        }
    }
    EXPECT_EQ(formatReal(c.value, '.'), dotted);
}

INSTANTIATE_TEST_SUITE_P(
    Examples, FormatRealRows,
    ::testing::Values(RealCase{225.0 / 965.0, "0,233160621761658"},
                      RealCase{0.15 * 100.0, "15"},  // 15.000000000000002
                      RealCase{0.1 * 100.0, "10"}, RealCase{0.05 * 100.0, "5"},
                      RealCase{11.6 / 10.0, "1,16"}, RealCase{0.07, "0,07"},
                      RealCase{0.07 / 1.0, "0,07"}, RealCase{0.0, "0"}, RealCase{-0.0, "0"},
                      RealCase{225.0, "225"}, RealCase{9562.0, "9562"}, RealCase{1.0e-5, "0,00001"},
                      RealCase{-2.5, "-2,5"}, RealCase{0.1 + 0.2, "0,3"},
                      RealCase{123456789012345.0, "123456789012345"},
                      RealCase{1.0e20, "100000000000000000000"}, RealCase{0.9999999999999999, "1"},
                      RealCase{2.0 / 3.0, "0,666666666666667"}, RealCase{8986.5, "8986,5"}));

// --- Catalogue -----------------------------------------------------------------------------

class RadarCatalogTest : public ::testing::Test {
  protected:
    const RadarCatalog& cat = radarCatalog();
    const RadarType& type(int i) const { return cat.types[i]; }
};

TEST_F(RadarCatalogTest, CountsAndOrder) {
    EXPECT_EQ(cat.radarTypeCount, 20);
    EXPECT_EQ(cat.samComplexCount, 4);
    EXPECT_EQ(radarTypeCount(), 20);
    EXPECT_EQ(samComplexCount(), 4);
    EXPECT_EQ(type(0).name, "Куб, РЛС сопровождения 1С31");
    EXPECT_EQ(type(3).name, "РЛС 'Имбирь'");
    EXPECT_EQ(type(4).name, "Тунгусска, РЛС сопровождения");
    EXPECT_EQ(type(8).name, "Бук, РЛС СОУ");
    EXPECT_EQ(type(14).name, "Шилка");
    EXPECT_EQ(type(15).name, "55Ж6");
    EXPECT_EQ(type(16).name, "1Л13");
    EXPECT_EQ(type(17).name, "С-200, РПЦ");
    EXPECT_EQ(type(18).name, "Hawk MPQ-48");
    EXPECT_EQ(type(19).name, "Hawk MPQ-51");
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
                                           IdentityRow{5, 0, 0, 0, 5.0, 15.0, -28, 1, 60, 0, 0},
                                           IdentityRow{7, 0, 1, 2, 5.0, 15.0, -27, 1, 60, 0, 0},
                                           IdentityRow{8, 1, 2, 1, 1.3, 2.5, -39, 0, 0, 0, 0},
                                           IdentityRow{9, 0, 2, 3, 1.3, 2.5, -39, 0, 0, 0, 3},
                                           IdentityRow{11, 0, 2, 0, 4.5, 35.0, -26, 1, 10, 0, 0},
                                           IdentityRow{12, 4, 1, 0, 1.0, 27.0, -30, 0, 0, 0, 0},
                                           IdentityRow{13, 0, 1, 2, 1.0, 27.0, -25, 1, 60, 0, 0},
                                           IdentityRow{14, 1, 0, 1, 4.5, 5.0, -25, 0, 0, 0, 0},
                                           IdentityRow{15, 0, 5, 0, 6.0, 16.0, -18, 2, 6, 3, 2},
                                           IdentityRow{16, 0, 5, 0, 6.0, 30.0, -22, 2, 6, 3, 2},
                                           IdentityRow{17, 4, 3, 0, 0.7, 0.7, -27, 0, 0, 0, 0},
                                           IdentityRow{18, 0, 4, 0, 3.5, 22.0, -25, 2, 12, 6, 2},
                                           IdentityRow{19, 4, 2, 0, 2.5, 2.5, -37, 0, 0, 0, 0}));

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
                                           EmissionRow{1, 'G', 4700, 5300, 600000, 1, '\0', 0},
                                           EmissionRow{2, 'C', 800, 950, 380000, 3, '\0', 0},
                                           EmissionRow{3, 'G', 4800, 6300, 100000, 3, '\0', 0},
                                           EmissionRow{4, 'K', 18000, 27000, 150000, 1, '\0', 0},
                                           EmissionRow{6, 'J', 17000, 22500, 7900, 1, '\0', 0},
                                           EmissionRow{8, 'I', 8500, 8900, 600, 3, 'I', 2000},
                                           EmissionRow{9, 'F', 2800, 3600, 129000, 1, '\0', 0},
                                           EmissionRow{10, 'H', 6000, 6500, 600000, 1, 'I', 3500},
                                           EmissionRow{11, 'D', 1100, 1600, 900000, 1, '\0', 0},
                                           EmissionRow{15, 'A', 160, 220, 200000, 2, '\0', 0},
                                           EmissionRow{16, 'A', 180, 230, 120000, 1, '\0', 0},
                                           EmissionRow{17, 'G', 4500, 6200, 10000, 1, '\0', 0},
                                           EmissionRow{18, 'H', 6200, 7500, 7200, 1, '\0', 0},
                                           EmissionRow{19, 'J', 17000, 25000, 120000, 1, '\0', 0}));

TEST_F(RadarCatalogTest, OnlyTypesZeroEightTenHaveIlluminators) {
    for (int i = 0; i < 20; ++i) {
        const bool expected = (i == 0 || i == 8 || i == 10);
        EXPECT_EQ(type(i).hasIlluminator, expected) << i;
        if (!expected) {
            EXPECT_EQ(type(i).illuminatorBand, '\0') << i;
            EXPECT_EQ(type(i).illuminatorPower, 0.0) << i;
        }
    }
}

TEST_F(RadarCatalogTest, IlluminationModeIsAllZeroContinuousWave) {
    for (int i = 0; i < 20; ++i) {
        const PrfMode& m = type(i).illuminationMode;
        EXPECT_FALSE(m.pulsed) << i;
        EXPECT_EQ(m.prf, 0) << i;
        EXPECT_EQ(m.pulseWidth, 0.0) << i;
        EXPECT_EQ(m.compression, 0.0) << i;
        EXPECT_EQ(m.wobble, 0.0) << i;
    }
}

TEST_F(RadarCatalogTest, OnlyTheImbirIsMultiTarget) {
    EXPECT_EQ(type(3).maxTracks, 16);
    EXPECT_EQ(type(3).trackSwitchRate, 1.0);
    EXPECT_EQ(type(3).trackSectorWidth, 120);
    for (int i = 0; i < 20; ++i) {
        if (i != 3) {
            EXPECT_EQ(type(i).maxTracks, 0) << i;
            EXPECT_EQ(type(i).trackSwitchRate, 0.0) << i;
            EXPECT_EQ(type(i).trackSectorWidth, 0) << i;
        }
    }
}

TEST_F(RadarCatalogTest, PrfModesExactNumbers) {
    const PrfMode& imbir0 = type(3).prfModes[0];
    EXPECT_EQ(imbir0.prf, 950);
    EXPECT_EQ(imbir0.pulseWidth, 225.0);
    EXPECT_EQ(imbir0.compression, 965.0);
    EXPECT_EQ(imbir0.wobble, 0.0);
    EXPECT_TRUE(imbir0.pulsed);
    const PrfMode& imbir2 = type(3).prfModes[2];
    EXPECT_EQ(imbir2.prf, 1100);
    EXPECT_EQ(imbir2.pulseWidth, 33.0);
    EXPECT_EQ(imbir2.compression, 67.0);

    const PrfMode& buk1 = type(8).prfModes[1];
    EXPECT_EQ(buk1.prf, 130000);
    EXPECT_EQ(buk1.pulseWidth, 1.16);
    EXPECT_EQ(buk1.wobble, 0.05);

    const PrfMode& p15 = type(15).prfModes[1];
    EXPECT_EQ(p15.prf, 40);
    EXPECT_EQ(p15.pulseWidth, 43.0);
    EXPECT_EQ(p15.compression, 13.0);
    EXPECT_EQ(p15.wobble, 0.1);

    for (int mode = 0; mode < 3; ++mode) {
        EXPECT_EQ(type(2).prfModes[mode].pulseWidth, 2.0);
    }
    EXPECT_EQ(type(2).prfModes[0].prf, 200);
    EXPECT_EQ(type(2).prfModes[1].prf, 500);
    EXPECT_EQ(type(2).prfModes[2].prf, 700);
    EXPECT_EQ(type(0).prfModes[0].pulseWidth, 0.07);
    EXPECT_EQ(type(1).prfModes[0].pulseWidth, 1.2);
    EXPECT_EQ(type(4).prfModes[0].pulseWidth, 0.015);

    // Continuous-wave types.
    EXPECT_FALSE(type(17).prfModes[0].pulsed);
    EXPECT_FALSE(type(18).prfModes[0].pulsed);
    const PrfMode& hawk51 = type(19).prfModes[0];
    EXPECT_FALSE(hawk51.pulsed);
    EXPECT_EQ(hawk51.prf, 1600);
    EXPECT_EQ(hawk51.pulseWidth, 0.6);
    EXPECT_EQ(hawk51.compression, 0.0);
    for (int i = 0; i < 17; ++i) {
        for (int m = 0; m < type(i).prfModeCount; ++m) {
            EXPECT_TRUE(type(i).prfModes[m].pulsed) << i << "/" << m;
        }
    }
}

TEST_F(RadarCatalogTest, ScanMethodsOnlyForImbirBukSouAndBukSoc) {
    for (int i = 0; i < 20; ++i) {
        const int expected = i == 3 ? 3 : (i == 8 || i == 9) ? 2 : 0;
        EXPECT_EQ(type(i).scanMethodCount, expected) << i;
    }
    const ScanMethod& rgch = type(3).scanMethods[0];
    EXPECT_EQ(rgch.name, "Поиск РГЧ");
    EXPECT_EQ(rgch.sectorWidth, 45);
    EXPECT_EQ(rgch.elevationMin, 26);
    EXPECT_EQ(rgch.elevationMax, 75);
    EXPECT_EQ(rgch.scanRate, 7.5);
    EXPECT_EQ(type(3).scanMethods[1].name, "Поиск ракет");
    EXPECT_EQ(type(3).scanMethods[1].elevationMin, 9);
    EXPECT_EQ(type(3).scanMethods[1].scanRate, 6.25);
    EXPECT_EQ(type(3).scanMethods[2].name, "Поиск самолётов");
    EXPECT_EQ(type(3).scanMethods[2].elevationMin, 0);

    EXPECT_EQ(type(8).scanMethods[0].name, "Самостоятельный поиск");
    EXPECT_EQ(type(8).scanMethods[0].sectorWidth, 120);
    EXPECT_EQ(type(8).scanMethods[0].elevationMax, 7);
    EXPECT_EQ(type(8).scanMethods[0].scanRate, 30.0);
    EXPECT_EQ(type(8).scanMethods[1].name, "Поиск ЦУ");
    EXPECT_EQ(type(8).scanMethods[1].sectorWidth, 10);
    EXPECT_EQ(type(8).scanMethods[1].scanRate, 5.0);

    EXPECT_EQ(type(9).scanMethods[0].name, "Круговой поиск");
    EXPECT_EQ(type(9).scanMethods[0].sectorWidth, 360);
    EXPECT_EQ(type(9).scanMethods[0].scanRate, 40.0);
    EXPECT_EQ(type(9).scanMethods[1].name, "Секторный поиск");
    EXPECT_EQ(type(9).scanMethods[1].sectorWidth, 30);
    EXPECT_EQ(type(9).scanMethods[1].elevationMax, 40);
    EXPECT_EQ(type(9).scanMethods[1].scanRate, 12.0);
}

TEST_F(RadarCatalogTest, ScanMethodOfOutsideTheListIsAllZero) {
    for (const int index : {-1, 3, 10}) {
        const ScanMethod& m = scanMethodOf(type(3), index);
        EXPECT_EQ(m.sectorWidth, 0) << index;
        EXPECT_EQ(m.scanRate, 0.0) << index;
        EXPECT_EQ(m.elevationMax, 0) << index;
    }
    EXPECT_EQ(scanMethodOf(type(14), 0).scanRate, 0.0);  // "Шилка" has no methods
    EXPECT_EQ(scanMethodOf(type(9), 1).sectorWidth, 30);
}

TEST_F(RadarCatalogTest, PrfModeOfOutsideTheListIsTheFirstMode) {
    EXPECT_EQ(prfModeOf(type(2), 2).prf, 700);
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

// --- Labels ----------------------------------------------------------------------------------

struct LabelRow {
    int type;
    int mode;
    const char* comma;
    const char* dot;
};

class PrfLabelRows : public ::testing::TestWithParam<LabelRow> {};

TEST_P(PrfLabelRows, LabelWithEitherSeparator) {
    const LabelRow& row = GetParam();
    const PrfMode& mode = radarType(row.type).prfModes[row.mode];
    EXPECT_EQ(prfModeLabel(mode, ','), row.comma);
    EXPECT_EQ(prfModeLabel(mode, '.'), row.dot);
}

INSTANTIATE_TEST_SUITE_P(
    Examples, PrfLabelRows,
    ::testing::Values(
        LabelRow{0, 0, "1850Гц  (15%) 0,07мкс (0,07 мкс)", "1850Гц  (15%) 0.07мкс (0.07 мкс)"},
        LabelRow{1, 0, "1200Гц  (10%) 1,2мкс (1,2 мкс)", "1200Гц  (10%) 1.2мкс (1.2 мкс)"},
        LabelRow{2, 1, "500Гц  (0%) 2мкс (2 мкс)", "500Гц  (0%) 2мкс (2 мкс)"},
        LabelRow{3, 0, "950Гц  (0%) 225мкс (0,233160621761658 мкс)",
                 "950Гц  (0%) 225мкс (0.233160621761658 мкс)"},
        LabelRow{8, 1, "130000Гц  (5%) 1,16мкс (1,16 мкс)", "130000Гц  (5%) 1.16мкс (1.16 мкс)"},
        LabelRow{8, 2, "130000Гц  (5%) 11,6мкс (1,16 мкс)", "130000Гц  (5%) 11.6мкс (1.16 мкс)"},
        LabelRow{9, 0, "750Гц  (10%) 36мкс (1,8 мкс)", "750Гц  (10%) 36мкс (1.8 мкс)"},
        LabelRow{15, 1, "40Гц  (10%) 43мкс (3,30769230769231 мкс)",
                 "40Гц  (10%) 43мкс (3.30769230769231 мкс)"},
        LabelRow{17, 0, "0Гц  (0%) CW", "0Гц  (0%) CW"},
        LabelRow{18, 0, "0Гц  (0%) CW", "0Гц  (0%) CW"},
        LabelRow{19, 0, "1600Гц  (0%) CW", "1600Гц  (0%) CW"}));

}  // namespace
}  // namespace prrsim
