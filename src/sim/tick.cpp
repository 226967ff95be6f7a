#include "sim/tick.h"

#include <cmath>

#include "catalog/missile_catalog.h"
#include "missile/guidance.h"
#include "missile/missile_loading.h"
#include "missile/seeker/seeker_reception.h"
#include "missile/seeker/seeker_tracking.h"
#include "radar/radar_model.h"
#include "radar/radar_reaction.h"
#include "world/geometry.h"
#include "world/units.h"

namespace prrsim {

namespace {

// The cosine and sine of `angle`, computed only when it differs from the memo's.
const AngleCosSin& cosSin(AngleCosSin& memo, double angle) {
    if (!(memo.angle == angle)) {
        memo.angle = angle;
        memo.cos = std::cos(angle);
        memo.sin = std::sin(angle);
    }
    return memo;
}

}  // namespace

void moveAircraft(const WorldState& world, Aircraft& a, AircraftMotionMemo& memo) {
    const double k = kKmhToMapUnitsPerSecond * a.speed * kTickSeconds;
    const AngleCosSin& h = cosSin(memo.heading, a.heading * kDegToRad);
    const AngleCosSin& c = cosSin(memo.climb, a.climbAngle * kDegToRad);
    a.x += h.cos * k * c.cos;
    a.y += h.sin * k * c.cos;
    a.altitude += c.sin * k;
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
bool stepMissile(const SeekerCatalogs& c, WorldState& world, SeekerScratch& scratch, int32_t row,
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
        headStep(c, world, m);
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
//   2. every radar with a reaction looks for launched missiles within its warning distance, where
//      they stand now, and reacts, holds or undoes its reaction (radar/radar_reaction.h);
//   3. every radar is updated (antenna, blinking, tracking);
//   4. every missile, in table order: follows its carrier or flies; then, if its power is on:
//      automatic search (every 0.5 s), seeker step (capturing or locked), antenna step (unless
//      it has no target data), seeker timers, and guidance once launched.
// A missile that detonates during its own steps skips the rest of them; the record that moved
// into its place is handled next, so every other missile is handled exactly once.
void SimulationTick(WorldState& world, SeekerScratch& scratch) {
    runTick(world, scratch, seeker::programReading());
}

void runTick(WorldState& world, SeekerScratch& scratch, const seeker::Reading& reading) {
    const SeekerCatalogs c = programCatalogs();
    noteTickStarted(world);
    for (int32_t i = 0; i < world.aircraftCount; ++i) {
        moveAircraft(world, aircraftAt(world, i), world.aircraftMotion[i]);
    }
    reactToThreats(world);
    for (int32_t j = 0; j < world.radarCount; ++j) {
        updateRadar(world, j);
    }
    // The radars stay as they are during the missiles' steps, except through the observer a
    // detonation calls.
    IndexedRadars indexed(scratch);
    for (int32_t m = 0; m < world.missileCount;) {
        watchMissileStep(world, m);
        if (stepMissile(c, world, scratch, m, reading)) {
            reportMissile(world, m);
            ++m;
        } else {
            indexed.refresh();
        }
    }
}

}  // namespace prrsim
