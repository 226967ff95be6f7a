#include "world/default_scenario.h"

#include "catalog/radar_catalog.h"
#include "world/radar_site.h"

namespace prrsim {

namespace {

struct LandmarkRow {
    int32_t x, y;
    double size;
};

constexpr LandmarkRow kLandmarks[kLandmarkCapacity] = {
    {380, 180, 549}, {377, 183, 604}, {377, 200, 986}, {383, 197, 944}, {422, 187, 712},
    {438, 204, 283}, {438, 200, 556}, {442, 200, 734}, {396, 260, 286}, {409, 261, 861},
    {419, 261, 761}, {427, 263, 44},  {394, 278, 800}, {404, 279, 132}, {411, 280, 843},
    {420, 281, 579}, {370, 245, 813}, {355, 256, 598}, {361, 271, 706}, {300, 123, 345},
    {318, 123, 461}, {306, 139, 991}, {315, 152, 592}, {320, 156, 237}, {358, 84, 743},
    {395, 94, 512},  {413, 111, 528}, {403, 119, 359}, {395, 113, 159}, {401, 104, 525},
    {380, 106, 192}, {380, 126, 981},
};

RadarSite defaultRadar(int32_t index, int32_t type, int32_t placedComplex, int32_t x, int32_t y,
                       int32_t currentTarget) {
    RadarSite r{};
    r.index = index;
    r.typeIndex = type;
    r.placedComplex = placedComplex;
    r.x = x;
    r.y = y;
    r.currentTarget = currentTarget;
    r.trackCursor = 0;
    // The search radars turn from the start.
    r.rotationOn = true;
    return r;
}

Aircraft defaultAircraft(int32_t id, double x, double y, double altitude, double heading,
                         double climbAngle, double speed) {
    Aircraft a{};
    a.id = id;
    a.targetRadar = -1;
    a.onAttackRun = false;
    a.x = x;
    a.y = y;
    a.altitude = altitude;
    a.heading = heading;
    a.climbAngle = climbAngle;
    a.speed = speed;
    return a;
}

}  // namespace

void fillLandmarks(WorldState& world) {
    for (int32_t i = 0; i < kLandmarkCapacity; ++i) {
        world.landmarks[i] = Landmark{kLandmarks[i].size, kLandmarks[i].x, kLandmarks[i].y, 0};
    }
    world.landmarkCount = kLandmarkCapacity;
}

void loadDefaultScenario(WorldState& world) {
    auto& radars = world.radars;
    // 1. The two "СУРН ЗРК КУБ" complexes: radar 4 copies radar 0, radar 5 copies radar 1.
    radars[0] = defaultRadar(0, 0, 0, 430, 324, 2);
    radars[4] = radars[0];
    radars[4].index = 4;
    radars[4].placedComplex = 1;
    radars[4].x = 435;
    radars[4].y = 316;
    radars[4].currentTarget = -1;
    radars[1] = defaultRadar(1, 1, 0, 430, 324, 0);
    radars[5] = radars[1];
    radars[5].index = 5;
    radars[5].placedComplex = 1;
    radars[5].x = 435;
    radars[5].y = 316;

    // 2. The placed complexes.
    world.placedComplexes[0] = PlacedComplex{2, {0, 1, 0}, 0};
    world.placedComplexes[1] = PlacedComplex{2, {4, 5, 0}, 0};
    world.placedComplexCount = 2;

    // 3. The single radars; "Имбирь" tracks aircraft 0 and 1.
    radars[2] = defaultRadar(2, 2, -1, 345, 264, 0);
    RadarSite& imbir = radars[3];
    imbir = defaultRadar(3, 3, -1, 378, 154, 0);
    imbir.antennaDirection = 166;
    imbir.scanMethod = 2;
    imbir.trackCount = 2;
    imbir.trackList[0] = 0;
    imbir.trackList[1] = 1;
    imbir.trackCursor = 0;
    imbir.currentTarget = imbir.trackList[imbir.trackCursor];
    imbir.captureActive = true;
    imbir.azimuth = imbir.antennaDirection;
    imbir.elevation = scanMethodOf(radarType(3), 2).elevationMin;
    world.radarCount = 6;

    // 4. Frequencies and switches.
    for (int32_t j = 0; j < world.radarCount; ++j) {
        RadarSite& r = radars[j];
        r.frequencyPercent = randomBelow(world, 100);
        r.frequency = frequencyAt(r.typeIndex, r.frequencyPercent);
        r.emissionOn = true;
        r.radiating = true;
        r.scanDirection = 1;
        r.inSector = true;
    }

    // 5. The aircraft, then the counts.
    world.aircraft[0] = defaultAircraft(0, 244, 192, 45, 24, 0, 780);
    world.aircraft[1] = defaultAircraft(1, 424, 318, 22, 245, 0, 660);
    world.aircraft[2] = defaultAircraft(2, 294, 155, 60, 72, 3, 800);
    world.aircraft[3] = defaultAircraft(3, 534, 245, 30, 206, 2, 900);
    world.aircraftCount = 4;
    world.missileCount = 0;
}

}  // namespace prrsim
