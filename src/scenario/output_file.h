#pragma once

#include <filesystem>
#include <fstream>

namespace prrsim::batch {

// A file written through a temporary file beside it and renamed over the target once complete,
// so that an interrupted or failed write never leaves a half file under the target's name and
// an existing file stays whole until it is replaced. Without commit() the temporary file is
// removed.
class OutputFile {
  public:
    explicit OutputFile(std::filesystem::path target);
    ~OutputFile();
    OutputFile(const OutputFile&) = delete;
    OutputFile& operator=(const OutputFile&) = delete;

    // Creates the temporary file; false when it cannot be created.
    bool open();
    std::ostream& stream() { return out_; }
    // Writes out, closes and renames onto the target; false when any of it failed (the
    // temporary file is then removed).
    bool commit();
    const std::filesystem::path& target() const { return target_; }

  private:
    void discard();
    std::filesystem::path target_;
    std::filesystem::path temporary_;
    std::ofstream out_;
    bool open_ = false;
};

}  // namespace prrsim::batch
