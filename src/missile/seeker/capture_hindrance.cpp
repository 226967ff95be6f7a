#include "missile/seeker/capture_hindrance.h"

namespace prrsim {

namespace {

struct ChannelSeen {
    bool inView = false;
    bool inBand = false;
    bool detected = false;
};

ChannelSeen seen(const SeekerCatalogs& c, const Missile& m, const RadarSite& r, Channel channel) {
    ChannelSeen s;
    s.inView = inFieldOfView(c, m, r);
    s.inBand = s.inView && bandCovered(c, m, r, channel);
    s.detected = s.inBand && directPower(c, m, r, channel).detected;
    return s;
}

}  // namespace

CaptureHindrance captureHindrance(const SeekerCatalogs& c, const WorldState& world,
                                  const Missile& m) {
    if (m.capturing == 0 || m.locked != 0 || m.signalPresent != 0) {
        return CaptureHindrance::None;
    }
    bool inView = false;
    bool inBand = false;
    for (int32_t j = 0; j < world.radarCount; ++j) {
        const RadarSite& r = radarAt(world, j);
        if (!r.radiating) {
            continue;
        }
        for (const Channel channel : {Channel::Main, Channel::Illumination}) {
            if (channel == Channel::Illumination && !(c.typeOf(r).hasIlluminator && r.illuminationOn)) {
                continue;
            }
            const ChannelSeen s = seen(c, m, r, channel);
            if (s.detected) {
                return CaptureHindrance::None;
            }
            inView = inView || s.inView;
            inBand = inBand || s.inBand;
        }
    }
    if (!inView) {
        return CaptureHindrance::NoRadarInView;
    }
    return inBand ? CaptureHindrance::BelowThreshold : CaptureHindrance::OutOfBand;
}

}  // namespace prrsim
