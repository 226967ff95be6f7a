#pragma once

#include <QLockFile>
#include <QString>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "scenario/input_text.h"
#include "scenario/output_file.h"

namespace prrsim::ui {

// The recovery file of this running instance: recovery-<pid>-<start>.json in the state folder,
// owned through a lock file of the same name while the instance lives, so that another
// instance sharing the folder never takes it. Written through the checked writer.
class RecoveryFile {
  public:
    explicit RecoveryFile(const QString& directory);
    const QString& path() const { return path_; }
    // Writes `text` unless the file already holds it. A failure is returned once, when writing
    // starts to fail, so that the user is told once and not every ten seconds.
    std::optional<batch::WriteFailure> write(const std::string& text);
    // Removes the file (a session closed on purpose, or one with nothing to restore).
    void remove();

  private:
    QString path_;
    std::unique_ptr<QLockFile> lock_;
    std::string written_;
    bool failing_ = false;
};

// A recovery file left by an instance no longer running, locked while it is offered.
struct LeftRecovery {
    QString path;
    std::unique_ptr<QLockFile> lock;
};

// The recovery files in `directory` whose instances are no longer running, oldest first, each
// locked; `own` (this instance's file) and files kept aside are skipped.
std::vector<LeftRecovery> leftRecoveries(const QString& directory, const QString& own);

// Renames a recovery file that cannot be restored to recovery-broken-<time>.json beside it, so
// that it is neither offered again nor lost. Returns the new name, or empty when it could not
// be renamed.
QString keepAside(const QString& path);

// The largest recovery file read: a scene file's limit, with room for the scene's text being
// escaped as a JSON string.
inline constexpr std::uintmax_t kMaxRecoveryBytes = 2 * batch::kMaxInputBytes;

}  // namespace prrsim::ui
