// Label placement: in random scenes no two placed labels overlap, none lies on a symbol or
// leaves the view, every label is placed or counted left out; the map's labels at capacity
// through a zoomed view likewise; the label modes and the complex members' own labels.
#include <gtest/gtest.h>

#include <QImage>
#include <QPainter>
#include <random>
#include <set>

#include "../../bench/capacity_scene.h"
#include "sim/tick.h"
#include "ui/label_placement.h"
#include "ui/map_view.h"
#include "world/world.h"

namespace prrsim::ui {
namespace {

struct Scene {
    std::vector<LabelRequest> requests;
    std::vector<ScreenBox> obstacles;
};

struct RandomRow {
    const char* name;
    int count;
    double width;  // of the view; the height is two thirds of it
    int extraObstacles;
    bool allPlacedNextToTheirObjects;
};

Scene randomScene(const RandomRow& row, uint32_t seed) {
    std::mt19937 gen(seed);
    std::uniform_real_distribution<double> unit(0, 1);
    Scene scene;
    const double height = row.width * 2 / 3;
    for (int i = 0; i < row.count; ++i) {
        LabelRequest r;
        if (row.allPlacedNextToTheirObjects) {  // a sparse grid: room around each
            r.anchorX = 60 + 150 * (i % 4);
            r.anchorY = 40 + 120 * (i / 4);
        } else {
            r.anchorX = unit(gen) * row.width;
            r.anchorY = unit(gen) * height;
        }
        r.clearance = 4 + 5 * unit(gen);
        r.width = 20 + 70 * unit(gen);
        r.height = 8 + 6 * unit(gen);
        r.shortWidth = unit(gen) < 0.7 ? 12 + 8 * unit(gen) : 0;
        r.priority = unit(gen) < 0.1 ? 1 : 0;
        scene.requests.push_back(r);
        scene.obstacles.push_back(
            {r.anchorX - r.clearance, r.anchorY - r.clearance, 2 * r.clearance, 2 * r.clearance});
    }
    for (int i = 0; i < row.extraObstacles; ++i) {
        scene.obstacles.push_back(
            {unit(gen) * row.width, unit(gen) * height, 5 + 60 * unit(gen), 5 + 20 * unit(gen)});
    }
    return scene;
}

// Every placed label: inside the view, clear of the obstacles and of each other, of its full or
// short size, next to its symbol unless it has a leader; each request at most once.
void expectClearPlacement(const LabelPlacement& placement,
                          const std::vector<LabelRequest>& requests,
                          const std::vector<ScreenBox>& obstacles, const ScreenBox& view,
                          const std::string& name) {
    std::set<int> seen;
    for (size_t i = 0; i < placement.placed.size(); ++i) {
        const PlacedLabel& p = placement.placed[i];
        ASSERT_TRUE(seen.insert(p.request).second) << name;
        const LabelRequest& r = requests[static_cast<size_t>(p.request)];
        EXPECT_TRUE(p.box.inside(view)) << name;
        EXPECT_DOUBLE_EQ(p.box.width, p.shortText ? r.shortWidth : r.width) << name;
        for (const ScreenBox& o : obstacles) {
            ASSERT_FALSE(p.box.overlaps(o)) << name << ", label " << p.request;
        }
        for (size_t j = 0; j < i; ++j) {
            ASSERT_FALSE(p.box.overlaps(placement.placed[j].box))
                << name << ", labels " << p.request << " and " << placement.placed[j].request;
        }
        // The gap between the box and the anchor along the nearer axis: the clearance when next
        // to the symbol, more with a leader.
        const double gapX = std::max(p.box.x - r.anchorX, r.anchorX - p.box.right());
        const double gapY = std::max(p.box.y - r.anchorY, r.anchorY - p.box.bottom());
        const double gap = std::max(gapX, gapY);
        if (p.leader) {
            EXPECT_GT(gap, r.clearance + 1) << name;
        } else {
            EXPECT_NEAR(gap, r.clearance, 1e-9) << name;
        }
    }
    EXPECT_EQ(static_cast<int>(placement.placed.size()) + placement.leftOut,
              static_cast<int>(requests.size()))
        << name;
}

TEST(LabelPlacement, RandomScenesPlaceWithoutOverlap) {
    const RandomRow rows[] = {
        {"a few labels with room around each", 12, 600, 0, true},
        {"crowded small view", 150, 600, 20, false},
        {"capacity-sized on a large view", 300, 1700, 60, false},
        {"more labels than room", 600, 400, 40, false},
        {"no labels", 0, 600, 10, false},
    };
    for (const RandomRow& row : rows) {
        for (uint32_t seed = 1; seed <= 20; ++seed) {
            const Scene scene = randomScene(row, seed);
            const ScreenBox view{0, 0, row.width, row.width * 2 / 3};
            const LabelPlacement placement = placeLabels(scene.requests, scene.obstacles, view);
            const std::string name = std::string(row.name) + ", seed " + std::to_string(seed);
            expectClearPlacement(placement, scene.requests, scene.obstacles, view, name);
            if (row.allPlacedNextToTheirObjects) {
                EXPECT_EQ(placement.leftOut, 0) << name;
                for (const PlacedLabel& p : placement.placed) {
                    EXPECT_FALSE(p.leader || p.shortText)
                        << name << ", label " << p.request << " at " << p.box.x << ", " << p.box.y;
                }
            }
        }
    }
}

// Two objects at one point: the selected one's label takes the first place (right of the
// symbol), the other moves round; with no room left the number alone shows, then nothing.
TEST(LabelPlacement, SelectedPlacesFirstThenNumberOnlyThenLeftOut) {
    const LabelRequest plain{100, 100, 8, 60, 10, 16, 0};
    LabelRequest selected = plain;
    selected.priority = 1;
    const ScreenBox view{0, 0, 400, 300};
    const LabelPlacement two = placeLabels({plain, selected}, {}, view);
    ASSERT_EQ(two.placed.size(), 2u);
    EXPECT_EQ(two.placed[0].request, 1);
    EXPECT_DOUBLE_EQ(two.placed[0].box.x, 108);
    EXPECT_EQ(two.leftOut, 0);

    // A view just wide enough around the object for the short texts only.
    const ScreenBox narrow{60, 90, 80, 20};
    const LabelPlacement squeezed = placeLabels({plain, plain}, {}, narrow);
    ASSERT_FALSE(squeezed.placed.empty());
    for (const PlacedLabel& p : squeezed.placed) {
        EXPECT_TRUE(p.shortText);
    }
    EXPECT_GT(squeezed.shortened, 0);
    const LabelPlacement none = placeLabels({plain}, {{0, 0, 400, 300}}, view);
    EXPECT_TRUE(none.placed.empty());
    EXPECT_EQ(none.leftOut, 1);
}

std::unique_ptr<WorldState> capacityWorld() {
    auto world = scenes::capacityScene(scenes::Missiles::Harm, false);
    const auto scratch = makeSeekerScratch();
    for (int32_t n = 0; n < 120; ++n) {
        SimulationTick(*world, *scratch);
    }
    return world;
}

// The capacity scene's view: its first aircraft selected.
ViewState firstAircraftSelected() {
    ViewState view;
    view.selectedAircraft = 0;
    return view;
}

// Draws the map through a view of `width` x `height` zoomed by `zoom` about its middle and
// returns what the labels did.
LabelPlacement drawnThrough(const WorldState& world, MapLabels& labels, double width, double height,
                            double zoom, LabelMode mode) {
    MapCamera camera;
    camera.setViewport(width, height);
    camera.zoomAbout(zoom, {width / 2, height / 2});
    QImage frame(static_cast<int>(width), static_cast<int>(height), QImage::Format_RGB32);
    frame.fill(Qt::white);
    QPainter painter(&frame);
    beginMapPainting(painter);
    labels.beginFrame(frame, {true, mode});
    const ViewState view = firstAircraftSelected();
    drawAircraft(painter, world, view, camera);
    drawRadars(painter, world, view, labels, camera);
    drawMissiles(painter, world, view, labels, camera);
    drawImpactText(painter, {1, 300, 220}, camera, &labels);
    labels.finishFrame(painter);
    return labels.lastPlacement();
}

TEST(MapLabelPlacement, CapacitySceneThroughZoomedViewsHasNoOverlaps) {
    auto world = capacityWorld();
    const struct {
        const char* name;
        double width, height, zoom;
    } views[] = {{"fitted into 1920x1080", 1733, 958, 1},
                 {"x8", 1733, 958, 8 / (958.0 / 440)},
                 {"the map's own size", 600, 440, 1}};
    for (const auto& view : views) {
        MapLabels labels;
        const LabelPlacement placement =
            drawnThrough(*world, labels, view.width, view.height, view.zoom, LabelMode::All);
        // The placed labels against each other (the symbols are checked on random scenes).
        for (size_t i = 0; i < placement.placed.size(); ++i) {
            for (size_t j = 0; j < i; ++j) {
                ASSERT_FALSE(placement.placed[i].box.overlaps(placement.placed[j].box))
                    << view.name;
            }
        }
        EXPECT_GT(placement.placed.size(), 20u) << view.name;
        EXPECT_EQ(labels.lastTexts().size(), 2 * (placement.placed.size() + placement.leftOut))
            << view.name;
    }
}

TEST(MapLabelPlacement, ModesShowAllTheSelectionOrNone) {
    auto world = capacityWorld();
    const int32_t target = world->aircraft[0].targetRadar;
    int carried = 0;
    for (int32_t k = 0; k < world->missileCount; ++k) {
        carried += world->missiles[k].carrier == 0 ? 1 : 0;
    }
    ASSERT_GT(carried, 0);
    const struct {
        LabelMode mode;
        size_t requested;
    } rows[] = {{LabelMode::All, static_cast<size_t>(world->radarCount + world->missileCount)},
                {LabelMode::Selection, static_cast<size_t>(carried + (target >= 0 ? 1 : 0))},
                {LabelMode::None, 0}};
    for (const auto& row : rows) {
        MapLabels labels;
        // A view holding every object: each shown label is asked for.
        drawnThrough(*world, labels, 1200, 880, 1, row.mode);
        EXPECT_EQ(labels.lastTexts().size(), 2 * row.requested) << static_cast<int>(row.mode);
    }
}

// At start-up two radars of a complex stand on one point under one label; placed, each has its
// own, with its type.
TEST(MapLabelPlacement, EachRadarOfAComplexHasItsOwnLabel) {
    auto world = makeWorld();
    startWorld(*world);
    MapLabels labels;
    drawnThrough(*world, labels, 1200, 880, 2, LabelMode::All);
    int members = 0;
    std::set<QString> texts;
    for (size_t i = 0; i < labels.lastTexts().size(); i += 2) {
        texts.insert(labels.lastTexts()[i]);
    }
    for (int32_t j = 0; j < world->radarCount; ++j) {
        members += validPlacedComplex(*world, world->radars[j].placedComplex) ? 1 : 0;
    }
    ASSERT_GE(members, 2);
    EXPECT_EQ(texts.size(), labels.lastTexts().size() / 2);  // no two labels alike
    EXPECT_EQ(complexMemberLabel(QStringLiteral("ЗРК Тор №1"), "Тор, РЛС обнаружения"),
              QStringLiteral("ЗРК Тор №1 РЛС обн."));
    EXPECT_EQ(labelNumber(QStringLiteral("ЗРК Тор №12")), QStringLiteral("№12"));
}

}  // namespace
}  // namespace prrsim::ui
