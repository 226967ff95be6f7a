// What the traces cannot show: the radar panel refreshes the core asks for (the selected radar
// on a blink switch, the multi-target radar when its list grows) and the multi-target list's
// limit. The scans, following and the sector edges are pinned by the golden and edge traces.
#include "radar/radar_model.h"

#include <gtest/gtest.h>

#include <vector>

#include "world/world.h"

namespace prrsim {
namespace {

using Rows = std::vector<int32_t>;

// Counts the radar panel refreshes the core asks for.
class CountingObserver : public WorldObserver {
  public:
    void radarPanelRefresh(int32_t row) override { refreshed.push_back(row); }
    void missileDetonated(const ImpactEvent&) override {}
    void missileWindowHide() override {}
    Rows refreshed;
};

class RadarRefresh : public ::testing::Test {
  protected:
    void SetUp() override {
        world->observer = &observer;
        startEmptyWorld(*world);
    }

    int32_t addRadarAt(int32_t type) {
        addRadars(*world, type, -1, true);
        world->radarPlaceMode = false;
        world->selectedRadar = -1;
        return world->radarCount - 1;
    }

    std::unique_ptr<WorldState> world = makeWorld();
    CountingObserver observer;
};

TEST_F(RadarRefresh, BlinkSwitchRefreshesTheSelectedRadarNotTheBlinkingOne) {
    const int32_t other = addRadarAt(0);  // "Куб, РЛС сопровождения 1С31"
    const int32_t row = addRadarAt(1);    // "Куб, РЛС обнаружения 1С11"
    RadarSite& r = world->radars[row];
    setBlinkPeriod(r, 1);
    bool radiating = false;
    for (const int32_t selected : {other, -1, 5}) {  // another radar, none, beyond radarCount
        world->selectedRadar = selected;
        r.azimuth = 359.9;
        updateRadar(*world, row);  // each turn switches: on, off, on
        radiating = !radiating;
        EXPECT_EQ(r.radiating, radiating) << selected;
    }
    EXPECT_EQ(observer.refreshed, Rows{other});
}

TEST_F(RadarRefresh, MultiTargetListGrowsWithARefreshUpToSixteen) {
    const int32_t row = addRadarAt(3);  // "Имбирь", facing east
    for (int32_t i = 0; i < 20; ++i) {
        const int32_t a = addAircraft(*world);
        world->aircraft[a].x = 400;
        world->aircraft[a].y = 210 + i;
        assignTarget(*world, row, a);
        assignTarget(*world, row, a);  // a duplicate: neither taken nor refreshed
    }
    EXPECT_EQ(world->radars[row].trackCount, 16);
    EXPECT_EQ(observer.refreshed, Rows(16, row));
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
