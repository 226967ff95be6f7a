#pragma once

// The crew's answer to an anti-radiation missile on its way ("Реакция на ПРР"). Each radar may
// have one reaction: when a launched missile comes within its warning distance the crew
// switches the emission off, starts blinking or moves the frequency, through the same
// operations as the radar panel's controls, and undoes it once no missile has threatened the
// radar for the hold time.

#include <cstdint>
#include <string_view>

#include "catalog/radar_catalog.h"
#include "world/world_state.h"

namespace prrsim {

// The kind's name in files ("none", "shutdown", "blink", "hop"); empty outside the kinds.
std::string_view reactionKindCode(int32_t kind);

struct ReactionSettings {
    int32_t kind = kReactionNone;  // ReactionKind
    int32_t warnKm = kReactionWarnKmMin;
    int32_t holdSeconds = 0;
    int32_t value = 0;  // blink: the period (1..the type's maximum); hop: the percentage
};

// Whether a radar of `type` can blink: "Мерцание" offers settings above 0 (only search and
// multi-target radars have the list).
bool canBlink(const RadarType& type);

// Why `settings` cannot be a reaction of a radar of `type`.
enum class ReactionFault {
    None,
    Kind,      // not a reaction kind
    WarnKm,    // outside kReactionWarnKmMin..kReactionWarnKmMax
    Hold,      // outside 0..kReactionHoldSecondsMax
    NoBlink,   // blink on a type that cannot blink
    Period,    // a blink period outside 1..the type's maximum
    Percent,   // a frequency percentage outside 0..100
};
ReactionFault reactionFault(const RadarType& type, const ReactionSettings& settings);

// "Реакция на ПРР" of radar `row`: sets its reaction and ends any reaction under way without
// undoing it. Returns false and changes nothing when `row` is not a radar or the settings are
// refused (reactionFault).
bool setReaction(WorldState& world, int32_t row, const ReactionSettings& settings);

// The reaction's settings of a radar as setReaction took them.
ReactionSettings reactionOf(const RadarSite& radar);

// The tick's threat step: every radar with a reaction, in table order, looks for launched
// missiles within its warning distance and reacts, holds or undoes its reaction.
void reactToThreats(WorldState& world);

// The hold time in ticks: seconds / 0.01 s, rounded to the nearest.
int32_t holdTicks(int32_t holdSeconds);

// Whether radar `radar`'s reaction has changed a setting that it has not undone yet.
inline bool reacting(const RadarSite& radar) {
    return radar.reactionKind != kReactionNone && radar.reactionApplied;
}

}  // namespace prrsim
