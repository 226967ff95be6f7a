#pragma once

#include <filesystem>
#include <functional>
#include <nlohmann/json.hpp>
#include <string>
#include <string_view>

namespace prrsim::batch {

// Helpers for reading the runner's input files and naming what is wrong in them.

// `s` between double quotes, as error lines name keys, fields and catalogue names.
inline std::string inQuotes(std::string_view s) {
    return "\"" + std::string(s) + "\"";
}

// The whole file as it is on disk; false when it cannot be opened or read.
bool readText(const std::filesystem::path& path, std::string& text);

// Parses JSON text, refusing a key given twice in one object (the parser would keep only the
// last). On bad text calls `fail` with the reason ("malformed JSON: ..."); `fail` does not
// return.
nlohmann::json parseJsonUniqueKeys(std::string_view text,
                                   const std::function<void(const std::string&)>& fail);

}  // namespace prrsim::batch
