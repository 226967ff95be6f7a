#pragma once

#include <array>
#include <cstdint>
#include <memory>
#include <random>

#include "catalog/checked_index.h"
#include "world/aircraft.h"
#include "world/events.h"
#include "world/geometry.h"
#include "world/landmark.h"
#include "world/missile.h"
#include "world/radar_site.h"
#include "world/world_observer.h"

namespace prrsim {

inline constexpr int32_t kAircraftCapacity = 50;
inline constexpr int32_t kRadarCapacity = 200;
inline constexpr int32_t kPlacedComplexCapacity = 10;
inline constexpr int32_t kMissileCapacity = 100;
inline constexpr int32_t kLandmarkCapacity = 32;

// The one simulated world: fixed-capacity tables with counts. What the windows select, arm and
// point at is theirs (ui/view_state.h). Large (the missile table holds target lists): create it
// on the heap with makeWorld().
struct WorldState {
    std::array<Aircraft, kAircraftCapacity> aircraft{};
    int32_t aircraftCount = 0;
    std::array<RadarSite, kRadarCapacity> radars{};
    int32_t radarCount = 0;
    std::array<PlacedComplex, kPlacedComplexCapacity> placedComplexes{};
    int32_t placedComplexCount = 0;
    std::array<Missile, kMissileCapacity> missiles{};
    int32_t missileCount = 0;
    std::array<Landmark, kLandmarkCapacity> landmarks{};
    int32_t landmarkCount = 0;

    // Default-constructed (seed 5489) so the default scenario's frequency draws repeat; the
    // program reseeds it after start-up.
    std::mt19937 random{};

    // Not owned; may be null (no windows).
    WorldObserver* observer = nullptr;

    // The trigonometry of each aircraft row's last motion (by value: any aircraft may use it).
    std::array<AircraftMotionMemo, kAircraftCapacity> aircraftMotion{};

    // What happened since the events were last taken, the tick count and the objects' numbers.
    EventQueue events{};
};

std::unique_ptr<WorldState> makeWorld();

// Checked table access (catalog/checked_index.h): in checked builds a read beyond the count
// aborts naming the table; appends write the slot at the count directly.
inline Aircraft& aircraftAt(WorldState& w, int32_t i) {
    checkTableIndex("aircraft", i, w.aircraftCount);
    return w.aircraft[i];
}
inline const Aircraft& aircraftAt(const WorldState& w, int32_t i) {
    checkTableIndex("aircraft", i, w.aircraftCount);
    return w.aircraft[i];
}
inline RadarSite& radarAt(WorldState& w, int32_t i) {
    checkTableIndex("radars", i, w.radarCount);
    return w.radars[i];
}
inline const RadarSite& radarAt(const WorldState& w, int32_t i) {
    checkTableIndex("radars", i, w.radarCount);
    return w.radars[i];
}
inline Missile& missileAt(WorldState& w, int32_t i) {
    checkTableIndex("missiles", i, w.missileCount);
    return w.missiles[i];
}
inline const Missile& missileAt(const WorldState& w, int32_t i) {
    checkTableIndex("missiles", i, w.missileCount);
    return w.missiles[i];
}
inline PlacedComplex& placedComplexAt(WorldState& w, int32_t i) {
    checkTableIndex("placedComplexes", i, w.placedComplexCount);
    return w.placedComplexes[i];
}
inline const PlacedComplex& placedComplexAt(const WorldState& w, int32_t i) {
    checkTableIndex("placedComplexes", i, w.placedComplexCount);
    return w.placedComplexes[i];
}
inline const Landmark& landmarkAt(const WorldState& w, int32_t i) {
    checkTableIndex("landmarks", i, w.landmarkCount);
    return w.landmarks[i];
}

inline bool validAircraft(const WorldState& w, int32_t i) {
    return i >= 0 && i < w.aircraftCount;
}
inline bool validRadar(const WorldState& w, int32_t i) {
    return i >= 0 && i < w.radarCount;
}
inline bool validMissile(const WorldState& w, int32_t i) {
    return i >= 0 && i < w.missileCount;
}
inline bool validPlacedComplex(const WorldState& w, int32_t i) {
    return i >= 0 && i < w.placedComplexCount;
}

inline int32_t randomBelow(WorldState& w, int32_t n) {
    return randomBelow(w.random, n);
}

}  // namespace prrsim
