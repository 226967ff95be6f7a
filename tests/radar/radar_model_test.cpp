#include "radar/radar_model.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <limits>
#include <vector>

#include "catalog/radar_catalog.h"
#include "world/world.h"

namespace prrsim {
namespace {

// Type indices used below.
constexpr int32_t kKubTracking = 0;  // fire control
constexpr int32_t kKubSearch = 1;    // rotation 15 (0.54 deg per tick)
constexpr int32_t kImbir = 3;        // multi-target
constexpr int32_t kBukSou = 8;       // search and track, sector raster
constexpr int32_t kBukSoc = 9;       // search, sector sweep
constexpr int32_t kShilka = 14;      // sector raster without scan methods

using Rows = std::vector<int32_t>;

// Counts the radar panel refreshes the core asks for.
class CountingObserver : public WorldObserver {
  public:
    void radarPanelRefresh(int32_t row) override { refreshed.push_back(row); }
    void missileDetonated(const ImpactEvent&) override {}
    void missileRemoved(int32_t) override {}
    Rows refreshed;
};

// What the antenna did over a run of updates.
struct Sweep {
    double low = 1e9;
    double high = -1e9;
    double maxElevation = -1e9;
    double maxStepError = 0;  // largest difference of a step from the expected step
    int wraps = 0;
    std::vector<double> reversalElevations;  // the elevation after each change of direction
};

class RadarSiteTest : public ::testing::Test {
  protected:
    void SetUp() override {
        world->observer = &observer;
        startEmptyWorld(*world);
    }

    int32_t addRadarAt(int32_t type, int32_t x = 300, int32_t y = 220) {
        EXPECT_EQ(addRadars(*world, type, -1, true), 1);
        const int32_t row = world->radarCount - 1;
        world->radars[row].x = x;
        world->radars[row].y = y;
        return row;
    }

    int32_t addAircraftAt(double x, double y, double altitude = 0) {
        const int32_t i = addAircraft(*world);
        world->aircraft[i].x = x;
        world->aircraft[i].y = y;
        world->aircraft[i].altitude = altitude;
        world->aircraft[i].speed = 0;
        return i;
    }

    void tick(int32_t row, int32_t times = 1) {
        for (int32_t i = 0; i < times; ++i) {
            updateRadar(*world, row);
        }
    }

    Sweep sweep(int32_t row, int32_t ticks, double step) {
        Sweep s;
        const RadarSite& r = radar(row);
        for (int32_t i = 0; i < ticks; ++i) {
            const double before = r.azimuth;
            const int32_t direction = r.scanDirection;
            tick(row);
            double moved = std::fabs(r.azimuth - before);
            if (moved > 180) {
                moved = 360 - moved;
                ++s.wraps;
            }
            s.maxStepError = std::max(s.maxStepError, std::fabs(moved - step));
            s.low = std::min(s.low, r.azimuth);
            s.high = std::max(s.high, r.azimuth);
            s.maxElevation = std::max(s.maxElevation, r.elevation);
            if (r.scanDirection != direction) {
                s.reversalElevations.push_back(r.elevation);
            }
        }
        return s;
    }

    RadarSite& radar(int32_t row) { return world->radars[row]; }
    Rows tracks(int32_t row) {
        return Rows(radar(row).trackList.begin(),
                    radar(row).trackList.begin() + radar(row).trackCount);
    }
    void expectNoTracking(int32_t row) {
        EXPECT_EQ(radar(row).trackCount, 0);
        EXPECT_EQ(radar(row).currentTarget, -1);
        EXPECT_FALSE(radar(row).captureActive);
    }

    std::unique_ptr<WorldState> world = makeWorld();
    CountingObserver observer;
};

// --- Rotation -------------------------------------------------------------------------------

// --- Blinking -------------------------------------------------------------------------------

// Choosing blink setting 0 ("steady") used to silence the radar until "Излучение" was switched
// off and on again.
TEST_F(RadarSiteTest, SteadyBlinkSettingDoesNotSilenceTheRadar) {
    const int32_t row = addRadarAt(kKubSearch);
    setBlinkPeriod(radar(row), 2);
    ASSERT_FALSE(radar(row).radiating);
    setBlinkPeriod(radar(row), 0);
    EXPECT_TRUE(radar(row).radiating);
    tick(row, 3000);
    EXPECT_TRUE(radar(row).radiating);

    // With its emission switched off the steady setting keeps it silent.
    setEmission(radar(row), false);
    setBlinkPeriod(radar(row), 0);
    EXPECT_FALSE(radar(row).radiating);
}

TEST_F(RadarSiteTest, EmissionOffStopsBlinking) {
    const int32_t row = addRadarAt(kKubSearch);
    setBlinkPeriod(radar(row), 1);
    setEmission(radar(row), false);
    radar(row).scanCount = 2;
    tick(row);
    EXPECT_FALSE(radar(row).radiating);
}

// --- Sector sweep (scan kind 3) and sector raster (scan kind 1) ----------------------------

// --- Following ------------------------------------------------------------------------------

// --- Multi-target tracking ------------------------------------------------------------------

class MultiTargetTest : public RadarSiteTest {
  protected:
    void SetUp() override {
        RadarSiteTest::SetUp();
        row = addRadarAt(kImbir, 300, 220);  // antenna direction 0: sector -60..60
        a0 = addAircraftAt(400, 220);        // bearing 360
        a1 = addAircraftAt(400, 250);        // bearing 16
        a2 = addAircraftAt(400, 190);        // bearing 343
        for (const int32_t a : {a0, a1, a2}) {
            assignTarget(*world, row, a);
        }
        observer.refreshed.clear();
    }
    int32_t row = 0, a0 = 0, a1 = 0, a2 = 0;
};

// --- Assign / remove / reset ----------------------------------------------------------------

// --- Panel operations -----------------------------------------------------------------------

TEST(RadarCompass, ClickOffsetGivesDirection) {
    const struct {
        int32_t dx, dy, degrees;
    } rows[] = {{20, 0, 360}, {0, 20, 90}, {-20, 0, 180}, {-20, 20, 134}, {20, 20, 45}};
    for (const auto& row : rows) {
        EXPECT_EQ(radarCompassDirection(row.dx, row.dy), row.degrees) << row.dx << "," << row.dy;
    }
}

}  // namespace
}  // namespace prrsim
