#include "missile/seeker/seeker_tracking.h"

#include <cmath>
#include <cstdint>
#include <cstdlib>

#include "missile/seeker/seeker_scratch.h"
#include "missile/seeker/seeker_step.h"
#include "world/geometry.h"
#include "world/quick_bearing.h"
#include "world/world_state.h"

namespace prrsim {

namespace {

using seeker::channelOfPass;
using seeker::kIlluminationPass;
using seeker::kMainPass;

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
    if (level == kRecognizeEmissionKind && !m.emissionKindKnown) {
        if (type.measuresEmissionKind) {
            m.pulsed = mode.pulsed ? 1 : 0;
        }
        m.emissionKindKnown = 1;
    } else if (level == kRecognizeParameters ||
               (level == kRecognizeRadarType && !m.signalParamsKnown)) {
        if (m.pulsed == 1) {
            if (type.measuresPrf) {
                m.prf = mode.prf;
            }
            if (type.measuresPulseWidth) {
                m.pulseWidth = mode.pulseWidth;
            }
        }
        m.signalParamsKnown = 1;
        if (level == kRecognizeRadarType && !m.radarTypeIdentified) {
            if (type.identifiesRadarType) {
                m.targetRadarType = r.typeIndex;
            }
            m.radarTypeIdentified = 1;
        }
    }
}

// The power-weighted centre of the received paths, in the order they were received.
void estimateTarget(const WorldState& world, Missile& m, const seeker::ReceptionLog& log) {
    const SeekerScratch& scratch = log.scratch();
    const int32_t meanX = static_cast<int32_t>(log.sumX() / log.count());
    const int32_t meanY = static_cast<int32_t>(log.sumY() / log.count());
    const double totalPower = log.totalPower();
    int32_t estX = meanX;
    int32_t estY = meanY;
    int32_t estZ = 0;
    if (totalPower > 0) {
        for (int32_t k = 0; k < scratch.pathCount; ++k) {
            const RadarSite& r = radarAt(world, scratch.pathRadar[k]);
            const double power = scratch.pathPower[k];
            estX = trunc32(estX + (r.x - meanX) * power / totalPower);
            estY = trunc32(estY + (r.y - meanY) * power / totalPower);
            estZ = trunc32(estZ + r.height * power / totalPower);
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
    if (!m.frequencyKnown && m.signalParamsKnown &&
        c.modeOf(m).recognitionLevel == kRecognizeRadarType &&
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
        case kOnLossRecapture:
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
        case kOnLossWaitingPoint:
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

namespace seeker {

ReceptionLog::ReceptionLog(const SeekerCatalogs& c, WorldState& world, SeekerScratch& scratch,
                           Missile& m)
    : c_(c), world_(world), scratch_(scratch), m_(m) {
    scratch_.pathCount = 0;
}

void ReceptionLog::beginRadar(int32_t row) {
    row_ = row;
    const RadarSite& r = radarAt(world_, row);
    const MissileType& type = c_.typeOf(m_);
    followable_ =
        type.measuresPrf && type.separatesEmitters && prfModeOf(c_.typeOf(r), r.prfMode).pulsed;
    firstHandled_ = false;
}

void ReceptionLog::received(int32_t path, double power, int32_t channel) {
    const RadarSite& r = radarAt(world_, row_);
    SeekerScratch& scratch = scratch_;
    sumX_ += r.x;
    sumY_ += r.y;
    ++n_;
    totalPower_ += power;
    // The list can hold every radar on both passes and every path.
    scratch.pathRadar[scratch.pathCount] = static_cast<int16_t>(row_);
    scratch.pathPower[scratch.pathCount] = power;
    ++scratch.pathCount;
    if (!firstHandled_) {
        learnParameters(c_, m_, r, channel);
        firstHandled_ = true;
    }
    // The followed radar is named by its index field; the received list below holds table
    // positions.
    if (followable_ && m_.trackedRadarId < 0) {
        m_.trackedRadarId = r.index;
    }
    received_ = true;
    // The lists keep the first kReceivedCapacity entries; the estimate uses all.
    if (path == 0) {
        if (directCount_ < kReceivedCapacity) {
            m_.receivedRadars[directCount_++] = row_;
        }
    } else if (reflectionCount_ < kReceivedCapacity) {
        m_.receivedReflections[reflectionCount_++] = path - 1;
    }
}

void ReceptionLog::finish() {
    m_.receivedRadarCount = directCount_;
    m_.receivedReflectionCount = reflectionCount_;
}

}  // namespace seeker

void seekerStep(const SeekerCatalogs& c, WorldState& world, SeekerScratch& scratch, Missile& m,
                const seeker::Reading& reading) {
    const MissileType& type = c.typeOf(m);
    seeker::ReceptionLog log(c, world, scratch, m);
    reading.receive(c, world, m, log);
    log.finish();
    if (log.anyReceived()) {
        estimateTarget(world, m, log);
        // Every step with reception puts the inertial estimate back on the true position.
        m.insX = m.x;
        m.insY = m.y;
        m.insAltitude = m.altitude;
    } else {
        forgetAgedMemory(c, m);
    }
    if (m.capturing && !m.locked) {
        captureStep(type, m, log.anyReceived());
    }
    if (m.locked) {
        lockStep(type, c.modeOf(m), m, log.anyReceived());
    }
}

IndexedRadars::IndexedRadars(SeekerScratch& scratch) : scratch_(scratch) {
    scratch_.radarIndex.held = true;
    scratch_.radarIndex.current = false;
}

IndexedRadars::~IndexedRadars() {
    scratch_.radarIndex.held = false;
    scratch_.radarIndex.current = false;
}

void IndexedRadars::refresh() {
    scratch_.radarIndex.current = false;
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
    if (level == kRecognizeRadarType && m.radarTypeIdentified) {
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
    if ((level == kRecognizeParameters || level == kRecognizeRadarType) && m.signalParamsKnown) {
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
    if (level == kRecognizeEmissionKind ||
        ((level == kRecognizeParameters || level == kRecognizeRadarType) && !m.signalParamsKnown &&
         m.emissionKindKnown)) {
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
        m.bearingToTarget = quickBearingDeg(m.x, m.y, m.targetX, m.targetY);
        const double dist = std::sqrt(square(m.targetX - m.x) + square(m.targetY - m.y));
        m.elevationToTarget = quickBearingDeg(0, m.altitude, dist, m.targetAltitude);
        m.bearingToTarget += directionNoise(world, type.bearingNoise);
        m.elevationToTarget += directionNoise(world, type.bearingNoise);
    } else if (m.targetPositionState == kTargetInertial && type.hasInertialGuidance) {
        m.trackedRadarId = -1;
        m.bearingToTarget = quickBearingDeg(m.insX, m.insY, m.targetX, m.targetY);
        const double dist = std::sqrt(square(m.targetX - m.insX) + square(m.targetY - m.insY));
        m.elevationToTarget = quickBearingDeg(0, m.insAltitude, dist, m.targetAltitude);
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

}  // namespace prrsim
