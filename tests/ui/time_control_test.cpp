// Time control of the main window: speeds, pause and steps, the status bar, the achieved speed,
// the timeline and "Заново", and the question before a change drops the rest of a recording.
#include "form_fixture.h"
#include "missile/world_comparison.h"

namespace prrsim::ui {
namespace {

class TimeControl : public FormTest {
  protected:
    void SetUp() override {
        FormTest::SetUp();
        form->sceneFiles().newScene(batch::StartWorld::Default);
    }

    int64_t runEvents(int n) {
        const int64_t before = form->session().tick();
        for (int i = 0; i < n; ++i) {
            form->runDueTicks();
        }
        return form->session().tick() - before;
    }
};

TEST_F(TimeControl, EachSpeedRunsItsTicksPerTimerEvent) {
    const struct {
        int speed;
        const char* name;
        int64_t ticksIn8Events;
    } rows[] = {{0, "×¼", 2},  {1, "×½", 4},    {2, "×1", 8},    {3, "×2", 16},  {4, "×4", 32},
                {5, "×8", 64}, {6, "×16", 128}, {7, "×32", 256}, {8, "×64", 512}};
    for (const auto& row : rows) {
        form->setSpeed(row.speed);
        EXPECT_EQ(runEvents(8), row.ticksIn8Events) << row.name;
        EXPECT_EQ(child<QLabel>("speedLabel")->text(), QString::fromUtf8(row.name));
    }
    form->setPaused(true);
    EXPECT_EQ(runEvents(8), 0);
}

TEST_F(TimeControl, KeysPauseStepAndChangeSpeed) {
    form->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(form.get()));
    QTest::keyClick(form.get(), Qt::Key_Space);
    EXPECT_TRUE(form->paused());
    EXPECT_EQ(child<QLabel>("pauseLabel")->text(), QStringLiteral("Пауза"));
    EXPECT_EQ(child<QPushButton>("pauseButton")->text(), QStringLiteral("Продолжить"));
    QTest::keyClick(form.get(), Qt::Key_Period);
    EXPECT_EQ(form->session().tick(), 1);
    QTest::keyClick(form.get(), Qt::Key_Period, Qt::ControlModifier);
    EXPECT_EQ(form->session().tick(), 101);
    child<QPushButton>("stepTickButton")->click();
    EXPECT_EQ(form->session().tick(), 102);
    EXPECT_EQ(child<QLabel>("timeLabel")->text(), QStringLiteral("0:00:01.02"));
    QTest::keyClick(form.get(), Qt::Key_Plus);
    QTest::keyClick(form.get(), Qt::Key_Plus);
    EXPECT_EQ(form->speed(), MainWindow::kNormalSpeed + 2);
    QTest::keyClick(form.get(), Qt::Key_Minus);
    EXPECT_EQ(form->speed(), MainWindow::kNormalSpeed + 1);
    QTest::keyClick(form.get(), Qt::Key_Space);
    EXPECT_FALSE(form->paused());
    // Steps are for a paused session only.
    EXPECT_FALSE(child<QPushButton>("stepTickButton")->isEnabled());
    form->stepTicks(1);
    EXPECT_EQ(form->session().tick(), 102);
}

TEST_F(TimeControl, ClockShowsHoursMinutesSecondsAndHundredths) {
    const std::pair<int64_t, const char*> rows[] = {
        {0, "0:00:00.00"},      {1, "0:00:00.01"},        {12345, "0:02:03.45"},
        {360000, "1:00:00.00"}, {8639999, "23:59:59.99"}, {1000000000, "2777:46:40.00"}};
    for (const auto& [tick, text] : rows) {
        EXPECT_EQ(clockText(tick), QString::fromUtf8(text));
    }
}

TEST_F(TimeControl, AchievedSpeedIsShownOnlyWhenTheMachineFallsBehind) {
    qint64 now = 0;
    form->wallClock = [&now] { return now; };
    form->setSpeed(7);  // ×32
    form->redraw();
    // 10 events run 320 ticks (3.2 s) while a second of wall time goes by.
    runEvents(10);
    now = 1000;
    form->redraw();
    EXPECT_EQ(child<QLabel>("speedLabel")->text(), QStringLiteral("×32 (достигнуто ×3,2)"));
    // Keeping up: 100 events, 32 simulated seconds in the next second.
    runEvents(100);
    now = 2000;
    form->redraw();
    runEvents(100);
    now = 3000;
    form->redraw();
    EXPECT_EQ(child<QLabel>("speedLabel")->text(), QStringLiteral("×32"));
    // Less than a second measured: nothing claimed yet.
    form->setSpeed(8);
    runEvents(1);
    now = 3500;
    form->redraw();
    EXPECT_EQ(child<QLabel>("speedLabel")->text(), QStringLiteral("×64"));
}

TEST_F(TimeControl, StatusBarHintsWhatTheNextMapClickDoes) {
    EXPECT_EQ(child<QLabel>("hintLabel")->text(), QString());
    clickAircraft(0);
    const std::pair<QPushButton*, const char*> rows[] = {
        {child<QPushButton>("moveButton"), "перенесёт самолёт"},
        {child<QPushButton>("pickTargetButton"), "целью атаки"}};
    for (const auto& [button, words] : rows) {
        button->click();
        EXPECT_TRUE(child<QLabel>("hintLabel")->text().contains(QString::fromUtf8(words)))
            << child<QLabel>("hintLabel")->text().toStdString();
        EXPECT_TRUE(child<QLabel>("hintLabel")->text().contains(QStringLiteral("Esc")));
        clickMap(599, 439);
        EXPECT_EQ(child<QLabel>("hintLabel")->text(), QString());
        clickAircraft(0);
    }
}

TEST_F(TimeControl, TimelineJumpsAndRestartReturnsToTheStart) {
    auto start = makeWorld();
    *start = *world;
    runEvents(250);
    child<QPushButton>("addAircraftButton")->click();  // recorded at tick 250
    runEvents(250);
    form->redraw();
    EXPECT_EQ(child<QSlider>("timeline")->maximum(), 500);
    EXPECT_EQ(child<QLabel>("lengthLabel")->text(), QStringLiteral("0:00:05.00"));
    child<QSlider>("timeline")->setValue(100);
    EXPECT_EQ(form->session().tick(), 100);
    EXPECT_EQ(world->aircraftCount, 4);
    EXPECT_EQ(child<QLabel>("timeLabel")->text(), QStringLiteral("0:00:01.00"));
    // Going on plays the recorded add at its tick.
    runEvents(150);
    EXPECT_EQ(world->aircraftCount, 5);
    child<QPushButton>("restartButton")->click();
    EXPECT_EQ(form->session().tick(), 0);
    const testing::Comparison cmp = testing::compareRecords(*world, *start);
    EXPECT_TRUE(cmp.same()) << cmp.report();
    EXPECT_EQ(form->session().end(), 500);
}

TEST_F(TimeControl, ChangeBeforeTheEndAsksToDropWhatFollows) {
    runEvents(200);
    child<QPushButton>("addAircraftButton")->click();
    runEvents(100);
    form->jumpTo(150);
    QStringList asked;
    bool drop = false;
    form->sceneFiles().askYesNo = [&](const QString& question, const QString&) {
        asked << question;
        return drop;
    };
    clickAircraft(0);
    const double speed = world->aircraft[0].speed;
    QTest::keyClick(child<QSlider>("speedSlider"), Qt::Key_PageUp);
    ASSERT_EQ(asked.size(), 1);
    EXPECT_TRUE(asked[0].startsWith(QStringLiteral("Отбросить действия после 0:00:01.50?")))
        << asked[0].toStdString();
    // Kept: the world and the track bar show the speed as it was.
    EXPECT_EQ(world->aircraft[0].speed, speed);
    EXPECT_EQ(child<QSlider>("speedSlider")->value(), static_cast<int>(speed));
    EXPECT_EQ(form->session().actionCount(), 1u);
    drop = true;
    QTest::keyClick(child<QSlider>("speedSlider"), Qt::Key_PageUp);
    EXPECT_NE(world->aircraft[0].speed, speed);
    EXPECT_EQ(form->session().actionCount(), 1u);  // the add dropped, the speed recorded
    EXPECT_EQ(form->session().end(), 150);
    EXPECT_TRUE(form->isWindowModified());
}

}  // namespace
}  // namespace prrsim::ui
