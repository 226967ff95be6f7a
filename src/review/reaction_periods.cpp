#include "review/reaction_periods.h"

namespace prrsim::review {

std::vector<ReactionPeriod> reactionPeriods(std::span<const WorldEvent> events,
                                            int32_t radarNumber) {
    std::vector<ReactionPeriod> periods;
    bool open = false;
    for (const WorldEvent& e : events) {
        if (e.radar.number != radarNumber || radarNumber == 0) {
            continue;
        }
        if (e.kind == EventKind::ThreatBegan && e.value != 0) {
            if (open) {
                periods.back().end = e.tick;
            }
            periods.push_back({e.tick, -1, e.value});
            open = true;
        } else if ((e.kind == EventKind::ThreatPassed || e.kind == EventKind::RadarRemoved) &&
                   open) {
            periods.back().end = e.tick;
            open = false;
        }
    }
    return periods;
}

}  // namespace prrsim::review
