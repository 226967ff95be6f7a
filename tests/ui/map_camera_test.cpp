// The map view's camera: every screen point maps to the map pixel it shows, at every zoom and
// pan; the whole world fits the viewport in proportion; clicks through a zoomed and panned view
// record the same actions as at 1:1.
#include <gtest/gtest.h>

#include <QTest>
#include <cmath>
#include <vector>

#include "form_fixture.h"
#include "ui/map_camera.h"
#include "world/units.h"

namespace prrsim::ui {
namespace {

struct ViewStep {
    enum Kind { Zoom, Pan, Fit, OneToOne } kind;
    double a = 0;  // zoom factor or dx
    double b = 0;  // zoom point x or dy
    double c = 0;  // zoom point y
};

struct ViewRow {
    const char* name;
    double width;
    double height;
    std::vector<ViewStep> steps;
};

const ViewRow kViews[] = {
    {"the map's own size, fitted", 600, 440, {}},
    {"maximised on 1920x1080", 1733, 958, {}},
    {"tall and narrow", 700, 1200, {}},
    {"x4 about a corner", 600, 440, {{ViewStep::Zoom, 4, 0, 0}}},
    {"x2.5 about the middle, maximised", 1733, 958, {{ViewStep::Zoom, 2.5, 866, 479}}},
    {"x16, then panned",
     600,
     440,
     {{ViewStep::Zoom, 64, 300, 220}, {ViewStep::Pan, -313.5, 77.25}}},
    {"zoomed, panned past the edge",
     900,
     700,
     {{ViewStep::Zoom, 3, 450, 350}, {ViewStep::Pan, 5000, -5000}}},
    {"zoomed out beyond the whole map",
     900,
     700,
     {{ViewStep::Zoom, 3, 10, 10}, {ViewStep::Zoom, 0.01, 400, 300}}},
    {"1:1 in a large viewport", 1733, 958, {{ViewStep::Zoom, 5, 100, 900}, {ViewStep::OneToOne}}},
    {"1:1 after a zoom, then fitted",
     600,
     440,
     {{ViewStep::Zoom, 7, 31, 17}, {ViewStep::OneToOne}, {ViewStep::Fit}}},
};

MapCamera cameraFor(const ViewRow& row) {
    MapCamera camera;
    camera.setViewport(row.width, row.height);
    for (const ViewStep& step : row.steps) {
        switch (step.kind) {
            case ViewStep::Zoom:
                camera.zoomAbout(step.a, {step.b, step.c});
                break;
            case ViewStep::Pan:
                camera.pan(step.a, step.b);
                break;
            case ViewStep::Fit:
                camera.fit();
                break;
            case ViewStep::OneToOne:
                camera.oneToOne();
                break;
        }
    }
    return camera;
}

TEST(MapCamera, EveryScreenPointFallsInTheMapPixelItShows) {
    for (const ViewRow& row : kViews) {
        const MapCamera camera = cameraFor(row);
        const double s = camera.scale();
        EXPECT_GE(s, std::min(camera.fitScale(), 1.0) - 1e-12) << row.name;
        EXPECT_LE(s, MapCamera::kMaxScale) << row.name;
        // The map's pixel squares tile the screen: a point inside a square maps to its pixel.
        for (int x = 0; x < kMapWidth; x += 37) {
            for (int y = 0; y < kMapHeight; y += 29) {
                for (const double inside : {0.001, 0.5, 0.999}) {
                    const ViewPoint screen = camera.toScreen({x + inside, y + inside});
                    const MapPixel p = camera.pixelAt(screen);
                    ASSERT_EQ(p.x, x) << row.name << " at " << inside;
                    ASSERT_EQ(p.y, y) << row.name << " at " << inside;
                }
            }
        }
        // Larger than the viewport, the map leaves no gap; smaller, it is centred.
        const double left = camera.screenX(0);
        const double right = camera.screenX(kMapWidth);
        if (right - left > row.width) {
            EXPECT_LE(left, 1e-9) << row.name;
            EXPECT_GE(right, row.width - 1e-9) << row.name;
        } else {
            // Centred; at 1:1 on a whole screen pixel.
            EXPECT_NEAR(left, row.width - right, 1) << row.name;
        }
    }
}

TEST(MapCamera, FittedShowsTheWholeWorldInProportionAndOwnSizeIsThePlainMap) {
    const struct {
        double width, height, scale;
        bool identity;
    } rows[] = {{600, 440, 1, true},
                {1200, 880, 2, false},
                {1733, 958, 958.0 / 440, false},
                {700, 1200, 700.0 / 600, false}};
    for (const auto& row : rows) {
        MapCamera camera;
        camera.setViewport(row.width, row.height);
        EXPECT_DOUBLE_EQ(camera.scale(), row.scale) << row.width;
        EXPECT_EQ(camera.identity(), row.identity) << row.width;
        // Zoomed in and back out to the whole map: the same view again.
        camera.zoomAbout(3, {17, 23});
        EXPECT_FALSE(camera.identity());
        camera.zoomAbout(1.0 / 3, {17, 23});
        EXPECT_DOUBLE_EQ(camera.scale(), row.scale) << row.width;
        EXPECT_EQ(camera.identity(), row.identity) << row.width;
    }
}

TEST(MapCamera, ZoomKeepsThePointUnderTheCursorAndResizeKeepsTheCentre) {
    MapCamera camera;
    camera.setViewport(1000, 800);
    const ViewPoint cursor{613, 141};
    const ViewPoint before = camera.toWorld(cursor);
    camera.zoomAbout(3.3, cursor);
    const ViewPoint after = camera.toWorld(cursor);
    EXPECT_NEAR(after.x, before.x, 1e-9);
    EXPECT_NEAR(after.y, before.y, 1e-9);
    const ViewPoint centre = camera.toWorld({500, 400});
    camera.setViewport(1200, 900);
    const ViewPoint moved = camera.toWorld({600, 450});
    EXPECT_NEAR(moved.x, centre.x, 1e-9);
    EXPECT_NEAR(moved.y, centre.y, 1e-9);
}

TEST(MapCamera, ScaleAndPositionTexts) {
    EXPECT_EQ(scaleText(1, 96), "×1 · 1 см = 3,8 км");
    EXPECT_EQ(scaleText(4, 96), "×4 · 1 см = 0,9 км");
    EXPECT_EQ(scaleText(2.5, 254), "×2,5 · 1 см = 4 км");
    EXPECT_EQ(positionText({123, 45.6}), "x 12,3 км  y 4,6 км");
}

// Clicks through the window's zoomed and panned map: selecting an aircraft, then "Перенести"
// to a map pixel records the same actions as the same clicks at 1:1.
class MapClicks : public FormTest {
  protected:
    // The screen point inside map pixel (x, y) as the view shows it.
    QPoint screenOf(int x, int y) const {
        const ViewPoint s = child<MapView>("mapView")->camera().toScreen({x + 0.5, y + 0.5});
        return QPoint(static_cast<int>(std::floor(s.x)), static_cast<int>(std::floor(s.y)));
    }
    void click(int x, int y) {
        const QPoint at = screenOf(x, y);
        moveMouse(child<MapView>("mapView"), at);
        QTest::mouseClick(child<MapView>("mapView"), Qt::LeftButton, {}, at);
    }
    std::vector<batch::Action> moveRecorded(int aircraft, int x, int y) {
        const Aircraft& a = world->aircraft[aircraft];
        click(trunc32(a.x), trunc32(a.y));
        EXPECT_EQ(form->view().selectedAircraft, aircraft);
        child<QPushButton>("moveButton")->click();  // "Перенести"
        click(x, y);
        return form->session().recording().actions;
    }
};

TEST_F(MapClicks, RecordTheSameActionsAtEveryZoomAndPan) {
    const int tx = trunc32(world->aircraft[2].x) + 9;
    const int ty = trunc32(world->aircraft[2].y) - 7;
    const auto plain = moveRecorded(2, tx, ty);
    ASSERT_EQ(plain.size(), 1u);
    EXPECT_EQ(world->aircraft[2].x, tx);
    EXPECT_EQ(world->aircraft[2].y, ty);
    const struct {
        const char* name;
        double zoom;
        QPointF pan;
    } views[] = {{"x2", 2, {0, 0}},
                 {"x8, panned", 8, {-40.5, 13}},
                 {"x16", 16, {0, 0}},
                 {"three wheel notches, panned", 1.953125, {71, -33}}};
    for (const auto& view : views) {
        TearDown();
        SetUp();
        const QPoint aircraft =
            screenOf(trunc32(world->aircraft[2].x), trunc32(world->aircraft[2].y));
        child<MapView>("mapView")->zoomAbout(view.zoom, aircraft);
        child<MapView>("mapView")->pan(view.pan.x(), view.pan.y());
        ASSERT_TRUE(child<MapView>("mapView")->rect().contains(screenOf(tx, ty))) << view.name;
        EXPECT_EQ(moveRecorded(2, tx, ty), plain) << view.name;
    }
}

}  // namespace
}  // namespace prrsim::ui
