#include "ui/map_view.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QPaintEvent>
#include <QWheelEvent>
#include <cmath>

#include "ui/map_painting.h"

namespace prrsim::ui {

using namespace map_painting;

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
    setObjectName(QStringLiteral("mapView"));
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
    // On the plain map the labels stay where they always were; the miss distances, when shown,
    // are still placed clear of them.
    const bool missDistances = overlays_ != nullptr && overlays_->impacts();
    return {placing, labelMode_, placing || missDistances ? overlays_ : nullptr};
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

}  // namespace prrsim::ui
