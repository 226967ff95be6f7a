#pragma once

#include <charconv>
#include <cmath>
#include <cstdint>
#include <string>
#include <string_view>

namespace prrsim::batch {

// Tables for spreadsheets: UTF-8 with a byte-order mark (so that spreadsheet programs read the
// Cyrillic right), comma-separated, one header row, '.' as the decimal point, a field quoted
// when it holds a comma, a quote or a line break.
inline constexpr std::string_view kCsvByteOrderMark = "\xEF\xBB\xBF";

class CsvRow {
  public:
    CsvRow& text(std::string_view field) {
        separate();
        if (field.find_first_of(",\"\r\n") == std::string_view::npos) {
            row_ += field;
            return *this;
        }
        row_ += '"';
        for (const char c : field) {
            row_ += c;
            if (c == '"') {
                row_ += '"';
            }
        }
        row_ += '"';
        return *this;
    }
    CsvRow& integer(int64_t v) { return text(std::to_string(v)); }
    // Fixed-point with `decimals` places; not finite: empty.
    CsvRow& real(double v, int decimals) {
        if (!std::isfinite(v)) {
            return empty();
        }
        char buffer[64];
        const auto r =
            std::to_chars(buffer, buffer + sizeof buffer, v, std::chars_format::fixed, decimals);
        return text(std::string_view(buffer, static_cast<size_t>(r.ptr - buffer)));
    }
    CsvRow& empty() { return text(""); }
    // The finished row with its line break.
    std::string line() const { return row_ + "\r\n"; }

  private:
    void separate() {
        if (!first_) {
            row_ += ',';
        }
        first_ = false;
    }
    std::string row_;
    bool first_ = true;
};

}  // namespace prrsim::batch
