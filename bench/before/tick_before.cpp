// The tick before the radar index (bench/before/before.h): the former tick, with the former
// radar update, antenna step and seeker reading, unchanged apart from its namespace.

#include <cmath>

#include "before.h"
#include "catalog/missile_catalog.h"
#include "missile/guidance.h"
#include "missile/missile_loading.h"
#include "missile/seeker/seeker_reception.h"
#include "missile/seeker/seeker_tracking.h"
#include "radar/radar_model.h"
#include "world/events.h"
#include "world/geometry.h"
#include "world/units.h"

namespace prrsim::before {

namespace {

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

// The noise added to a measured direction, and the antenna step, as they were.
double directionNoise(WorldState& world, double noise) {
    return (1 - randomBelow(world, 100) * 2 * 0.01) * noise;
}

void headStepBefore(const SeekerCatalogs& c, WorldState& world, Missile& m) {
    const MissileType& type = c.typeOf(m);
    if (m.locked || (m.lockLost && type.hasInertialGuidance)) {
        // The antenna moves by a fixed step toward the target; at a limit it stays there.
        const double relAz = angleDiff(m.heading, m.bearingToTarget);
        const double errAz = angleDiff(m.headAzimuth, relAz);
        if (absInt(trunc32(m.headAzimuth)) < type.headAzimuthLimit) {
            m.headAzimuth += signOf(errAz) * 0.01 * type.maxAngularRate;
        }
        const double relEl = angleDiff(m.pitch, m.elevationToTarget);
        const double errEl = angleDiff(m.headElevation, relEl);
        if (type.headElevationMin < m.headElevation && m.headElevation < type.headElevationMax) {
            m.headElevation += signOf(errEl) * 0.01 * type.maxAngularRate;
        }
    }
    if (m.targetPositionState == kTargetFromSeeker) {
        m.bearingToTarget = bearingDeg(m.x, m.y, m.targetX, m.targetY);
        const double dist = std::sqrt(square(m.targetX - m.x) + square(m.targetY - m.y));
        m.elevationToTarget = bearingDeg(0, m.altitude, dist, m.targetAltitude);
        m.bearingToTarget += directionNoise(world, type.bearingNoise);
        m.elevationToTarget += directionNoise(world, type.bearingNoise);
    } else if (m.targetPositionState == kTargetInertial && type.hasInertialGuidance) {
        m.trackedRadarId = -1;
        m.bearingToTarget = bearingDeg(m.insX, m.insY, m.targetX, m.targetY);
        const double dist = std::sqrt(square(m.targetX - m.insX) + square(m.targetY - m.insY));
        m.elevationToTarget = bearingDeg(0, m.insAltitude, dist, m.targetAltitude);
    }
}

// The automatic search of an activated missile, at most every 0.5 s.
void automaticSearch(const SeekerCatalogs& c, WorldState& world, Missile& m,
                     const seeker::Reading& reading) {
    if (!(m.searchEnabled && m.scanTimer > 0.5)) {
        return;
    }
    const SearchResult found = searchEmitters(c, world, m, reading);
    if (found.found()) {
        const LaunchMode& mode = launchMode(m.typeIndex, m.launchModeIndex);
        if (!(mode.forgetOnLoss && mode.searchOnLoss && mode.keepSearching)) {
            m.searchEnabled = 0;
        }
        m.capturing = 1;
        lockOnEmitter(c, world, m, found.radar, found.channel, true);
    }
    m.scanTimer = 0;
}

// The steps of missile `row`. Returns false when the missile detonated and left the table.
bool stepMissile(const SeekerCatalogs& c, WorldState& world, Scratch& scratch, int32_t row,
                 const seeker::Reading& reading) {
    Missile& m = missileAt(world, row);
    if (!m.launched) {
        followCarrier(world, m);
    } else if (flightStep(world, row)) {
        return false;
    }
    if (!m.activated) {
        return true;
    }
    automaticSearch(c, world, m, reading);
    if (m.capturing || m.locked) {
        seekerStep(c, world, scratch, m, reading);
    }
    if (m.targetPositionState != kTargetNone) {
        headStepBefore(c, world, m);
    }
    timerStep(c, m);
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
std::unique_ptr<Scratch> makeScratch() {
    return std::make_unique<Scratch>();
}

void tick(WorldState& world, Scratch& scratch) {
    const seeker::Reading& reading = fastReading();
    const SeekerCatalogs c = programCatalogs();
    noteTickStarted(world);
    for (int32_t i = 0; i < world.aircraftCount; ++i) {
        moveAircraft(world, aircraftAt(world, i));
    }
    for (int32_t j = 0; j < world.radarCount; ++j) {
        before::updateRadar(world, j);
    }
    for (int32_t m = 0; m < world.missileCount;) {
        watchMissileStep(world, m);
        if (stepMissile(c, world, scratch, m, reading)) {
            reportMissile(world, m);
            ++m;
        }
    }
}

}  // namespace prrsim::before
