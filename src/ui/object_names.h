#pragma once

// How the windows name the objects of the world: always by the stable number each record got
// when it was created (1, 2, ...), the number the event log uses too, never by table position.

#include <QString>
#include <cstdint>

#include "world/world_state.h"

namespace prrsim::ui {

// "№3".
QString numberText(int32_t number);

// "Самолёт №3", "РЛС №6", "Ракета №2" for the record at table position `row`; absentText() for
// a row no longer in the table.
QString aircraftName(const WorldState& world, int32_t row);
QString radarName(const WorldState& world, int32_t row);
QString missileName(const WorldState& world, int32_t row);

// Just "№3" of those records, for narrow lists whose heading names the kind.
QString aircraftNumber(const WorldState& world, int32_t row);
QString radarNumber(const WorldState& world, int32_t row);

// The number a radar's map label shows: a radar of a placed complex carries the number of the
// complex's first member (the complex's radars stand on one spot under one label).
int32_t radarLabelNumber(const WorldState& world, const RadarSite& radar);

// The map labels: complex or type name, " №", number; missile type name, " №", number.
QString radarLabel(const WorldState& world, const RadarSite& radar);
QString missileLabel(const Missile& missile);

}  // namespace prrsim::ui
