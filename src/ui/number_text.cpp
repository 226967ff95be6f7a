#include "ui/number_text.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace prrsim {

namespace {

constexpr int kSignificantDigits = 15;

// Removes trailing zeros of the fraction, and the separator when nothing follows it.
void trimFraction(std::string& text, size_t separator) {
    if (separator == std::string::npos) {
        return;
    }
    while (text.size() > separator + 1 && text.back() == '0') {
        text.pop_back();
    }
    if (text.size() == separator + 1) {
        text.pop_back();
    }
}

}  // namespace

std::string formatReal(double value, char decimalSeparator) {
    if (!std::isfinite(value)) {
        return std::isnan(value) ? "NAN" : (value > 0 ? "INF" : "-INF");
    }
    // The digits come from one correctly rounded conversion to 15 significant digits,
    // "d.dddddddddddddde+XX"; they are then laid out in fixed-point notation by hand, so no
    // digit beyond the fifteenth can appear.
    char buf[32];
    std::snprintf(buf, sizeof buf, "%.*e", kSignificantDigits - 1, std::fabs(value));
    std::string digits;
    digits.push_back(buf[0]);
    digits.append(buf + 2, kSignificantDigits - 1);
    const int exponent = std::atoi(std::strchr(buf, 'e') + 1);
    if (digits.find_first_not_of('0') == std::string::npos) {
        return "0";
    }

    std::string text;
    if (value < 0) {
        text.push_back('-');
    }
    size_t separator = std::string::npos;
    if (exponent < 0) {
        text += '0';
        separator = text.size();
        text += decimalSeparator;
        text.append(static_cast<size_t>(-exponent - 1), '0');
        text += digits;
    } else if (exponent + 1 >= kSignificantDigits) {
        text += digits;
        text.append(static_cast<size_t>(exponent + 1 - kSignificantDigits), '0');
    } else {
        const size_t whole = static_cast<size_t>(exponent + 1);
        text.append(digits, 0, whole);
        separator = text.size();
        text += decimalSeparator;
        text.append(digits, whole, std::string::npos);
    }
    trimFraction(text, separator);
    return text;
}

std::string prfModeLabel(const PrfMode& mode, char decimalSeparator) {
    std::string label = std::to_string(mode.prf);
    label += "Гц  (";
    label += formatReal(mode.wobble * 100.0, decimalSeparator);
    label += "%) ";
    if (mode.pulsed) {
        label += formatReal(mode.pulseWidth, decimalSeparator);
        label += "мкс (";
        label += formatReal(mode.pulseWidth / mode.compression, decimalSeparator);
        label += " мкс)";
    } else {
        label += "CW";
    }
    return label;
}

}  // namespace prrsim
