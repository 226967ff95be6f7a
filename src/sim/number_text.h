#pragma once

#include <string>

namespace prrsim {

// A real number in fixed-point notation with at most 15 significant digits, no trailing zeros
// and no separator when nothing follows it, using the given decimal separator.
std::string formatReal(double value, char decimalSeparator);

}  // namespace prrsim
