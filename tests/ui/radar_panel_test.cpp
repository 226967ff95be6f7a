// The radar panel: a refresh showing another radar (as the core asks for one) changes nothing
// in the selected one.
#include "ui/radar_panel.h"

#include <gtest/gtest.h>

#include <memory>

#include "radar/radar_model.h"
#include "world/world.h"

namespace prrsim::ui {
namespace {

// Forwards the core's panel refreshes to the panel, as the main window does.
class PanelObserver : public WorldObserver {
  public:
    RadarPanel* panel = nullptr;
    void radarPanelRefresh(int32_t row) override { panel->refresh(row); }
    void missileDetonated(const ImpactEvent&) override {}
    void missileWindowHide() override {}
};

// Catalogue positions of the radar types used below.
constexpr int32_t kKubSearch = 1;  // kind 0, blink settings 0..3

class RadarPanelTest : public ::testing::Test {
  protected:
    void SetUp() override {
        world = makeWorld();
        startEmptyWorld(*world);
        panel = std::make_unique<RadarPanel>(*world, nullptr);
        observer.panel = panel.get();
        world->observer = &observer;
    }

    // Adds a working radar of `type`, selects it and shows it, as a map click would.
    int32_t selectNew(int32_t type) {
        addRadars(*world, type, -1, true);
        world->radarPlaceMode = false;
        panel->refresh(world->selectedRadar);
        return world->selectedRadar;
    }

    RadarSite& radar(int32_t row) { return world->radars[row]; }

    std::unique_ptr<WorldState> world;
    PanelObserver observer;
    std::unique_ptr<RadarPanel> panel;
};

TEST_F(RadarPanelTest, RefreshDoesNotWriteTheShownRadarOntoTheSelectedOne) {
    const int32_t silent = selectNew(kKubSearch);
    panel->CheckBox1->click();  // emission off
    ASSERT_FALSE(radar(silent).emissionOn);
    const int32_t selected = selectNew(kKubSearch);
    const RadarSite before = radar(selected);

    panel->refresh(silent);
    EXPECT_FALSE(panel->CheckBox1->isChecked());
    EXPECT_EQ(panel->TrackBar3->value(), radar(silent).frequencyPercent);
    EXPECT_TRUE(radar(selected).emissionOn);
    EXPECT_TRUE(radar(selected).radiating);
    EXPECT_EQ(radar(selected).frequencyPercent, before.frequencyPercent);
    EXPECT_EQ(radar(selected).scanCount, before.scanCount);
}

}  // namespace
}  // namespace prrsim::ui
