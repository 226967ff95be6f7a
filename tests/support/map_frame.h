#pragma once

// The map frame as the main window's redraw draws it, without the panels and the overlays, and
// the comparison of two frames, for the drawing tests and the redraw benchmark.

#include <QImage>
#include <QPainter>
#include <string>

#include "ui/map_view.h"
#include "world/world_state.h"

namespace prrsim::testing {

// Aircraft, radars, missiles and the impact text onto the painter's frame, with `labels` kept
// between frames as the window keeps them.
void drawMapFrame(QPainter& painter, const WorldState& world, const ui::ViewState& view,
                  const ui::ImpactText& impact, ui::MapLabels& labels);

// A copy of the background with the map drawn onto it.
QImage mapFrame(const QImage& background, const WorldState& world, const ui::ViewState& view,
                const ui::ImpactText& impact, ui::MapLabels& labels);

// "" when the images agree, else the first pixel (row by row) that differs and both values.
std::string firstDifference(const QImage& actual, const QImage& expected);

}  // namespace prrsim::testing
