#include "ui/map_overlays.h"

#include <QFontMetrics>
#include <QPolygon>
#include <algorithm>
#include <cmath>
#include <functional>
#include <utility>

#include "catalog/radar_catalog.h"
#include "radar/radar_reaction.h"
#include "ui/fonts.h"
#include "ui/frame_lines.h"
#include "ui/map_painting.h"
#include "ui/map_view.h"
#include "ui/overlay_style.h"

namespace prrsim::ui {

using namespace overlay_style;

void MapOverlays::setTrails(TrailMode mode) {
    if (mode != trails_) {
        trails_ = mode;
        restartTrails_ = true;
    }
}

void MapOverlays::setImpacts(bool on) {
    impacts_ = on;
}

void MapOverlays::clearImpacts(const review::ReviewStore& store, int64_t now) {
    const std::vector<size_t>& detonations = store.detonations();
    impactsCleared_ = static_cast<size_t>(
        std::partition_point(detonations.begin(), detonations.end(),
                             [&](size_t i) { return store.events()[i].tick <= now; }) -
        detonations.begin());
}

namespace {

// The points of a trail from tick `from` up to `now`, as indices [first, end); the points are in
// tick order.
std::pair<size_t, size_t> pointsBetween(const std::vector<review::TrailPoint>& trail, int64_t from,
                                        int64_t now) {
    const auto first =
        std::lower_bound(trail.begin(), trail.end(), from,
                         [](const review::TrailPoint& p, int64_t t) { return p.tick < t; });
    const auto end =
        std::upper_bound(trail.begin(), trail.end(), now,
                         [](int64_t t, const review::TrailPoint& p) { return t < p.tick; });
    return {static_cast<size_t>(first - trail.begin()), static_cast<size_t>(end - trail.begin())};
}

// A cross's box on the screen with its white edge.
ScreenBox crossBox(QPoint at) {
    return {at.x() - kCrossArm - 2.0, at.y() - kCrossArm - 2.0, 2.0 * kCrossArm + 5,
            2.0 * kCrossArm + 5};
}

}  // namespace

void MapOverlays::Layer::clear() {
    if (image.isNull()) {
        image = QImage(kMapWidth, kMapHeight, QImage::Format_ARGB32_Premultiplied);
    }
    image.fill(Qt::transparent);
    used.clear();
}

void MapOverlays::Layer::laidOver(QPainter& painter, LayerBlend blend) const {
    layOver(painter, image, used, blend);
}

void MapOverlays::placeImpactsAfter(const std::vector<ScreenBox>& obstacles,
                                    const LabelPlacement& labels, const ScreenBox& viewport) {
    placeImpacts_ = true;
    viewport_ = viewport;
    taken_.assign(obstacles.begin(), obstacles.end());
    for (const PlacedLabel& label : labels.placed) {
        taken_.push_back(label.box);
    }
}

void MapOverlays::draw(QPainter& painter, const WorldState& world,
                       const review::ReviewStore& store) {
    // Placing among labels holds for the one frame it was asked for; a frame without labels
    // places the miss distances among the crosses alone.
    if (!std::exchange(placeImpacts_, false)) {
        taken_.clear();
        const QSizeF area = map_painting::logicalSize(*painter.device());
        viewport_ = {0, 0, area.width(), area.height()};
    }
    crosses_.clear();
    impactRequests_.clear();
    impactPlacement_ = {};
    onScreen(painter, [&] { drawReactions(painter, world); });
    if (!anyOn()) {
        return;
    }
    const int64_t now = world.events.tick;
    if (store.generation() != generation_ || store.retaken() != retaken_ || now < lastNow_) {
        generation_ = store.generation();
        retaken_ = store.retaken();
        impactsCleared_ = std::min(impactsCleared_, store.detonations().size());
        restartTrails_ = true;
    }
    lastNow_ = now;
    if (trails_ != TrailMode::Off) {
        // The trails pass under what the map draws darker than them: symbols and lines stay
        // whole where a trail runs through them.
        const QPaintDevice* device = painter.device();
        if (camera_.identity() && (device == nullptr || device->devicePixelRatioF() == 1)) {
            updateTrails(store, now);
            trailLayer_.laidOver(painter, LayerBlend::Darken);
        } else {
            onScreen(painter, [&] { drawTrailsOnScreen(painter, store, now); });
        }
    }
    if (radiating_) {
        onScreen(painter, [&] { drawRings(painter, world); });
    }
    if (impacts_) {
        drawPlacedImpacts(painter, store, now);
    }
}

void MapOverlays::updateTrails(const review::ReviewStore& store, int64_t now) {
    const int64_t from = trailsStart(now);
    if (restartTrails_ ||
        (trails_ == TrailMode::LastMinute && from >= trailsFrom_ + kTrailRestartTicks)) {
        trailLayer_.clear();
        trailsFrom_ = from;
        aircraftDrawn_.clear();
        missileDrawn_.clear();
        restartTrails_ = false;
    }
    QPainter painter(&trailLayer_.image);
    beginMapPainting(painter);
    drawTrails(painter, kAircraftTrail, store.aircraftTrails(), aircraftDrawn_, now);
    drawTrails(painter, kMissileTrail, store.missileTrails(), missileDrawn_, now);
}

void MapOverlays::drawTrails(QPainter& painter, const QColor& colour,
                             const std::vector<std::vector<review::TrailPoint>>& trails,
                             std::vector<size_t>& drawn, int64_t now) {
    setPen(painter, colour, 1);
    drawn.resize(trails.size(), 0);
    for (size_t i = 0; i < trails.size(); ++i) {
        const std::vector<review::TrailPoint>& trail = trails[i];
        const auto [inWindow, end] = pointsBetween(trail, trailsFrom_, now);
        // The new segments start at the last point drawn.
        const size_t first = drawn[i] == 0 ? inWindow : drawn[i] - 1;
        if (end < first + 2) {
            continue;
        }
        polyline_.clear();
        for (size_t k = first; k < end; ++k) {
            const QPoint p(trail[k].x, trail[k].y);
            if (!polyline_.empty()) {  // each segment's box, a pixel wider all round
                trailLayer_.used.mark(
                    QRect(polyline_.back(), p).normalized().adjusted(-1, -1, 1, 1));
            }
            polyline_.push_back(p);
        }
        painter.drawPolyline(polyline_.data(), static_cast<int>(polyline_.size()));
        drawn[i] = end;
    }
}

void MapOverlays::drawTrailsOnScreen(QPainter& painter, const review::ReviewStore& store,
                                     int64_t now) {
    const int64_t from = trailsStart(now);
    FrameLines lines(painter, camera_);
    drawTrailLines(painter, lines, kAircraftTrail, store.aircraftTrails(), from, now);
    drawTrailLines(painter, lines, kMissileTrail, store.missileTrails(), from, now);
}

// Each trail through the centres of its map pixels, only the segments that reach into the
// viewport, so that a zoomed view pays only for what it shows: written straight into the frame
// when it allows, otherwise as Qt's polylines, broken where a segment lies outside.
void MapOverlays::drawTrailLines(QPainter& painter, FrameLines& lines, const QColor& colour,
                                 const std::vector<std::vector<review::TrailPoint>>& trails,
                                 int64_t from, int64_t now) {
    setPen(painter, colour, 1);
    const double right = camera_.viewportWidth() + 1;
    const double bottom = camera_.viewportHeight() + 1;
    const auto flush = [&] {
        if (screenLine_.size() >= 2) {
            const QPainter::CompositionMode mode = painter.compositionMode();
            painter.setCompositionMode(compositionMode(LayerBlend::Darken));
            painter.drawPolyline(screenLine_.data(), static_cast<int>(screenLine_.size()));
            painter.setCompositionMode(mode);
        }
        screenLine_.clear();
    };
    for (const std::vector<review::TrailPoint>& trail : trails) {
        const auto [begin, end] = pointsBetween(trail, from, now);
        QPointF last;
        for (size_t k = begin; k < end; ++k) {
            const review::TrailPoint* p = &trail[k];
            const QPointF at(camera_.screenX(p->x + 0.5), camera_.screenY(p->y + 0.5));
            const bool inView = k != begin && std::max(at.x(), last.x()) >= -1 &&
                                std::min(at.x(), last.x()) <= right &&
                                std::max(at.y(), last.y()) >= -1 &&
                                std::min(at.y(), last.y()) <= bottom;
            if (inView && lines.direct()) {
                lines.drawDarkening(last.toPoint(), at.toPoint());
            } else if (inView) {
                if (screenLine_.empty()) {
                    screenLine_.push_back(last);
                }
                screenLine_.push_back(at);
            } else {
                flush();
            }
            last = at;
        }
        flush();
    }
}

void MapOverlays::collectCrosses(const review::ReviewStore& store, int64_t now,
                                 const MapCamera& camera, const ScreenBox& viewport,
                                 std::vector<size_t>& events, std::vector<QPoint>& points) const {
    events.clear();
    points.clear();
    const std::vector<size_t>& detonations = store.detonations();
    const auto end = static_cast<size_t>(
        std::partition_point(detonations.begin(), detonations.end(),
                             [&](size_t i) { return store.events()[i].tick <= now; }) -
        detonations.begin());
    for (size_t i = std::min(impactsCleared_, end); i < end; ++i) {
        const WorldEvent& e = store.events()[detonations[i]];
        const double x = std::floor(camera.screenX(e.x));
        const double y = std::floor(camera.screenY(e.y));
        if (x >= viewport.x && y >= viewport.y && x < viewport.right() && y < viewport.bottom()) {
            events.push_back(detonations[i]);
            points.emplace_back(static_cast<int>(x), static_cast<int>(y));
        }
    }
}

std::vector<ScreenBox> MapOverlays::impactCrossBoxes(const review::ReviewStore& store, int64_t now,
                                                     const MapCamera& camera) const {
    std::vector<ScreenBox> boxes;
    if (!impacts_) {
        return boxes;
    }
    std::vector<size_t> events;
    std::vector<QPoint> points;
    collectCrosses(store, now, camera, {0, 0, camera.viewportWidth(), camera.viewportHeight()},
                   events, points);
    for (const QPoint& p : points) {
        boxes.push_back(crossBox(p));
    }
    return boxes;
}

// A cross at each detonation in view, in screen pixels at its own size, and each miss distance
// placed round its cross; both edged in white so that they read over the symbols.
void MapOverlays::drawPlacedImpacts(QPainter& painter, const review::ReviewStore& store,
                                    int64_t now) {
    painter.save();
    painter.resetTransform();
    beginMapPainting(painter);
    painter.setFont(overlayFont(kImpactTextPixels, true));
    const QFontMetrics metrics = painter.fontMetrics();
    collectCrosses(store, now, camera_, viewport_, crossEvents_, crossPoints_);
    crosses_.clear();
    impactRequests_.clear();
    impactTexts_.clear();
    for (size_t c = 0; c < crossPoints_.size(); ++c) {
        const double x = crossPoints_[c].x();
        const double y = crossPoints_[c].y();
        crosses_.push_back(crossBox(crossPoints_[c]));
        const QString text = missText(store.events()[crossEvents_[c]].distance);
        if (!text.isEmpty()) {
            // The text's box holds its white edge, a pixel all round; even sizes keep every
            // candidate place on whole pixels.
            const auto even = [](int n) { return static_cast<double>(n + n % 2); };
            impactRequests_.push_back({x, y, kCrossArm + kImpactTextGap,
                                       even(metrics.horizontalAdvance(text) + 2),
                                       even(metrics.height() + 2), 0, 0});
            impactTexts_.push_back(text);
        }
    }
    taken_.insert(taken_.end(), crosses_.begin(), crosses_.end());
    impactPlacement_ = placeLabels(impactRequests_, taken_, viewport_);

    for (const auto& [colour, width] :
         {std::pair{QColor(Qt::white), 4}, std::pair{kImpactMarker, 2}}) {
        setPen(painter, colour, width);
        for (const QPoint& p : crossPoints_) {
            painter.drawLine(p + QPoint(-kCrossArm, -kCrossArm), p + QPoint(kCrossArm, kCrossArm));
            painter.drawLine(p + QPoint(-kCrossArm, kCrossArm), p + QPoint(kCrossArm, -kCrossArm));
        }
        setPen(painter, colour, width - 1);
        for (const PlacedLabel& placed : impactPlacement_.placed) {
            const LabelRequest& r = impactRequests_[static_cast<size_t>(placed.request)];
            if (const auto line = placed.leader ? leaderLine(r, placed.box) : std::nullopt) {
                painter.drawLine(QPointF(line->fromX, line->fromY), QPointF(line->toX, line->toY));
            }
        }
        for (const PlacedLabel& placed : impactPlacement_.placed) {
            const QPoint at(static_cast<int>(placed.box.x) + 1,
                            static_cast<int>(placed.box.y) + 1 + metrics.ascent());
            const QString& text = impactTexts_[static_cast<size_t>(placed.request)];
            for (int dx = -1; dx <= 1; ++dx) {
                for (int dy = -1; dy <= 1; ++dy) {
                    if (width == 2 ? dx == 0 && dy == 0 : dx != 0 || dy != 0) {
                        painter.drawText(at + QPoint(dx, dy), text);
                    }
                }
            }
        }
    }
    painter.restore();
}

// The camera's view is drawn through a transform of map pixels (drawOverlaysInView): the
// marks drawn in screen pixels step out of it.
void MapOverlays::onScreen(QPainter& painter, const std::function<void()>& draw) const {
    if (camera_.identity()) {
        draw();
        return;
    }
    painter.save();
    painter.resetTransform();
    draw();
    painter.restore();
}

void MapOverlays::drawRings(QPainter& painter, const WorldState& world) const {
    setPen(painter, kRadiatingRing, 1);
    for (int32_t j = 0; j < world.radarCount; ++j) {
        const RadarSite& r = world.radars[j];
        if (r.radiating) {
            const QPoint at(trunc32(camera_.screenX(r.x)), trunc32(camera_.screenY(r.y)));
            painter.drawEllipse(at, kRingRadius, kRingRadius);
        }
    }
}

// A radar whose crew's reaction is in force (radar/radar_reaction.h) gets a square around its
// symbol; nothing is drawn while no reaction is, so that scenes without reactions keep every
// pixel.
void MapOverlays::drawReactions(QPainter& painter, const WorldState& world) const {
    for (int32_t j = 0; j < world.radarCount; ++j) {
        const RadarSite& r = world.radars[j];
        if (reacting(r)) {
            setPen(painter, kReactionMarker, 2);
            const int x = trunc32(camera_.screenX(r.x));
            const int y = trunc32(camera_.screenY(r.y));
            painter.drawRect(x - kReactionMarkerHalf, y - kReactionMarkerHalf,
                             2 * kReactionMarkerHalf, 2 * kReactionMarkerHalf);
        }
    }
}

}  // namespace prrsim::ui
