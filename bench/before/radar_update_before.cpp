// The radar update before the performance work (bench/before/before.h): the former antenna,
// blink and tracking steps, unchanged apart from their namespace.

#include <cmath>
#include <limits>

#include "before.h"
#include "catalog/radar_catalog.h"
#include "radar/radar_model.h"
#include "world/geometry.h"
#include "world/units.h"
#include "world/world_state.h"

namespace prrsim::before {

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

// Points the antenna at aircraft a, in whole degrees.
void pointAt(RadarSite& r, const Aircraft& a) {
    r.azimuth = bearingDeg(r.x, r.y, a.x, a.y);
    const double d = std::sqrt(square(a.x - r.x) + square(a.y - r.y));
    r.elevation = bearingDeg(0, r.height, d, a.altitude);
}

// The track-list entry at the cursor, or -1 when the cursor is on no entry.
int32_t entryAtCursor(const RadarSite& r) {
    if (r.trackCursor < 0 || r.trackCursor >= trackEntries(r)) {
        return -1;
    }
    return r.trackList[r.trackCursor];
}

// Multi-target radar: next target after the dwell time, and aircraft outside the sector dropped.
void switchTargets(WorldState& world, int32_t row, const RadarType& t) {
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
        const int32_t b = bearingDeg(r.x, r.y, a.x, a.y);
        if (wholeDegreesBetween(r.antennaDirection, b) > t.trackSectorWidth * 0.5) {
            removeTrackedAircraft(world, row, i);
        }
    }
}

void follow(WorldState& world, int32_t row, const RadarType& t) {
    RadarSite& r = radarAt(world, row);
    if (follows(r, t) && validAircraft(world, r.currentTarget)) {
        pointAt(r, aircraftAt(world, r.currentTarget));
    }
    if (t.kind == kMultiTargetRadar && r.captureActive) {
        switchTargets(world, row, t);
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

}  // namespace prrsim::before
