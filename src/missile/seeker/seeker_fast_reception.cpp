// The seeker step's reception as the program runs it. It finds the same paths with the same
// powers in the same order as the direct reading (kept in test support), computing every value
// with the same functions on the same inputs, but does far less work:
// - the radars come from the radar index (seeker_radar_index.h), built once for all the
//   missiles of a tick: each missile visits, in table order, only the radiating radars of its
//   bands that lie in the cone holding every direction its field of view or direction gate can
//   accept (AzimuthCone), and those that may be heard through a landmark in view (their side
//   lobes may reach the sensitivity through it, or it lies in their beam);
// - what depends only on the missile (its cones, and per landmark the field-of-view azimuth,
//   the distance and the elevation at each radar height) is computed once per step;
// - what depends only on the radar (bearing, elevation and range of each landmark from it, and
//   the in-beam test of this tick) is kept in the scratch area across missiles and
//   ticks, keyed on the values it came from;
// - a direct path is not tested when even its main lobe would stay below the sensitivity, a
//   reflection not when even the side lobes' bound would and the landmark is out of the beam;
// - the whole-degree directions of the exact tests come from quickBearingDeg, bearingDeg's
//   results without most of its arc tangents.
// The acceptance of each pass and everything a received path changes run in table order
// exactly as in the direct reading; the reception tests themselves change nothing, so testing
// fewer of them, or in another order, changes no result.

#include <algorithm>
#include <array>
#include <bit>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <limits>
#include <type_traits>

#include "missile/seeker/seeker_geometry.h"
#include "missile/seeker/seeker_radar_index.h"
#include "missile/seeker/seeker_step.h"
#include "missile/seeker/seeker_tracking.h"
#include "world/world_state.h"

namespace prrsim::seeker {

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

// Whether the landmarks stand where the radar-side geometry was computed for: their records
// hold the same bytes as when copied. A record that differs only in its padding counts as
// changed; the geometry is then computed once more, to the same values.
bool landmarksAsCached(const WorldState& world, const SeekerScratch& s, int32_t landmarks) {
    static_assert(std::is_trivially_copyable_v<Landmark>);
    return s.landmarkCount == landmarks &&
           std::memcmp(world.landmarks.data(), s.landmarkRecords.data(),
                       sizeof(Landmark) * static_cast<size_t>(landmarks)) == 0;
}

// Drops the radar-side geometry when a landmark moved, appeared or went; returns whether they
// all stayed.
bool checkLandmarks(const WorldState& world, SeekerScratch& s, int32_t landmarks) {
    if (landmarksAsCached(world, s, landmarks)) {
        return true;
    }
    s.landmarkCount = landmarks;
    for (int32_t l = 0; l < landmarks; ++l) {
        const Landmark& now = landmarkAt(world, l);
        std::memcpy(&s.landmarkRecords[l], &now, sizeof(Landmark));
        s.landmarksLow.x = l == 0 ? now.x : std::min(s.landmarksLow.x, now.x);
        s.landmarksLow.y = l == 0 ? now.y : std::min(s.landmarksLow.y, now.y);
        s.landmarksHigh.x = l == 0 ? now.x : std::max(s.landmarksHigh.x, now.x);
        s.landmarksHigh.y = l == 0 ? now.y : std::max(s.landmarksHigh.y, now.y);
    }
    for (RadarReflectionCache& rc : s.radars) {
        rc.geometryValid = false;
    }
    return false;
}

// The radar side of the reflections of radar `row`, brought up to date for its place, its
// antenna and its type's beam.
RadarReflectionCache& radarSide(const WorldState& world, SeekerScratch& scratch, int32_t row,
                                const RadarType& rt, int32_t landmarks) {
    const RadarSite& r = radarAt(world, row);
    RadarReflectionCache& rc = scratch.radars[row];
    if (!rc.geometryValid || rc.x != r.x || rc.y != r.y || rc.height != r.height) {
        rc.sizeOverRange = 0;
        for (int32_t l = 0; l < landmarks; ++l) {
            const Landmark& lm = landmarkAt(world, l);
            const RadarToLandmark seen = radarToLandmark(r, lm);
            rc.bearing[l] = seen.bearing;
            rc.elevation[l] = seen.elevation;
            rc.rangeTerm[l] = seen.term;
            const double ratio = lm.size / seen.term;
            if (!(rc.sizeOverRange >= ratio) && !std::isnan(rc.sizeOverRange)) {
                rc.sizeOverRange = ratio;  // the largest; a NaN, once met, stays
            }
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
        rc.beamBoxKnown = false;
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

// The landmarks of `mask` within the radar's beam. None when the cone holding every direction
// the beam's azimuth test accepts (magnitude of the turn at most half the beam width, so below
// one degree more) misses the box around the landmarks.
LandmarkMask inBeamOf(const SeekerScratch& s, RadarReflectionCache& rc, const RadarType& rt,
                      const RadarSite& r, LandmarkMask mask) {
    if (!rc.beamBoxKnown) {
        rc.beamBoxKnown = true;
        rc.beamMissesLandmarks = !coneMayMeetBox(
            AzimuthCone(r.azimuth, 0.5 * rt.beamWidthAz + 1), r.x, r.y, s.landmarksLow.x - 0.5,
            s.landmarksLow.y - 0.5, s.landmarksHigh.x + 0.5, s.landmarksHigh.y + 0.5);
    }
    if (rc.beamMissesLandmarks) {
        rc.beamKnown |= mask;  // none of them in the beam
        return 0;
    }
    forEachLandmark(mask & ~rc.beamKnown, [&](int32_t l) { inBeamCached(rc, rt, r, l); });
    return mask & rc.inBeam;
}

// The missile's side of one step: its cones, and per landmark what does not depend on the
// radar.
class MissileSide {
  public:
    MissileSide(const SeekerCatalogs& c, const WorldState& world, SeekerScratch& scratch,
                const Missile& m, int32_t landmarks)
        : c_(c),
          world_(world),
          scratch_(scratch),
          m_(m),
          type_(c.typeOf(m)),
          fieldOfView_(fieldOfViewCone(type_, m, tangents(scratch, m)[0])),
          gate_(directionGateCone(type_, m, tangents(scratch, m)[1])),
          gateOn_(m.targetPositionState == kTargetFromSeeker && type_.directionGate),
          all_(landmarks == 32 ? ~LandmarkMask{0} : bit(landmarks) - 1),
          landmarksInCone_(all_) {
        for (const char letter : type_.bands) {
            if (letter >= 'A' && letter <= 'Z') {
                bands_ |= uint32_t{1} << (letter - 'A');
            }
        }
    }

    const MissileType& type() const { return type_; }
    LandmarkMask allLandmarks() const { return all_; }

    // The radars that may reach the seeker directly: the gated ones in the gate's cone, the
    // others in the field of view's cone; all within the seeker's band letters (or of bands
    // that are no letter). Notes which radars are not gated and which landmarks lie in the field
    // of view's cone.
    RadarSet directCandidates(const RadarIndex& index) {
        RadarSet inBand = index.inBand[26];
        for (uint32_t letters = bands_; letters != 0; letters &= letters - 1) {
            inBand |= index.inBand[__builtin_ctz(letters)];
        }
        RadarSet gated;
        others_ = inBand;
        if (gateOn_) {
            gated = index.pulsed & inBand;
            others_ = without(inBand, index.pulsed);
        }
        // Few radars: no grid, every radar in band is a candidate.
        if (index.radiatingCount <= kFewRadars) {
            landmarksInCone_ = all_;
            return inBand;
        }
        RadarSet found;
        if (gated.any() && others_.any()) {
            // Both cones at once when one narrow cone holds them (they mostly point the same
            // way: at the target).
            const AzimuthCone both = AzimuthCone::enclosing(gate_, fieldOfView_);
            if (!both.passesAll()) {
                const ConeContents inBoth = inCone(index, both, m_.x, m_.y);
                landmarksInCone_ = inBoth.landmarks & all_;
                return inBoth.radars & inBand;
            }
        }
        if (gated.any()) {
            found |= inCone(index, gate_, m_.x, m_.y).radars & gated;
        }
        if (others_.any()) {
            const ConeContents inView = inCone(index, fieldOfView_, m_.x, m_.y);
            found |= inView.radars & others_;
            landmarksInCone_ = inView.landmarks & all_;
        } else {
            landmarksInCone_ = 0;
        }
        return found;
    }

    // The radars in band that are not gated (after directCandidates).
    const RadarSet& ungated() const { return others_; }

    // What a reflection of the side lobes can bring at most, per unit of side-lobe strength
    // (RadarIndex::sideStrength), through landmarks whose range terms are at least
    // `nearestTerm`: NaN when no bound holds.
    double reflectionReach(double nearestTerm) const {
        if (!(type_.antennaArea > 0 && type_.sensitivity > 0 && nearestTerm > 0)) {
            return std::nan("");
        }
        return type_.antennaArea * 0.7 / (12.56 * 12.56 * nearestTerm);
    }

    // A floor under the range term to every landmark, from the box around them, without a
    // square root per landmark (just below, against rounding).
    double rangeTermFloor() {
        if (!(floor_ >= 0)) {
            const SeekerScratch& s = scratch_;
            const double dx = std::max({s.landmarksLow.x - m_.x, 0.0, m_.x - s.landmarksHigh.x});
            const double dy = std::max({s.landmarksLow.y - m_.y, 0.0, m_.y - s.landmarksHigh.y});
            floor_ = std::max(rangeTerm(0), 1e4 * (dx * dx + dy * dy)) * (1 - 1e-12);
            if (!(floor_ >= 0)) {
                floor_ = 0;  // no floor for a missile off the map's numbers
            }
        }
        return floor_;
    }

    bool bandCovered(const RadarSite& r) const {
        const FrequencyBand letter = c_.typeOf(r).band;
        if (letter >= 'A' && letter <= 'Z') {
            return (bands_ >> (letter - 'A')) & 1;
        }
        return prrsim::bandCovered(c_, m_, r, Channel::Main);
    }

    // Whether the direction gate decides for the paths of radar j (pulsed by the index).
    bool gated(const RadarIndex& index, int32_t j) const {
        return gateOn_ && index.pulsed.contains(j);
    }

    // The gate's verdict, the same for every path of the radar. It depends only on the radar's
    // place, so radars standing together (the members of a complex) share the last one.
    bool insideGate(const RadarSite& r) {
        if (gateKnown_ && r.x == gateX_ && r.y == gateY_ && r.height == gateHeight_) {
            return gateVerdict_;
        }
        gateKnown_ = true;
        gateX_ = r.x;
        gateY_ = r.y;
        gateHeight_ = r.height;
        const double dx = r.x - m_.x;
        const double dy = r.y - m_.y;
        gateVerdict_ = gate_.mayContain(dx, dy) &&
                       (gate_.surelyContains(dx, dy) ||
                        insideDirectionGateAzimuth<QuickBearing>(type_, m_, r)) &&
                       insideDirectionGateElevation<QuickBearing>(type_, m_, r);
        return gateVerdict_;
    }

    // The direct path's field of view, for a radar the gate does not decide for
    // (inFieldOfView): the azimuth, then the elevation.
    bool directInView(const RadarSite& r) const {
        const double dx = r.x - m_.x;
        const double dy = r.y - m_.y;
        return fieldOfView_.mayContain(dx, dy) &&
               (fieldOfView_.surelyContains(dx, dy) ||
                inFieldOfViewAzimuth(type_, m_, bearingTo<QuickBearing>(m_, r.x, r.y))) &&
               inFieldOfViewElevation(type_, m_, lineOfSightElevation<QuickBearing>(m_, r));
    }

    // The landmarks in the field of view for a radar of height h (no gate): the landmark's
    // elevation is taken at the radar's height.
    LandmarkMask landmarksInView(int32_t h) {
        if (azimuthInView() == 0) {
            return 0;
        }
        for (int32_t k = 0; k < heightCount_; ++k) {
            if (heights_[k].height == h) {
                return heights_[k].mask;
            }
        }
        LandmarkMask mask = 0;
        forEachLandmark(azimuthInView_, [&](int32_t l) {
            if (inFieldOfViewElevation(type_, m_,
                                       lineOfSightElevation<QuickBearing>(m_, distance(l), h))) {
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

    // The smallest range term to the landmarks of `mask` (the last mask asked is remembered).
    double nearestRangeTerm(LandmarkMask mask) {
        if (mask != nearestMask_) {
            double nearest = std::numeric_limits<double>::infinity();
            forEachLandmark(mask, [&](int32_t l) { nearest = std::min(nearest, squaredTo(l)); });
            noteNearest(mask, nearest);
        }
        return nearestTerm_;
    }

    // Whether a landmark of `mask` lies clearly nearer than the range term `term` (NaN: none),
    // found without a square root. Landmark `first` is tried first; the one found is left there.
    // When none is, every landmark was looked at: the nearest one is noted on the way.
    bool anyNearerThan(LandmarkMask mask, double term, int32_t& first) {
        const double bound = 0.999 * term;
        const auto near = [&](double squared) { return std::max(1e4 * squared, 1.0) < bound; };
        if (first >= 0 && first < kLandmarkCapacity && (mask & bit(first)) != 0 &&
            near(squaredTo(first))) {
            return true;
        }
        double nearest = std::numeric_limits<double>::infinity();
        for (LandmarkMask rest = mask; rest != 0; rest &= rest - 1) {
            const int32_t l = __builtin_ctz(rest);
            const double squared = squaredTo(l);
            if (near(squared)) {
                first = l;
                return true;
            }
            nearest = std::min(nearest, squared);
        }
        if (mask != nearestMask_) {
            noteNearest(mask, nearest);
        }
        return false;
    }

  private:
    static constexpr int32_t kHeights = 8;

    // The squared horizontal distance to landmark l.
    double squaredTo(int32_t l) const {
        const Landmark& lm = landmarkAt(world_, l);
        return square(lm.x - m_.x) + square(lm.y - m_.y);
    }

    // The range term grows with the squared distance: one square root for the nearest of
    // `mask`, taken a hair smaller against rounding.
    void noteNearest(LandmarkMask mask, double nearest) {
        nearestMask_ = mask;
        nearestTerm_ = rangeTerm(std::sqrt(nearest)) * (1 - 1e-12);
        if (!(nearestTerm_ >= 0)) {
            nearestTerm_ = 0;  // no bound
        }
    }

    // The landmarks within the field of view in azimuth, found on first use among those the
    // radar index puts in the field of view's cone.
    LandmarkMask azimuthInView() {
        if (azimuthKnown_) {
            return azimuthInView_;
        }
        azimuthKnown_ = true;
        forEachLandmark(landmarksInCone_, [&](int32_t l) {
            const Landmark& lm = landmarkAt(world_, l);
            const double dx = lm.x - m_.x;
            const double dy = lm.y - m_.y;
            if (fieldOfView_.mayContain(dx, dy) &&
                (fieldOfView_.surelyContains(dx, dy) ||
                 inFieldOfViewAzimuth(type_, m_, bearingTo<QuickBearing>(m_, lm.x, lm.y)))) {
                azimuthInView_ |= bit(l);
            }
        });
        return azimuthInView_;
    }
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

    static std::array<ConeTangentMemo, 2>& tangents(SeekerScratch& scratch, const Missile& m) {
        return scratch.coneTangents[static_cast<uint32_t>(m.typeIndex) % 32];
    }

    const SeekerCatalogs& c_;
    const WorldState& world_;
    const SeekerScratch& scratch_;
    const Missile& m_;
    const MissileType& type_;
    AzimuthCone fieldOfView_;
    AzimuthCone gate_;
    bool gateOn_;
    LandmarkMask all_;
    LandmarkMask landmarksInCone_;  // every landmark until the radar index says otherwise
    RadarSet others_;
    uint32_t bands_ = 0;
    bool azimuthKnown_ = false;
    LandmarkMask nearestMask_ = 0;
    double nearestTerm_ = 0;
    double floor_ = -1;       // rangeTermFloor, not yet found
    bool gateKnown_ = false;  // the last gate verdict and the place it was for
    bool gateVerdict_ = false;
    int32_t gateX_ = 0;
    int32_t gateY_ = 0;
    int32_t gateHeight_ = 0;
    LandmarkMask azimuthInView_ = 0;
    LandmarkMask distanceKnown_ = 0;
    std::array<double, kLandmarkCapacity> distance_;
    std::array<double, kLandmarkCapacity> term_;
    std::array<HeightMask, kHeights> heights_;
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
    std::array<double, kLandmarkCapacity> power;
};

// Whether no landmark of those in view can bring the radar's side lobes to the seeker's
// sensitivity: the power through the nearest landmark in view (the smallest range term) with the
// largest size-to-range ratio from the radar bounds every side-lobe reflection from above, when
// every factor is positive and rounding is monotonic (a margin covers the rounding). False
// whenever nothing safe can be said.
bool sideLobesSilent(const RadarReflectionCache& rc, const RadarType& rt, const MissileType& type,
                     double nearestTerm) {
    const double pt = rt.power * rc.sidelobeFactor;
    const double g = antennaGain(rt);
    if (!(pt >= 0 && type.antennaArea > 0 && g > 0 && type.sensitivity > 0 && nearestTerm > 0 &&
          rc.sizeOverRange >= 0)) {
        return false;
    }
    const double upper =
        pt * type.antennaArea * 0.7 * g * rc.sizeOverRange / (12.56 * 12.56 * nearestTerm);
    return upper * (1 + 1e-9) < type.sensitivity;
}

// The range term up to which the radar's side lobes surely reach the seeker's sensitivity
// through its largest landmark (sideLobesSilent's bound solved for the range term, NaN when no
// bound holds): a landmark clearly nearer settles that they are not silent.
double sideLobesReachTerm(const RadarReflectionCache& rc, const RadarType& rt,
                          const MissileType& type) {
    const double pt = rt.power * rc.sidelobeFactor;
    const double g = antennaGain(rt);
    if (!(pt >= 0 && type.antennaArea > 0 && g > 0 && type.sensitivity > 0 &&
          rc.sizeOverRange >= 0)) {
        return std::nan("");
    }
    return pt * type.antennaArea * 0.7 * g * rc.sizeOverRange / (12.56 * 12.56 * type.sensitivity);
}

void findReflections(const WorldState& world, SeekerScratch& scratch, MissileSide& side,
                     int32_t row, LandmarkMask inView, int32_t landmarks, const RadarType& rt,
                     Reflections& out) {
    RadarReflectionCache& rc = radarSide(world, scratch, row, rt, landmarks);
    const RadarSite& r = radarAt(world, row);
    const MissileType& type = side.type();
    const double g = antennaGain(rt);
    out.detected = 0;
    // Only landmarks in the beam can reach the sensitivity when the side lobes cannot.
    LandmarkMask mayBeHeard = inView;
    // Where a landmark in view clearly lies within the side lobes' reach, the nearest one need
    // not be found: they are not silent.
    if (sideLobesSilent(rc, rt, type, side.rangeTermFloor()) ||
        (!side.anyNearerThan(inView, sideLobesReachTerm(rc, rt, type), scratch.nearLandmark) &&
         sideLobesSilent(rc, rt, type, side.nearestRangeTerm(inView)))) {
        mayBeHeard = inBeamOf(scratch, rc, rt, r, inView);
    }
    forEachLandmark(mayBeHeard, [&](int32_t l) {
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

// The radar index for this step: inside an IndexedRadars scope the one built by its first step
// (or the first after a refresh), otherwise one built now. The landmark places are checked
// against the radar-side cache with every build. A build from the same radars and landmarks as
// the last one would give the same index: that one serves again, with no radar side prepared
// yet (the antennas may have turned since).
RadarIndex& radarIndexOf(const SeekerCatalogs& c, const WorldState& world, SeekerScratch& scratch,
                         int32_t landmarks) {
    RadarIndex& index = scratch.radarIndex;
    if (index.held && index.current && index.missileCatalog == &c.missiles &&
        index.radarCatalog == &c.radars) {
        if constexpr (kTableAccessChecked) {
            if (!radarIndexMatches(c, world, index) ||
                !landmarksAsCached(world, scratch, landmarks)) {
                std::fputs(
                    "seeker radar index out of date: the radars or landmarks changed "
                    "inside an IndexedRadars scope without refresh()\n",
                    stderr);
                std::abort();
            }
        }
        return index;
    }
    if (checkLandmarks(world, scratch, landmarks) && radarIndexSourceUnchanged(c, world, index)) {
        index.prepared = RadarSet{};
        if constexpr (kTableAccessChecked) {
            if (!radarIndexMatches(c, world, index)) {
                std::fputs("seeker radar index reused although the radars changed\n", stderr);
                std::abort();
            }
        }
    } else {
        buildRadarIndex(c, world, index);
    }
    index.current = index.held;
    return index;
}

// Radar j's reflection cache, brought up to date once per index, and its side lobes' reflection
// strength noted in the index.
RadarReflectionCache& preparedRadarSide(const SeekerCatalogs& c, const WorldState& world,
                                        SeekerScratch& scratch, RadarIndex& index, int32_t j,
                                        int32_t landmarks) {
    RadarReflectionCache& rc = scratch.radars[j];
    if (!index.prepared.contains(j)) {
        const RadarType& rt = c.typeOf(radarAt(world, j));
        radarSide(world, scratch, j, rt, landmarks);
        const double pt = rt.power * rc.sidelobeFactor;
        const double g = antennaGain(rt);
        index.sideStrength[j] =
            pt >= 0 && g > 0 && rc.sizeOverRange >= 0 ? pt * g * rc.sizeOverRange : std::nan("");
        index.beamKnown[j] = rc.beamKnown;
        index.inBeam[j] = rc.inBeam;
        index.prepared.insert(j);
    }
    return rc;
}

// Adds the radars not gated that may be heard through the landmarks in view at their height:
// those whose side lobes may reach the sensitivity through them, and those with one of them in
// the beam. The others of that height could be heard directly at most (their side-lobe
// reflections stay below the bound, so findReflections would find none): those in the field of
// view's cone are among the candidates already.
void addReflectingCandidates(const SeekerCatalogs& c, const WorldState& world,
                             SeekerScratch& scratch, RadarIndex& index, MissileSide& side,
                             int32_t landmarks, RadarSet& candidates) {
    if (!side.ungated().any()) {
        return;
    }
    const double sensitivity = side.type().sensitivity;
    for (int32_t k = 0; k < index.heightCount; ++k) {
        const RadarSet here = without(index.atHeight[k] & side.ungated(), candidates);
        if (!here.any()) {
            continue;
        }
        const LandmarkMask inView = side.landmarksInView(index.heights[k]);
        if (inView == 0) {
            continue;
        }
        // The side lobes' bound, first through the floor under every landmark's range term,
        // then, where that does not settle it, through the nearest landmark in view.
        const double reachOfAny = side.reflectionReach(side.rangeTermFloor());
        double reachInView = -1;
        here.forEach([&](int32_t j) {
            if (!index.prepared.contains(j)) {
                preparedRadarSide(c, world, scratch, index, j, landmarks);
            }
            if (!(index.sideStrength[j] * reachOfAny * (1 + 1e-9) < sensitivity)) {
                if (reachInView < 0) {
                    reachInView = side.reflectionReach(side.nearestRangeTerm(inView));
                }
                if (!(index.sideStrength[j] * reachInView * (1 + 1e-9) < sensitivity)) {
                    candidates.insert(j);  // the side lobes may be heard (or no bound holds)
                    return;
                }
            }
            if ((inView & ~index.beamKnown[j]) != 0) {
                RadarReflectionCache& rc = scratch.radars[j];
                const RadarSite& r = radarAt(world, j);
                if (inBeamOf(scratch, rc, c.typeOf(r), r, inView) != 0) {
                    candidates.insert(j);
                }
                index.beamKnown[j] = rc.beamKnown;
                index.inBeam[j] = rc.inBeam;
                return;
            }
            if ((inView & index.inBeam[j]) != 0) {
                candidates.insert(j);
            }
        });
    }
}

}  // namespace

void receiveFast(const SeekerCatalogs& c, WorldState& world, Missile& m, ReceptionLog& log) {
    const int32_t landmarks = landmarksOf(world);
    SeekerScratch& scratch = log.scratch();
    RadarIndex& index = radarIndexOf(c, world, scratch, landmarks);
    MissileSide side(c, world, scratch, m, landmarks);
    const MissileType& type = side.type();
    // Neither the direct path nor a reflection reaches the seeker from a silent radar, nor from
    // one out of band, nor from one outside the cones with no landmark in view, nor through
    // landmarks none of which it can bring to the sensitivity: only the candidates are visited,
    // in table order.
    RadarSet candidates = side.directCandidates(index);
    addReflectingCandidates(c, world, scratch, index, side, landmarks, candidates);
    Reflections reflections;
    candidates.forEach([&](int32_t j) {
        const RadarSite& r = radarAt(world, j);
        bool directSeen;
        LandmarkMask inView;
        if (side.gated(index, j)) {
            directSeen = side.insideGate(r);
            inView = directSeen ? side.allLandmarks() : 0;
        } else {
            directSeen = side.directInView(r);
            inView = side.landmarksInView(r.height);
        }
        if (!directSeen && inView == 0) {
            return;
        }
        // The band of the main channel decides for both passes.
        if (!side.bandCovered(r)) {
            return;
        }
        if (type.identifiesRadarType && !radarTypeAccepted(c, m, r.typeIndex)) {
            return;
        }
        const RadarType& rt = c.typeOf(r);
        // Heard through landmarks only, a radar none of whose reflections reaches the
        // sensitivity is not heard at all, whatever the seeker would accept of it.
        bool reflectionsFound = false;
        if (!directSeen) {
            findReflections(world, scratch, side, j, inView, landmarks, rt, reflections);
            reflectionsFound = true;
            if (reflections.detected == 0) {
                return;
            }
        }
        log.beginRadar(j);
        for (const int32_t pass : {kIlluminationPass, kMainPass}) {
            if (pass == kIlluminationPass && !(rt.hasIlluminator && r.illuminationOn)) {
                continue;
            }
            int32_t channel = 0;
            if (!acceptEmission(c, m, r, pass, channel)) {
                continue;
            }
            if (directSeen && directMayBeHeard(type, rt, m, r, channelOfPass(pass))) {
                const Reception got = directPowerOf<QuickBearing>(c, m, r, channelOfPass(pass));
                if (got.detected) {
                    log.received(0, got.power, channel);
                }
            }
            if (inView == 0) {
                continue;
            }
            if (!reflectionsFound) {
                findReflections(world, scratch, side, j, inView, landmarks, rt, reflections);
                reflectionsFound = true;
            }
            forEachLandmark(reflections.detected,
                            [&](int32_t l) { log.received(l + 1, reflections.power[l], channel); });
        }
    });
}

const Reading& programReading() {
    static constexpr Reading kFast{receiveFast, [](const FieldOfViewPretest& view,
                                                   const RadarSite& r) { return view.seen(r); }};
    return kFast;
}

}  // namespace prrsim::seeker
