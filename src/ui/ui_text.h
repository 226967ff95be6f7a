#pragma once

#include <QString>

namespace prrsim::ui {

// A real number in fixed-point notation with at most 15 significant digits, no trailing zeros,
// with the system locale's decimal separator.
QString realText(double value);

// The system locale's decimal separator as one character.
char decimalSeparator();

// "НЕТ": the text of an absent value.
QString absentText();

}  // namespace prrsim::ui
