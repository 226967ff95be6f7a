// The map's labels: drawn from cached pictures, or placed clear of each other and of the
// symbols.
#include "ui/map_view.h"

#include <QFontMetrics>
#include <algorithm>

#include "ui/map_painting.h"
#include "ui/object_names.h"

namespace prrsim::ui {

using namespace map_painting;

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
        if (collecting()) {
            const QSizeF box = picture(text).box;
            obstacles_.push_back({double(x), double(y), box.width(), box.height()});
        }
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
    if (collecting()) {
        obstacles_.push_back(box);
    }
}

void MapLabels::finishFrame(QPainter& painter) {
    if (!collecting()) {
        return;
    }
    const QSizeF area = logicalSize(*painter.device());
    if (settings_.placing) {
        placeAndDraw(painter, {0, 0, area.width(), area.height()});
    } else {
        placement_ = {};
    }
    if (settings_.overlays != nullptr) {
        settings_.overlays->placeImpactsAfter(obstacles_, placement_,
                                              {0, 0, area.width(), area.height()});
    }
}

void MapLabels::placeAndDraw(QPainter& painter, const ScreenBox& viewport) {
    placement_ = placeLabels(requests_, obstacles_, viewport);
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
}

}  // namespace prrsim::ui
