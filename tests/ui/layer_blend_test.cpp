// Overlay pictures laid over the map pixel by pixel give exactly the pixels of Qt's own
// composition, for drawn layers like the overlays' and for every alpha a picture can hold.
#include <gtest/gtest.h>

#include <QFont>
#include <QImage>
#include <QPainter>
#include <QRandomGenerator>
#include <functional>
#include <string>
#include <vector>

#include "../../bench/capacity_scene.h"
#include "map_frame.h"
#include "review/review_store.h"
#include "sim/tick.h"
#include "ui/layer_blend.h"
#include "ui/map_overlays.h"
#include "ui/map_view.h"
#include "world/units.h"

namespace prrsim::ui {
namespace {

QImage capacityFrame() {
    const std::unique_ptr<WorldState> world = scenes::capacityScene(scenes::Missiles::Harm, true);
    QImage background = blankMap();
    prepareBackground(*world, background);
    MapLabels labels;
    return testing::mapFrame(background, *world, {}, {}, labels);
}

QImage clearLayer() {
    QImage layer(kMapWidth, kMapHeight, QImage::Format_ARGB32_Premultiplied);
    layer.fill(Qt::transparent);
    return layer;
}

void drawnLayer(QImage& layer, bool antialiased) {
    QPainter painter(&layer);
    painter.setRenderHint(QPainter::Antialiasing, antialiased);
    painter.setRenderHint(QPainter::TextAntialiasing, antialiased);
    QRandomGenerator random(7);
    for (int i = 0; i < 150; ++i) {
        painter.setPen(QPen(QColor(i % 2 ? 150 : 255, 150, i % 2 ? 230 : 150), 1 + i % 3));
        painter.drawLine(random.bounded(-20, kMapWidth + 20), random.bounded(-20, kMapHeight + 20),
                         random.bounded(-20, kMapWidth + 20), random.bounded(-20, kMapHeight + 20));
    }
    QFont font = painter.font();
    font.setPixelSize(10);
    font.setStyleStrategy(antialiased ? QFont::PreferAntialias : QFont::NoAntialias);
    painter.setFont(font);
    painter.setPen(QColor(160, 0, 160));
    for (int i = 0; i < 20; ++i) {
        painter.drawText(random.bounded(kMapWidth), random.bounded(kMapHeight),
                         QStringLiteral("%1 м").arg(i * 37));
    }
}

void randomLayer(QImage& layer) {
    QRandomGenerator random(11);
    for (int y = 0; y < layer.height(); ++y) {
        for (int x = 0; x < layer.width(); ++x) {
            const int a = random.bounded(4) == 0 ? 0 : random.bounded(256);
            layer.setPixel(
                x, y,
                qRgba(random.bounded(a + 1), random.bounded(a + 1), random.bounded(a + 1), a));
        }
    }
}

struct Layer {
    const char* name;
    std::function<void(QImage&)> draw;
};

// Each layer row is drawn inside `area` only, whose tiles are marked.
TEST(LayerBlend, GivesQtsPixelsInBothModesForEveryKindOfLayerAndPart) {
    const QImage frame = capacityFrame();
    const std::vector<Layer> layers = {
        {"lines and text without antialiasing", [](QImage& l) { drawnLayer(l, false); }},
        {"antialiased lines and text", [](QImage& l) { drawnLayer(l, true); }},
        {"every alpha", randomLayer},
    };
    const QRect areas[] = {frame.rect(), QRect(37, 5, 211, 390), QRect(500, 400, 300, 300)};
    for (const Layer& row : layers) {
        QImage full = clearLayer();
        row.draw(full);
        for (const QRect& area : areas) {
            QImage layer = clearLayer();
            QPainter(&layer).drawImage(area.topLeft(), full, area);
            DrawnTiles tiles;
            tiles.mark(area);
            for (const LayerBlend blend : {LayerBlend::Darken, LayerBlend::Over}) {
                SCOPED_TRACE(std::string(row.name) +
                             (blend == LayerBlend::Darken ? ", darken" : ", over") + ", area at " +
                             std::to_string(area.x()));
                QImage byQt = frame;
                {
                    QPainter painter(&byQt);
                    painter.setCompositionMode(compositionMode(blend));
                    painter.drawImage(0, 0, layer);
                }
                QImage laid = frame;
                ASSERT_TRUE(blendLayer(laid, layer, tiles, blend));
                EXPECT_EQ(testing::firstDifference(laid, byQt), "");
                QImage painted = frame;  // through a painter on the frame, as the map draws
                {
                    QPainter painter(&painted);
                    layOver(painter, layer, tiles, blend);
                }
                EXPECT_EQ(painted, laid);
            }
        }
    }
}

// The overlays' own tiles hold every pixel they draw: laid by tiles and laid by Qt over the
// whole part drawn (a clipped painter takes Qt's way), the frames agree, for the trails and
// impact markers of a minute at capacity, as the trails grow and start again.
TEST(LayerBlend, OverlayTilesHoldEveryTrailAndMarkerDrawn) {
    std::unique_ptr<WorldState> world = scenes::capacityScene(scenes::Missiles::Harm, true);
    world->events.take();
    review::ReviewStore store;
    MapOverlays overlays;
    overlays.setTrails(TrailMode::LastMinute);
    overlays.setImpacts(true);
    const QImage plain = capacityFrame();
    MapOverlays byQt = overlays;
    int compared = 0;
    const auto scratch = makeSeekerScratch();
    for (int32_t n = 1; n <= 6600; ++n) {
        SimulationTick(*world, *scratch);
        store.drain(*world);
        if (world->events.tick % review::kSampleTicks == 0) {
            store.sample(*world);
        }
        if (n % 600 != 0) {
            continue;
        }
        QImage laid = plain;
        {
            QPainter painter(&laid);
            overlays.draw(painter, *world, store);
        }
        QImage clipped = plain;
        {
            QPainter painter(&clipped);
            painter.setClipRect(clipped.rect());
            byQt.draw(painter, *world, store);
        }
        SCOPED_TRACE("tick " + std::to_string(n));
        EXPECT_EQ(testing::firstDifference(laid, clipped), "");
        compared += laid != plain;
    }
    EXPECT_EQ(compared, 11);
    EXPECT_GT(store.detonations().size(), 0u);
}

TEST(LayerBlend, LeavesFramesOfOtherFormatsToQt) {
    QImage layer = clearLayer();
    drawnLayer(layer, false);
    QImage frame(kMapWidth, kMapHeight, QImage::Format_ARGB32);
    frame.fill(QColor(10, 200, 30));
    const QImage untouched = frame;
    DrawnTiles tiles;
    tiles.mark(frame.rect());
    EXPECT_FALSE(blendLayer(frame, layer, tiles, LayerBlend::Darken));
    EXPECT_EQ(frame, untouched);
}

}  // namespace
}  // namespace prrsim::ui
