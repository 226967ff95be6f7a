#pragma once

// "Вид → Подписи": which of the map's labels are shown.

#include <cstdint>

#include "ui/view_state.h"
#include "world/world_state.h"

namespace prrsim::ui {

enum class LabelMode {
    All,        // every radar and missile
    Selection,  // the selected object and what it aims at or carries
    None,
};

enum class LabelOwner { Radar, Missile };

// Whether the label of radar or missile `row` shows in `mode`. With the selection: the selected
// radar and the rest of its complex; the selected aircraft's target radar and its missiles; the
// selected missile and the radar its carrier attacks.
bool labelShown(const WorldState& world, const ViewState& view, LabelMode mode, LabelOwner owner,
                int32_t row);

}  // namespace prrsim::ui
