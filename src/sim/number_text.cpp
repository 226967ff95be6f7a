#include "sim/number_text.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>

namespace prrsim {

std::string formatReal(double value, char decimalSeparator) {
    if (!std::isfinite(value)) {
        return std::isnan(value) ? "NAN" : (value > 0 ? "INF" : "-INF");
    }
    if (value == 0) {
        return "0";
    }
    // Round to 15 significant digits first, then print without exponent.
    char buf[64];
    std::snprintf(buf, sizeof buf, "%.14e", value);
    const double rounded = std::strtod(buf, nullptr);
    const int exponent = static_cast<int>(std::floor(std::log10(std::fabs(rounded))));
    int decimals = 14 - exponent;
    if (decimals < 0) {
        decimals = 0;
    }
    if (decimals > 330) {
        decimals = 330;
    }
    std::string text(400, '\0');
    const int n = std::snprintf(text.data(), text.size(), "%.*f", decimals, rounded);
    text.resize(n > 0 ? static_cast<size_t>(n) : 0);
    const auto dot = text.find('.');
    if (dot != std::string::npos) {
        while (!text.empty() && text.back() == '0') {
            text.pop_back();
        }
        if (!text.empty() && text.back() == '.') {
            text.pop_back();
        } else {
            text[dot] = decimalSeparator;
        }
    }
    if (text == "-0") {
        text = "0";
    }
    return text;
}

}  // namespace prrsim
