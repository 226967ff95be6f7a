#pragma once

// The map view's transform: where the world's map pixels fall on the screen. Pure arithmetic,
// no widgets: a scale (screen pixels per map pixel) and the screen position of the map's origin.
// Fitted, the whole world shows centred in the viewport; zoomed, from that up to kMaxScale; the
// map never leaves a gap on a side where it is larger than the viewport.

#include <cstdint>
#include <string>

namespace prrsim::ui {

// A point on the screen or in the world, in real coordinates.
struct ViewPoint {
    double x = 0;
    double y = 0;
};

// A whole map pixel.
struct MapPixel {
    int32_t x = 0;
    int32_t y = 0;
};

class MapCamera {
  public:
    static constexpr double kMaxScale = 16;

    // A camera over a viewport of the map's own size, at 1:1.
    MapCamera();

    // The viewport in screen pixels; a fitted view fits again, a zoomed one keeps the world
    // point at the viewport's centre.
    void setViewport(double width, double height);
    double viewportWidth() const { return width_; }
    double viewportHeight() const { return height_; }

    // "Весь район": the whole world, centred.
    void fit();
    // "1:1": one screen pixel per map pixel about the viewport's centre.
    void oneToOne();
    // Multiplies the scale by `factor` (kept within fit .. kMaxScale) keeping the world point
    // under `screen` where it is.
    void zoomAbout(double factor, ViewPoint screen);
    // Moves the picture by (dx, dy) screen pixels.
    void pan(double dx, double dy);

    double scale() const { return scale_; }
    double fitScale() const;
    bool fitted() const { return fitted_; }
    // Scale 1 with the map's origin at the viewport's corner: the map as drawn without a view.
    bool identity() const { return scale_ == 1 && originX_ == 0 && originY_ == 0; }

    double screenX(double worldX) const { return worldX * scale_ + originX_; }
    double screenY(double worldY) const { return worldY * scale_ + originY_; }
    ViewPoint toScreen(ViewPoint world) const { return {screenX(world.x), screenY(world.y)}; }
    ViewPoint toWorld(ViewPoint screen) const;
    // The map pixel a screen point falls in.
    MapPixel pixelAt(ViewPoint screen) const;
    // Whether a map pixel lies in the world (0 .. kMapWidth - 1, 0 .. kMapHeight - 1).
    static bool inWorld(MapPixel p);

  private:
    void keepInView();

    double width_;
    double height_;
    double scale_ = 1;
    double originX_ = 0;
    double originY_ = 0;
    bool fitted_ = true;
};

// The scale as the status bar shows it: "×2,5 · 1 см = 1,5 км" for a screen of `dotsPerInch`.
std::string scaleText(double scale, double dotsPerInch);
// A map position in km from the map's origin: "x 12,3 км  y 4,5 км".
std::string positionText(ViewPoint world);

}  // namespace prrsim::ui
