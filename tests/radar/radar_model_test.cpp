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
    void missileWindowHide() override {}
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

TEST_F(RadarSiteTest, RotationTurnsPointFiftyFourDegreesPerTickAndKeepsTheExcess) {
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
    radar(row).azimuth = 359.76;
    radar(row).scanCount = 4;
    tick(row);
    EXPECT_NEAR(radar(row).azimuth, 0.3, 1e-9);
    EXPECT_EQ(radar(row).scanCount, 5);
}

TEST_F(RadarSiteTest, RotationSwitchEmissionAndRateIndex) {
    const int32_t row = addRadarAt(kKubSearch);
    setEmission(radar(row), false);  // a silent antenna still turns
    tick(row);
    EXPECT_NEAR(radar(row).azimuth, 0.54, 1e-12);
    EXPECT_FALSE(radar(row).radiating);
    setRotation(radar(row), false);  // stops where it is
    tick(row, 10);
    EXPECT_NEAR(radar(row).azimuth, 0.54, 1e-12);
    setRotation(radar(row), true);
    radar(row).azimuth = 0;
    for (const int32_t index : {3, -1}) {  // outside the rate list: no turning
        radar(row).rotationRateIndex = index;
        tick(row, 5);
        EXPECT_EQ(radar(row).azimuth, 0) << index;
    }
}

// --- Blinking -------------------------------------------------------------------------------

TEST_F(RadarSiteTest, BlinkSettingTwoRadiatesOneTurnInThree) {
    const int32_t row = addRadarAt(kKubSearch);
    world->selectedRadar = row;
    setBlinkPeriod(radar(row), 2);
    EXPECT_FALSE(radar(row).radiating);
    EXPECT_EQ(radar(row).scanCount, 1);
    // The radiating state of each turn; it must not change mid-turn.
    std::vector<bool> turns;
    bool current = false;
    while (turns.size() < 9) {
        const double before = radar(row).azimuth;
        tick(row);
        if (radar(row).azimuth < before) {  // wrapped: the state now is the new turn's
            turns.push_back(current);
            current = radar(row).radiating;
        } else {
            ASSERT_EQ(radar(row).radiating, current) << "changed mid-turn";
        }
    }
    // Silent until the second pass through 360, then one turn on, two off.
    EXPECT_EQ(turns,
              (std::vector<bool>{false, false, true, false, false, true, false, false, true}));
    // Each switch (on at passes 2, 5, 8; off at passes 3, 6, 9) refreshed the selected radar.
    EXPECT_EQ(observer.refreshed, Rows(6, row));
}

TEST_F(RadarSiteTest, BlinkSwitchRefreshesTheSelectedRadarNotTheBlinkingOne) {
    const int32_t other = addRadarAt(kKubTracking);
    const int32_t row = addRadarAt(kKubSearch);
    setBlinkPeriod(radar(row), 1);
    bool radiating = false;
    for (const int32_t selected : {other, -1, 5}) {  // another radar, none, beyond radarCount
        world->selectedRadar = selected;
        radar(row).azimuth = 359.9;
        tick(row);  // scanCount period + 1: on, then off, then on
        radiating = !radiating;
        EXPECT_EQ(radar(row).radiating, radiating) << selected;
    }
    EXPECT_EQ(observer.refreshed, Rows{other});
}

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

TEST_F(RadarSiteTest, SectorSweepBlinksOneTickInFour) {
    const int32_t row = addRadarAt(kBukSoc);
    setBlinkPeriod(radar(row), 3);
    std::vector<bool> states;
    for (int i = 0; i < 12; ++i) {
        tick(row);
        states.push_back(radar(row).radiating);
    }
    EXPECT_EQ(states, (std::vector<bool>{false, false, true, false, false, false, true, false,
                                         false, false, true, false}));
}

// --- Sector sweep (scan kind 3) and sector raster (scan kind 1) ----------------------------

TEST_F(RadarSiteTest, SectorSearchSwingsSixtyToOneTwentyWithElevationSweep) {
    const int32_t row = addRadarAt(kBukSoc);
    EXPECT_TRUE(radar(row).inSector);
    // A change of scan method and one of antenna direction each start outside the sector.
    setScanMethod(radar(row), 1);  // "Секторный поиск", 30 degrees
    EXPECT_FALSE(radar(row).inSector);
    radar(row).inSector = true;
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
    const Sweep s = sweep(row, 3000, 0.12);
    EXPECT_LT(s.maxStepError, 1e-9);
    EXPECT_GT(s.low, 58.8);
    EXPECT_LT(s.low, 60);
    EXPECT_GT(s.high, 120);
    EXPECT_LT(s.high, 121.2);
    EXPECT_GE(s.reversalElevations.size(), 5u);
    EXPECT_EQ(radar(row).scanCount, 4021);  // one scan per tick
}

TEST_F(RadarSiteTest, CircularSearchNeverReverses) {
    const int32_t row = addRadarAt(kBukSoc);  // method 0, "Круговой поиск"
    const Sweep s = sweep(row, 3000, 0.4);
    EXPECT_LT(s.maxStepError, 1e-9);
    EXPECT_TRUE(s.reversalElevations.empty());
    EXPECT_EQ(radar(row).scanDirection, 1);
    EXPECT_EQ(s.wraps, 3);  // 1200 degrees
    EXPECT_LE(s.maxElevation, 40);
}

TEST_F(RadarSiteTest, SectorScansWithoutAMethodStandStill) {
    const int32_t row = addRadarAt(kBukSoc);
    radar(row).scanMethod = 7;  // beyond the list: every method field 0
    tick(row, 10);
    EXPECT_EQ(radar(row).azimuth, 0);
    EXPECT_EQ(radar(row).elevation, 0);
    EXPECT_EQ(radar(row).scanCount, 10);
    radar(row).scanCount = std::numeric_limits<int32_t>::max();
    tick(row);
    EXPECT_EQ(radar(row).scanCount, std::numeric_limits<int32_t>::max());  // saturates

    const int32_t shilka = addRadarAt(kShilka);  // a raster type without methods
    radar(shilka).azimuth = 10;
    tick(shilka, 7);
    EXPECT_EQ(radar(shilka).azimuth, 10);
    EXPECT_EQ(radar(shilka).elevation, 0);
}

TEST_F(RadarSiteTest, OwnSearchRasterRaisesElevationAtEachReversal) {
    const int32_t row = addRadarAt(kBukSou);  // "Самостоятельный поиск": 120 wide, 30 deg/s
    tick(row);
    EXPECT_NEAR(radar(row).azimuth, 0.3, 1e-12);
    const Sweep s = sweep(row, 2500, 0.3);
    ASSERT_GE(s.reversalElevations.size(), 5u);
    // 10 is above 7: back to 0.
    EXPECT_EQ(std::vector<double>(s.reversalElevations.begin(), s.reversalElevations.begin() + 5),
              (std::vector<double>{2.5, 5.0, 7.5, 0.0, 2.5}));
    // 60 degrees each side of direction 0, not wrapped.
    EXPECT_LT(s.low, -60);
    EXPECT_GT(s.low, -61.5);
    EXPECT_GT(s.high, 60);
    EXPECT_LT(s.high, 61.5);
    EXPECT_EQ(radar(row).scanCount, 0);
}

TEST_F(RadarSiteTest, RasterComesBackIntoItsSectorAfterADirectionChange) {
    const int32_t row = addRadarAt(kBukSou);
    tick(row, 100);  // azimuth 30, inside the old sector
    setAntennaDirection(radar(row), 180);
    EXPECT_FALSE(radar(row).inSector);
    // The beam travels on towards the new sector instead of jittering in place.
    const Sweep travel = sweep(row, 1001, 0.3);
    const Sweep inside = sweep(row, 2999, 0.3);
    EXPECT_TRUE(radar(row).inSector);
    EXPECT_GT(std::max(travel.high, inside.high), 240);
    EXPECT_LT(std::max(travel.high, inside.high), 241.5);
    EXPECT_GT(inside.low, 118.5);
    EXPECT_LT(inside.low, 120);
}

// --- Following ------------------------------------------------------------------------------

TEST_F(RadarSiteTest, FireControlWithoutAValidTargetKeepsItsAntennaStill) {
    const int32_t row = addRadarAt(kKubTracking);
    radar(row).azimuth = 33;
    radar(row).elevation = 4;
    tick(row, 50);
    EXPECT_EQ(radar(row).azimuth, 33);
    EXPECT_EQ(radar(row).elevation, 4);
    addAircraftAt(350, 220);
    radar(row).currentTarget = 1;  // aircraftCount is 1: not followed, not rewritten
    tick(row);
    EXPECT_EQ(radar(row).azimuth, 33);
    EXPECT_EQ(radar(row).currentTarget, 1);
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
    EXPECT_EQ(observer.refreshed, (Rows{row, row}));
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
    expectNoTracking(row);
    tick(row);
    EXPECT_NEAR(radar(row).azimuth, 90.3, 1e-9);

    // With rotation off and no capture it is idle.
    setRotation(radar(row), false);
    radar(row).currentTarget = a;
    tick(row);
    EXPECT_NEAR(radar(row).azimuth, 90.3, 1e-9);
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
        for (const int32_t a : {a0, a1, a2}) {
            assignTarget(*world, row, a);
        }
        observer.refreshed.clear();
    }
    int32_t row = 0, a0 = 0, a1 = 0, a2 = 0;
};

TEST_F(MultiTargetTest, AssignAppendsWithinSectorButDoesNotCapture) {
    EXPECT_EQ(tracks(row), (Rows{a0, a1, a2}));
    EXPECT_FALSE(radar(row).captureActive);
    EXPECT_EQ(radar(row).currentTarget, -1);
    tick(row);
    EXPECT_NE(radar(row).azimuth, 0);  // still scanning

    // Duplicates and aircraft outside the sector are refused without a refresh.
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
    EXPECT_EQ(tracks(row), (Rows{a0, a1, a2, edge, beyond}));
    EXPECT_EQ(observer.refreshed, (Rows{row, row}));
    for (int i = 0; i < 20; ++i) {
        assignTarget(*world, row, addAircraftAt(400, 221 + i));
    }
    EXPECT_EQ(radar(row).trackCount, 16);  // maxTracks
}

TEST_F(MultiTargetTest, SwitchesTargetEveryHundredTicks) {
    radar(row).captureActive = true;
    Rows switchTicks;
    Rows targets;
    int32_t previous = radar(row).currentTarget;
    for (int t = 1; t <= 350; ++t) {
        tick(row);
        if (radar(row).currentTarget != previous) {
            previous = radar(row).currentTarget;
            switchTicks.push_back(t);
            targets.push_back(previous);
        }
        if (t == 100) {  // the cursor moved to a1; the antenna still uses the last tick's a0
            EXPECT_EQ(radar(row).azimuth, 360);
        } else if (t == 101) {
            EXPECT_EQ(radar(row).azimuth, 16);
        }
    }
    EXPECT_EQ(switchTicks, (Rows{1, 100, 200, 300}));
    EXPECT_EQ(targets, (Rows{a0, a1, a2, a0}));
    EXPECT_EQ(radar(row).azimuth, 360);  // back on a0 since tick 300
    EXPECT_TRUE(observer.refreshed.empty());
}

TEST_F(MultiTargetTest, DropsAnAircraftThatLeavesTheSector) {
    radar(row).captureActive = true;
    tick(row);
    world->aircraft[a1].x = 310;  // bearing 71
    world->aircraft[a1].y = 250;
    tick(row);
    EXPECT_EQ(tracks(row), (Rows{a0, a2}));
    EXPECT_TRUE(radar(row).captureActive);
    EXPECT_EQ(observer.refreshed, Rows{row});
}

TEST_F(MultiTargetTest, EntryMovedIntoPlaceIsExaminedNextTickAndEmptyListScansAgain) {
    radar(row).captureActive = true;
    world->aircraft[a0].x = 200;  // both first entries behind the radar
    world->aircraft[a1].x = 200;
    tick(row);
    EXPECT_EQ(tracks(row), (Rows{a1, a2}));
    tick(row);
    EXPECT_EQ(tracks(row), Rows{a2});
    world->aircraft[a2].x = 200;
    tick(row);
    expectNoTracking(row);
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
    EXPECT_EQ(tracks(row), (Rows{a0, 9, -1}));
    EXPECT_EQ(radar(row).currentTarget, 9);
    EXPECT_EQ(radar(row).azimuth, 360);  // still on a0: the stale target is not followed
    radar(row).trackCount = 0;           // an empty list (entries left in the storage)
    tick(row);
    EXPECT_EQ(radar(row).currentTarget, -1);
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

TEST_F(MultiTargetTest, RemovingAnEntryShiftsTheRestAndRefreshes) {
    removeTrackedAircraft(*world, row, -1);  // outside the list: nothing but the refresh
    removeTrackedAircraft(*world, row, 3);
    EXPECT_EQ(radar(row).trackCount, 3);
    removeTrackedAircraft(*world, row, 1);
    EXPECT_EQ(tracks(row), (Rows{a0, a2}));
    EXPECT_EQ(observer.refreshed, (Rows{row, row, row}));
}

// --- Assign / remove / reset ----------------------------------------------------------------

TEST_F(RadarSiteTest, AssignIgnoresNoAircraftEmissionOffAndSearchRadars) {
    const int32_t track = addRadarAt(kKubTracking);
    const int32_t search = addRadarAt(kKubSearch);
    const int32_t a = addAircraftAt(350, 220);
    assignTarget(*world, track, -1);
    assignTarget(*world, track, a + 1);
    assignTarget(*world, search, a);
    setEmission(radar(track), false);
    assignTarget(*world, track, a);
    expectNoTracking(track);
    expectNoTracking(search);
    EXPECT_TRUE(observer.refreshed.empty());
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
    expectNoTracking(row);
    EXPECT_EQ(radar(row).trackCursor, -1);
    EXPECT_EQ(observer.refreshed, Rows{row});
}

TEST_F(RadarSiteTest, ResetTrackingClearsAndRefreshes) {
    const int32_t row = addRadarAt(kKubTracking);
    assignTarget(*world, row, addAircraftAt(350, 220));
    radar(row).trackCount = 2;
    observer.refreshed.clear();
    resetTracking(*world, row);
    expectNoTracking(row);
    EXPECT_EQ(observer.refreshed, Rows{row});

    world->observer = nullptr;  // no observer is fine
    const int32_t imbir = addRadarAt(kImbir);
    assignTarget(*world, imbir, addAircraftAt(400, 220));
    removeTrackedAircraft(*world, imbir, 0);
    resetTracking(*world, imbir);
    EXPECT_EQ(radar(imbir).trackCount, 0);
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

TEST_F(RadarSiteTest, FrequencyFollowsThePercentAndTheUpdateKeepsIt) {
    EXPECT_EQ(frequencyAt(kKubTracking, 50), 9450);
    const int32_t row = addRadarAt(kKubSearch);
    setFrequencyPercent(radar(row), 25);
    setPrfMode(radar(row), 2);
    tick(row, 10);
    EXPECT_EQ(radar(row).frequencyPercent, 25);
    EXPECT_EQ(radar(row).frequency, 4850);
    EXPECT_EQ(radar(row).prfMode, 2);
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
