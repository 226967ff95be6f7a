// STUB: replaced by the real add-radar dialog.
#include "ui/tform2.h"

namespace prrsim::ui {

TForm2::TForm2(WorldState& world, QWidget* parent) : QWidget(parent, Qt::Tool), world_(world) {
    setObjectName("Form2");
}

}  // namespace prrsim::ui
