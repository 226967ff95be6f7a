// The legend's window: it opens beside the main window or beside the map's world, never over
// the world, on a full HD screen with the window at its least size or maximised and on a smaller
// screen; in the main window it follows "Условные обозначения" and leaves the map's frame as
// drawn without it.
#include <QAction>
#include <QApplication>
#include <QScreen>

#include "form_fixture.h"
#include "ui/map_legend.h"
#include "ui/map_view_controls.h"

namespace prrsim::ui {
namespace {

// The world through a fitted camera over a map widget of `map` placed at `at` on the screen.
QRect fittedWorld(QSize map, QPoint at) {
    MapCamera camera;
    camera.setViewport(map.width(), map.height());
    return QRectF(camera.screenX(0) + at.x(), camera.screenY(0) + at.y(),
                  kMapWidth * camera.scale(), kMapHeight * camera.scale())
        .toAlignedRect();
}

TEST(MapLegendPlace, OpensClearOfTheWorldOnTheScreen) {
    // The legend's window as it opens; the least main window 787 x 548, its map at the left-top
    // under a 22-pixel menu bar.
    const QSize legend = MapOverlays().legendPicture().size() + QSize(2, 24);
    const QSize least(787, 548);
    const QRect fullHd(0, 0, 1920, 1080);
    const QRect fullHdWork(0, 0, 1920, 1040);  // a task bar below
    const struct {
        const char* name;
        QRect window, world, screen;
        bool besideTheWindow;
    } rows[] = {
        {"least window, middle of a full HD screen", QRect(QPoint(500, 200), least),
         QRect(500, 222, kMapWidth, kMapHeight), fullHd, true},
        {"least window at the right edge of a full HD screen", QRect(QPoint(1920 - 787, 0), least),
         QRect(1920 - 787, 22, kMapWidth, kMapHeight), fullHd, true},
        {"maximised on full HD", fullHdWork, fittedWorld({1733, 958}, {0, 22}), fullHdWork, false},
        {"least window in the middle of a 1024 x 768 screen", QRect(QPoint(118, 110), least),
         QRect(118, 132, kMapWidth, kMapHeight), QRect(0, 0, 1024, 768), false},
    };
    for (const auto& row : rows) {
        const QRect place = legendPlace(legend, row.window, row.world, row.screen);
        EXPECT_EQ(place.size(), legend) << row.name;
        EXPECT_TRUE(row.screen.contains(place)) << row.name;
        EXPECT_FALSE(place.intersects(row.world)) << row.name;
        EXPECT_EQ(place.intersects(row.window), !row.besideTheWindow) << row.name;
    }
    // No room anywhere: the screen's lower right corner, over the world if it must.
    const QRect tiny(0, 0, 600, 440);
    EXPECT_EQ(legendPlace(legend, tiny, tiny, tiny).bottomRight(), tiny.bottomRight());
}

using MapLegendWindow = FormTest;

TEST_F(MapLegendWindow, FollowsItsMenuEntryAndStaysOffTheMap) {
    auto* legend = child<MapLegend>("mapLegend");
    auto* entry = child<QAction>("legendAction");
    form->redraw();
    const QImage without = child<MapView>("mapView")->frame();

    entry->trigger();
    EXPECT_TRUE(legend->isVisible());
    // On the screen; this one is too small to keep it off the least window's map (the places
    // on larger screens are checked above).
    EXPECT_TRUE(form->screen()->availableGeometry().contains(legend->frameGeometry()));
    form->redraw();
    EXPECT_EQ(child<MapView>("mapView")->frame(), without);

    legend->close();  // its own close button
    EXPECT_FALSE(entry->isChecked());
    entry->trigger();
    EXPECT_TRUE(legend->isVisible());
    entry->trigger();
    EXPECT_FALSE(legend->isVisible());
}

}  // namespace
}  // namespace prrsim::ui
