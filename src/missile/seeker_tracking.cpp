#include "missile/seeker_tracking.h"

#include <array>
#include <cmath>
#include <cstdint>
#include <cstdlib>

#include "sim/geometry.h"
#include "sim/world_state.h"

namespace prrsim {

namespace {

// One radar pass: -1 the illumination signal, 0 the main emission.
constexpr int32_t kIlluminationPass = -1;
constexpr int32_t kMainPass = 0;

Channel channelOfPass(int32_t pass) {
    return pass == kIlluminationPass ? Channel::Illumination : Channel::Main;
}

// The paths of one radar pass that reach the seeker: bit 0 the direct path, bit 1 + l the
// reflection by landmark l.
using PathMask = uint64_t;
static_assert(kLandmarkCapacity + 1 <= 64, "one bit per path");

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
    const Landmark& l = world.landmarks[path - 1];
    if (!inFieldOfViewAt(c, m, r, l)) {
        return {};
    }
    return reflectedPower(c, m, r, l);
}

// The seeker's running sums over every received path of one step.
struct StepSums {
    bool received = false;
    int64_t sumX = 0;
    int64_t sumY = 0;
    int32_t n = 0;
    double totalPower = 0;
};

// Learns the emitter's parameters from the radar's current emission mode. Runs once per
// received radar and step, on its first received path (direct or reflected, either pass), so
// also when that path came on the illumination pass.
void learnParameters(const SeekerCatalogs& c, Missile& m, const RadarSite& r, int32_t channel) {
    const MissileType& type = c.typeOf(m);
    const uint8_t level = c.modeOf(m).recognitionLevel;
    const PrfMode& mode = prfModeOf(c.typeOf(r), r.prfMode);
    if (!m.frequencyKnown && type.measuresFrequency &&
        (m.signalParamsKnown || (!type.measuresPrf && !type.measuresPulseWidth))) {
        m.frequencyChannel = channel;
        m.frequencyKnown = 1;
    }
    if (level == 1 && !m.emissionKindKnown) {
        if (type.measuresEmissionKind) {
            m.pulsed = mode.pulsed ? 1 : 0;
        }
        m.emissionKindKnown = 1;
    } else if (level == 2 || (level == 3 && !m.signalParamsKnown)) {
        if (m.pulsed == 1) {
            if (type.measuresPrf) {
                m.prf = mode.prf;
            }
            if (type.measuresPulseWidth) {
                m.pulseWidth = mode.pulseWidth;
            }
        }
        m.signalParamsKnown = 1;
        if (level == 3 && !m.radarTypeIdentified) {
            if (type.identifiesRadarType) {
                m.targetRadarType = r.typeIndex;
            }
            m.radarTypeIdentified = 1;
        }
    }
}

// Reception of every radar: sums, parameter learning, pulse-train following and the received
// lists. Returns, per radar and pass, the paths received, for the estimate.
StepSums receiveRadars(const SeekerCatalogs& c, const WorldState& world, Missile& m,
                       std::array<PathMask, 2 * kRadarCapacity>& paths) {
    const MissileType& type = c.typeOf(m);
    const int32_t landmarks = landmarksOf(world);
    StepSums sums;
    int32_t directCount = 0;
    int32_t reflectionCount = 0;
    for (int32_t j = 0; j < world.radarCount; ++j) {
        paths[2 * j] = 0;
        paths[2 * j + 1] = 0;
        const RadarSite& r = world.radars[j];
        // The band of the main channel decides for both passes.
        if (!bandCovered(c, m, r, Channel::Main)) {
            continue;
        }
        if (type.identifiesRadarType && !radarTypeAccepted(c, m, r.typeIndex)) {
            continue;
        }
        const RadarType& rt = c.typeOf(r);
        const bool followable =
            type.measuresPrf && type.separatesEmitters && prfModeOf(rt, r.prfMode).pulsed;
        bool firstHandled = false;
        for (const int32_t pass : {kIlluminationPass, kMainPass}) {
            if (pass == kIlluminationPass && !(rt.hasIlluminator && r.illuminationOn)) {
                continue;
            }
            int32_t channel = 0;
            if (!acceptEmission(c, m, r, pass, channel)) {
                continue;
            }
            PathMask& mask = paths[2 * j + (pass == kMainPass ? 1 : 0)];
            for (int32_t path = 0; path <= landmarks; ++path) {
                const Reception got = pathReception(c, world, m, r, pass, path);
                if (!got.detected) {
                    continue;
                }
                mask |= PathMask{1} << path;
                sums.sumX += r.x;
                sums.sumY += r.y;
                ++sums.n;
                sums.totalPower += got.power;
                if (!firstHandled) {
                    learnParameters(c, m, r, channel);
                    firstHandled = true;
                }
                // The followed radar is named by its index field; the received list below
                // holds table positions.
                if (followable && m.trackedRadarId < 0) {
                    m.trackedRadarId = r.index;
                }
                sums.received = true;
                // The lists keep the first kReceivedCapacity entries; the estimate uses all.
                if (path == 0) {
                    if (directCount < kReceivedCapacity) {
                        m.receivedRadars[directCount++] = j;
                    }
                } else if (reflectionCount < kReceivedCapacity) {
                    m.receivedReflections[reflectionCount++] = path - 1;
                }
            }
        }
    }
    m.receivedRadarCount = directCount;
    m.receivedReflectionCount = reflectionCount;
    return sums;
}

// The power-weighted centre of the received paths, visited again in the order they were
// received (their powers depend only on geometry, which the step does not change).
void estimateTarget(const SeekerCatalogs& c, const WorldState& world, Missile& m,
                    const StepSums& sums, const std::array<PathMask, 2 * kRadarCapacity>& paths) {
    const int32_t meanX = static_cast<int32_t>(sums.sumX / sums.n);
    const int32_t meanY = static_cast<int32_t>(sums.sumY / sums.n);
    int32_t estX = meanX;
    int32_t estY = meanY;
    int32_t estZ = 0;
    if (sums.totalPower > 0) {
        const int32_t landmarks = landmarksOf(world);
        for (int32_t j = 0; j < world.radarCount; ++j) {
            const RadarSite& r = world.radars[j];
            for (const int32_t pass : {kIlluminationPass, kMainPass}) {
                const PathMask mask = paths[2 * j + (pass == kMainPass ? 1 : 0)];
                for (int32_t path = 0; mask != 0 && path <= landmarks; ++path) {
                    if (!(mask & (PathMask{1} << path))) {
                        continue;
                    }
                    const double power = pathReception(c, world, m, r, pass, path).power;
                    estX = trunc32(estX + (r.x - meanX) * power / sums.totalPower);
                    estY = trunc32(estY + (r.y - meanY) * power / sums.totalPower);
                    estZ = trunc32(estZ + r.height * power / sums.totalPower);
                }
            }
        }
    }
    m.targetX = estX;
    m.targetY = estY;
    m.targetAltitude = estZ;
}

// Without reception the memorised frequency, then (level 3) the pulse parameters, expire.
void forgetAgedMemory(const SeekerCatalogs& c, Missile& m) {
    const MissileType& type = c.typeOf(m);
    m.trackedRadarId = -1;
    if (m.frequencyKnown && m.frequencyAge > type.frequencyMemoryTime) {
        m.frequencyKnown = 0;
        m.frequencyAge = 0;
    }
    if (!m.frequencyKnown && m.signalParamsKnown && c.modeOf(m).recognitionLevel == 3 &&
        m.paramsAge > type.paramsMemoryTime) {
        m.signalParamsKnown = 0;
        m.paramsAge = 0;
    }
}

uint8_t positionStateWithoutSignal(const MissileType& type) {
    return type.hasInertialGuidance ? kTargetInertial : kTargetNone;
}

void captureStep(const MissileType& type, Missile& m, bool received) {
    if (!m.signalPresent && received) {
        m.signalTime = 0;
        m.targetPositionState = kTargetFromSeeker;
        m.signalPresent = 1;
    } else if (!received && m.signalPresent) {
        m.signalTime = 0;
        if (type.hasInertialGuidance) {
            m.targetPositionState = kTargetInertial;
        }
        m.signalPresent = 0;
    }
    if (m.signalPresent && m.signalTime > type.lockConfirmTime) {
        m.locked = 1;
        m.targetPositionState = kTargetFromSeeker;
        m.lockLost = 0;
        m.capturing = 0;
        m.guidanceMode = kHoming;
    }
}

void lockLossAction(const MissileType& type, const LaunchMode& mode, Missile& m) {
    m.lockLost = 1;
    switch (mode.lossAction) {
        case 1:
            m.capturing = 1;
            m.targetPositionState = positionStateWithoutSignal(type);
            if (mode.forgetOnLoss) {
                m.signalParamsKnown = 0;
                m.radarTypeIdentified = 0;
                m.emissionKindKnown = 0;
                if (mode.searchOnLoss) {
                    m.searchEnabled = 1;
                    m.capturing = 0;
                }
            }
            break;
        case 2:
            if (!m.loiterUsed) {
                m.loiterUsed = 1;
                m.guidanceMode = kToWaitingPoint;
                // With inertial guidance the flight to the waiting point runs on inertial data;
                // without target data neither the position estimate nor the bearing would
                // advance and the waiting point would never be reached.
                m.targetPositionState = positionStateWithoutSignal(type);
            } else {
                m.capturing = 1;
            }
            break;
        default:
            break;
    }
}

void lockStep(const MissileType& type, const LaunchMode& mode, Missile& m, bool received) {
    if (!received && m.signalPresent) {
        m.signalPresent = 0;
        m.lossTime = 0;
        m.targetPositionState = positionStateWithoutSignal(type);
    } else if (!m.signalPresent && received) {
        m.signalPresent = 1;
        m.targetPositionState = kTargetFromSeeker;
        m.lossTime = 0;
    }
    if (!m.signalPresent && m.lossTime >= type.lockHoldTime) {
        m.locked = 0;
        m.capturing = 0;
    }
    if (!m.locked) {
        lockLossAction(type, mode, m);
    }
}

// A PRF or pulse-width deviation counts only above 15 %.
bool prfDeviates(const PrfMode& e, const Missile& m) {
    return std::abs(e.prf - m.prf) > 0.15 * m.prf;
}

bool pulseWidthDeviates(const PrfMode& e, const Missile& m) {
    return absInt(trunc32(e.pulseWidth - m.pulseWidth)) > 0.15 * m.pulseWidth;
}

// The noise added to a measured direction: uniform over {1.00, 0.98, ..., -0.98} x noise.
double directionNoise(WorldState& world, double noise) {
    return (1 - randomBelow(world, 100) * 2 * 0.01) * noise;
}

}  // namespace

void seekerStep(const SeekerCatalogs& c, WorldState& world, Missile& m) {
    const MissileType& type = c.typeOf(m);
    std::array<PathMask, 2 * kRadarCapacity> paths;
    const StepSums sums = receiveRadars(c, world, m, paths);
    if (sums.received) {
        estimateTarget(c, world, m, sums, paths);
        // Every step with reception puts the inertial estimate back on the true position.
        m.insX = m.x;
        m.insY = m.y;
        m.insAltitude = m.altitude;
    } else {
        forgetAgedMemory(c, m);
    }
    if (m.capturing && !m.locked) {
        captureStep(type, m, sums.received);
    }
    if (m.locked) {
        lockStep(type, c.modeOf(m), m, sums.received);
    }
}

bool acceptEmission(const SeekerCatalogs& c, const Missile& m, const RadarSite& r, int32_t pass,
                    int32_t& channelOut) {
    const MissileType& type = c.typeOf(m);
    const LaunchMode& mode = c.modeOf(m);
    const RadarType& rt = c.typeOf(r);
    const PrfMode& e = pass == kIlluminationPass ? rt.illuminationMode : prfModeOf(rt, r.prfMode);
    channelOut = frequencyChannelOf(c, m, r.frequency);

    if (!emissionKindAccepted(c, m, r, channelOfPass(pass))) {
        return false;
    }
    // Pulse-train separation: only the followed radar's main emission passes.
    if (type.measuresPrf && type.separatesEmitters && m.trackedRadarId >= 0 &&
        m.signalParamsKnown && pass == kMainPass && r.index != m.trackedRadarId) {
        return false;
    }
    if (!m.launched && mode.designatedRadarOnly && r.index != m.targetRadarId) {
        return false;
    }
    if (!m.signalParamsKnown && !m.emissionKindKnown && !m.radarTypeIdentified) {
        return true;
    }
    const uint8_t level = mode.recognitionLevel;
    const bool frequencyDiffers =
        m.frequencyKnown && type.measuresFrequency && channelOut != m.frequencyChannel;
    if (level == 3 && m.radarTypeIdentified) {
        if (m.signalParamsKnown) {
            if (frequencyDiffers) {
                return false;
            }
            // Both pulse tests apply only to a memorised pulsed emission.
            if (m.pulsed == 1) {
                if (type.measuresPulseWidth && pulseWidthDeviates(e, m)) {
                    return false;
                }
                if (type.measuresPrf && prfDeviates(e, m)) {
                    return false;
                }
            }
        }
        return !(radarTypeAccepted(c, m, r.typeIndex) && r.typeIndex != m.targetRadarType);
    }
    if ((level == 2 || level == 3) && m.signalParamsKnown) {
        if (frequencyDiffers) {
            return false;
        }
        if (m.pulsed == 1) {
            if (type.measuresPrf && prfDeviates(e, m)) {
                return false;
            }
            if (m.frequencyKnown && type.measuresPulseWidth && pulseWidthDeviates(e, m)) {
                return false;
            }
        }
        return true;
    }
    if (level == 1 || ((level == 2 || level == 3) && !m.signalParamsKnown && m.emissionKindKnown)) {
        return !(type.measuresEmissionKind && (e.pulsed ? 1 : 0) != m.pulsed);
    }
    return true;
}

void headStep(const SeekerCatalogs& c, WorldState& world, Missile& m) {
    const MissileType& type = c.typeOf(m);
    if (m.locked || (m.lockLost && type.hasInertialGuidance)) {
        // The antenna moves by a fixed step toward the target; at a limit it stays there.
        const double relAz = angleDiff(m.heading, m.bearingToTarget);
        const double errAz = angleDiff(m.headAzimuth, relAz);
        if (absInt(trunc32(m.headAzimuth)) < type.headAzimuthLimit) {
            m.headAzimuth += signOf(errAz) * 0.01 * type.maxAngularRate;
        }
        const double relEl = angleDiff(m.pitch, m.elevationToTarget);
        const double errEl = angleDiff(m.headElevation, relEl);
        if (type.headElevationMin < m.headElevation && m.headElevation < type.headElevationMax) {
            m.headElevation += signOf(errEl) * 0.01 * type.maxAngularRate;
        }
    }
    if (m.targetPositionState == kTargetFromSeeker) {
        m.bearingToTarget = bearingDeg(m.x, m.y, m.targetX, m.targetY);
        const double dist = std::sqrt(square(m.targetX - m.x) + square(m.targetY - m.y));
        m.elevationToTarget = bearingDeg(0, m.altitude, dist, m.targetAltitude);
        m.bearingToTarget += directionNoise(world, type.bearingNoise);
        m.elevationToTarget += directionNoise(world, type.bearingNoise);
    } else if (m.targetPositionState == kTargetInertial && type.hasInertialGuidance) {
        m.trackedRadarId = -1;
        m.bearingToTarget = bearingDeg(m.insX, m.insY, m.targetX, m.targetY);
        const double dist = std::sqrt(square(m.targetX - m.insX) + square(m.targetY - m.insY));
        m.elevationToTarget = bearingDeg(0, m.insAltitude, dist, m.targetAltitude);
    }
}

void timerStep(const SeekerCatalogs& c, Missile& m) {
    const MissileType& type = c.typeOf(m);
    if (m.locked && !m.signalPresent) {
        m.lossTime += 0.01;
    }
    if (!m.locked && m.signalPresent) {
        m.signalTime += 0.01;
    }
    if (!m.signalPresent && type.measuresFrequency && m.frequencyKnown && m.signalParamsKnown) {
        m.frequencyAge += 0.01;
    }
    if (!m.signalPresent && !(m.frequencyKnown && type.measuresFrequency) &&
        (type.measuresPrf || type.measuresPulseWidth) && m.signalParamsKnown) {
        m.paramsAge += 0.01;
    }
    if (m.searchEnabled) {
        m.scanTimer += 0.01;
    }
}

void seekerStep(WorldState& world, Missile& m) {
    seekerStep(programCatalogs(), world, m);
}

bool acceptEmission(const Missile& m, const RadarSite& r, int32_t pass, int32_t& channelOut) {
    return acceptEmission(programCatalogs(), m, r, pass, channelOut);
}

void headStep(WorldState& world, Missile& m) {
    headStep(programCatalogs(), world, m);
}

void timerStep(Missile& m) {
    timerStep(programCatalogs(), m);
}

}  // namespace prrsim
