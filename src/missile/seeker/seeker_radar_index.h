#pragma once

// The radar index of the seekers' fast reception (RadarIndex, seeker_scratch.h): built from the
// radar and landmark tables once for all the missiles of a tick, it lets each missile's cones
// visit only the radars and landmarks that can lie in them instead of the whole tables.

#include "missile/seeker/seeker_scratch.h"

namespace prrsim {

struct WorldState;
struct SeekerCatalogs;

namespace seeker {

class AzimuthCone;

// Up to this many radiating radars the index has no grid: each missile tests every radar's
// direction, which costs less than building the grid and walking the cones over it.
inline constexpr int32_t kFewRadars = 12;

// Builds `index` from the world's radars and landmarks now.
void buildRadarIndex(const SeekerCatalogs& c, const WorldState& world, RadarIndex& index);

// Whether `index`, built with the program's catalogues, was built from the world's radars as
// they are now (same count, and for each the same type, emission mode, place and radiation), so
// that with the landmarks unchanged buildRadarIndex would build it again. Reads the radars
// only, no catalogue.
bool radarIndexSourceUnchanged(const SeekerCatalogs& c, const WorldState& world,
                               const RadarIndex& index);

// Whether `index` describes the world's radars and landmarks as they are now (every one in its
// sets, cell and height): the checked builds' test of the IndexedRadars promise.
bool radarIndexMatches(const SeekerCatalogs& c, const WorldState& world, const RadarIndex& index);

// What may lie in a cone: every radiating radar and every landmark at an offset (dx, dy) from
// the apex for which the cone's mayContain(dx, dy) holds is among them.
struct ConeContents {
    RadarSet radars;
    uint32_t landmarks = 0;
};

// Whether a point of the box [x0, x1] x [y0, y1] may lie in `cone` with its apex at
// (apexX, apexY): false only when cone.mayContain holds for none of them.
bool coneMayMeetBox(const AzimuthCone& cone, double apexX, double apexY, double x0, double y0,
                    double x1, double y1);

// Needs the grid (more than kFewRadars radiating radars).
ConeContents inCone(const RadarIndex& index, const AzimuthCone& cone, double apexX, double apexY);

}  // namespace seeker
}  // namespace prrsim
