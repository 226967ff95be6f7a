#pragma once

#include <sys/types.h>

#include <filesystem>
#include <memory>
#include <optional>
#include <ostream>
#include <string>
#include <string_view>

namespace prrsim::batch {

// The system calls the writer makes. The program uses systemFileCalls(); a test passes a table
// whose entries fail at one step to see that the old file survives and the failure is told.
struct FileCalls {
    int (*open)(const char* path, int flags, mode_t mode);
    ssize_t (*write)(int fd, const void* data, size_t size);
    int (*fsync)(int fd);
    int (*close)(int fd);
    int (*rename)(const char* from, const char* to);
    int (*unlink)(const char* path);
};

const FileCalls& systemFileCalls();

// The step of writing a file that failed.
enum class WriteStep { Create, Write, Flush, Sync, Close, Rename, SyncFolder };

// A file that could not be written: which file, at which step, and the system's error number.
struct WriteFailure {
    std::string path;
    WriteStep step = WriteStep::Create;
    int error = 0;  // errno
    // "<path>: cannot write the file (<step>: <strerror>)", one line.
    std::string line() const;
};

std::string_view writeStepName(WriteStep step);

// A file written through a temporary file beside it and renamed over the target once complete,
// so that an interrupted or failed write never leaves a half file under the target's name and
// an existing file stays whole until it is replaced. Every write, the flush and the close are
// checked; the file is synced before the rename and its folder after it, so that a crash right
// after commit() finds either the old file or the new one on disk. Without commit() the
// temporary file is removed.
//
// A target that exists and is not a regular file (a terminal, a pipe, /dev/stdout, a device)
// is written in place: renaming over it would replace it by a regular file.
class OutputFile {
  public:
    explicit OutputFile(std::filesystem::path target, const FileCalls& calls = systemFileCalls());
    ~OutputFile();
    OutputFile(const OutputFile&) = delete;
    OutputFile& operator=(const OutputFile&) = delete;

    // Creates the temporary file; false when it cannot be created (see failure()).
    bool open();
    std::ostream& stream();
    // Writes out, syncs, closes and renames onto the target; false when any of it failed (the
    // temporary file is then removed and the target left as it was).
    bool commit();
    const std::filesystem::path& target() const { return target_; }
    // Why open() or commit() failed; nothing while they have not.
    const std::optional<WriteFailure>& failure() const { return failure_; }

  private:
    class Buffer;
    bool fail(WriteStep step, int error);
    void discard();

    const FileCalls& calls_;
    std::filesystem::path target_;
    std::filesystem::path temporary_;
    bool inPlace_ = false;
    bool temporaryExists_ = false;
    int fd_ = -1;
    int slot_ = -1;  // the temporary file's place in the list a signal clears
    std::unique_ptr<Buffer> buffer_;
    std::unique_ptr<std::ostream> out_;
    std::optional<WriteFailure> failure_;
};

// A file that grows as results come (a campaign's run lines and table), every write checked as
// it is made, synced and closed by finish(). It has no temporary file: it is built inside a
// staging folder that replaces the results as a whole, and a line cut short by a kill is
// dropped when the work resumes.
class GrowingFile {
  public:
    explicit GrowingFile(std::filesystem::path path, const FileCalls& calls = systemFileCalls());
    ~GrowingFile();
    GrowingFile(const GrowingFile&) = delete;
    GrowingFile& operator=(const GrowingFile&) = delete;

    // Opens the file to append to it; `afresh` empties it first. False when it cannot.
    bool open(bool afresh);
    // Writes all of `text`; false once any write has failed.
    bool append(std::string_view text);
    // Syncs and closes the file; false when that or an earlier write failed.
    bool finish();
    // Closes the file without syncing (work given up).
    void abandon();
    const std::filesystem::path& path() const { return path_; }
    const std::optional<WriteFailure>& failure() const { return failure_; }

  private:
    bool fail(WriteStep step, int error);

    const FileCalls& calls_;
    std::filesystem::path path_;
    int fd_ = -1;
    std::optional<WriteFailure> failure_;
};

// Syncs a folder, so that the entries renamed or created in it reach the disk; the failure
// names the folder.
std::optional<WriteFailure> syncFolder(const std::filesystem::path& folder,
                                       const FileCalls& calls = systemFileCalls());

// Writes `text` as the whole of `target` through an OutputFile; nothing on success.
std::optional<WriteFailure> writeWholeFile(const std::filesystem::path& target,
                                           std::string_view text,
                                           const FileCalls& calls = systemFileCalls());

// Whether two paths name one file (the same device and inode, through any link); false when
// either does not exist.
bool sameFile(const std::filesystem::path& a, const std::filesystem::path& b);

// Makes SIGINT and SIGTERM remove the temporary files of the OutputFiles still open and end
// the process with 128 + the signal's number (130, 143). For the command line.
void removeTemporaryFilesOnSignal();

}  // namespace prrsim::batch
