#pragma once

#include <cstdint>

#include "missile/seeker/seeker_reception.h"
#include "world/missile.h"
#include "world/radar_site.h"

namespace prrsim {

struct WorldState;

// Per-tick reception, target estimate and capture/lock/loss transitions (while capturing or
// locked).
void seekerStep(WorldState& world, Missile& m);

// Whether the radar's emission on pass -1 (illumination) or 0 (main) matches what the seeker
// has memorised; `channelOut` always receives the radar's frequency channel.
bool acceptEmission(const Missile& m, const RadarSite& r, int32_t pass, int32_t& channelOut);

// Slews the seeker antenna and recomputes the direction to the target.
void headStep(WorldState& world, Missile& m);

// Advances the seeker timers by 0.01 s.
void timerStep(Missile& m);

// The same on catalogue entries of the caller's making.
void seekerStep(const SeekerCatalogs& c, WorldState& world, Missile& m);
bool acceptEmission(const SeekerCatalogs& c, const Missile& m, const RadarSite& r, int32_t pass,
                    int32_t& channelOut);
void headStep(const SeekerCatalogs& c, WorldState& world, Missile& m);
void timerStep(const SeekerCatalogs& c, Missile& m);

}  // namespace prrsim
