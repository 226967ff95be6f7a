#pragma once

// The seeker's geometry and power formulas before the performance work (bench/before/before.h),
// unchanged apart from their namespace: inside prrsim::before they hide the program's versions
// from the former fast reception.

#include <algorithm>
#include <cmath>
#include <cstdint>

#include "catalog/missile_catalog.h"
#include "catalog/radar_catalog.h"
#include "missile/seeker/seeker_reception.h"
#include "world/geometry.h"
#include "world/landmark.h"
#include "world/missile.h"
#include "world/radar_site.h"

namespace prrsim::before {

// Distances below this count as this in the power formulas (no infinite power at a radar).
inline constexpr double kMinPowerDistance = 0.01;

// The magnitude of an angle as the seeker compares it: truncated, then made positive.
inline int32_t magnitude(double angle) {
    return absInt(trunc32(angle));
}

inline double horizontalDistance(const Missile& m, int32_t px, int32_t py) {
    return std::sqrt(square(px - m.x) + square(py - m.y));
}

inline int32_t bearingTo(const Missile& m, int32_t px, int32_t py) {
    return bearingDeg(m.x, m.y, px, py);
}

// Elevation of a point of height h at horizontal distance d as seen from the missile.
inline int32_t lineOfSightElevation(const Missile& m, double d, int32_t h) {
    return bearingDeg(0, m.altitude, d, h);
}

inline int32_t lineOfSightElevation(const Missile& m, const RadarSite& r) {
    return lineOfSightElevation(m, horizontalDistance(m, r.x, r.y), r.height);
}

inline const PrfMode& channelMode(const RadarType& rt, const RadarSite& r, Channel channel) {
    return channel == Channel::Illumination ? rt.illuminationMode : prfModeOf(rt, r.prfMode);
}

// Whether the radar's beam, pointing at (azimuth, elevation), covers direction b at elevation
// e as seen from the radar.
inline bool inBeam(const RadarType& rt, const RadarSite& r, int32_t b, int32_t e) {
    if (magnitude(angleDiff(r.azimuth, b)) > 0.5 * rt.beamWidthAz) {
        return false;
    }
    switch (rt.scanKind) {
        case kScanSectorRaster:
        case kScanSectorSweep:  // pencil beam
            return magnitude(angleDiff(r.elevation, e)) <= 0.5 * rt.beamWidthEl;
        case kScanRotationFan:
            return 0 <= e && e <= rt.beamWidthEl;
        default:  // all elevations
            return true;
    }
}

inline double sidelobeFactor(int32_t sidelobeLevel) {
    return std::pow(10.0, 0.1 * sidelobeLevel);
}

inline double antennaGain(const RadarType& rt) {
    return 129600 / (rt.beamWidthAz * rt.beamWidthEl);
}

// square(100 x distance), the distance no shorter than kMinPowerDistance.
inline double rangeTerm(double distance) {
    return square(100 * std::max(distance, kMinPowerDistance));
}

// A landmark seen from a radar: bearing, elevation and the range term of the distance between
// them (the square root of the integer squared distance).
struct RadarToLandmark {
    int32_t bearing = 0;
    int32_t elevation = 0;
    double term = 0;
};

inline RadarToLandmark radarToLandmark(const RadarSite& r, const Landmark& l) {
    const int64_t dx = int64_t{l.x} - r.x;
    const int64_t dy = int64_t{l.y} - r.y;
    const double d1 = std::sqrt(static_cast<double>(dx * dx + dy * dy));
    return {bearingDeg(r.x, r.y, l.x, l.y), bearingDeg(0, r.height, d1, l.height), rangeTerm(d1)};
}

// The power reflected by a landmark of `size`: pt radiated with gain g over the radar-landmark
// range term1, then the landmark-missile range term2.
inline double reflectedPowerValue(double pt, double antennaArea, double size, double g,
                                  double term2, double term1) {
    return pt * antennaArea * size * 0.7 * g / (12.56 * 12.56 * term2 * term1);
}

// Looking straight down, the azimuth says nothing: the field of view's azimuth test passes.
inline bool azimuthOverridden(const MissileType& type, const Missile& m) {
    const double halfEl = 0.5 * type.fieldOfViewEl;
    return -halfEl < 270 - m.pitch && 270 - m.pitch < halfEl;
}

// The field of view about the antenna direction, in azimuth, for direction b (whole degrees)
// from the missile; and in elevation, for elevation e.
inline bool inFieldOfViewAzimuth(const MissileType& type, const Missile& m, int32_t b) {
    const int32_t az =
        azimuthOverridden(type, m) ? 0 : magnitude(angleDiff(m.heading + m.headAzimuth, b));
    return az < 0.5 * type.fieldOfViewAz;
}

inline bool inFieldOfViewElevation(const MissileType& type, const Missile& m, int32_t e) {
    const double halfEl = 0.5 * type.fieldOfViewEl;
    const double el = angleDiff(m.pitch + m.headElevation, e);
    return -halfEl < el && el < halfEl;
}

// While seeker data are present, pulsed emissions must come from near the target direction:
// the gate then decides alone, for the direct path and every reflection alike.
inline bool directionGateActive(const SeekerCatalogs& c, const Missile& m, const RadarSite& r) {
    return m.targetPositionState == kTargetFromSeeker && c.typeOf(m).directionGate &&
           prfModeOf(c.typeOf(r), r.prfMode).pulsed;
}

inline bool insideDirectionGate(const MissileType& type, const Missile& m, const RadarSite& r) {
    const double tolerance = 1.5 * type.bearingNoise;
    return magnitude(angleDiff(m.bearingToTarget, bearingTo(m, r.x, r.y))) < tolerance &&
           magnitude(angleDiff(m.elevationToTarget, lineOfSightElevation(m, r))) < tolerance;
}

// A cheap, conservative pre-test of an azimuth comparison: may a direction (dx, dy) on the map
// lie within `halfAngle` degrees of the direction `axis` as bearingDeg, angleDiff and the
// truncated magnitude measure it? False only when it surely does not: bearingDeg stays within
// 1.2 degrees of the true direction, the truncated magnitude hides less than one degree and
// angleDiff never reports less than the true turn, so a cone three degrees wider than the test
// holds every direction the test can accept.
class AzimuthCone {
  public:
    AzimuthCone() = default;
    AzimuthCone(double axis, double halfAngle) {
        constexpr double kSlack = 3.0;
        constexpr double kDegree = 3.14159265358979323846 / 180;
        const double width = halfAngle + kSlack;
        if (!std::isfinite(axis) || !(width > 0) || width >= 80) {
            return;  // nothing to gain or nothing safe to say: everything passes
        }
        active_ = true;
        ux_ = std::cos(axis * kDegree);
        uy_ = std::sin(axis * kDegree);
        const double t = std::tan(width * kDegree);
        tan2_ = t * t;
    }
    // An empty cone: nothing passes.
    static AzimuthCone none() {
        AzimuthCone k;
        k.active_ = true;
        k.empty_ = true;
        return k;
    }

    bool mayContain(double dx, double dy) const {
        if (!active_) {
            return true;
        }
        if (empty_) {
            return false;
        }
        if (dx == 0 && dy == 0) {
            return true;  // bearingDeg gives 270 for the same point
        }
        const double dot = ux_ * dx + uy_ * dy;
        const double cross = ux_ * dy - uy_ * dx;
        return dot > 0 && cross * cross <= tan2_ * dot * dot;
    }

  private:
    bool active_ = false;
    bool empty_ = false;
    double ux_ = 0;
    double uy_ = 0;
    double tan2_ = 0;
};

// The cone that holds every direction the field-of-view azimuth test can accept.
inline AzimuthCone fieldOfViewCone(const MissileType& type, const Missile& m) {
    if (azimuthOverridden(type, m)) {
        return 0 < 0.5 * type.fieldOfViewAz ? AzimuthCone{} : AzimuthCone::none();
    }
    return AzimuthCone(m.heading + m.headAzimuth, 0.5 * type.fieldOfViewAz);
}

// The cone that holds every direction the direction gate can accept.
inline AzimuthCone directionGateCone(const MissileType& type, const Missile& m) {
    return AzimuthCone(m.bearingToTarget, 1.5 * type.bearingNoise);
}

}  // namespace prrsim::before
