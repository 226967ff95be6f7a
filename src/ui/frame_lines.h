#pragma once

// The map's thin lines through a view other than the plain map, written straight into the
// frame's pixels: Qt draws a one-pixel line pixel by pixel through its general span machinery at
// many times the cost of writing the pixel, and a fitted or zoomed view's lines (attack lines,
// tracks, seeker fields of view) are two to sixteen times longer than on the plain map. A line
// is clipped to the frame first, so that a zoomed view pays only for what it shows. The plain
// map, a frame of another kind, a transformed or clipped painter and a wide, dashed or
// translucent pen all keep Qt's drawing (and its pixels).

#include <QImage>
#include <QLine>
#include <QPainter>

#include "ui/map_camera.h"

namespace prrsim::ui {

class FrameLines {
  public:
    FrameLines(QPainter& painter, const MapCamera& camera);

    // Lines from a to b (both ends drawn) in the painter's pen.
    void draw(QPoint a, QPoint b);
    void draw(const QLine* lines, int count);
    // A line that darkens what it crosses: each channel of each pixel the darker of the frame's
    // and the pen's, as QPainter::CompositionMode_Darken gives for an opaque pen.
    void drawDarkening(QPoint a, QPoint b);

    bool direct() const { return frame_ != nullptr; }

  private:
    bool directPen() const;
    void write(QPoint a, QPoint b, QRgb colour, bool darken = false);

    QPainter& painter_;
    QImage* frame_ = nullptr;  // written straight into, when the view and the frame allow
};

// Cuts the segment a-b to `area`; false when no part of it is inside.
bool clipSegment(QPointF& a, QPointF& b, const QRectF& area);

}  // namespace prrsim::ui
