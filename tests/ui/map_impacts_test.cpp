// Miss distances among placed labels: through random views of a capacity minute with its
// detonations, no two placed boxes (labels and miss distances) overlap, no miss distance lies on
// a symbol or a cross, every cross in view is drawn where its detonation is, and every miss
// distance is placed or counted left out.
#include <gtest/gtest.h>

#include <QImage>
#include <QPainter>
#include <cmath>
#include <memory>
#include <random>
#include <string>

#include "../../bench/capacity_scene.h"
#include "review/review_store.h"
#include "sim/tick.h"
#include "ui/map_overlays.h"
#include "ui/map_view.h"

namespace prrsim::ui {
namespace {

const QColor kImpactMarker(160, 0, 160);

// A minute of the capacity scene in flight and its review: a few dozen detonations.
struct FlownMinute {
    std::unique_ptr<WorldState> world = scenes::capacityScene(scenes::Missiles::Harm, true);
    review::ReviewStore store;

    FlownMinute() {
        world->events.take();
        const auto scratch = makeSeekerScratch();
        for (int32_t n = 0; n < 6000; ++n) {
            SimulationTick(*world, *scratch);
            store.drain(*world);
            if (world->events.tick % review::kSampleTicks == 0) {
                store.sample(*world);
            }
        }
    }
};

const FlownMinute& flownMinute() {
    static const FlownMinute minute;
    return minute;
}

// The map frame through `camera` as the main window draws it: the labels placed clear of the
// impact crosses, then the overlays with the miss distances placed after them.
// Unplaced, the labels are drawn where they always were (the plain map).
QImage drawnThrough(const MapCamera& camera, MapLabels& labels, MapOverlays& overlays,
                    bool placed = true, bool withOverlays = true) {
    const FlownMinute& m = flownMinute();
    QImage frame(static_cast<int>(camera.viewportWidth()),
                 static_cast<int>(camera.viewportHeight()), QImage::Format_RGB32);
    frame.fill(Qt::white);
    QPainter painter(&frame);
    beginMapPainting(painter);
    labels.beginFrame(frame, {placed, LabelMode::All, withOverlays ? &overlays : nullptr});
    const ViewState view;
    drawAircraft(painter, *m.world, view, camera);
    drawRadars(painter, *m.world, view, labels, camera);
    drawMissiles(painter, *m.world, view, labels, camera);
    for (const ScreenBox& cross :
         overlays.impactCrossBoxes(m.store, m.world->events.tick, camera)) {
        labels.noteObstacle(cross);
    }
    labels.finishFrame(painter);
    if (withOverlays) {
        drawOverlaysInView(painter, camera, overlays,
                           [&](QPainter& p) { overlays.draw(p, *m.world, m.store); });
    }
    return frame;
}

// The detonations whose cross shows through `camera`, counted from the review.
int detonationsInView(const MapCamera& camera) {
    const FlownMinute& m = flownMinute();
    int n = 0;
    for (const size_t i : m.store.detonations()) {
        const WorldEvent& e = m.store.events()[i];
        const double x = camera.screenX(e.x);
        const double y = camera.screenY(e.y);
        n += x >= 0 && y >= 0 && x < camera.viewportWidth() && y < camera.viewportHeight();
    }
    return n;
}

int markerPixels(const QImage& frame, const ScreenBox& box) {
    int n = 0;
    for (int y = static_cast<int>(box.y); y < static_cast<int>(box.bottom()); ++y) {
        for (int x = static_cast<int>(box.x); x < static_cast<int>(box.right()); ++x) {
            n += frame.pixelColor(x, y) == kImpactMarker;
        }
    }
    return n;
}

TEST(MapImpactPlacement, RandomViewsKeepLabelsOffTheCrossesAndMissDistancesClearOfAll) {
    ASSERT_GT(flownMinute().store.detonations().size(), 10u);
    const struct {
        const char* name;
        double width, height;
    } sizes[] = {{"maximised", 1733, 958}, {"least window", 600, 440}, {"half screen", 900, 700}};
    int placed = 0;
    int moved = 0;
    int leftOut = 0;
    for (const auto& size : sizes) {
        for (uint32_t seed = 1; seed <= 6; ++seed) {
            std::mt19937 gen(seed);
            std::uniform_real_distribution<double> unit(0, 1);
            MapCamera camera;
            camera.setViewport(size.width, size.height);
            // From fitted up to x8 about a random point; the least window starts at 1:1.
            camera.zoomAbout(1 + 7 * unit(gen) * unit(gen),
                             {unit(gen) * size.width, unit(gen) * size.height});
            MapLabels labels;
            MapOverlays overlays;
            overlays.setImpacts(true);
            const QImage frame = drawnThrough(camera, labels, overlays);
            const std::string name = std::string(size.name) + ", seed " + std::to_string(seed);

            const LabelPlacement& texts = overlays.lastImpactPlacement();
            const std::vector<ScreenBox>& crosses = overlays.lastImpactCrosses();
            ASSERT_EQ(static_cast<int>(crosses.size()), detonationsInView(camera)) << name;
            EXPECT_EQ(static_cast<int>(texts.placed.size()) + texts.leftOut,
                      static_cast<int>(overlays.lastImpactRequests().size()))
                << name;
            // Each cross drawn in screen pixels, in the marker colour at its centre.
            for (const ScreenBox& c : crosses) {
                EXPECT_GT(markerPixels(frame, c), 10) << name << " cross at " << c.x << ", " << c.y;
            }
            std::vector<ScreenBox> boxes;
            for (const PlacedLabel& l : labels.lastPlacement().placed) {
                boxes.push_back(l.box);
                for (const ScreenBox& c : crosses) {  // no label under a cross
                    ASSERT_FALSE(l.box.overlaps(c)) << name;
                }
            }
            const ScreenBox view{0, 0, size.width, size.height};
            for (const PlacedLabel& t : texts.placed) {
                SCOPED_TRACE(name + ", miss distance " + std::to_string(t.request));
                EXPECT_TRUE(t.box.inside(view));
                for (const ScreenBox& b : boxes) {
                    ASSERT_FALSE(t.box.overlaps(b));
                }
                for (const ScreenBox& o : labels.lastObstacles()) {
                    ASSERT_FALSE(t.box.overlaps(o));
                }
                for (const ScreenBox& c : crosses) {
                    ASSERT_FALSE(t.box.overlaps(c));
                }
                EXPECT_GT(markerPixels(frame, t.box), 5);  // its text drawn in its box
                boxes.push_back(t.box);
            }
            placed += static_cast<int>(texts.placed.size());
            leftOut += texts.leftOut;
            for (const PlacedLabel& t : texts.placed) {
                moved += t.leader ? 1 : 0;
            }
        }
    }
    // The views hold both room and crowds: texts next to their cross, moved away, left out.
    EXPECT_GT(placed, 20);
    EXPECT_GT(moved, 0);
    EXPECT_GT(leftOut, 0);
}

// On the plain map the labels stay where they always were and the miss distances are placed
// clear of them and of the symbols (they were drawn at a fixed place over the labels).
TEST(MapImpactPlacement, OnThePlainMapMissDistancesKeepClearOfTheLabelsAsDrawn) {
    const FlownMinute& m = flownMinute();
    MapOverlays overlays;
    overlays.setImpacts(true);
    MapLabels labels;
    MapLabels unplaced;
    MapOverlays none;
    // Collecting the boxes changes nothing of the map's own drawing.
    const QImage map = drawnThrough(MapCamera(), labels, overlays, false, false);
    EXPECT_EQ(map, drawnThrough(MapCamera(), unplaced, none, false, false));
    const QImage frame = drawnThrough(MapCamera(), labels, overlays, false);
    const LabelPlacement& texts = overlays.lastImpactPlacement();
    ASSERT_EQ(static_cast<int>(overlays.lastImpactCrosses().size()),
              detonationsInView(MapCamera()));
    EXPECT_EQ(static_cast<int>(texts.placed.size()) + texts.leftOut,
              static_cast<int>(overlays.lastImpactRequests().size()));
    EXPECT_GT(texts.placed.size(), 5u);
    // The drawn labels are among the boxes kept clear of: as many as the objects labelled.
    EXPECT_GE(labels.lastObstacles().size(),
              static_cast<size_t>(m.world->radarCount + m.world->missileCount));
    const QColor labelColour(0, 102, 204);
    int labelPixels = 0;
    for (int y = 0; y < map.height(); ++y) {
        for (int x = 0; x < map.width(); ++x) {
            labelPixels += map.pixelColor(x, y) == labelColour;
        }
    }
    EXPECT_GT(labelPixels, 1000);
    for (const PlacedLabel& t : texts.placed) {
        for (const ScreenBox& o : labels.lastObstacles()) {
            ASSERT_FALSE(t.box.overlaps(o)) << "miss distance " << t.request;
        }
        // No pixel of a label under it, as the map drew them.
        for (int y = static_cast<int>(t.box.y); y < static_cast<int>(t.box.bottom()); ++y) {
            for (int x = static_cast<int>(t.box.x); x < static_cast<int>(t.box.right()); ++x) {
                ASSERT_NE(map.pixelColor(x, y), labelColour) << "miss distance " << t.request;
            }
        }
        EXPECT_GT(markerPixels(frame, t.box), 5);
    }
}

// A frame drawn without labels places the miss distances among the crosses alone, and placing
// among labels holds only for the frame it was asked for: such a frame after a placed one is
// drawn as before it.
TEST(MapImpactPlacement, AFrameWithoutLabelsPlacesMissDistancesAmongTheCrossesAlone) {
    const FlownMinute& m = flownMinute();
    MapOverlays overlays;
    overlays.setImpacts(true);
    const auto withoutLabels = [&] {
        QImage frame(kMapWidth, kMapHeight, QImage::Format_RGB32);
        frame.fill(Qt::white);
        QPainter painter(&frame);
        drawOverlaysInView(painter, MapCamera(), overlays,
                           [&](QPainter& p) { overlays.draw(p, *m.world, m.store); });
        return frame;
    };
    const QImage before = withoutLabels();
    const std::vector<ScreenBox> crosses = overlays.lastImpactCrosses();
    EXPECT_EQ(static_cast<int>(crosses.size()), detonationsInView(MapCamera()));
    const LabelPlacement& texts = overlays.lastImpactPlacement();
    EXPECT_EQ(static_cast<int>(texts.placed.size()) + texts.leftOut,
              static_cast<int>(overlays.lastImpactRequests().size()));
    EXPECT_GT(texts.placed.size(), 5u);
    for (const PlacedLabel& t : texts.placed) {
        for (const ScreenBox& c : crosses) {
            ASSERT_FALSE(t.box.overlaps(c));
        }
        EXPECT_GT(markerPixels(before, t.box), 5);
    }
    MapLabels labels;
    drawnThrough(MapCamera(), labels, overlays);
    EXPECT_EQ(withoutLabels(), before);
}

// Zoomed, the rings on radiating radars keep their size on the screen around the radar's screen
// position instead of growing with the map.
TEST(MapOverlaysInView, RingsKeepTheirScreenSizeWhenZoomed) {
    const FlownMinute& m = flownMinute();
    const QColor ring(255, 128, 0);
    MapCamera camera;
    camera.setViewport(900, 700);
    camera.zoomAbout(4 / camera.scale(), {450, 350});
    MapOverlays overlays;
    overlays.setRadiating(true);
    QImage frame(900, 700, QImage::Format_RGB32);
    frame.fill(Qt::white);
    {
        QPainter painter(&frame);
        drawOverlaysInView(painter, camera, overlays,
                           [&](QPainter& p) { overlays.draw(p, *m.world, m.store); });
    }
    int checked = 0;
    for (int32_t j = 0; j < m.world->radarCount; ++j) {
        const RadarSite& r = m.world->radars[j];
        const double x = camera.screenX(r.x);
        const double y = camera.screenY(r.y);
        if (!r.radiating || x < 60 || y < 60 || x > 840 || y > 640) {
            continue;
        }
        int near = 0;  // within the ring's radius and a pixel
        int far = 0;   // where the ring scaled with the map would be
        for (int dy = -60; dy <= 60; ++dy) {
            for (int dx = -60; dx <= 60; ++dx) {
                const double d = std::hypot(dx, dy);
                if (frame.pixelColor(static_cast<int>(x) + dx, static_cast<int>(y) + dy) != ring) {
                    continue;
                }
                near += d <= 13 ? 1 : 0;
                far += d >= 30 && d <= 60 ? 1 : 0;
            }
        }
        EXPECT_GT(near, 40) << "radar " << j;
        EXPECT_EQ(far, 0) << "radar " << j;
        ++checked;
    }
    EXPECT_GT(checked, 3);
}

// Trails through a view: every point of the trails shown, drawn where its map pixel's centre
// falls, and thin at every zoom (the map-sized trail picture scaled with the view made squares
// of 8 x 8 screen pixels at x8). With "last minute", points older than a minute are not drawn.
struct TrailView {
    const char* name;
    double zoom;
    TrailMode mode;
    int64_t now;  // the moment drawn, the flown minute's end or later
};

// Of one view: the trail points in view with the trail drawn within a pixel, trail pixels outside
// the band round the segments of the period shown, 2 x 2 squares wholly in trail colours.
struct TrailPixels {
    int shown = 0;
    int drawnThere = 0;
    int pixels = 0;
    int outside = 0;
    int squares = 0;
};

bool trailColoured(QRgb p) {
    const QColor aircraftTrail(150, 150, 230);
    const QColor missileTrail(255, 150, 150);
    // Darkened where the two colours cross.
    return p == aircraftTrail.rgb() || p == missileTrail.rgb() || p == qRgb(150, 150, 150);
}

TrailPixels trailPixelsIn(const TrailView& row) {
    TrailPixels counted;
    auto& [shown, drawnThere, pixels, outside, squares] = counted;
    const FlownMinute& m = flownMinute();
    WorldState& world = *m.world;
    const int64_t flown = world.events.tick;
    world.events.tick = row.now;
    MapCamera camera;
    camera.setViewport(900, 700);
    camera.zoomAbout(row.zoom / camera.scale(), {450, 350});
    MapOverlays overlays;
    overlays.setTrails(row.mode);
    QImage frame(900, 700, QImage::Format_RGB32);
    frame.fill(Qt::white);
    {
        QPainter painter(&frame);
        drawOverlaysInView(painter, camera, overlays,
                           [&](QPainter& p) { overlays.draw(p, world, m.store); });
    }
    world.events.tick = flown;

    // Where the kept trails may draw: a band round each segment between points of the window.
    const int64_t from = row.mode == TrailMode::LastMinute ? row.now - kTrailWindowTicks : 0;
    QImage band(frame.size(), QImage::Format_Grayscale8);
    band.fill(0);
    {
        QPainter painter(&band);
        painter.setPen(QPen(Qt::white, 5));
        for (const auto* trails : {&m.store.aircraftTrails(), &m.store.missileTrails()}) {
            for (const std::vector<review::TrailPoint>& trail : *trails) {
                const review::TrailPoint* last = nullptr;
                for (const review::TrailPoint& p : trail) {
                    if (p.tick < from) {
                        continue;
                    }
                    const QPointF at(camera.screenX(p.x + 0.5), camera.screenY(p.y + 0.5));
                    if (last != nullptr) {
                        painter.drawLine(
                            QPointF(camera.screenX(last->x + 0.5), camera.screenY(last->y + 0.5)),
                            at);
                        // A point in view has the line through it, within a pixel.
                        if (at.x() >= 2 && at.y() >= 2 && at.x() < 898 && at.y() < 698) {
                            ++shown;
                            bool near = false;
                            for (int dy = -1; dy <= 1 && !near; ++dy) {
                                for (int dx = -1; dx <= 1 && !near; ++dx) {
                                    near =
                                        trailColoured(frame.pixel(static_cast<int>(at.x()) + dx,
                                                                  static_cast<int>(at.y()) + dy));
                                }
                            }
                            drawnThere += near ? 1 : 0;
                        }
                    }
                    last = &p;
                }
            }
        }
    }
    for (int y = 0; y + 1 < frame.height(); ++y) {
        for (int x = 0; x + 1 < frame.width(); ++x) {
            if (!trailColoured(frame.pixel(x, y))) {
                continue;
            }
            ++pixels;
            outside += qGray(band.pixel(x, y)) == 0 ? 1 : 0;
            squares += trailColoured(frame.pixel(x + 1, y)) &&
                       trailColoured(frame.pixel(x, y + 1)) &&
                       trailColoured(frame.pixel(x + 1, y + 1));
        }
    }
    return counted;
}

TEST(TrailsInView, AreThinLinesThroughTheirPointsAndOnlyThose) {
    const TrailView rows[] = {{"fitted", 1, TrailMode::WholeFlight, 6000},
                              {"x4", 4, TrailMode::WholeFlight, 6000},
                              {"x8", 8, TrailMode::WholeFlight, 6000},
                              {"x16, last minute, later", 16, TrailMode::LastMinute, 9000},
                              {"fitted, last minute, later", 1, TrailMode::LastMinute, 9500}};
    for (const TrailView& row : rows) {
        SCOPED_TRACE(row.name);
        const TrailPixels n = trailPixelsIn(row);
        EXPECT_GT(n.shown, 50);
        EXPECT_EQ(n.drawnThere, n.shown);
        EXPECT_EQ(n.outside, 0);
        EXPECT_LT(n.squares * 10, n.pixels)
            << n.squares << " squares in " << n.pixels << " trail pixels";
    }
}

}  // namespace
}  // namespace prrsim::ui
