#include "ui/missile_window.h"

#include <gtest/gtest.h>

#include <QGroupBox>
#include <QLabel>
#include <QSlider>

#include <memory>

#include "find_child.h"
#include "missile/missile_loading.h"
#include "radar/radar_model.h"
#include "sim/tick.h"
#include "ui/pictures.h"
#include "world/world.h"

namespace prrsim::ui {
namespace {

constexpr int32_t kHarm = 3;   // "AGM-88C HARM"
constexpr int32_t kAlarm = 4;  // "ALARM"
constexpr int32_t kKubTracking = 0;

const QColor kGray(128, 128, 128);

class MissileWindowTest : public ::testing::Test {
  protected:
    void SetUp() override {
        world = makeWorld();
        startEmptyWorld(*world);
        form = std::make_unique<MissileWindow>(*world, view, nullptr);
        // A carrier 100 pixels west of a fire-control radar, flying towards it at 5 km.
        radar = 0;
        addRadars(*world, kKubTracking, -1, true);
        world->radars[radar].x = 300;
        world->radars[radar].y = 220;
        carrier = addAircraft(*world);
        Aircraft& a = world->aircraft[carrier];
        a.x = 200;
        a.y = 220;
        a.altitude = 50;
        a.targetRadar = radar;
        view.selectedAircraft = carrier;
    }

    Missile& load(int32_t type, int32_t mode) {
        const int32_t m = addMissile(*world, carrier, type, mode);
        EXPECT_GE(m, 0);
        view.selectedMissile = m;
        form->refreshMissileWindow();
        return world->missiles[m];
    }

    static void expectStyle(const QLabel* label, int pointSize, const QColor& colour) {
        EXPECT_EQ(label->font().pointSize(), pointSize) << label->objectName().toStdString();
        EXPECT_EQ(label->palette().color(QPalette::WindowText), colour)
            << label->objectName().toStdString();
    }

    std::unique_ptr<WorldState> world;
    ViewState view;
    std::unique_ptr<MissileWindow> form;
    int32_t radar = -1;
    int32_t carrier = -1;
};

// A missile never switched on used to show the guidance text and seeker picture of the missile
// shown before it.
TEST_F(MissileWindowTest, NeverActivatedMissileShowsItsOwnEmptyState) {
    Missile& first = load(kHarm, 0);
    first.activated = 1;
    first.launched = 1;
    first.guidanceMode = kHoming;
    first.directGuidance = 1;
    first.bearingToTarget = 20;
    form->refreshMissileWindow();
    ASSERT_EQ(childNamed<QLabel>(form.get(), "trajectoryLabel")->text(), "Прямое наведение");
    ASSERT_NE(form->seekerImage().toImage(), crossPicture().toImage());
    load(kHarm, 2);
    EXPECT_EQ(childNamed<QLabel>(form.get(), "trajectoryLabel")->text(), "На цель");
    EXPECT_EQ(form->seekerImage().toImage(), crossPicture().toImage());

    // A missile whose power ran out keeps what its seeker showed last.
    view.selectedMissile = 0;
    form->refreshMissileWindow();
    first.activated = 0;
    first.powerTime = 301;
    const QImage last = form->seekerImage().toImage();
    form->refreshMissileWindow();
    EXPECT_EQ(childNamed<QLabel>(form.get(), "trajectoryLabel")->text(), "Прямое наведение");
    EXPECT_EQ(form->seekerImage().toImage(), last);
}

// The switch-on distance value sat across its track bar's groove.
TEST_F(MissileWindowTest, SwitchOnDistanceValueStandsClearOfItsTrackBar) {
    Missile& m = load(kHarm, 2);
    m.seekerOnDistance = 100;
    form->refreshMissileWindow();
    const QRect value = childNamed<QLabel>(form.get(), "seekerRangeLabel")->geometry();
    ASSERT_TRUE(childNamed<QLabel>(form.get(), "seekerRangeLabel")->isVisibleTo(form.get()));
    EXPECT_FALSE(
        value.intersects(childNamed<QSlider>(form.get(), "seekerRangeSlider")->geometry()));
    EXPECT_FALSE(
        value.intersects(childNamed<QLabel>(form.get(), "seekerRangeCaption")->geometry()));
    EXPECT_TRUE(childNamed<QGroupBox>(form.get(), "targetGroup")->contentsRect().contains(value));
}

}  // namespace
}  // namespace prrsim::ui
