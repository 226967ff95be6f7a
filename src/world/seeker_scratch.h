#pragma once

#include <array>
#include <cstdint>

namespace prrsim {

// Sizes of the world's tables the scratch area mirrors (checked against WorldState where both
// are known).
inline constexpr int32_t kScratchRadars = 200;
inline constexpr int32_t kScratchLandmarks = 32;
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

    bool beamValid = false;
    double beamAzimuth = 0;
    double beamElevation = 0;
    double beamWidthAz = 0;
    double beamWidthEl = 0;
    uint8_t scanKind = 0;
    uint32_t beamKnown = 0;  // landmarks whose in-beam test is done for this beam
    uint32_t inBeam = 0;     // and its result

    bool sidelobeValid = false;
    int32_t sidelobeLevel = 0;
    double sidelobeFactor = 1;
};

struct LandmarkPlace {
    int32_t x = 0;
    int32_t y = 0;
    int32_t height = 0;
};

// The seeker step's working area, owned by the world so that the tick allocates nothing: the
// received paths of the current step (for the power-weighted estimate) and the radar-side
// reflection cache. `directReading` makes the seeker step test every radar, pass and path one
// by one without any cache or pre-test; it serves as the reference the fast path is checked
// and measured against.
struct SeekerScratch {
    bool directReading = false;

    int32_t pathCount = 0;
    std::array<int16_t, kScratchPaths> pathRadar{};
    std::array<double, kScratchPaths> pathPower{};

    int32_t landmarkCount = -1;  // landmarks the radar geometry below was computed for
    std::array<LandmarkPlace, kScratchLandmarks> landmarks{};
    std::array<RadarReflectionCache, kScratchRadars> radars{};
};

}  // namespace prrsim
