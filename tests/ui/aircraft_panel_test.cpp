// The aircraft panel: compass, attack run, a target no longer on the map, refused loading.
#include "form_fixture.h"
#include "sim/tick.h"
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
};

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

    // "Очистить" ends the run and the target; the caption stays until "На боевой" changes it.
    QTest::mouseClick(form->Button1, Qt::LeftButton);
    EXPECT_FALSE(world->aircraft[0].onAttackRun);
    EXPECT_EQ(world->aircraft[0].targetRadar, -1);
    EXPECT_EQ(form->Button4->text(), QStringLiteral("Уйти с боевого"));
    EXPECT_FALSE(isArmed(form->Button4));
    EXPECT_FALSE(form->Button4->isEnabled());
    EXPECT_EQ(form->Label10->text(), QStringLiteral("НЕТ"));
}

TEST_F(AircraftPanel, TargetNoLongerOnTheMapShowsAbsent) {
    world->aircraft[0].targetRadar = 150;
    select(0);
    EXPECT_EQ(form->Label10->text(), QStringLiteral("НЕТ"));
    // It can still be cleared.
    EXPECT_TRUE(form->Button1->isEnabled());
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
