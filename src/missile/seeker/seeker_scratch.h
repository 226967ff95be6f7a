#pragma once

#include <array>
#include <cstdint>

#include <memory>

#include "world/landmark.h"
#include "world/world_state.h"

namespace prrsim {

struct MissileCatalog;
struct RadarCatalog;

// The world's tables the scratch area covers.
inline constexpr int32_t kScratchRadars = kRadarCapacity;
inline constexpr int32_t kScratchLandmarks = kLandmarkCapacity;
// Every radar on both passes, directly and through every landmark.
inline constexpr int32_t kScratchPaths = kScratchRadars * 2 * (kScratchLandmarks + 1);

// What a radar's reflections depend on besides the missile. The landmark geometry stays valid
// while the radar and the landmarks keep their places; the in-beam results while the antenna
// keeps its direction and the type its beam. Each part carries the values it was computed from
// and is recomputed when they differ, so the cache can never answer for a changed world.
struct RadarReflectionCache {
    bool geometryValid = false;
    int32_t x = 0;
    int32_t y = 0;
    int32_t height = 0;
    std::array<int32_t, kScratchLandmarks> bearing{};    // from the radar to the landmark
    std::array<int32_t, kScratchLandmarks> elevation{};  // likewise, in the vertical plane
    std::array<double, kScratchLandmarks> rangeTerm{};   // square(100 x distance)
    double sizeOverRange = 0;  // the largest landmark size / rangeTerm (NaN if any is)

    bool beamValid = false;
    double beamAzimuth = 0;
    double beamElevation = 0;
    double beamWidthAz = 0;
    double beamWidthEl = 0;
    uint8_t scanKind = 0;
    uint32_t beamKnown = 0;            // landmarks whose in-beam test is done for this beam
    uint32_t inBeam = 0;               // and its result
    bool beamBoxKnown = false;         // whether the next is known for this beam
    bool beamMissesLandmarks = false;  // the beam's azimuth misses the box around the landmarks

    bool sidelobeValid = false;
    int32_t sidelobeLevel = 0;
    double sidelobeFactor = 1;
};

// A set of radar table rows, visited in ascending order.
class RadarSet {
  public:
    static constexpr int32_t kWords = (kScratchRadars + 63) / 64;

    void insert(int32_t row) { words_[row >> 6] |= uint64_t{1} << (row & 63); }
    // Rows first[0], ..., first[count - 1] (the words kept in registers meanwhile).
    void insert(const int16_t* first, int32_t count) {
        static_assert(kWords == 4, "four words below");
        uint64_t w0 = 0;
        uint64_t w1 = 0;
        uint64_t w2 = 0;
        uint64_t w3 = 0;
        for (int32_t k = 0; k < count; ++k) {
            const int32_t row = first[k];
            const uint64_t b = uint64_t{1} << (row & 63);
            const int32_t word = row >> 6;
            w0 |= word == 0 ? b : 0;
            w1 |= word == 1 ? b : 0;
            w2 |= word == 2 ? b : 0;
            w3 |= word == 3 ? b : 0;
        }
        words_[0] |= w0;
        words_[1] |= w1;
        words_[2] |= w2;
        words_[3] |= w3;
    }
    bool contains(int32_t row) const { return (words_[row >> 6] >> (row & 63)) & 1; }
    bool any() const {
        uint64_t all = 0;
        for (const uint64_t w : words_) {
            all |= w;
        }
        return all != 0;
    }
    RadarSet& operator|=(const RadarSet& o) {
        for (int32_t k = 0; k < kWords; ++k) {
            words_[k] |= o.words_[k];
        }
        return *this;
    }
    friend RadarSet operator&(RadarSet a, const RadarSet& b) {
        for (int32_t k = 0; k < kWords; ++k) {
            a.words_[k] &= b.words_[k];
        }
        return a;
    }
    // The rows of `a` not in `b`.
    friend RadarSet without(RadarSet a, const RadarSet& b) {
        for (int32_t k = 0; k < kWords; ++k) {
            a.words_[k] &= ~b.words_[k];
        }
        return a;
    }
    template <typename F>
    void forEach(F&& f) const {
        for (int32_t k = 0; k < kWords; ++k) {
            for (uint64_t w = words_[k]; w != 0; w &= w - 1) {
                f(k * 64 + __builtin_ctzll(w));
            }
        }
    }

  private:
    std::array<uint64_t, kWords> words_{};
};

// Cells per side of the grid at most; the cell side is the smallest power of two from 16
// pixels up that fits the radars' extent into it.
inline constexpr int32_t kRadarGridSide = 24;

// What the radar index read from one radar: while these stay the same for every radar (and the
// landmarks stay where they were), an index built in an earlier tick still describes the world.
struct RadarIndexSource {
    int32_t typeIndex = 0;
    int32_t prfMode = 0;
    int32_t x = 0;
    int32_t y = 0;
    int32_t height = 0;
    bool radiating = false;
};

// The radars as the seekers' fast reception looks them up: which radiate, which emit pulses,
// where they stand on a coarse grid and at which heights; and the landmarks on that grid.
struct RadarIndex {
    // While an IndexedRadars scope is held, the index once built (current) serves every step
    // until the scope's refresh(); outside one, every step builds its own.
    bool held = false;
    bool current = false;
    const MissileCatalog* missileCatalog = nullptr;  // the catalogues it was built with
    const RadarCatalog* radarCatalog = nullptr;
    int32_t radarCount = 0;
    int32_t landmarkCount = 0;
    // Whether the index came from the program's catalogues (which never change), and each
    // radar's part in it as it was then (the first radarCount entries).
    bool fromProgramCatalogs = false;
    std::array<RadarIndexSource, kScratchRadars> source{};

    RadarSet radiating;
    int32_t radiatingCount = 0;
    RadarSet pulsed;  // radiating with a pulsed main emission

    // Cell (cx, cy) of the grid holds the radiating radars with (x - originX) >> cellShift == cx
    // and (y - originY) >> cellShift == cy. cellRadars lists them cell after cell, row by row
    // (table order within a cell); cell n = cy * columns + cx holds the entries from
    // cellStart[n] up to cellStart[n + 1], so that a run of cells in a row is one run of entries.
    int64_t originX = 0;
    int64_t originY = 0;
    int32_t cellShift = 4;
    int32_t columns = 0;
    int32_t rows = 0;
    std::array<int16_t, kRadarGridSide * kRadarGridSide + 1> cellStart{};
    std::array<int16_t, kScratchRadars> cellRadars{};
    // The landmarks on the same grid, one bit per landmark (all of them, as counted when built).
    std::array<uint32_t, kRadarGridSide * kRadarGridSide> cellLandmarks{};

    // The radars whose reflection cache the fast reception has brought up to date since the
    // index was built, and for them: the side lobes' reflection strength, power x side-lobe
    // factor x antenna gain x the largest landmark size / range term (NaN when no bound holds);
    // a copy of the cache's in-beam bits (the landmarks tested, and those found in the beam).
    RadarSet prepared;
    std::array<double, kScratchRadars> sideStrength{};
    std::array<uint32_t, kScratchRadars> beamKnown{};
    std::array<uint32_t, kScratchRadars> inBeam{};

    // The radiating radars by the letter of their main band, 'A' to 'Z'; the last set holds
    // those whose band is no capital letter.
    std::array<RadarSet, 27> inBand{};
    uint32_t bandsUsed = 0;  // the sets above that may hold radars

    // The radiating radars by height, one entry per height met.
    int32_t heightCount = 0;
    std::array<int32_t, kScratchRadars> heights{};
    std::array<RadarSet, kScratchRadars> atHeight{};
};

// The tangent of a seeker cone's half-width, remembered for the last width it was asked for
// (the widths of a missile type's cones do not change).
struct ConeTangentMemo {
    double width = -1;
    double tangent = 0;
    double innerWidth = -1;  // and of the inner cone of what is surely accepted
    double innerTangent2 = -1;
};

struct LandmarkPlace {
    int32_t x = 0;
    int32_t y = 0;
    int32_t height = 0;
    double size = 0;
};

// The seeker step's working area: the received paths of the current step (for the
// power-weighted estimate) and the radar-side reflection cache. Whoever runs the tick owns one
// beside the world (makeSeekerScratch), so that the tick allocates nothing and the world holds
// only what is simulated. Every cached part carries what it was computed from, so one scratch
// area serves any world: after a jump back, or for another world, it answers as a fresh one.
struct SeekerScratch {
    int32_t pathCount = 0;
    std::array<int16_t, kScratchPaths> pathRadar{};
    std::array<double, kScratchPaths> pathPower{};

    int32_t landmarkCount = -1;  // landmarks the radar geometry below was computed for
    // Those landmarks' records, byte for byte as they were copied from the world's table.
    std::array<Landmark, kScratchLandmarks> landmarkRecords{};
    LandmarkPlace landmarksLow{};   // the smallest x and y of those landmarks
    LandmarkPlace landmarksHigh{};  // and the largest
    std::array<RadarReflectionCache, kScratchRadars> radars{};

    RadarIndex radarIndex{};
    // The landmark that last showed a radar's side lobes within reach of a seeker: the first
    // one tried next time.
    int32_t nearLandmark = 0;
    // Per missile type (by its index modulo 32): the field of view's cone, then the gate's.
    std::array<std::array<ConeTangentMemo, 2>, 32> coneTangents{};
};

// Large (the path lists cover every radar and landmark): on the heap.
std::unique_ptr<SeekerScratch> makeSeekerScratch();

}  // namespace prrsim
