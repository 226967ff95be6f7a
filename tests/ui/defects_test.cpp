// Regression tests of faults users found in the windows, each named after its fault.
#include <gtest/gtest.h>

#include <QDialogButtonBox>
#include <QFileDialog>
#include <QKeySequence>
#include <QLabel>
#include <QRegularExpression>
#include <vector>
#include <QPushButton>

#include "form_fixture.h"
#include "missile/missile_control.h"
#include "missile/missile_loading.h"
#include "ui/picture_box.h"
#include "ui/view_state.h"

namespace prrsim::ui {
namespace {

constexpr int32_t kHarm = 3;  // "AGM-88C HARM"; launch mode 0 captures before launch

// Qt's own buttons, dialog texts and key names were English among the Russian windows.
TEST(Application, QtDialogsSpeakRussian) {
    QDialogButtonBox box(QDialogButtonBox::Save | QDialogButtonBox::Cancel);
    EXPECT_EQ(box.button(QDialogButtonBox::Cancel)->text(), QStringLiteral("Отмена"));
    EXPECT_NE(QCoreApplication::translate("QFileDialog", "Look in:"), QStringLiteral("Look in:"));
    EXPECT_NE(QCoreApplication::translate("QFileDialog", "File &name:"),
              QStringLiteral("File &name:"));
    EXPECT_NE(QKeySequence(Qt::Key_Space).toString(QKeySequence::NativeText),
              QStringLiteral("Space"));
}

class Defects : public FormTest {};

// The radar panel wrote the frequency unit "Мгц".
TEST_F(Defects, FrequencyUnitIsMHz) {
    EXPECT_EQ(child<QLabel>("megahertzLabel")->text(), QStringLiteral("МГц"));
}

// On an attack run's descent the panel read "Подъём" 349 with its bar at full climb.
TEST_F(Defects, AircraftPanelShowsTheDescentFlownOnAnAttackRun) {
    clickAircraft(0);
    Aircraft& a = world->aircraft[0];
    a.targetRadar = 0;
    a.onAttackRun = true;
    a.climbAngle = 349;
    clickAircraft(0);  // shown afresh
    EXPECT_EQ(child<QLineEdit>("climbEdit")->text(), QStringLiteral("-11"));
    EXPECT_EQ(child<QSlider>("climbSlider")->value(),
              child<QSlider>("climbSlider")->maximum());  // full descent
    // The periodic refresh follows the steering, and nothing is written back.
    a.climbAngle = 355.5;
    form->redraw();
    EXPECT_EQ(child<QLineEdit>("climbEdit")->text(), QStringLiteral("-4"));
    EXPECT_EQ(child<QSlider>("climbSlider")->value(), 14);
    EXPECT_EQ(a.climbAngle, 355.5);
}

// "Выбрать" and a click on a radar closed the missile window of the aircraft's missile.
TEST_F(Defects, MapClickPickingATargetKeepsTheMissileWindowOpen) {
    clickAircraft(0);
    QTest::mouseClick(child<QPushButton>("addMissileButton"), Qt::LeftButton);  // "Добавить ПРР"
    ASSERT_TRUE(child<MissileWindow>("missileWindow")->isVisible());
    ASSERT_EQ(form->view().selectedMissile, 0);
    child<QPushButton>("pickTargetButton")->click();  // "Выбрать"
    clickMap(world->radars[2].x, world->radars[2].y);
    EXPECT_EQ(world->aircraft[0].targetRadar, 2);
    EXPECT_TRUE(child<MissileWindow>("missileWindow")->isVisible());
    EXPECT_EQ(form->view().selectedMissile, 0);
    EXPECT_EQ(form->view().selectedAircraft, 0);
    EXPECT_TRUE(child<AircraftPanel>("aircraftPanel")->isVisible());
}

// "Захват" and a click on an aircraft hid the radar panel.
TEST_F(Defects, MapClickCapturingAnAircraftKeepsTheRadarPanel) {
    emptyScene();
    placeAircraft(100, 100);
    const int radar = placeRadar(typeOfKind(4), 300, 300);
    clickMap(300, 300);
    child<QPushButton>("captureButton")->click();  // "Захват"
    clickMap(100, 100);
    EXPECT_EQ(world->radars[radar].currentTarget, 0);
    EXPECT_EQ(form->view().selectedRadar, radar);
    EXPECT_EQ(form->view().selectedAircraft, -1);
    EXPECT_TRUE(child<RadarPanel>("radarPanel")->isVisible());
    EXPECT_FALSE(child<AircraftPanel>("aircraftPanel")->isVisible());
}

// A capture that heard nothing stayed "Захват..." / "Нет сигнала" with nothing saying why.
TEST_F(Defects, MissileWindowCaptureWithNothingFoundSaysWhy) {
    emptyScene();
    placeAircraft(100, 100);
    const int32_t m = addMissile(*world, 0, kHarm, 0);
    ASSERT_EQ(m, 0);
    ASSERT_TRUE(activateMissile(*world, m));
    ASSERT_TRUE(captureButton(*world, m));
    ASSERT_EQ(world->missiles[m].capturing, 1);
    clickAircraft(0);  // the aircraft with its missile: the missile window shows it
    ASSERT_EQ(form->view().selectedMissile, m);
    const auto reason = [&] {
        child<MissileWindow>("missileWindow")->refreshMissileWindow();
        return child<MissileWindow>("missileWindow")
            ->findChild<QLabel*>(QStringLiteral("captureHindranceLabel"))
            ->text();
    };
    EXPECT_EQ(reason(), QString());
    for (int i = 0; i < 50; ++i) {
        form->runDueTicks();
    }
    EXPECT_EQ(reason(), QString()) << "half a second is not yet worth a word";
    for (int i = 0; i < 60; ++i) {
        form->runDueTicks();
    }
    EXPECT_EQ(reason(), QStringLiteral("Нет излучающих РЛС в поле зрения ГСН"));
    EXPECT_EQ(world->missiles[m].capturing, 1);
}

// A lower missile detonating used to leave the selection where it was: it then named the next
// missile (another aircraft's) or a slot beyond the table.
TEST_F(Defects, SelectionFollowsItsMissileWhenALowerOneDetonates) {
    ASSERT_EQ(addMissile(*world, 0, 0, 0), 0);
    ASSERT_EQ(addMissile(*world, 2, 0, 0), 1);
    form->view().selectedAircraft = 2;
    form->view().selectedMissile = 1;
    removeMissile(*world, 0);
    EXPECT_EQ(form->view().selectedMissile, 0);
    EXPECT_EQ(world->missiles[0].carrier, 2);
    EXPECT_EQ(viewProblem(*world, form->view()), "");
    removeMissile(*world, 0);
    EXPECT_EQ(form->view().selectedMissile, -1);
    EXPECT_FALSE(child<MissileWindow>("missileWindow")->isVisible());
}

}  // namespace
}  // namespace prrsim::ui

namespace prrsim::ui {
namespace {

// Only the time controls had tooltips: every other control left the user guessing.
TEST_F(Defects, EveryControlHasARussianTooltip) {
    std::vector<QWidget*> controls = {child<QPushButton>("addRadarButton"),
                                      child<QPushButton>("removeRadarButton"),
                                      child<QPushButton>("addAircraftButton"),
                                      child<QPushButton>("removeAircraftButton"),
                                      child<MapView>("mapView"),
                                      child<QListWidget>("complexMemberList"),
                                      child<QPushButton>("pauseButton"),
                                      child<QSlider>("timeline")};
    for (QWidget* root : {static_cast<QWidget*>(child<AircraftPanel>("aircraftPanel")),
                          static_cast<QWidget*>(child<RadarPanel>("radarPanel")),
                          static_cast<QWidget*>(child<AddRadarDialog>("addRadarDialog")),
                          static_cast<QWidget*>(child<MissileWindow>("missileWindow"))}) {
        for (QWidget* w : root->findChildren<QWidget*>()) {
            const bool control = qobject_cast<QAbstractButton*>(w) || qobject_cast<QComboBox*>(w) ||
                                 qobject_cast<QSlider*>(w) || qobject_cast<QLineEdit*>(w) ||
                                 qobject_cast<QListWidget*>(w) || qobject_cast<PictureBox*>(w);
            // Qt's own parts inside a control (a combo box's line edit) are named "qt_…".
            if (control && !w->objectName().isEmpty() && !w->objectName().startsWith("qt_")) {
                controls.push_back(w);
            }
        }
    }
    static const QRegularExpression cyrillic(QStringLiteral("[А-Яа-яЁё]"));
    for (QWidget* w : controls) {
        EXPECT_TRUE(w->toolTip().contains(cyrillic)) << w->objectName().toStdString();
    }
    EXPECT_EQ(child<QPushButton>("cancelButton")->text(), QStringLiteral("Отмена"));
}

}  // namespace
}  // namespace prrsim::ui
