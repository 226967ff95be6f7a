#include "radar/radar_control.h"

#include "radar/radar_model.h"

namespace prrsim {

bool setEmission(WorldState& world, int32_t row, bool on) {
    if (!validRadar(world, row)) {
        return false;
    }
    RadarSite& r = radarAt(world, row);
    const bool was = r.emissionOn;
    setEmission(r, on);
    if (was != on) {
        noteRadarSwitch(world, row, on ? EventKind::EmissionOn : EventKind::EmissionOff);
    }
    return true;
}

// Blinking is logged when it starts, changes its setting and stops, never at each switch of
// the radiation.
bool setBlinkPeriod(WorldState& world, int32_t row, int32_t period) {
    if (!validRadar(world, row)) {
        return false;
    }
    RadarSite& r = radarAt(world, row);
    const int32_t was = r.blinkPeriod;
    setBlinkPeriod(r, period);
    if (was != period) {
        noteRadarSwitch(world, row, period != 0 ? EventKind::BlinkStarted : EventKind::BlinkStopped,
                        period);
    }
    return true;
}

bool setIllumination(WorldState& world, int32_t row, bool on) {
    if (!validRadar(world, row)) {
        return false;
    }
    RadarSite& r = radarAt(world, row);
    const bool was = r.illuminationOn;
    setIllumination(r, on);
    if (was != on) {
        noteRadarSwitch(world, row, on ? EventKind::IlluminationOn : EventKind::IlluminationOff);
    }
    return true;
}

bool setFrequencyPercent(WorldState& world, int32_t row, int32_t percent) {
    if (!validRadar(world, row)) {
        return false;
    }
    RadarSite& r = radarAt(world, row);
    const int32_t was = r.frequencyPercent;
    setFrequencyPercent(r, percent);
    if (was != percent) {
        noteRadarSwitch(world, row, EventKind::FrequencyChanged, percent);
    }
    return true;
}

bool setPrfMode(WorldState& world, int32_t row, int32_t mode) {
    if (!validRadar(world, row)) {
        return false;
    }
    RadarSite& r = radarAt(world, row);
    const int32_t was = r.prfMode;
    setPrfMode(r, mode);
    if (was != mode) {
        noteRadarSwitch(world, row, EventKind::EmissionModeChanged, mode);
    }
    return true;
}

}  // namespace prrsim
