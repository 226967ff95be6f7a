#pragma once

#include <cstdint>

#include "catalog/missile_catalog.h"
#include "catalog/radar_catalog.h"
#include "missile/seeker/seeker_reading.h"
#include "world/landmark.h"
#include "world/missile.h"
#include "world/radar_site.h"

namespace prrsim {

struct WorldState;

// A radar channel: its main emission (current PrfMode) or its illumination signal.
enum class Channel : uint8_t { Main, Illumination };

// Result of a reception test: the power is meaningful only when detected.
struct Reception {
    bool detected = false;
    double power = 0;
};

// Result of an automatic search: radar -1 is "no target".
struct SearchResult {
    int32_t radar = -1;
    Channel channel = Channel::Main;
    bool found() const { return radar >= 0; }
};

// The catalogues the seeker reads: the program passes its own (programCatalogs()), the tests
// catalogue entries of their making.
struct SeekerCatalogs {
    const MissileCatalog& missiles;
    const RadarCatalog& radars;

    const MissileType& typeOf(const Missile& m) const { return missiles.types[m.typeIndex]; }
    const LaunchMode& modeOf(const Missile& m) const {
        return missiles.types[m.typeIndex].launchModes[m.launchModeIndex];
    }
    const RadarType& typeOf(const RadarSite& r) const { return radars.types[r.typeIndex]; }
};

SeekerCatalogs programCatalogs();

bool bandCovered(const SeekerCatalogs& c, const Missile& m, const RadarSite& r, Channel channel);
bool emissionKindAccepted(const SeekerCatalogs& c, const Missile& m, const RadarSite& r,
                          Channel channel);
bool radarTypeAccepted(const SeekerCatalogs& c, const Missile& m, int32_t radarTypeIndex);
int32_t frequencyChannelOf(const SeekerCatalogs& c, const Missile& m, double frequency);
int32_t priorityRank(const SeekerCatalogs& c, const Missile& m, const RadarSite& r);
bool inGimbalRange(const SeekerCatalogs& c, const Missile& m, const RadarSite& r);
bool inFieldOfView(const SeekerCatalogs& c, const Missile& m, const RadarSite& r);
bool inFieldOfViewAt(const SeekerCatalogs& c, const Missile& m, const RadarSite& r,
                     const Landmark& l);
Reception directPower(const SeekerCatalogs& c, const Missile& m, const RadarSite& r,
                      Channel channel);
Reception reflectedPower(const SeekerCatalogs& c, const Missile& m, const RadarSite& r,
                         const Landmark& l);
// Automatic search: rebuilds the missile's emitter list and picks one emitter.
SearchResult searchEmitters(const SeekerCatalogs& c, WorldState& world, Missile& m,
                            const seeker::Reading& reading = seeker::programReading());

// Records the radar's emission, direction and position in the missile as far as the type
// measures them and the launch mode's recognition level (crew or automatic) asks.
void lockOnEmitter(const SeekerCatalogs& c, WorldState& world, Missile& m, int32_t radar,
                   Channel channel, bool automatic);

}  // namespace prrsim
