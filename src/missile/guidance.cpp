// STUB: to be replaced by the real guidance and flight.
#include "missile/guidance.h"

#include "sim/world_state.h"

namespace prrsim {

void launchMissile(Missile&) {}
bool guidanceStep(WorldState&, int32_t) { return false; }
bool flightStep(WorldState&, int32_t) { return false; }
double steeringCommand(double, double, double, double) { return 0; }

}  // namespace prrsim
