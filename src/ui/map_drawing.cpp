// The map's contents: the background, the aircraft, radar and missile symbols and their lines.
#include "ui/map_view.h"

#include <QFontMetrics>
#include <cmath>

#include "catalog/missile_catalog.h"
#include "catalog/radar_catalog.h"
#include "ui/frame_lines.h"
#include "ui/map_painting.h"
#include "ui/object_names.h"
#include "ui/ui_text.h"
#include "world/geometry.h"

namespace prrsim::ui {

using namespace map_painting;

namespace {

bool validRadarType(int32_t type) {
    return type >= 0 && type < radarTypeCount();
}

// The tracking mark of one aircraft: a circle around it and a line from the radar that stops
// 6 pixels short of it.
void drawTrack(QPainter& painter, FrameLines& lines, const MapCamera& camera,
               const RadarSite& radar, const Aircraft& aircraft) {
    const double X = camera.screenX(radar.x);
    const double Y = camera.screenY(radar.y);
    circle(painter, trunc32(camera.screenX(aircraft.x)), trunc32(camera.screenY(aircraft.y)), 7);
    const double d =
        std::sqrt(square(aircraft.x - radar.x) + square(aircraft.y - radar.y)) * camera.scale() - 6;
    const double t = bearingDeg(radar.x, radar.y, aircraft.x, aircraft.y) * kDegToRadFlight;
    lines.draw(pixel(X, Y), pixel(X + d * std::cos(t), Y + d * std::sin(t)));
}

// The symbol's figure centred on the screen point (X, Y).
void drawRadarFigure(QPainter& painter, int kind, int width, const RadarSite& radar, double X,
                     double Y) {
    const double a = radar.azimuth * kDegToRad;
    const double b = radar.antennaDirection * kDegToRad;
    const QPoint centre = pixel(X, Y);
    switch (kind) {
        case 0:
            setPen(painter, kBlue, width);
            circle(painter, centre.x(), centre.y(), 8);
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
            painter.drawLine(centre, pixel(X + 12 * std::cos(a), Y + 12 * std::sin(a)));
            break;
        case 4:
            setPen(painter, kGreen, width);
            painter.drawRect(QRect(centre.x() - 5, centre.y() - 5, 10, 10));
            break;
        default:
            break;  // an unknown symbol code draws no figure
    }
}

}  // namespace

QImage blankMap() {
    QImage map(kMapWidth, kMapHeight, QImage::Format_RGB32);
    map.fill(Qt::white);
    return map;
}

void beginMapPainting(QPainter& painter) {
    painter.setRenderHint(QPainter::Antialiasing, false);
    painter.setRenderHint(QPainter::TextAntialiasing, false);
    painter.setBrush(Qt::NoBrush);
}

void prepareBackground(const WorldState& world, QImage& map) {
    QPainter painter(&map);
    beginMapPainting(painter);
    for (int32_t i = 0; i < world.landmarkCount; ++i) {
        const Landmark& l = landmarkAt(world, i);
        const int right = trunc32(l.x + l.size * 0.01);
        const int bottom = trunc32(l.y + l.size * 0.01);
        // The right and bottom edges are exclusive, as for a filled rectangle.
        painter.fillRect(QRect(QPoint(l.x, l.y), QPoint(right - 1, bottom - 1)), kBlack);
    }
}

void drawAircraft(QPainter& painter, const WorldState& world, const ViewState& view,
                  const MapCamera& camera) {
    FrameLines lines(painter, camera);
    for (int32_t i = 0; i < world.aircraftCount; ++i) {
        const Aircraft& a = aircraftAt(world, i);
        const bool selected = (i == view.selectedAircraft);
        const double X = camera.screenX(a.x);
        const double Y = camera.screenY(a.y);
        setPen(painter, kBlack, 1);
        const double h = a.heading * kDegToRadGlyph;
        drawClosed(painter, {pixel(X + 3 * std::cos(h), Y + 3 * std::sin(h)),
                             pixel(X + 4.242 * std::cos(h - 2.8), Y + 4.242 * std::sin(h - 2.8)),
                             pixel(X + 4.242 * std::cos(h + 2.8), Y + 4.242 * std::sin(h + 2.8))});
        // A target index left behind by a radar removal draws no attack line.
        if (validRadar(world, a.targetRadar)) {
            const RadarSite& r = radarAt(world, a.targetRadar);
            setPen(painter, kRed, selected ? 3 : 1);
            lines.draw(pixel(X, Y), pixel(camera.screenX(r.x), camera.screenY(r.y)));
        }
        if (selected) {
            setPen(painter, kRed, 1);
            circle(painter, trunc32(X), trunc32(Y), 8);
        }
    }
}

namespace {

void noteAircraftSymbols(const WorldState& world, const MapCamera& camera, MapLabels& labels) {
    if (!labels.collecting()) {
        return;
    }
    for (int32_t i = 0; i < world.aircraftCount; ++i) {
        const Aircraft& a = aircraftAt(world, i);
        labels.noteObstacle(symbolBox(camera.screenX(a.x), camera.screenY(a.y), kAircraftExtent));
    }
}

}  // namespace

void drawRadar(QPainter& painter, const WorldState& world, const ViewState& view, int32_t row,
               MapLabels& labels, const MapCamera& camera) {
    FrameLines lines(painter, camera);
    const RadarSite& radar = radarAt(world, row);
    const int kind = validRadarType(radar.typeIndex) ? radarType(radar.typeIndex).kind : -1;
    const int width = (radar.index == view.selectedRadar) ? 3 : 1;
    const double X = camera.screenX(radar.x);
    const double Y = camera.screenY(radar.y);
    drawRadarFigure(painter, kind, width, radar, X, Y);

    labels.noteObstacle(symbolBox(X, Y, kRadarExtent));
    if (labels.shows(world, view, LabelOwner::Radar, row)) {
        const QPoint at = pixel(X, Y);
        const QString& text = labels.radarText(world, row);
        if (labels.placing()) {
            // Each radar of a complex its own label: radars of a complex often share a place.
            const bool member =
                validPlacedComplex(world, radar.placedComplex) && validRadarType(radar.typeIndex);
            const QString own =
                member ? complexMemberLabel(text, radarType(radar.typeIndex).name) : text;
            labels.label(painter, at.x() + 5, at.y() + 5, own,
                         {X, Y, kRadarExtent + kLabelGap, row == view.selectedRadar ? 1 : 0,
                          labelNumber(text)});
        } else {
            labels.label(painter, at.x() + 5, at.y() + 5, text, {});
        }
    }

    if ((kind == 4 || (kind == 1 && radar.captureActive)) &&
        validAircraft(world, radar.currentTarget)) {
        setPen(painter, kGreen, width);
        drawTrack(painter, lines, camera, radar, aircraftAt(world, radar.currentTarget));
    }
    if ((kind == 2 || kind == 3) && radar.trackCount > 0) {
        setPen(painter, kBlue, width);
        for (int32_t k = 0; k < radar.trackCount && k < kTrackListCapacity; ++k) {
            // An entry left at -1 by an aircraft removal marks nothing.
            if (validAircraft(world, radar.trackList[k])) {
                drawTrack(painter, lines, camera, radar, aircraftAt(world, radar.trackList[k]));
            }
        }
    }
}

void drawRadars(QPainter& painter, const WorldState& world, const ViewState& view,
                MapLabels& labels, const MapCamera& camera) {
    // The aircraft's symbols, drawn before, are kept clear of too.
    noteAircraftSymbols(world, camera, labels);
    for (int32_t j = 0; j < world.radarCount; ++j) {
        drawRadar(painter, world, view, j, labels, camera);
    }
}

void drawMissiles(QPainter& painter, const WorldState& world, const ViewState& view,
                  MapLabels& labels, const MapCamera& camera) {
    FrameLines lines(painter, camera);
    for (int32_t k = 0; k < world.missileCount; ++k) {
        const Missile& m = missileAt(world, k);
        if (m.typeIndex < 0 || m.typeIndex >= missileTypeCount()) {
            continue;
        }
        const MissileType& t = missileType(m.typeIndex);
        const double X = camera.screenX(m.x);
        const double Y = camera.screenY(m.y);
        setPen(painter, kRed, 1);
        const double h = m.heading * kDegToRadGlyph;
        painter.drawLine(pixel(X + 3 * std::cos(h), Y + 3 * std::sin(h)),
                         pixel(X + 3 * std::cos(h - 3.14), Y + 3 * std::sin(h - 3.14)));

        labels.noteObstacle(symbolBox(X, Y, kMissileExtent));
        if (labels.shows(world, view, LabelOwner::Missile, k)) {
            const QPoint label = pixel(X + 15 * std::cos(h - 3.14), Y + 15 * std::sin(h - 3.14));
            const QString& text = labels.missileText(world, k);
            labels.label(painter, label.x(), label.y(), text,
                         {X, Y, kMissileExtent + kLabelGap, k == view.selectedMissile ? 1 : 0,
                          labelNumber(text)});
        }

        if (m.locked) {
            setPen(painter, kMaroon, 1);
            lines.draw(pixel(X, Y), pixel(camera.screenX(m.targetX), camera.screenY(m.targetY)));
        }

        const double d =
            std::sqrt(square(m.targetX - m.x) + square(m.targetY - m.y)) * camera.scale();
        setPen(painter, kYellow, 1);
        QLine edges[2];
        int n = 0;
        for (const double a : {(m.heading - t.fieldOfViewAz / 2) * kDegToRad,
                               (m.heading + t.fieldOfViewAz / 2) * kDegToRad}) {
            edges[n++] = QLine(pixel(X, Y), pixel(X + d * std::cos(a), Y + d * std::sin(a)));
        }
        lines.draw(edges, 2);  // one colour: drawn together, the same pixels

        if (m.index == view.selectedMissile) {
            setPen(painter, kRed, 1);
            circle(painter, trunc32(X), trunc32(Y), 5);
        }
    }
}

void drawImpactText(QPainter& painter, const ImpactText& impact, const MapCamera& camera,
                    MapLabels* labels) {
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
    const QPoint at = pixel(camera.screenX(impact.x), camera.screenY(impact.y));
    const int left = at.x() - metrics.horizontalAdvance(text) / 2;
    const int top = at.y() - metrics.height() / 2;
    textOut(painter, left, top, text);
    if (labels != nullptr) {
        labels->noteObstacle({double(left), double(top), double(metrics.horizontalAdvance(text)),
                              double(metrics.height())});
    }
}

void drawOverlaysInView(QPainter& painter, const MapCamera& camera, MapOverlays& overlays,
                        const std::function<void(QPainter&)>& draw) {
    overlays.viewThrough(camera);
    if (camera.identity()) {
        draw(painter);
        return;
    }
    painter.save();
    painter.setWorldTransform(
        QTransform(camera.scale(), 0, 0, camera.scale(), camera.screenX(0), camera.screenY(0)));
    draw(painter);
    painter.restore();
}

QString complexMemberLabel(const QString& complexLabel, std::string_view typeName) {
    QString name = fromView(typeName);
    // The part after the complex's name ("Тор, РЛС обнаружения"), in its short words.
    const qsizetype comma = name.indexOf(QStringLiteral(", "));
    if (comma >= 0) {
        name = name.mid(comma + 2);
    }
    name.replace(QStringLiteral("сопровождения"), QStringLiteral("сопр."));
    name.replace(QStringLiteral("обнаружения"), QStringLiteral("обн."));
    return complexLabel + QLatin1Char(' ') + name;
}

QString labelNumber(const QString& label) {
    const qsizetype sign = label.lastIndexOf(QStringLiteral("№"));
    return sign >= 0 ? label.mid(sign) : label;
}

}  // namespace prrsim::ui
