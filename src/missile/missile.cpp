// STUB: to be replaced by the real missile record operations.
#include "missile/missile.h"

#include "sim/world_state.h"

namespace prrsim {

void createMissile(WorldState&, Missile&, int32_t, int32_t, int32_t) {}
int32_t addMissile(WorldState&, int32_t, int32_t) { return -1; }
void followCarrier(WorldState&, Missile&) {}

}  // namespace prrsim
