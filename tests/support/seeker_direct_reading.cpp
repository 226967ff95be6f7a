// The seeker step's reception read directly: every radar in table order, each pass, the direct
// path and every landmark, each put through the reception tests one by one. No cache, no
// pre-test. It is the reference the program's fast path (seeker_fast_reception.cpp) must match
// bit for bit.

#include "seeker_direct_reading.h"

#include "missile/seeker/seeker_geometry.h"
#include "missile/seeker/seeker_step.h"
#include "missile/seeker/seeker_tracking.h"
#include "sim/tick.h"

namespace prrsim::testing {

namespace {

using seeker::channelOfPass;
using seeker::kIlluminationPass;
using seeker::kMainPass;
using seeker::ReceptionLog;

int32_t landmarksOf(const WorldState& world) {
    return world.landmarkCount < 0                   ? 0
           : world.landmarkCount > kLandmarkCapacity ? kLandmarkCapacity
                                                     : world.landmarkCount;
}

// The received power of one path of a pass (direct or by landmark), or not detected.
Reception pathReception(const SeekerCatalogs& c, const WorldState& world, const Missile& m,
                        const RadarSite& r, int32_t pass, int32_t path) {
    if (path == 0) {
        if (!inFieldOfView(c, m, r)) {
            return {};
        }
        return directPower(c, m, r, channelOfPass(pass));
    }
    // Landmarks reflect the main emission, also on the illumination pass.
    const Landmark& l = landmarkAt(world, path - 1);
    if (!inFieldOfViewAt(c, m, r, l)) {
        return {};
    }
    return reflectedPower(c, m, r, l);
}

void receiveByDirectReading(const SeekerCatalogs& c, WorldState& world, Missile& m,
                            ReceptionLog& log) {
    const MissileType& type = c.typeOf(m);
    const int32_t landmarks = landmarksOf(world);
    for (int32_t j = 0; j < world.radarCount; ++j) {
        const RadarSite& r = radarAt(world, j);
        // The band of the main channel decides for both passes.
        if (!bandCovered(c, m, r, Channel::Main)) {
            continue;
        }
        if (type.identifiesRadarType && !radarTypeAccepted(c, m, r.typeIndex)) {
            continue;
        }
        const RadarType& rt = c.typeOf(r);
        log.beginRadar(j);
        for (const int32_t pass : {kIlluminationPass, kMainPass}) {
            if (pass == kIlluminationPass && !(rt.hasIlluminator && r.illuminationOn)) {
                continue;
            }
            int32_t channel = 0;
            if (!acceptEmission(c, m, r, pass, channel)) {
                continue;
            }
            for (int32_t path = 0; path <= landmarks; ++path) {
                const Reception got = pathReception(c, world, m, r, pass, path);
                if (got.detected) {
                    log.received(path, got.power, channel);
                }
            }
        }
    }
}

}  // namespace

const seeker::Reading& directReading() {
    static constexpr seeker::Reading kDirect{
        receiveByDirectReading, [](const seeker::FieldOfViewPretest& view, const RadarSite& r) {
            return view.seenExactly(r);
        }};
    return kDirect;
}

void directTick(WorldState& world, SeekerScratch& scratch) {
    runTick(world, scratch, directReading());
}

}  // namespace prrsim::testing
