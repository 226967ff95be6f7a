#include "radar/radar_model.h"

#include <cmath>
#include <limits>

#include "catalog/radar_catalog.h"
#include "world/geometry.h"
#include "world/quick_bearing.h"
#include "world/units.h"
#include "world/world_state.h"

namespace prrsim {

namespace {

bool validType(int32_t typeIndex) {
    return typeIndex >= 0 && typeIndex < radarTypeCount();
}

// Number of track-list entries in use; never beyond the list's storage.
int32_t trackEntries(const RadarSite& r) {
    if (r.trackCount < 0) {
        return 0;
    }
    return r.trackCount < kTrackListCapacity ? r.trackCount : kTrackListCapacity;
}

void notifyPanel(WorldState& world, int32_t row) {
    if (world.observer != nullptr) {
        world.observer->radarPanelRefresh(row);
    }
}

// Unsigned magnitude of the whole-degree turn from a to b.
int32_t wholeDegreesBetween(double a, double b) {
    return absInt(trunc32(angleDiff(a, b)));
}

bool scans(const RadarSite& r, const RadarType& t) {
    if (!r.rotationOn) {
        return false;
    }
    return t.kind == kSearchRadar ||
           ((t.kind == kSearchTrackRadar || t.kind == kMultiTargetRadar) && !r.captureActive);
}

bool follows(const RadarSite& r, const RadarType& t) {
    return t.kind == kFireControlRadar ||
           ((t.kind == kSearchTrackRadar || t.kind == kMultiTargetRadar) && r.captureActive);
}

int32_t rotationRate(const RadarSite& r, const RadarType& t) {
    if (r.rotationRateIndex < 0 || r.rotationRateIndex >= t.rotationRateCount) {
        return 0;
    }
    return t.rotationRates[r.rotationRateIndex];
}

// Sector (or all-round) scan with a continuous elevation sweep.
void scanSectorSweep(RadarSite& r, const RadarType& t, const ScanMethod& m) {
    r.elevation += ((m.elevationMax - m.elevationMin) * m.scanRate / t.beamWidthEl) * kTickSeconds;
    if (r.elevation > m.elevationMax) {
        r.elevation = m.elevationMin;
    }
    r.azimuth += m.scanRate * kTickSeconds * r.scanDirection;
    const int32_t d = wholeDegreesBetween(r.azimuth, r.antennaDirection);
    if (!r.inSector && d < m.sectorWidth) {
        r.inSector = true;
    }
    if (d > m.sectorWidth && r.inSector) {
        r.scanDirection = -r.scanDirection;
    }
    if (r.azimuth > 360) {
        r.azimuth -= 360;
    }
    // One scan per tick; held at the top so a radar left running for ever cannot overflow.
    if (r.scanCount < std::numeric_limits<int32_t>::max()) {
        r.scanCount += 1;
    }
}

// Sector swing raising the beam one beam width at each reversal.
void scanSectorRaster(RadarSite& r, const RadarType& t, const ScanMethod& m) {
    r.azimuth += m.scanRate * kTickSeconds * r.scanDirection;
    const int32_t d = wholeDegreesBetween(r.azimuth, r.antennaDirection);
    const double halfWidth = m.sectorWidth * 0.5;
    // A beam left outside its sector by a new direction or method first comes back into it
    // before the edges reverse it, as the sweep scan does.
    if (!r.inSector && d < halfWidth) {
        r.inSector = true;
    }
    if (d > halfWidth && r.inSector) {
        if (m.sectorWidth < 359) {
            r.elevation += t.beamWidthEl;
        }
        r.scanDirection = -r.scanDirection;
        if (absInt(trunc32(r.elevation)) > m.elevationMax) {
            r.elevation = 0;
        }
    }
}

// Continuous rotation; one scan per turn.
void scanRotation(RadarSite& r, const RadarType& t) {
    r.azimuth += rotationRate(r, t) * 3.6 * kTickSeconds;
    if (r.azimuth > 360) {
        r.azimuth -= 360;
        r.scanCount += 1;
    }
}

// Blinking: radiate during one scan, then stay silent for blinkPeriod scans.
void blink(WorldState& world, RadarSite& r) {
    if (r.blinkPeriod == 0 || !r.emissionOn) {
        return;
    }
    bool switched = false;
    if (r.scanCount - 1 == r.blinkPeriod && !r.radiating) {
        r.radiating = true;
        r.scanCount = 0;
        switched = true;
    } else if (r.scanCount >= 1 && r.scanCount <= r.blinkPeriod && r.radiating) {
        r.radiating = false;
        switched = true;
    }
    if (switched) {
        notifyPanel(world, r.index);
    }
}

void scan(WorldState& world, RadarSite& r, const RadarType& t) {
    const ScanMethod& m = scanMethodOf(t, r.scanMethod);
    switch (t.scanKind) {
        case kScanSectorSweep:
            scanSectorSweep(r, t, m);
            break;
        case kScanSectorRaster:
            scanSectorRaster(r, t, m);
            break;
        default:
            scanRotation(r, t);
            break;
    }
    blink(world, r);
}

// Points the antenna at aircraft a, in whole degrees; returns the bearing.
int32_t pointAt(RadarSite& r, const Aircraft& a) {
    const int32_t bearing = quickBearingDeg(r.x, r.y, a.x, a.y);
    r.azimuth = bearing;
    const double d = std::sqrt(square(a.x - r.x) + square(a.y - r.y));
    r.elevation = quickBearingDeg(0, r.height, d, a.altitude);
    return bearing;
}

// The track-list entry at the cursor, or -1 when the cursor is on no entry.
int32_t entryAtCursor(const RadarSite& r) {
    if (r.trackCursor < 0 || r.trackCursor >= trackEntries(r)) {
        return -1;
    }
    return r.trackList[r.trackCursor];
}

// Multi-target radar: next target after the dwell time, and aircraft outside the sector dropped.
// `pointed` is the aircraft the antenna was pointed at during this update (-1 none) and
// `pointedBearing` its bearing, which need not be computed twice.
void switchTargets(WorldState& world, int32_t row, const RadarType& t, int32_t pointed,
                   int32_t pointedBearing) {
    RadarSite& r = radarAt(world, row);
    r.dwellTime += kTickSeconds;
    if (r.dwellTime > 1.0 / t.trackSwitchRate) {
        r.trackCursor += 1;
        r.dwellTime = 0;
    }
    if (r.trackCursor >= r.trackCount) {
        r.trackCursor = 0;
    }
    r.currentTarget = entryAtCursor(r);
    // An entry that moves into place i after a removal is examined on the next tick.
    for (int32_t i = 0; i < trackEntries(r); ++i) {
        const int32_t entry = r.trackList[i];
        if (!validAircraft(world, entry)) {
            continue;
        }
        const Aircraft& a = aircraftAt(world, entry);
        const int32_t b = entry == pointed ? pointedBearing : quickBearingDeg(r.x, r.y, a.x, a.y);
        if (wholeDegreesBetween(r.antennaDirection, b) > t.trackSectorWidth * 0.5) {
            removeTrackedAircraft(world, row, i);
        }
    }
}

void follow(WorldState& world, int32_t row, const RadarType& t) {
    RadarSite& r = radarAt(world, row);
    int32_t pointed = -1;
    int32_t pointedBearing = 0;
    if (follows(r, t) && validAircraft(world, r.currentTarget)) {
        pointed = r.currentTarget;
        pointedBearing = pointAt(r, aircraftAt(world, pointed));
    }
    if (t.kind == kMultiTargetRadar && r.captureActive) {
        switchTargets(world, row, t, pointed, pointedBearing);
    }
}

}  // namespace

void updateRadar(WorldState& world, int32_t row) {
    if (!validRadar(world, row) || !validType(radarAt(world, row).typeIndex)) {
        return;
    }
    RadarSite& r = radarAt(world, row);
    const RadarType& t = radarType(r.typeIndex);
    if (scans(r, t)) {
        scan(world, r, t);
    } else {
        follow(world, row, t);
    }
}

void assignTarget(WorldState& world, int32_t row, int32_t aircraft) {
    if (!validRadar(world, row) || !validAircraft(world, aircraft)) {
        return;
    }
    RadarSite& r = radarAt(world, row);
    if (!r.emissionOn || !validType(r.typeIndex)) {
        return;
    }
    const RadarType& t = radarType(r.typeIndex);
    if (t.kind == kFireControlRadar || t.kind == kSearchTrackRadar) {
        r.currentTarget = aircraft;
        r.captureActive = true;
        noteRadarTarget(world, row, aircraft, EventKind::RadarTargetAssigned);
        notifyPanel(world, row);
        return;
    }
    if (t.kind != kMultiTargetRadar) {
        return;
    }
    const int32_t count = trackEntries(r);
    if (count >= t.maxTracks || count >= kTrackListCapacity) {
        return;
    }
    for (int32_t i = 0; i < count; ++i) {
        if (r.trackList[i] == aircraft) {
            return;
        }
    }
    const Aircraft& a = aircraftAt(world, aircraft);
    const int32_t b = bearingDeg(r.x, r.y, a.x, a.y);
    if (wholeDegreesBetween(r.antennaDirection, b) > t.trackSectorWidth * 0.5) {
        return;
    }
    r.trackList[count] = aircraft;
    r.trackCount = count + 1;
    noteRadarTarget(world, row, aircraft, EventKind::RadarTargetAssigned);
    notifyPanel(world, row);
}

void removeTrackedAircraft(WorldState& world, int32_t row, int32_t entry) {
    if (!validRadar(world, row)) {
        return;
    }
    RadarSite& r = radarAt(world, row);
    const int32_t count = trackEntries(r);
    if (entry >= 0 && entry < count) {
        noteRadarTarget(world, row, r.trackList[entry], EventKind::RadarTargetDropped);
        for (int32_t i = entry; i + 1 < count; ++i) {
            r.trackList[i] = r.trackList[i + 1];
        }
        r.trackCount = count - 1;
        if (r.trackCount < 1) {
            r.trackCursor = -1;
            r.currentTarget = -1;
            r.captureActive = false;
        }
    }
    notifyPanel(world, row);
}

void resetTracking(WorldState& world, int32_t row) {
    if (!validRadar(world, row)) {
        return;
    }
    noteTrackingReset(world, row);
    RadarSite& r = radarAt(world, row);
    r.currentTarget = -1;
    r.captureActive = false;
    r.trackCount = 0;
    notifyPanel(world, row);
}

void setEmission(RadarSite& radar, bool on) {
    radar.emissionOn = on;
    radar.radiating = on;
    if (!on) {
        radar.currentTarget = -1;
        radar.trackCursor = -1;
        radar.illuminationOn = false;
    }
}

void setBlinkPeriod(RadarSite& radar, int32_t period) {
    radar.blinkPeriod = period;
    radar.scanCount = 1;
    // Setting 0 is steady emission: the radar radiates while its emission is switched on.
    radar.radiating = period == 0 ? radar.emissionOn : false;
}

void setScanMethod(RadarSite& radar, int32_t method) {
    radar.scanMethod = method;
    radar.inSector = false;
}

void setFrequencyPercent(RadarSite& radar, int32_t percent) {
    radar.frequencyPercent = percent;
    radar.frequency = frequencyAt(radar.typeIndex, percent);
}

void setAntennaDirection(RadarSite& radar, int32_t degrees) {
    radar.antennaDirection = degrees;
    radar.inSector = false;
}

void setRotation(RadarSite& radar, bool on) {
    radar.rotationOn = on;
}

void setIllumination(RadarSite& radar, bool on) {
    radar.illuminationOn = on;
}

void setPrfMode(RadarSite& radar, int32_t mode) {
    radar.prfMode = mode;
}

int32_t radarCompassDirection(int32_t dx, int32_t dy) {
    const double e = compassAngle(dx, dy);
    return trunc32(e * 180 * (1 / 3.14));
}

}  // namespace prrsim
