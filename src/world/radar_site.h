#pragma once

#include <array>
#include <cstdint>

namespace prrsim {

inline constexpr int32_t kTrackListCapacity = 20;

// What a radar's crew does when an anti-radiation missile comes within its warning distance
// ("Реакция на ПРР"); see radar/radar_reaction.h.
enum ReactionKind : int32_t {
    kReactionNone = 0,
    kReactionShutdown = 1,  // emission off
    kReactionBlink = 2,     // blinking with the reaction's period
    kReactionHop = 3,       // the frequency track bar moved to the reaction's percentage
};
inline constexpr int32_t kReactionKindCount = 4;

// The reaction's ranges: warning distance, km; hold time, s; frequency percentage.
inline constexpr int32_t kReactionWarnKmMin = 1;
inline constexpr int32_t kReactionWarnKmMax = 150;
inline constexpr int32_t kReactionHoldSecondsMax = 600;
inline constexpr int32_t kReactionPercentMax = 100;

// Where a radar's reaction stands.
enum ReactionPhase : int32_t {
    kReactionIdle = 0,        // no threat since the last undo
    kReactionThreatened = 1,  // a missile was within the warning distance in the last tick
    kReactionHolding = 2,     // the threat has passed; the hold time runs
};

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
    // The reaction's settings (setReaction).
    int32_t reactionKind = kReactionNone;
    int32_t reactionWarnKm = 0;
    int32_t reactionHoldSeconds = 0;
    int32_t reactionValue = 0;  // the blink period or the frequency percentage, by kind
    // The reaction's state.
    int32_t reactionPhase = kReactionIdle;
    int32_t reactionHoldLeft = 0;  // ticks of the hold time still to run
    bool reactionApplied = false;  // the reaction changed its setting and has not undone it
    int32_t reactionPrevious = 0;  // the frequency percentage before a hop
};

// A SAM complex put on the map: its member radars and its catalogue complex.
inline constexpr int32_t kComplexMemberCapacity = 3;
struct PlacedComplex {
    int32_t memberCount = 0;
    std::array<int32_t, kComplexMemberCapacity> members{};
    int32_t complexIndex = 0;
};

}  // namespace prrsim
