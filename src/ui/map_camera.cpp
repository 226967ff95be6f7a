#include "ui/map_camera.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

#include "world/units.h"

namespace prrsim::ui {

namespace {

constexpr double kCentimetresPerInch = 2.54;
constexpr double kKilometresPerMetre = 0.001;

// A real number with one decimal and a decimal comma; whole numbers without decimals.
std::string decimal(double v) {
    char text[32];
    if (std::abs(v - std::round(v)) < 0.05) {
        std::snprintf(text, sizeof text, "%.0f", v);
    } else {
        std::snprintf(text, sizeof text, "%.1f", v);
    }
    std::string s(text);
    std::replace(s.begin(), s.end(), '.', ',');
    return s;
}

// Where the map's near edge goes along one axis: centred when the map is smaller than the
// viewport, otherwise no gap on either side.
double keptOrigin(double origin, double extent, double viewport) {
    if (extent <= viewport) {
        return (viewport - extent) / 2;
    }
    return std::clamp(origin, viewport - extent, 0.0);
}

}  // namespace

MapCamera::MapCamera() : width_(kMapWidth), height_(kMapHeight) {}

double MapCamera::fitScale() const {
    return std::min(width_ / kMapWidth, height_ / kMapHeight);
}

void MapCamera::setViewport(double width, double height) {
    const ViewPoint centre = toWorld({width_ / 2, height_ / 2});
    width_ = std::max(width, 1.0);
    height_ = std::max(height, 1.0);
    if (fitted_) {
        fit();
        return;
    }
    scale_ = std::min(scale_, std::max(kMaxScale, fitScale()));
    originX_ = width_ / 2 - centre.x * scale_;
    originY_ = height_ / 2 - centre.y * scale_;
    keepInView();
}

void MapCamera::fit() {
    scale_ = fitScale();
    originX_ = (width_ - kMapWidth * scale_) / 2;
    originY_ = (height_ - kMapHeight * scale_) / 2;
    fitted_ = true;
}

void MapCamera::oneToOne() {
    const ViewPoint centre = toWorld({width_ / 2, height_ / 2});
    scale_ = 1;
    // The origin on a whole screen pixel: the map draws as crisp as without a view.
    originX_ = std::round(width_ / 2 - centre.x);
    originY_ = std::round(height_ / 2 - centre.y);
    fitted_ = false;
    keepInView();
    originX_ = std::round(originX_);
    originY_ = std::round(originY_);
}

void MapCamera::zoomAbout(double factor, ViewPoint screen) {
    const ViewPoint world = toWorld(screen);
    // Below the fit only at 1:1 in a viewport larger than the map: zooming out stops there.
    const double lowest = std::min(fitScale(), scale_);
    scale_ = std::clamp(scale_ * factor, lowest, std::max(kMaxScale, lowest));
    if (scale_ == fitScale()) {
        fit();
        return;
    }
    originX_ = screen.x - world.x * scale_;
    originY_ = screen.y - world.y * scale_;
    fitted_ = false;
    keepInView();
}

void MapCamera::pan(double dx, double dy) {
    originX_ += dx;
    originY_ += dy;
    fitted_ = false;
    keepInView();
}

void MapCamera::keepInView() {
    originX_ = keptOrigin(originX_, kMapWidth * scale_, width_);
    originY_ = keptOrigin(originY_, kMapHeight * scale_, height_);
}

ViewPoint MapCamera::toWorld(ViewPoint screen) const {
    return {(screen.x - originX_) / scale_, (screen.y - originY_) / scale_};
}

MapPixel MapCamera::pixelAt(ViewPoint screen) const {
    const ViewPoint w = toWorld(screen);
    return {static_cast<int32_t>(std::floor(w.x)), static_cast<int32_t>(std::floor(w.y))};
}

bool MapCamera::inWorld(MapPixel p) {
    return p.x >= 0 && p.x < kMapWidth && p.y >= 0 && p.y < kMapHeight;
}

std::string scaleText(double scale, double dotsPerInch) {
    const double mapPixelsPerCm = dotsPerInch / kCentimetresPerInch / scale;
    const double km = mapPixelsPerCm * kMetresPerMapUnit * kKilometresPerMetre;
    return "×" + decimal(scale) + " · 1 см = " + decimal(km) + " км";
}

std::string positionText(ViewPoint world) {
    const double perKm = kMetresPerMapUnit * kKilometresPerMetre;
    return "x " + decimal(world.x * perKm) + " км  y " + decimal(world.y * perKm) + " км";
}

}  // namespace prrsim::ui
