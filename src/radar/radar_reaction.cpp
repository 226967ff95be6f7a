#include "radar/radar_reaction.h"

#include <cmath>

#include "radar/radar_control.h"
#include "world/units.h"

namespace prrsim {

namespace {

constexpr double kMapUnitsPerKm = 1000 / kMetresPerMapUnit;

// The nearest launched missile within `warnKm` of the radar (horizontally, where it stands
// now; the lower table position on a tie), or -1.
int32_t threateningMissile(const WorldState& world, const RadarSite& radar, double& distance) {
    const double reach = radar.reactionWarnKm * kMapUnitsPerKm;
    const double reachSquared = reach * reach;
    int32_t found = -1;
    double best = 0;
    for (int32_t m = 0; m < world.missileCount; ++m) {
        const Missile& missile = missileAt(world, m);
        if (!missile.launched) {
            continue;
        }
        const double dx = missile.x - radar.x;
        const double dy = missile.y - radar.y;
        const double d = dx * dx + dy * dy;
        if (d <= reachSquared && (found < 0 || d < best)) {
            found = m;
            best = d;
        }
    }
    distance = std::sqrt(best);
    return found;
}

// Whether the radar's state allows its reaction: shutdown needs the emission on, blink the
// emission on and no blinking; a hop is always possible.
bool applicable(const RadarSite& r) {
    switch (r.reactionKind) {
        case kReactionShutdown:
            return r.emissionOn;
        case kReactionBlink:
            return r.emissionOn && r.blinkPeriod == 0;
        case kReactionHop:
            return true;
        default:
            return false;
    }
}

// Whether the setting the reaction made is still the radar's (otherwise the instructor changed
// it meanwhile and the reaction forgets it).
bool undoable(const RadarSite& r) {
    if (!r.reactionApplied) {
        return false;
    }
    switch (r.reactionKind) {
        case kReactionShutdown:
            return !r.emissionOn;
        case kReactionBlink:
            return r.blinkPeriod == r.reactionValue;
        case kReactionHop:
            return r.frequencyPercent == r.reactionValue;
        default:
            return false;
    }
}

// The onset: the event first, then the change through the control's own operation.
void beginThreat(WorldState& world, int32_t row, int32_t missile, double distance) {
    RadarSite& r = radarAt(world, row);
    r.reactionPhase = kReactionThreatened;
    r.reactionApplied = applicable(r);
    if (r.reactionKind == kReactionHop) {
        r.reactionPrevious = r.frequencyPercent;
    }
    noteThreatBegan(world, row, missile, distance * kMetresPerMapUnit);
    if (!r.reactionApplied) {
        return;
    }
    switch (r.reactionKind) {
        case kReactionShutdown:
            setEmission(world, row, false);
            break;
        case kReactionBlink:
            setBlinkPeriod(world, row, r.reactionValue);
            break;
        case kReactionHop:
            setFrequencyPercent(world, row, r.reactionValue);
            break;
        default:
            break;
    }
}

// The hold time has run out: the event first, then the undo where it is still due.
void endThreat(WorldState& world, int32_t row) {
    RadarSite& r = radarAt(world, row);
    const bool undo = undoable(r);
    r.reactionPhase = kReactionIdle;
    r.reactionHoldLeft = 0;
    r.reactionApplied = false;
    noteThreatPassed(world, row, undo);
    if (!undo) {
        return;
    }
    switch (r.reactionKind) {
        case kReactionShutdown:
            setEmission(world, row, true);
            break;
        case kReactionBlink:
            setBlinkPeriod(world, row, 0);
            break;
        case kReactionHop:
            setFrequencyPercent(world, row, r.reactionPrevious);
            break;
        default:
            break;
    }
}

void reactToThreat(WorldState& world, int32_t row) {
    RadarSite& r = radarAt(world, row);
    double distance = 0;
    const int32_t missile = threateningMissile(world, r, distance);
    if (missile >= 0) {
        if (r.reactionPhase == kReactionIdle) {
            beginThreat(world, row, missile, distance);
        }
        // A threat during the hold time restarts it, applying nothing again.
        r.reactionPhase = kReactionThreatened;
        return;
    }
    if (r.reactionPhase == kReactionIdle) {
        return;
    }
    if (r.reactionPhase == kReactionThreatened) {
        r.reactionPhase = kReactionHolding;
        r.reactionHoldLeft = holdTicks(r.reactionHoldSeconds);
    }
    if (r.reactionHoldLeft == 0) {
        endThreat(world, row);
    } else {
        --r.reactionHoldLeft;
    }
}

}  // namespace

std::string_view reactionKindCode(int32_t kind) {
    static constexpr std::string_view kCodes[kReactionKindCount] = {"none", "shutdown", "blink",
                                                                     "hop"};
    return kind >= 0 && kind < kReactionKindCount ? kCodes[kind] : std::string_view();
}

bool canBlink(const RadarType& type) {
    return (type.kind == kSearchRadar || type.kind == kMultiTargetRadar) &&
           type.maxBlinkPeriod > 0;
}

ReactionFault reactionFault(const RadarType& type, const ReactionSettings& s) {
    if (s.kind < 0 || s.kind >= kReactionKindCount) {
        return ReactionFault::Kind;
    }
    if (s.warnKm < kReactionWarnKmMin || s.warnKm > kReactionWarnKmMax) {
        return ReactionFault::WarnKm;
    }
    if (s.holdSeconds < 0 || s.holdSeconds > kReactionHoldSecondsMax) {
        return ReactionFault::Hold;
    }
    if (s.kind == kReactionBlink) {
        if (!canBlink(type)) {
            return ReactionFault::NoBlink;
        }
        if (s.value < 1 || s.value > type.maxBlinkPeriod) {
            return ReactionFault::Period;
        }
    }
    if (s.kind == kReactionHop && (s.value < 0 || s.value > kReactionPercentMax)) {
        return ReactionFault::Percent;
    }
    return ReactionFault::None;
}

bool setReaction(WorldState& world, int32_t row, const ReactionSettings& settings) {
    if (!validRadar(world, row)) {
        return false;
    }
    RadarSite& r = radarAt(world, row);
    if (reactionFault(radarType(r.typeIndex), settings) != ReactionFault::None) {
        return false;
    }
    r.reactionKind = settings.kind;
    r.reactionWarnKm = settings.warnKm;
    r.reactionHoldSeconds = settings.holdSeconds;
    r.reactionValue =
        settings.kind == kReactionBlink || settings.kind == kReactionHop ? settings.value : 0;
    r.reactionPhase = kReactionIdle;
    r.reactionHoldLeft = 0;
    r.reactionApplied = false;
    r.reactionPrevious = 0;
    return true;
}

ReactionSettings reactionOf(const RadarSite& radar) {
    return {radar.reactionKind, radar.reactionWarnKm, radar.reactionHoldSeconds,
            radar.reactionValue};
}

int32_t holdTicks(int32_t holdSeconds) {
    return static_cast<int32_t>(std::lround(holdSeconds / kTickSeconds));
}

void reactToThreats(WorldState& world) {
    for (int32_t j = 0; j < world.radarCount; ++j) {
        if (radarAt(world, j).reactionKind != kReactionNone) {
            reactToThreat(world, j);
        }
    }
}

}  // namespace prrsim
