#include "scenario/input_text.h"

#include <fstream>
#include <set>
#include <sstream>
#include <vector>

namespace prrsim::batch {

using nlohmann::json;

bool readText(const std::filesystem::path& path, std::string& text) {
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        return false;
    }
    std::ostringstream out;
    out << in.rdbuf();
    text = out.str();
    return !in.bad();
}

json parseJsonUniqueKeys(std::string_view text,
                         const std::function<void(const std::string&)>& fail) {
    std::vector<std::set<std::string>> keys;
    std::string duplicate;
    const json::parser_callback_t check = [&](int, json::parse_event_t event, json& parsed) {
        if (event == json::parse_event_t::object_start) {
            keys.emplace_back();
        } else if (event == json::parse_event_t::object_end) {
            keys.pop_back();
        } else if (event == json::parse_event_t::key && !keys.empty()) {
            const std::string key = parsed.get<std::string>();
            if (!keys.back().insert(key).second && duplicate.empty()) {
                duplicate = key;
            }
        }
        return true;
    };
    json doc;
    try {
        doc = json::parse(text.begin(), text.end(), check);
    } catch (const json::exception& e) {
        // "[json.exception.parse_error.101] parse error at line 1, column 2: ..." without the tag.
        // A number beyond a double ("1e400") is an out_of_range error of the same parse.
        std::string what = e.what();
        const auto tagEnd = what.find("] ");
        if (tagEnd != std::string::npos) {
            what = what.substr(tagEnd + 2);
        }
        fail("malformed JSON: " + what);
    }
    if (!duplicate.empty()) {
        fail("malformed JSON: key " + inQuotes(duplicate) + " appears twice in one object");
    }
    return doc;
}

}  // namespace prrsim::batch
