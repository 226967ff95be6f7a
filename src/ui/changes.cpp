#include "ui/changes.h"

#include "scenario/actions.h"

namespace prrsim::ui {

Perform applyDirectly(WorldState& world) {
    return [&world](const batch::Action& action) {
        return !batch::applyAction(world, action).has_value();
    };
}

namespace change {

namespace {

batch::Action of(batch::Op op) {
    batch::Action a;
    a.op = op;
    return a;
}

}  // namespace

batch::Action addAircraft() {
    return of(batch::Op::AddAircraft);
}

batch::Action onAircraft(batch::Op op, int32_t aircraft) {
    batch::Action a = of(op);
    a.aircraft = aircraft;
    return a;
}

batch::Action setAircraft(int32_t aircraft, AircraftField field, double value) {
    batch::Action a = onAircraft(batch::Op::SetAircraft, aircraft);
    a.aircraftFields[field] = value;
    return a;
}

batch::Action moveAircraft(int32_t aircraft, int32_t x, int32_t y) {
    batch::Action a = setAircraft(aircraft, kFieldX, x);
    a.aircraftFields[kFieldY] = y;
    return a;
}

batch::Action pickTarget(int32_t aircraft, int32_t radar) {
    batch::Action a = onAircraft(batch::Op::PickTarget, aircraft);
    a.radar = radar;
    return a;
}

batch::Action addMissile(int32_t aircraft, int32_t type, int32_t launchMode) {
    batch::Action a = onAircraft(batch::Op::AddMissile, aircraft);
    a.type = type;
    a.launchMode = launchMode;
    return a;
}

batch::Action addRadar(int32_t type, bool operational) {
    batch::Action a = of(batch::Op::AddRadar);
    a.type = type;
    a.operational = operational;
    return a;
}

batch::Action addComplex(int32_t complex, bool operational) {
    batch::Action a = of(batch::Op::AddComplex);
    a.complex = complex;
    a.operational = operational;
    return a;
}

batch::Action placeRadar(int32_t radar, int32_t x, int32_t y) {
    batch::Action a = onRadar(batch::Op::PlaceRadar, radar);
    a.x = x;
    a.y = y;
    return a;
}

batch::Action onRadar(batch::Op op, int32_t radar, int32_t value) {
    batch::Action a = of(op);
    a.radar = radar;
    a.value = value;
    return a;
}

batch::Action switchRadar(batch::Op op, int32_t radar, bool on) {
    batch::Action a = onRadar(op, radar);
    a.on = on;
    return a;
}

batch::Action assignTarget(int32_t radar, int32_t aircraft) {
    batch::Action a = onRadar(batch::Op::AssignTarget, radar);
    a.aircraft = aircraft;
    return a;
}

batch::Action setReaction(int32_t radar, const ReactionSettings& settings) {
    batch::Action a = of(batch::Op::SetReaction);
    a.radar = radar;
    a.reactionKind = settings.kind;
    a.warnKm = settings.warnKm;
    a.holdSeconds = settings.holdSeconds;
    if (settings.kind == kReactionBlink) {
        a.blinkPeriod = settings.value;
    } else if (settings.kind == kReactionHop) {
        a.frequencyPercent = settings.value;
    }
    return a;
}

batch::Action onMissile(batch::Op op, int32_t missile, int32_t value) {
    batch::Action a = of(op);
    a.missile = missile;
    a.value = value;
    return a;
}

}  // namespace change

}  // namespace prrsim::ui
