#pragma once

#include <QString>
#include <cstdint>
#include <string_view>

namespace prrsim::ui {

// UTF-8 text of the core and the catalogues (names, descriptions) as a QString.
inline QString fromView(std::string_view text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

// A real number in fixed-point notation with at most 15 significant digits, no trailing zeros,
// with the system locale's decimal separator.
QString realText(double value);

// A real number with `decimals` digits after the system locale's decimal separator.
QString fixedText(double value, int decimals);

// The system locale's decimal separator as one character.
char decimalSeparator();

// "НЕТ": the text of an absent value.
QString absentText();

// Simulated time of a tick count as ч:мм:сс.сс.
QString clockText(int64_t tick);

}  // namespace prrsim::ui
