// The aircraft panel: refreshes, compass, track bars, attack run, missile loading.
#include <QStyleOptionButton>
#include <QStyleOptionSlider>

#include "catalog/missile_catalog.h"
#include "form_fixture.h"
#include "sim/tick.h"
#include "ui/picture_box.h"
#include "ui/tform3.h"

namespace prrsim::ui {
namespace {

class AircraftPanel : public FormTest {
  protected:
    // Selects aircraft `i` with a map click on it.
    void select(int i) {
        clickAircraft(i);
        ASSERT_EQ(world->selectedAircraft, i);
    }

    // Moves the mouse over the compass to (x, y) and clicks there.
    void clickCompass(int x, int y) {
        moveMouse(form->Image2, QPoint(x, y));
        QTest::mouseClick(form->Image2, Qt::LeftButton, {}, QPoint(x, y));
    }

    // Drags TrackBar2's handle to the top or bottom end of the bar.
    void dragClimbBar(bool toTop) {
        QSlider* bar = form->TrackBar2;
        QStyleOptionSlider option;
        option.initFrom(bar);
        option.orientation = bar->orientation();
        option.minimum = bar->minimum();
        option.maximum = bar->maximum();
        option.sliderPosition = bar->sliderPosition();
        option.sliderValue = bar->value();
        option.upsideDown = !bar->invertedAppearance();
        const QRect handle =
            bar->style()->subControlRect(QStyle::CC_Slider, &option, QStyle::SC_SliderHandle, bar);
        const QPoint end(handle.center().x(), toTop ? 0 : bar->height() - 1);
        QTest::mousePress(bar, Qt::LeftButton, {}, handle.center());
        QTest::mouseMove(bar, end);
        QTest::mouseRelease(bar, Qt::LeftButton, {}, end);
    }
};

TEST_F(AircraftPanel, FullRefreshShowsTheSelectedAircraft) {
    world->aircraft[2].altitude = 45.99;
    world->aircraft[2].speed = 812.7;
    world->aircraft[2].x = 294.9;
    select(2);
    EXPECT_EQ(form->Label7->text(), QStringLiteral("2"));
    EXPECT_EQ(form->Edit1->text(), QStringLiteral("294"));
    EXPECT_EQ(form->Edit2->text(), QStringLiteral("155"));
    EXPECT_EQ(form->Edit3->text(), QStringLiteral("4500"));
    EXPECT_EQ(form->Edit4->text(), QStringLiteral("812"));
    EXPECT_EQ(form->TrackBar1->value(), 812);
    // The track bar gives the whole-number speed back to the record.
    EXPECT_EQ(world->aircraft[2].speed, 812);
    EXPECT_EQ(form->Label10->text(), QStringLiteral("НЕТ"));
    EXPECT_EQ(form->Edit5->text(), QStringLiteral("72"));
    EXPECT_FALSE(form->Button1->isEnabled());
    EXPECT_FALSE(form->Button4->isEnabled());
}

TEST_F(AircraftPanel, PeriodicRefreshFollowsTheAircraftButNotItsSpeedBox) {
    select(0);
    SimulationTick(*world);
    world->aircraft[0].x = 17.5;
    world->aircraft[0].speed = 100;
    form->Timer2Timer();
    EXPECT_EQ(form->Edit1->text(), QStringLiteral("17"));
    EXPECT_EQ(form->Edit4->text(), QStringLiteral("780"));
    EXPECT_EQ(world->aircraft[0].speed, 100);
}

TEST_F(AircraftPanel, CompassClickSetsTheCourse) {
    select(0);
    struct Row {
        QPoint at;
        double course;
    };
    // Right of the centre is 360 (the angle 6.28 with 3.14 for pi), below 90, left 180.
    for (const Row& row :
         {Row{{50, 31}, 360}, Row{{31, 50}, 90}, Row{{10, 31}, 180}, Row{{31, 5}, 270}}) {
        clickCompass(row.at.x(), row.at.y());
        EXPECT_EQ(world->aircraft[0].heading, row.course) << row.at.x() << "," << row.at.y();
        EXPECT_EQ(form->Edit5->text(), QString::number(row.course));
    }
    // The needle is drawn on a fresh picture: blue below the centre, nothing left of it.
    clickCompass(31, 50);
    const QImage picture = form->compassImage().toImage();
    EXPECT_EQ(picture.pixelColor(31, 55), QColor(0, 0, 255));
    EXPECT_NE(picture.pixelColor(40, 31), QColor(0, 0, 255));
}

TEST_F(AircraftPanel, ClimbBarTopBottomAndZeroAndSpeedBar) {
    select(0);
    dragClimbBar(true);
    EXPECT_EQ(world->aircraft[0].climbAngle, 10);
    EXPECT_EQ(form->Edit6->text(), QStringLiteral("10"));
    dragClimbBar(false);
    EXPECT_EQ(world->aircraft[0].climbAngle, -10);
    QTest::mouseClick(form->Button2, Qt::LeftButton);
    EXPECT_EQ(world->aircraft[0].climbAngle, 0);
    EXPECT_EQ(form->TrackBar2->value(), 10);
    form->TrackBar1->setValue(1200);  // as a drag of the speed bar does
    EXPECT_EQ(world->aircraft[0].speed, 1200);
    EXPECT_EQ(form->Edit4->text(), QStringLiteral("1200"));
}

TEST_F(AircraftPanel, RefreshKeepsAClimbAngleBeyondTheBar) {
    world->aircraft[1].climbAngle = 300;
    select(1);
    EXPECT_EQ(world->aircraft[1].climbAngle, 300);
    EXPECT_EQ(form->Edit6->text(), QStringLiteral("300"));

    // Inside the bar the refresh gives the climb angle back through the bar.
    world->aircraft[0].climbAngle = -4;
    select(0);
    EXPECT_EQ(form->TrackBar2->value(), 14);
    EXPECT_EQ(world->aircraft[0].climbAngle, -4);
}

TEST_F(AircraftPanel, AttackRunTogglesAndSteers) {
    select(0);
    QTest::mouseClick(form->Button4, Qt::LeftButton);
    EXPECT_FALSE(world->aircraft[0].onAttackRun);  // no target: nothing happens

    QTest::mouseClick(form->Button3, Qt::LeftButton);
    clickMap(world->radars[2].x, world->radars[2].y);
    ASSERT_EQ(world->aircraft[0].targetRadar, 2);
    form->Timer2Timer();
    EXPECT_TRUE(form->Button4->isEnabled());
    EXPECT_TRUE(form->Button1->isEnabled());
    EXPECT_EQ(form->Label10->text(), QStringLiteral("2"));

    QTest::mouseClick(form->Button4, Qt::LeftButton);
    EXPECT_TRUE(world->aircraft[0].onAttackRun);
    EXPECT_EQ(form->Button4->text(), QStringLiteral("Уйти с боевого"));
    EXPECT_TRUE(isArmed(form->Button4));

    // The tick steers at the radar; the periodic refresh shows the whole-degree course.
    for (int i = 0; i < 10; ++i) {
        SimulationTick(*world);
    }
    form->Timer2Timer();
    const int course = bearingDeg(world->aircraft[0].x, world->aircraft[0].y, world->radars[2].x,
                                  world->radars[2].y);
    EXPECT_EQ(form->Edit5->text(), QString::number(course));
    EXPECT_EQ(world->aircraft[0].heading, course);

    // "Очистить" ends the run and the target, and the caption says so.
    QTest::mouseClick(form->Button1, Qt::LeftButton);
    EXPECT_FALSE(world->aircraft[0].onAttackRun);
    EXPECT_EQ(world->aircraft[0].targetRadar, -1);
    EXPECT_EQ(form->Button4->text(), QStringLiteral("На боевой"));
    EXPECT_FALSE(isArmed(form->Button4));
    EXPECT_FALSE(form->Button4->isEnabled());
    EXPECT_EQ(form->Label10->text(), QStringLiteral("НЕТ"));
}

// Selecting another aircraft used to keep the caption of the one shown before: an aircraft on
// its attack run offered "На боевой", one that was not offered "Уйти с боевого".
TEST_F(AircraftPanel, AttackButtonCaptionFollowsTheShownAircraft) {
    world->aircraft[0].targetRadar = 2;
    world->aircraft[3].targetRadar = 2;
    select(0);
    QTest::mouseClick(form->Button4, Qt::LeftButton);
    ASSERT_TRUE(world->aircraft[0].onAttackRun);
    select(3);
    EXPECT_EQ(form->Button4->text(), QStringLiteral("На боевой"));
    EXPECT_FALSE(isArmed(form->Button4));
    select(0);
    EXPECT_EQ(form->Button4->text(), QStringLiteral("Уйти с боевого"));
    EXPECT_TRUE(isArmed(form->Button4));
    // A change the panel did not make shows at the next periodic refresh.
    world->aircraft[0].onAttackRun = false;
    form->Timer2Timer();
    EXPECT_EQ(form->Button4->text(), QStringLiteral("На боевой"));
}

// The bold "Уйти с боевого" showed as "ти с боево" in its button.
TEST_F(AircraftPanel, AttackButtonCaptionFitsInBothStates) {
    world->aircraft[0].targetRadar = 2;
    select(0);
    for (int i = 0; i < 2; ++i) {
        QTest::mouseClick(form->Button4, Qt::LeftButton);
        QStyleOptionButton option;
        option.initFrom(form->Button4);
        option.text = form->Button4->text();
        const QRect room = form->Button4->style()->subElementRect(QStyle::SE_PushButtonContents,
                                                                  &option, form->Button4);
        const int needed = form->Button4->fontMetrics().horizontalAdvance(form->Button4->text());
        EXPECT_LE(needed, room.width()) << form->Button4->text().toStdString();
    }
    // It stands inside the panel and clear of the other buttons.
    EXPECT_TRUE(form->Panel1->contentsRect().contains(form->Button4->geometry()));
    for (const QPushButton* other :
         {form->Button3, form->Button1, form->Button16, form->Button11}) {
        EXPECT_FALSE(form->Button4->geometry().intersects(other->geometry()))
            << other->objectName().toStdString();
    }
}

TEST_F(AircraftPanel, TargetNoLongerOnTheMapShowsAbsent) {
    world->aircraft[0].targetRadar = 150;
    select(0);
    EXPECT_EQ(form->Label10->text(), QStringLiteral("НЕТ"));
    // It can still be cleared.
    EXPECT_TRUE(form->Button1->isEnabled());
}

// The panel's "На боевой" once started an attack run on a target no longer on the map, while
// the batch runner's attackRun refused it: both now go through toggleAttackRun.
TEST_F(AircraftPanel, AttackRunOnATargetNoLongerOnTheMapIsRefusedLikeTheBatchRunner) {
    world->aircraft[0].targetRadar = world->radarCount;
    select(0);
    QTest::mouseClick(form->Button4, Qt::LeftButton);
    EXPECT_FALSE(world->aircraft[0].onAttackRun);
    EXPECT_EQ(form->Button4->text(), QStringLiteral("На боевой"));
}

TEST_F(AircraftPanel, MissileListsAtStartAndAfterAChoice) {
    ASSERT_EQ(form->ComboBox1->count(), 16);
    EXPECT_EQ(form->ComboBox1->currentText(), QStringLiteral("ALARM"));
    EXPECT_EQ(form->ComboBox2->currentIndex(), 1);
    EXPECT_EQ(form->ComboBox2->currentText(), QStringLiteral("режим барражирования"));

    form->ComboBox1->setCurrentIndex(0);
    form->ComboBox1Change();
    form->ComboBox1->setCurrentIndex(4);
    form->ComboBox1Change();
    const QStringList expected = {"директорный режим", "режим барражирования", "смешанный режим",
                                  "режим подавления", "универсальный режим"};
    ASSERT_EQ(form->ComboBox2->count(), expected.size());
    for (int i = 0; i < expected.size(); ++i) {
        EXPECT_EQ(form->ComboBox2->itemText(i), expected[i]);
    }
    EXPECT_EQ(form->ComboBox2->currentIndex(), -1);
}

TEST_F(AircraftPanel, AddMissileAtStartLoadsAlarmModeOne) {
    select(1);
    QTest::mouseClick(form->Button16, Qt::LeftButton);
    ASSERT_EQ(world->missileCount, 1);
    const Missile& m = world->missiles[0];
    EXPECT_EQ(m.typeIndex, 4);
    EXPECT_EQ(m.launchModeIndex, 1);
    EXPECT_EQ(m.carrier, 1);
    EXPECT_EQ(world->selectedMissile, 0);
    EXPECT_TRUE(form->Form3->isVisible());
    EXPECT_TRUE(notices.isEmpty());
}

TEST_F(AircraftPanel, AddMissileWithoutLaunchModeIsRefused) {
    select(1);
    form->ComboBox1->setCurrentIndex(2);
    form->ComboBox1Change();
    QTest::mouseClick(form->Button16, Qt::LeftButton);
    EXPECT_EQ(world->missileCount, 0);
    EXPECT_EQ(world->selectedMissile, -1);
    EXPECT_EQ(notices.size(), 1);
    EXPECT_TRUE(form->Form3->isHidden());

    world->missileCount = kMissileCapacity;
    form->ComboBox2->setCurrentIndex(0);
    QTest::mouseClick(form->Button16, Qt::LeftButton);
    EXPECT_EQ(world->missileCount, kMissileCapacity);
    EXPECT_EQ(notices.size(), 2);
}

}  // namespace
}  // namespace prrsim::ui
