// The radar sites where the scenario traces do not reach: the "Бук, РЛС СОУ" raster, rate and
// method indices outside their lists, stale target indices, the multi-target sector's edges and
// list limits, and the panel refreshes the core asks for.
#include "radar/radar_model.h"

#include <gtest/gtest.h>

#include <limits>
#include <vector>

#include "catalog/radar_catalog.h"
#include "world/world.h"

namespace prrsim {
namespace {

// Type indices used below.
constexpr int32_t kKubTracking = 0;  // fire control
constexpr int32_t kKubSearch = 1;    // rotation 15 (0.54 deg per tick)
constexpr int32_t kImbir = 3;        // multi-target, sector 120, 16 tracks
constexpr int32_t kBukSou = 8;       // search and track, sector raster
constexpr int32_t kBukSoc = 9;       // search, sector sweep
constexpr int32_t kShilka = 14;      // sector raster without scan methods

using Rows = std::vector<int32_t>;

// Counts the radar panel refreshes the core asks for.
class CountingObserver : public WorldObserver {
  public:
    void radarPanelRefresh(int32_t row) override { refreshed.push_back(row); }
    void missileDetonated(const ImpactEvent&) override {}
    void missileWindowHide() override {}
    Rows refreshed;
};

class RadarSiteTest : public ::testing::Test {
  protected:
    void SetUp() override {
        world->observer = &observer;
        startEmptyWorld(*world);
    }

    int32_t addRadarAt(int32_t type, int32_t x = 300, int32_t y = 220) {
        EXPECT_EQ(addRadars(*world, type, -1, true), 1);
        world->radarPlaceMode = false;
        world->selectedRadar = -1;
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

    RadarSite& radar(int32_t row) { return world->radars[row]; }
    Rows tracks(int32_t row) {
        return Rows(radar(row).trackList.begin(),
                    radar(row).trackList.begin() + radar(row).trackCount);
    }

    std::unique_ptr<WorldState> world = makeWorld();
    CountingObserver observer;
};

TEST_F(RadarSiteTest, RotationStopsWhenSwitchedOffOrOutsideItsRateList) {
    const int32_t row = addRadarAt(kKubSearch);
    setEmission(radar(row), false);  // a silent antenna still turns
    tick(row);
    EXPECT_NEAR(radar(row).azimuth, 0.54, 1e-12);
    setRotation(radar(row), false);
    tick(row, 10);
    EXPECT_NEAR(radar(row).azimuth, 0.54, 1e-12);
    setRotation(radar(row), true);
    for (const int32_t index : {3, -1}) {
        radar(row).rotationRateIndex = index;
        tick(row, 5);
        EXPECT_NEAR(radar(row).azimuth, 0.54, 1e-12) << index;
    }
}

TEST_F(RadarSiteTest, BlinkSwitchRefreshesTheSelectedRadarNotTheBlinkingOne) {
    const int32_t other = addRadarAt(kKubTracking);
    const int32_t row = addRadarAt(kKubSearch);
    setBlinkPeriod(radar(row), 1);
    bool radiating = false;
    for (const int32_t selected : {other, -1, 5}) {  // another radar, none, beyond radarCount
        world->selectedRadar = selected;
        radar(row).azimuth = 359.9;
        tick(row);  // each turn switches: on, off, on
        radiating = !radiating;
        EXPECT_EQ(radar(row).radiating, radiating) << selected;
    }
    EXPECT_EQ(observer.refreshed, Rows{other});
    setEmission(radar(row), false);  // switched off, the blinking stops
    radar(row).scanCount = 2;
    tick(row);
    EXPECT_FALSE(radar(row).radiating);
}

TEST_F(RadarSiteTest, SectorScansWithoutAMethodStandStillAndTheScanCountSaturates) {
    const int32_t row = addRadarAt(kBukSoc);
    radar(row).scanMethod = 7;  // beyond the list: every method field 0
    tick(row, 10);
    EXPECT_EQ(radar(row).azimuth, 0);
    EXPECT_EQ(radar(row).elevation, 0);
    EXPECT_EQ(radar(row).scanCount, 10);
    radar(row).scanCount = std::numeric_limits<int32_t>::max();
    tick(row);
    EXPECT_EQ(radar(row).scanCount, std::numeric_limits<int32_t>::max());
    const int32_t shilka = addRadarAt(kShilka);
    radar(shilka).azimuth = 10;
    tick(shilka, 7);
    EXPECT_EQ(radar(shilka).azimuth, 10);
}

TEST_F(RadarSiteTest, OwnSearchRasterRaisesElevationAtEachReversal) {
    const int32_t row = addRadarAt(kBukSou);  // "Самостоятельный поиск": 120 wide, 30 deg/s
    std::vector<double> reversals;
    double low = 0;
    double high = 0;
    for (int32_t i = 0; i < 2500; ++i) {
        const int32_t direction = radar(row).scanDirection;
        tick(row);
        low = std::min(low, radar(row).azimuth);
        high = std::max(high, radar(row).azimuth);
        if (radar(row).scanDirection != direction) {
            reversals.push_back(radar(row).elevation);
        }
    }
    // One beam width (2.5) per reversal; 10 is above 7: back to 0.
    ASSERT_GE(reversals.size(), 5u);
    EXPECT_EQ(std::vector<double>(reversals.begin(), reversals.begin() + 5),
              (std::vector<double>{2.5, 5.0, 7.5, 0.0, 2.5}));
    // 60 degrees each side of direction 0, not wrapped.
    EXPECT_LT(low, -60);
    EXPECT_GT(low, -61.5);
    EXPECT_GT(high, 60);
    EXPECT_LT(high, 61.5);
}

TEST_F(RadarSiteTest, SearchAndTrackScansUntilCapturedThenFollows) {
    const int32_t row = addRadarAt(kBukSou, 300, 220);
    const int32_t a = addAircraftAt(300, 260);
    tick(row);
    EXPECT_NEAR(radar(row).azimuth, 0.3, 1e-12);
    assignTarget(*world, row, a);
    tick(row);
    EXPECT_EQ(radar(row).azimuth, 90);
    resetTracking(*world, row);
    tick(row);
    EXPECT_NEAR(radar(row).azimuth, 90.3, 1e-9);
    setRotation(radar(row), false);  // rotation off and no capture: idle
    tick(row);
    EXPECT_NEAR(radar(row).azimuth, 90.3, 1e-9);
}

TEST_F(RadarSiteTest, AStaleTargetIsNeitherFollowedNorRewritten) {
    const int32_t row = addRadarAt(kKubTracking);
    radar(row).azimuth = 33;
    addAircraftAt(350, 220);
    radar(row).currentTarget = 1;  // aircraftCount is 1
    tick(row, 5);
    EXPECT_EQ(radar(row).azimuth, 33);
    EXPECT_EQ(radar(row).currentTarget, 1);
}

// An "Имбирь" at (300, 220) facing east, three aircraft on its list.
class MultiTargetTest : public RadarSiteTest {
  protected:
    void SetUp() override {
        RadarSiteTest::SetUp();
        row = addRadarAt(kImbir, 300, 220);
        for (const int32_t y : {220, 250, 190}) {  // bearings 360, 16, 343
            assignTarget(*world, row, addAircraftAt(400, y));
        }
        observer.refreshed.clear();
    }
    int32_t row = 0;
};

TEST_F(MultiTargetTest, AssignAppendsWithinTheSectorUpToSixteenWithoutCapturing) {
    EXPECT_EQ(tracks(row), (Rows{0, 1, 2}));
    EXPECT_FALSE(radar(row).captureActive);
    // Duplicates and aircraft outside the sector are refused without a refresh.
    assignTarget(*world, row, 1);
    assignTarget(*world, row, addAircraftAt(200, 220));       // bearing 180
    assignTarget(*world, row, addAircraftAt(310, 220 + 19));  // bearing 62
    EXPECT_TRUE(observer.refreshed.empty());
    const int32_t edge = addAircraftAt(310, 220 + 18);  // bearing 60.9 -> 60: accepted
    assignTarget(*world, row, edge);
    EXPECT_EQ(tracks(row), (Rows{0, 1, 2, edge}));
    EXPECT_EQ(observer.refreshed, Rows{row});
    for (int i = 0; i < 20; ++i) {
        assignTarget(*world, row, addAircraftAt(400, 221 + i));
    }
    EXPECT_EQ(radar(row).trackCount, 16);
}

TEST_F(MultiTargetTest, DropsWhatLeavesTheSectorSkipsStaleEntriesAndScansWhenEmpty) {
    radar(row).captureActive = true;
    radar(row).trackList[2] = 9;  // no such aircraft: skipped, not rewritten
    world->aircraft[1].x = 310;   // bearing 71: out of the sector
    tick(row);
    EXPECT_EQ(tracks(row), (Rows{0, 9}));
    EXPECT_EQ(observer.refreshed, Rows{row});
    tick(row, 150);
    EXPECT_EQ(radar(row).currentTarget, 9);
    EXPECT_EQ(radar(row).azimuth, 360);     // still on aircraft 0
    removeTrackedAircraft(*world, row, 5);  // outside the list: nothing
    removeTrackedAircraft(*world, row, 1);
    removeTrackedAircraft(*world, row, 0);
    EXPECT_EQ(radar(row).trackCount, 0);
    EXPECT_EQ(radar(row).trackCursor, -1);
    EXPECT_FALSE(radar(row).captureActive);
    const double azimuth = radar(row).azimuth;
    tick(row);
    EXPECT_NE(radar(row).azimuth, azimuth);  // scanning again
}

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
