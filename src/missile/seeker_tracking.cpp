// STUB: to be replaced by the real seeker tracking.
#include "missile/seeker_tracking.h"

#include "sim/world_state.h"

namespace prrsim {

void seekerStep(WorldState&, Missile&) {}
bool acceptEmission(const Missile&, const RadarSite&, int32_t, int32_t& channelOut) {
    channelOut = 0;
    return false;
}
void headStep(WorldState&, Missile&) {}
void timerStep(Missile&) {}

}  // namespace prrsim
