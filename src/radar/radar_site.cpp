// STUB: to be replaced by the real radar model.
#include "radar/radar_site.h"

#include "sim/world_state.h"

namespace prrsim {

void updateRadar(WorldState&, int32_t) {}
void assignTarget(WorldState&, int32_t, int32_t) {}
void removeTrackedAircraft(WorldState&, int32_t, int32_t) {}
void resetTracking(WorldState&, int32_t) {}
void setEmission(RadarSite&, bool) {}
void setBlinkPeriod(RadarSite&, int32_t) {}
void setScanMethod(RadarSite&, int32_t) {}
void setFrequencyPercent(RadarSite&, int32_t) {}
void setAntennaDirection(RadarSite&, int32_t) {}
double frequencyAt(int32_t, int32_t) { return 0; }

}  // namespace prrsim
