#include "ui/number_text.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>

#include "catalog/radar_catalog.h"

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
    std::replace(dotted.begin(), dotted.end(), ',', '.');
    EXPECT_EQ(formatReal(c.value, '.'), dotted);
}

INSTANTIATE_TEST_SUITE_P(
    Examples, FormatRealRows,
    ::testing::Values(RealCase{225.0 / 965.0, "0,233160621761658"},
                      RealCase{0.15 * 100.0, "15"},  // 15.000000000000002
                      RealCase{11.6 / 10.0, "1,16"}, RealCase{0.07, "0,07"}, RealCase{-0.0, "0"},
                      RealCase{9562.0, "9562"}, RealCase{1.0e-5, "0,00001"}, RealCase{-2.5, "-2,5"},
                      RealCase{0.1 + 0.2, "0,3"}, RealCase{123456789012345.0, "123456789012345"},
                      RealCase{1.0e20, "100000000000000000000"}, RealCase{0.9999999999999999, "1"},
                      RealCase{2.0 / 3.0, "0,666666666666667"},
                      RealCase{123456789012345678.0, "123456789012346000"}));

// --- Labels ----------------------------------------------------------------------------------

struct LabelRow {
    int type;
    int mode;
    const char* comma;
};

class PrfLabelRows : public ::testing::TestWithParam<LabelRow> {};

// The same label with a point wherever the comma separator stands.
TEST_P(PrfLabelRows, LabelWithEitherSeparator) {
    const LabelRow& row = GetParam();
    const PrfMode& mode = radarType(row.type).prfModes[row.mode];
    EXPECT_EQ(prfModeLabel(mode, ','), row.comma);
    std::string dotted = row.comma;
    std::replace(dotted.begin(), dotted.end(), ',', '.');
    EXPECT_EQ(prfModeLabel(mode, '.'), dotted);
}

INSTANTIATE_TEST_SUITE_P(
    Examples, PrfLabelRows,
    ::testing::Values(LabelRow{0, 0, "1850Гц  (15%) 0,07мкс (0,07 мкс)"},
                      LabelRow{1, 0, "1200Гц  (10%) 1,2мкс (1,2 мкс)"},
                      LabelRow{3, 0, "950Гц  (0%) 225мкс (0,233160621761658 мкс)"},
                      LabelRow{8, 1, "130000Гц  (5%) 1,16мкс (1,16 мкс)"},
                      LabelRow{8, 2, "130000Гц  (5%) 11,6мкс (1,16 мкс)"},
                      LabelRow{15, 1, "40Гц  (10%) 43мкс (3,30769230769231 мкс)"},
                      LabelRow{17, 0, "0Гц  (0%) CW"}, LabelRow{18, 0, "0Гц  (0%) CW"},
                      LabelRow{19, 0, "1600Гц  (0%) CW"}));

}  // namespace
}  // namespace prrsim
