// STUB: replaced by the real radar panel.
#include "ui/radar_panel.h"

namespace prrsim::ui {

RadarPanel::RadarPanel(WorldState& world, QWidget* parent) : QFrame(parent), world_(world) {
    setObjectName("Panel2");
    Button7 = new QPushButton(QStringLiteral("Перенести"), this);
    Button8 = new QPushButton(QStringLiteral("Захват"), this);
}

void RadarPanel::refresh(int) {}

}  // namespace prrsim::ui
