// The 100 ms map redraw at full capacity, rendered offscreen into the map picture exactly as
// the main window's Timer2Timer draws it (background copy, aircraft, radars, missiles, impact
// text), without the panel refreshes: `now` with the label pictures kept between frames,
// `before` by the former drawing (test support), in the same run.

#ifdef PRRSIM_BENCH_UI

#include <benchmark/benchmark.h>

#include <QApplication>
#include <QImage>
#include <QPainter>
#include <memory>

#include "capacity_scene.h"
#include "map_drawing_before.h"
#include "sim/tick.h"
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

void BM_MapRedrawAtCapacity(benchmark::State& state, bool before) {
    application();
    std::unique_ptr<WorldState> world = scenes::capacityScene(scenes::Missiles::Harm, false);
    for (int32_t n = 0; n < 120; ++n) {
        SimulationTick(*world);  // locks made: the locked missiles draw their target lines
    }
    world->selectedAircraft = 0;
    world->selectedRadar = 0;
    const ui::ImpactText impact{1, 300, 220};
    QImage background = ui::blankMap();
    ui::prepareBackground(*world, background);
    ui::MapLabels labels;
    for (auto _ : state) {
        QImage frame = background;
        QPainter painter(&frame);
        ui::beginMapPainting(painter);
        if (before) {
            before::drawMapContents(painter, *world, impact);
        } else {
            labels.beginFrame(frame);
            ui::drawAircraft(painter, *world);
            ui::drawRadars(painter, *world, labels);
            ui::drawMissiles(painter, *world, labels);
            ui::drawImpactText(painter, impact);
        }
        painter.end();
        benchmark::DoNotOptimize(frame.constBits());
    }
}
BENCHMARK_CAPTURE(BM_MapRedrawAtCapacity, now, false)->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(BM_MapRedrawAtCapacity, before, true)->Unit(benchmark::kMicrosecond);

}  // namespace
}  // namespace prrsim

#endif
