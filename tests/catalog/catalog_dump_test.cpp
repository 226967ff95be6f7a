// Both catalogues, every field of every entry, against the checked-in dump
// tests/catalog/catalog_dump.txt. A changed value fails naming the entry and field; after a
// deliberate change regenerate the file with PRRSIM_UPDATE_CATALOG_DUMP=1 and review the diff.
#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "catalog/missile_catalog.h"
#include "catalog/radar_catalog.h"

namespace prrsim {
namespace {

// One "entry.field=value" line per field; reals with 17 significant digits.
class Dump {
  public:
    explicit Dump(std::string prefix) : prefix_(std::move(prefix)) {}
    template <typename T>
    void operator()(const char* name, const T& v) {
        std::ostringstream text;
        text.precision(17);
        if constexpr (std::is_same_v<T, std::string_view>) {
            text << v;
        } else if constexpr (std::is_same_v<T, char>) {
            text << (v == '\0' ? std::string("-") : std::string(1, v));
        } else {
            text << +v;
        }
        lines_.push_back(prefix_ + name + "=" + text.str());
    }
    template <typename T, size_t N>
    void list(const char* name, const std::array<T, N>& a, int32_t count) {
        for (int32_t i = 0; i < count && i < static_cast<int32_t>(N); ++i) {
            (*this)((std::string(name) + "[" + std::to_string(i) + "]").c_str(), a[i]);
        }
    }
    Dump sub(const std::string& name) const { return Dump(prefix_ + name + "."); }
    void take(const Dump& other) {
        lines_.insert(lines_.end(), other.lines_.begin(), other.lines_.end());
    }
    const std::vector<std::string>& lines() const { return lines_; }

  private:
    std::string prefix_;
    std::vector<std::string> lines_;
};

#define F(field) d(#field, e.field)

void dumpPrfMode(Dump& d, const PrfMode& e) {
    F(prf), F(pulseWidth), F(pulsed), F(compression), F(wobble);
}

void dumpRadarType(Dump& d, const RadarType& e) {
    F(name), F(kind), F(category), F(hasIlluminator), F(beamWidthAz), F(beamWidthEl);
    F(sidelobeLevel), F(maxTracks), F(trackSwitchRate), F(trackSectorWidth);
    d.list("rotationRates", e.rotationRates, e.rotationRateCount);
    F(maxBlinkPeriod), F(scanKind), F(freqMin), F(freqMax), F(band), F(illuminatorBand);
    F(power), F(illuminatorPower);
    for (int32_t i = 0; i < e.scanMethodCount; ++i) {
        Dump s = d.sub("scanMethods[" + std::to_string(i) + "]");
        const ScanMethod& m = e.scanMethods[i];
        s("name", m.name), s("sectorWidth", m.sectorWidth), s("elevationMin", m.elevationMin);
        s("elevationMax", m.elevationMax), s("scanRate", m.scanRate);
        d.take(s);
    }
    for (int32_t i = 0; i < e.prfModeCount; ++i) {
        Dump s = d.sub("prfModes[" + std::to_string(i) + "]");
        dumpPrfMode(s, e.prfModes[i]);
        d.take(s);
    }
    Dump s = d.sub("illuminationMode");
    dumpPrfMode(s, e.illuminationMode);
    d.take(s);
}

void dumpLaunchMode(Dump& d, const LaunchMode& e) {
    F(name), F(takeBearingOnLock), F(crewRecognitionLevel), F(storeTargetPositionOnLock);
    F(designatedRadarOnly), F(captureBeforeLaunch), F(forgetOnLoss), F(searchOnLoss);
    F(keepSearching), F(usesTargetList), F(targetListPriority), F(recognitionLevel);
    F(lossAction), F(waitingAltitude), F(climbProfile), F(climbParameter);
    F(startAtWaitingPoint), F(keepClimbProfile), F(diveAngle);
}

void dumpMissileType(Dump& d, const MissileType& e) {
    F(name), F(maxLateralAcceleration), F(dragFactor), F(parachuteDragFactor), F(motorThrust);
    F(launchMass), F(fuelMass), F(burnTime), F(powerEndurance), F(emissionKinds), F(bands);
    F(sensitivity), F(antennaArea), F(fieldOfViewAz), F(fieldOfViewEl), F(bearingNoise);
    F(headAzimuthLimit), F(headElevationMin), F(headElevationMax), F(maxAngularRate);
    F(wideSearch), F(measuresFrequency), F(channelRule);
    d.list("channelTable", e.channelTable, e.channelTableCount);
    F(measuresPrf), F(measuresEmissionKind), F(measuresPulseWidth), F(identifiesRadarType);
    F(maxEmitters), F(directionGate), F(separatesEmitters), F(lockConfirmTime);
    F(lockHoldTime), F(paramsMemoryTime), F(frequencyMemoryTime), F(selectionRule);
    d.list("priorityList", e.priorityList, e.priorityCount);
    F(acceptAllTypes), F(useOwnTypeList);
    d.list("ownTypeList", e.ownTypeList, e.ownTypeCount);
    F(hasInertialGuidance), F(inertialDrift), F(hasProximityFuse), F(fuseDistance);
    for (int32_t i = 0; i < e.launchModeCount; ++i) {
        Dump s = d.sub("launchModes[" + std::to_string(i) + "]");
        dumpLaunchMode(s, e.launchModes[i]);
        d.take(s);
    }
}

#undef F

std::vector<std::string> catalogDump() {
    Dump all("");
    for (int32_t t = 0; t < radarTypeCount(); ++t) {
        Dump d("radarType[" + std::to_string(t) + "].");
        dumpRadarType(d, radarType(t));
        all.take(d);
    }
    for (int32_t c = 0; c < samComplexCount(); ++c) {
        Dump d("samComplex[" + std::to_string(c) + "].");
        d("name", samComplex(c).name);
        d.list("memberTypes", samComplex(c).memberTypes, samComplex(c).memberCount);
        all.take(d);
    }
    for (int32_t t = 0; t < missileTypeCount(); ++t) {
        Dump d("missileType[" + std::to_string(t) + "].");
        dumpMissileType(d, missileType(t));
        all.take(d);
    }
    return all.lines();
}

TEST(CatalogDump, EveryFieldOfEveryEntryMatchesTheStoredDump) {
    const std::string path = PRRSIM_SOURCE_DIR "/tests/catalog/catalog_dump.txt";
    const std::vector<std::string> dump = catalogDump();
    if (std::getenv("PRRSIM_UPDATE_CATALOG_DUMP") != nullptr) {
        std::ofstream out(path, std::ios::trunc);
        for (const std::string& line : dump) {
            out << line << '\n';
        }
        GTEST_SKIP() << "catalogue dump rewritten: " << path;
    }
    std::ifstream in(path);
    std::vector<std::string> stored;
    for (std::string line; std::getline(in, line);) {
        stored.push_back(line);
    }
    ASSERT_FALSE(stored.empty()) << path;
    for (size_t i = 0; i < std::max(dump.size(), stored.size()); ++i) {
        const std::string now = i < dump.size() ? dump[i] : "(none)";
        const std::string was = i < stored.size() ? stored[i] : "(none)";
        ASSERT_EQ(now, was) << "first difference at line " << i + 1;
    }
}

}  // namespace
}  // namespace prrsim
