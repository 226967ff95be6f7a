#include "ui/map_view.h"


#include <QFontDatabase>
#include <QFontMetrics>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPaintEvent>
#include <QWheelEvent>
#include <algorithm>
#include <cmath>

#include "catalog/missile_catalog.h"
#include "catalog/radar_catalog.h"
#include "ui/frame_lines.h"
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
// Placed labels, on a view meant to be read from afar, in a larger size.
constexpr int kPlacedLabelPointSize = 8;
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

QSizeF logicalSize(const QPaintDevice& device) {
    return QSizeF(device.width(), device.height()) / device.devicePixelRatioF();
}

// Half the extent of the symbols on the screen, which placed labels keep clear of.
constexpr double kRadarExtent = 10;
constexpr double kAircraftExtent = 5;
constexpr double kMissileExtent = 4;
// The room a placed label leaves between itself and its symbol.
constexpr double kLabelGap = 3;

ScreenBox symbolBox(double x, double y, double extent) {
    return {x - extent, y - extent, 2 * extent, 2 * extent};
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

MapLabels::MapLabels() : font_(mapFont(kLabelPointSize)), colour_(kHotLight) {}

void MapLabels::beginFrame(const QPaintDevice& device, LabelSettings settings) {
    const QFont font = mapFont(settings.placing ? kPlacedLabelPointSize : kLabelPointSize);
    if (font != font_ || device.logicalDpiX() != dpiX_ || device.logicalDpiY() != dpiY_ ||
        device.devicePixelRatioF() != pixelRatio_) {
        font_ = font;
        dpiX_ = device.logicalDpiX();
        dpiY_ = device.logicalDpiY();
        pixelRatio_ = device.devicePixelRatioF();
        pictures_.clear();
    }
    settings_ = settings;
    requests_.clear();
    texts_.clear();
    obstacles_.clear();
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
    // On a high-density screen the picture holds every device pixel of its logical box.
    picture.image = QImage(box.size() * pixelRatio_, QImage::Format_ARGB32_Premultiplied);
    picture.image.setDevicePixelRatio(pixelRatio_);
    picture.image.setDotsPerMeterX(probe.dotsPerMeterX());
    picture.image.setDotsPerMeterY(probe.dotsPerMeterY());
    picture.box = QSizeF(metrics.horizontalAdvance(text), metrics.height());
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

MapLabels::Picture& MapLabels::picture(const QString& text) {
    auto it = pictures_.find(text);
    if (it == pictures_.end()) {
        it = pictures_.insert(text, render(text));
        ++made_;
    }
    if (it->frame != frame_) {
        it->frame = frame_;
        ++shown_;
    }
    return *it;
}

void MapLabels::draw(QPainter& painter, int x, int y, const QString& text) {
    const Picture& p = picture(text);
    painter.drawImage(x + p.offset.x(), y + p.offset.y(), p.image);
}

void MapLabels::label(QPainter& painter, int x, int y, const QString& text,
                      const LabelAnchor& anchor) {
    if (!settings_.placing) {
        draw(painter, x, y, text);
        return;
    }
    const QSizeF area = logicalSize(*painter.device());
    if (anchor.x < 0 || anchor.y < 0 || anchor.x >= area.width() || anchor.y >= area.height()) {
        return;  // its object is out of view
    }
    const QSizeF full = picture(text).box;
    const bool hasShort = !anchor.shortText.isEmpty() && anchor.shortText != text;
    const double shortWidth = hasShort ? picture(anchor.shortText).box.width() : 0;
    requests_.push_back({anchor.x, anchor.y, anchor.clearance, full.width(), full.height(),
                         shortWidth, anchor.priority});
    texts_.push_back(text);
    texts_.push_back(hasShort ? anchor.shortText : text);
}

void MapLabels::noteObstacle(const ScreenBox& box) {
    if (settings_.placing) {
        obstacles_.push_back(box);
    }
}

void MapLabels::finishFrame(QPainter& painter) {
    if (!settings_.placing) {
        return;
    }
    const QSizeF area = logicalSize(*painter.device());
    placement_ = placeLabels(requests_, obstacles_, {0, 0, area.width(), area.height()});
    setPen(painter, colour_, 1);
    for (const PlacedLabel& placed : placement_.placed) {
        const LabelRequest& r = requests_[static_cast<size_t>(placed.request)];
        if (placed.leader) {
            if (const auto line = leaderLine(r, placed.box)) {
                painter.drawLine(QPointF(line->fromX, line->fromY), QPointF(line->toX, line->toY));
            }
        }
        const size_t text = 2 * static_cast<size_t>(placed.request) + (placed.shortText ? 1 : 0);
        draw(painter, qRound(placed.box.x), qRound(placed.box.y), texts_[text]);
    }
    if (settings_.overlays != nullptr) {
        settings_.overlays->placeImpactsAfter(obstacles_, placement_,
                                              {0, 0, area.width(), area.height()});
    }
}

namespace {

constexpr double kWheelStep = 1.25;  // zoom per wheel notch
constexpr int kWheelNotch = 120;     // angle delta of one notch
constexpr double kKeyPan = 48;       // screen pixels per arrow key press
constexpr double kSnapRadius = 10;   // screen pixels within which a ruler's end holds on
const QColor kMargin(0xd8, 0xd8, 0xd8);
const QColor kRing(0x60, 0x60, 0x60);
const QColor kRuler(0xc0, 0x00, 0xc0);

bool panKey(int key) {
    return key == Qt::Key_Left || key == Qt::Key_Right || key == Qt::Key_Up || key == Qt::Key_Down;
}

}  // namespace

MapView::MapView(QWidget* parent) : QWidget(parent), frame_(blankMap()) {
    setObjectName(QStringLiteral("Image1"));
    setMouseTracking(true);
    setAttribute(Qt::WA_OpaquePaintEvent);
    setFocusPolicy(Qt::ClickFocus);
    setMinimumSize(kMapWidth, kMapHeight);
}

void MapView::showFrame(const QImage& frame) {
    frame_ = frame;
    update();
}

double MapView::pixelRatio() const {
    return devicePixelRatioF();
}

void MapView::changed() {
    emit viewChanged();
    emit statusChanged(statusText());
}

void MapView::fitWorld() {
    camera_.fit();
    changed();
}

void MapView::oneToOne() {
    camera_.oneToOne();
    changed();
}

void MapView::zoomAbout(double factor, QPointF at) {
    camera_.zoomAbout(factor, {at.x(), at.y()});
    changed();
}

void MapView::pan(double dx, double dy) {
    camera_.pan(dx, dy);
    changed();
}

QImage MapView::startFrame(const QImage& background) {
    const QSize size(qRound(camera_.viewportWidth()), qRound(camera_.viewportHeight()));
    const double ratio = pixelRatio();
    if (plain() && background.size() == size) {
        return background;
    }
    const QString view = QStringLiteral("%1 %2 %3 %4 %5 %6")
                             .arg(size.width())
                             .arg(size.height())
                             .arg(ratio)
                             .arg(camera_.scale(), 0, 'g', 17)
                             .arg(camera_.screenX(0), 0, 'g', 17)
                             .arg(camera_.screenY(0), 0, 'g', 17);
    if (background.cacheKey() != backgroundKey_ || view != backgroundView_) {
        backgroundKey_ = background.cacheKey();
        backgroundView_ = view;
        viewBackground_ = QImage(size * ratio, QImage::Format_RGB32);
        viewBackground_.setDevicePixelRatio(ratio);
        viewBackground_.fill(kMargin);
        QPainter painter(&viewBackground_);
        // Map pixels become squares of screen pixels: the landmarks stay sharp-edged.
        painter.setRenderHint(QPainter::SmoothPixmapTransform, false);
        painter.drawImage(QRectF(camera_.screenX(0), camera_.screenY(0),
                                 kMapWidth * camera_.scale(), kMapHeight * camera_.scale()),
                          background);
    }
    return viewBackground_;
}

LabelSettings MapView::labelSettings() const {
    const bool placing = !plain() || placeAlways_;
    return {placing, labelMode_, placing ? overlays_ : nullptr};
}

void MapView::setLabelMode(LabelMode mode) {
    labelMode_ = mode;
    changed();
}

void MapView::setPlaceLabelsAlways(bool on) {
    placeAlways_ = on;
    changed();
}

void MapView::setRulerOn(bool on) {
    ruler_.setOn(on);
    if (on) {
        setCursor(Qt::CrossCursor);
        setFocus();  // Esc reaches the map
    } else {
        unsetCursor();
    }
    changed();
}

void MapView::setRings(bool on) {
    rings_ = on;
    changed();
}

void MapView::drawViewMarks(QPainter& painter, const WorldState& world,
                            const ViewState& view) const {
    const std::optional<ViewPoint> centre = selectedObjectPoint(world, view);
    if (rings_ && centre) {
        QPen pen(kRing);
        pen.setStyle(Qt::DashLine);
        painter.setPen(pen);
        painter.setBrush(Qt::NoBrush);
        painter.setFont(mapFont(kLabelPointSize + 2));
        const ViewPoint c = camera_.toScreen(*centre);
        const double step = kRingStepKm * 1000 / kMetresPerMapUnit * camera_.scale();
        const double reach = std::hypot(camera_.viewportWidth(), camera_.viewportHeight());
        for (int k = 1; k * step <= reach + std::hypot(c.x, c.y); ++k) {
            painter.drawEllipse(QPointF(c.x, c.y), k * step, k * step);
            painter.drawText(QPointF(c.x + 2, c.y - k * step - 2),
                             QStringLiteral("%1 км").arg(k * kRingStepKm));
        }
    }
    if (ruler_.measuring()) {
        const ViewPoint a = camera_.toScreen(ruler_.from());
        const ViewPoint b = camera_.toScreen(ruler_.to());
        QPen pen(kRuler);
        pen.setWidth(2);
        painter.setPen(pen);
        painter.drawLine(QPointF(a.x, a.y), QPointF(b.x, b.y));
        painter.drawEllipse(QPointF(a.x, a.y), 3, 3);
        painter.drawEllipse(QPointF(b.x, b.y), 3, 3);
        painter.setFont(mapFont(kLabelPointSize + 4));
        const QString text = rulerText(ruler_.reading());
        const QRectF box = QRectF(painter.fontMetrics().boundingRect(text)).adjusted(-3, -2, 3, 2);
        const QRectF at = box.translated(b.x + 8 - box.left(), b.y + 8 - box.top());
        painter.fillRect(at, Qt::white);
        painter.drawRect(at);
        painter.drawText(at, Qt::AlignCenter, text);
    }
}

QString MapView::statusText() const {
    return QString::fromStdString(scaleText(camera_.scale(), logicalDpiX())) +
           QStringLiteral("   ") + QString::fromStdString(positionText(cursor_));
}

bool MapView::event(QEvent* event) {
    // The map's own keys win over the window's shortcuts while it has the focus.
    if (event->type() == QEvent::ShortcutOverride) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        if (panKey(key) || (key == Qt::Key_Escape && ruler_.on())) {
            event->accept();
            return true;
        }
    }
    return QWidget::event(event);
}

void MapView::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    if (frame_.deviceIndependentSize() != QSizeF(size())) {
        painter.fillRect(rect(), kMargin);  // a frame of the former size until the next one
    }
    painter.drawImage(0, 0, frame_);
}

void MapView::resizeEvent(QResizeEvent* event) {
    camera_.setViewport(width(), height());
    QWidget::resizeEvent(event);
    changed();
}

void MapView::mousePressEvent(QMouseEvent* event) {
    const QPointF at = event->position();
    if (event->button() == Qt::RightButton || event->button() == Qt::MiddleButton) {
        dragging_ = true;
        dragFrom_ = at;
    } else if (event->button() == Qt::LeftButton && ruler_.on()) {
        const ViewPoint world = worldAt(at);
        const double radius = kSnapRadius / camera_.scale();
        const auto object =
            world_ != nullptr ? rulerStartObject(*world_, *view_, world, radius) : std::nullopt;
        ruler_.start(object.value_or(world));
        changed();
    }
    QWidget::mousePressEvent(event);
}

void MapView::mouseMoveEvent(QMouseEvent* event) {
    const QPointF at = event->position();
    if (dragging_) {
        const QPointF by = at - dragFrom_;
        dragFrom_ = at;
        camera_.pan(by.x(), by.y());
        changed();
    }
    if (ruler_.measuring() && (event->buttons() & Qt::LeftButton)) {
        const ViewPoint world = worldAt(at);
        const double radius = kSnapRadius / camera_.scale();
        const auto radar =
            world_ != nullptr ? rulerEndObject(*world_, world, radius) : std::nullopt;
        ruler_.moveEnd(radar.value_or(world));
        changed();
    }
    // A click records the whole map pixel it falls in: at 1:1, the widget's pixel itself.
    const QPoint p = at.toPoint();
    cursor_ = worldAt(p);
    const MapPixel pixel = camera_.pixelAt({double(p.x()), double(p.y())});
    emit mouseMoved(pixel.x, pixel.y);
    emit statusChanged(statusText());
    QWidget::mouseMoveEvent(event);
}

void MapView::mouseReleaseEvent(QMouseEvent* event) {
    const QPoint p = event->position().toPoint();
    if (event->button() == Qt::RightButton || event->button() == Qt::MiddleButton) {
        dragging_ = false;
    } else if (event->button() == Qt::LeftButton && !ruler_.on() && rect().contains(p) &&
               MapCamera::inWorld(camera_.pixelAt({double(p.x()), double(p.y())}))) {
        emit clicked();
    }
    QWidget::mouseReleaseEvent(event);
}

void MapView::wheelEvent(QWheelEvent* event) {
    const double notches = event->angleDelta().y() / double(kWheelNotch);
    if (notches != 0) {
        const QPointF at = event->position();
        camera_.zoomAbout(std::pow(kWheelStep, notches), {at.x(), at.y()});
        // The map pixel under the cursor changed with the view.
        const QPoint p = at.toPoint();
        cursor_ = worldAt(p);
        const MapPixel pixel = camera_.pixelAt({double(p.x()), double(p.y())});
        emit mouseMoved(pixel.x, pixel.y);
        changed();
    }
    event->accept();
}

void MapView::keyPressEvent(QKeyEvent* event) {
    switch (event->key()) {
        case Qt::Key_Left:
            pan(kKeyPan, 0);
            break;
        case Qt::Key_Right:
            pan(-kKeyPan, 0);
            break;
        case Qt::Key_Up:
            pan(0, kKeyPan);
            break;
        case Qt::Key_Down:
            pan(0, -kKeyPan);
            break;
        case Qt::Key_Escape:
            if (ruler_.on()) {
                setRulerOn(false);
                emit rulerEnded();
                break;
            }
            QWidget::keyPressEvent(event);
            break;
        default:
            QWidget::keyPressEvent(event);
    }
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
    if (!labels.placing()) {
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

    if (labels.shows(world, view, LabelOwner::Radar, row)) {
        const QPoint at = pixel(X, Y);
        const QString& text = labels.radarText(world, row);
        if (labels.placing()) {
            labels.noteObstacle(symbolBox(X, Y, kRadarExtent));
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
    } else {
        labels.noteObstacle(symbolBox(X, Y, kRadarExtent));
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
