#pragma once

// "Линейка": distance and bearing between two map points, by the world's own geometry (the
// bearing as the aircraft's course and the compass read it). The ends may hold on to objects:
// the start to the selected aircraft or missile, the end to a radar, when pressed near them.

#include <QString>
#include <cstdint>
#include <optional>

#include "ui/map_camera.h"
#include "ui/view_state.h"
#include "world/world_state.h"

namespace prrsim::ui {

struct RulerReading {
    double kilometres = 0;
    int32_t bearing = 0;  // whole degrees, as bearingDeg gives them
};

RulerReading measure(ViewPoint from, ViewPoint to);

// The reading as the map shows it: "12,3 км  245°".
QString rulerText(const RulerReading& reading);

// Objects an end of the ruler holds on to within `radius` map pixels of `at`: the start to the
// selected aircraft or missile, the end to the nearest radar.
std::optional<ViewPoint> rulerStartObject(const WorldState& world, const ViewState& view,
                                          ViewPoint at, double radius);
std::optional<ViewPoint> rulerEndObject(const WorldState& world, ViewPoint at, double radius);

class MapRuler {
  public:
    bool on() const { return on_; }
    void setOn(bool on);
    bool measuring() const { return started_; }
    void start(ViewPoint world) {
        from_ = world;
        to_ = world;
        started_ = true;
    }
    void moveEnd(ViewPoint world) { to_ = world; }
    ViewPoint from() const { return from_; }
    ViewPoint to() const { return to_; }
    RulerReading reading() const { return measure(from_, to_); }

  private:
    bool on_ = false;
    bool started_ = false;
    ViewPoint from_;
    ViewPoint to_;
};

// Radii of the range rings around the selected object: every 10 km.
inline constexpr double kRingStepKm = 10;

// The selected aircraft, missile or radar (in that order) as a world point; none when nothing
// is selected.
std::optional<ViewPoint> selectedObjectPoint(const WorldState& world, const ViewState& view);

}  // namespace prrsim::ui
