#pragma once

// The periods in which a radar's crew reaction was in force, from the event log: from each
// threatBegan whose reaction was applied to the threatPassed that ends it. The debrief shades
// them on the plots of a missile whose target is that radar.

#include <cstdint>
#include <span>
#include <vector>

#include "world/events.h"

namespace prrsim::review {

struct ReactionPeriod {
    bool operator==(const ReactionPeriod&) const = default;
    int64_t begin = 0;  // tick of the onset
    int64_t end = -1;   // tick the hold ran out; -1: still in force at the log's end
    int32_t kind = 0;   // ReactionKind applied
};

// The periods of radar number `radarNumber`, oldest first. A reaction ended without its
// threatPassed (the radar removed, or its reaction set anew) ends at the next onset or stays
// open.
std::vector<ReactionPeriod> reactionPeriods(std::span<const WorldEvent> events,
                                            int32_t radarNumber);

}  // namespace prrsim::review
