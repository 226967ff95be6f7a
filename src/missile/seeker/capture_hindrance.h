#pragma once

// Why a seeker on capture hears nothing: a reading of the world and the seeker's state for the
// missile window, changing neither.

#include <cstdint>

#include "missile/seeker/seeker_reception.h"
#include "world/world_state.h"

namespace prrsim {

enum class CaptureHindrance : uint8_t {
    None,              // some radar reaches the seeker (or nothing is being captured)
    NoRadarInView,     // no radiating radar within the seeker's field of view
    OutOfBand,         // those in view radiate outside the seeker's bands
    BelowThreshold,    // those in view and in band arrive weaker than the seeker's sensitivity
};

// For missile `m` of `world` while it captures without a signal; None otherwise.
CaptureHindrance captureHindrance(const SeekerCatalogs& c, const WorldState& world,
                                  const Missile& m);

}  // namespace prrsim
