// The map drawing as it was before the label cache (map_drawing_before.h).

#include "map_drawing_before.h"

#include <QFontDatabase>
#include <QFontMetrics>
#include <cmath>

#include "catalog/missile_catalog.h"
#include "catalog/radar_catalog.h"
#include "ui/object_names.h"
#include "world/geometry.h"

namespace prrsim::before {

namespace {

using ui::ImpactText;
using ui::ViewState;

const QColor kBlack(0, 0, 0);
const QColor kRed(255, 0, 0);
const QColor kBlue(0, 0, 255);
const QColor kNavy(0, 0, 128);
const QColor kTeal(0, 128, 128);
const QColor kMaroon(128, 0, 0);
const QColor kGreen(0, 128, 0);
const QColor kYellow(255, 255, 0);
const QColor kHotLight(0, 102, 204);

constexpr int kLabelPointSize = 5;
constexpr int kImpactPointSize = 24;

void setPen(QPainter& painter, const QColor& colour, int width) {
    QPen pen(colour);
    pen.setWidth(width);
    pen.setCapStyle(Qt::RoundCap);
    pen.setJoinStyle(Qt::RoundJoin);
    painter.setPen(pen);
}

QPoint pixel(double x, double y) {
    return QPoint(trunc32(x), trunc32(y));
}

// A closed figure drawn point to point and back to the first point.
void drawClosed(QPainter& painter, std::initializer_list<QPoint> points) {
    QPolygon polygon(points);
    polygon << *points.begin();
    painter.drawPolyline(polygon);
}

void circle(QPainter& painter, int x, int y, int radius) {
    painter.drawEllipse(QPoint(x, y), radius, radius);
}

// Text with its left-top corner at (x, y), as the map's labels are placed.
void textOut(QPainter& painter, int x, int y, const QString& text) {
    painter.drawText(x, y + painter.fontMetrics().ascent(), text);
}

void setMapFont(QPainter& painter, int pointSize, const QColor& colour) {
    QFont font = QFontDatabase::systemFont(QFontDatabase::GeneralFont);
    font.setPointSize(pointSize);
    font.setStyleStrategy(QFont::NoAntialias);  // exact pixels in the label colour
    painter.setFont(font);
    painter.setPen(colour);
}

bool validRadarType(int32_t type) {
    return type >= 0 && type < radarTypeCount();
}

// The tracking mark of one aircraft: a circle around it and a line from the radar that stops
// 6 pixels short of it.
void drawTrack(QPainter& painter, const RadarSite& radar, const Aircraft& aircraft) {
    circle(painter, trunc32(aircraft.x), trunc32(aircraft.y), 7);
    const double d = std::sqrt(square(aircraft.x - radar.x) + square(aircraft.y - radar.y)) - 6;
    const double t = bearingDeg(radar.x, radar.y, aircraft.x, aircraft.y) * kDegToRadFlight;
    painter.drawLine(QPoint(radar.x, radar.y),
                     pixel(radar.x + d * std::cos(t), radar.y + d * std::sin(t)));
}

void drawRadarFigure(QPainter& painter, int kind, int width, const RadarSite& radar) {
    const double a = radar.azimuth * kDegToRad;
    const double b = radar.antennaDirection * kDegToRad;
    const double X = radar.x;
    const double Y = radar.y;
    switch (kind) {
        case 0:
            setPen(painter, kBlue, width);
            circle(painter, radar.x, radar.y, 8);
            painter.drawLine(pixel(X + 8 * std::cos(a), Y + 8 * std::sin(a)),
                             pixel(X + 15 * std::cos(a), Y + 15 * std::sin(a)));
            break;
        case 1:
            setPen(painter, kMaroon, width);
            drawClosed(painter, {pixel(X + 10 * std::cos(a), Y + 10 * std::sin(a)),
                                 pixel(X + 8 * std::cos(a + 2.1), Y + 8 * std::sin(a + 2.1)),
                                 pixel(X + 8 * std::cos(a - 2.1), Y + 8 * std::sin(a - 2.1))});
            break;
        case 2:
            setPen(painter, kNavy, width);
            drawClosed(painter, {pixel(X + 4 * std::cos(b), Y + 4 * std::sin(b)),
                                 pixel(X + 6 * std::cos(b + 1.8), Y + 6 * std::sin(b + 1.8)),
                                 pixel(X + 6 * std::cos(b - 1.8), Y + 6 * std::sin(b - 1.8))});
            painter.drawLine(pixel(X + 4 * std::cos(b), Y + 4 * std::sin(b)),
                             pixel(X + 12 * std::cos(a), Y + 12 * std::sin(a)));
            break;
        case 3:
            setPen(painter, kTeal, width);
            drawClosed(painter, {pixel(X + 8 * std::cos(b + 1.2), Y + 8 * std::sin(b + 1.2)),
                                 pixel(X + 8 * std::cos(b + 1.94), Y + 8 * std::sin(b + 1.94)),
                                 pixel(X + 8 * std::cos(b - 1.94), Y + 8 * std::sin(b - 1.94)),
                                 pixel(X + 8 * std::cos(b - 1.2), Y + 8 * std::sin(b - 1.2))});
            painter.drawLine(QPoint(radar.x, radar.y),
                             pixel(X + 12 * std::cos(a), Y + 12 * std::sin(a)));
            break;
        case 4:
            setPen(painter, kGreen, width);
            painter.drawRect(QRect(radar.x - 5, radar.y - 5, 10, 10));
            break;
        default:
            break;  // an unknown symbol code draws no figure
    }
}

void drawAircraft(QPainter& painter, const WorldState& world, const ViewState& view) {
    for (int32_t i = 0; i < world.aircraftCount; ++i) {
        const Aircraft& a = aircraftAt(world, i);
        const bool selected = (i == view.selectedAircraft);
        setPen(painter, kBlack, 1);
        const double h = a.heading * kDegToRadGlyph;
        drawClosed(painter,
                   {pixel(a.x + 3 * std::cos(h), a.y + 3 * std::sin(h)),
                    pixel(a.x + 4.242 * std::cos(h - 2.8), a.y + 4.242 * std::sin(h - 2.8)),
                    pixel(a.x + 4.242 * std::cos(h + 2.8), a.y + 4.242 * std::sin(h + 2.8))});
        // A target index left behind by a radar removal draws no attack line.
        if (validRadar(world, a.targetRadar)) {
            const RadarSite& r = radarAt(world, a.targetRadar);
            setPen(painter, kRed, selected ? 3 : 1);
            painter.drawLine(pixel(a.x, a.y), QPoint(r.x, r.y));
        }
        if (selected) {
            setPen(painter, kRed, 1);
            circle(painter, trunc32(a.x), trunc32(a.y), 8);
        }
    }
}

void drawRadar(QPainter& painter, const WorldState& world, const ViewState& view,
               const RadarSite& radar) {
    const int kind = validRadarType(radar.typeIndex) ? radarType(radar.typeIndex).kind : -1;
    const int width = (radar.index == view.selectedRadar) ? 3 : 1;
    drawRadarFigure(painter, kind, width, radar);

    setMapFont(painter, kLabelPointSize, kHotLight);
    textOut(painter, radar.x + 5, radar.y + 5, ui::radarLabel(world, radar));

    if ((kind == 4 || (kind == 1 && radar.captureActive)) &&
        validAircraft(world, radar.currentTarget)) {
        setPen(painter, kGreen, width);
        drawTrack(painter, radar, aircraftAt(world, radar.currentTarget));
    }
    if ((kind == 2 || kind == 3) && radar.trackCount > 0) {
        setPen(painter, kBlue, width);
        for (int32_t k = 0; k < radar.trackCount && k < kTrackListCapacity; ++k) {
            // An entry left at -1 by an aircraft removal marks nothing.
            if (validAircraft(world, radar.trackList[k])) {
                drawTrack(painter, radar, aircraftAt(world, radar.trackList[k]));
            }
        }
    }
}

void drawRadars(QPainter& painter, const WorldState& world, const ViewState& view) {
    for (int32_t j = 0; j < world.radarCount; ++j) {
        (drawRadar)(painter, world, view, radarAt(world, j));
    }
}

void drawMissiles(QPainter& painter, const WorldState& world, const ViewState& view) {
    for (int32_t k = 0; k < world.missileCount; ++k) {
        const Missile& m = missileAt(world, k);
        if (m.typeIndex < 0 || m.typeIndex >= missileTypeCount()) {
            continue;
        }
        const MissileType& t = missileType(m.typeIndex);
        setPen(painter, kRed, 1);
        const double h = m.heading * kDegToRadGlyph;
        painter.drawLine(pixel(m.x + 3 * std::cos(h), m.y + 3 * std::sin(h)),
                         pixel(m.x + 3 * std::cos(h - 3.14), m.y + 3 * std::sin(h - 3.14)));

        setMapFont(painter, kLabelPointSize, kHotLight);
        const QPoint label = pixel(m.x + 15 * std::cos(h - 3.14), m.y + 15 * std::sin(h - 3.14));
        textOut(painter, label.x(), label.y(), ui::missileLabel(m));

        if (m.locked) {
            setPen(painter, kMaroon, 1);
            painter.drawLine(pixel(m.x, m.y), QPoint(m.targetX, m.targetY));
        }

        const double d = std::sqrt(square(m.targetX - m.x) + square(m.targetY - m.y));
        setPen(painter, kYellow, 1);
        for (const double a : {(m.heading - t.fieldOfViewAz / 2) * kDegToRad,
                               (m.heading + t.fieldOfViewAz / 2) * kDegToRad}) {
            painter.drawLine(pixel(m.x, m.y), pixel(m.x + d * std::cos(a), m.y + d * std::sin(a)));
        }

        if (m.index == view.selectedMissile) {
            setPen(painter, kRed, 1);
            circle(painter, trunc32(m.x), trunc32(m.y), 5);
        }
    }
}

void drawImpactText(QPainter& painter, const ImpactText& impact) {
    setMapFont(painter, kImpactPointSize, kRed);
    QString text;
    if (impact.state == 1) {
        text = QStringLiteral("БА");
    } else if (impact.state == 2) {
        text = QStringLiteral("БАХ");
    } else {
        return;
    }
    const QFontMetrics metrics = painter.fontMetrics();
    textOut(painter, impact.x - metrics.horizontalAdvance(text) / 2,
            impact.y - metrics.height() / 2, text);
}

}  // namespace

void drawMapContents(QPainter& painter, const WorldState& world, const ViewState& view,
                     const ImpactText& impact) {
    // This file's drawing, not ui's (which the view's namespace would also offer).
    (drawAircraft)(painter, world, view);
    (drawRadars)(painter, world, view);
    (drawMissiles)(painter, world, view);
    (drawImpactText)(painter, impact);  // this file's, not ui::drawImpactText
}

}  // namespace prrsim::before
