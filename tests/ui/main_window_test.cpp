// The main window: start-up state, the map click and its modes, the buttons under the map.
#include <QApplication>
#include <QMenuBar>
#include <functional>

#include "form_fixture.h"
#include "missile/missile_loading.h"
#include "ui/application.h"

namespace prrsim::ui {
namespace {

using MainWindowTest = FormTest;

// "Захват" armed on a radar whose emission was then switched off swallowed every later click:
// no aircraft could be selected until an emitting radar was chosen.
TEST_F(MainWindowTest, CaptureOnASilentRadarIsCancelledAtOnce) {
    emptyScene();
    placeAircraft(100, 100);
    placeRadar(typeOfKind(4), 200, 200);
    clickMap(200, 200);
    child<QPushButton>("captureButton")->click();
    ASSERT_TRUE(form->view().captureMode);
    child<QCheckBox>("emissionBox")->click();  // "Излучение" off
    EXPECT_FALSE(world->radars[0].emissionOn);
    EXPECT_FALSE(form->view().captureMode);
    EXPECT_FALSE(isArmed(child<QPushButton>("captureButton")));
    EXPECT_EQ(child<MapView>("mapView")->cursor().shape(), Qt::ArrowCursor);
    clickMap(100, 100);
    EXPECT_EQ(form->view().selectedAircraft, 0);
}

// "Выбрать" armed when the dialog's new radar took the selection from the aircraft stayed armed
// with no aircraft to act for and swallowed every later click in the same way.
TEST_F(MainWindowTest, PickTargetWithoutItsAircraftIsCancelledAtOnce) {
    emptyScene();
    placeAircraft(100, 100);
    clickMap(100, 100);
    child<QPushButton>("pickTargetButton")->click();
    ASSERT_TRUE(form->view().pickTargetMode);
    ASSERT_EQ(addRadars(*world, 0, -1, true), 1);
    emit child<AddRadarDialog>("addRadarDialog")->radarsAdded();
    EXPECT_EQ(form->view().selectedAircraft, -1);
    EXPECT_FALSE(form->view().pickTargetMode);
    EXPECT_FALSE(isArmed(child<QPushButton>("pickTargetButton")));
    clickMap(50, 50);  // places the new radar
    clickMap(100, 100);
    EXPECT_EQ(form->view().selectedAircraft, 0);
}

TEST_F(MainWindowTest, CaptureAssignsTheNearestAircraftAndEnds) {
    emptyScene();
    placeAircraft(100, 100);
    placeRadar(typeOfKind(4), 300, 300);
    clickMap(300, 300);
    child<QPushButton>("captureButton")->click();
    EXPECT_EQ(child<MapView>("mapView")->cursor().shape(), Qt::CrossCursor);
    clickMap(100, 100);
    EXPECT_FALSE(form->view().captureMode);
    EXPECT_EQ(world->radars[0].currentTarget, 0);
    EXPECT_EQ(child<MapView>("mapView")->cursor().shape(), Qt::ArrowCursor);
    EXPECT_FALSE(isArmed(child<QPushButton>("captureButton")));
}

// Nothing left an armed mode but the click it waited for: Esc now cancels each of them.
struct ArmedMode {
    const char* name;
    QPoint select;  // the click that selects what the mode's button acts on
    std::function<void(MainWindow&)> arm;
    std::function<bool(MainWindow&, const WorldState&)> armed;
};

void PrintTo(const ArmedMode& mode, std::ostream* os) {
    *os << mode.name;
}

class EscapeKey : public MainWindowTest, public ::testing::WithParamInterface<ArmedMode> {};

TEST_P(EscapeKey, CancelsTheArmedModeAndLeavesTheWorldAsItWas) {
    emptyScene();
    placeAircraft(100, 100);
    placeRadar(typeOfKind(4), 200, 200);
    clickMap(GetParam().select.x(), GetParam().select.y());
    GetParam().arm(*form);
    ASSERT_TRUE(GetParam().armed(*form, *world));
    const int32_t radars = world->radarCount;
    const Point created{world->radars[radars - 1].x, world->radars[radars - 1].y};
    form->activateWindow();
    QTest::keyClick(child<MapView>("mapView"), Qt::Key_Escape);
    const ViewState& view = form->view();
    EXPECT_FALSE(view.pickTargetMode || view.moveAircraftMode || view.radarPlaceMode ||
                 view.captureMode);
    for (QPushButton* b :
         {child<QPushButton>("pickTargetButton"), child<QPushButton>("moveButton"),
          child<QPushButton>("moveRadarButton"), child<QPushButton>("captureButton")}) {
        EXPECT_FALSE(isArmed(b)) << b->objectName().toStdString();
    }
    EXPECT_EQ(child<MapView>("mapView")->cursor().shape(), Qt::ArrowCursor);
    // The next click selects; new radars stay where they were created.
    EXPECT_EQ(world->radars[radars - 1].x, created.x);
    EXPECT_EQ(world->radars[radars - 1].y, created.y);
    clickMap(100, 100);
    EXPECT_EQ(form->view().selectedAircraft, 0);
    EXPECT_EQ(world->aircraft[0].x, 100);
    EXPECT_EQ(world->aircraft[0].targetRadar, -1);
    EXPECT_EQ(world->radars[0].currentTarget, -1);
}

INSTANTIATE_TEST_SUITE_P(
    Modes, EscapeKey,
    ::testing::Values(
        ArmedMode{"PickTarget",
                  {100, 100},
                  [](MainWindow& f) { childNamed<QPushButton>(&f, "pickTargetButton")->click(); },
                  [](MainWindow& f, const WorldState&) { return f.view().pickTargetMode; }},
        ArmedMode{"MoveAircraft",
                  {100, 100},
                  [](MainWindow& f) { childNamed<QPushButton>(&f, "moveButton")->click(); },
                  [](MainWindow& f, const WorldState&) { return f.view().moveAircraftMode; }},
        ArmedMode{"PlaceAfterDialog",
                  {100, 100},
                  [](MainWindow& f) {
                      childNamed<QPushButton>(&f, "addRadarButton")->click();
                      childNamed<AddRadarDialog>(&f, "addRadarDialog")->resetChoices();
                      childNamed<QComboBox>(&f, "singleRadarBox")->setCurrentIndex(1);
                      childNamed<QPushButton>(&f, "okButton")->click();
                  },
                  [](MainWindow& f, const WorldState& w) {
                      return f.view().radarPlaceMode && w.radarCount == 2;
                  }},
        ArmedMode{"Capture",
                  {200, 200},
                  [](MainWindow& f) { childNamed<QPushButton>(&f, "captureButton")->click(); },
                  [](MainWindow& f, const WorldState&) { return f.view().captureMode; }}),
    [](const auto& info) { return std::string(info.param.name); });

// Placing a radar used to leave the panel's X and Y at the radar's former place.
TEST_F(MainWindowTest, RadarPanelCoordinatesFollowEveryPlacement) {
    clickMap(world->radars[2].x, world->radars[2].y);
    child<QPushButton>("moveRadarButton")->click();  // "Перенести"
    clickMap(100, 400);
    EXPECT_EQ(child<QLineEdit>("radarXEdit")->text(), QStringLiteral("100"));
    EXPECT_EQ(child<QLineEdit>("radarYEdit")->text(), QStringLiteral("400"));

    // Placing the radars added by the dialog.
    ASSERT_EQ(addRadars(*world, 0, -1, true), 1);
    emit child<AddRadarDialog>("addRadarDialog")->radarsAdded();
    EXPECT_EQ(child<QLineEdit>("radarXEdit")->text(), QStringLiteral("300"));
    clickMap(50, 60);
    EXPECT_EQ(child<QLineEdit>("radarXEdit")->text(), QStringLiteral("50"));
    EXPECT_EQ(child<QLineEdit>("radarYEdit")->text(), QStringLiteral("60"));
}

// After a removal and an add two aircraft share an id: a click on one used to select it
// together with the other one's missile lying within reach.
TEST_F(MainWindowTest, MissileOfAnAircraftWithTheSameIdIsNotSelectedWithAnother) {
    emptyScene();
    placeAircraft(300, 300);
    placeAircraft(50, 50);
    placeAircraft(200, 200);
    clickMap(300, 300);
    QTest::mouseClick(child<QPushButton>("removeAircraftButton"),
                      Qt::LeftButton);                  // aircraft 1 and 2 move down
    ASSERT_EQ(addAircraft(*world), 2);                  // and the new one gets id 2 again
    ASSERT_EQ(world->aircraft[1].id, world->aircraft[2].id);
    world->aircraft[2].x = 200;
    world->aircraft[2].y = 200;
    ASSERT_EQ(addMissile(*world, 2, 3, 0), 0);
    clickMap(200, 200);  // aircraft 1 wins the tie with aircraft 2; the missile rides 2
    EXPECT_EQ(form->view().selectedAircraft, -1);
    EXPECT_EQ(form->view().selectedMissile, 0);
    EXPECT_EQ(shown(), "missileWindow");
}

TEST_F(MainWindowTest, MissileIsSelectedWithItsCarrierOrAloneWithinReach) {
    emptyScene();
    placeAircraft(100, 100);
    placeAircraft(104, 100);
    clickMap(100, 100);
    QTest::mouseClick(child<QPushButton>("addMissileButton"), Qt::LeftButton);
    ASSERT_EQ(world->missileCount, 1);
    clickMap(5, 430);
    EXPECT_EQ(shown(), "");
    clickMap(100, 100);
    EXPECT_EQ(form->view().selectedAircraft, 0);
    EXPECT_EQ(form->view().selectedMissile, 0);
    EXPECT_EQ(shown(), "aircraftPanel missileWindow removeAircraftButton");
    // Aircraft 1 is nearest to (106, 100) but the missile of aircraft 0 is within reach.
    clickMap(106, 100);
    EXPECT_EQ(form->view().selectedMissile, 0);
    EXPECT_EQ(form->view().selectedAircraft, -1);
    EXPECT_EQ(shown(), "missileWindow");
}

TEST_F(MainWindowTest, DetonationStartsTheImpactTextAndHidesTheMissileWindow) {
    clickAircraft(0);
    QTest::mouseClick(child<QPushButton>("addMissileButton"), Qt::LeftButton);
    ASSERT_EQ(form->view().selectedMissile, 0);
    ASSERT_TRUE(child<MissileWindow>("missileWindow")->isVisible());
    world->missiles[0].x = 123.7;
    world->missiles[0].y = 45.2;
    removeMissile(*world, 0);
    EXPECT_TRUE(child<MissileWindow>("missileWindow")->isHidden());
    EXPECT_EQ(form->impactText().state, 1);
    EXPECT_EQ(form->impactText().x, 123);
    EXPECT_EQ(form->impactText().y, 45);
    EXPECT_TRUE(child<QTimer>("impactTimer")->isActive());
    form->advanceImpactText();
    EXPECT_EQ(form->impactText().state, 2);
    form->advanceImpactText();
    EXPECT_EQ(form->impactText().state, 0);
    EXPECT_FALSE(child<QTimer>("impactTimer")->isActive());
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
