#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace prrsim::session {

// What a recovery file holds: the session's scene as a scenario file, the file it came from
// (an absolute path, or empty for a new scene) and whether it had unsaved changes.
struct RecoveryContent {
    std::string file;
    bool modified = false;
    std::string scene;
};

// The recovery file's text: a JSON object with "file", "modified" and "scene".
std::string recoveryText(const RecoveryContent& content);

// Reads a recovery file's text, bounded as every input file is. A file path that is not
// absolute is dropped: resolved against another working folder it would name another file.
// Nothing when the text is not a recovery file; `error` then says why in one line.
std::optional<RecoveryContent> readRecoveryText(std::string_view text, std::string& error);

}  // namespace prrsim::session
