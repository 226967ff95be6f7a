#pragma once

// What the map's drawing, its labels and its view share: the colours, the symbols' extents and
// the small painting helpers. Only the map's own sources include it.

#include <QColor>
#include <QFont>
#include <QFontDatabase>
#include <QPaintDevice>
#include <QPainter>
#include <QPen>
#include <QPolygon>
#include <initializer_list>

#include "ui/label_placement.h"
#include "world/geometry.h"

namespace prrsim::ui::map_painting {

inline const QColor kBlack(0, 0, 0);
inline const QColor kRed(255, 0, 0);
inline const QColor kBlue(0, 0, 255);
inline const QColor kNavy(0, 0, 128);
inline const QColor kTeal(0, 128, 128);
inline const QColor kMaroon(128, 0, 0);
inline const QColor kGreen(0, 128, 0);
inline const QColor kYellow(255, 255, 0);
inline const QColor kHotLight(0, 102, 204);

inline constexpr int kLabelPointSize = 5;
// Placed labels, on a view meant to be read from afar, in a larger size.
inline constexpr int kPlacedLabelPointSize = 8;
inline constexpr int kImpactPointSize = 24;

inline void setPen(QPainter& painter, const QColor& colour, int width) {
    QPen pen(colour);
    pen.setWidth(width);
    pen.setCapStyle(Qt::RoundCap);
    pen.setJoinStyle(Qt::RoundJoin);
    painter.setPen(pen);
}

inline QPoint pixel(double x, double y) {
    return QPoint(trunc32(x), trunc32(y));
}

inline QSizeF logicalSize(const QPaintDevice& device) {
    return QSizeF(device.width(), device.height()) / device.devicePixelRatioF();
}

// Half the extent of the symbols on the screen, which placed labels keep clear of.
inline constexpr double kRadarExtent = 10;
inline constexpr double kAircraftExtent = 5;
inline constexpr double kMissileExtent = 4;
// The room a placed label leaves between itself and its symbol.
inline constexpr double kLabelGap = 3;

inline ScreenBox symbolBox(double x, double y, double extent) {
    return {x - extent, y - extent, 2 * extent, 2 * extent};
}

// A closed figure drawn point to point and back to the first point.
inline void drawClosed(QPainter& painter, std::initializer_list<QPoint> points) {
    QPolygon polygon(points);
    polygon << *points.begin();
    painter.drawPolyline(polygon);
}

inline void circle(QPainter& painter, int x, int y, int radius) {
    painter.drawEllipse(QPoint(x, y), radius, radius);
}

// Text with its left-top corner at (x, y), as the map's labels are placed.
inline void textOut(QPainter& painter, int x, int y, const QString& text) {
    painter.drawText(x, y + painter.fontMetrics().ascent(), text);
}

inline QFont mapFont(int pointSize) {
    QFont font = QFontDatabase::systemFont(QFontDatabase::GeneralFont);
    font.setPointSize(pointSize);
    font.setStyleStrategy(QFont::NoAntialias);  // exact pixels in the label colour
    return font;
}

inline void setMapFont(QPainter& painter, int pointSize, const QColor& colour) {
    painter.setFont(mapFont(pointSize));
    painter.setPen(colour);
}

}  // namespace prrsim::ui::map_painting
