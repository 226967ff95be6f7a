#include "world/world.h"

#include <algorithm>

#include "catalog/radar_catalog.h"
#include "world/default_scenario.h"
#include "world/events.h"

namespace prrsim {

std::unique_ptr<WorldState> makeWorld() {
    return std::make_unique<WorldState>();
}

int32_t addAircraft(WorldState& world) {
    if (world.aircraftCount >= kAircraftCapacity) {
        return -1;
    }
    const int32_t i = world.aircraftCount;
    Aircraft& a = world.aircraft[i];
    // A slot vacated by a removal starts like a never-used one.
    a.id = i;
    a.altitude = 0;
    a.onAttackRun = false;
    a.x = 300;
    a.y = 220;
    a.heading = 0;
    a.climbAngle = 0;
    a.speed = 750;
    a.targetRadar = -1;
    world.aircraftCount = i + 1;
    noteAircraftAdded(world, i);
    return i;
}

namespace {

// A table position stored anywhere after record r left its table: -1 for r itself, one less
// for the records that moved down.
int32_t renumbered(int32_t stored, int32_t r) {
    if (stored == r) {
        return -1;
    }
    return stored > r ? stored - 1 : stored;
}

// Drops the entries equal to r from list[0 .. count) (later entries move up) and lowers those
// above r; returns the new count.
template <typename Entry, size_t N, typename Get>
int32_t withoutEntry(std::array<Entry, N>& list, int32_t count, int32_t r, Get&& get) {
    int32_t kept = 0;
    for (int32_t i = 0; i < count && i < static_cast<int32_t>(N); ++i) {
        const int32_t stored = get(list[i]);
        if (stored == r) {
            continue;
        }
        list[kept] = list[i];
        get(list[kept]) = renumbered(stored, r);
        ++kept;
    }
    return kept;
}

// Missile m leaves the table: the records above move down with their index fields.
void eraseMissile(WorldState& world, int32_t m) {
    for (int32_t i = m; i + 1 < world.missileCount; ++i) {
        missileAt(world, i) = missileAt(world, i + 1);
        missileAt(world, i).index -= 1;
    }
    world.missileCount -= 1;
    if (world.observer != nullptr) {
        world.observer->missileRemoved(m);
    }
}

// The missiles loaded on aircraft r go with it; launched ones lose their carrier; the others
// follow their carriers down the table.
void removeCarriedMissiles(WorldState& world, int32_t r) {
    for (int32_t m = world.missileCount - 1; m >= 0; --m) {
        const Missile& missile = missileAt(world, m);
        if (missile.carrier == r && !missile.launched) {
            noteMissileRemoved(world, m);
            eraseMissile(world, m);
        }
    }
    for (int32_t m = 0; m < world.missileCount; ++m) {
        Missile& missile = missileAt(world, m);
        missile.carrier = renumbered(missile.carrier, r);
    }
}

// A missile's radar references after radar r left the table. The lock flags stay: from its
// next seeker step the missile no longer hears r.
void renumberMissileRadars(Missile& m, int32_t r) {
    m.targetRadarId = renumbered(m.targetRadarId, r);
    m.trackedRadarId = renumbered(m.trackedRadarId, r);
    m.receivedRadarCount = withoutEntry(m.receivedRadars, m.receivedRadarCount, r,
                                        [](int32_t& e) -> int32_t& { return e; });
    const int32_t emitters = std::clamp(m.emitterCount, 0, kEmitterCapacity);
    // The target list's pairing with the emitters follows the emitters that stay.
    std::array<int32_t, kEmitterCapacity> newPosition{};
    int32_t kept = 0;
    for (int32_t i = 0; i < emitters; ++i) {
        newPosition[i] = m.emitters[i].radar == r ? -1 : kept++;
    }
    for (int32_t e = 0; e < m.targetListCount && e < kTargetListCapacity; ++e) {
        int32_t& paired = m.targetList[e].assignedEmitter;
        paired = (paired >= 0 && paired < emitters) ? newPosition[paired] : -1;
    }
    m.emitterCount = withoutEntry(m.emitters, emitters, r,
                                  [](ReceivedEmitter& e) -> int32_t& { return e.radar; });
}

}  // namespace

bool removeAircraft(WorldState& world, int32_t r) {
    if (!validAircraft(world, r)) {
        return false;
    }
    noteAircraftRemoved(world, r);
    for (int32_t j = 0; j < world.radarCount; ++j) {
        RadarSite& radar = radarAt(world, j);
        radar.currentTarget = renumbered(radar.currentTarget, r);
        for (int32_t k = 0; k < radar.trackCount && k < kTrackListCapacity; ++k) {
            radar.trackList[k] = renumbered(radar.trackList[k], r);
        }
    }
    removeCarriedMissiles(world, r);
    for (int32_t i = r; i + 1 < world.aircraftCount; ++i) {
        aircraftAt(world, i) = aircraftAt(world, i + 1);
    }
    world.aircraftCount -= 1;
    return true;
}

bool removeRadar(WorldState& world, int32_t r) {
    if (!validRadar(world, r)) {
        return false;
    }
    noteRadarRemoved(world, r);
    for (int32_t i = r; i + 1 < world.radarCount; ++i) {
        radarAt(world, i) = radarAt(world, i + 1);
        radarAt(world, i).index -= 1;
    }
    world.radarCount -= 1;
    for (int32_t i = 0; i < world.aircraftCount; ++i) {
        Aircraft& a = aircraftAt(world, i);
        if (a.targetRadar == r) {
            a.onAttackRun = false;
        }
        a.targetRadar = renumbered(a.targetRadar, r);
    }
    for (int32_t c = 0; c < world.placedComplexCount; ++c) {
        PlacedComplex& pc = placedComplexAt(world, c);
        pc.memberCount =
            withoutEntry(pc.members, std::clamp(pc.memberCount, 0, kComplexMemberCapacity), r,
                         [](int32_t& e) -> int32_t& { return e; });
    }
    for (int32_t m = 0; m < world.missileCount; ++m) {
        renumberMissileRadars(missileAt(world, m), r);
    }
    return true;
}

int32_t addRadars(WorldState& world, int32_t singleType, int32_t complex, bool operational) {
    int32_t n = 0;
    int32_t types[kComplexMemberCapacity] = {};
    int32_t placed = -1;
    if (complex >= 0 && complex < samComplexCount()) {
        const SamComplex& c = samComplex(complex);
        if (c.memberCount > kComplexMemberCapacity ||
            world.placedComplexCount >= kPlacedComplexCapacity) {
            return 0;
        }
        n = c.memberCount;
        for (int32_t i = 0; i < n; ++i) {
            types[i] = c.memberTypes[i];
        }
        placed = world.placedComplexCount;
    } else if (singleType >= 0 && singleType < radarTypeCount()) {
        n = 1;
        types[0] = singleType;
    } else {
        return 0;
    }
    if (n == 0 || world.radarCount + n > kRadarCapacity) {
        return 0;
    }
    if (placed >= 0) {
        PlacedComplex& pc = world.placedComplexes[placed];
        pc = PlacedComplex{};
        pc.memberCount = n;
        for (int32_t i = 0; i < n; ++i) {
            pc.members[i] = world.radarCount + i;
        }
        pc.complexIndex = complex;
        world.placedComplexCount += 1;
    }
    for (int32_t i = 0; i < n; ++i) {
        const int32_t k = world.radarCount + i;
        RadarSite r{};
        r.index = k;
        r.typeIndex = types[i];
        r.placedComplex = placed;
        r.emissionOn = operational;
        r.rotationOn = operational;
        r.radiating = operational;
        r.frequencyPercent = randomBelow(world, 100);
        r.frequency = frequencyAt(r.typeIndex, r.frequencyPercent);
        r.currentTarget = -1;
        r.scanDirection = 1;
        r.inSector = true;
        r.x = 300;
        r.y = 220;
        world.radars[k] = r;
    }
    world.radarCount += n;
    noteRadarsAdded(world, world.radarCount - n, n);
    return n;
}

void placeRadar(WorldState& world, int32_t row, int32_t x, int32_t y) {
    if (validRadar(world, row)) {
        const int32_t complex = radarAt(world, row).placedComplex;
        if (complex >= 0) {
            for (int32_t j = 0; j < world.radarCount; ++j) {
                if (radarAt(world, j).placedComplex == complex) {
                    radarAt(world, j).x = x;
                    radarAt(world, j).y = y;
                }
            }
        } else {
            radarAt(world, row).x = x;
            radarAt(world, row).y = y;
        }
        noteRadarPlaced(world, row);
    }
}

void removeMissile(WorldState& world, int32_t m) {
    if (!validMissile(world, m)) {
        return;
    }
    noteDetonation(world, m);
    const Missile& gone = missileAt(world, m);
    const ImpactEvent impact{m, gone.typeIndex, gone.x, gone.y};
    eraseMissile(world, m);
    if (world.observer != nullptr) {
        world.observer->missileDetonated(impact);
    }
}

void startEmptyWorld(WorldState& world) {
    WorldObserver* observer = world.observer;
    world = WorldState{};
    world.observer = observer;
    fillLandmarks(world);
    noteWorldStarted(world);
}

void startWorld(WorldState& world) {
    WorldObserver* observer = world.observer;
    world = WorldState{};
    world.observer = observer;
    fillLandmarks(world);
    loadDefaultScenario(world);
    noteWorldStarted(world);
}

}  // namespace prrsim
