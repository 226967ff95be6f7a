#include "world/events.h"

#include <algorithm>
#include <cmath>

#include "catalog/missile_catalog.h"
#include "world/world_state.h"

namespace prrsim {

std::span<const WorldEvent> EventQueue::take() {
    int32_t n = count;
    if (dropped > 0) {
        WorldEvent note;
        note.tick = tick;
        note.kind = EventKind::EventsDropped;
        note.value = dropped < std::numeric_limits<int32_t>::max()
                         ? static_cast<int32_t>(dropped)
                         : std::numeric_limits<int32_t>::max();
        events[n++] = note;
    }
    count = 0;
    dropped = 0;
    return {events.data(), static_cast<size_t>(n)};
}

namespace {

ObjectRef aircraftRef(const WorldState& w, int32_t row) {
    if (!validAircraft(w, row)) {
        return {};
    }
    return {row, aircraftAt(w, row).number, -1};
}

ObjectRef radarRef(const WorldState& w, int32_t row) {
    if (!validRadar(w, row)) {
        return {};
    }
    const RadarSite& r = radarAt(w, row);
    return {row, r.number, r.typeIndex};
}

ObjectRef missileRef(const WorldState& w, int32_t row) {
    const Missile& m = missileAt(w, row);
    return {row, m.review.number, m.typeIndex};
}

// The table position of radar number `number`, or -1.
int32_t radarNumbered(const WorldState& w, int32_t number) {
    for (int32_t j = 0; number != 0 && j < w.radarCount; ++j) {
        if (radarAt(w, j).number == number) {
            return j;
        }
    }
    return -1;
}

WorldEvent event(const WorldState& w, EventKind kind) {
    WorldEvent e;
    e.tick = w.events.tick;
    e.kind = kind;
    return e;
}

WorldEvent radarEvent(const WorldState& w, EventKind kind, int32_t row) {
    WorldEvent e = event(w, kind);
    e.radar = radarRef(w, row);
    const RadarSite& r = radarAt(w, row);
    e.x = r.x;
    e.y = r.y;
    return e;
}

WorldEvent missileEvent(const WorldState& w, EventKind kind, int32_t row) {
    WorldEvent e = event(w, kind);
    const Missile& m = missileAt(w, row);
    e.missile = missileRef(w, row);
    e.x = m.x;
    e.y = m.y;
    e.altitude = m.altitude;
    return e;
}

double metresBetween(double x1, double y1, double x2, double y2) {
    return std::sqrt(square(x2 - x1) + square(y2 - y1)) * 100;  // one map unit is 100 m
}

// The radar a seeker takes: of the radars it received directly in its last step, the one
// nearest to its target estimate (the first in table order on a tie); with none received
// directly, the nearest radar on the map. -1 with no radar at all.
int32_t followedRadar(const WorldState& w, const Missile& m, bool directOnly) {
    int32_t best = -1;
    double bestDistance = 0;
    const auto consider = [&](int32_t j) {
        if (!validRadar(w, j)) {
            return;
        }
        const RadarSite& r = radarAt(w, j);
        const double d = square(r.x - m.targetX) + square(r.y - m.targetY);
        if (best < 0 || d < bestDistance) {
            best = j;
            bestDistance = d;
        }
    };
    const int32_t heard = std::min(m.receivedRadarCount, kReceivedCapacity);
    for (int32_t k = 0; k < heard; ++k) {
        consider(m.receivedRadars[k]);
    }
    if (best < 0 && !directOnly) {
        for (int32_t j = 0; j < w.radarCount; ++j) {
            consider(j);
        }
    }
    return best;
}

// A locked seeker that keeps following another radar than the one it locked on has moved to it.
void followSwitch(WorldState& w, int32_t row) {
    Missile& m = missileAt(w, row);
    MissileReview& review = m.review;
    const int32_t now = followedRadar(w, m, true);
    if (now < 0) {
        return;  // nothing heard directly: the streak neither grows nor breaks
    }
    const int32_t number = radarAt(w, now).number;
    if (number == review.lockedRadar) {
        review.candidateRadar = 0;
        review.candidateSteps = 0;
        return;
    }
    if (number != review.candidateRadar) {
        review.candidateRadar = number;
        review.candidateSteps = 0;
    }
    if (++review.candidateSteps < kSeekerSwitchSteps) {
        return;
    }
    WorldEvent e = missileEvent(w, EventKind::SeekerTargetSwitched, row);
    e.radar = radarRef(w, now);
    e.secondRadar = radarRef(w, radarNumbered(w, review.lockedRadar));
    if (!e.secondRadar.present()) {
        e.secondRadar.number = review.lockedRadar;  // removed since
    }
    review.lockedRadar = number;
    review.candidateRadar = 0;
    review.candidateSteps = 0;
    w.events.push(e);
}

void watch(WorldState& w, int32_t row, bool searchDue) {
    MissileWatch& watch = w.events.watch;
    watch = MissileWatch{};
    if (!validMissile(w, row)) {
        return;
    }
    const Missile& m = missileAt(w, row);
    watch.active = true;
    watch.row = row;
    watch.activated = m.activated;
    watch.launched = m.launched;
    watch.capturing = m.capturing;
    watch.locked = m.locked;
    watch.lockLost = m.lockLost;
    watch.guidanceMode = m.guidanceMode;
    watch.directGuidance = m.directGuidance;
    watch.searchDue = searchDue;
}

}  // namespace

void noteWorldStarted(WorldState& world) {
    for (int32_t i = 0; i < world.aircraftCount; ++i) {
        noteAircraftAdded(world, i);
    }
    noteRadarsAdded(world, 0, world.radarCount);
    for (int32_t m = 0; m < world.missileCount; ++m) {
        noteMissileAdded(world, m);
    }
}

void noteTickStarted(WorldState& world) {
    world.events.tick += 1;
}

void noteAircraftAdded(WorldState& world, int32_t row) {
    Aircraft& a = aircraftAt(world, row);
    a.number = ++world.events.lastAircraftNumber;
    WorldEvent e = event(world, EventKind::AircraftAdded);
    e.aircraft = aircraftRef(world, row);
    e.x = a.x;
    e.y = a.y;
    e.altitude = a.altitude;
    world.events.push(e);
}

void noteAircraftRemoved(WorldState& world, int32_t row) {
    WorldEvent e = event(world, EventKind::AircraftRemoved);
    e.aircraft = aircraftRef(world, row);
    world.events.push(e);
}

void noteAttackTarget(WorldState& world, int32_t row) {
    WorldEvent e = event(world, EventKind::AttackTargetChosen);
    e.aircraft = aircraftRef(world, row);
    e.radar = radarRef(world, aircraftAt(world, row).targetRadar);
    world.events.push(e);
}

void noteAttackRun(WorldState& world, int32_t row) {
    const Aircraft& a = aircraftAt(world, row);
    WorldEvent e =
        event(world, a.onAttackRun ? EventKind::AttackRunStarted : EventKind::AttackRunEnded);
    e.aircraft = aircraftRef(world, row);
    e.radar = radarRef(world, a.targetRadar);
    world.events.push(e);
}

void noteRadarsAdded(WorldState& world, int32_t first, int32_t count) {
    for (int32_t j = first; j < first + count; ++j) {
        radarAt(world, j).number = ++world.events.lastRadarNumber;
        WorldEvent e = radarEvent(world, EventKind::RadarAdded, j);
        e.value = radarAt(world, j).placedComplex;
        world.events.push(e);
    }
}

void noteRadarRemoved(WorldState& world, int32_t row) {
    world.events.push(radarEvent(world, EventKind::RadarRemoved, row));
}

void noteRadarPlaced(WorldState& world, int32_t row) {
    if (!validRadar(world, row)) {
        return;
    }
    const int32_t complex = radarAt(world, row).placedComplex;
    for (int32_t j = 0; j < world.radarCount; ++j) {
        if (j == row || (complex >= 0 && radarAt(world, j).placedComplex == complex)) {
            world.events.push(radarEvent(world, EventKind::RadarPlaced, j));
        }
    }
}

void noteRadarSwitch(WorldState& world, int32_t row, EventKind kind, int32_t value) {
    WorldEvent e = radarEvent(world, kind, row);
    e.value = value;
    world.events.push(e);
}

void noteThreatBegan(WorldState& world, int32_t row, int32_t missile, double distanceMetres) {
    const RadarSite& r = radarAt(world, row);
    WorldEvent e = radarEvent(world, EventKind::ThreatBegan, row);
    e.missile = missileRef(world, missile);
    e.distance = distanceMetres;
    e.value = r.reactionApplied ? r.reactionKind : kReactionNone;
    e.value2 = r.reactionValue;
    world.events.push(e);
}

void noteThreatPassed(WorldState& world, int32_t row, bool undone) {
    const RadarSite& r = radarAt(world, row);
    WorldEvent e = radarEvent(world, EventKind::ThreatPassed, row);
    e.value = undone ? r.reactionKind : kReactionNone;
    e.value2 = r.reactionKind == kReactionHop ? r.reactionPrevious : 0;
    world.events.push(e);
}

void noteRadarTarget(WorldState& world, int32_t row, int32_t aircraft, EventKind kind) {
    WorldEvent e = radarEvent(world, kind, row);
    e.aircraft = aircraftRef(world, aircraft);
    world.events.push(e);
}

void noteTrackingReset(WorldState& world, int32_t row) {
    const RadarSite& r = radarAt(world, row);
    if (r.currentTarget >= 0) {
        noteRadarTarget(world, row, r.currentTarget, EventKind::RadarTargetDropped);
    }
    const int32_t listed = std::clamp(r.trackCount, 0, kTrackListCapacity);
    for (int32_t k = 0; k < listed; ++k) {
        if (r.trackList[k] >= 0 && r.trackList[k] != r.currentTarget) {
            noteRadarTarget(world, row, r.trackList[k], EventKind::RadarTargetDropped);
        }
    }
}

void noteMissileAdded(WorldState& world, int32_t row) {
    Missile& m = missileAt(world, row);
    m.review.number = ++world.events.lastMissileNumber;
    WorldEvent e = missileEvent(world, EventKind::MissileAdded, row);
    e.aircraft = aircraftRef(world, m.carrier);
    e.value = m.launchModeIndex;
    world.events.push(e);
}

void noteTargetDesignated(WorldState& world, int32_t row, int32_t radar) {
    Missile& m = missileAt(world, row);
    WorldEvent e = missileEvent(world, EventKind::TargetDesignated, row);
    e.radar = radarRef(world, radar);
    m.review.designatedRadar = e.radar.number;
    world.events.push(e);
}

void watchMissileStep(WorldState& world, int32_t row) {
    const bool searchDue = validMissile(world, row) && missileAt(world, row).activated &&
                           missileAt(world, row).searchEnabled &&
                           missileAt(world, row).scanTimer > 0.5;
    watch(world, row, searchDue);
}

void watchMissile(WorldState& world, int32_t row) {
    watch(world, row, false);
}

void reportMissile(WorldState& world, int32_t row) {
    const MissileWatch was = world.events.watch;
    world.events.watch = MissileWatch{};
    if (!was.active || was.row != row || !validMissile(world, row)) {
        return;
    }
    Missile& m = missileAt(world, row);
    const auto note = [&](EventKind kind) { world.events.push(missileEvent(world, kind, row)); };
    const auto noteRadar = [&](EventKind kind, int32_t radarRow) {
        WorldEvent e = missileEvent(world, kind, row);
        e.radar = radarRef(world, radarRow);
        world.events.push(e);
    };

    if (!was.activated && m.activated) {
        note(EventKind::MissileActivated);
    }
    if (!was.launched && m.launched) {
        WorldEvent e = missileEvent(world, EventKind::Launched, row);
        e.aircraft = aircraftRef(world, m.carrier);
        e.value = m.guidanceMode;
        world.events.push(e);
    }
    const LaunchMode& mode = launchMode(m.typeIndex, m.launchModeIndex);
    const bool lost = was.locked && !m.locked;
    if (lost) {
        WorldEvent e = missileEvent(world, EventKind::LockLost, row);
        e.radar = radarRef(world, radarNumbered(world, m.review.lockedRadar));
        e.radar.number = m.review.lockedRadar;
        e.value = mode.lossAction;
        world.events.push(e);
    }
    const bool captureBegan = !was.capturing && !was.locked && (m.capturing || m.locked);
    if (captureBegan || (lost && m.capturing)) {
        if (!lost && !was.searchDue && m.launched && !mode.captureBeforeLaunch) {
            WorldEvent e = missileEvent(world, EventKind::SeekerSwitchedOn, row);
            e.value = m.seekerOnDistance;
            world.events.push(e);
        } else {
            WorldEvent e = missileEvent(world, EventKind::CaptureStarted, row);
            e.value =
                lost ? kCaptureAfterLoss : (was.searchDue ? kCaptureBySearch : kCaptureByCrew);
            world.events.push(e);
        }
    }
    const bool parachute =
        was.guidanceMode == kToWaitingPoint && m.guidanceMode == kParachuteDescent;
    if (was.capturing && !m.capturing && !m.locked && !parachute) {
        note(EventKind::CaptureCancelled);
    }
    if (!was.locked && m.locked) {
        const int32_t radar = followedRadar(world, m, false);
        noteRadar(was.lockLost ? EventKind::Relocked : EventKind::Locked, radar);
        m.review.lockedRadar = validRadar(world, radar) ? radarAt(world, radar).number : 0;
        m.review.candidateRadar = 0;
        m.review.candidateSteps = 0;
    } else if (was.locked && m.locked) {
        followSwitch(world, row);
    }
    if (was.launched && m.launched) {
        if (!was.directGuidance && m.directGuidance) {
            note(EventKind::DirectHoming);
        }
        if (was.guidanceMode == kHoming && m.guidanceMode == kToWaitingPoint) {
            note(EventKind::ToWaitingPoint);
        }
        if (parachute) {
            note(EventKind::WaitingPointReached);
            note(EventKind::ParachuteOpened);
        }
    }
    if (was.activated && !m.activated) {
        note(EventKind::PowerOut);
    }
}

void noteDetonation(WorldState& world, int32_t row) {
    if (world.events.watch.active && world.events.watch.row == row) {
        reportMissile(world, row);
    }
    const Missile& m = missileAt(world, row);
    WorldEvent e = missileEvent(world, EventKind::Detonated, row);
    const int32_t target =
        m.review.lockedRadar != 0 ? m.review.lockedRadar : m.review.designatedRadar;
    const int32_t targetRow = radarNumbered(world, target);
    e.radar = radarRef(world, targetRow);
    e.radar.number = target;
    if (targetRow >= 0) {
        const RadarSite& r = radarAt(world, targetRow);
        e.distance = metresBetween(m.x, m.y, r.x, r.y);
    }
    // The nearest radar, the lower position on a tie.
    for (int32_t j = 0; j < world.radarCount; ++j) {
        const RadarSite& r = radarAt(world, j);
        const double d = metresBetween(m.x, m.y, r.x, r.y);
        if (!e.secondRadar.present() || d < e.distance2) {
            e.secondRadar = radarRef(world, j);
            e.distance2 = d;
        }
    }
    world.events.push(e);
}

void noteMissileRemoved(WorldState& world, int32_t row) {
    WorldEvent e = missileEvent(world, EventKind::MissileRemoved, row);
    e.aircraft = aircraftRef(world, missileAt(world, row).carrier);
    world.events.push(e);
}

const char* eventKindCode(EventKind kind) {
    static constexpr const char* kCodes[kEventKindCount] = {
        "aircraftAdded",
        "aircraftRemoved",
        "attackTargetChosen",
        "attackRunStarted",
        "attackRunEnded",
        "radarAdded",
        "radarRemoved",
        "radarPlaced",
        "emissionOn",
        "emissionOff",
        "blinkStarted",
        "blinkStopped",
        "illuminationOn",
        "illuminationOff",
        "frequencyChanged",
        "emissionModeChanged",
        "radarTargetAssigned",
        "radarTargetDropped",
        "threatBegan",
        "threatPassed",
        "missileAdded",
        "missileActivated",
        "targetDesignated",
        "captureStarted",
        "captureCancelled",
        "seekerSwitchedOn",
        "locked",
        "relocked",
        "lockLost",
        "seekerTargetSwitched",
        "launched",
        "directHoming",
        "toWaitingPoint",
        "waitingPointReached",
        "parachuteOpened",
        "powerOut",
        "detonated",
        "missileRemoved",
        "eventsDropped",
    };
    const auto i = static_cast<int32_t>(kind);
    return i >= 0 && i < kEventKindCount ? kCodes[i] : "";
}

}  // namespace prrsim
