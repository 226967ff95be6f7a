#include "radar/radar_site.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <vector>

#include "catalog/radar_catalog.h"
#include "sim/world.h"

namespace prrsim {
namespace {

// Type indices used below.
constexpr int32_t kKubTracking = 0;  // fire control
constexpr int32_t kKubSearch = 1;    // rotation 15 (0.54 deg per tick)
constexpr int32_t kImbir = 3;        // multi-target
constexpr int32_t kBukSou = 8;       // search and track, sector raster
constexpr int32_t kBukSoc = 9;       // search, sector sweep
constexpr int32_t kShilka = 14;      // sector raster without scan methods

// Counts the radar panel refreshes the core asks for.
class CountingObserver : public WorldObserver {
  public:
    void radarPanelRefresh(int32_t row) override { refreshed.push_back(row); }
    void missileDetonated(const ImpactEvent&) override {}
    void missileWindowHide() override {}
    std::vector<int32_t> refreshed;
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
        Aircraft& a = world->aircraft[i];
        a.x = x;
        a.y = y;
        a.altitude = altitude;
        a.speed = 0;
        return i;
    }

    void tick(int32_t row, int32_t times = 1) {
        for (int32_t i = 0; i < times; ++i) {
            updateRadar(*world, row);
        }
    }

    RadarSite& radar(int32_t row) { return world->radars[row]; }

    std::unique_ptr<WorldState> world = makeWorld();
    CountingObserver observer;
};

// --- Rotation -------------------------------------------------------------------------------

TEST_F(RadarSiteTest, RotationTurnsPointFiftyFourDegreesPerTick) {
    const int32_t row = addRadarAt(kKubSearch);
    tick(row);
    EXPECT_NEAR(radar(row).azimuth, 0.54, 1e-12);
    EXPECT_EQ(radar(row).elevation, 0);
    tick(row, 665);
    EXPECT_NEAR(radar(row).azimuth, 359.64, 1e-9);
    EXPECT_EQ(radar(row).scanCount, 0);
    tick(row);  // the 667th tick completes the turn
    EXPECT_NEAR(radar(row).azimuth, 0.18, 1e-9);
    EXPECT_EQ(radar(row).scanCount, 1);
}

TEST_F(RadarSiteTest, CrossingThreeSixtyKeepsTheExcessAndCountsOneScan) {
    const int32_t row = addRadarAt(kKubSearch);
    radar(row).azimuth = 359.76;
    radar(row).scanCount = 4;
    tick(row);
    EXPECT_NEAR(radar(row).azimuth, 0.3, 1e-9);
    EXPECT_EQ(radar(row).scanCount, 5);
}

TEST_F(RadarSiteTest, RotationStopsWhereItIsWhenSwitchedOff) {
    const int32_t row = addRadarAt(kKubSearch);
    tick(row, 10);
    const double azimuth = radar(row).azimuth;
    setRotation(radar(row), false);
    tick(row, 10);
    EXPECT_EQ(radar(row).azimuth, azimuth);
}

TEST_F(RadarSiteTest, EmissionOffStillMovesTheAntenna) {
    const int32_t row = addRadarAt(kKubSearch);
    setEmission(radar(row), false);
    tick(row);
    EXPECT_NEAR(radar(row).azimuth, 0.54, 1e-12);
    EXPECT_FALSE(radar(row).radiating);
}

TEST_F(RadarSiteTest, RotationIndexOutsideTheListTurnsNothing) {
    const int32_t row = addRadarAt(kKubSearch);
    radar(row).rotationRateIndex = 3;
    tick(row, 5);
    EXPECT_EQ(radar(row).azimuth, 0);
    radar(row).rotationRateIndex = -1;
    tick(row, 5);
    EXPECT_EQ(radar(row).azimuth, 0);
}

// --- Blinking -------------------------------------------------------------------------------

class BlinkTest : public RadarSiteTest {
  protected:
    // The radiating state during each turn of a rotating radar; fails if it changes mid-turn.
    std::vector<bool> radiatingPerTurn(int32_t row, size_t turns) {
        RadarSite& r = radar(row);
        std::vector<bool> result;
        bool current = r.radiating;
        while (result.size() < turns) {
            const double before = r.azimuth;
            tick(row);
            if (r.azimuth < before) {  // this tick wrapped: the state now is the new turn's
                result.push_back(current);
                current = r.radiating;
            } else {
                EXPECT_EQ(r.radiating, current) << "changed mid-turn";
            }
        }
        return result;
    }
};

TEST_F(BlinkTest, SettingTwoRadiatesOneTurnInThree) {
    const int32_t row = addRadarAt(kKubSearch);
    world->selectedRadar = row;
    setBlinkPeriod(radar(row), 2);
    EXPECT_FALSE(radar(row).radiating);
    EXPECT_EQ(radar(row).scanCount, 1);
    const std::vector<bool> turns = radiatingPerTurn(row, 9);
    // Silent until the second pass through 360, then one turn on, two off.
    const std::vector<bool> expected = {false, false, true, false, false, true, false, false, true};
    EXPECT_EQ(turns, expected);
    // Each switch (on at passes 2, 5, 8; off at passes 3, 6, 9) refreshed the selected radar.
    EXPECT_EQ(observer.refreshed, std::vector<int32_t>(6, row));
}

TEST_F(BlinkTest, SwitchRefreshesTheSelectedRadarNotTheBlinkingOne) {
    const int32_t other = addRadarAt(kKubTracking);
    const int32_t row = addRadarAt(kKubSearch);
    world->selectedRadar = other;
    setBlinkPeriod(radar(row), 1);
    radar(row).azimuth = 359.9;
    tick(row);  // scanCount 2 = period + 1: radiation on
    EXPECT_TRUE(radar(row).radiating);
    EXPECT_EQ(observer.refreshed, std::vector<int32_t>{other});
}

TEST_F(BlinkTest, NoRefreshWithoutSelection) {
    const int32_t row = addRadarAt(kKubSearch);
    world->selectedRadar = -1;
    setBlinkPeriod(radar(row), 1);
    radar(row).azimuth = 359.9;
    tick(row);
    EXPECT_TRUE(radar(row).radiating);
    EXPECT_TRUE(observer.refreshed.empty());
    world->selectedRadar = 5;  // beyond radarCount: no radar is selected
    radar(row).azimuth = 359.9;
    tick(row);
    EXPECT_FALSE(radar(row).radiating);
    EXPECT_TRUE(observer.refreshed.empty());
}

TEST_F(BlinkTest, SettingZeroStaysSilentUntilEmissionIsSwitchedAgain) {
    const int32_t row = addRadarAt(kKubSearch);
    setBlinkPeriod(radar(row), 0);
    EXPECT_FALSE(radar(row).radiating);
    tick(row, 3000);
    EXPECT_FALSE(radar(row).radiating);
    setEmission(radar(row), false);
    setEmission(radar(row), true);
    EXPECT_TRUE(radar(row).radiating);
    tick(row, 3000);
    EXPECT_TRUE(radar(row).radiating);
}

TEST_F(BlinkTest, EmissionOffStopsBlinking) {
    const int32_t row = addRadarAt(kKubSearch);
    setBlinkPeriod(radar(row), 1);
    setEmission(radar(row), false);
    radar(row).scanCount = 2;
    tick(row);
    EXPECT_FALSE(radar(row).radiating);
}

TEST_F(BlinkTest, SectorSweepBlinksPerTick) {
    const int32_t row = addRadarAt(kBukSoc);
    setBlinkPeriod(radar(row), 3);
    std::vector<bool> states;
    for (int i = 0; i < 12; ++i) {
        tick(row);
        states.push_back(radar(row).radiating);
    }
    // One tick in four.
    const std::vector<bool> expected = {false, false, true,  false, false, false,
                                        true,  false, false, false, true,  false};
    EXPECT_EQ(states, expected);
}

// --- Sector sweep (scan kind 3) -----------------------------------------------------------

TEST_F(RadarSiteTest, SectorSearchSwingsSixtyToOneTwentyWithElevationSweep) {
    const int32_t row = addRadarAt(kBukSoc);
    setScanMethod(radar(row), 1);  // "Секторный поиск", 30 degrees
    setAntennaDirection(radar(row), 90);
    EXPECT_FALSE(radar(row).inSector);

    // Elevation climbs 1.92 per tick from 0 and falls back to 0 above 40.
    for (int k = 1; k <= 20; ++k) {
        tick(row);
        EXPECT_NEAR(radar(row).elevation, 1.92 * k, 1e-9) << k;
        EXPECT_NEAR(radar(row).azimuth, 0.12 * k, 1e-9) << k;
    }
    tick(row);
    EXPECT_EQ(radar(row).elevation, 0);

    // Comes into the sector from 0 degrees, then swings between about 60 and 120.
    tick(row, 1000);
    EXPECT_TRUE(radar(row).inSector);
    double low = 360;
    double high = 0;
    int reversals = 0;
    int32_t direction = radar(row).scanDirection;
    for (int i = 0; i < 3000; ++i) {
        const double before = radar(row).azimuth;
        tick(row);
        EXPECT_NEAR(std::fabs(radar(row).azimuth - before), 0.12, 1e-9);
        low = std::min(low, radar(row).azimuth);
        high = std::max(high, radar(row).azimuth);
        if (radar(row).scanDirection != direction) {
            ++reversals;
            direction = radar(row).scanDirection;
        }
    }
    EXPECT_GT(low, 58.8);
    EXPECT_LT(low, 60);
    EXPECT_GT(high, 120);
    EXPECT_LT(high, 121.2);
    EXPECT_GE(reversals, 5);
    EXPECT_EQ(radar(row).scanCount, 4021);  // one scan per tick
}

TEST_F(RadarSiteTest, CircularSearchNeverReverses) {
    const int32_t row = addRadarAt(kBukSoc);  // method 0, "Круговой поиск"
    int wraps = 0;
    for (int i = 0; i < 3000; ++i) {
        const double before = radar(row).azimuth;
        tick(row);
        EXPECT_EQ(radar(row).scanDirection, 1);
        if (radar(row).azimuth < before) {
            ++wraps;
            EXPECT_NEAR(radar(row).azimuth + 360 - before, 0.4, 1e-9);
        } else {
            EXPECT_NEAR(radar(row).azimuth - before, 0.4, 1e-9);
        }
        EXPECT_LE(radar(row).elevation, 40);
    }
    EXPECT_EQ(wraps, 3);  // 1200 degrees
}

TEST_F(RadarSiteTest, SectorSweepWithoutMethodStandsStill) {
    const int32_t row = addRadarAt(kBukSoc);
    radar(row).scanMethod = 7;  // beyond the list: every method field 0
    tick(row, 10);
    EXPECT_EQ(radar(row).azimuth, 0);
    EXPECT_EQ(radar(row).elevation, 0);
    EXPECT_EQ(radar(row).scanCount, 10);
}

TEST_F(RadarSiteTest, SectorSweepScanCountSaturates) {
    const int32_t row = addRadarAt(kBukSoc);
    radar(row).scanCount = std::numeric_limits<int32_t>::max();
    tick(row);
    EXPECT_EQ(radar(row).scanCount, std::numeric_limits<int32_t>::max());
}

// --- Sector raster (scan kind 1) -----------------------------------------------------------

TEST_F(RadarSiteTest, OwnSearchRasterRaisesElevationAtEachReversal) {
    const int32_t row = addRadarAt(kBukSou);  // "Самостоятельный поиск": 120 wide, 30 deg/s
    tick(row);
    EXPECT_NEAR(radar(row).azimuth, 0.3, 1e-12);
    std::vector<double> elevations;
    double low = 0;
    double high = 0;
    int32_t direction = radar(row).scanDirection;
    for (int i = 0; i < 5000 && elevations.size() < 5; ++i) {
        tick(row);
        low = std::min(low, radar(row).azimuth);
        high = std::max(high, radar(row).azimuth);
        if (radar(row).scanDirection != direction) {
            direction = radar(row).scanDirection;
            elevations.push_back(radar(row).elevation);
        }
    }
    ASSERT_EQ(elevations.size(), 5u);
    EXPECT_EQ(elevations[0], 2.5);
    EXPECT_EQ(elevations[1], 5.0);
    EXPECT_EQ(elevations[2], 7.5);
    EXPECT_EQ(elevations[3], 0.0);  // 10 is above 7
    EXPECT_EQ(elevations[4], 2.5);
    // 60 degrees each side of direction 0, not wrapped.
    EXPECT_LT(low, -60);
    EXPECT_GT(low, -61.5);
    EXPECT_GT(high, 60);
    EXPECT_LT(high, 61.5);
    EXPECT_EQ(radar(row).scanCount, 0);
}

TEST_F(RadarSiteTest, RasterComesBackIntoItsSectorAfterADirectionChange) {
    const int32_t row = addRadarAt(kBukSou);
    tick(row, 100);  // azimuth 30, inside the old sector
    setAntennaDirection(radar(row), 180);
    EXPECT_FALSE(radar(row).inSector);
    // The beam travels on towards the new sector instead of jittering in place.
    double high = 0;
    double low = 360;
    for (int i = 0; i < 4000; ++i) {
        tick(row);
        if (i > 1000) {
            low = std::min(low, radar(row).azimuth);
        }
        high = std::max(high, radar(row).azimuth);
    }
    EXPECT_TRUE(radar(row).inSector);
    EXPECT_GT(high, 240);
    EXPECT_LT(high, 241.5);
    EXPECT_GT(low, 118.5);
    EXPECT_LT(low, 120);
}

TEST_F(RadarSiteTest, ShilkaWithoutMethodsStaysAtZeroElevation) {
    const int32_t row = addRadarAt(kShilka);
    radar(row).azimuth = 10;
    tick(row, 7);
    EXPECT_EQ(radar(row).azimuth, 10);
    EXPECT_EQ(radar(row).elevation, 0);
}

// --- Following ------------------------------------------------------------------------------

TEST_F(RadarSiteTest, FireControlWithoutTargetKeepsItsAntennaStill) {
    const int32_t row = addRadarAt(kKubTracking);
    radar(row).azimuth = 33;
    radar(row).elevation = 4;
    tick(row, 50);
    EXPECT_EQ(radar(row).azimuth, 33);
    EXPECT_EQ(radar(row).elevation, 4);
}

TEST_F(RadarSiteTest, FireControlFollowsInWholeDegrees) {
    const int32_t row = addRadarAt(kKubTracking, 300, 220);
    const int32_t east = addAircraftAt(350, 220, 10);
    const int32_t diagonal = addAircraftAt(310, 230, 10);
    setRotation(radar(row), false);  // a fire-control radar follows whatever its rotation switch

    assignTarget(*world, row, east);
    EXPECT_TRUE(radar(row).captureActive);
    EXPECT_EQ(radar(row).currentTarget, east);
    tick(row);
    EXPECT_EQ(radar(row).azimuth, 360);
    EXPECT_EQ(radar(row).elevation, 11);  // atan(10 / 50) = 11.3 degrees

    assignTarget(*world, row, diagonal);
    tick(row);
    EXPECT_EQ(radar(row).azimuth, 45);
    EXPECT_EQ(radar(row).elevation, 35);  // atan(10 / 14.14) = 35.3 degrees
    EXPECT_EQ(observer.refreshed, (std::vector<int32_t>{row, row}));
}

TEST_F(RadarSiteTest, StaleTargetIndexIsNotFollowedNorRewritten) {
    const int32_t row = addRadarAt(kKubTracking);
    addAircraftAt(350, 220);
    radar(row).currentTarget = 1;  // aircraftCount is 1
    radar(row).azimuth = 12;
    tick(row);
    EXPECT_EQ(radar(row).azimuth, 12);
    EXPECT_EQ(radar(row).currentTarget, 1);
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
    EXPECT_FALSE(radar(row).captureActive);
    EXPECT_EQ(radar(row).currentTarget, -1);
    tick(row);
    EXPECT_NEAR(radar(row).azimuth, 90.3, 1e-9);
}

TEST_F(RadarSiteTest, SearchAndTrackWithRotationOffAndNoCaptureIsIdle) {
    const int32_t row = addRadarAt(kBukSou);
    setRotation(radar(row), false);
    radar(row).currentTarget = addAircraftAt(300, 260);
    radar(row).azimuth = 5;
    tick(row);
    EXPECT_EQ(radar(row).azimuth, 5);
}

// --- Multi-target tracking ------------------------------------------------------------------

class MultiTargetTest : public RadarSiteTest {
  protected:
    void SetUp() override {
        RadarSiteTest::SetUp();
        row = addRadarAt(kImbir, 300, 220);  // antenna direction 0: sector -60..60
        a0 = addAircraftAt(400, 220);        // bearing 360
        a1 = addAircraftAt(400, 250);        // bearing 16
        a2 = addAircraftAt(400, 190);        // bearing 343
        assignTarget(*world, row, a0);
        assignTarget(*world, row, a1);
        assignTarget(*world, row, a2);
        observer.refreshed.clear();
    }
    int32_t row = 0, a0 = 0, a1 = 0, a2 = 0;
};

TEST_F(MultiTargetTest, AssignAppendsWithinSectorButDoesNotCapture) {
    EXPECT_EQ(radar(row).trackCount, 3);
    EXPECT_EQ(radar(row).trackList[0], a0);
    EXPECT_EQ(radar(row).trackList[1], a1);
    EXPECT_EQ(radar(row).trackList[2], a2);
    EXPECT_FALSE(radar(row).captureActive);
    EXPECT_EQ(radar(row).currentTarget, -1);
    // Still scanning.
    tick(row);
    EXPECT_NE(radar(row).azimuth, 0);
}

TEST_F(MultiTargetTest, AssignRejectsDuplicatesAndAircraftOutsideTheSector) {
    assignTarget(*world, row, a1);
    const int32_t behind = addAircraftAt(200, 220);       // bearing 180
    const int32_t edge = addAircraftAt(310, 220 + 17);    // bearing 59
    const int32_t beyond = addAircraftAt(310, 220 + 18);  // bearing 60.9 -> 60 still accepted
    const int32_t out = addAircraftAt(310, 220 + 19);     // bearing 62
    assignTarget(*world, row, behind);
    assignTarget(*world, row, out);
    EXPECT_EQ(radar(row).trackCount, 3);
    EXPECT_TRUE(observer.refreshed.empty());
    assignTarget(*world, row, edge);
    assignTarget(*world, row, beyond);
    EXPECT_EQ(radar(row).trackCount, 5);
    EXPECT_EQ(observer.refreshed, (std::vector<int32_t>{row, row}));
}

TEST_F(MultiTargetTest, AssignStopsAtMaxTracks) {
    for (int i = 0; i < 20; ++i) {
        assignTarget(*world, row, addAircraftAt(400, 221 + i));
    }
    EXPECT_EQ(radar(row).trackCount, 16);
}

TEST_F(MultiTargetTest, SwitchesTargetEveryHundredTicks) {
    radar(row).captureActive = true;
    std::vector<int> switchTicks;
    std::vector<int32_t> targets;
    int32_t previous = radar(row).currentTarget;
    for (int t = 1; t <= 350; ++t) {
        tick(row);
        if (radar(row).currentTarget != previous) {
            previous = radar(row).currentTarget;
            switchTicks.push_back(t);
            targets.push_back(previous);
        }
    }
    EXPECT_EQ(switchTicks, (std::vector<int>{1, 100, 200, 300}));
    EXPECT_EQ(targets, (std::vector<int32_t>{a0, a1, a2, a0}));
    // Back on a0 since tick 300.
    EXPECT_EQ(radar(row).azimuth, 360);
    EXPECT_TRUE(observer.refreshed.empty());
}

TEST_F(MultiTargetTest, AntennaUsesLastTicksTarget) {
    radar(row).captureActive = true;
    tick(row, 100);  // the 100th tick moved the cursor to a1, the antenna still on a0
    EXPECT_EQ(radar(row).currentTarget, a1);
    EXPECT_EQ(radar(row).azimuth, 360);
    tick(row);
    EXPECT_EQ(radar(row).azimuth, 16);
}

TEST_F(MultiTargetTest, DropsAnAircraftThatLeavesTheSector) {
    radar(row).captureActive = true;
    tick(row);
    world->aircraft[a1].x = 310;  // bearing 71
    world->aircraft[a1].y = 250;
    tick(row);
    EXPECT_EQ(radar(row).trackCount, 2);
    EXPECT_EQ(radar(row).trackList[0], a0);
    EXPECT_EQ(radar(row).trackList[1], a2);
    EXPECT_TRUE(radar(row).captureActive);
    EXPECT_EQ(observer.refreshed, std::vector<int32_t>{row});
}

TEST_F(MultiTargetTest, EntryMovedIntoPlaceIsExaminedNextTick) {
    radar(row).captureActive = true;
    world->aircraft[a0].x = 200;  // both first entries behind the radar
    world->aircraft[a1].x = 200;
    tick(row);
    EXPECT_EQ(radar(row).trackCount, 2);
    EXPECT_EQ(radar(row).trackList[0], a1);
    tick(row);
    EXPECT_EQ(radar(row).trackCount, 1);
    EXPECT_EQ(radar(row).trackList[0], a2);
}

TEST_F(MultiTargetTest, DroppingTheLastAircraftResumesScanning) {
    radar(row).captureActive = true;
    for (const int32_t a : {a0, a1, a2}) {
        world->aircraft[a].x = 200;
    }
    tick(row, 3);
    EXPECT_EQ(radar(row).trackCount, 0);
    EXPECT_FALSE(radar(row).captureActive);
    EXPECT_EQ(radar(row).currentTarget, -1);
    EXPECT_EQ(radar(row).trackCursor, -1);
    const double azimuth = radar(row).azimuth;
    tick(row);
    EXPECT_NE(radar(row).azimuth, azimuth);  // scanning by "Поиск РГЧ" again
}

TEST_F(MultiTargetTest, StaleEntriesAreSkippedNotRewritten) {
    radar(row).captureActive = true;
    radar(row).trackList[1] = 9;  // no such aircraft
    radar(row).trackList[2] = -1;
    tick(row, 150);
    EXPECT_EQ(radar(row).trackCount, 3);
    EXPECT_EQ(radar(row).trackList[1], 9);
    EXPECT_EQ(radar(row).currentTarget, 9);
    EXPECT_EQ(radar(row).azimuth, 360);  // still on a0: the stale target is not followed
}

TEST_F(MultiTargetTest, EmissionOffLeavesNoTargetUntilTheCursorMoves) {
    radar(row).captureActive = true;
    tick(row, 50);
    setEmission(radar(row), false);
    EXPECT_EQ(radar(row).trackCursor, -1);
    EXPECT_EQ(radar(row).currentTarget, -1);
    EXPECT_TRUE(radar(row).captureActive);
    tick(row, 49);
    EXPECT_EQ(radar(row).currentTarget, -1);
    tick(row);
    EXPECT_EQ(radar(row).trackCursor, 0);
    EXPECT_EQ(radar(row).currentTarget, a0);
}

TEST_F(MultiTargetTest, EmptyListGivesNoTarget) {
    radar(row).captureActive = true;
    radar(row).trackCount = 0;  // entries stay in the storage
    tick(row);
    EXPECT_EQ(radar(row).currentTarget, -1);
}

// --- Assign / remove / reset ----------------------------------------------------------------

TEST_F(RadarSiteTest, AssignIgnoresNoAircraftEmissionOffAndSearchRadars) {
    const int32_t track = addRadarAt(kKubTracking);
    const int32_t search = addRadarAt(kKubSearch);
    const int32_t a = addAircraftAt(350, 220);
    assignTarget(*world, track, -1);
    assignTarget(*world, track, a + 1);
    EXPECT_EQ(radar(track).currentTarget, -1);
    assignTarget(*world, search, a);
    EXPECT_EQ(radar(search).currentTarget, -1);
    EXPECT_FALSE(radar(search).captureActive);
    setEmission(radar(track), false);
    assignTarget(*world, track, a);
    EXPECT_EQ(radar(track).currentTarget, -1);
    EXPECT_FALSE(radar(track).captureActive);
    EXPECT_TRUE(observer.refreshed.empty());
}

TEST_F(MultiTargetTest, RemovingMiddleEntryShiftsTheRest) {
    removeTrackedAircraft(*world, row, 1);
    EXPECT_EQ(radar(row).trackCount, 2);
    EXPECT_EQ(radar(row).trackList[0], a0);
    EXPECT_EQ(radar(row).trackList[1], a2);
    EXPECT_EQ(observer.refreshed, std::vector<int32_t>{row});
}

TEST_F(MultiTargetTest, RemovingOutsideTheListChangesNothingButRefreshes) {
    removeTrackedAircraft(*world, row, -1);
    removeTrackedAircraft(*world, row, 3);
    EXPECT_EQ(radar(row).trackCount, 3);
    EXPECT_EQ(observer.refreshed, (std::vector<int32_t>{row, row}));
}

TEST_F(RadarSiteTest, RemovingTheOnlyTrackedAircraftClearsCapture) {
    const int32_t row = addRadarAt(kImbir);
    const int32_t a = addAircraftAt(400, 220);
    assignTarget(*world, row, a);
    radar(row).captureActive = true;
    tick(row);
    EXPECT_EQ(radar(row).currentTarget, a);
    observer.refreshed.clear();
    removeTrackedAircraft(*world, row, 0);
    EXPECT_EQ(radar(row).trackCount, 0);
    EXPECT_EQ(radar(row).trackCursor, -1);
    EXPECT_EQ(radar(row).currentTarget, -1);
    EXPECT_FALSE(radar(row).captureActive);
    EXPECT_EQ(observer.refreshed, std::vector<int32_t>{row});
}

TEST_F(RadarSiteTest, ResetTrackingClearsAndRefreshes) {
    const int32_t row = addRadarAt(kKubTracking);
    assignTarget(*world, row, addAircraftAt(350, 220));
    radar(row).trackCount = 2;
    observer.refreshed.clear();
    resetTracking(*world, row);
    EXPECT_EQ(radar(row).currentTarget, -1);
    EXPECT_FALSE(radar(row).captureActive);
    EXPECT_EQ(radar(row).trackCount, 0);
    EXPECT_EQ(observer.refreshed, std::vector<int32_t>{row});
}

TEST_F(RadarSiteTest, NoObserverIsFine) {
    world->observer = nullptr;
    const int32_t row = addRadarAt(kImbir);
    assignTarget(*world, row, addAircraftAt(400, 220));
    removeTrackedAircraft(*world, row, 0);
    resetTracking(*world, row);
    EXPECT_EQ(radar(row).trackCount, 0);
}

// --- Panel operations -----------------------------------------------------------------------

TEST_F(RadarSiteTest, EmissionOffClearsTargetAndIllumination) {
    const int32_t row = addRadarAt(kKubTracking);
    assignTarget(*world, row, addAircraftAt(350, 220));
    setIllumination(radar(row), true);
    setEmission(radar(row), false);
    EXPECT_FALSE(radar(row).emissionOn);
    EXPECT_FALSE(radar(row).radiating);
    EXPECT_EQ(radar(row).currentTarget, -1);
    EXPECT_EQ(radar(row).trackCursor, -1);
    EXPECT_FALSE(radar(row).illuminationOn);
    EXPECT_TRUE(radar(row).captureActive);
    setEmission(radar(row), true);
    EXPECT_TRUE(radar(row).radiating);
    EXPECT_EQ(radar(row).currentTarget, -1);
}

TEST_F(RadarSiteTest, ScanMethodAndDirectionStartOutsideTheSector) {
    const int32_t row = addRadarAt(kBukSoc);
    EXPECT_TRUE(radar(row).inSector);
    setScanMethod(radar(row), 1);
    EXPECT_EQ(radar(row).scanMethod, 1);
    EXPECT_FALSE(radar(row).inSector);
    radar(row).inSector = true;
    setAntennaDirection(radar(row), 200);
    EXPECT_EQ(radar(row).antennaDirection, 200);
    EXPECT_FALSE(radar(row).inSector);
}

TEST_F(RadarSiteTest, FrequencyFollowsThePercent) {
    EXPECT_EQ(frequencyAt(kKubTracking, 0), 8700);
    EXPECT_EQ(frequencyAt(kKubTracking, 50), 9450);
    EXPECT_EQ(frequencyAt(kKubTracking, 100), 10200);
    EXPECT_EQ(frequencyAt(kImbir, 37), 4800 + (6300.0 - 4800.0) * 0.01 * 37);
    const int32_t row = addRadarAt(kKubSearch);
    setFrequencyPercent(radar(row), 25);
    EXPECT_EQ(radar(row).frequencyPercent, 25);
    EXPECT_EQ(radar(row).frequency, 4850);
    setPrfMode(radar(row), 2);
    EXPECT_EQ(radar(row).prfMode, 2);
    tick(row, 10);  // the update never touches the emission settings
    EXPECT_EQ(radar(row).frequency, 4850);
    EXPECT_EQ(radar(row).prfMode, 2);
}

struct CompassCase {
    int32_t dx;
    int32_t dy;
    int32_t degrees;
};

class RadarCompassRows : public ::testing::TestWithParam<CompassCase> {};

TEST_P(RadarCompassRows, ClickOffsetGivesDirection) {
    const CompassCase& c = GetParam();
    EXPECT_EQ(radarCompassDirection(c.dx, c.dy), c.degrees);
}

INSTANTIATE_TEST_SUITE_P(Examples, RadarCompassRows,
                         ::testing::Values(CompassCase{20, 0, 360}, CompassCase{0, 20, 90},
                                           CompassCase{-20, 0, 180}, CompassCase{-20, 20, 134},
                                           CompassCase{20, 20, 45}));

}  // namespace
}  // namespace prrsim
