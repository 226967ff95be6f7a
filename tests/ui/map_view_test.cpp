// The main window's map view: at its least size and 1:1 the frame is the former drawing pixel
// for pixel, also after a zoom and back; the window grows with the map; the ruler measures by
// the world's geometry and holds on to the selected aircraft and a radar.
#include <QAction>
#include <QApplication>

#include "form_fixture.h"
#include "map_drawing_before.h"
#include "map_frame.h"
#include "ui/map_ruler.h"
#include "world/units.h"

namespace prrsim::ui {
namespace {

using MapViewWindow = FormTest;

QImage drawnBefore(const MainWindow& form, const WorldState& world) {
    QImage frame = form.Image3;
    QPainter painter(&frame);
    beginMapPainting(painter);
    before::drawMapContents(painter, world, form.view(), form.impactText());
    return frame;
}

QAction* action(const MainWindow& form, const char* name) {
    return form.findChild<QAction*>(QString::fromLatin1(name));
}

TEST_F(MapViewWindow, PlainViewDrawsTheFormerFramePixelForPixel) {
    ASSERT_EQ(form->Image1->size(), QSize(kMapWidth, kMapHeight));
    form->view().selectedRadar = 0;
    form->missileDetonated(ImpactEvent{0, 0, 250.7, 190.2});
    const struct {
        const char* name;
        std::function<void()> view;
    } rows[] = {
        {"at start", [] {}},
        {"zoomed x4, then Home",
         [this] {
             form->Image1->zoomAbout(4, {50, 60});
             form->Timer2Timer();
             ASSERT_NE(testing::firstDifference(form->Image1->frame(), drawnBefore(*form, *world)),
                       "");
             action(*form, "FitAction")->trigger();
         }},
        {"panned at x2, then 1:1",
         [this] {
             form->Image1->zoomAbout(2, {300, 220});
             form->Image1->pan(-100, 40);
             action(*form, "OneToOneAction")->trigger();
         }},
        {"grown and shrunk back",
         [this] {
             form->resize(form->size() + QSize(200, 100));
             QApplication::processEvents();
             form->resize(form->minimumSize());
             QApplication::processEvents();
         }},
    };
    for (const auto& row : rows) {
        row.view();
        form->Timer2Timer();
        EXPECT_TRUE(form->Image1->camera().identity()) << row.name;
        EXPECT_EQ(testing::firstDifference(form->Image1->frame(), drawnBefore(*form, *world)), "")
            << row.name;
    }
}

TEST_F(MapViewWindow, GrowsWithTheMapTakingTheRoom) {
    const QSize least = form->size();
    EXPECT_EQ(form->minimumSize(), least);
    form->resize(400, 300);
    QApplication::processEvents();
    EXPECT_EQ(form->size(), least);
    const QPoint panel = form->Panel2->pos();
    const QPoint button = form->Button12->pos();
    form->resize(least + QSize(333, 222));
    QApplication::processEvents();
    EXPECT_EQ(form->Image1->size(), QSize(kMapWidth + 333, kMapHeight + 222));
    EXPECT_EQ(form->Panel2->pos(), panel + QPoint(333, 0));
    EXPECT_EQ(form->Button12->pos(), button + QPoint(0, 222));
    // The whole world fitted, in proportion.
    EXPECT_DOUBLE_EQ(form->Image1->camera().scale(),
                     std::min(933.0 / kMapWidth, 662.0 / kMapHeight));
    form->Timer2Timer();
    EXPECT_EQ(form->Image1->frame().deviceIndependentSize(), QSizeF(933, 662));
    EXPECT_TRUE(form->Image1->labelSettings().placing);
}

TEST(MapRuler, ReadsDistanceAndBearingByTheWorldsGeometry) {
    const struct {
        ViewPoint from, to;
        double km;
    } rows[] = {{{0, 0}, {100, 0}, 10},    {{0, 0}, {0, 100}, 10},
                {{50, 50}, {20, 10}, 5},   {{599, 439}, {0, 0}, 74.26},
                {{10.5, 3}, {10.5, 3}, 0}, {{300, 200}, {240, 280}, 10}};
    for (const auto& row : rows) {
        const RulerReading r = measure(row.from, row.to);
        EXPECT_NEAR(r.kilometres, row.km, 0.01);
        EXPECT_EQ(r.bearing, bearingDeg(row.from.x, row.from.y, row.to.x, row.to.y));
    }
    EXPECT_EQ(rulerText({12.345, 245}), QStringLiteral("12,3 км  245°"));
}

TEST_F(MapViewWindow, RulerHoldsOnToTheSelectedAircraftAndARadarAndEscEndsIt) {
    clickAircraft(1);
    ASSERT_EQ(form->view().selectedAircraft, 1);
    const Aircraft& a = world->aircraft[1];
    const RadarSite& r = world->radars[3];
    form->Image1->zoomAbout(2, QPointF(a.x, a.y));
    const MapCamera& camera = form->Image1->camera();
    auto screen = [&](double x, double y) {
        return QPoint(qRound(camera.screenX(x)) + 2, qRound(camera.screenY(y)) - 1);
    };
    QAction* ruler = action(*form, "RulerAction");
    ruler->trigger();
    ASSERT_TRUE(form->Image1->ruler().on());
    const int64_t actions = static_cast<int64_t>(form->session().recording().actions.size());
    QTest::mousePress(form->Image1, Qt::LeftButton, {}, screen(a.x, a.y));
    QTest::mouseMove(form->Image1, screen(r.x, r.y));
    QMouseEvent move(QEvent::MouseMove, screen(r.x, r.y),
                     form->Image1->mapToGlobal(screen(r.x, r.y)), Qt::NoButton, Qt::LeftButton, {});
    QApplication::sendEvent(form->Image1, &move);
    QTest::mouseRelease(form->Image1, Qt::LeftButton, {}, screen(r.x, r.y));
    const MapRuler& measured = form->Image1->ruler();
    ASSERT_TRUE(measured.measuring());
    EXPECT_EQ(measured.from().x, a.x);
    EXPECT_EQ(measured.from().y, a.y);
    EXPECT_EQ(measured.to().x, r.x);
    EXPECT_EQ(measured.to().y, r.y);
    EXPECT_EQ(measured.reading().bearing, bearingDeg(a.x, a.y, r.x, r.y));
    // Measuring is no click: nothing selected anew, nothing recorded.
    EXPECT_EQ(form->view().selectedAircraft, 1);
    EXPECT_EQ(static_cast<int64_t>(form->session().recording().actions.size()), actions);
    QTest::keyClick(form->Image1, Qt::Key_Escape);
    EXPECT_FALSE(form->Image1->ruler().on());
    EXPECT_FALSE(ruler->isChecked());
}

}  // namespace
}  // namespace prrsim::ui
