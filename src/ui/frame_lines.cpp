#include "ui/frame_lines.h"

#include <QPaintDevice>
#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <utility>

namespace prrsim::ui {

FrameLines::FrameLines(QPainter& painter, const MapCamera& camera) : painter_(painter) {
    QPaintDevice* device = painter.device();
    if (camera.identity() || device == nullptr || device->devType() != QInternal::Image) {
        return;
    }
    auto* image = static_cast<QImage*>(device);
    const bool plainPixels = image->format() == QImage::Format_RGB32 ||
                             image->format() == QImage::Format_ARGB32_Premultiplied;
    if (plainPixels && image->devicePixelRatio() == 1 && painter.transform().isIdentity() &&
        !painter.hasClipping() &&
        painter.compositionMode() == QPainter::CompositionMode_SourceOver) {
        frame_ = image;
    }
}

bool FrameLines::directPen() const {
    const QPen& pen = painter_.pen();
    return frame_ != nullptr && pen.style() == Qt::SolidLine && pen.widthF() <= 1 &&
           pen.brush().style() == Qt::SolidPattern && pen.color().alpha() == 255;
}

void FrameLines::draw(QPoint a, QPoint b) {
    if (directPen()) {
        write(a, b, painter_.pen().color().rgba());
    } else {
        painter_.drawLine(a, b);
    }
}

void FrameLines::draw(const QLine* lines, int count) {
    if (!directPen()) {
        painter_.drawLines(lines, count);
        return;
    }
    const QRgb colour = painter_.pen().color().rgba();
    for (int i = 0; i < count; ++i) {
        write(lines[i].p1(), lines[i].p2(), colour);
    }
}

void FrameLines::drawDarkening(QPoint a, QPoint b) {
    if (directPen()) {
        write(a, b, painter_.pen().color().rgba(), true);
        return;
    }
    const QPainter::CompositionMode mode = painter_.compositionMode();
    painter_.setCompositionMode(QPainter::CompositionMode_Darken);
    painter_.drawLine(a, b);
    painter_.setCompositionMode(mode);
}

bool clipSegment(QPointF& a, QPointF& b, const QRectF& area) {
    // Liang-Barsky: the part of a + t (b - a), t in 0..1, inside the area.
    const double dx = b.x() - a.x();
    const double dy = b.y() - a.y();
    double t0 = 0;
    double t1 = 1;
    const std::pair<double, double> edges[] = {{-dx, a.x() - area.left()},
                                               {dx, area.right() - a.x()},
                                               {-dy, a.y() - area.top()},
                                               {dy, area.bottom() - a.y()}};
    for (const auto& [p, q] : edges) {
        if (p == 0) {
            if (q < 0) {
                return false;
            }
            continue;
        }
        const double t = q / p;
        if (p < 0) {
            t0 = std::max(t0, t);
        } else {
            t1 = std::min(t1, t);
        }
        if (t0 > t1) {
            return false;
        }
    }
    b = QPointF(a.x() + t1 * dx, a.y() + t1 * dy);
    a = QPointF(a.x() + t0 * dx, a.y() + t0 * dy);
    return true;
}

// Along the line's longer axis one pixel per step, the other coordinate rounded from the line
// itself; only the steps of the part inside the frame are taken.
void FrameLines::write(QPoint from, QPoint to, QRgb colour, bool darken) {
    const int width = frame_->width();
    const int height = frame_->height();
    QPointF a = from;
    QPointF b = to;
    if (!clipSegment(a, b, QRectF(-1, -1, width + 1, height + 1))) {
        return;
    }
    const bool flat = std::abs(to.x() - from.x()) >= std::abs(to.y() - from.y());
    // Major axis: its ends, the step range inside the frame, the minor axis' slope.
    const int major0 = flat ? from.x() : from.y();
    const int major1 = flat ? to.x() : to.y();
    const int minor0 = flat ? from.y() : from.x();
    const int length = major1 - major0;
    const double slope =
        length == 0 ? 0 : double(flat ? to.y() - from.y() : to.x() - from.x()) / length;
    const double clippedFrom = flat ? a.x() : a.y();
    const double clippedTo = flat ? b.x() : b.y();
    const int majorLimit = (flat ? width : height) - 1;
    const int minorLimit = flat ? height : width;
    const int first = std::max({std::min(major0, major1),
                                static_cast<int>(std::floor(std::min(clippedFrom, clippedTo))), 0});
    const int last =
        std::min({std::max(major0, major1),
                  static_cast<int>(std::ceil(std::max(clippedFrom, clippedTo))), majorLimit});
    uchar* bits = frame_->bits();
    const qsizetype stride = frame_->bytesPerLine();
    const QRgb pixel = colour | 0xff000000u;
    for (int m = first; m <= last; ++m) {
        const int n = static_cast<int>(std::floor(minor0 + (m - major0) * slope + 0.5));
        if (n < 0 || n >= minorLimit) {
            continue;
        }
        const int x = flat ? m : n;
        const int y = flat ? n : m;
        QRgb& at = reinterpret_cast<QRgb*>(bits + y * stride)[x];
        at = darken ? qRgb(std::min(qRed(at), qRed(pixel)), std::min(qGreen(at), qGreen(pixel)),
                           std::min(qBlue(at), qBlue(pixel)))
                    : pixel;
    }
}

}  // namespace prrsim::ui
