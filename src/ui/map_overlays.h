#pragma once

// Review overlays over the map, each off until switched on in the menu "Вид": trails of
// aircraft and missiles, impact markers with the miss distance, rings on radiating radars and a
// legend of the map symbols (shown in a window of its own, map_legend.h). Drawn as a pass of
// their own over the finished frame; with every overlay off nothing is drawn and the map is
// exactly as without them. On the plain map the trails are a picture of the map's size kept
// between frames; through any other view they are drawn as lines in screen pixels every frame,
// so that they stay thin and sharp at every zoom. The miss distances are placed after the labels
// like labels: clear of the labels (placed, or as drawn on the plain map), the symbols and each
// other, moved away with a line to their cross when needed, left out when they fit nowhere
// (their cross always stays); placed labels keep clear of the crosses.

#include <QColor>
#include <QImage>
#include <QPainter>
#include <QPoint>
#include <QRect>
#include <cstdint>
#include <functional>
#include <vector>

#include "review/review_store.h"
#include "ui/label_placement.h"
#include "ui/layer_blend.h"
#include "ui/map_camera.h"
#include "world/world_state.h"

namespace prrsim::ui {

class FrameLines;

enum class TrailMode { Off, LastMinute, WholeFlight };

// "Last minute": the trail points of the last 60 s; on the plain map the picture is started
// again every 5 s of simulated time, so a trail reaches 60 to 65 s back there.
inline constexpr int64_t kTrailWindowTicks = 6000;
inline constexpr int64_t kTrailRestartTicks = 500;

class MapOverlays {
  public:
    TrailMode trails() const { return trails_; }
    bool impacts() const { return impacts_; }
    bool radiating() const { return radiating_; }
    bool legend() const { return legend_; }
    bool anyOn() const { return trails_ != TrailMode::Off || impacts_ || radiating_ || legend_; }

    void setTrails(TrailMode mode);
    void setImpacts(bool on);
    void setRadiating(bool on) { radiating_ = on; }
    void setLegend(bool on) { legend_ = on; }
    // Removes the markers of the detonations up to `now`; later ones get theirs.
    void clearImpacts(const review::ReviewStore& store, int64_t now);

    // Draws the overlays that are on over a finished map frame, as of the world's tick: the
    // trail points and detonations of the review up to it.
    void draw(QPainter& painter, const WorldState& world, const review::ReviewStore& store);
    // The legend's picture, for the legend's window.
    const QImage& legendPicture();

    // The camera of the frame drawn next (the plain map's until told).
    void viewThrough(const MapCamera& camera) { camera_ = camera; }
    // The boxes of the impact crosses shown through `camera` as of `now` (none while the impact
    // markers are off): the labels placed in the frame keep clear of them.
    std::vector<ScreenBox> impactCrossBoxes(const review::ReviewStore& store, int64_t now,
                                            const MapCamera& camera) const;
    // The frame drawn next has its labels placed: its miss distances are placed after them,
    // clear of `obstacles` and the labels placed, inside `viewport` (screen pixels).
    void placeImpactsAfter(const std::vector<ScreenBox>& obstacles, const LabelPlacement& labels,
                           const ScreenBox& viewport);
    // Of the last frame drawn so: the miss distances placed (a request per cross with a text)
    // and the boxes of the crosses shown.
    const LabelPlacement& lastImpactPlacement() const { return impactPlacement_; }
    const std::vector<LabelRequest>& lastImpactRequests() const { return impactRequests_; }
    const std::vector<ScreenBox>& lastImpactCrosses() const { return crosses_; }

  private:
    // A transparent picture over the map and the tiles of it drawn on.
    struct Layer {
        QImage image;
        DrawnTiles used;
        void clear();
        void laidOver(QPainter& painter, LayerBlend blend) const;
    };

    // Bring the trails' picture up to the store; it is started again when the setting changed,
    // the store was cleared, time went back or the last minute moved on.
    void updateTrails(const review::ReviewStore& store, int64_t now);
    // The first tick of the trails shown at `now` ("last minute", or the whole flight).
    int64_t trailsStart(int64_t now) const {
        return trails_ == TrailMode::LastMinute ? now - kTrailWindowTicks : INT64_MIN;
    }
    void drawTrails(QPainter& painter, const QColor& colour,
                    const std::vector<std::vector<review::TrailPoint>>& trails,
                    std::vector<size_t>& drawn, int64_t now);
    // The trails as lines in screen pixels through the camera, each frame anew.
    void drawTrailsOnScreen(QPainter& painter, const review::ReviewStore& store, int64_t now);
    void drawTrailLines(QPainter& painter, FrameLines& lines, const QColor& colour,
                        const std::vector<std::vector<review::TrailPoint>>& trails, int64_t from,
                        int64_t now);
    // The detonations up to `now` whose cross lies in `viewport`, and where on the screen.
    void collectCrosses(const review::ReviewStore& store, int64_t now, const MapCamera& camera,
                        const ScreenBox& viewport, std::vector<size_t>& events,
                        std::vector<QPoint>& points) const;
    void drawPlacedImpacts(QPainter& painter, const review::ReviewStore& store, int64_t now);
    // The rings and the reaction squares in screen pixels at their own size on every view.
    void drawRings(QPainter& painter, const WorldState& world) const;
    void drawReactions(QPainter& painter, const WorldState& world) const;
    void onScreen(QPainter& painter, const std::function<void()>& draw) const;

    TrailMode trails_ = TrailMode::Off;
    bool impacts_ = false;
    bool radiating_ = false;
    bool legend_ = false;

    uint64_t generation_ = 0;  // of the store drawn
    uint64_t retaken_ = 0;
    int64_t lastNow_ = 0;

    Layer trailLayer_;
    bool restartTrails_ = true;
    int64_t trailsFrom_ = 0;             // points before this tick are left out
    std::vector<size_t> aircraftDrawn_;  // points drawn, per trail
    std::vector<size_t> missileDrawn_;
    std::vector<QPoint> polyline_;
    std::vector<QPointF> screenLine_;

    size_t impactsCleared_ = 0;  // detonations whose markers were cleared

    // The placement of the miss distances among the labels, made again every frame.
    MapCamera camera_;
    bool placeImpacts_ = false;
    ScreenBox viewport_;
    std::vector<ScreenBox> taken_;  // by the labels, the symbols and the crosses
    std::vector<ScreenBox> crosses_;
    std::vector<QPoint> crossPoints_;
    std::vector<size_t> crossEvents_;  // the detonations' events, with crossPoints_
    std::vector<LabelRequest> impactRequests_;
    std::vector<QString> impactTexts_;
    LabelPlacement impactPlacement_;

    QImage legendImage_;
};

}  // namespace prrsim::ui
