#include "ui/map_view.h"


#include <QFontDatabase>
#include <QFontMetrics>
#include <QMouseEvent>
#include <QPaintEvent>
#include <cmath>

#include "catalog/missile_catalog.h"
#include "catalog/radar_catalog.h"
#include "ui/object_names.h"
#include "ui/ui_text.h"
#include "world/geometry.h"

namespace prrsim::ui {

namespace {

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

QFont mapFont(int pointSize) {
    QFont font = QFontDatabase::systemFont(QFontDatabase::GeneralFont);
    font.setPointSize(pointSize);
    font.setStyleStrategy(QFont::NoAntialias);  // exact pixels in the label colour
    return font;
}

void setMapFont(QPainter& painter, int pointSize, const QColor& colour) {
    painter.setFont(mapFont(pointSize));
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

}  // namespace

MapLabels::MapLabels() : font_(mapFont(kLabelPointSize)), colour_(kHotLight) {}

void MapLabels::beginFrame(const QPaintDevice& device) {
    const QFont font = mapFont(kLabelPointSize);
    if (font != font_ || device.logicalDpiX() != dpiX_ || device.logicalDpiY() != dpiY_) {
        font_ = font;
        dpiX_ = device.logicalDpiX();
        dpiY_ = device.logicalDpiY();
        pictures_.clear();
    }
    if (frame_ > 0) {
        shownLastFrame_ = shown_;
    }
    if (pictures_.size() > 2 * shownLastFrame_ + 64) {
        for (auto it = pictures_.begin(); it != pictures_.end();) {
            it = it->frame == frame_ ? std::next(it) : pictures_.erase(it);
        }
    }
    ++frame_;
    shown_ = 0;
}

MapLabels::Picture MapLabels::render(const QString& text) const {
    // A picture of the device's resolution, wide and tall enough for every pixel the text can
    // colour, transparent but for them.
    QImage probe(1, 1, QImage::Format_ARGB32_Premultiplied);
    probe.setDotsPerMeterX(qRound(dpiX_ / 0.0254));
    probe.setDotsPerMeterY(qRound(dpiY_ / 0.0254));
    const QFontMetrics metrics(font_, &probe);
    const QRect box = metrics.boundingRect(text).adjusted(-1, -1, 1, 1);
    Picture picture;
    picture.image = QImage(box.size(), QImage::Format_ARGB32_Premultiplied);
    picture.image.setDotsPerMeterX(probe.dotsPerMeterX());
    picture.image.setDotsPerMeterY(probe.dotsPerMeterY());
    picture.image.fill(Qt::transparent);
    QPainter painter(&picture.image);
    beginMapPainting(painter);
    painter.setFont(font_);
    painter.setPen(colour_);
    painter.drawText(-box.left(), -box.top(), text);  // the baseline's origin
    picture.offset = QPoint(box.left(), metrics.ascent() + box.top());
    return picture;
}

namespace {

// The text of `slot`, remade when `from` differs from what it was made from.
template <typename Make>
const QString& rowText(std::array<int32_t, 4> from, bool& made, std::array<int32_t, 4>& was,
                       QString& text, Make make) {
    if (!made || from != was) {
        made = true;
        was = from;
        text = make();
    }
    return text;
}

}  // namespace

const QString& MapLabels::radarText(const WorldState& world, int32_t row) {
    const RadarSite& r = radarAt(world, row);
    // What radarLabel reads: the placed complex (if valid) and its catalogue complex, else the
    // type; the number shown.
    const bool inComplex = validPlacedComplex(world, r.placedComplex);
    const std::array<int32_t, 4> from{
        inComplex ? 1 : 0, inComplex ? placedComplexAt(world, r.placedComplex).complexIndex : 0,
        radarLabelNumber(world, r), r.typeIndex};
    RowText& slot = radarTexts_[static_cast<size_t>(row)];
    return rowText(from, slot.made, slot.from, slot.text, [&] { return radarLabel(world, r); });
}

const QString& MapLabels::missileText(const WorldState& world, int32_t row) {
    const Missile& m = missileAt(world, row);
    RowText& slot = missileTexts_[static_cast<size_t>(row)];
    return rowText({m.typeIndex, m.review.number, 0, 0}, slot.made, slot.from, slot.text,
                   [&] { return missileLabel(m); });
}

void MapLabels::draw(QPainter& painter, int x, int y, const QString& text) {
    auto it = pictures_.find(text);
    if (it == pictures_.end()) {
        it = pictures_.insert(text, render(text));
        ++made_;
    }
    if (it->frame != frame_) {
        it->frame = frame_;
        ++shown_;
    }
    painter.drawImage(x + it->offset.x(), y + it->offset.y(), it->image);
}

MapView::MapView(QWidget* parent) : QWidget(parent), frame_(blankMap()) {
    setObjectName(QStringLiteral("Image1"));
    setMouseTracking(true);
    setAttribute(Qt::WA_OpaquePaintEvent);
}

void MapView::showFrame(const QImage& frame) {
    frame_ = frame;
    update();
}

void MapView::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.drawImage(0, 0, frame_);
}

void MapView::mouseMoveEvent(QMouseEvent* event) {
    const QPoint p = event->position().toPoint();
    emit mouseMoved(p.x(), p.y());
    QWidget::mouseMoveEvent(event);
}

void MapView::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton && rect().contains(event->position().toPoint())) {
        emit clicked();
    }
    QWidget::mouseReleaseEvent(event);
}

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

void drawRadar(QPainter& painter, const WorldState& world, const ViewState& view, int32_t row,
               MapLabels& labels) {
    const RadarSite& radar = radarAt(world, row);
    const int kind = validRadarType(radar.typeIndex) ? radarType(radar.typeIndex).kind : -1;
    const int width = (radar.index == view.selectedRadar) ? 3 : 1;
    drawRadarFigure(painter, kind, width, radar);

    labels.draw(painter, radar.x + 5, radar.y + 5, labels.radarText(world, row));

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

void drawRadars(QPainter& painter, const WorldState& world, const ViewState& view,
                MapLabels& labels) {
    for (int32_t j = 0; j < world.radarCount; ++j) {
        drawRadar(painter, world, view, j, labels);
    }
}

void drawMissiles(QPainter& painter, const WorldState& world, const ViewState& view,
                  MapLabels& labels) {
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

        const QPoint label = pixel(m.x + 15 * std::cos(h - 3.14), m.y + 15 * std::sin(h - 3.14));
        labels.draw(painter, label.x(), label.y(), labels.missileText(world, k));

        if (m.locked) {
            setPen(painter, kMaroon, 1);
            painter.drawLine(pixel(m.x, m.y), QPoint(m.targetX, m.targetY));
        }

        const double d = std::sqrt(square(m.targetX - m.x) + square(m.targetY - m.y));
        setPen(painter, kYellow, 1);
        QLine edges[2];
        int n = 0;
        for (const double a : {(m.heading - t.fieldOfViewAz / 2) * kDegToRad,
                               (m.heading + t.fieldOfViewAz / 2) * kDegToRad}) {
            edges[n++] =
                QLine(pixel(m.x, m.y), pixel(m.x + d * std::cos(a), m.y + d * std::sin(a)));
        }
        painter.drawLines(edges, 2);  // one colour: drawn together, the same pixels

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

}  // namespace prrsim::ui
