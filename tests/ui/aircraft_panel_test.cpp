// The aircraft panel: refreshes, compass, track bars, attack run, missile loading.
#include <QStyleOptionButton>
#include <QStyleOptionSlider>

#include "catalog/missile_catalog.h"
#include "form_fixture.h"
#include "sim/tick.h"
#include "ui/picture_box.h"
#include "ui/missile_window.h"

namespace prrsim::ui {
namespace {

class AircraftPanelTest : public FormTest {
  protected:
    // Selects aircraft `i` with a map click on it.
    void select(int i) {
        clickAircraft(i);
        ASSERT_EQ(form->view().selectedAircraft, i);
    }

    // Moves the mouse over the compass to (x, y) and clicks there.
    void clickCompass(int x, int y) {
        auto* compass = child<PictureBox>("courseCompass");
        moveMouse(compass, QPoint(x, y));
        QTest::mouseClick(compass, Qt::LeftButton, {}, QPoint(x, y));
    }

    QPushButton* attackRunButton() const { return child<QPushButton>("attackRunButton"); }

    // Drags the climb slider's handle to the top or bottom end of the bar.
    void dragClimbBar(bool toTop) {
        QSlider* bar = child<QSlider>("climbSlider");
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

// Selecting another aircraft used to keep the caption of the one shown before: an aircraft on
// its attack run offered "На боевой", one that was not offered "Уйти с боевого".
TEST_F(AircraftPanelTest, AttackButtonCaptionFollowsTheShownAircraft) {
    world->aircraft[0].targetRadar = 2;
    world->aircraft[3].targetRadar = 2;
    select(0);
    QTest::mouseClick(attackRunButton(), Qt::LeftButton);
    ASSERT_TRUE(world->aircraft[0].onAttackRun);
    select(3);
    EXPECT_EQ(attackRunButton()->text(), QStringLiteral("На боевой"));
    EXPECT_FALSE(isArmed(attackRunButton()));
    select(0);
    EXPECT_EQ(attackRunButton()->text(), QStringLiteral("Уйти с боевого"));
    EXPECT_TRUE(isArmed(attackRunButton()));
    // A change the panel did not make shows at the next periodic refresh.
    world->aircraft[0].onAttackRun = false;
    form->redraw();
    EXPECT_EQ(attackRunButton()->text(), QStringLiteral("На боевой"));
}

// The bold "Уйти с боевого" showed as "ти с боево" in its button.
TEST_F(AircraftPanelTest, AttackButtonCaptionFitsInBothStates) {
    world->aircraft[0].targetRadar = 2;
    select(0);
    for (int i = 0; i < 2; ++i) {
        QTest::mouseClick(attackRunButton(), Qt::LeftButton);
        QStyleOptionButton option;
        option.initFrom(attackRunButton());
        option.text = attackRunButton()->text();
        const QRect room = attackRunButton()->style()->subElementRect(QStyle::SE_PushButtonContents,
                                                                      &option, attackRunButton());
        const int needed =
            attackRunButton()->fontMetrics().horizontalAdvance(attackRunButton()->text());
        EXPECT_LE(needed, room.width()) << attackRunButton()->text().toStdString();
    }
    // It stands inside the panel and clear of the other buttons.
    EXPECT_TRUE(child<AircraftPanel>("aircraftPanel")
                    ->contentsRect()
                    .contains(attackRunButton()->geometry()));
    for (const QPushButton* other :
         {child<QPushButton>("pickTargetButton"), child<QPushButton>("clearTargetButton"),
          child<QPushButton>("addMissileButton"), child<QPushButton>("launchButton")}) {
        EXPECT_FALSE(attackRunButton()->geometry().intersects(other->geometry()))
            << other->objectName().toStdString();
    }
}

// The panel's "На боевой" once started an attack run on a target no longer on the map, while
// the batch runner's attackRun refused it: both now go through toggleAttackRun.
TEST_F(AircraftPanelTest, AttackRunOnATargetNoLongerOnTheMapIsRefusedLikeTheBatchRunner) {
    world->aircraft[0].targetRadar = world->radarCount;
    select(0);
    QTest::mouseClick(attackRunButton(), Qt::LeftButton);
    EXPECT_FALSE(world->aircraft[0].onAttackRun);
    EXPECT_EQ(attackRunButton()->text(), QStringLiteral("На боевой"));
}

}  // namespace
}  // namespace prrsim::ui
