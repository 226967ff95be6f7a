// STUB: to be replaced by the real seeker reception.
#include "missile/seeker_reception.h"

#include "sim/world_state.h"

namespace prrsim {

bool bandCovered(const Missile&, const RadarSite&, Channel) { return false; }
bool emissionKindAccepted(const Missile&, const RadarSite&, Channel) { return false; }
bool radarTypeAccepted(const Missile&, int32_t) { return false; }
int32_t frequencyChannelOf(const Missile&, double) { return 0; }
int32_t priorityRank(const Missile&, const RadarSite&) { return -1; }
bool inGimbalRange(const Missile&, const RadarSite&) { return false; }
bool inFieldOfView(const Missile&, const RadarSite&) { return false; }
bool inFieldOfViewAt(const Missile&, const RadarSite&, const Landmark&) { return false; }
Reception directPower(const Missile&, const RadarSite&, Channel) { return {}; }
Reception reflectedPower(const Missile&, const RadarSite&, const Landmark&) { return {}; }
SearchResult searchEmitters(WorldState&, Missile&) { return {}; }
void lockOnEmitter(WorldState&, Missile&, int32_t, Channel, bool) {}

}  // namespace prrsim
