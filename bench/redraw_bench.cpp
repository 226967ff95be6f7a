// The 100 ms map redraw at full capacity, rendered offscreen into the map picture exactly as
// the main window's redraw draws it (background copy, aircraft, radars, missiles, impact
// text), without the panel refreshes: `now` with the label pictures kept between frames,
// `before` by the former drawing (test support), in the same run; and the new redraw with every
// review overlay on.

#ifdef PRRSIM_BENCH_UI

#include <benchmark/benchmark.h>

#include <QApplication>
#include <QImage>
#include <QPainter>
#include <memory>

#include "capacity_scene.h"
#include "map_drawing_before.h"
#include "map_frame.h"
#include "review/review_store.h"
#include "sim/tick.h"
#include "ui/label_placement.h"
#include "ui/map_camera.h"
#include "ui/map_overlays.h"
#include "ui/map_view.h"

namespace prrsim {
namespace {

// The one application object the drawing (fonts) needs, on the offscreen platform.
QApplication& application() {
    static int argc = 1;
    static char name[] = "prrsim_bench";
    static char* argv[] = {name, nullptr};
    static const bool offscreen = qputenv("QT_QPA_PLATFORM", "offscreen");
    static QApplication app(argc, argv);
    static_cast<void>(offscreen);
    return app;
}

// The capacity scene of the redraw: missiles locked on their carriers.
std::unique_ptr<WorldState> redrawScene() {
    std::unique_ptr<WorldState> world = scenes::capacityScene(scenes::Missiles::Harm, false);
    const auto scratch = makeSeekerScratch();
    for (int32_t n = 0; n < 120; ++n) {
        SimulationTick(*world,
                       *scratch);  // locks made: the locked missiles draw their target lines
    }
    return world;
}

// Aircraft and radar 0 selected.
ui::ViewState redrawView() {
    ui::ViewState view;
    view.selectedAircraft = 0;
    view.selectedRadar = 0;
    return view;
}

// The redraw as the main window makes it, the label pictures kept in `labels` between frames.
void drawMap(const QImage& background, const WorldState& world, const ui::ImpactText& impact,
             ui::MapLabels& labels, ui::MapOverlays* overlays, const review::ReviewStore* store) {
    QImage frame = background;
    QPainter painter(&frame);
    testing::drawMapFrame(painter, world, redrawView(), impact, labels);
    if (overlays != nullptr) {
        overlays->draw(painter, world, *store);
    }
    painter.end();
    benchmark::DoNotOptimize(frame.constBits());
}

void BM_MapRedrawAtCapacity(benchmark::State& state, bool before) {
    application();
    std::unique_ptr<WorldState> world = redrawScene();
    const ui::ImpactText impact{1, 300, 220};
    QImage background = ui::blankMap();
    ui::prepareBackground(*world, background);
    ui::MapLabels labels;
    for (auto _ : state) {
        if (before) {
            QImage frame = background;
            QPainter painter(&frame);
            ui::beginMapPainting(painter);
            before::drawMapContents(painter, *world, redrawView(), impact);
            painter.end();
            benchmark::DoNotOptimize(frame.constBits());
        } else {
            drawMap(background, *world, impact, labels, nullptr, nullptr);
        }
    }
}
BENCHMARK_CAPTURE(BM_MapRedrawAtCapacity, now, false)->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(BM_MapRedrawAtCapacity, before, true)->Unit(benchmark::kMicrosecond);

// The same redraw with every overlay on, at capacity: the trails of the last minute of 50
// aircraft and 100 missiles and the impact markers of the detonations among them (recorded
// from 60 s of the capacity scene in flight), the rings of the radiating radars (the legend has
// a window of its own).
// The last minute moves on every 5 s of simulated time, 50 redraws at normal speed, when the
// trail picture is drawn again from the stored points: one redraw in 50 does that here.
// The review of 60 s of the capacity scene in flight; the overlays are drawn as of its end.
constexpr int64_t kFlownTicks = 6000;

const review::ReviewStore& flownMinute() {
    static const review::ReviewStore store = [] {
        review::ReviewStore flown;
        std::unique_ptr<WorldState> flight = scenes::capacityScene(scenes::Missiles::Harm, true);
        flight->events.take();
        const auto scratch = makeSeekerScratch();
        while (flight->events.tick < kFlownTicks) {
            SimulationTick(*flight, *scratch);
            flown.drain(*flight);
            if (flight->events.tick % review::kSampleTicks == 0) {
                flown.sample(*flight);
            }
        }
        return flown;
    }();
    return store;
}

void BM_MapRedrawAtCapacityAllOverlays(benchmark::State& state) {
    application();
    std::unique_ptr<WorldState> world = redrawScene();
    const ui::ImpactText impact{1, 300, 220};
    QImage background = ui::blankMap();
    ui::prepareBackground(*world, background);
    const review::ReviewStore& store = flownMinute();
    world->events.tick = kFlownTicks;
    ui::MapOverlays overlays;
    overlays.setTrails(ui::TrailMode::LastMinute);
    overlays.setImpacts(true);
    overlays.setRadiating(true);
    ui::MapLabels labels;
    int64_t redraws = 0;
    for (auto _ : state) {
        if (++redraws % 50 == 0) {
            overlays.setTrails(ui::TrailMode::WholeFlight);  // a new trail picture
            overlays.setTrails(ui::TrailMode::LastMinute);
        }
        drawMap(background, *world, impact, labels, &overlays, &store);
    }
    state.counters["impacts"] = static_cast<double>(store.detonations().size());
}
BENCHMARK(BM_MapRedrawAtCapacityAllOverlays)
    ->Name("BM_MapRedrawAtCapacityAllOverlays/now")
    ->Unit(benchmark::kMicrosecond);

// The redraw through the map view of a maximised window on a 1920 x 1080 screen (the map's
// widget 1733 x 958): the whole world fitted, and zoomed to x8 about the middle; the labels
// placed clear of each other and of the symbols. As the window draws it: the background through
// the camera (kept while the view stays), the map, the placement, the labels.
constexpr double kMaximisedWidth = 1733;
constexpr double kMaximisedHeight = 958;

void BM_MapRedrawAtCapacityInView(benchmark::State& state, double scale, bool withOverlays) {
    application();
    std::unique_ptr<WorldState> world = redrawScene();
    const ui::ViewState view = redrawView();
    const ui::ImpactText impact{1, 300, 220};
    QImage background = ui::blankMap();
    ui::prepareBackground(*world, background);
    ui::MapCamera camera;
    camera.setViewport(kMaximisedWidth, kMaximisedHeight);
    camera.zoomAbout(scale / camera.scale(), {kMaximisedWidth / 2, kMaximisedHeight / 2});
    // The background as the view shows it, made once per view as the map widget keeps it.
    QImage viewBackground(static_cast<int>(kMaximisedWidth), static_cast<int>(kMaximisedHeight),
                          QImage::Format_RGB32);
    {
        QPainter painter(&viewBackground);
        viewBackground.fill(Qt::lightGray);
        painter.drawImage(QRectF(camera.screenX(0), camera.screenY(0), kMapWidth * camera.scale(),
                                 kMapHeight * camera.scale()),
                          background);
    }
    ui::MapLabels labels;
    ui::MapOverlays overlays;
    overlays.setTrails(ui::TrailMode::LastMinute);
    overlays.setImpacts(true);
    overlays.setRadiating(true);
    const review::ReviewStore& store = flownMinute();
    world->events.tick = kFlownTicks;
    for (auto _ : state) {
        QImage frame = viewBackground;
        QPainter painter(&frame);
        ui::beginMapPainting(painter);
        labels.beginFrame(frame, {true, ui::LabelMode::All, withOverlays ? &overlays : nullptr});
        ui::drawAircraft(painter, *world, view, camera);
        ui::drawRadars(painter, *world, view, labels, camera);
        ui::drawMissiles(painter, *world, view, labels, camera);
        ui::drawImpactText(painter, impact, camera, &labels);
        if (withOverlays) {
            for (const ui::ScreenBox& cross :
                 overlays.impactCrossBoxes(store, world->events.tick, camera)) {
                labels.noteObstacle(cross);
            }
        }
        labels.finishFrame(painter);
        if (withOverlays) {
            ui::drawOverlaysInView(painter, camera, overlays,
                                   [&](QPainter& p) { overlays.draw(p, *world, store); });
        }
        painter.end();
        benchmark::DoNotOptimize(frame.constBits());
    }
    const ui::LabelPlacement& placed = labels.lastPlacement();
    state.counters["labels_shown"] = static_cast<double>(placed.placed.size());
    state.counters["labels_number_only"] = placed.shortened;
    state.counters["labels_left_out"] = placed.leftOut;
}
BENCHMARK_CAPTURE(BM_MapRedrawAtCapacityInView, fitted_1920x1080, kMaximisedHeight / kMapHeight,
                  false)
    ->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(BM_MapRedrawAtCapacityInView, zoom_x8, 8.0, false)->Unit(benchmark::kMicrosecond);
// The same with every overlay on as above, the last minute's trails drawn as lines through the
// view every frame.
BENCHMARK_CAPTURE(BM_MapRedrawAtCapacityInView, fitted_1920x1080_all_overlays,
                  kMaximisedHeight / kMapHeight, true)
    ->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(BM_MapRedrawAtCapacityInView, zoom_x8_all_overlays, 8.0, true)
    ->Unit(benchmark::kMicrosecond);

// The placement alone of the capacity scene's 300 labels fitted into the maximised window: the
// requests and the symbols' boxes as the redraw collects them.
void BM_LabelPlacementAtCapacity(benchmark::State& state) {
    application();
    std::unique_ptr<WorldState> world = redrawScene();
    ui::MapCamera camera;
    camera.setViewport(kMaximisedWidth, kMaximisedHeight);
    std::vector<ui::LabelRequest> requests;
    std::vector<ui::ScreenBox> symbols;
    // The requests as the drawing makes them: each object's anchor, clearance and text sizes.
    for (int32_t j = 0; j < world->radarCount; ++j) {
        const RadarSite& r = world->radars[j];
        requests.push_back({camera.screenX(r.x), camera.screenY(r.y), 9, 70, 9, 16, 0});
        symbols.push_back({camera.screenX(r.x) - 9, camera.screenY(r.y) - 9, 18, 18});
    }
    for (int32_t k = 0; k < world->missileCount; ++k) {
        const Missile& m = world->missiles[k];
        requests.push_back({camera.screenX(m.x), camera.screenY(m.y), 4, 80, 9, 16, 0});
        symbols.push_back({camera.screenX(m.x) - 4, camera.screenY(m.y) - 4, 8, 8});
    }
    ui::LabelPlacement placement;
    for (auto _ : state) {
        placement = ui::placeLabels(requests, symbols, {0, 0, kMaximisedWidth, kMaximisedHeight});
        benchmark::DoNotOptimize(placement.placed.data());
    }
    state.counters["labels"] = static_cast<double>(requests.size());
    state.counters["shown"] = static_cast<double>(placement.placed.size());
    state.counters["left_out"] = placement.leftOut;
}
BENCHMARK(BM_LabelPlacementAtCapacity)->Unit(benchmark::kMicrosecond);

}  // namespace
}  // namespace prrsim

#endif
