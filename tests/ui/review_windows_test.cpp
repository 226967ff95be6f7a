// The review windows over a real attack: "AGM-88C HARM" locked by the crew on a "Куб" tracking
// radar, launched at tick 150, detonating 9.1 m from it at tick 2095.
#include <QChart>
#include <QDir>
#include <QFile>
#include <QLineSeries>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QValueAxis>
#include <sstream>

#include "review/event_log.h"
#include "review/missile_summary.h"
#include "scenario/runner.h"
#include "form_fixture.h"
#include "map_frame.h"
#include "ui/map_overlays.h"

namespace prrsim::ui {
namespace {

constexpr int64_t kInFlight = 1000;
constexpr int64_t kAfterHit = 2200;

class Review : public FormTest {
  protected:
    ReviewWindows& review() { return *form->Review; }
    EventLogWindow& log() { return *review().Log; }
    DebriefWindow& debrief() { return *review().Debrief; }

    QByteArray readAll(const QString& path) {
        QFile file(path);
        EXPECT_TRUE(file.open(QIODevice::ReadOnly)) << path.toStdString();
        return file.readAll();
    }

    QTemporaryDir dir;
};

TEST_F(Review, LogShowsTheAttackAndItsFiltersKeepTheEventsAsked) {
    playScenario("harm_self_lock", kAfterHit);
    review().LogAction->trigger();
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
    EXPECT_EQ(log().Table->model()->index(0, 0).data().toString(), QStringLiteral("0:00:01.01"));
}

TEST_F(Review, ChoosingAnEventSelectsItsObjectAndAsksToGoToItsTick) {
    playScenario("harm_self_lock", kInFlight);
    // The fixture plays the actions around the main window's recorded session, so a real jump
    // would rebuild the world from an empty recording: here only the request is watched.
    QObject::disconnect(&log(), &EventLogWindow::jumpToTick, form.get(), &TForm1::jumpTo);
    QSignalSpy jumps(&log(), &EventLogWindow::jumpToTick);
    log().refresh();
    const auto lastJump = [&] { return jumps.last().at(0).value<int64_t>(); };
    log().setKindFilter(static_cast<int>(EventKind::Launched));
    log().chooseRow(0);
    ASSERT_EQ(jumps.count(), 1);
    EXPECT_EQ(lastJump(), 150);
    EXPECT_EQ(form->view().selectedMissile, 0);
    EXPECT_EQ(shown(), "Form3");

    log().setKindFilter(static_cast<int>(EventKind::Locked));
    log().setObjectFilter(ReviewObject::Radar, 1);  // the object of the filter is chosen
    log().chooseRow(0);
    EXPECT_EQ(lastJump(), 101);
    EXPECT_EQ(form->view().selectedRadar, 0);
    EXPECT_EQ(form->view().selectedMissile, -1);
    EXPECT_EQ(shown(), "Panel2 ListBox2 Button13");

    // The missile has gone at its detonation: its moment is asked for, the selection stays.
    playUntil(kAfterHit);
    log().refresh();
    log().setKindFilter(static_cast<int>(EventKind::Detonated));
    log().clearObjectFilter();
    log().chooseRow(0);
    EXPECT_EQ(lastJump(), 2095);
    EXPECT_EQ(form->view().selectedRadar, 0);
    EXPECT_EQ(shown(), "Panel2 ListBox2 Button13");
}

TEST_F(Review, DebriefTableFollowsTheAttackAndEndsAsTheHeadlessRun) {
    playScenario("harm_self_lock", kInFlight);
    review().DebriefAction->trigger();
    ASSERT_EQ(debrief().Table->rowCount(), 1);
    const auto cell = [this](int column) { return debrief().Table->item(0, column)->text(); };
    EXPECT_EQ(cell(6), QStringLiteral("0:00:01.01"));  // first lock
    EXPECT_EQ(cell(7), QStringLiteral("в полёте"));

    playUntil(kAfterHit);
    form->Timer2Timer();
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

// A jump back on the timeline once left the log with the abandoned future and then noted the
// replayed ticks a second time.
TEST_F(Review, AJumpBackForgetsWhatCameAfterItsTickAndPlayingOnNotesItOnce) {
    playScenario("harm_self_lock", kInFlight);
    form->Timer2Timer();
    review::ReviewStore& store = form->Review->store();
    const size_t before = store.events().size();
    const int32_t missile = world->missiles[0].review.number;
    store.rewindTo(*world, 149);  // the launch at tick 150 is forgotten
    for (const WorldEvent& e : store.events()) {
        EXPECT_LE(e.tick, 149);
        EXPECT_NE(e.kind, EventKind::Launched);
    }
    EXPECT_LT(store.events().size(), before);
    for (const review::MissileSample& s : store.samples(missile)) {
        EXPECT_LE(s.tick, 149);
    }
    EXPECT_EQ(store.summary().summaries(*world).size(), 1u);
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

    review().DebriefAction->trigger();
    ASSERT_EQ(debrief().chosenMissile(), 1);
    QStringList phases;
    for (QAbstractSeries* series : debrief().AltitudeChart->chart()->series()) {
        phases << series->name();
    }
    EXPECT_EQ(phases,
              (QStringList{QStringLiteral("На подвеске"), QStringLiteral("Профиль набора высоты"),
                           QStringLiteral("Прямое наведение")}));
    int points = 0;
    for (QAbstractSeries* series : debrief().AltitudeChart->chart()->series()) {
        points += static_cast<int>(static_cast<QLineSeries*>(series)->count());
    }
    EXPECT_EQ(points, static_cast<int>(samples.size()) + 2);  // the runs share their joins
    EXPECT_TRUE(static_cast<QValueAxis*>(debrief().SideChart->chart()->axes(Qt::Horizontal)[0])
                    ->isReverse());

    const QString png = dir.filePath(QStringLiteral("ракета.png"));
    const QString svg = dir.filePath(QStringLiteral("ракета.svg"));
    ASSERT_TRUE(debrief().exportPlots(png));
    ASSERT_TRUE(debrief().exportPlots(svg));
    EXPECT_EQ(QImage(png).size(), debrief().Plots->size());
    const QByteArray vector = readAll(svg);
    EXPECT_TRUE(vector.contains("<svg"));
    EXPECT_TRUE(vector.contains("Прямое наведение"));  // the phase key, as text
}

class Overlays : public Review {
  protected:
    QImage redraw() {
        form->Timer2Timer();
        return form->Image1->frame();
    }

    // The map as the drawing functions draw it, with no overlay code at all.
    QImage plainMap() {
        MapLabels labels;
        return prrsim::testing::mapFrame(form->Image3, *world, form->view(), form->impactText(),
                                         labels);
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
    for (QAction* action : {review().ImpactsAction, review().RadiatingAction, review().LegendAction,
                            review().TrailsMinuteAction, review().TrailsFlightAction}) {
        EXPECT_FALSE(action->isChecked()) << action->text().toStdString();
    }
    EXPECT_TRUE(review().TrailsOffAction->isChecked());
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
        {review().TrailsMinuteAction, review().TrailsOffAction, QColor(255, 150, 150),
         QRect(245, 200, 165, 40)},
        {review().TrailsFlightAction, review().TrailsOffAction, QColor(150, 150, 230),
         QRect(245, 200, 165, 40)},
        {review().ImpactsAction, review().ImpactsAction, QColor(160, 0, 160),
         QRect(385, 195, 50, 35)},
        {review().RadiatingAction, review().RadiatingAction, QColor(255, 128, 0),
         QRect(388, 208, 25, 25)},
        {review().LegendAction, review().LegendAction, QColor(0, 0, 0), QRect(0, 150, 300, 290)},
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
    review().TrailsMinuteAction->trigger();
    review().ImpactsAction->trigger();
    EXPECT_EQ(count(redraw(), missileTrail), 0);
    EXPECT_GT(count(redraw(), impact), 0);
    review().TrailsFlightAction->trigger();
    EXPECT_GT(count(redraw(), missileTrail), 0);
    review().ClearImpactsAction->trigger();
    EXPECT_EQ(count(redraw(), impact), 0);
}

}  // namespace
}  // namespace prrsim::ui
