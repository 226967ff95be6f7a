// STUB: replaced by the real missile window.
#include "ui/tform3.h"

namespace prrsim::ui {

TForm3::TForm3(WorldState& world, QWidget* parent)
    : QWidget(parent, Qt::Tool | Qt::WindowStaysOnTopHint), world_(world) {
    setObjectName("Form3");
}

void TForm3::refreshMissileWindow() {}

}  // namespace prrsim::ui
