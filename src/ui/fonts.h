#pragma once

#include <QFont>

namespace prrsim::ui {

// The windows' font: "MS Sans Serif" of 11 pixels (the windows' own font), or,
// where it is missing, a sans font of similar width so that captions fit their places.
QFont formFont(bool bold = false, int pixels = 11);

}  // namespace prrsim::ui
