// STUB: to be replaced by the real missile window operations.
#include "missile/missile_control.h"

namespace prrsim {

int32_t designatedRadarOf(const WorldState&, const Missile&) { return -1; }
bool activateMissile(WorldState&, int32_t) { return false; }
bool captureButton(WorldState&, int32_t) { return false; }
bool launchButton(WorldState&, int32_t) { return false; }
bool setSeekerOnDistance(WorldState&, int32_t, int32_t) { return false; }

}  // namespace prrsim
