#include "missile/missile_loading.h"

#include "catalog/missile_catalog.h"
#include "world/world_state.h"

namespace prrsim {

namespace {

bool validType(int32_t type) {
    return type >= 0 && type < missileTypeCount();
}

bool validLaunchMode(int32_t type, int32_t mode) {
    return validType(type) && mode >= 0 && mode < missileType(type).launchModeCount;
}

void copyCarrierMotion(const Aircraft& carrier, Missile& missile) {
    missile.x = carrier.x;
    missile.y = carrier.y;
    missile.altitude = carrier.altitude;
    missile.heading = carrier.heading;
    missile.pitch = carrier.climbAngle;
    missile.speed = carrier.speed;
}

// One entry per radar on the map, in table order, holding its position at loading.
void buildTargetList(const WorldState& world, Missile& missile) {
    missile.targetListCount = 0;
    for (int32_t j = 0; j < world.radarCount && j < kTargetListCapacity; ++j) {
        TargetListEntry& entry = missile.targetList[j];
        entry = TargetListEntry{};
        entry.x = radarAt(world, j).x;
        entry.y = radarAt(world, j).y;
        missile.targetListCount = j + 1;
    }
}

}  // namespace

void createMissile(WorldState& world, Missile& missile, int32_t type, int32_t launchMode,
                   int32_t carrier) {
    // A reused slot starts exactly like a never-used one: every field back to its creation
    // value (the record's defaults), the table position kept.
    const int32_t index = missile.index;
    missile = Missile{};
    missile.index = index;
    missile.typeIndex = type;
    missile.launchModeIndex = launchMode;
    missile.carrier = carrier;
    missile.targetPositionState = kTargetNotAcquired;
    missile.trackedRadarId = -1;
    missile.targetRadarType = -1;
    if (validAircraft(world, carrier)) {
        copyCarrierMotion(aircraftAt(world, carrier), missile);
    }
    if (validLaunchMode(type, launchMode) && prrsim::launchMode(type, launchMode).usesTargetList) {
        buildTargetList(world, missile);
    }
}

int32_t addMissile(WorldState& world, int32_t carrier, int32_t type, int32_t launchMode) {
    // No launch mode chosen after a type change: the first one.
    const int32_t mode = launchMode < 0 ? 0 : launchMode;
    if (world.missileCount >= kMissileCapacity || !validAircraft(world, carrier) ||
        !validLaunchMode(type, mode)) {
        return -1;
    }
    const int32_t i = world.missileCount;
    world.missileCount = i + 1;
    Missile& missile = missileAt(world, i);
    createMissile(world, missile, type, mode, carrier);
    missile.index = i;
    noteMissileAdded(world, i);
    return i;
}

void followCarrier(WorldState& world, Missile& missile) {
    if (!validAircraft(world, missile.carrier)) {
        return;
    }
    copyCarrierMotion(aircraftAt(world, missile.carrier), missile);
}

}  // namespace prrsim
