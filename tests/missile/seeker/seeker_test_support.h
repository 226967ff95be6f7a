#pragma once

// Catalogue entries and scenes of the tests' own making for the seeker tests: a missile at
// (50, 100), 0.5 map units high, flying along +x towards radars standing further along y = 100
// whose antennas point back at it.

#include <memory>

#include "catalog/missile_catalog.h"
#include "catalog/radar_catalog.h"
#include "missile/seeker/seeker_reception.h"
#include "missile/seeker/seeker_scratch.h"
#include "world/world_state.h"

namespace prrsim::testing {

// Radar type indices in TestCatalogs.
inline constexpr int32_t kFireControl = 0;  // pulsed I band with a CW illuminator (I band)
inline constexpr int32_t kSearch = 1;       // pulsed G band search radar
inline constexpr int32_t kContinuous = 2;   // CW H band
inline constexpr int32_t kMultiTarget = 3;  // pulsed G band, kind 2
inline constexpr int32_t kSearchTrack = 4;  // pulsed G band, kind 1

inline RadarType testRadarType(uint8_t kind, char band, bool pulsed, int32_t prf,
                               double pulseWidth) {
    RadarType t;
    t.name = "test radar";
    t.kind = kind;
    t.category = static_cast<uint8_t>(kind + 1);
    t.beamWidthAz = 2.0;
    t.beamWidthEl = 2.0;
    t.sidelobeLevel = -30;
    t.scanKind = kScanRotationAllElevations;
    t.freqMin = 4000;
    t.freqMax = 10000;
    t.prfModes[0] = PrfMode{prf, pulseWidth, pulsed, 1, 0};
    t.prfModes[1] = PrfMode{prf * 2, pulseWidth * 2, pulsed, 1, 0};
    t.prfModeCount = 2;
    t.band = band;
    t.power = 100000;
    return t;
}

inline MissileType testMissileType() {
    MissileType t;
    t.name = "test missile";
    t.emissionKinds = 2;
    t.bands = "GHI";
    t.sensitivity = 1e-9;
    t.antennaArea = 0.2;
    t.fieldOfViewAz = 10;
    t.fieldOfViewEl = 10;
    t.headAzimuthLimit = 60;
    t.headElevationMin = -30;
    t.headElevationMax = 30;
    t.maxAngularRate = 10;
    t.maxEmitters = 10;
    t.lockConfirmTime = 1;
    t.lockHoldTime = 1;
    t.paramsMemoryTime = 0.2;
    t.frequencyMemoryTime = 0.1;
    t.launchModeCount = 1;
    t.launchModes[0].name = "test mode";
    return t;
}

// The seeker measures the frequency on uniform 50 MHz channels from 2200 to 10500 MHz (the
// "Х-58" table): 5000 MHz is channel 56.
inline void measureFrequencyOnFiftyMegahertzChannels(MissileType& t) {
    t.measuresFrequency = 1;
    t.channelTable = {2200, 10500, 50};
    t.channelTableCount = 3;
}

struct TestCatalogs {
    MissileCatalog missiles;
    RadarCatalog radars;

    TestCatalogs() {
        RadarType fc = testRadarType(kFireControlRadar, 'I', true, 1850, 0.07);
        fc.hasIlluminator = true;
        fc.illuminatorBand = 'I';
        fc.illuminatorPower = 2500;
        radars.types[kFireControl] = fc;
        radars.types[kSearch] = testRadarType(kSearchRadar, 'G', true, 1200, 1.2);
        radars.types[kContinuous] = testRadarType(kFireControlRadar, 'H', false, 0, 0);
        radars.types[kMultiTarget] = testRadarType(kMultiTargetRadar, 'G', true, 950, 67);
        radars.types[kSearchTrack] = testRadarType(kSearchTrackRadar, 'G', true, 2600, 1.16);
        radars.radarTypeCount = 5;
        missiles.types[0] = testMissileType();
        missiles.missileTypeCount = 1;
    }

    MissileType& type() { return missiles.types[0]; }
    LaunchMode& mode() { return missiles.types[0].launchModes[0]; }
    SeekerCatalogs view() const { return {missiles, radars}; }
};

// A world with no landmarks (unless a test adds them) and one missile at (50, 100, 0.5) heading
// along +x.
struct Scene {
    std::unique_ptr<WorldState> world = makeWorld();
    std::unique_ptr<SeekerScratch> scratch = makeSeekerScratch();

    Scene() {
        world->missileCount = 1;
        Missile& m = missile();
        m = Missile{};
        m.x = 50;
        m.y = 100;
        m.altitude = 0.5;
        m.activated = 1;
    }

    Missile& missile() { return world->missiles[0]; }

    // A radiating radar at (x, y) whose antenna points at the missile's start position.
    RadarSite& addRadar(int32_t typeIndex, int32_t x, int32_t y = 100) {
        const int32_t j = world->radarCount++;
        RadarSite& r = world->radars[j];
        r = RadarSite{};
        r.index = j;
        r.typeIndex = typeIndex;
        r.emissionOn = true;
        r.radiating = true;
        r.x = x;
        r.y = y;
        r.azimuth = bearingDeg(x, y, 50, 100);
        r.frequency = 5000;
        return r;
    }

    Landmark& addLandmark(int32_t x, int32_t y, double size) {
        Landmark& l = world->landmarks[world->landmarkCount++];
        l = Landmark{size, x, y, 0};
        return l;
    }
};

}  // namespace prrsim::testing
