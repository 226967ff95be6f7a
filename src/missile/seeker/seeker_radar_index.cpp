#include "missile/seeker/seeker_radar_index.h"

#include <algorithm>
#include <cmath>

#include "catalog/missile_catalog.h"
#include "catalog/radar_catalog.h"
#include "missile/seeker/seeker_geometry.h"
#include "world/world_state.h"

namespace prrsim::seeker {

namespace {

int32_t landmarksOf(const WorldState& world) {
    return std::clamp(world.landmarkCount, 0, kLandmarkCapacity);
}

int32_t cellOf(int64_t v, int64_t origin, int32_t shift) {
    return static_cast<int32_t>((v - origin) >> shift);
}

int32_t cellNumber(const RadarIndex& index, int64_t x, int64_t y) {
    return cellOf(y, index.originY, index.cellShift) * index.columns +
           cellOf(x, index.originX, index.cellShift);
}

bool inGrid(const RadarIndex& index, int64_t x, int64_t y) {
    const int32_t cx = cellOf(x, index.originX, index.cellShift);
    const int32_t cy = cellOf(y, index.originY, index.cellShift);
    return x >= index.originX && y >= index.originY && cx < index.columns && cy < index.rows;
}

bool pulsedNow(const SeekerCatalogs& c, const RadarSite& r) {
    return prfModeOf(c.typeOf(r), r.prfMode).pulsed;
}

int32_t bandSlot(char letter) {
    return letter >= 'A' && letter <= 'Z' ? letter - 'A' : 26;
}

int32_t heightSlot(const RadarIndex& index, int32_t height) {
    for (int32_t k = 0; k < index.heightCount; ++k) {
        if (index.heights[k] == height) {
            return k;
        }
    }
    return -1;
}

// The smallest whole number at least v, and the largest at most v, for v in [0, limit]
// (beyond it, the nearer end).
int32_t ceilWithin(double v, double limit) {
    v = std::min(std::max(v, 0.0), limit);
    const int32_t t = static_cast<int32_t>(v);
    return t + static_cast<int32_t>(t < v);
}

int32_t floorWithin(double v, double limit) {
    v = std::min(std::max(v, 0.0), limit);
    return static_cast<int32_t>(v);
}

}  // namespace

void buildRadarIndex(const SeekerCatalogs& c, const WorldState& world, RadarIndex& index) {
    index.missileCatalog = &c.missiles;
    index.radarCatalog = &c.radars;
    index.radarCount = world.radarCount;
    index.landmarkCount = landmarksOf(world);
    index.fromProgramCatalogs = &c.missiles == &missileCatalog() && &c.radars == &radarCatalog();
    for (int32_t j = 0; j < world.radarCount && j < kScratchRadars; ++j) {
        const RadarSite& r = radarAt(world, j);
        index.source[j] = RadarIndexSource{r.typeIndex, r.prfMode, r.x, r.y, r.height, r.radiating};
    }
    index.radiating = RadarSet{};
    index.pulsed = RadarSet{};
    for (uint32_t used = index.bandsUsed; used != 0; used &= used - 1) {
        index.inBand[__builtin_ctz(used)] = RadarSet{};
    }
    index.bandsUsed = 0;
    index.radiatingCount = 0;
    index.prepared = RadarSet{};
    index.heightCount = 0;
    index.columns = 0;
    index.rows = 0;
    int64_t minX = 0;
    int64_t minY = 0;
    int64_t maxX = 0;
    int64_t maxY = 0;
    bool first = true;
    const auto extend = [&](int64_t x, int64_t y) {
        minX = first ? x : std::min(minX, x);
        minY = first ? y : std::min(minY, y);
        maxX = first ? x : std::max(maxX, x);
        maxY = first ? y : std::max(maxY, y);
        first = false;
    };
    for (int32_t j = 0; j < world.radarCount; ++j) {
        const RadarSite& r = radarAt(world, j);
        if (!r.radiating) {
            continue;
        }
        index.radiating.insert(j);
        if (pulsedNow(c, r)) {
            index.pulsed.insert(j);
        }
        const int32_t band = bandSlot(c.typeOf(r).band);
        index.inBand[band].insert(j);
        index.bandsUsed |= uint32_t{1} << band;
        ++index.radiatingCount;
        extend(r.x, r.y);
    }
    if (index.radiatingCount <= kFewRadars) {
        return;  // every radar in band is a candidate: no heights, no grid
    }
    index.radiating.forEach([&](int32_t j) {
        const RadarSite& r = radarAt(world, j);
        int32_t slot = heightSlot(index, r.height);
        if (slot < 0) {
            slot = index.heightCount++;
            index.heights[slot] = r.height;
            index.atHeight[slot] = RadarSet{};
        }
        index.atHeight[slot].insert(j);
    });
    for (int32_t l = 0; l < index.landmarkCount; ++l) {
        extend(landmarkAt(world, l).x, landmarkAt(world, l).y);
    }
    int32_t shift = 4;
    while (((maxX - minX) >> shift) >= kRadarGridSide ||
           ((maxY - minY) >> shift) >= kRadarGridSide) {
        ++shift;
    }
    index.originX = minX;
    index.originY = minY;
    index.cellShift = shift;
    index.columns = cellOf(maxX, minX, shift) + 1;
    index.rows = cellOf(maxY, minY, shift) + 1;
    // The radars by a counting sort by cell: count, start each cell after the ones before it,
    // place.
    const int32_t cells = index.columns * index.rows;
    std::fill_n(index.cellStart.begin(), cells + 1, int16_t{0});
    index.radiating.forEach([&](int32_t j) {
        const RadarSite& r = radarAt(world, j);
        ++index.cellStart[cellNumber(index, r.x, r.y) + 1];
    });
    for (int32_t n = 0; n < cells; ++n) {
        index.cellStart[n + 1] = static_cast<int16_t>(index.cellStart[n + 1] + index.cellStart[n]);
    }
    std::array<int16_t, kRadarGridSide * kRadarGridSide> next;  // the first `cells` used
    std::copy_n(index.cellStart.begin(), cells, next.begin());
    index.radiating.forEach([&](int32_t j) {
        const RadarSite& r = radarAt(world, j);
        index.cellRadars[next[cellNumber(index, r.x, r.y)]++] = static_cast<int16_t>(j);
    });
    std::fill_n(index.cellLandmarks.begin(), cells, uint32_t{0});
    for (int32_t l = 0; l < index.landmarkCount; ++l) {
        const Landmark& lm = landmarkAt(world, l);
        index.cellLandmarks[cellNumber(index, lm.x, lm.y)] |= uint32_t{1} << l;
    }
}

bool radarIndexSourceUnchanged(const SeekerCatalogs& c, const WorldState& world,
                               const RadarIndex& index) {
    if (!index.fromProgramCatalogs || index.radarCount != world.radarCount ||
        index.landmarkCount != landmarksOf(world) || index.missileCatalog != &c.missiles ||
        index.radarCatalog != &c.radars || world.radarCount > kScratchRadars) {
        return false;
    }
    // Every radar compared without an early way out: the loop runs without branches.
    bool same = true;
    for (int32_t j = 0; j < world.radarCount; ++j) {
        const RadarSite& r = radarAt(world, j);
        const RadarIndexSource& was = index.source[j];
        same &= (r.typeIndex == was.typeIndex) & (r.prfMode == was.prfMode) & (r.x == was.x) &
                (r.y == was.y) & (r.height == was.height) & (r.radiating == was.radiating);
    }
    return same;
}

bool radarIndexMatches(const SeekerCatalogs& c, const WorldState& world, const RadarIndex& index) {
    if (index.radarCount != world.radarCount || index.landmarkCount != landmarksOf(world) ||
        index.missileCatalog != &c.missiles || index.radarCatalog != &c.radars) {
        return false;
    }
    int32_t radiating = 0;
    index.radiating.forEach([&](int32_t) { ++radiating; });
    for (int32_t j = 0; j < world.radarCount; ++j) {
        const RadarSite& r = radarAt(world, j);
        if (index.radiating.contains(j) != r.radiating) {
            return false;
        }
        if (!r.radiating) {
            continue;
        }
        --radiating;
        if (index.pulsed.contains(j) != pulsedNow(c, r) ||
            !index.inBand[bandSlot(c.typeOf(r).band)].contains(j)) {
            return false;
        }
        if (index.rows == 0) {
            continue;  // few radars: no heights, no grid
        }
        const int32_t slot = heightSlot(index, r.height);
        if (slot < 0 || !index.atHeight[slot].contains(j)) {
            return false;
        }
        if (!inGrid(index, r.x, r.y)) {
            return false;
        }
        const int32_t n = cellNumber(index, r.x, r.y);
        const int16_t* first = index.cellRadars.data() + index.cellStart[n];
        const int16_t* last = index.cellRadars.data() + index.cellStart[n + 1];
        if (std::find(first, last, j) == last) {
            return false;
        }
    }
    for (int32_t l = 0; l < index.landmarkCount && index.rows > 0; ++l) {
        const Landmark& lm = landmarkAt(world, l);
        if (!inGrid(index, lm.x, lm.y) ||
            !((index.cellLandmarks[cellNumber(index, lm.x, lm.y)] >> l) & 1)) {
            return false;
        }
    }
    return radiating == 0;
}

bool coneMayMeetBox(const AzimuthCone& cone, double apexX, double apexY, double x0, double y0,
                    double x1, double y1) {
    if (cone.passesNone()) {
        return false;
    }
    if (cone.passesAll()) {
        return true;
    }
    // The cone's two half-planes (as in inCone below), each at its largest over the box.
    const double t = cone.tangent() * (1 + 1e-6) + 1e-6;
    const double ux = cone.axisX();
    const double uy = cone.axisY();
    const std::array<double, 2> a{t * ux + uy, t * ux - uy};
    const std::array<double, 2> b{t * uy - ux, t * uy + ux};
    for (int32_t k = 0; k < 2; ++k) {
        const double most =
            a[k] * ((a[k] > 0 ? x1 : x0) - apexX) + b[k] * ((b[k] > 0 ? y1 : y0) - apexY);
        if (most < -1e-9) {
            return false;
        }
    }
    return true;
}

// The cone lies between two half-planes through its apex, t dot - cross >= 0 and
// t dot + cross >= 0 (dot = u . p, cross = u x p for the unit axis u and the offset p), with
// t its tangent widened far above rounding: every offset the cone's mayContain accepts
// satisfies both, its cross product being at most the tangent times its positive dot product.
// Over a grid cell widened by half a pixel (radars and landmarks stand on whole pixels) each
// half-plane's left side is at most start + perColumn cx + perRow cy; the cell of a point the
// cone may contain gets at least half a pixel times (|a| + |b|) >= 1/2 there, so the column and
// row bounds below need only a hair of tolerance.
ConeContents inCone(const RadarIndex& index, const AzimuthCone& cone, double apexX, double apexY) {
    ConeContents found;
    if (cone.passesNone() || index.rows == 0) {
        return found;
    }
    // Far out, the rounding of the sums would come near the half-pixel margin: all may lie in
    // the cone then.
    constexpr double kFar = 1e9;
    if (cone.passesAll() || !(std::abs(apexX) < kFar && std::abs(apexY) < kFar) ||
        std::abs(index.originX) > kFar || std::abs(index.originY) > kFar) {
        found.radars = index.radiating;
        found.landmarks =
            index.landmarkCount == 32 ? ~uint32_t{0} : (uint32_t{1} << index.landmarkCount) - 1;
        return found;
    }
    const double t = cone.tangent() * (1 + 1e-6) + 1e-6;
    const double ux = cone.axisX();
    const double uy = cone.axisY();
    const std::array<double, 2> a{t * ux + uy, t * ux - uy};
    const std::array<double, 2> b{t * uy - ux, t * uy + ux};
    const double side = static_cast<double>(int64_t{1} << index.cellShift);
    constexpr double kTolerance = 1e-6;
    constexpr double kNone = 1e9;  // a bound that binds nothing
    const double lastColumn = index.columns - 1;
    const double lastRow = index.rows - 1;
    // Per half-plane, as a function of the row cy: the first column it allows (if its side
    // grows along the row) or the last one (if it shrinks), both with the tolerance; and the
    // rows where it allows any column at all.
    std::array<double, 2> lowAt{-kNone, -kNone};
    std::array<double, 2> lowSlope{0, 0};
    std::array<double, 2> highAt{kNone, kNone};
    std::array<double, 2> highSlope{0, 0};
    double top = 0;
    double bottom = lastRow;
    for (int32_t k = 0; k < 2; ++k) {
        const double x = static_cast<double>(index.originX) - 0.5 + (a[k] > 0 ? side : 0);
        const double y = static_cast<double>(index.originY) - 0.5 + (b[k] > 0 ? side : 0);
        const double start = a[k] * (x - apexX) + b[k] * (y - apexY);
        const double perColumn = a[k] * side;
        const double perRow = b[k] * side;
        if (perColumn > 0) {
            lowAt[k] = -start / perColumn - kTolerance;
            lowSlope[k] = -perRow / perColumn;
        } else if (perColumn < 0) {
            highAt[k] = -start / perColumn + kTolerance;
            highSlope[k] = -perRow / perColumn;
        }
        const double best = start + std::max(0.0, perColumn * lastColumn);
        if (perRow > 0) {
            top = std::max(top, -best / perRow - kTolerance);
        } else if (perRow < 0) {
            bottom = std::min(bottom, -best / perRow + kTolerance);
        } else if (best < 0) {
            bottom = -1;
        }
    }
    if (!(top <= bottom)) {
        return found;  // also when a bound came out NaN
    }
    const int32_t firstRow = ceilWithin(top, lastRow + 1);
    const int32_t finalRow = floorWithin(bottom, lastRow);
    for (int32_t cy = firstRow; cy <= finalRow; ++cy) {
        const double lo =
            std::max(std::max(0.0, lowAt[0] + lowSlope[0] * cy), lowAt[1] + lowSlope[1] * cy);
        const double hi = std::min(std::min(lastColumn, highAt[0] + highSlope[0] * cy),
                                   highAt[1] + highSlope[1] * cy);
        if (!(lo <= hi)) {
            continue;
        }
        const int32_t first = cy * index.columns + ceilWithin(lo, lastColumn + 1);
        const int32_t last = cy * index.columns + floorWithin(hi, lastColumn);
        if (first > last) {
            continue;
        }
        found.radars.insert(index.cellRadars.data() + index.cellStart[first],
                            index.cellStart[last + 1] - index.cellStart[first]);
        for (int32_t n = first; n <= last; ++n) {
            found.landmarks |= index.cellLandmarks[n];
        }
    }
    return found;
}

}  // namespace prrsim::seeker
