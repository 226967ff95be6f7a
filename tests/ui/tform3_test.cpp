#include "ui/tform3.h"

#include <gtest/gtest.h>

#include <memory>

#include "missile/missile_loading.h"
#include "radar/radar_model.h"
#include "sim/tick.h"
#include "world/world.h"

namespace prrsim::ui {
namespace {

constexpr int32_t kHarm = 3;  // "AGM-88C HARM"
constexpr int32_t kKubTracking = 0;

const QColor kGray(128, 128, 128);

class TForm3Test : public ::testing::Test {
  protected:
    void SetUp() override {
        world = makeWorld();
        startEmptyWorld(*world);
        form = std::make_unique<TForm3>(*world, nullptr);
        // A carrier 100 pixels west of a fire-control radar, flying towards it at 5 km.
        radar = 0;
        addRadars(*world, kKubTracking, -1, true);
        world->radars[radar].x = 300;
        world->radars[radar].y = 220;
        world->selectedRadar = -1;
        world->radarPlaceMode = false;
        carrier = addAircraft(*world);
        Aircraft& a = world->aircraft[carrier];
        a.x = 200;
        a.y = 220;
        a.altitude = 50;
        a.targetRadar = radar;
        world->selectedAircraft = carrier;
    }

    Missile& load(int32_t type, int32_t mode) {
        const int32_t m = addMissile(*world, type, mode);
        EXPECT_GE(m, 0);
        form->refreshMissileWindow();
        return world->missiles[m];
    }

    static void expectStyle(const QLabel* label, int pointSize, const QColor& colour) {
        EXPECT_EQ(label->font().pointSize(), pointSize) << label->objectName().toStdString();
        EXPECT_EQ(label->palette().color(QPalette::WindowText), colour)
            << label->objectName().toStdString();
    }

    std::unique_ptr<WorldState> world;
    std::unique_ptr<TForm3> form;
    int32_t radar = -1;
    int32_t carrier = -1;
};

TEST_F(TForm3Test, IndicatorsThroughCrewCaptureAndLock) {
    Missile& m = load(kHarm, 0);
    expectStyle(form->Label2, 8, kGray);
    expectStyle(form->Label1, 8, kGray);
    expectStyle(form->Label10, 8, kGray);
    expectStyle(form->Label11, 8, kGray);
    EXPECT_EQ(form->Label11->text(), "Нет сигнала");
    EXPECT_TRUE(form->Label11->font().bold());

    form->Button1->click();
    ASSERT_EQ(m.activated, 1);
    form->refreshMissileWindow();
    expectStyle(form->Label2, 12, Qt::red);
    EXPECT_FALSE(form->Button1->isEnabled());
    EXPECT_EQ(form->Label17->text(), "Висит на подвеске");

    assignTarget(*world, radar, carrier);  // the radar tracks the carrier: its beam is on us
    form->Button2->click();
    ASSERT_EQ(m.capturing, 1);
    form->refreshMissileWindow();
    EXPECT_EQ(form->Label1->text(), "Захват...");
    expectStyle(form->Label1, 10, Qt::blue);
    EXPECT_EQ(form->Button2->text(), "Отменить захват");

    for (int i = 0; i < 200 && m.locked == 0; ++i) {
        SimulationTick(*world);
    }
    ASSERT_EQ(m.locked, 1);
    form->refreshMissileWindow();
    EXPECT_EQ(form->Label1->text(), "Захват");
    expectStyle(form->Label1, 12, Qt::red);
    EXPECT_EQ(form->Label11->text(), "Сигнал");
    expectStyle(form->Label11, 12, Qt::red);
    EXPECT_TRUE(form->Label11->font().bold());
    EXPECT_EQ(form->Edit8->text(), "Куб, РЛС сопровождения 1С31");
    EXPECT_EQ(form->Label26->text(), "ЕСТЬ");
}

}  // namespace
}  // namespace prrsim::ui
