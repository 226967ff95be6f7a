#include "ui/map_ruler.h"

#include <cmath>

#include "world/geometry.h"
#include "world/units.h"

namespace prrsim::ui {

namespace {

constexpr double kMetresPerKm = 1000;

double distanceBetween(ViewPoint a, double x, double y) {
    return std::sqrt(square(a.x - x) + square(a.y - y));
}

}  // namespace

RulerReading measure(ViewPoint from, ViewPoint to) {
    const double pixels = std::sqrt(square(to.x - from.x) + square(to.y - from.y));
    return {pixels * kMetresPerMapUnit / kMetresPerKm, bearingDeg(from.x, from.y, to.x, to.y)};
}

QString rulerText(const RulerReading& reading) {
    return QStringLiteral("%1 км  %2°")
        .arg(
            QString::number(reading.kilometres, 'f', 1).replace(QLatin1Char('.'), QLatin1Char(',')))
        .arg(reading.bearing);
}

std::optional<ViewPoint> rulerStartObject(const WorldState& world, const ViewState& view,
                                          ViewPoint at, double radius) {
    if (validAircraft(world, view.selectedAircraft)) {
        const Aircraft& a = aircraftAt(world, view.selectedAircraft);
        if (distanceBetween(at, a.x, a.y) <= radius) {
            return ViewPoint{a.x, a.y};
        }
    }
    if (validMissile(world, view.selectedMissile)) {
        const Missile& m = missileAt(world, view.selectedMissile);
        if (distanceBetween(at, m.x, m.y) <= radius) {
            return ViewPoint{m.x, m.y};
        }
    }
    return std::nullopt;
}

std::optional<ViewPoint> rulerEndObject(const WorldState& world, ViewPoint at, double radius) {
    std::optional<ViewPoint> best;
    double bestDistance = radius;
    for (int32_t j = 0; j < world.radarCount; ++j) {
        const RadarSite& r = radarAt(world, j);
        const double d = distanceBetween(at, r.x, r.y);
        if (d <= bestDistance) {
            bestDistance = d;
            best = ViewPoint{static_cast<double>(r.x), static_cast<double>(r.y)};
        }
    }
    return best;
}

void MapRuler::setOn(bool on) {
    on_ = on;
    started_ = false;
}

std::optional<ViewPoint> selectedObjectPoint(const WorldState& world, const ViewState& view) {
    if (validAircraft(world, view.selectedAircraft)) {
        const Aircraft& a = aircraftAt(world, view.selectedAircraft);
        return ViewPoint{a.x, a.y};
    }
    if (validMissile(world, view.selectedMissile)) {
        const Missile& m = missileAt(world, view.selectedMissile);
        return ViewPoint{m.x, m.y};
    }
    if (validRadar(world, view.selectedRadar)) {
        const RadarSite& r = radarAt(world, view.selectedRadar);
        return ViewPoint{static_cast<double>(r.x), static_cast<double>(r.y)};
    }
    return std::nullopt;
}

}  // namespace prrsim::ui
