#pragma once

// The map redraw as it was before the label cache, for the image-equality test and the redraw
// benchmark's "before" figure: the former drawing code, unchanged apart from its namespace,
// the selection it reads from the view and the label texts it takes from ui/object_names.h.

#include <QPainter>

#include "ui/map_view.h"
#include "world/world_state.h"

namespace prrsim::before {

// Aircraft, radars with their labels and tracks, missiles with their labels and lines, and the
// impact text, in the redraw's order.
void drawMapContents(QPainter& painter, const WorldState& world, const ui::ViewState& view,
                     const ui::ImpactText& impact);

}  // namespace prrsim::before
