#pragma once

// The seeker's geometry and power formulas, shared by the reception tests, the seeker step and
// its cached fast path so that every angle and power is computed by one piece of code.

#include <algorithm>
#include <cmath>
#include <cstdint>

#include "catalog/missile_catalog.h"
#include "catalog/radar_catalog.h"
#include "missile/seeker/seeker_reception.h"
#include "missile/seeker/seeker_scratch.h"
#include "world/geometry.h"
#include "world/landmark.h"
#include "world/missile.h"
#include "world/quick_bearing.h"
#include "world/radar_site.h"

namespace prrsim::seeker {

// Distances below this count as this in the power formulas (no infinite power at a radar).
inline constexpr double kMinPowerDistance = 0.01;

// The magnitude of an angle as the seeker compares it: truncated, then made positive.
inline int32_t magnitude(double angle) {
    return absInt(trunc32(angle));
}

inline double horizontalDistance(const Missile& m, int32_t px, int32_t py) {
    return std::sqrt(square(px - m.x) + square(py - m.y));
}

// The whole-degree direction the geometry below measures with: the library's bearingDeg, or
// the same results found mostly without its arc tangent (world/quick_bearing.h), which the fast
// reception uses.
struct LibraryBearing {
    int32_t operator()(double x1, double y1, double x2, double y2) const {
        return bearingDeg(x1, y1, x2, y2);
    }
};
struct QuickBearing {
    int32_t operator()(double x1, double y1, double x2, double y2) const {
        return quickBearingDeg(x1, y1, x2, y2);
    }
};

template <typename Bearing = LibraryBearing>
inline int32_t bearingTo(const Missile& m, int32_t px, int32_t py) {
    return Bearing{}(m.x, m.y, px, py);
}

// Elevation of a point of height h at horizontal distance d as seen from the missile.
template <typename Bearing = LibraryBearing>
inline int32_t lineOfSightElevation(const Missile& m, double d, int32_t h) {
    return Bearing{}(0, m.altitude, d, h);
}

template <typename Bearing = LibraryBearing>
inline int32_t lineOfSightElevation(const Missile& m, const RadarSite& r) {
    return lineOfSightElevation<Bearing>(m, horizontalDistance(m, r.x, r.y), r.height);
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

// The power of a radar's channel reaching the missile directly (directPower).
template <typename Bearing = LibraryBearing>
inline Reception directPowerOf(const SeekerCatalogs& c, const Missile& m, const RadarSite& r,
                               Channel channel) {
    const bool illumination = channel == Channel::Illumination;
    if (!r.radiating || (illumination && !r.illuminationOn)) {
        return {};
    }
    const RadarType& rt = c.typeOf(r);
    const MissileType& type = c.typeOf(m);
    const int32_t b = Bearing{}(r.x, r.y, m.x, m.y);
    const double d = horizontalDistance(m, r.x, r.y);
    const int32_t e = Bearing{}(0, r.height, d, m.altitude);
    double pt = illumination ? rt.illuminatorPower : rt.power;
    if (!inBeam(rt, r, b, e)) {
        pt *= sidelobeFactor(rt.sidelobeLevel);
    }
    const double g = antennaGain(rt);
    const double power = pt * type.antennaArea * 0.7 * g / (12.56 * rangeTerm(d));
    return {power >= type.sensitivity, power};
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

// The direction gate's two halves: the azimuth, then the elevation.
template <typename Bearing = LibraryBearing>
inline bool insideDirectionGateAzimuth(const MissileType& type, const Missile& m,
                                       const RadarSite& r) {
    return magnitude(angleDiff(m.bearingToTarget, bearingTo<Bearing>(m, r.x, r.y))) <
           1.5 * type.bearingNoise;
}

template <typename Bearing = LibraryBearing>
inline bool insideDirectionGateElevation(const MissileType& type, const Missile& m,
                                         const RadarSite& r) {
    return magnitude(angleDiff(m.elevationToTarget, lineOfSightElevation<Bearing>(m, r))) <
           1.5 * type.bearingNoise;
}

template <typename Bearing = LibraryBearing>
inline bool insideDirectionGate(const MissileType& type, const Missile& m, const RadarSite& r) {
    return insideDirectionGateAzimuth<Bearing>(type, m, r) &&
           insideDirectionGateElevation<Bearing>(type, m, r);
}

// The field-of-view test of a radar's direct path (inFieldOfView): the direction gate, when
// active, decides alone; otherwise the azimuth, then (only if it passes) the elevation.
template <typename Bearing = LibraryBearing>
inline bool inFieldOfViewOf(const SeekerCatalogs& c, const Missile& m, const RadarSite& r) {
    const MissileType& type = c.typeOf(m);
    if (directionGateActive(c, m, r)) {
        return insideDirectionGate<Bearing>(type, m, r);
    }
    return inFieldOfViewAzimuth(type, m, bearingTo<Bearing>(m, r.x, r.y)) &&
           inFieldOfViewElevation(type, m, lineOfSightElevation<Bearing>(m, r));
}

// A cheap, conservative pre-test of an azimuth comparison: may a direction (dx, dy) on the map
// lie within `halfAngle` degrees of the direction `axis` as bearingDeg, angleDiff and the
// truncated magnitude measure it? False only when it surely does not: bearingDeg stays within
// 1.2 degrees of the true direction, the truncated magnitude hides less than one degree and
// angleDiff never reports less than the true turn, so a cone three degrees wider than the test
// holds every direction the test can accept.
class AzimuthCone {
  public:
    using TangentMemo = ConeTangentMemo;

    AzimuthCone() = default;
    AzimuthCone(double axis, double halfAngle) {
        const double width = halfAngle + kSlack;
        if (!std::isfinite(axis) || !(width > 0) || width >= 80) {
            return;  // nothing to gain or nothing safe to say: everything passes
        }
        active_ = true;
        ux_ = std::cos(axis * kDegree);
        uy_ = std::sin(axis * kDegree);
        tan_ = std::tan(width * kDegree);
        tan2_ = tan_ * tan_;
    }
    // A narrower cone for the same test, magnitude(angleDiff(axis, b)) < limit on the
    // bearingDeg b of a direction, its tangent taken from `memo` when the width is the one
    // remembered. The test passes only when |angleDiff| < K = ceil(limit); bearingDeg lies
    // between 1.05 degrees below the true direction and 0.05 above it (its 3.14 and 57.325
    // move the scaled angle by at most 0.047 either way before the truncation), so the true
    // direction then lies within -K - 0.05 and K + 1.05 of the axis. The cone, turned half a
    // degree towards the larger side, holds -K - 0.3 to K + 1.3.
    // Inside it, a narrower cone about the same axis holds only directions the test surely
    // accepts (surelyContains): those within -K + 1.05 and K - 0.05 of the axis, whose bearingDeg
    // then lies within -K and K; the cone, turned half a degree, holds -K + 1.25 to K - 0.25.
    static AzimuthCone forTruncatedTest(double axis, double limit, TangentMemo& memo) {
        if (!(limit > 0)) {
            return none();  // the test never passes
        }
        AzimuthCone k(axis + 0.5, std::ceil(limit) + 0.8, memo, 0);
        const double inner = std::ceil(limit) - 0.75 - 1e-6;  // a hair narrower for the series
        if (k.active_ && inner > 0) {
            if (memo.innerWidth != inner) {
                memo.innerWidth = inner;
                const double t = std::tan(inner * kDegree);
                memo.innerTangent2 = t * t;
            }
            k.innerTan2_ = memo.innerTangent2;
        }
        return k;
    }
    // A cone holding both cones (made by forTruncatedTest), from the smaller angle of the one
    // to the larger of the other about the first's axis; everything passes when no such cone
    // is narrower than 80 degrees.
    static AzimuthCone enclosing(const AzimuthCone& a, const AzimuthCone& b) {
        if (!a.degreesKnown_ || !b.degreesKnown_) {
            return AzimuthCone{};
        }
        double d = b.axisDeg_ - a.axisDeg_;  // the turn from a's axis to b's, within half a turn
        d -= 360 * static_cast<double>(static_cast<int64_t>(d / 360));
        if (d > 180) {
            d -= 360;
        } else if (d <= -180) {
            d += 360;
        }
        const double lo = std::min(-a.widthDeg_, d - b.widthDeg_);
        const double hi = std::max(a.widthDeg_, d + b.widthDeg_);
        const double width = 0.5 * (hi - lo) + 1e-6;  // against the rounding of the turn
        if (!(width < 79)) {
            return AzimuthCone{};
        }
        AzimuthCone k;
        k.active_ = true;
        unitDirection(a.axisDeg_ + 0.5 * (lo + hi), k.ux_, k.uy_);
        double c = 0;
        double s = 0;
        unitDirection(width, c, s);
        k.tan_ = s / c;
        k.tan2_ = k.tan_ * k.tan_;
        return k;
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

    // Whether the truncated test the cone stands for surely accepts the direction (dx, dy):
    // false whenever it may not (and always for cones not made by forTruncatedTest).
    bool surelyContains(double dx, double dy) const {
        const double dot = ux_ * dx + uy_ * dy;
        const double cross = ux_ * dy - uy_ * dx;
        return dot > 0 && cross * cross <= innerTan2_ * dot * dot;
    }

    // Whether every direction passes, whether none does; otherwise the cone is the directions
    // within atan(tangent()) of the unit axis (axisX(), axisY()).
    bool passesAll() const { return !active_; }
    bool passesNone() const { return active_ && empty_; }
    double axisX() const { return ux_; }
    double axisY() const { return uy_; }
    double tangent() const { return tan_; }

  private:
    // The cone of half-width `width` about `axis` (its tangent remembered in `memo`); the axis
    // from series within 1e-11 radians, the width one ten-millionth of a degree wider for it.
    AzimuthCone(double axis, double width, TangentMemo& memo, int /*exactWidth*/) {
        width += 1e-7;
        if (!(std::fabs(axis) < 1e9) || !(width > 0) || width >= 80) {
            return;
        }
        active_ = true;
        degreesKnown_ = true;
        axisDeg_ = axis;
        widthDeg_ = width;
        unitDirection(axis, ux_, uy_);
        if (memo.width != width) {
            memo.width = width;
            memo.tangent = std::tan(width * kDegree);
        }
        tan_ = memo.tangent;
        tan2_ = tan_ * tan_;
    }

    // cos and sin of `degrees` (|degrees| < 1e9): the angle reduced to within 45 degrees of a
    // quarter turn, then the series up to the 11th and 12th powers (remainders below 1e-11).
    static void unitDirection(double degrees, double& c, double& s) {
        const double turns = static_cast<double>(static_cast<int64_t>(degrees / 360));
        double r = degrees - 360 * turns;  // in (-360, 360)
        if (r < 0) {
            r += 360;
        }
        const int32_t quarter = static_cast<int32_t>((r + 45) / 90);  // 0 to 4
        const double x = (r - 90 * quarter) * kDegree;                // within pi / 4
        // Estrin's scheme: the pairs of terms do not wait for each other.
        const double x2 = x * x;
        const double x4 = x2 * x2;
        const double x8 = x4 * x4;
        const double sine = x * ((1 + -1.0 / 6 * x2) + (1.0 / 120 + -1.0 / 5040 * x2) * x4 +
                                 (1.0 / 362880 + -1.0 / 39916800 * x2) * x8);
        const double cosine = (1 + -1.0 / 2 * x2) + (1.0 / 24 + -1.0 / 720 * x2) * x4 +
                              ((1.0 / 40320 + -1.0 / 3628800 * x2) + 1.0 / 479001600 * x4) * x8;
        switch (quarter % 4) {
            case 0:
                c = cosine;
                s = sine;
                break;
            case 1:
                c = -sine;
                s = cosine;
                break;
            case 2:
                c = -cosine;
                s = -sine;
                break;
            default:
                c = sine;
                s = -cosine;
                break;
        }
    }

    static constexpr double kSlack = 3.0;
    static constexpr double kDegree = 3.14159265358979323846 / 180;

    bool active_ = false;
    bool empty_ = false;
    bool degreesKnown_ = false;  // the axis and width in degrees, for enclosing()
    double axisDeg_ = 0;
    double widthDeg_ = 0;
    double ux_ = 0;
    double uy_ = 0;
    double tan_ = 0;
    double tan2_ = 0;
    double innerTan2_ = -1;  // no direction is surely accepted
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

// The same two cones, narrower (AzimuthCone::forTruncatedTest), their tangents remembered.
inline AzimuthCone fieldOfViewCone(const MissileType& type, const Missile& m,
                                   AzimuthCone::TangentMemo& memo) {
    if (azimuthOverridden(type, m)) {
        return 0 < 0.5 * type.fieldOfViewAz ? AzimuthCone{} : AzimuthCone::none();
    }
    return AzimuthCone::forTruncatedTest(m.heading + m.headAzimuth, 0.5 * type.fieldOfViewAz, memo);
}

inline AzimuthCone directionGateCone(const MissileType& type, const Missile& m,
                                     AzimuthCone::TangentMemo& memo) {
    return AzimuthCone::forTruncatedTest(m.bearingToTarget, 1.5 * type.bearingNoise, memo);
}

// The field-of-view test of one missile against many radars, with the cones built once and put
// in front of the exact test.
class FieldOfViewPretest {
  public:
    FieldOfViewPretest(const SeekerCatalogs& c, const Missile& m)
        : c_(c),
          m_(m),
          fieldOfView_(fieldOfViewCone(c.typeOf(m), m)),
          gate_(directionGateCone(c.typeOf(m), m)) {}

    // The exact test alone.
    bool seenExactly(const RadarSite& r) const { return inFieldOfView(c_, m_, r); }

    // Exactly inFieldOfView(c, m, r).
    bool seen(const RadarSite& r) const {
        const double dx = r.x - m_.x;
        const double dy = r.y - m_.y;
        if (directionGateActive(c_, m_, r)) {
            return gate_.mayContain(dx, dy) && insideDirectionGate(c_.typeOf(m_), m_, r);
        }
        return fieldOfView_.mayContain(dx, dy) && inFieldOfView(c_, m_, r);
    }

  private:
    const SeekerCatalogs& c_;
    const Missile& m_;
    AzimuthCone fieldOfView_;
    AzimuthCone gate_;
};

}  // namespace prrsim::seeker
