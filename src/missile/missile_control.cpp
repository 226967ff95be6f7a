#include "missile/missile_control.h"

#include "catalog/missile_catalog.h"
#include "missile/guidance.h"
#include "missile/seeker/seeker_reception.h"

namespace prrsim {

int32_t designatedRadarOf(const WorldState& world, const Missile& m) {
    if (!validAircraft(world, m.carrier)) {
        return -1;
    }
    // A target index left behind by a radar removal counts as none.
    const int32_t target = aircraftAt(world, m.carrier).targetRadar;
    return validRadar(world, target) ? target : -1;
}

bool activateMissile(WorldState& world, int32_t row) {
    if (!validMissile(world, row)) {
        return false;
    }
    watchMissile(world, row);
    missileAt(world, row).activated = 1;
    reportMissile(world, row);
    return true;
}

bool captureButton(WorldState& world, int32_t row) {
    if (!validMissile(world, row)) {
        return false;
    }
    watchMissile(world, row);
    Missile& m = missileAt(world, row);
    if (m.capturing) {
        m.capturing = 0;
        reportMissile(world, row);
        return true;
    }
    // The crew locks on (or enters the data of) the carrier's attack target; without one the
    // seeker only starts its capture.
    const int32_t radar = designatedRadarOf(world, m);
    if (radar >= 0) {
        lockOnEmitter(programCatalogs(), world, m, radar, Channel::Main, false);
        noteTargetDesignated(world, row, radar);
    }
    m.capturing = launchMode(m.typeIndex, m.launchModeIndex).captureBeforeLaunch;
    reportMissile(world, row);
    return true;
}

bool launchButton(WorldState& world, int32_t row) {
    if (!validMissile(world, row)) {
        return false;
    }
    watchMissile(world, row);
    launchMissile(missileAt(world, row));
    reportMissile(world, row);
    return true;
}

bool setSeekerOnDistance(WorldState& world, int32_t row, int32_t value) {
    if (!validMissile(world, row) || value < 0 || value > 100) {
        return false;
    }
    missileAt(world, row).seekerOnDistance = value;
    return true;
}

}  // namespace prrsim
