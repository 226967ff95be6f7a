#pragma once

#include <array>
#include <cstdint>

namespace prrsim {

inline constexpr int32_t kTrackListCapacity = 20;

// One radar standing on the map.
struct RadarSite {
    int32_t index = 0;  // its table position: a removal below lowers it with the record
    int32_t typeIndex = 0;
    int32_t placedComplex = -1;
    bool emissionOn = false;
    bool rotationOn = false;
    bool radiating = false;
    int32_t scanCount = 0;
    int32_t currentTarget = -1;
    int32_t trackCount = 0;
    std::array<int32_t, kTrackListCapacity> trackList{};
    int32_t trackCursor = 0;
    bool illuminationOn = false;
    bool captureActive = false;
    int32_t antennaDirection = 0;
    int32_t rotationRateIndex = 0;
    int32_t blinkPeriod = 0;
    bool prfWobble = false;
    int32_t scanMethod = 0;
    double dwellTime = 0;
    int32_t scanDirection = 1;
    bool inSector = false;
    double azimuth = 0;
    double elevation = 0;
    int32_t frequencyPercent = 0;
    double frequency = 0;
    int32_t prfMode = 0;
    int32_t x = 0;
    int32_t y = 0;
    int32_t height = 0;
    int32_t number = 0;  // 1, 2, ... in order of creation; stays with the record when it moves
};

// A SAM complex put on the map: its member radars and its catalogue complex.
inline constexpr int32_t kComplexMemberCapacity = 3;
struct PlacedComplex {
    int32_t memberCount = 0;
    std::array<int32_t, kComplexMemberCapacity> members{};
    int32_t complexIndex = 0;
};

}  // namespace prrsim
