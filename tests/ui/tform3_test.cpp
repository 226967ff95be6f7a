#include "ui/tform3.h"

#include <gtest/gtest.h>

#include <memory>

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

TEST_F(TForm3Test, WindowInitialContentsAndRefreshWithoutMissile) {
    EXPECT_EQ(form->size(), QSize(321, 448));
    EXPECT_TRUE(form->windowFlags().testFlag(Qt::WindowStaysOnTopHint));
    EXPECT_EQ(form->Button3->text(), "ПУСК");
    EXPECT_EQ(form->GroupBox1->title(), "Движение ракеты");
    EXPECT_EQ(form->Label17->text(), "На цель");
    EXPECT_TRUE(form->Label16->isHidden());
    EXPECT_EQ(form->TrackBar1->maximum(), 100);
    form->refreshMissileWindow();  // without a selected missile: nothing shown
    EXPECT_EQ(form->shownMissile(), -1);
    EXPECT_TRUE(form->windowTitle().isEmpty());
}

TEST_F(TForm3Test, CaptureButtonCaptionFollowsTheLaunchMode) {
    Missile& capture = load(kHarm, 0);  // "самозахват и пуск"
    EXPECT_EQ(form->windowTitle(), "AGM-88C HARM");
    EXPECT_EQ(form->Label20->text(), "самозахват и пуск");
    EXPECT_EQ(form->Button2->text(), "Захват цели");
    capture.capturing = 1;
    form->refreshMissileWindow();
    EXPECT_EQ(form->Button2->text(), "Отменить захват");
    capture.locked = 1;  // capturing and locked together: the indicator stays as it was
    form->refreshMissileWindow();
    EXPECT_EQ(form->Label1->text(), "Захват...");
    expectStyle(form->Label1, 10, Qt::blue);

    load(kHarm, 2);  // "пуск по известной цели"
    EXPECT_EQ(form->Button2->text(), "Ввод данных");
    EXPECT_EQ(form->shownMissile(), 1);
}

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

// A missile never switched on used to show the guidance text and seeker picture of the missile
// shown before it.
TEST_F(TForm3Test, NeverActivatedMissileShowsItsOwnEmptyState) {
    Missile& first = load(kHarm, 0);
    first.activated = 1;
    first.launched = 1;
    first.guidanceMode = kHoming;
    first.directGuidance = 1;
    first.bearingToTarget = 20;
    form->refreshMissileWindow();
    ASSERT_EQ(form->Label17->text(), "Прямое наведение");
    ASSERT_NE(form->seekerImage().toImage(), crossPicture().toImage());
    load(kHarm, 2);
    EXPECT_EQ(form->Label17->text(), "На цель");
    EXPECT_EQ(form->seekerImage().toImage(), crossPicture().toImage());

    // A missile whose power ran out keeps what its seeker showed last.
    world->selectedMissile = 0;
    form->refreshMissileWindow();
    first.activated = 0;
    first.powerTime = 301;
    const QImage last = form->seekerImage().toImage();
    form->refreshMissileWindow();
    EXPECT_EQ(form->Label17->text(), "Прямое наведение");
    EXPECT_EQ(form->seekerImage().toImage(), last);
}

TEST_F(TForm3Test, TimerShowsSignalOrLossTimeInHundredths) {
    Missile& m = load(kHarm, 0);
    EXPECT_TRUE(form->Label14->isHidden());
    m.signalPresent = 1;
    m.signalTime = 0.4789;
    form->refreshMissileWindow();
    EXPECT_FALSE(form->Label14->isHidden());
    EXPECT_EQ(form->Label14->text().replace(',', '.'), "0.47");
    m.signalPresent = 0;
    m.locked = 1;
    m.lossTime = 1.5;
    form->refreshMissileWindow();
    EXPECT_EQ(form->Label14->text().replace(',', '.'), "1.5");
}

TEST_F(TForm3Test, SwitchOnDistanceControlsOnlyForEnteredTargetData) {
    load(kHarm, 0);  // capture before launch: hidden
    EXPECT_TRUE(form->TrackBar1->isHidden());
    EXPECT_TRUE(form->Label27->isHidden());

    Missile& entered = load(kHarm, 2);  // target data entered
    EXPECT_FALSE(form->TrackBar1->isHidden());
    EXPECT_FALSE(form->Label27->isHidden());
    EXPECT_FALSE(form->Label28->isHidden());
    form->TrackBar1->setValue(40);  // as the user's drag does
    EXPECT_EQ(entered.seekerOnDistance, 40);
    EXPECT_EQ(form->Label28->text(), "40");

    load(kAlarm, 1);  // "режим барражирования" starts at the waiting point: hidden
    EXPECT_EQ(form->Button2->text(), "Ввод данных");
    EXPECT_TRUE(form->TrackBar1->isHidden());

    Missile& shown = load(kAlarm, 3);
    shown.seekerOnDistance = 70;
    form->refreshMissileWindow();
    EXPECT_EQ(form->TrackBar1->value(), 70);
    EXPECT_EQ(form->Label28->text(), "70");
    EXPECT_EQ(shown.seekerOnDistance, 70);
}

// The switch-on distance value sat across its track bar's groove.
TEST_F(TForm3Test, SwitchOnDistanceValueStandsClearOfItsTrackBar) {
    Missile& m = load(kHarm, 2);
    m.seekerOnDistance = 100;
    form->refreshMissileWindow();
    ASSERT_TRUE(form->Label28->isVisibleTo(form.get()));
    EXPECT_FALSE(form->Label28->geometry().intersects(form->TrackBar1->geometry()));
    EXPECT_FALSE(form->Label28->geometry().intersects(form->Label27->geometry()));
    EXPECT_TRUE(form->GroupBox2->contentsRect().contains(form->Label28->geometry()));
}

TEST_F(TForm3Test, LaunchDisablesTheButtonsAndHidesTheDistanceControls) {
    Missile& m = load(kHarm, 2);
    form->Button1->click();
    form->Button2->click();  // "Ввод данных"
    EXPECT_EQ(m.capturing, 0);
    form->Button3->click();
    ASSERT_EQ(m.launched, 1);
    form->refreshMissileWindow();
    EXPECT_FALSE(form->Button2->isEnabled());
    EXPECT_FALSE(form->Button3->isEnabled());
    EXPECT_TRUE(form->TrackBar1->isHidden());
    expectStyle(form->Label10, 12, Qt::red);
}

TEST_F(TForm3Test, FuelAndPowerBars) {
    Missile& m = load(kHarm, 0);  // burn time 15 s, power endurance 250 s
    m.flightTime = 3.75;
    m.powerTime = 300;
    m.thrust = 0;
    form->refreshMissileWindow();
    EXPECT_EQ(form->ProgressBar1->value(), 75);
    EXPECT_EQ(form->ProgressBar2->value(), 0);  // below zero shows an empty bar
    EXPECT_TRUE(form->Label15->isHidden());
    EXPECT_TRUE(form->Label29->isHidden());
    m.thrust = 95000;
    m.powerTime = 25;
    form->refreshMissileWindow();
    EXPECT_EQ(form->ProgressBar2->value(), 90);
    EXPECT_FALSE(form->Label15->isHidden());
    EXPECT_FALSE(form->Label29->isHidden());
}

TEST_F(TForm3Test, SeekerPictureDrawsTheTargetRightAndAbove) {
    Missile& m = load(kHarm, 0);
    m.activated = 1;
    m.heading = 0;
    m.pitch = 0;
    m.bearingToTarget = 20;    // right of the heading
    m.elevationToTarget = 10;  // above the pitch
    form->refreshMissileWindow();
    const QImage image = form->seekerImage().toImage();
    const QColor red(Qt::red);
    // The dot spans (42, 22)-(46, 26): its inside is red.
    EXPECT_EQ(image.pixelColor(43, 23), red);
    EXPECT_EQ(image.pixelColor(44, 24), red);
    // Nothing red in the mirrored places.
    EXPECT_NE(image.pixelColor(18, 23), red);
    EXPECT_NE(image.pixelColor(43, 38), red);
}

TEST_F(TForm3Test, SeekerPictureDrawsCommandLinesOnlyAtFullDeflection) {
    Missile& m = load(kHarm, 0);
    m.activated = 1;
    m.elevationToTarget = -40;  // the target dot well away from the line
    const QImage cross = crossPicture().toImage();
    const QColor black(Qt::black);
    // The climb line goes down from the centre; sample beside the centre column.
    const QPoint sample(32, 45);
    ASSERT_NE(cross.pixelColor(sample), black);

    m.climbCommand = 0.9;
    form->refreshMissileWindow();
    EXPECT_NE(form->seekerImage().toImage().pixelColor(sample), black);

    m.climbCommand = 1;
    form->refreshMissileWindow();
    EXPECT_EQ(form->seekerImage().toImage().pixelColor(sample), black);
}

TEST_F(TForm3Test, CompassNeedleAndFlightData) {
    Missile& m = load(kHarm, 0);
    const QColor blue(0, 0, 255);
    ASSERT_NE(compassPicture().toImage().pixelColor(31, 50), blue);
    m.heading = 90;
    form->refreshMissileWindow();
    EXPECT_EQ(form->compassImage().toImage().pixelColor(31, 50), blue);
    EXPECT_NE(form->compassImage().toImage().pixelColor(50, 31), blue);

    // Flight data in hundredths.
    m.speed = 750.129;
    m.x = 200.5;
    m.altitude = 50;
    form->refreshMissileWindow();
    EXPECT_EQ(form->Edit1->text().replace(',', '.'), "750.12");
    EXPECT_EQ(form->Edit2->text().replace(',', '.'), "200.5");
    EXPECT_EQ(form->Edit4->text(), "50");
}

TEST_F(TForm3Test, ParametersShownByWhatTheTypeMeasures) {
    Missile& harm = load(kHarm, 0);
    EXPECT_FALSE(form->Label21->isHidden());  // measures the PRF
    EXPECT_FALSE(form->Label22->isHidden());  // and the pulse width
    EXPECT_FALSE(form->Edit8->isHidden());    // identifies the radar type
    EXPECT_TRUE(form->Edit8->text().isEmpty());
    harm.prf = 1850;
    harm.emissionKindKnown = 1;
    harm.pulsed = 1;
    form->refreshMissileWindow();
    EXPECT_EQ(form->Label21->text(), "ЧПИ 1850");
    EXPECT_EQ(form->Label32->text(), "Импульсный");

    load(0, 0);  // "AGM-45 Shrike B-2" measures nothing
    EXPECT_TRUE(form->Label21->isHidden());
    EXPECT_TRUE(form->Label23->isHidden());
    EXPECT_TRUE(form->Edit8->isHidden());
}

}  // namespace
}  // namespace prrsim::ui
