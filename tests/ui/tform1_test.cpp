// The main window's map click: what it selects, the modes it completes, the panels it shows,
// and the detonation's impact text.
#include <QApplication>

#include "form_fixture.h"
#include "missile/missile_loading.h"
#include "ui/application.h"

namespace prrsim::ui {
namespace {

using MainWindow = FormTest;

TEST_F(MainWindow, ClickSelectsTheNearestWithinTenPixelsAircraftFirst) {
    emptyScene();
    placeAircraft(190, 200);
    placeAircraft(210, 200);
    placeRadar(0, 200, 200);
    clickMap(200, 200);
    EXPECT_EQ(world->selectedAircraft, 0);  // a tie goes to the lower index, aircraft beat radars
    EXPECT_EQ(world->selectedRadar, -1);
    EXPECT_EQ(shown(), "Panel1 Button15");
    clickMap(221, 200);  // 11 pixels from aircraft 1
    EXPECT_EQ(world->selectedAircraft, -1);
    EXPECT_EQ(shown(), "");
    world->aircraft[1].x = 210.5;  // the distance is truncated first: 10.5 counts as 10
    clickMap(221, 200);
    EXPECT_EQ(world->selectedAircraft, 1);
    clickMap(200, 208);  // the radar alone within reach
    EXPECT_EQ(world->selectedRadar, 0);
    EXPECT_EQ(shown(), "Panel2 ListBox2 Button13");
}

TEST_F(MainWindow, ModesAreCompletedByTheNextClick) {
    emptyScene();
    placeAircraft(100, 100);
    placeRadar(typeOfKind(4), 200, 200, 0);
    placeRadar(typeOfKind(0), 200, 200, 0);
    world->placedComplexCount = 1;
    clickMap(100, 100);
    QTest::mouseClick(form->Button3, Qt::LeftButton);  // "Выбрать"
    EXPECT_TRUE(isArmed(form->Button3));
    EXPECT_EQ(form->Image1->cursor().shape(), Qt::CrossCursor);
    clickMap(203, 200);
    EXPECT_EQ(world->aircraft[0].targetRadar, 0);
    EXPECT_FALSE(world->pickTargetMode);
    EXPECT_FALSE(isArmed(form->Button3));
    EXPECT_EQ(world->selectedAircraft, 0);  // the aircraft stays selected
    EXPECT_EQ(form->Label10->text(), QStringLiteral("0"));

    QTest::mouseClick(form->Button6, Qt::LeftButton);  // "Переместить"
    clickMap(50, 60);
    EXPECT_EQ(world->aircraft[0].x, 50);
    EXPECT_EQ(world->aircraft[0].y, 60);
    EXPECT_FALSE(world->moveAircraftMode);

    clickMap(200, 200);
    world->radarPlaceMode = true;
    form->updateModeIndicators();
    clickMap(300, 400);  // the whole complex moves
    EXPECT_EQ(world->radars[0].x, 300);
    EXPECT_EQ(world->radars[1].y, 400);
    EXPECT_FALSE(world->radarPlaceMode);

    // "Захват" with emission off stays armed; with emission on the click assigns the aircraft.
    world->radars[0].emissionOn = false;
    world->selectedRadar = 0;
    world->captureMode = true;
    form->updateModeIndicators();
    clickMap(50, 60);
    EXPECT_TRUE(world->captureMode);
    world->radars[0].emissionOn = true;
    clickMap(300, 400);  // the radar again, still in the mode
    EXPECT_TRUE(world->captureMode);
    clickMap(50, 60);
    EXPECT_FALSE(world->captureMode);
    EXPECT_EQ(world->radars[0].currentTarget, 0);
    EXPECT_EQ(form->Image1->cursor().shape(), Qt::ArrowCursor);
}

TEST_F(MainWindow, MissileIsSelectedWithItsCarrierOrAloneWithinReach) {
    emptyScene();
    placeAircraft(100, 100);
    placeAircraft(104, 100);
    clickMap(100, 100);
    QTest::mouseClick(form->Button16, Qt::LeftButton);  // "Добавить ПРР"
    ASSERT_EQ(world->missileCount, 1);
    clickMap(5, 430);
    EXPECT_EQ(shown(), "");
    clickMap(100, 100);
    EXPECT_EQ(world->selectedMissile, 0);
    EXPECT_EQ(shown(), "Panel1 Form3 Button15");
    // Aircraft 1 is nearest to (106, 100) but the missile of aircraft 0 is within reach.
    clickMap(106, 100);
    EXPECT_EQ(world->selectedMissile, 0);
    EXPECT_EQ(world->selectedAircraft, -1);
    EXPECT_EQ(shown(), "Form3");
}

TEST_F(MainWindow, DetonationStartsTheImpactTextAndHidesTheMissileWindow) {
    clickAircraft(0);
    QTest::mouseClick(form->Button16, Qt::LeftButton);
    ASSERT_TRUE(form->Form3->isVisible());
    world->missiles[0].x = 123.7;
    world->missiles[0].y = 45.2;
    removeMissile(*world, 0);
    EXPECT_TRUE(form->Form3->isHidden());
    EXPECT_EQ(form->impactText().x, 123);
    EXPECT_EQ(form->impactText().y, 45);
    EXPECT_TRUE(form->Timer3->isActive());
    form->Timer3Timer();
    form->Timer3Timer();
    EXPECT_EQ(form->impactText().state, 0);
    EXPECT_FALSE(form->Timer3->isActive());
}

TEST(ExceptionGuard, ReportsTheMessageAndGoesOn) {
    QStringList reported;
    const auto report = [&](const QString& message) { reported << message; };
    EXPECT_TRUE(runGuarded([] { return true; }, report));
    EXPECT_FALSE(runGuarded([]() -> bool { throw std::runtime_error("сбой"); }, report));
    EXPECT_FALSE(runGuarded([]() -> bool { throw 42; }, report));
    EXPECT_EQ(reported, QStringList({QStringLiteral("сбой"), QString()}));
}

}  // namespace
}  // namespace prrsim::ui
