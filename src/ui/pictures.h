#pragma once

#include <QPixmap>

namespace prrsim::ui {

// Fresh copies of the two 62 x 62 panel pictures embedded in the program (centre (31, 31)).
// Every needle is drawn on a fresh copy, which erases the previous one.
QPixmap compassPicture();
QPixmap crossPicture();

// A fresh compass picture with a blue needle of length 30 from the centre (31, 31) in the
// direction `angle` (radians, 0 = right, pi/2 = down), its end truncated to whole pixels.
QPixmap compassWithNeedle(double angle, int penWidth = 1);

}  // namespace prrsim::ui
