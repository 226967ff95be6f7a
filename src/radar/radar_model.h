#pragma once

#include <cstdint>

#include "world/radar_site.h"

namespace prrsim {

struct WorldState;

// Per-tick antenna, blink and tracking update of radar `row`.
void updateRadar(WorldState& world, int32_t row);

// Capture click: radar `row` takes aircraft `aircraft` as target (kind 4/1) or appends it to its
// list (kind 2). Nothing happens for aircraft -1, emission off or a search radar.
void assignTarget(WorldState& world, int32_t row, int32_t aircraft);

// Removes entry `entry` of radar `row`'s track list (ignored outside the list) and asks the
// radar panel to show radar `row`.
void removeTrackedAircraft(WorldState& world, int32_t row, int32_t entry);

// "Сброс всего".
void resetTracking(WorldState& world, int32_t row);

// "Излучение".
void setEmission(RadarSite& radar, bool on);

// "Мерцание": restarts the blink so that the radar radiates again after `period` scans;
// setting 0 is steady emission (radiating while the emission is switched on).
void setBlinkPeriod(RadarSite& radar, int32_t period);

// "Методы обзора": a new method starts outside its sector.
void setScanMethod(RadarSite& radar, int32_t method);

// Frequency track bar: percent 0..100 of the type's range.
void setFrequencyPercent(RadarSite& radar, int32_t percent);

// The antenna-direction compass: a new direction puts the beam outside its sector.
void setAntennaDirection(RadarSite& radar, int32_t degrees);

// "Вращение".
void setRotation(RadarSite& radar, bool on);

// "Подсвет".
void setIllumination(RadarSite& radar, bool on);

// "Сигнал": the emission mode, an index into the type's modes.
void setPrfMode(RadarSite& radar, int32_t mode);

// The antenna direction a click on the radar panel's compass sets, for the click's offset
// (dx, dy) from the picture's centre: right gives 360, down 90, left 180.
int32_t radarCompassDirection(int32_t dx, int32_t dy);

}  // namespace prrsim
