#pragma once

// The radar index of the seekers' fast reception (RadarIndex, seeker_scratch.h): built from the
// radar and landmark tables once for all the missiles of a tick, it lets each missile's cones
// visit only the radars and landmarks that can lie in them instead of the whole tables.

#include "missile/seeker_scratch.h"

namespace prrsim {

struct WorldState;
struct SeekerCatalogs;

namespace seeker {

class AzimuthCone;

// Builds `index` from the world's radars and landmarks now.
void buildRadarIndex(const SeekerCatalogs& c, const WorldState& world, RadarIndex& index);

// Whether `index` describes the world's radars and landmarks as they are now (every one in its
// sets, cell and height): the checked builds' test of the IndexedRadars promise.
bool radarIndexMatches(const SeekerCatalogs& c, const WorldState& world, const RadarIndex& index);

// What may lie in a cone: every radiating radar and every landmark at an offset (dx, dy) from
// the apex for which the cone's mayContain(dx, dy) holds is among them.
struct ConeContents {
    RadarSet radars;
    uint32_t landmarks = 0;
};

ConeContents inCone(const RadarIndex& index, const AzimuthCone& cone, double apexX, double apexY);

}  // namespace seeker
}  // namespace prrsim
