// The redraw with the label pictures kept between frames gives the same pixels as the former
// drawing, which lays every label out anew (test support): frame after frame, while labels
// change, appear, go, are clipped at the map's edges and are dropped from the pictures.
#include <gtest/gtest.h>

#include <QImage>
#include <QPainter>
#include <functional>
#include <memory>
#include <string>

#include "../../bench/capacity_scene.h"
#include "map_drawing_before.h"
#include "map_frame.h"
#include "sim/tick.h"
#include "ui/map_view.h"
#include "world/world.h"

namespace prrsim::ui {
namespace {

QImage background(const WorldState& world) {
    QImage map = blankMap();
    prepareBackground(world, map);
    return map;
}

// Aircraft 0 and radar 0 selected: their emphasis is drawn too.
ViewState selectedFirst() {
    ViewState view;
    view.selectedAircraft = 0;
    view.selectedRadar = 0;
    return view;
}

QImage drawnNow(const WorldState& world, const ImpactText& impact, MapLabels& labels) {
    return testing::mapFrame(background(world), world, selectedFirst(), impact, labels);
}

QImage drawnBefore(const WorldState& world, const ImpactText& impact) {
    QImage frame = background(world);
    QPainter painter(&frame);
    beginMapPainting(painter);
    before::drawMapContents(painter, world, selectedFirst(), impact);
    return frame;
}

// A scratch area a copyable change can carry from frame to frame.
std::shared_ptr<SeekerScratch> sharedScratch() {
    return makeSeekerScratch();
}

struct Scene {
    const char* name;
    std::function<std::unique_ptr<WorldState>()> make;
    // Applied before frame n of six (the same label pictures serve all six).
    std::function<void(WorldState&, int)> change;
};

std::unique_ptr<WorldState> capacity(scenes::Missiles kind) {
    auto world = scenes::capacityScene(kind, false);
    const auto scratch = makeSeekerScratch();
    for (int32_t n = 0; n < 120; ++n) {
        SimulationTick(*world, *scratch);
    }
    return world;
}

TEST(MapLabels, FramesMatchTheFormerDrawingPixelForPixel) {
    const Scene rows[] = {
        {"harm at capacity", [] { return capacity(scenes::Missiles::Harm); },
         [scratch = sharedScratch()](WorldState& w, int) { SimulationTick(w, *scratch); }},
        {"every missile type, radars removed and renumbered",
         [] { return capacity(scenes::Missiles::Mixed); },
         [scratch = sharedScratch()](WorldState& w, int n) {
             removeRadar(w, 5 * n);
             scenes::launchAll(w);
             SimulationTick(w, *scratch);
         }},
        {"labels clipped at every edge",
         [] {
             auto w = scenes::defaultSceneWithHarm();
             const int32_t corners[][2] = {{-20, -3}, {596, 2}, {598, 437}, {1, 436}, {300, -8}};
             for (const auto& at : corners) {
                 addRadars(*w, 3, -1, true);
                 placeRadar(*w, w->radarCount - 1, at[0], at[1]);
             }
             return w;
         },
         [](WorldState& w, int n) {
             w.radars[w.radarCount - 1].x += 3 * n;
             w.missiles[0].x = 590 + n;
             w.missiles[0].y = 2 * n;
         }},
        {"the start-up world, then an empty one (pictures dropped)",
         [] {
             auto w = makeWorld();
             startWorld(*w);
             return w;
         },
         [](WorldState& w, int n) {
             if (n == 3) {
                 startEmptyWorld(w);
                 w.radarCount = 0;
             }
         }},
    };
    for (const Scene& row : rows) {
        auto world = row.make();
        MapLabels labels;
        for (int n = 0; n < 6; ++n) {
            row.change(*world, n);
            const ImpactText impact{n % 3, 100 + 40 * n, 200};
            const std::string difference = testing::firstDifference(
                drawnNow(*world, impact, labels), drawnBefore(*world, impact));
            ASSERT_EQ(difference, "") << row.name << ", frame " << n;
        }
    }
}

// Each label is laid out once while it is shown, frame after frame; the pictures of labels no
// longer shown do not pile up.
TEST(MapLabels, LabelsAreMadeOnceAndDroppedWhenGone) {
    auto world = capacity(scenes::Missiles::Harm);
    MapLabels labels;
    drawnNow(*world, {}, labels);
    const int atCapacity = labels.pictureCount();
    EXPECT_GE(atCapacity, 300);  // every radar and missile label
    EXPECT_EQ(labels.picturesMade(), atCapacity);
    for (int n = 0; n < 3; ++n) {
        drawnNow(*world, {}, labels);
    }
    EXPECT_EQ(labels.picturesMade(), atCapacity);
    startEmptyWorld(*world);
    drawnNow(*world, {}, labels);
    drawnNow(*world, {}, labels);
    EXPECT_LE(labels.pictureCount(), 64);
}

}  // namespace
}  // namespace prrsim::ui
