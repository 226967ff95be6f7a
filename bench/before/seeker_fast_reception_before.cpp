// The seeker step's fast reception before the radar index (bench/before/before.h). It finds the
// same paths with the same powers in the same order as the direct reading (kept in test support),
// computing every value with the same functions on the same inputs, but does far less work:
// - what depends only on the missile (its cones, and per landmark the field-of-view azimuth,
//   the distance and the elevation at each radar height) is computed once per step;
// - what depends only on the radar (bearing, elevation and range of each landmark from it, and
//   the in-beam test of this tick) is kept in the scratch area across missiles and
//   ticks, keyed on the values it came from;
// - a radar is set aside before any exact test when it cannot reach the seeker: not radiating,
//   or outside a cone that holds every direction the field of view or the direction gate can
//   accept (AzimuthCone), with no landmark in view either; a direct path is not tested when
//   even its main lobe would stay below the sensitivity.
// The acceptance of each pass and everything a received path changes run in table order
// exactly as in the direct reading; the reception tests themselves change nothing, so testing
// fewer of them, or in another order, changes no result.

#include <array>
#include <cstdint>

#include "before.h"
#include "missile/seeker/seeker_geometry.h"
#include "missile/seeker/seeker_step.h"
#include "missile/seeker/seeker_tracking.h"
#include "seeker_geometry_before.h"
#include "world/world_state.h"

namespace prrsim::before {

using namespace seeker;

namespace {

using LandmarkMask = uint32_t;
static_assert(kLandmarkCapacity <= 32, "one bit per landmark");

int32_t landmarksOf(const WorldState& world) {
    return world.landmarkCount < 0                   ? 0
           : world.landmarkCount > kLandmarkCapacity ? kLandmarkCapacity
                                                     : world.landmarkCount;
}

LandmarkMask bit(int32_t l) {
    return LandmarkMask{1} << l;
}

// Visits the set bits of `mask` in ascending order.
template <typename F>
void forEachLandmark(LandmarkMask mask, F&& f) {
    while (mask != 0) {
        const int32_t l = __builtin_ctz(mask);
        mask &= mask - 1;
        f(l);
    }
}

// The field-of-view test as it was: bearing and elevation both computed first.
bool inFieldOfViewToward(const SeekerCatalogs& c, const Missile& m, const RadarSite& r, int32_t b,
                         int32_t e) {
    const MissileType& type = c.typeOf(m);
    if (directionGateActive(c, m, r)) {
        return insideDirectionGate(type, m, r);
    }
    return inFieldOfViewAzimuth(type, m, b) && inFieldOfViewElevation(type, m, e);
}

bool inFieldOfViewBefore(const SeekerCatalogs& c, const Missile& m, const RadarSite& r) {
    return inFieldOfViewToward(c, m, r, bearingTo(m, r.x, r.y), lineOfSightElevation(m, r));
}

// Drops the radar-side geometry when a landmark moved, appeared or went.
void checkLandmarks(const WorldState& world, Scratch& s, int32_t landmarks) {
    bool same = s.landmarkCount == landmarks;
    for (int32_t l = 0; same && l < landmarks; ++l) {
        const Landmark& now = landmarkAt(world, l);
        const LandmarkPlace& was = s.landmarks[l];
        same = now.x == was.x && now.y == was.y && now.height == was.height;
    }
    if (same) {
        return;
    }
    s.landmarkCount = landmarks;
    for (int32_t l = 0; l < landmarks; ++l) {
        const Landmark& now = landmarkAt(world, l);
        s.landmarks[l] = LandmarkPlace{now.x, now.y, now.height};
    }
    for (RadarReflectionCache& rc : s.radars) {
        rc.geometryValid = false;
    }
}

// The radar side of the reflections of radar `row`, brought up to date for its place, its
// antenna and its type's beam.
RadarReflectionCache& radarSide(const WorldState& world, Scratch& s, int32_t row,
                                const RadarType& rt, int32_t landmarks) {
    const RadarSite& r = radarAt(world, row);
    RadarReflectionCache& rc = s.radars[row];
    if (!rc.geometryValid || rc.x != r.x || rc.y != r.y || rc.height != r.height) {
        for (int32_t l = 0; l < landmarks; ++l) {
            const RadarToLandmark seen = radarToLandmark(r, landmarkAt(world, l));
            rc.bearing[l] = seen.bearing;
            rc.elevation[l] = seen.elevation;
            rc.rangeTerm[l] = seen.term;
        }
        rc.geometryValid = true;
        rc.x = r.x;
        rc.y = r.y;
        rc.height = r.height;
        rc.beamValid = false;
    }
    if (!rc.beamValid || rc.beamAzimuth != r.azimuth || rc.beamElevation != r.elevation ||
        rc.beamWidthAz != rt.beamWidthAz || rc.beamWidthEl != rt.beamWidthEl ||
        rc.scanKind != rt.scanKind) {
        rc.beamValid = true;
        rc.beamAzimuth = r.azimuth;
        rc.beamElevation = r.elevation;
        rc.beamWidthAz = rt.beamWidthAz;
        rc.beamWidthEl = rt.beamWidthEl;
        rc.scanKind = rt.scanKind;
        rc.beamKnown = 0;
        rc.inBeam = 0;
    }
    if (!rc.sidelobeValid || rc.sidelobeLevel != rt.sidelobeLevel) {
        rc.sidelobeValid = true;
        rc.sidelobeLevel = rt.sidelobeLevel;
        rc.sidelobeFactor = sidelobeFactor(rt.sidelobeLevel);
    }
    return rc;
}

bool inBeamCached(RadarReflectionCache& rc, const RadarType& rt, const RadarSite& r, int32_t l) {
    if (!(rc.beamKnown & bit(l))) {
        rc.beamKnown |= bit(l);
        if (inBeam(rt, r, rc.bearing[l], rc.elevation[l])) {
            rc.inBeam |= bit(l);
        }
    }
    return (rc.inBeam & bit(l)) != 0;
}

// The missile's side of one step: its cones, and per landmark what does not depend on the
// radar.
class MissileSide {
  public:
    MissileSide(const SeekerCatalogs& c, const WorldState& world, const Missile& m,
                int32_t landmarks)
        : c_(c),
          world_(world),
          m_(m),
          type_(c.typeOf(m)),
          fieldOfView_(fieldOfViewCone(type_, m)),
          gate_(directionGateCone(type_, m)),
          gateOn_(m.targetPositionState == kTargetFromSeeker && type_.directionGate),
          all_(landmarks == 32 ? ~LandmarkMask{0} : bit(landmarks) - 1) {
        for (const char letter : type_.bands) {
            if (letter >= 'A' && letter <= 'Z') {
                bands_ |= uint32_t{1} << (letter - 'A');
            }
        }
        for (int32_t l = 0; l < landmarks; ++l) {
            const Landmark& lm = landmarkAt(world, l);
            if (fieldOfView_.mayContain(lm.x - m.x, lm.y - m.y) &&
                inFieldOfViewAzimuth(type_, m, bearingTo(m, lm.x, lm.y))) {
                azimuthInView_ |= bit(l);
            }
        }
    }

    const MissileType& type() const { return type_; }
    LandmarkMask allLandmarks() const { return all_; }

    bool bandCovered(const RadarSite& r) const {
        const FrequencyBand letter = c_.typeOf(r).band;
        if (letter >= 'A' && letter <= 'Z') {
            return (bands_ >> (letter - 'A')) & 1;
        }
        return prrsim::bandCovered(c_, m_, r, Channel::Main);
    }

    // Whether the direction gate decides for this radar's paths.
    bool gated(const RadarSite& r) const {
        return gateOn_ && prfModeOf(c_.typeOf(r), r.prfMode).pulsed;
    }

    // The gate's verdict, the same for every path of the radar.
    bool insideGate(const RadarSite& r) const {
        return gate_.mayContain(r.x - m_.x, r.y - m_.y) && insideDirectionGate(type_, m_, r);
    }

    // The direct path's field of view (no gate).
    bool directInView(const RadarSite& r) const {
        return fieldOfView_.mayContain(r.x - m_.x, r.y - m_.y) && inFieldOfViewBefore(c_, m_, r);
    }

    // The landmarks in the field of view for a radar of height h (no gate): the landmark's
    // elevation is taken at the radar's height.
    LandmarkMask landmarksInView(int32_t h) {
        if (azimuthInView_ == 0) {
            return 0;
        }
        for (int32_t k = 0; k < heightCount_; ++k) {
            if (heights_[k].height == h) {
                return heights_[k].mask;
            }
        }
        LandmarkMask mask = 0;
        forEachLandmark(azimuthInView_, [&](int32_t l) {
            if (inFieldOfViewElevation(type_, m_, lineOfSightElevation(m_, distance(l), h))) {
                mask |= bit(l);
            }
        });
        HeightMask& slot = heights_[heightCount_ < kHeights ? heightCount_++ : nextHeight_++];
        nextHeight_ %= kHeights;
        slot = HeightMask{h, mask};
        return mask;
    }

    // The horizontal distance to landmark l and its range term.
    double distance(int32_t l) {
        know(l);
        return distance_[l];
    }
    double rangeTermTo(int32_t l) {
        know(l);
        return term_[l];
    }

  private:
    static constexpr int32_t kHeights = 8;
    struct HeightMask {
        int32_t height = 0;
        LandmarkMask mask = 0;
    };

    void know(int32_t l) {
        if (!(distanceKnown_ & bit(l))) {
            distanceKnown_ |= bit(l);
            const Landmark& lm = landmarkAt(world_, l);
            distance_[l] = horizontalDistance(m_, lm.x, lm.y);
            term_[l] = rangeTerm(distance_[l]);
        }
    }

    const SeekerCatalogs& c_;
    const WorldState& world_;
    const Missile& m_;
    const MissileType& type_;
    AzimuthCone fieldOfView_;
    AzimuthCone gate_;
    bool gateOn_;
    LandmarkMask all_;
    uint32_t bands_ = 0;
    LandmarkMask azimuthInView_ = 0;
    LandmarkMask distanceKnown_ = 0;
    std::array<double, kLandmarkCapacity> distance_{};
    std::array<double, kLandmarkCapacity> term_{};
    std::array<HeightMask, kHeights> heights_{};
    int32_t heightCount_ = 0;
    int32_t nextHeight_ = 0;
};

// Whether the direct path of a pass may reach the seeker's sensitivity at all: the power the
// main lobe would bring bounds the received power from above whenever the side lobe lies below
// the main lobe, every factor is positive and rounding is monotonic. False only when
// directPower would not detect the pass either; it then need not find the beam.
bool directMayBeHeard(const MissileType& type, const RadarType& rt, const Missile& m,
                      const RadarSite& r, Channel channel) {
    const double pt = channel == Channel::Illumination ? rt.illuminatorPower : rt.power;
    const double g = antennaGain(rt);
    if (!(rt.sidelobeLevel <= 0 && pt >= 0 && type.antennaArea > 0 && g > 0)) {
        return true;
    }
    const double d = horizontalDistance(m, r.x, r.y);
    const double upper = pt * type.antennaArea * 0.7 * g / (12.56 * rangeTerm(d));
    return upper >= type.sensitivity;
}

// The reflections of one radar that reach the seeker, among the landmarks in view, with their
// powers. Identical for both passes: landmarks reflect the main emission.
struct Reflections {
    LandmarkMask detected = 0;
    std::array<double, kLandmarkCapacity> power{};
};

void findReflections(const WorldState& world, Scratch& s, MissileSide& side, int32_t row,
                     LandmarkMask inView, int32_t landmarks, const RadarType& rt,
                     Reflections& out) {
    RadarReflectionCache& rc = radarSide(world, s, row, rt, landmarks);
    const RadarSite& r = radarAt(world, row);
    const MissileType& type = side.type();
    const double g = antennaGain(rt);
    out.detected = 0;
    forEachLandmark(inView, [&](int32_t l) {
        double pt = rt.power;
        if (!inBeamCached(rc, rt, r, l)) {
            pt *= rc.sidelobeFactor;
        }
        const double power = reflectedPowerValue(pt, type.antennaArea, landmarkAt(world, l).size, g,
                                                 side.rangeTermTo(l), rc.rangeTerm[l]);
        if (power >= type.sensitivity) {
            out.detected |= bit(l);
            out.power[l] = power;
        }
    });
}

void receiveFastBefore(const SeekerCatalogs& c, WorldState& world, Missile& m, ReceptionLog& log) {
    const int32_t landmarks = landmarksOf(world);
    // The tick that runs this reading works in a before::Scratch (before.h).
    Scratch& s = static_cast<Scratch&>(log.scratch());
    checkLandmarks(world, s, landmarks);
    MissileSide side(c, world, m, landmarks);
    const MissileType& type = side.type();
    Reflections reflections;
    for (int32_t j = 0; j < world.radarCount; ++j) {
        const RadarSite& r = radarAt(world, j);
        // Neither the direct path nor a reflection reaches the seeker from a silent radar.
        if (!r.radiating) {
            continue;
        }
        bool directSeen;
        LandmarkMask inView;
        if (side.gated(r)) {
            directSeen = side.insideGate(r);
            inView = directSeen ? side.allLandmarks() : 0;
        } else {
            directSeen = side.directInView(r);
            inView = side.landmarksInView(r.height);
        }
        if (!directSeen && inView == 0) {
            continue;
        }
        // The band of the main channel decides for both passes.
        if (!side.bandCovered(r)) {
            continue;
        }
        if (type.identifiesRadarType && !radarTypeAccepted(c, m, r.typeIndex)) {
            continue;
        }
        const RadarType& rt = c.typeOf(r);
        log.beginRadar(j);
        bool reflectionsFound = false;
        for (const int32_t pass : {kIlluminationPass, kMainPass}) {
            if (pass == kIlluminationPass && !(rt.hasIlluminator && r.illuminationOn)) {
                continue;
            }
            int32_t channel = 0;
            if (!acceptEmission(c, m, r, pass, channel)) {
                continue;
            }
            if (directSeen && directMayBeHeard(type, rt, m, r, channelOfPass(pass))) {
                const Reception got = directPower(c, m, r, channelOfPass(pass));
                if (got.detected) {
                    log.received(0, got.power, channel);
                }
            }
            if (inView == 0) {
                continue;
            }
            if (!reflectionsFound) {
                findReflections(world, s, side, j, inView, landmarks, rt, reflections);
                reflectionsFound = true;
            }
            forEachLandmark(reflections.detected,
                            [&](int32_t l) { log.received(l + 1, reflections.power[l], channel); });
        }
    }
}

}  // namespace

const Reading& fastReading() {
    static constexpr Reading kFast{
        receiveFastBefore,
        [](const seeker::FieldOfViewPretest& view, const RadarSite& r) { return view.seen(r); }};
    return kFast;
}

}  // namespace prrsim::before
