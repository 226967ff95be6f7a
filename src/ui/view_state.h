#pragma once

#include <cstdint>
#include <string>

#include "world/world_state.h"

namespace prrsim::ui {

struct Point {
    int32_t x = 0;
    int32_t y = 0;
};

// What the windows select, arm and point at: theirs, never the world's. Rows are table
// positions of the world shown; -1 is none.
struct ViewState {
    int32_t selectedAircraft = -1;
    int32_t selectedRadar = -1;
    int32_t selectedMissile = -1;

    // The one-shot map-click modes: the next click picks an attack target, moves the aircraft,
    // places the radar or captures an aircraft for the radar.
    bool pickTargetMode = false;
    bool moveAircraftMode = false;
    bool radarPlaceMode = false;
    bool captureMode = false;

    // The last mouse positions over the map and the two compasses.
    Point mapCursor{};
    Point compassCursor{};
    Point radarCompassCursor{};
};

// The table lengths a selection was made against.
struct TableLengths {
    int32_t aircraft = 0;
    int32_t radars = 0;
    int32_t missiles = 0;
};
TableLengths tableLengths(const WorldState& world);

// After the world was rebuilt or recorded actions replayed: a selection stays while its table
// kept its length (then it still names the same record), a missile only with its own carrier;
// armed modes and mouse positions stay.
void keepAfterRebuild(ViewState& view, const TableLengths& before, const WorldState& world);

// Another scene: the mouse positions stay, nothing is selected or armed.
void forgetScene(ViewState& view);

// Missile `row` left the table: the selection follows its missile down the table. Returns
// whether the selected missile itself went.
bool followMissileRemoval(ViewState& view, int32_t row);

// "" while every selection is -1 or a current position and a missile selected together with an
// aircraft rides on it; otherwise what is wrong.
std::string viewProblem(const WorldState& world, const ViewState& view);

}  // namespace prrsim::ui
