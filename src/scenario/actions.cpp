#include "scenario/actions.h"

#include "scenario/input_text.h"
#include "catalog/radar_catalog.h"
#include "missile/missile_control.h"
#include "missile/missile_loading.h"
#include "radar/radar_control.h"
#include "radar/radar_model.h"
#include "radar/radar_reaction.h"
#include "world/aircraft_control.h"
#include "world/world.h"

namespace prrsim::batch {

namespace {

using Result = std::optional<ApplyError>;

Result refused(std::string_view field, RefusalCode code) {
    return ApplyError{std::string(field), refusal(code)};
}

Result notInTable(std::string_view field, int32_t index, RefusalTable table, int32_t count) {
    Refusal r = refusal(RefusalCode::NoSuchRow);
    r.table = table;
    r.number = index;
    r.count = count;
    return ApplyError{std::string(field), r};
}

Result checkAircraft(const WorldState& w, int32_t i) {
    return validAircraft(w, i) ? Result{}
                               : notInTable("aircraft", i, RefusalTable::Aircraft, w.aircraftCount);
}

Result checkRadar(const WorldState& w, int32_t i) {
    return validRadar(w, i) ? Result{} : notInTable("radar", i, RefusalTable::Radar, w.radarCount);
}

Result checkMissile(const WorldState& w, int32_t i) {
    return validMissile(w, i) ? Result{}
                              : notInTable("missile", i, RefusalTable::Missile, w.missileCount);
}

Result tableFull(RefusalTable table, int32_t capacity) {
    Refusal r = refusal(RefusalCode::TableFull);
    r.table = table;
    r.max = capacity;
    return ApplyError{"", r};
}

Result refusedThing(RefusedThing thing) {
    Refusal r = refusal(RefusalCode::Refused);
    r.thing = thing;
    return ApplyError{"", r};
}

Result notOperationOf(RefusalTable table) {
    Refusal r = refusal(RefusalCode::NotTableOperation);
    r.table = table;
    return ApplyError{"op", r};
}

// A value beyond the list its radar's type offers in the radar panel.
Result outsideList(std::string_view field, int32_t value, int32_t count, RefusalList list,
                   const RadarType& type) {
    if (value < count) {
        return {};
    }
    Refusal r = refusal(count == 0 ? RefusalCode::TypeOffersNone : RefusalCode::OutsideRange);
    r.list = list;
    r.owner = shortened(type.name);
    r.value = std::to_string(value);
    r.max = count - 1;
    return ApplyError{std::string(field), r};
}

Result addRadar(WorldState& w, const Action& a) {
    if (w.radarCount + 1 > kRadarCapacity) {
        return tableFull(RefusalTable::Radar, kRadarCapacity);
    }
    if (addRadars(w, a.type, -1, a.operational) == 0) {
        return refusedThing(RefusedThing::Radar);
    }
    return {};
}

Result addComplex(WorldState& w, const Action& a) {
    if (w.placedComplexCount >= kPlacedComplexCapacity) {
        return tableFull(RefusalTable::PlacedComplex, kPlacedComplexCapacity);
    }
    if (w.radarCount + samComplex(a.complex).memberCount > kRadarCapacity) {
        return tableFull(RefusalTable::Radar, kRadarCapacity);
    }
    if (addRadars(w, -1, a.complex, a.operational) == 0) {
        return refusedThing(RefusedThing::Complex);
    }
    return {};
}


Result setAircraft(WorldState& w, const Action& a) {
    for (int f = 0; f < kAircraftFieldCount; ++f) {
        if (a.aircraftFields[f]) {
            setAircraftField(w, a.aircraft, static_cast<AircraftField>(f), *a.aircraftFields[f]);
        }
    }
    return {};
}

// "Выбрать", then a click on radar `radar` (-1: a click away from every radar).
Result pickTarget(WorldState& w, const Action& a) {
    if (a.radar != -1) {
        if (Result e = checkRadar(w, a.radar)) {
            return e;
        }
    }
    pickAttackTarget(w, a.aircraft, a.radar);
    return {};
}

// The action's reaction: the blink period or the frequency percentage, by its kind.
ReactionSettings reactionSettings(const Action& a) {
    ReactionSettings s{a.reactionKind, a.warnKm, a.holdSeconds, 0};
    if (a.reactionKind == kReactionBlink) {
        s.value = a.blinkPeriod.value_or(0);
    } else if (a.reactionKind == kReactionHop) {
        s.value = a.frequencyPercent.value_or(0);
    }
    return s;
}

// "Реакция на ПРР": the reader checked every range that does not depend on the radar's type.
Result setReactionOp(WorldState& w, const Action& a) {
    const RadarType& type = radarType(radarAt(w, a.radar).typeIndex);
    const ReactionSettings settings = reactionSettings(a);
    switch (reactionFault(type, settings)) {
        case ReactionFault::None:
            break;
        case ReactionFault::NoBlink: {
            Refusal r = refusal(RefusalCode::CannotBlink);
            r.owner = shortened(type.name);
            return ApplyError{"kind", r};
        }
        case ReactionFault::Period: {
            Refusal r = refusal(RefusalCode::OutsideRange);
            r.value = std::to_string(settings.value);
            r.min = 1;
            r.max = type.maxBlinkPeriod;
            r.list = RefusalList::BlinkSettings;
            r.owner = shortened(type.name);
            return ApplyError{"blinkPeriod", r};
        }
        default:
            return refusedThing(RefusedThing::Reaction);
    }
    setReaction(w, a.radar, settings);
    return {};
}

Result radarOp(WorldState& w, const Action& a) {
    if (Result e = checkRadar(w, a.radar)) {
        return e;
    }
    RadarSite& radar = radarAt(w, a.radar);
    const RadarType& type = radarType(radar.typeIndex);
    switch (a.op) {
        case Op::PlaceRadar:
            placeRadar(w, a.radar, a.x, a.y);
            return {};
        case Op::RemoveRadar:
            removeRadar(w, a.radar);
            return {};
        case Op::SetEmission:
            setEmission(w, a.radar, a.on);
            return {};
        case Op::SetRotation:
            setRotation(radar, a.on);
            return {};
        case Op::SetBlink: {
            // The panel offers blink settings only for search and multi-target radars.
            const bool offered = type.kind == kSearchRadar || type.kind == kMultiTargetRadar;
            if (Result e = outsideList("period", a.value, offered ? type.maxBlinkPeriod + 1 : 0,
                                       RefusalList::BlinkSettings, type)) {
                return e;
            }
            setBlinkPeriod(w, a.radar, a.value);
            return {};
        }
        case Op::SetAntennaDirection:
            setAntennaDirection(radar, a.value);
            return {};
        case Op::SetScanMethod:
            if (Result e = outsideList("method", a.value, type.scanMethodCount,
                                       RefusalList::ScanMethods, type)) {
                return e;
            }
            setScanMethod(radar, a.value);
            return {};
        case Op::SetFrequency:
            setFrequencyPercent(w, a.radar, a.value);
            return {};
        case Op::SetPrfMode:
            if (Result e = outsideList("mode", a.value, type.prfModeCount,
                                       RefusalList::EmissionModes, type)) {
                return e;
            }
            setPrfMode(w, a.radar, a.value);
            return {};
        case Op::SetIllumination:
            setIllumination(w, a.radar, a.on);
            return {};
        case Op::AssignTarget:
            if (Result e = checkAircraft(w, a.aircraft)) {
                return e;
            }
            assignTarget(w, a.radar, a.aircraft);
            return {};
        case Op::RemoveTrack:
            removeTrackedAircraft(w, a.radar, a.value);
            return {};
        case Op::ResetTracking:
            resetTracking(w, a.radar);
            return {};
        case Op::SetReaction:
            return setReactionOp(w, a);
        default:
            return notOperationOf(RefusalTable::Radar);
    }
}

Result aircraftOp(WorldState& w, const Action& a) {
    if (Result e = checkAircraft(w, a.aircraft)) {
        return e;
    }
    switch (a.op) {
        case Op::RemoveAircraft:
            removeAircraft(w, a.aircraft);
            return {};
        case Op::SetAircraft:
            return setAircraft(w, a);
        case Op::PickTarget:
            return pickTarget(w, a);
        case Op::ClearTarget:
            clearAttackTarget(w, a.aircraft);
            return {};
        case Op::AttackRun:
            toggleAttackRun(w, a.aircraft);
            return {};
        case Op::AddMissile:
            if (w.missileCount >= kMissileCapacity) {
                return tableFull(RefusalTable::Missile, kMissileCapacity);
            }
            if (addMissile(w, a.aircraft, a.type, a.launchMode) < 0) {
                return refusedThing(RefusedThing::Missile);
            }
            return {};
        default:
            return notOperationOf(RefusalTable::Aircraft);
    }
}

Result missileOp(WorldState& w, const Action& a) {
    if (Result e = checkMissile(w, a.missile)) {
        return e;
    }
    switch (a.op) {
        case Op::Activate:
            activateMissile(w, a.missile);
            return {};
        case Op::Capture:
            captureButton(w, a.missile);
            return {};
        case Op::Launch:
            launchButton(w, a.missile);
            return {};
        case Op::SeekerOnDistance:
            setSeekerOnDistance(w, a.missile, a.value);
            return {};
        default:
            return notOperationOf(RefusalTable::Missile);
    }
}

}  // namespace

std::optional<ApplyError> applyAction(WorldState& world, const Action& action) {
    switch (action.op) {
        case Op::AddAircraft:
            if (world.aircraftCount >= kAircraftCapacity) {
                return tableFull(RefusalTable::Aircraft, kAircraftCapacity);
            }
            addAircraft(world);
            return {};
        case Op::AddRadar:
            return addRadar(world, action);
        case Op::AddComplex:
            return addComplex(world, action);
        case Op::RemoveAircraft:
        case Op::SetAircraft:
        case Op::PickTarget:
        case Op::ClearTarget:
        case Op::AttackRun:
        case Op::AddMissile:
            return aircraftOp(world, action);
        case Op::PlaceRadar:
        case Op::RemoveRadar:
        case Op::SetEmission:
        case Op::SetRotation:
        case Op::SetBlink:
        case Op::SetAntennaDirection:
        case Op::SetScanMethod:
        case Op::SetFrequency:
        case Op::SetPrfMode:
        case Op::SetIllumination:
        case Op::AssignTarget:
        case Op::RemoveTrack:
        case Op::ResetTracking:
        case Op::SetReaction:
            return radarOp(world, action);
        case Op::Activate:
        case Op::Capture:
        case Op::Launch:
        case Op::SeekerOnDistance:
            return missileOp(world, action);
    }
    return refused("op", RefusalCode::UnknownOperation);
}

}  // namespace prrsim::batch
