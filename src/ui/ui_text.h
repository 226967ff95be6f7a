#pragma once

#include <QString>
#include <cstdint>

namespace prrsim::ui {

// A real number in fixed-point notation with at most 15 significant digits, no trailing zeros,
// with the system locale's decimal separator.
QString realText(double value);

// The system locale's decimal separator as one character.
char decimalSeparator();

// "НЕТ": the text of an absent value.
QString absentText();

// Simulated time of a tick count as ч:мм:сс.сс.
QString clockText(int64_t tick);

}  // namespace prrsim::ui
