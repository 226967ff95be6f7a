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
    QImage frame = form.background();
    QPainter painter(&frame);
    beginMapPainting(painter);
    before::drawMapContents(painter, world, form.view(), form.impactText());
    return frame;
}

QAction* action(const MainWindow& form, const char* name) {
    return form.findChild<QAction*>(QString::fromLatin1(name));
}

TEST_F(MapViewWindow, PlainViewDrawsTheFormerFramePixelForPixel) {
    ASSERT_EQ(child<MapView>("mapView")->size(), QSize(kMapWidth, kMapHeight));
    form->view().selectedRadar = 0;
    form->missileDetonated(ImpactEvent{0, 0, 250.7, 190.2});
    const struct {
        const char* name;
        std::function<void()> view;
    } rows[] = {
        {"at start", [] {}},
        {"zoomed x4, then Home",
         [this] {
             child<MapView>("mapView")->zoomAbout(4, {50, 60});
             form->redraw();
             ASSERT_NE(testing::firstDifference(child<MapView>("mapView")->frame(),
                                                drawnBefore(*form, *world)),
                       "");
             action(*form, "fitAction")->trigger();
         }},
        {"panned at x2, then 1:1",
         [this] {
             child<MapView>("mapView")->zoomAbout(2, {300, 220});
             child<MapView>("mapView")->pan(-100, 40);
             action(*form, "oneToOneAction")->trigger();
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
        form->redraw();
        EXPECT_TRUE(child<MapView>("mapView")->camera().identity()) << row.name;
        EXPECT_EQ(testing::firstDifference(child<MapView>("mapView")->frame(),
                                           drawnBefore(*form, *world)),
                  "")
            << row.name;
    }
}

TEST_F(MapViewWindow, GrowsWithTheMapTakingTheRoom) {
    const QSize least = form->size();
    EXPECT_EQ(form->minimumSize(), least);
    form->resize(400, 300);
    QApplication::processEvents();
    EXPECT_EQ(form->size(), least);
    const QPoint panel = child<RadarPanel>("radarPanel")->pos();
    const QPoint button = child<QPushButton>("addRadarButton")->pos();
    form->resize(least + QSize(333, 222));
    QApplication::processEvents();
    EXPECT_EQ(child<MapView>("mapView")->size(), QSize(kMapWidth + 333, kMapHeight + 222));
    EXPECT_EQ(child<RadarPanel>("radarPanel")->pos(), panel + QPoint(333, 0));
    EXPECT_EQ(child<QPushButton>("addRadarButton")->pos(), button + QPoint(0, 222));
    // The whole world fitted, in proportion.
    EXPECT_DOUBLE_EQ(child<MapView>("mapView")->camera().scale(),
                     std::min(933.0 / kMapWidth, 662.0 / kMapHeight));
    form->redraw();
    EXPECT_EQ(child<MapView>("mapView")->frame().deviceIndependentSize(), QSizeF(933, 662));
    EXPECT_TRUE(child<MapView>("mapView")->labelSettings().placing);
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
    child<MapView>("mapView")->zoomAbout(2, QPointF(a.x, a.y));
    const MapCamera& camera = child<MapView>("mapView")->camera();
    auto screen = [&](double x, double y) {
        return QPoint(qRound(camera.screenX(x)) + 2, qRound(camera.screenY(y)) - 1);
    };
    QAction* ruler = action(*form, "rulerAction");
    ruler->trigger();
    ASSERT_TRUE(child<MapView>("mapView")->ruler().on());
    const int64_t actions = static_cast<int64_t>(form->session().recording().actions.size());
    QTest::mousePress(child<MapView>("mapView"), Qt::LeftButton, {}, screen(a.x, a.y));
    QTest::mouseMove(child<MapView>("mapView"), screen(r.x, r.y));
    QMouseEvent move(QEvent::MouseMove, screen(r.x, r.y),
                     child<MapView>("mapView")->mapToGlobal(screen(r.x, r.y)), Qt::NoButton,
                     Qt::LeftButton, {});
    QApplication::sendEvent(child<MapView>("mapView"), &move);
    QTest::mouseRelease(child<MapView>("mapView"), Qt::LeftButton, {}, screen(r.x, r.y));
    const MapRuler& measured = child<MapView>("mapView")->ruler();
    ASSERT_TRUE(measured.measuring());
    EXPECT_EQ(measured.from().x, a.x);
    EXPECT_EQ(measured.from().y, a.y);
    EXPECT_EQ(measured.to().x, r.x);
    EXPECT_EQ(measured.to().y, r.y);
    EXPECT_EQ(measured.reading().bearing, bearingDeg(a.x, a.y, r.x, r.y));
    // Measuring is no click: nothing selected anew, nothing recorded.
    EXPECT_EQ(form->view().selectedAircraft, 1);
    EXPECT_EQ(static_cast<int64_t>(form->session().recording().actions.size()), actions);
    QTest::keyClick(child<MapView>("mapView"), Qt::Key_Escape);
    EXPECT_FALSE(child<MapView>("mapView")->ruler().on());
    EXPECT_FALSE(ruler->isChecked());
}

}  // namespace
}  // namespace prrsim::ui
