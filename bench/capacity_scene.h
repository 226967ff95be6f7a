#pragma once

// Scenes at the tables' full capacity, built through the same operations the windows use, for
// the benchmarks and the seeker exactness test: 50 aircraft, 200 radars (10 of each of the 20
// types on a fixed grid, all emitting, rotating, tracking where they can, illuminators on where
// they exist), 100 missiles (2 per aircraft), activated and capturing.

#include <cstdint>
#include <memory>
#include <string_view>

#include "catalog/missile_catalog.h"
#include "catalog/radar_catalog.h"
#include "missile/missile_control.h"
#include "missile/missile_loading.h"
#include "radar/radar_model.h"
#include "world/world.h"
#include "world/world_state.h"

namespace prrsim::scenes {

inline int32_t missileTypeNamed(std::string_view name) {
    for (int32_t i = 0; i < missileTypeCount(); ++i) {
        if (missileType(i).name == name) {
            return i;
        }
    }
    return -1;
}

// Whether radar r stands within 25 pixels of a landmark.
inline bool nearALandmark(const WorldState& world, const RadarSite& r) {
    for (int32_t l = 0; l < world.landmarkCount; ++l) {
        const int32_t dx = world.landmarks[l].x - r.x;
        const int32_t dy = world.landmarks[l].y - r.y;
        if (dx * dx + dy * dy <= 25 * 25) {
            return true;
        }
    }
    return false;
}

// The first radar after `after` (cyclically) that `fits`; `after` itself when none does.
template <typename Fits>
int32_t nextRadar(const WorldState& world, int32_t after, Fits fits) {
    for (int32_t k = 1; k <= world.radarCount; ++k) {
        const int32_t j = (after + k) % world.radarCount;
        if (fits(world.radars[j])) {
            return j;
        }
    }
    return after;
}

// Which missiles a capacity scene carries.
enum class Missiles {
    Harm,   // "AGM-88C HARM" on every pylon, its two capturing launch modes in turn
    Mixed,  // every catalogue type and launch mode in turn
};

// The landmarks, 50 aircraft and 200 radars, no missiles. Every radar of a type that can track
// takes an aircraft; every aircraft but every third has an attack target radar.
inline void loadCapacityWorld(WorldState& world) {
    startEmptyWorld(world);
    // Radars: a 20 x 10 grid over the map, each row holding every type once.
    constexpr int32_t kColumns = 20;
    constexpr int32_t kRows = 10;
    for (int32_t row = 0; row < kRows; ++row) {
        for (int32_t col = 0; col < kColumns; ++col) {
            const int32_t type = (col + 7 * row) % kRadarTypeCapacity;
            if (addRadars(world, type, -1, true) != 1) {
                continue;
            }
            placeRadar(world, world.radarCount - 1, 15 + 29 * col + (row % 2) * 7, 22 + 43 * row);
            RadarSite& r = world.radars[world.radarCount - 1];
            const RadarType& t = radarType(type);
            r.height = (row + col) % 3;
            setFrequencyPercent(r, (world.radarCount * 37) % 101);
            if (t.prfModeCount > 1) {
                setPrfMode(r, world.radarCount % t.prfModeCount);
            }
            if (t.scanMethodCount > 0) {
                setScanMethod(r, world.radarCount % t.scanMethodCount);
                setAntennaDirection(r, (world.radarCount * 53) % 360);
            }
            if (t.rotationRateCount > 1) {
                r.rotationRateIndex = world.radarCount % t.rotationRateCount;
            }
            if (t.hasIlluminator) {
                setIllumination(r, true);
            }
            if (t.maxBlinkPeriod > 0 && world.radarCount % 7 == 0) {
                setBlinkPeriod(r, 1);
            }
        }
    }

    // Aircraft: five rows of ten, flying in various directions at 3 to 6 km. Their attack
    // targets: in turn a radar scanning all elevations near the landmarks (its beam sweeps
    // over them: reflections), a radar with an illuminator, and any radar.
    int32_t nearLandmarks = 0;
    int32_t withIlluminator = 0;
    for (int32_t i = 0; i < kAircraftCapacity; ++i) {
        if (addAircraft(world) < 0) {
            break;
        }
        Aircraft& a = world.aircraft[i];
        a.x = 40 + 52 * (i % 10) + (i / 10) * 5;
        a.y = 30 + 85 * (i / 10);
        a.altitude = 30 + (i * 7) % 31;
        a.heading = (i * 47) % 360;
        a.climbAngle = (i % 5) - 2;
        a.speed = 700 + (i * 13) % 200;
        switch (i % 3) {
            case 0:
                nearLandmarks = nextRadar(world, nearLandmarks, [&](const RadarSite& r) {
                    return radarType(r.typeIndex).scanKind == kScanRotationAllElevations &&
                           nearALandmark(world, r);
                });
                a.targetRadar = nearLandmarks;
                break;
            case 1:
                withIlluminator = nextRadar(world, withIlluminator, [](const RadarSite& r) {
                    return radarType(r.typeIndex).hasIlluminator;
                });
                a.targetRadar = withIlluminator;
                break;
            default:
                a.targetRadar = (i * 41) % world.radarCount;
                break;
        }
    }
    for (int32_t j = 0; j < world.radarCount; ++j) {
        assignTarget(world, j, j % world.aircraftCount);
    }
}

// Two missiles per aircraft, activated, each pressing "Захват цели" (the crew lock on the
// carrier's attack target where it has one, then the capture).
inline void loadCapacityMissiles(WorldState& world, Missiles kind) {
    const int32_t harm = missileTypeNamed("AGM-88C HARM");
    int32_t turn = 0;
    for (int32_t a = 0; a < world.aircraftCount; ++a) {
        for (int32_t k = 0; k < 2; ++k, ++turn) {
            int32_t type = harm;
            int32_t mode = turn % 2;  // "самозахват и пуск", "пуск по обнаруженной цели"
            if (kind == Missiles::Mixed) {
                type = turn % missileTypeCount();
                mode = (turn / missileTypeCount()) % missileType(type).launchModeCount;
            }
            const int32_t row = addMissile(world, a, type, mode);
            if (row < 0) {
                continue;
            }
            activateMissile(world, row);
            captureButton(world, row);
            Missile& m = world.missiles[row];
            if (k == 1 && a % 2 == 0) {
                // A lock on the direction only, as a crew lock at recognition level 0 leaves
                // it: the seeker accepts the first emissions it hears, both channels.
                m.signalParamsKnown = 0;
                m.emissionKindKnown = 0;
                m.radarTypeIdentified = 0;
                m.frequencyKnown = 0;
            }
            if (!m.capturing) {
                m.capturing = 1;  // modes without capture before launch: capture anyway
            }
            if (kind == Missiles::Mixed && turn % 4 == 3) {
                m.searchEnabled = 1;  // exercise the automatic search as well
            }
        }
    }
}

inline void launchAll(WorldState& world) {
    for (int32_t i = 0; i < world.missileCount; ++i) {
        launchButton(world, i);
    }
}

// The capacity scene; `launched` puts every missile in flight.
inline std::unique_ptr<WorldState> capacityScene(Missiles kind, bool launched) {
    std::unique_ptr<WorldState> world = makeWorld();
    loadCapacityWorld(*world);
    loadCapacityMissiles(*world, kind);
    if (launched) {
        launchAll(*world);
    }
    return world;
}

// The start-up world with one "AGM-88C HARM" on aircraft 0, its attack target the first
// radar, activated and capturing.
inline std::unique_ptr<WorldState> defaultSceneWithHarm() {
    std::unique_ptr<WorldState> world = makeWorld();
    startWorld(*world);
    world->aircraft[0].targetRadar = 0;
    const int32_t row = addMissile(*world, 0, missileTypeNamed("AGM-88C HARM"), 0);
    activateMissile(*world, row);
    captureButton(*world, row);
    return world;
}

}  // namespace prrsim::scenes
