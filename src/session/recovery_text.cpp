#include "session/recovery_text.h"

#include <filesystem>
#include <nlohmann/json.hpp>

#include "scenario/input_text.h"

namespace prrsim::session {

using nlohmann::json;

namespace {

struct NotRecovery {
    std::string reason;
};

}  // namespace

std::string recoveryText(const RecoveryContent& content) {
    json doc = json::object();
    doc["file"] = content.file;
    doc["modified"] = content.modified;
    doc["scene"] = content.scene;
    return doc.dump(4, ' ', false, json::error_handler_t::replace) + "\n";
}

std::optional<RecoveryContent> readRecoveryText(std::string_view text, std::string& error) {
    try {
        const json doc = batch::parseJsonUniqueKeys(
            text, [](const batch::Refusal& why) { throw NotRecovery{batch::englishText(why)}; });
        if (!doc.is_object()) {
            throw NotRecovery{"not a JSON object"};
        }
        RecoveryContent content;
        const auto scene = doc.find("scene");
        if (scene == doc.end() || !scene->is_string() ||
            scene->get_ref<const std::string&>().empty()) {
            throw NotRecovery{"no scene"};
        }
        content.scene = scene->get<std::string>();
        if (const auto file = doc.find("file"); file != doc.end() && file->is_string()) {
            const std::string path = file->get<std::string>();
            if (std::filesystem::path(path).is_absolute()) {
                content.file = path;
            }
        }
        if (const auto modified = doc.find("modified");
            modified != doc.end() && modified->is_boolean()) {
            content.modified = modified->get<bool>();
        }
        return content;
    } catch (const NotRecovery& e) {
        error = e.reason;
        return std::nullopt;
    }
}

}  // namespace prrsim::session
