#pragma once

#include <string>

#include "catalog/radar_catalog.h"

namespace prrsim {

// A real number in fixed-point notation with at most 15 significant digits, no trailing zeros
// and no separator when nothing follows it, using the given decimal separator.
std::string formatReal(double value, char decimalSeparator);

// An emission mode's label, "1850Гц  (15%) 0,07мкс (0,07 мкс)", with the given decimal
// separator.
std::string prfModeLabel(const PrfMode& mode, char decimalSeparator);

}  // namespace prrsim
