// The main window: start-up state, the map click and its modes, the buttons under the map.
#include <QApplication>

#include "form_fixture.h"
#include "missile/missile_loading.h"
#include "ui/application.h"

namespace prrsim::ui {
namespace {

using MainWindow = FormTest;

TEST_F(MainWindow, StartsWithTheDesignedStateAndTimers) {
    // "[*]" is where the unsaved-changes mark appears.
    EXPECT_EQ(form->windowTitle(), QStringLiteral("Наведение ПРР[*]"));
    EXPECT_FALSE(form->isWindowModified());
    EXPECT_EQ(form->Button13->text(), QStringLiteral("Убрать РЛС"));
    EXPECT_EQ(form->Button15->text(), QStringLiteral("Убрать самолёт"));
    EXPECT_EQ(shown(), "");
    EXPECT_EQ(world->observer, form.get());
    form.reset();  // the observer is released with the window
    EXPECT_EQ(world->observer, nullptr);

    // A fresh window: the fixture stopped these two.
    TForm1 other(*world);
    EXPECT_TRUE(other.Timer1->isActive());
    EXPECT_EQ(other.Timer1->interval(), 10);
    EXPECT_EQ(other.Timer1->timerType(), Qt::PreciseTimer);
    EXPECT_TRUE(other.Timer2->isActive());
    EXPECT_EQ(other.Timer2->interval(), 100);
    EXPECT_FALSE(other.Timer3->isActive());
    EXPECT_EQ(other.Timer3->interval(), 190);
}

TEST_F(MainWindow, ClientAreaHoldsEveryComponentAsPlaced) {
    EXPECT_EQ(form->Image1->geometry(), QRect(0, 0, 600, 440));
    EXPECT_EQ(form->Panel1->geometry(), QRect(601, 0, 184, 441));
    EXPECT_EQ(form->Panel2->geometry(), QRect(600, 0, 185, 441));
    EXPECT_EQ(form->ListBox2->geometry(), QRect(600, 440, 185, 57));
    EXPECT_EQ(form->Button14->geometry(), QRect(-1, 478, 97, 30));
    for (const QWidget* w : std::initializer_list<const QWidget*>{form->Panel1, form->Panel2,
                                                                  form->ListBox2, form->Button15}) {
        EXPECT_LE(w->geometry().right(), form->width() - 1) << w->objectName().toStdString();
        EXPECT_LE(w->geometry().bottom(), form->height() - 1) << w->objectName().toStdString();
    }
}

TEST_F(MainWindow, ClickWithinTenPixelsSelectsAndElevenDoesNot) {
    emptyScene();
    placeAircraft(100, 100);
    clickMap(110, 100);
    EXPECT_EQ(world->selectedAircraft, 0);
    EXPECT_EQ(shown(), "Panel1 Button15");
    clickMap(111, 100);
    EXPECT_EQ(world->selectedAircraft, -1);
    EXPECT_EQ(shown(), "");
    // The distance is truncated before the comparison: 10.5 counts as 10.
    world->aircraft[0].x = 100.5;
    clickMap(111, 100);
    EXPECT_EQ(world->selectedAircraft, 0);
}

TEST_F(MainWindow, ClickActsOnTheLastMousePositionNearestAircraftFirst) {
    emptyScene();
    placeAircraft(190, 200);
    placeAircraft(210, 200);
    placeRadar(0, 200, 200);
    moveMouse(form->Image1, QPoint(200, 200));
    EXPECT_EQ(world->mapCursor.x, 200);
    EXPECT_EQ(world->mapCursor.y, 200);
    form->Image1Click();
    EXPECT_EQ(world->selectedAircraft, 0);  // a tie goes to the lower index, aircraft beat radars
    EXPECT_EQ(world->selectedRadar, -1);
    EXPECT_EQ(shown(), "Panel1 Button15");
    world->aircraft[1].x = 209;
    clickMap(200, 200);
    EXPECT_EQ(world->selectedAircraft, 1);
}

TEST_F(MainWindow, RadarClickShowsRadarPanelAndComplexMembersAndClickAwayClears) {
    // Radars 4 and 5 of the default scene stand together as the second "СУРН ЗРК КУБ".
    clickMap(world->radars[4].x, world->radars[4].y);
    EXPECT_EQ(world->selectedRadar, 4);
    EXPECT_EQ(world->selectedAircraft, -1);
    EXPECT_EQ(shown(), "Panel2 ListBox2 Button13");
    ASSERT_EQ(form->ListBox2->count(), 2);
    EXPECT_EQ(form->ListBox2->item(0)->text(), QStringLiteral("Куб, РЛС сопровождения 1С31"));
    EXPECT_EQ(form->ListBox2->item(1)->text(), QStringLiteral("Куб, РЛС обнаружения 1С11"));
    EXPECT_EQ(form->ListBox2->currentRow(), -1);

    // Choosing the second member selects that radar.
    const QRect second = form->ListBox2->visualItemRect(form->ListBox2->item(1));
    QTest::mouseClick(form->ListBox2->viewport(), Qt::LeftButton, {}, second.center());
    EXPECT_EQ(world->selectedRadar, 5);

    // "Убрать РЛС" removes it and hides the panel.
    QTest::mouseClick(form->Button13, Qt::LeftButton);
    EXPECT_EQ(world->radarCount, 5);
    EXPECT_EQ(world->selectedRadar, -1);
    EXPECT_EQ(shown(), "");

    clickMap(world->radars[2].x, world->radars[2].y);
    ASSERT_EQ(world->selectedRadar, 2);
    clickMap(5, 430);  // nothing there: every selection cleared
    EXPECT_EQ(world->selectedRadar, -1);
    EXPECT_EQ(world->selectedAircraft, -1);
    EXPECT_EQ(world->selectedMissile, -1);
    EXPECT_EQ(shown(), "");
}

TEST_F(MainWindow, PickTargetModeArmsAndIsConsumed) {
    emptyScene();
    placeAircraft(100, 100);
    placeRadar(0, 200, 200);
    clickMap(100, 100);
    QTest::mouseClick(form->Button3, Qt::LeftButton);
    EXPECT_TRUE(world->pickTargetMode);
    EXPECT_TRUE(isArmed(form->Button3));
    EXPECT_EQ(form->Image1->cursor().shape(), Qt::CrossCursor);

    clickMap(203, 200);
    EXPECT_EQ(world->aircraft[0].targetRadar, 0);
    EXPECT_FALSE(world->pickTargetMode);
    EXPECT_FALSE(isArmed(form->Button3));
    EXPECT_EQ(form->Image1->cursor().shape(), Qt::ArrowCursor);
    // The aircraft stays selected, the radar is not.
    EXPECT_EQ(world->selectedAircraft, 0);
    EXPECT_EQ(world->selectedRadar, -1);
    EXPECT_EQ(form->Label10->text(), QStringLiteral("0"));

    // A click away from every radar clears the target.
    QTest::mouseClick(form->Button3, Qt::LeftButton);
    clickMap(400, 30);
    EXPECT_EQ(world->aircraft[0].targetRadar, -1);
    EXPECT_FALSE(world->pickTargetMode);
}

TEST_F(MainWindow, MoveAircraftModeMovesTheSelectedAircraft) {
    emptyScene();
    placeAircraft(100, 100);
    clickMap(100, 100);
    QTest::mouseClick(form->Button6, Qt::LeftButton);
    EXPECT_TRUE(isArmed(form->Button6));
    EXPECT_NE(form->Image1->cursor().shape(), Qt::CrossCursor);
    clickMap(50, 60);
    EXPECT_EQ(world->aircraft[0].x, 50);
    EXPECT_EQ(world->aircraft[0].y, 60);
    EXPECT_FALSE(world->moveAircraftMode);
    EXPECT_FALSE(isArmed(form->Button6));
    EXPECT_EQ(world->selectedAircraft, 0);
    EXPECT_EQ(shown(), "Panel1 Button15");
}

TEST_F(MainWindow, RadarPlaceModeMovesTheWholeComplex) {
    clickMap(world->radars[4].x, world->radars[4].y);
    world->radarPlaceMode = true;
    form->updateModeIndicators();
    EXPECT_TRUE(isArmed(form->Panel2->Button7));
    clickMap(100, 400);
    // Radars 4 and 5 form the second complex; radars 0 and 1 stay.
    EXPECT_EQ(world->radars[4].x, 100);
    EXPECT_EQ(world->radars[5].x, 100);
    EXPECT_EQ(world->radars[5].y, 400);
    EXPECT_EQ(world->radars[0].x, 430);
    EXPECT_FALSE(world->radarPlaceMode);
    EXPECT_FALSE(isArmed(form->Panel2->Button7));
    EXPECT_EQ(world->selectedRadar, 4);
}

TEST_F(MainWindow, CaptureModeWithEmissionOffStaysArmed) {
    emptyScene();
    placeAircraft(100, 100);
    placeRadar(typeOfKind(4), 200, 200);
    placeRadar(typeOfKind(4), 300, 300);
    clickMap(200, 200);
    world->radars[0].emissionOn = false;
    world->captureMode = true;
    form->updateModeIndicators();
    EXPECT_EQ(form->Image1->cursor().shape(), Qt::CrossCursor);
    clickMap(100, 100);
    EXPECT_TRUE(world->captureMode);
    EXPECT_EQ(world->selectedAircraft, -1);
    clickMap(300, 300);
    EXPECT_TRUE(world->captureMode);
    EXPECT_EQ(world->selectedRadar, 1);

    // With emission on the click assigns the nearest aircraft and ends the mode.
    clickMap(100, 100);
    EXPECT_FALSE(world->captureMode);
    EXPECT_EQ(world->radars[1].currentTarget, 0);
    EXPECT_EQ(form->Image1->cursor().shape(), Qt::ArrowCursor);
    EXPECT_FALSE(isArmed(form->Panel2->Button8));
}

TEST_F(MainWindow, AddAndRemoveAircraft) {
    QTest::mouseClick(form->Button14, Qt::LeftButton);
    EXPECT_EQ(world->aircraftCount, 5);
    EXPECT_EQ(world->selectedAircraft, -1);
    EXPECT_EQ(shown(), "");

    clickAircraft(1);
    ASSERT_EQ(world->selectedAircraft, 1);
    const double formerX = world->aircraft[2].x;
    QTest::mouseClick(form->Button15, Qt::LeftButton);
    EXPECT_EQ(world->aircraftCount, 4);
    EXPECT_EQ(world->aircraft[1].x, formerX);
    EXPECT_EQ(world->selectedAircraft, -1);
    EXPECT_EQ(shown(), "");

    world->aircraftCount = kAircraftCapacity;  // full: refused with a notice
    QTest::mouseClick(form->Button14, Qt::LeftButton);
    EXPECT_EQ(world->aircraftCount, kAircraftCapacity);
    EXPECT_EQ(notices.size(), 1);
}

TEST_F(MainWindow, RemovingTheAircraftEndsItsModes) {
    clickAircraft(0);
    QTest::mouseClick(form->Button3, Qt::LeftButton);
    QTest::mouseClick(form->Button15, Qt::LeftButton);
    EXPECT_FALSE(world->pickTargetMode);
    EXPECT_FALSE(isArmed(form->Button3));
    clickAircraft(0);  // the next click selects again
    EXPECT_EQ(world->selectedAircraft, 0);
}

TEST_F(MainWindow, AddRadarDialogDisablesTheWindowUntilClosed) {
    clickAircraft(0);
    QTest::mouseClick(form->Button12, Qt::LeftButton);
    EXPECT_FALSE(form->isEnabled());
    EXPECT_TRUE(form->Form2->isEnabled());
    EXPECT_TRUE(form->Form2->isVisible());
    clickMap(5, 430);  // the map takes no clicks meanwhile
    EXPECT_EQ(world->selectedAircraft, 0);

    ASSERT_EQ(addRadars(*world, 0, -1, true), 1);
    emit form->Form2->radarsAdded();
    emit form->Form2->closed();
    EXPECT_TRUE(form->isEnabled());
    EXPECT_TRUE(isArmed(form->Panel2->Button7));
    EXPECT_EQ(world->selectedAircraft, -1);
    EXPECT_TRUE(form->Panel2->isVisible());
    EXPECT_TRUE(form->Panel1->isHidden());
    EXPECT_TRUE(form->Button13->isEnabled());
}

TEST_F(MainWindow, MissileIsSelectedWithItsCarrierOrAloneWithinReach) {
    emptyScene();
    placeAircraft(100, 100);
    placeAircraft(104, 100);
    clickMap(100, 100);
    QTest::mouseClick(form->Button16, Qt::LeftButton);
    ASSERT_EQ(world->missileCount, 1);
    clickMap(5, 430);
    EXPECT_EQ(shown(), "");
    clickMap(100, 100);
    EXPECT_EQ(world->selectedAircraft, 0);
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
    ASSERT_EQ(world->selectedMissile, 0);
    ASSERT_TRUE(form->Form3->isVisible());
    world->missiles[0].x = 123.7;
    world->missiles[0].y = 45.2;
    removeMissile(*world, 0);
    EXPECT_TRUE(form->Form3->isHidden());
    EXPECT_EQ(form->impactText().state, 1);
    EXPECT_EQ(form->impactText().x, 123);
    EXPECT_EQ(form->impactText().y, 45);
    EXPECT_TRUE(form->Timer3->isActive());
    form->Timer3Timer();
    EXPECT_EQ(form->impactText().state, 2);
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
