#include "missile/seeker/seeker_reception.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <string_view>

#include "missile/seeker/seeker_geometry.h"
#include "missile/seeker/seeker_scratch.h"
#include "world/geometry.h"
#include "world/world_state.h"

namespace prrsim {

namespace {

using seeker::antennaGain;
using seeker::bearingTo;
using seeker::channelMode;
using seeker::horizontalDistance;
using seeker::inBeam;
using seeker::lineOfSightElevation;
using seeker::magnitude;
using seeker::rangeTerm;

double sidelobeFactor(const RadarType& rt) {
    return seeker::sidelobeFactor(rt.sidelobeLevel);
}

// The selection rule's choice among the emitters, -1 for none. Rules 4, 5 and 7 are reserved
// and select nothing.
int32_t selectByRule(const SeekerCatalogs& c, const WorldState& world, const Missile& m) {
    const MissileType& type = c.typeOf(m);
    int32_t chosen = -1;
    switch (type.selectionRule) {
        case kSelectLastContinuous:
            for (int32_t i = 0; i < m.emitterCount; ++i) {
                if (!m.emitters[i].emissionMode.pulsed) {
                    chosen = i;
                }
            }
            break;
        case kSelectByCategory:
        case kSelectByKind:
        case kSelectByType: {
            // Smallest rank wins, the first on ties; a key missing from the list ranks last.
            int32_t best = std::numeric_limits<int32_t>::max();
            for (int32_t i = 0; i < m.emitterCount; ++i) {
                const int32_t rank = priorityRank(c, m, radarAt(world, m.emitters[i].radar));
                const int32_t key = rank < 0 ? std::numeric_limits<int32_t>::max() - 1 : rank;
                if (key < best) {
                    best = key;
                    chosen = i;
                }
            }
            break;
        }
        default:
            break;
    }
    return chosen;
}

// Matches the emitters to the missile's target list: each entry in order takes the nearest
// emitter within its capture radius (squared integer distance) that no earlier entry took; an
// unset radius of 0 takes only an emitter at exactly the entry's position. With the launch
// mode's targetListPriority the entry with the smallest priority (the first on ties) that got
// an emitter supplies the selection; otherwise `chosen` stands.
int32_t matchTargetList(const SeekerCatalogs& c, Missile& m, int32_t chosen) {
    const int32_t entries = std::clamp(m.targetListCount, 0, kTargetListCapacity);
    int32_t bestEntry = -1;
    for (int32_t e = 0; e < entries; ++e) {
        TargetListEntry& entry = m.targetList[e];
        entry.assignedEmitter = -1;
        if (entry.captureRadius < 0) {
            continue;
        }
        const int64_t radius = entry.captureRadius;
        int64_t nearest = radius * radius;
        for (int32_t i = 0; i < m.emitterCount; ++i) {
            const ReceivedEmitter& em = m.emitters[i];
            if (em.assignedEntry >= 0) {
                continue;
            }
            const int64_t dx = int64_t{em.x} - entry.x;
            const int64_t dy = int64_t{em.y} - entry.y;
            const int64_t d2 = dx * dx + dy * dy;
            if (d2 < nearest || (d2 == nearest && entry.assignedEmitter < 0)) {
                nearest = d2;
                entry.assignedEmitter = i;
            }
        }
        if (entry.assignedEmitter >= 0) {
            ReceivedEmitter& em = m.emitters[entry.assignedEmitter];
            em.assignedEntry = e;
            em.priority = entry.priority;
            if (bestEntry < 0 || entry.priority < m.targetList[bestEntry].priority) {
                bestEntry = e;
            }
        }
    }
    if (c.modeOf(m).targetListPriority && bestEntry >= 0) {
        return m.targetList[bestEntry].assignedEmitter;
    }
    return chosen;
}

// A search that finds the radar already captured or locked finds nothing new.
bool isNewEmitter(const SeekerCatalogs& c, const WorldState& world, const Missile& m,
                  const ReceivedEmitter& em) {
    const MissileType& type = c.typeOf(m);
    const RadarSite& r = radarAt(world, em.radar);
    return (type.measuresFrequency &&
            frequencyChannelOf(c, m, r.frequency) != m.frequencyChannel) ||
           (type.measuresPrf && em.emissionMode.prf != m.prf) ||
           (type.measuresPulseWidth && em.emissionMode.pulseWidth != m.pulseWidth);
}

}  // namespace

SeekerCatalogs programCatalogs() {
    return {missileCatalog(), radarCatalog()};
}

bool bandCovered(const SeekerCatalogs& c, const Missile& m, const RadarSite& r, Channel channel) {
    const RadarType& rt = c.typeOf(r);
    const FrequencyBand letter = channel == Channel::Illumination ? rt.illuminatorBand : rt.band;
    return letter != '\0' && c.typeOf(m).bands.find(letter) != std::string_view::npos;
}

bool emissionKindAccepted(const SeekerCatalogs& c, const Missile& m, const RadarSite& r,
                          Channel channel) {
    const bool pulsed = channelMode(c.typeOf(r), r, channel).pulsed;
    const uint8_t kinds = c.typeOf(m).emissionKinds;
    return kinds == 2 || (kinds == 0 && pulsed) || (kinds == 1 && !pulsed);
}

bool radarTypeAccepted(const SeekerCatalogs& c, const Missile& m, int32_t radarTypeIndex) {
    const MissileType& type = c.typeOf(m);
    if (type.identifiesRadarType == 0 || type.acceptAllTypes == 1) {
        return true;
    }
    const int32_t* first = type.useOwnTypeList ? type.ownTypeList.data() : m.acceptedTypes.data();
    const int32_t count = type.useOwnTypeList
                              ? std::clamp(type.ownTypeCount, 0, kOwnTypeListCapacity)
                              : std::clamp(m.acceptedTypeCount, 0, kAcceptedTypeCapacity);
    return std::find(first, first + count, radarTypeIndex) != first + count;
}

int32_t frequencyChannelOf(const SeekerCatalogs& c, const Missile& m, double frequency) {
    const MissileType& type = c.typeOf(m);
    const int32_t count = std::clamp(type.channelTableCount, 0, kChannelTableCapacity);
    switch (type.channelRule) {
        case 0:
        case 1: {
            if (count < 3) {
                return 0;
            }
            const double lower = type.channelTable[0];
            const double upper = type.channelTable[1];
            const double width = type.channelTable[2];
            if (!(lower < frequency && frequency < upper) || width <= 0) {
                return 0;
            }
            return trunc32(trunc32(frequency - lower) / width);
        }
        case 2: {
            int32_t below = 0;
            while (below < count && type.channelTable[below] < frequency) {
                ++below;
            }
            return below;
        }
        default:
            return 0;
    }
}

int32_t priorityRank(const SeekerCatalogs& c, const Missile& m, const RadarSite& r) {
    const MissileType& type = c.typeOf(m);
    int32_t key;
    switch (type.selectionRule) {
        case kSelectByType:
            key = r.typeIndex;
            break;
        case kSelectByKind:
            key = c.typeOf(r).kind;
            break;
        case kSelectByCategory:
            key = c.typeOf(r).category;
            break;
        default:
            return -1;
    }
    const int32_t count = std::clamp(type.priorityCount, 0, kPriorityListCapacity);
    for (int32_t i = 0; i < count; ++i) {
        if (type.priorityList[i] == key) {
            return i;
        }
    }
    return -1;
}

bool inGimbalRange(const SeekerCatalogs& c, const Missile& m, const RadarSite& r) {
    const MissileType& type = c.typeOf(m);
    const double elLow = type.headElevationMin - 0.5 * type.fieldOfViewEl;
    const double elHigh = type.headElevationMax + 0.5 * type.fieldOfViewEl;
    double az = angleDiff(m.heading, bearingTo(m, r.x, r.y));
    // Looking straight down the azimuth says nothing.
    if (elLow < 270 - m.pitch && 270 - m.pitch < elHigh) {
        az = 0;
    }
    const double el = angleDiff(m.pitch, lineOfSightElevation(m, r));
    return magnitude(az) < 0.5 * type.headAzimuthLimit + 0.5 * type.fieldOfViewAz && elLow < el &&
           el < elHigh;
}

bool inFieldOfView(const SeekerCatalogs& c, const Missile& m, const RadarSite& r) {
    return seeker::inFieldOfViewOf(c, m, r);
}

// Through a landmark the gate, when active, still looks at the radar itself.
bool inFieldOfViewAt(const SeekerCatalogs& c, const Missile& m, const RadarSite& r,
                     const Landmark& l) {
    const MissileType& type = c.typeOf(m);
    if (seeker::directionGateActive(c, m, r)) {
        return seeker::insideDirectionGate(type, m, r);
    }
    // The landmark's elevation is taken at the radar's height.
    return seeker::inFieldOfViewAzimuth(type, m, bearingTo(m, l.x, l.y)) &&
           seeker::inFieldOfViewElevation(
               type, m, lineOfSightElevation(m, horizontalDistance(m, l.x, l.y), r.height));
}

Reception directPower(const SeekerCatalogs& c, const Missile& m, const RadarSite& r,
                      Channel channel) {
    return seeker::directPowerOf(c, m, r, channel);
}

Reception reflectedPower(const SeekerCatalogs& c, const Missile& m, const RadarSite& r,
                         const Landmark& l) {
    if (!r.radiating) {
        return {};
    }
    const RadarType& rt = c.typeOf(r);
    const MissileType& type = c.typeOf(m);
    const seeker::RadarToLandmark seen = seeker::radarToLandmark(r, l);
    const double d2 = horizontalDistance(m, l.x, l.y);
    double pt = rt.power;
    if (!inBeam(rt, r, seen.bearing, seen.elevation)) {
        pt *= sidelobeFactor(rt);
    }
    const double g = antennaGain(rt);
    const double power =
        seeker::reflectedPowerValue(pt, type.antennaArea, l.size, g, rangeTerm(d2), seen.term);
    return {power >= type.sensitivity, power};
}

SearchResult searchEmitters(const SeekerCatalogs& c, WorldState& world, Missile& m,
                            const seeker::Reading& reading) {
    const MissileType& type = c.typeOf(m);
    // The cap is tested once per radar, so a radar's second channel may go one above it; the
    // list holds kEmitterCapacity entries.
    const int32_t cap = std::min(type.maxEmitters, kEmitterCapacity - 1);
    int32_t n = 0;
    const seeker::FieldOfViewPretest fieldOfView(c, m);
    for (int32_t j = 0; j < world.radarCount; ++j) {
        const RadarSite& r = radarAt(world, j);
        if (!radarTypeAccepted(c, m, r.typeIndex) || n >= cap) {
            continue;
        }
        const bool inView =
            type.wideSearch ? inGimbalRange(c, m, r) : reading.searchSees(fieldOfView, r);
        if (!inView) {
            continue;
        }
        const RadarType& rt = c.typeOf(r);
        const int32_t firstOfRadar = n;
        double power = 0;
        for (const Channel channel : {Channel::Illumination, Channel::Main}) {
            if (channel == Channel::Illumination && !(rt.hasIlluminator && r.illuminationOn)) {
                continue;
            }
            if (!emissionKindAccepted(c, m, r, channel) || !bandCovered(c, m, r, channel)) {
                continue;
            }
            const Reception heard = directPower(c, m, r, channel);
            if (!heard.detected) {
                continue;
            }
            ReceivedEmitter& em = m.emitters[n];
            em = ReceivedEmitter{};
            em.x = r.x;
            em.y = r.y;
            em.height = r.height;
            em.emissionMode = channelMode(rt, r, channel);
            em.typeIndex = r.typeIndex;
            em.assignedEntry = -1;
            em.horizontalRange = trunc32(horizontalDistance(m, r.x, r.y));
            em.radar = j;
            em.isIllumination = channel == Channel::Illumination ? 1 : 0;
            power = heard.power;  // a later channel of the radar overwrites the noted power
            ++n;
        }
        for (int32_t i = firstOfRadar; i < n; ++i) {
            m.emitters[i].receivedPower = power;
        }
    }
    m.emitterCount = n;

    int32_t chosen = selectByRule(c, world, m);
    if (c.modeOf(m).usesTargetList) {
        chosen = matchTargetList(c, m, chosen);
    }
    if (chosen < 0) {
        return {};
    }
    const ReceivedEmitter& em = m.emitters[chosen];
    if ((m.capturing || m.locked) && !isNewEmitter(c, world, m, em)) {
        return {};
    }
    return {em.radar, em.isIllumination ? Channel::Illumination : Channel::Main};
}

void lockOnEmitter(const SeekerCatalogs& c, WorldState& world, Missile& m, int32_t radar,
                   Channel channel, bool automatic) {
    if (!validRadar(world, radar)) {
        return;
    }
    const RadarSite& r = radarAt(world, radar);
    const MissileType& type = c.typeOf(m);
    const LaunchMode& mode = c.modeOf(m);
    const PrfMode& s = channelMode(c.typeOf(r), r, channel);
    const uint8_t level = automatic ? mode.recognitionLevel : mode.crewRecognitionLevel;

    if (level == kRecognizeNothing) {
        m.signalParamsKnown = 0;
        m.emissionKindKnown = 0;
        m.radarTypeIdentified = 0;
        m.frequencyKnown = 0;
    } else {
        if (type.measuresEmissionKind) {
            m.pulsed = s.pulsed ? 1 : 0;
            m.emissionKindKnown = 1;
        } else {
            m.emissionKindKnown = 0;
        }
        if (emissionKindAccepted(c, m, r, channel) && level >= kRecognizeParameters) {
            if (type.measuresPrf) {
                m.prf = s.prf;
            }
            if (type.measuresPulseWidth) {
                m.pulseWidth = s.pulseWidth;
            }
            if (type.measuresFrequency) {
                m.frequencyChannel = frequencyChannelOf(c, m, r.frequency);
                m.frequencyKnown = 1;
            } else {
                m.frequencyKnown = 0;
            }
            m.signalParamsKnown =
                (type.measuresPrf || type.measuresPulseWidth || type.measuresFrequency) ? 1 : 0;
            if (level >= kRecognizeRadarType) {
                if (type.identifiesRadarType) {
                    m.targetRadarType = r.typeIndex;
                    m.radarTypeIdentified = 1;
                } else {
                    m.radarTypeIdentified = 0;
                }
            }
        }
    }

    if (mode.designatedRadarOnly) {
        m.targetRadarId = r.index;
    }
    if (mode.takeBearingOnLock) {
        const int32_t b = bearingTo(m, r.x, r.y);
        m.headAzimuth = angleDiff(m.heading, b);
        m.bearingToTarget = b;
        if (magnitude(m.headAzimuth) > 0.5 * type.headAzimuthLimit) {
            m.headAzimuth = 0;
        }
        const int32_t e = lineOfSightElevation(m, r);
        m.headElevation = angleDiff(m.pitch, e);
        m.elevationToTarget = e;
        if (m.headElevation > type.headElevationMax || m.headElevation < type.headElevationMin) {
            m.headElevation = 0;
        }
    }
    if (type.hasInertialGuidance && mode.storeTargetPositionOnLock) {
        m.targetX = r.x;
        m.targetY = r.y;
        m.targetAltitude = r.height;
        m.targetPositionState = kTargetInertial;
    }
    if (mode.forgetOnLoss && mode.keepSearching && mode.searchOnLoss) {
        m.searchEnabled = 1;
    }
    m.acceptedTypes[0] = r.typeIndex;
    m.acceptedTypeCount = 1;
}

}  // namespace prrsim
