#pragma once

#include <array>
#include <cstdint>

namespace prrsim {

struct WorldState;

inline constexpr int32_t kTrackListCapacity = 20;

// One radar standing on the map.
struct RadarSite {
    int32_t index = 0;  // its table position: a removal below lowers it with the record
    int32_t typeIndex = 0;
    int32_t placedComplex = -1;
    bool emissionOn = false;
    bool rotationOn = false;
    bool radiating = false;
    int32_t scanCount = 0;
    int32_t currentTarget = -1;
    int32_t trackCount = 0;
    std::array<int32_t, kTrackListCapacity> trackList{};
    int32_t trackCursor = 0;
    bool illuminationOn = false;
    bool captureActive = false;
    int32_t antennaDirection = 0;
    int32_t rotationRateIndex = 0;
    int32_t blinkPeriod = 0;
    bool prfWobble = false;
    int32_t scanMethod = 0;
    double dwellTime = 0;
    int32_t scanDirection = 1;
    bool inSector = false;
    double azimuth = 0;
    double elevation = 0;
    int32_t frequencyPercent = 0;
    double frequency = 0;
    int32_t prfMode = 0;
    int32_t x = 0;
    int32_t y = 0;
    int32_t height = 0;
};

// A SAM complex put on the map: its member radars and its catalogue complex.
inline constexpr int32_t kComplexMemberCapacity = 3;
struct PlacedComplex {
    int32_t memberCount = 0;
    std::array<int32_t, kComplexMemberCapacity> members{};
    int32_t complexIndex = 0;
};

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

// frequency = freqMin + (freqMax - freqMin) x 0.01 x percent of the radar's type.
double frequencyAt(int32_t typeIndex, int32_t percent);

}  // namespace prrsim
