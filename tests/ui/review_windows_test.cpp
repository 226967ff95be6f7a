// The review windows over a real attack: "AGM-88C HARM" locked by the crew on a "Куб" tracking
// radar, launched at tick 150, detonating 9.1 m from it at tick 2095.
#include <QAreaSeries>
#include <QChart>
#include <QDir>
#include <QFile>
#include <QLineSeries>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QValueAxis>
#include <algorithm>
#include <random>
#include <sstream>

#include "batch_files.h"
#include "form_fixture.h"
#include "map_frame.h"
#include "review/event_log.h"
#include "review/missile_summary.h"
#include "review/reaction_periods.h"
#include "scenario/runner.h"
#include "ui/map_overlays.h"

namespace prrsim::ui {
namespace {

constexpr int64_t kInFlight = 1000;
constexpr int64_t kAfterHit = 2200;

// The harm_self_lock attack with a second missile loaded at tick 300 and launched at 400, as
// a scene file of the window.
batch::Scenario twoMissiles() {
    std::string error;
    auto s = batch::loadScenario(
        std::string(PRRSIM_SOURCE_DIR) + "/tests/scenario/scenarios/harm_self_lock.json", error);
    EXPECT_TRUE(s) << error;
    batch::Action a;
    a.tick = 300;
    a.op = batch::Op::AddMissile;
    a.aircraft = 0;
    a.type = 3;
    s->actions.push_back(a);
    a.missile = 1;
    for (const batch::Op op : {batch::Op::Activate, batch::Op::Capture}) {
        a.op = op;
        s->actions.push_back(a);
    }
    a.tick = 400;
    a.op = batch::Op::Launch;
    s->actions.push_back(a);
    for (size_t k = 0; k < s->actions.size(); ++k) {
        s->actions[k].position = static_cast<int32_t>(k);
    }
    return *s;
}

class Review : public FormTest {
  protected:
    ReviewWindows& review() { return form->review(); }
    EventLogWindow& log() { return *child<EventLogWindow>("eventLogWindow"); }
    DebriefWindow& debrief() { return *child<DebriefWindow>("debriefWindow"); }

    QByteArray readAll(const QString& path) {
        QFile file(path);
        EXPECT_TRUE(file.open(QIODevice::ReadOnly)) << path.toStdString();
        return file.readAll();
    }

    QTemporaryDir dir;

    void SetUp() override {
        FormTest::SetUp();
        form->sceneFiles().showError = [this](const QString& text) { notices << text; };
        form->sceneFiles().askYesNo = [](const QString&, const QString&) { return true; };
    }

    QString write(const batch::Scenario& s, const QString& name) {
        const QString path = dir.filePath(name);
        QFile file(path);
        EXPECT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(QByteArray::fromStdString(batch::writeScenario(s)));
        return path;
    }

    // The log's and the debrief's exported tables, all rows shown.
    testing::BatchFiles exported() {
        form->redraw();
        review().finishRebuild();  // a long recording's rebuild, waited for
        form->redraw();
        log().setKindFilter(-1);
        log().clearObjectFilter();
        log().refresh();
        debrief().refresh();
        const QString events = dir.filePath(QStringLiteral("журнал.csv"));
        const QString missiles = dir.filePath(QStringLiteral("разбор.csv"));
        EXPECT_TRUE(log().exportCsv(events));
        EXPECT_TRUE(debrief().exportTableCsv(missiles));
        return {readAll(events).toStdString(), readAll(missiles).toStdString()};
    }

    void expectBatchTables(const std::string& where) {
        const testing::BatchFiles expected = testing::batchFiles(form->session().recording());
        const testing::BatchFiles shown = exported();
        EXPECT_EQ(shown.events, expected.events) << where;
        EXPECT_EQ(shown.missiles, expected.missiles) << where;
    }

    // The events of the review after the session's present moment.
    int eventsAhead() {
        const auto& events = form->session().review().events();
        return static_cast<int>(std::count_if(events.begin(), events.end(), [&](const auto& e) {
            return e.tick > form->session().tick();
        }));
    }

    int rowsAhead() {
        int n = 0;
        for (int row = 0; row < log().shownCount(); ++row) {
            n += childNamed<QTableView>(&log(), "eventTable")
                     ->model()
                     ->index(row, 0)
                     .data()
                     .toString()
                     .endsWith(QStringLiteral("впереди"));
        }
        return n;
    }
};

TEST_F(Review, LogShowsTheAttackAndItsFiltersKeepTheEventsAsked) {
    playScenario("harm_self_lock", kAfterHit);
    child<QAction>("logAction")->trigger();
    ASSERT_TRUE(log().isVisible());
    EXPECT_EQ(log().shownCount(), 13);
    struct Row {
        int kind;  // -1 all
        std::optional<std::pair<ReviewObject, int32_t>> object;
        int shown;
    };
    const Row rows[] = {
        {static_cast<int>(EventKind::Locked), {}, 1},
        {-1, {{ReviewObject::Missile, 1}}, 8},
        {-1, {{ReviewObject::Aircraft, 1}}, 5},
        {-1, {{ReviewObject::Radar, 1}}, 7},  // the detonation names it twice: one row
        {static_cast<int>(EventKind::Detonated), {{ReviewObject::Radar, 1}}, 1},
        {static_cast<int>(EventKind::Detonated), {{ReviewObject::Aircraft, 1}}, 0},
    };
    for (const Row& row : rows) {
        log().setKindFilter(row.kind);
        if (row.object) {
            log().setObjectFilter(row.object->first, row.object->second);
        } else {
            log().clearObjectFilter();
        }
        EXPECT_EQ(log().shownCount(), row.shown) << row.kind;
        for (int i = 0; i < log().shownCount(); ++i) {
            EXPECT_TRUE(row.kind < 0 || static_cast<int>(log().shownEvent(i).kind) == row.kind);
        }
    }
    log().setKindFilter(static_cast<int>(EventKind::Locked));
    log().clearObjectFilter();
    EXPECT_EQ(log().shownEvent(0).tick, 101);
    EXPECT_EQ(childNamed<QTableView>(&log(), "eventTable")->model()->index(0, 0).data().toString(),
              QStringLiteral("0:00:01.01"));
}

TEST_F(Review, ChoosingAnEventSelectsItsObjectAndAsksToGoToItsTick) {
    playScenario("harm_self_lock", kInFlight);
    // The fixture plays the actions around the main window's recorded session, so a real jump
    // would rebuild the world from an empty recording: here only the request is watched.
    QObject::disconnect(&review(), &ReviewWindows::jumpRequested, form.get(), &MainWindow::jumpTo);
    QSignalSpy jumps(&log(), &EventLogWindow::jumpToTick);
    log().refresh();
    const auto lastJump = [&] { return jumps.last().at(0).value<int64_t>(); };
    log().setKindFilter(static_cast<int>(EventKind::Launched));
    log().chooseRow(0);
    ASSERT_EQ(jumps.count(), 1);
    EXPECT_EQ(lastJump(), 150);
    EXPECT_EQ(form->view().selectedMissile, 0);
    EXPECT_EQ(shown(), "missileWindow");

    log().setKindFilter(static_cast<int>(EventKind::Locked));
    log().setObjectFilter(ReviewObject::Radar, 1);  // the object of the filter is chosen
    log().chooseRow(0);
    EXPECT_EQ(lastJump(), 101);
    EXPECT_EQ(form->view().selectedRadar, 0);
    EXPECT_EQ(form->view().selectedMissile, -1);
    EXPECT_EQ(shown(), "radarPanel complexMemberList removeRadarButton");

    // The missile has gone at its detonation: its moment is asked for, the selection stays.
    playUntil(kAfterHit);
    log().refresh();
    log().setKindFilter(static_cast<int>(EventKind::Detonated));
    log().clearObjectFilter();
    log().chooseRow(0);
    EXPECT_EQ(lastJump(), 2095);
    EXPECT_EQ(form->view().selectedRadar, 0);
    EXPECT_EQ(shown(), "radarPanel complexMemberList removeRadarButton");
}

TEST_F(Review, DebriefTableFollowsTheAttackAndEndsAsTheHeadlessRun) {
    playScenario("harm_self_lock", kInFlight);
    child<QAction>("debriefAction")->trigger();
    ASSERT_EQ(childNamed<QTableWidget>(&debrief(), "missileTable")->rowCount(), 1);
    const auto cell = [this](int column) {
        return childNamed<QTableWidget>(&debrief(), "missileTable")->item(0, column)->text();
    };
    EXPECT_EQ(cell(6), QStringLiteral("0:00:01.01"));  // first lock
    EXPECT_EQ(cell(7), QStringLiteral("в полёте"));

    playUntil(kAfterHit);
    form->redraw();
    EXPECT_EQ(cell(7), QStringLiteral("попадание"));
    EXPECT_EQ(cell(8).replace(',', '.'), QStringLiteral("9.1"));

    auto headless = makeWorld();
    batch::MissileSummaryCollector collector;
    batch::RunOptions options;
    options.listeners = {&collector};
    batch::runScenario(*headless, *scenario, "harm_self_lock.json", options);
    const auto expected = collector.summaries(*headless);
    const auto& shownRows = debrief().summaries();
    ASSERT_EQ(shownRows.size(), expected.size());
    EXPECT_EQ(shownRows[0].outcome, expected[0].outcome);
    EXPECT_EQ(shownRows[0].missDistance, expected[0].missDistance);
    EXPECT_EQ(shownRows[0].endTick, expected[0].endTick);
    EXPECT_EQ(shownRows[0].timeOfFlight, expected[0].timeOfFlight);
}

class EventLog : public Review {};

// A saved two-missile session opened again once showed only what was played after opening:
// 10 events where prrsim-batch gave 34, missile 2 missing, missile 1 without its launch.
TEST_F(Review, ReopenedSceneShowsEveryEventOfTheBatchRunner) {
    const batch::Scenario scene = twoMissiles();
    ASSERT_TRUE(form->sceneFiles().openScene(write(scene, QStringLiteral("две.json"))));
    child<QAction>("logAction")->trigger();
    child<QAction>("debriefAction")->trigger();
    const testing::BatchFiles expected = testing::batchFiles(scene);
    const auto lines = std::count(expected.events.begin(), expected.events.end(), '\n');
    EXPECT_EQ(log().shownCount(), static_cast<int>(lines) - 1);  // less the header
    ASSERT_EQ(childNamed<QTableWidget>(&debrief(), "missileTable")->rowCount(), 2);
    for (int row = 0; row < 2; ++row) {
        EXPECT_NE(childNamed<QTableWidget>(&debrief(), "missileTable")->item(row, 5)->text(),
                  QStringLiteral("—"))
            << row;  // launch
    }
    expectBatchTables("opened");
}

TEST_F(Review, StartSceneAdditionsAreLogged) {
    form->sceneFiles().newScene(batch::StartWorld::Default);
    form->redraw();
    log().refresh();
    int added = 0;
    for (int row = 0; row < log().shownCount(); ++row) {
        const EventKind kind = log().shownEvent(row).kind;
        added += kind == EventKind::AircraftAdded || kind == EventKind::RadarAdded;
    }
    EXPECT_GT(added, 0);
    expectBatchTables("start-up scene");
}

TEST_F(Review, OpeningAnotherSceneForgetsTheFormerOnesMarkers) {
    const QColor impact(160, 0, 160);
    const QColor missileTrail(150, 150, 230);
    ASSERT_TRUE(form->sceneFiles().openScene(write(twoMissiles(), QStringLiteral("две.json"))));
    child<QAction>("impactsAction")->trigger();
    child<QAction>("trailsFlightAction")->trigger();
    child<QAction>("logAction")->trigger();
    form->redraw();
    const auto pixels = [&](const QColor& colour) {
        const QImage frame = child<MapView>("mapView")->frame();
        int n = 0;
        for (int y = 0; y < frame.height(); ++y) {
            for (int x = 0; x < frame.width(); ++x) {
                n += frame.pixelColor(x, y) == colour;
            }
        }
        return n;
    };
    ASSERT_GT(pixels(impact), 0);
    ASSERT_GT(pixels(missileTrail), 0);

    // Longer than the former scene's detonations (ticks 2095 and later).
    batch::Scenario quiet;
    quiet.start = batch::StartWorld::Empty;
    quiet.ticks = 3000;
    ASSERT_TRUE(form->sceneFiles().openScene(write(quiet, QStringLiteral("пустая.json"))));
    log().close();
    child<QAction>("logAction")->trigger();
    form->redraw();
    EXPECT_EQ(pixels(impact), 0);
    EXPECT_EQ(pixels(missileTrail), 0);
    child<QAction>("debriefAction")->trigger();
    EXPECT_EQ(childNamed<QTableWidget>(&debrief(), "missileTable")->rowCount(), 0);
    expectBatchTables("the other scene");
}

// Clicking the launch row jumped back and deleted every row after it; the debrief's outcomes
// went back to "в полёте" and playing on did not bring the rows back.
TEST_F(EventLog, ClickingALaunchRowKeepsEveryRowAfterIt) {
    ASSERT_TRUE(form->sceneFiles().openScene(write(twoMissiles(), QStringLiteral("две.json"))));
    child<QAction>("logAction")->trigger();
    child<QAction>("debriefAction")->trigger();
    form->redraw();
    const int rows = log().shownCount();
    EXPECT_EQ(rowsAhead(), 0);
    log().setKindFilter(static_cast<int>(EventKind::Launched));
    log().chooseRow(0);
    EXPECT_EQ(form->session().tick(), 150);
    log().setKindFilter(-1);
    form->redraw();
    EXPECT_EQ(log().shownCount(), rows);
    EXPECT_GT(rowsAhead(), 0);
    EXPECT_EQ(rowsAhead(), eventsAhead());
    EXPECT_EQ(childNamed<QTableWidget>(&debrief(), "missileTable")->item(0, 7)->text(),
              QStringLiteral("попадание"));
    ASSERT_TRUE(debrief().presentMarker(childNamed<QChartView>(&debrief(), "altitudeChart")));
    EXPECT_NEAR(*debrief().presentMarker(childNamed<QChartView>(&debrief(), "altitudeChart")), 1.5,
                1e-9);
    form->stepTicks(100);
    form->redraw();
    EXPECT_EQ(log().shownCount(), rows);
    EXPECT_EQ(rowsAhead(), eventsAhead());
    ASSERT_TRUE(debrief().presentMarker(childNamed<QChartView>(&debrief(), "altitudeChart")));
    EXPECT_NEAR(*debrief().presentMarker(childNamed<QChartView>(&debrief(), "altitudeChart")), 2.5,
                1e-9);
    expectBatchTables("after the jump");
    form->jumpTo(form->session().end());
    form->redraw();
    EXPECT_EQ(rowsAhead(), 0);
}

// A rebuild of a long recording runs on its own thread, with its progress shown; closing the
// window meanwhile gives it up and waits for it.
TEST_F(Review, ALongRebuildRunsBesideTheWindowAndEndsWithIt) {
    std::string error;
    auto s = batch::loadScenario(
        std::string(PRRSIM_SOURCE_DIR) + "/tests/scenario/scenarios/harm_self_lock.json", error);
    ASSERT_TRUE(s) << error;
    ASSERT_TRUE(form->sceneFiles().openScene(write(*s, QStringLiteral("длинная.json"))));
    form->jumpTo(5000);
    batch::Action add;
    add.op = batch::Op::AddAircraft;
    ASSERT_TRUE(form->perform(add));
    form->redraw();
    ASSERT_TRUE(review().rebuilding());
    EXPECT_TRUE(child<QLabel>("reviewProgressLabel")->isVisibleTo(form.get()));
    form.reset();
}

// The broad net through the window: scenes opened, jumped back at random, branched there and
// restored after a crash show in their exported tables what prrsim-batch writes of the same
// recording, byte for byte.
TEST_F(Review, WindowTablesEqualTheBatchRunnersAfterOpeningJumpingBranchingAndRestoring) {
    std::mt19937 rng(7);
    const QString state = dir.filePath(QStringLiteral("state"));
    QDir().mkpath(state);
    form->sceneFiles().setStateDirectory(state);
    for (const char* name :
         {"harm_self_lock", "shrike_b2_blinking", "kh58_designation", "alarm_mixed_silent"}) {
        std::string error;
        auto s = batch::loadScenario(
            std::string(PRRSIM_SOURCE_DIR) + "/tests/scenario/scenarios/" + name + ".json", error);
        ASSERT_TRUE(s) << error;
        ASSERT_TRUE(form->sceneFiles().openScene(write(*s, QString::fromLatin1(name) + ".json")));
        expectBatchTables(std::string(name) + ", opened");
        const auto at = std::uniform_int_distribution<int64_t>(1, form->session().end() - 1)(rng);
        form->jumpTo(at);
        expectBatchTables(std::string(name) + ", jumped to " + std::to_string(at));
        batch::Action add;
        add.op = batch::Op::AddAircraft;
        ASSERT_TRUE(form->perform(add));
        form->stepTicks(30);
        expectBatchTables(std::string(name) + ", branched at " + std::to_string(at));
        // The session's recovery file left as by an instance that was killed.
        form->sceneFiles().writeRecovery();
        const QString left = QDir(state).filePath(QStringLiteral("recovery-1-1.json"));
        QFile::remove(left);
        ASSERT_TRUE(QFile::copy(form->sceneFiles().recoveryFile(), left));
        ASSERT_TRUE(form->sceneFiles().offerRecovery());
        expectBatchTables(std::string(name) + ", restored");
    }
}

TEST_F(Review, CsvExportsReadBackAsTheRowsShown) {
    playScenario("harm_self_lock", kAfterHit);
    log().refresh();
    log().setObjectFilter(ReviewObject::Missile, 1);
    const QString events = dir.filePath(QStringLiteral("журнал.csv"));
    ASSERT_TRUE(log().exportCsv(events));
    std::vector<WorldEvent> shownEvents;
    for (int i = 0; i < log().shownCount(); ++i) {
        shownEvents.push_back(log().shownEvent(i));
    }
    std::ostringstream expected;
    batch::writeEventsCsv(expected, shownEvents);
    const QByteArray written = readAll(events);
    EXPECT_EQ(written.toStdString(), expected.str());
    EXPECT_EQ(written.count("\r\n"), 1 + 8);

    debrief().refresh();
    const QString table = dir.filePath(QStringLiteral("разбор.csv"));
    ASSERT_TRUE(debrief().exportTableCsv(table));
    std::ostringstream summary;
    batch::writeMissileSummaryCsv(summary, debrief().summaries());
    EXPECT_EQ(readAll(table).toStdString(), summary.str());

    QStringList shownNotices;
    log().showNotice = [&](const QString& text) { shownNotices << text; };
    EXPECT_FALSE(log().exportCsv(dir.filePath(QStringLiteral("нет/журнал.csv"))));
    EXPECT_EQ(shownNotices.size(), 1);
}

TEST_F(Review, PlotsShowTheSampledFlightInItsPhasesAndExportAsPngAndSvg) {
    playScenario("harm_self_lock", kAfterHit);
    const auto samples = review().store().samples(1);
    ASSERT_GE(samples.size(), 2u);
    // Every 10 ticks from the activation; the last at the point of detonation.
    EXPECT_EQ(samples.front().tick, 10);
    EXPECT_EQ(samples[samples.size() - 2].tick, 2090);
    EXPECT_EQ(samples.back().tick, 2095);
    EXPECT_NEAR(samples.back().groundDistance, 9.111, 0.001);

    child<QAction>("debriefAction")->trigger();
    ASSERT_EQ(debrief().chosenMissile(), 1);
    QStringList phases;
    QList<QAbstractSeries*> curves;
    for (QAbstractSeries* series :
         childNamed<QChartView>(&debrief(), "altitudeChart")->chart()->series()) {
        if (series->name() != QStringLiteral("Текущий момент")) {
            phases << series->name();
            curves << series;
        }
    }
    EXPECT_EQ(phases,
              (QStringList{QStringLiteral("На подвеске"), QStringLiteral("Профиль набора высоты"),
                           QStringLiteral("Прямое наведение")}));
    int points = 0;
    for (QAbstractSeries* series : curves) {
        points += static_cast<int>(static_cast<QLineSeries*>(series)->count());
    }
    EXPECT_EQ(points, static_cast<int>(samples.size()) + 2);  // the runs share their joins
    EXPECT_TRUE(
        static_cast<QValueAxis*>(
            childNamed<QChartView>(&debrief(), "sideChart")->chart()->axes(Qt::Horizontal)[0])
            ->isReverse());

    const QString png = dir.filePath(QStringLiteral("ракета.png"));
    const QString svg = dir.filePath(QStringLiteral("ракета.svg"));
    ASSERT_TRUE(debrief().exportPlots(png));
    ASSERT_TRUE(debrief().exportPlots(svg));
    EXPECT_EQ(QImage(png).size(), childNamed<QWidget>(&debrief(), "plots")->size());
    const QByteArray vector = readAll(svg);
    EXPECT_TRUE(vector.contains("<svg"));
    EXPECT_TRUE(vector.contains("Прямое наведение"));  // the phase key, as text
}

// The target radar's crew switched off at the threat and on again after its hold: the debrief's
// time plots shade exactly those periods, and the plots' key names the shade.
TEST_F(Review, DebriefShadesTheTargetCrewsReactionPeriods) {
    ASSERT_TRUE(form->sceneFiles().openScene(QString::fromStdString(
        std::string(PRRSIM_SOURCE_DIR) + "/tests/scenario/edges/reaction_shutdown.json")));
    review().finishRebuild();
    const std::vector<review::ReactionPeriod> periods =
        review::reactionPeriods(form->session().review().events(), 1);
    ASSERT_FALSE(periods.empty());
    child<QAction>("debriefAction")->trigger();
    debrief().chooseMissile(1);
    EXPECT_TRUE(childNamed<QLabel>(&debrief(), "plotsTitle")
                    ->text()
                    .contains(QStringLiteral("реакция расчёта РЛС-цели")));
    for (QChartView* view : {childNamed<QChartView>(&debrief(), "altitudeChart"),
                             childNamed<QChartView>(&debrief(), "powerChart")}) {
        std::vector<std::pair<double, double>> shaded;
        for (QAbstractSeries* series : view->chart()->series()) {
            if (auto* area = qobject_cast<QAreaSeries*>(series)) {
                EXPECT_EQ(area->name(), QStringLiteral("Реакция расчёта РЛС"));
                shaded.emplace_back(area->upperSeries()->at(0).x(), area->upperSeries()->at(1).x());
            }
        }
        ASSERT_EQ(shaded.size(), periods.size());
        for (size_t k = 0; k < periods.size(); ++k) {
            EXPECT_DOUBLE_EQ(shaded[k].first, static_cast<double>(periods[k].begin) / 100);
            if (periods[k].end >= 0) {
                EXPECT_DOUBLE_EQ(shaded[k].second, static_cast<double>(periods[k].end) / 100);
            }
        }
    }
}

class Overlays : public Review {
  protected:
    QImage redraw() {
        form->redraw();
        return child<MapView>("mapView")->frame();
    }

    // The map as the drawing functions draw it, with no overlay code at all.
    QImage plainMap() {
        MapLabels labels;
        return prrsim::testing::mapFrame(form->background(), *world, form->view(),
                                         form->impactText(), labels);
    }

    static int count(const QImage& image, const QColor& colour) {
        int n = 0;
        for (int y = 0; y < image.height(); ++y) {
            for (int x = 0; x < image.width(); ++x) {
                n += image.pixelColor(x, y) == colour;
            }
        }
        return n;
    }

    // The rectangle holding every pixel that differs.
    static QRect changed(const QImage& a, const QImage& b) {
        QRect area;
        for (int y = 0; y < a.height(); ++y) {
            for (int x = 0; x < a.width(); ++x) {
                if (a.pixel(x, y) != b.pixel(x, y)) {
                    area |= QRect(x, y, 1, 1);
                }
            }
        }
        return area;
    }
};

TEST_F(Overlays, AreOffByDefaultAndLeaveTheMapAsDrawnWithoutThem) {
    playScenario("harm_self_lock", kInFlight);
    for (QAction* action : {child<QAction>("impactsAction"), child<QAction>("radiatingAction"),
                            child<QAction>("legendAction"), child<QAction>("trailsMinuteAction"),
                            child<QAction>("trailsFlightAction")}) {
        EXPECT_FALSE(action->isChecked()) << action->text().toStdString();
    }
    EXPECT_TRUE(child<QAction>("trailsOffAction")->isChecked());
    EXPECT_EQ(redraw(), plainMap());
}

TEST_F(Overlays, EachPutsItsPixelsWhereItBelongsAndGoesWhenSwitchedOff) {
    playScenario("harm_self_lock", kAfterHit);
    struct Row {
        QAction* on;
        QAction* off;
        QColor colour;
        QRect area;  // where its pixels may appear
    };
    const Row rows[] = {
        // The carrier from (250, 220) east, the missile from (253, 220) to the radar at (400,
        // 220).
        {child<QAction>("trailsMinuteAction"), child<QAction>("trailsOffAction"),
         QColor(255, 150, 150), QRect(245, 200, 165, 40)},
        {child<QAction>("trailsFlightAction"), child<QAction>("trailsOffAction"),
         QColor(150, 150, 230), QRect(245, 200, 165, 40)},
        // The cross on the radar, its miss distance placed round it clear of the radar's label.
        {child<QAction>("impactsAction"), child<QAction>("impactsAction"), QColor(160, 0, 160),
         QRect(375, 195, 60, 60)},
        {child<QAction>("radiatingAction"), child<QAction>("radiatingAction"), QColor(255, 128, 0),
         QRect(388, 208, 25, 25)},
    };
    const QImage plain = redraw();
    for (const Row& row : rows) {
        row.on->trigger();
        const QImage with = redraw();
        const QRect area = changed(plain, with);
        EXPECT_FALSE(area.isEmpty()) << row.on->text().toStdString();
        EXPECT_TRUE(row.area.contains(area)) << row.on->text().toStdString();
        EXPECT_GT(count(with.copy(row.area), row.colour), 0) << row.on->text().toStdString();
        row.off->trigger();
        EXPECT_EQ(redraw(), plain) << row.on->text().toStdString();
    }
}

TEST_F(Overlays, LastMinuteTrailsFadeWholeFlightStaysAndClearedImpactsGo) {
    playScenario("harm_self_lock", kAfterHit + 6600);
    const QColor missileTrail(255, 150, 150);
    const QColor impact(160, 0, 160);
    child<QAction>("trailsMinuteAction")->trigger();
    child<QAction>("impactsAction")->trigger();
    EXPECT_EQ(count(redraw(), missileTrail), 0);
    EXPECT_GT(count(redraw(), impact), 0);
    child<QAction>("trailsFlightAction")->trigger();
    EXPECT_GT(count(redraw(), missileTrail), 0);
    child<QAction>("clearImpactsAction")->trigger();
    EXPECT_EQ(count(redraw(), impact), 0);
}

}  // namespace
}  // namespace prrsim::ui
