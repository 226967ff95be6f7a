#pragma once

// What the review's overlays and their legend share: the overlay colours and sizes and the small
// drawing helpers. Only the overlays' own sources include it.

#include <QColor>
#include <QFont>
#include <QPainter>
#include <QPen>
#include <QPolygon>
#include <QString>
#include <cmath>

#include "ui/fonts.h"

namespace prrsim::ui::overlay_style {

inline const QColor kAircraftTrail(150, 150, 230);
inline const QColor kMissileTrail(255, 150, 150);
inline const QColor kImpactMarker(160, 0, 160);
inline const QColor kRadiatingRing(255, 128, 0);

inline constexpr int kRingRadius = 11;
// The miss distance's font, and the room between a placed one and its cross.
inline constexpr int kImpactTextPixels = 10;
inline constexpr double kImpactTextGap = 2;
// The square around a reacting radar.
inline const QColor kReactionMarker(0, 160, 160);
inline constexpr int kReactionMarkerHalf = 9;
inline constexpr int kCrossArm = 4;

inline void setPen(QPainter& painter, const QColor& colour, int width) {
    QPen pen(colour);
    pen.setWidth(width);
    painter.setPen(pen);
    painter.setBrush(Qt::NoBrush);
}

inline QFont overlayFont(int pixels, bool bold = false) {
    QFont font = formFont(bold, pixels);
    font.setStyleStrategy(QFont::NoAntialias);  // exact pixels in the marker colour
    return font;
}

inline QString missText(double metres) {
    return std::isfinite(metres) ? QString::number(std::lround(metres)) + QStringLiteral(" м")
                                 : QString();
}

inline void triangle(QPainter& painter, const QColor& colour, QPoint a, QPoint b, QPoint c) {
    setPen(painter, colour, 1);
    painter.drawPolyline(QPolygon({a, b, c, a}));
}

}  // namespace prrsim::ui::overlay_style
