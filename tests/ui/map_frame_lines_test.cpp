// The thin lines written straight into a view's frame: on random lines, partly or wholly outside
// the frame, every pixel they set has one of Qt's line of the same ends within a pixel and every
// pixel of Qt's line is matched likewise; the plain map, wide pens and a clipped painter keep
// Qt's pixels exactly.
#include <gtest/gtest.h>

#include <QImage>
#include <QPainter>
#include <algorithm>
#include <functional>
#include <random>
#include <string>

#include "map_frame.h"
#include "ui/frame_lines.h"
#include "world/units.h"

namespace prrsim::ui {
namespace {

const QColor kLine(0, 0, 255);

QImage blank() {
    QImage frame(400, 300, QImage::Format_RGB32);
    frame.fill(Qt::white);
    return frame;
}

QImage drawn(const MapCamera& camera, int width, const std::function<void(QPainter&)>& clip,
             const std::function<void(FrameLines&, QPainter&)>& draw) {
    QImage frame = blank();
    QPainter painter(&frame);
    painter.setRenderHint(QPainter::Antialiasing, false);
    QPen pen(kLine);
    pen.setWidth(width);
    pen.setCapStyle(Qt::RoundCap);
    painter.setPen(pen);
    clip(painter);
    FrameLines lines(painter, camera);
    draw(lines, painter);
    return frame;
}

bool onLine(const QImage& frame, int x, int y) {
    return reinterpret_cast<const QRgb*>(frame.constScanLine(y))[x] == kLine.rgb();
}

// Pixels of `a` in the line colour with none of `b`'s within a pixel (nor the frame's edge).
int unmatched(const QImage& a, const QImage& b) {
    int n = 0;
    for (int y = 0; y < a.height(); ++y) {
        for (int x = 0; x < a.width(); ++x) {
            if (!onLine(a, x, y)) {
                continue;
            }
            bool near = false;
            for (int dy = -1; dy <= 1 && !near; ++dy) {
                for (int dx = -1; dx <= 1 && !near; ++dx) {
                    // Qt rounds a line cut at the frame's edge anew: a pixel along the edge
                    // may have its counterpart just outside.
                    near = !b.valid(x + dx, y + dy) || onLine(b, x + dx, y + dy);
                }
            }
            n += near ? 0 : 1;
        }
    }
    return n;
}

int linePixels(const QImage& frame) {
    int n = 0;
    for (int y = 0; y < frame.height(); ++y) {
        for (int x = 0; x < frame.width(); ++x) {
            n += onLine(frame, x, y);
        }
    }
    return n;
}

MapCamera zoomed() {
    MapCamera camera;
    camera.setViewport(400, 300);
    camera.zoomAbout(3, {200, 150});
    return camera;
}

TEST(FrameLines, FollowQtsLinesWithinAPixelInsideAndOutsideTheFrame) {
    const MapCamera camera = zoomed();
    std::mt19937 gen(7);
    std::uniform_int_distribution<int> coordinate(-1500, 1900);
    std::uniform_int_distribution<int> near(-20, 420);
    int written = 0;
    for (int n = 0; n < 200; ++n) {
        // Inside, crossing the edges, far outside; flat, steep, single points.
        const bool far = n % 3 == 0;
        const QPoint a(far ? coordinate(gen) : near(gen), far ? coordinate(gen) : near(gen));
        const QPoint b =
            n % 50 == 0 ? a
                        : QPoint(far ? coordinate(gen) : near(gen), n % 7 == 0 ? a.y() : near(gen));
        const auto none = [](QPainter&) {};
        const QImage direct =
            drawn(camera, 1, none, [&](FrameLines& l, QPainter&) { l.draw(a, b); });
        const QImage byQt =
            drawn(camera, 1, none, [&](FrameLines&, QPainter& p) { p.drawLine(a, b); });
        const std::string name = "line " + std::to_string(n) + " " + std::to_string(a.x()) + "," +
                                 std::to_string(a.y()) + " " + std::to_string(b.x()) + "," +
                                 std::to_string(b.y());
        EXPECT_EQ(unmatched(direct, byQt), 0) << name;
        EXPECT_EQ(unmatched(byQt, direct), 0) << name;
        written += linePixels(direct);
    }
    EXPECT_GT(written, 5000);
}

TEST(FrameLines, KeepQtsPixelsWhereTheyDoNotWriteDirectly) {
    const QLine lines[] = {{-30, 10, 420, 290}, {5, 290, 380, -40}, {200, 0, 200, 299}};
    const auto none = [](QPainter&) {};
    const auto clipped = [](QPainter& p) { p.setClipRect(40, 40, 300, 200); };
    const struct {
        const char* name;
        MapCamera camera;
        int width;
        std::function<void(QPainter&)> clip;
    } rows[] = {{"the plain map", MapCamera(), 1, none},
                {"a wide pen", zoomed(), 3, none},
                {"a clipped painter", zoomed(), 1, clipped}};
    for (const auto& row : rows) {
        const QImage direct = drawn(row.camera, row.width, row.clip,
                                    [&](FrameLines& l, QPainter&) { l.draw(lines, 3); });
        const QImage byQt = drawn(row.camera, row.width, row.clip,
                                  [&](FrameLines&, QPainter& p) { p.drawLines(lines, 3); });
        EXPECT_EQ(testing::firstDifference(direct, byQt), "") << row.name;
        EXPECT_GT(linePixels(direct), 300) << row.name;
    }
}

// Trails darken what they cross: over a striped frame each pixel a darkening line changes is the
// darker of the stripe and the pen in each channel, as Qt's darken mode gives it there; the
// pixels are those of the line written in the pen, which follow Qt's line (above).
TEST(FrameLines, DarkenWhatTheyCrossAsQtsDarkenMode) {
    const QRgb stripes[] = {qRgb(255, 255, 255), qRgb(255, 0, 0), qRgb(0, 0, 0),
                            qRgb(100, 200, 50)};
    QImage striped = blank();
    for (int y = 0; y < striped.height(); ++y) {
        for (int x = 0; x < striped.width(); ++x) {
            striped.setPixel(x, y, stripes[(x / 3) % 4]);
        }
    }
    enum class Way { Darkening, QtDarken, Plain };
    const auto draw = [&](const QImage& under, Way way, QPoint a, QPoint b) {
        QImage frame = under;
        QPainter painter(&frame);
        painter.setRenderHint(QPainter::Antialiasing, false);
        painter.setPen(QPen(QColor(150, 150, 230), 1));
        FrameLines lines(painter, zoomed());
        EXPECT_TRUE(lines.direct());
        if (way == Way::Darkening) {
            lines.drawDarkening(a, b);
        } else if (way == Way::Plain) {
            lines.draw(a, b);
        } else {
            painter.setCompositionMode(QPainter::CompositionMode_Darken);
            painter.drawLine(a, b);
        }
        painter.end();
        return frame;
    };
    std::mt19937 gen(11);
    std::uniform_int_distribution<int> near(-20, 420);
    int darkened = 0;
    for (int n = 0; n < 60; ++n) {
        const QPoint a(near(gen), near(gen));
        const QPoint b(near(gen), near(gen));
        EXPECT_EQ(draw(blank(), Way::Darkening, a, b), draw(blank(), Way::Plain, a, b)) << n;
        const QImage direct = draw(striped, Way::Darkening, a, b);
        const QImage byQt = draw(striped, Way::QtDarken, a, b);
        for (int y = 0; y < direct.height(); ++y) {
            for (int x = 0; x < direct.width(); ++x) {
                const QRgb was = striped.pixel(x, y);
                const QRgb now = direct.pixel(x, y);
                if (now != was) {
                    ++darkened;
                    ASSERT_EQ(now, qRgb(std::min(qRed(was), 150), std::min(qGreen(was), 150),
                                        std::min(qBlue(was), 230)))
                        << "line " << n << " at " << x << "," << y;
                }
                if (byQt.pixel(x, y) != was && now != was) {
                    ASSERT_EQ(now, byQt.pixel(x, y)) << "line " << n << " at " << x << "," << y;
                }
            }
        }
    }
    EXPECT_GT(darkened, 2000);
}

}  // namespace
}  // namespace prrsim::ui
