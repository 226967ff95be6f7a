#pragma once

#include <cstdint>
#include <functional>

#include "radar/radar_reaction.h"
#include "scenario/scenario.h"
#include "world/aircraft_control.h"
#include "world/world_state.h"

namespace prrsim::ui {

// How a window changes the world: every change is one of the batch runner's actions. The main
// window hands its session's perform (recorded); a window on its own applies them directly.
// Returns whether the change was made.
using Perform = std::function<bool(const batch::Action&)>;

// Applies the actions to `world` through the batch runner's operations, unrecorded.
Perform applyDirectly(WorldState& world);

// The actions of the windows' controls.
namespace change {

batch::Action addAircraft();
// removeAircraft, clearTarget, attackRun.
batch::Action onAircraft(batch::Op op, int32_t aircraft);
batch::Action setAircraft(int32_t aircraft, AircraftField field, double value);
batch::Action moveAircraft(int32_t aircraft, int32_t x, int32_t y);
batch::Action pickTarget(int32_t aircraft, int32_t radar);
batch::Action addMissile(int32_t aircraft, int32_t type, int32_t launchMode);

batch::Action addRadar(int32_t type, bool operational);
batch::Action addComplex(int32_t complex, bool operational);
batch::Action placeRadar(int32_t radar, int32_t x, int32_t y);
// removeRadar, resetTracking, and the ops with one number: setBlink, setAntennaDirection,
// setScanMethod, setFrequency, setPrfMode, removeTrack.
batch::Action onRadar(batch::Op op, int32_t radar, int32_t value = 0);
// setEmission, setRotation, setIllumination.
batch::Action switchRadar(batch::Op op, int32_t radar, bool on);
batch::Action assignTarget(int32_t radar, int32_t aircraft);
// "Реакция на ПРР": the period or percentage goes in the field its kind reads.
batch::Action setReaction(int32_t radar, const ReactionSettings& settings);

// activate, capture, launch, seekerOnDistance.
batch::Action onMissile(batch::Op op, int32_t missile, int32_t value = 0);

}  // namespace change

}  // namespace prrsim::ui
