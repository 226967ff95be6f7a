#pragma once

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <nlohmann/json.hpp>
#include <string>
#include <string_view>

#include "scenario/refusal.h"

namespace prrsim::batch {

// Helpers for reading the runner's input files and naming what is wrong in them. Input is
// bounded before it is parsed or echoed: a file's size, its nesting and the length of any of
// its values quoted in a message.

// The largest input file read: far above any scene or campaign written by hand or by the
// windows (a million actions take about 70 MB).
inline constexpr std::uintmax_t kMaxInputBytes = 128u << 20;
// The deepest nesting of arrays and objects accepted. A scene needs three levels.
inline constexpr int kMaxNestingDepth = 64;
// The most characters of a value a message quotes; a longer one is cut with "…".
inline constexpr size_t kMaxQuotedLength = 80;

// `s` cut to kMaxQuotedLength characters (whole UTF-8 sequences), with "…" when cut.
std::string shortened(std::string_view s);

// `s` between double quotes, as error lines name keys, fields and catalogue names; cut as
// shortened() does.
inline std::string inQuotes(std::string_view s) {
    return "\"" + shortened(s) + "\"";
}

// A JSON value as a message quotes it: its text, cut as shortened() does.
std::string echo(const nlohmann::json& value);

// The value's JSON type, as a refusal names it.
JsonType jsonType(const nlohmann::json& value);

// A refusal naming the type found and, when `withValue`, the value echoed.
Refusal typeRefusal(RefusalCode code, const nlohmann::json& value, bool withValue);

// Why a file could not be read.
enum class ReadProblem { None, CannotOpen, CannotRead, NotRegularFile, TooLarge };

// The whole file as it is on disk, if it is a regular file of at most `limit` bytes.
ReadProblem readBoundedText(const std::filesystem::path& path, std::string& text,
                            std::uintmax_t limit = kMaxInputBytes);

// The whole file as it is on disk; false when it cannot be opened or read, or is not a regular
// file of at most kMaxInputBytes.
bool readText(const std::filesystem::path& path, std::string& text);

// Parses JSON text, refusing a key given twice in one object (the parser would keep only the
// last), nesting deeper than kMaxNestingDepth, NUL bytes and anything after the value. On bad
// text calls `fail` with the refusal; `fail` does not return. Linear in the text's length.
nlohmann::json parseJsonUniqueKeys(std::string_view text,
                                   const std::function<void(const Refusal&)>& fail);

}  // namespace prrsim::batch
