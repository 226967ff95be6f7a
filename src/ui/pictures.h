#pragma once

#include <QPixmap>

namespace prrsim::ui {

// Fresh copies of the two 62 x 62 panel pictures embedded in the program (centre (31, 31)).
// Every needle is drawn on a fresh copy, which erases the previous one.
QPixmap compassPicture();
QPixmap crossPicture();

}  // namespace prrsim::ui
