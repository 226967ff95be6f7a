// The radar panel: its controls reach the selected radar, and a refresh of another radar
// changes nothing in the selected one.
#include "ui/radar_panel.h"

#include <gtest/gtest.h>

#include <QTest>
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
constexpr int32_t kKubTracking = 0;  // kind 4, illuminator
constexpr int32_t kKubSearch = 1;    // kind 0, blink settings 0..3
constexpr int32_t kBukTracking = 8;  // kind 1, illuminator
constexpr int32_t kBukSearch = 9;    // kind 0, two scan methods

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

    // A user's choice of item `index` in a drop-down list.
    static void choose(QComboBox* list, int index) {
        list->setCurrentIndex(index);
        emit list->activated(index);
    }

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

TEST_F(RadarPanelTest, HandlersReachTheSelectedRadar) {
    const int32_t r = selectNew(kBukSearch);
    choose(panel->ComboBox7, 1);
    EXPECT_EQ(radar(r).scanMethod, 1);
    EXPECT_EQ(panel->ComboBox7->currentIndex(), 1);
    panel->TrackBar3->setValue(50);  // as a drag of the thumb does
    EXPECT_EQ(radar(r).frequencyPercent, 50);
    EXPECT_DOUBLE_EQ(radar(r).frequency, 2800 + (3600 - 2800) * 0.01 * 50);
    EXPECT_EQ(panel->Edit9->text(), "50");
    panel->CheckBox2->click();
    EXPECT_FALSE(radar(r).rotationOn);
    EXPECT_FALSE(panel->CheckBox2->isChecked());

    const int32_t buk = selectNew(kBukTracking);
    choose(panel->ComboBox5, 2);
    EXPECT_EQ(radar(buk).prfMode, 2);

    const int32_t kub = selectNew(kKubTracking);
    panel->CheckBox5->click();
    EXPECT_TRUE(radar(kub).illuminationOn);
    panel->CheckBox5->click();
    EXPECT_FALSE(radar(kub).illuminationOn);

    // Without a selection the handlers change nothing.
    const int32_t search = selectNew(kKubSearch);
    world->selectedRadar = -1;
    panel->CheckBox1->click();
    panel->CheckBox2->click();
    EXPECT_TRUE(radar(search).emissionOn);
    EXPECT_TRUE(radar(search).rotationOn);
}

}  // namespace
}  // namespace prrsim::ui
