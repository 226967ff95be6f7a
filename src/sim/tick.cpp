#include "sim/tick.h"

#include <cmath>

#include "catalog/missile_catalog.h"
#include "missile/guidance.h"
#include "missile/missile_loading.h"
#include "missile/seeker/seeker_reception.h"
#include "missile/seeker/seeker_tracking.h"
#include "radar/radar_model.h"
#include "world/geometry.h"
#include "world/units.h"

namespace prrsim {

void moveAircraft(const WorldState& world, Aircraft& a) {
    const double k = kKmhToMapUnitsPerSecond * a.speed * kTickSeconds;
    const double h = a.heading * kDegToRad;
    const double c = a.climbAngle * kDegToRad;
    a.x += std::cos(h) * k * std::cos(c);
    a.y += std::sin(h) * k * std::cos(c);
    a.altitude += std::sin(c) * k;
    // A target index left behind by a radar removal counts as none.
    if (a.onAttackRun && validRadar(world, a.targetRadar)) {
        const RadarSite& r = radarAt(world, a.targetRadar);
        a.heading = bearingDeg(a.x, a.y, r.x, r.y);
        const double d = std::sqrt(square(r.x - a.x) + square(r.y - a.y));
        a.climbAngle = bearingDeg(0, a.altitude, d, r.height);
    }
}

namespace {

// The automatic search of an activated missile, at most every 0.5 s.
void automaticSearch(WorldState& world, Missile& m) {
    if (!(m.searchEnabled && m.scanTimer > 0.5)) {
        return;
    }
    const SearchResult found = searchEmitters(world, m);
    if (found.found()) {
        const LaunchMode& mode = launchMode(m.typeIndex, m.launchModeIndex);
        if (!(mode.forgetOnLoss && mode.searchOnLoss && mode.keepSearching)) {
            m.searchEnabled = 0;
        }
        m.capturing = 1;
        lockOnEmitter(world, m, found.radar, found.channel, true);
    }
    m.scanTimer = 0;
}

// The steps of missile `row`. Returns false when the missile detonated and left the table.
bool stepMissile(WorldState& world, int32_t row) {
    Missile& m = missileAt(world, row);
    if (!m.launched) {
        followCarrier(world, m);
    } else if (flightStep(world, row)) {
        return false;
    }
    if (!m.activated) {
        return true;
    }
    automaticSearch(world, m);
    if (m.capturing || m.locked) {
        seekerStep(world, m);
    }
    if (m.targetPositionState != kTargetNone) {
        headStep(world, m);
    }
    timerStep(m);
    if (m.launched && guidanceStep(world, row)) {
        return false;
    }
    return true;
}

}  // namespace

// The order of one tick. Every later step sees the changes of the earlier ones, and within a
// step the records are handled in index order:
//   1. every aircraft moves (and steers on its attack run);
//   2. every radar is updated (antenna, blinking, tracking);
//   3. every missile, in table order: follows its carrier or flies; then, if its power is on:
//      automatic search (every 0.5 s), seeker step (capturing or locked), antenna step (unless
//      it has no target data), seeker timers, and guidance once launched.
// A missile that detonates during its own steps skips the rest of them; the record that moved
// into its place is handled next, so every other missile is handled exactly once.
void SimulationTick(WorldState& world) {
    noteTickStarted(world);
    for (int32_t i = 0; i < world.aircraftCount; ++i) {
        moveAircraft(world, aircraftAt(world, i));
    }
    for (int32_t j = 0; j < world.radarCount; ++j) {
        updateRadar(world, j);
    }
    for (int32_t m = 0; m < world.missileCount;) {
        watchMissileStep(world, m);
        if (stepMissile(world, m)) {
            reportMissile(world, m);
            ++m;
        }
    }
}

}  // namespace prrsim
