#include "scenario/output_file.h"

#include <fcntl.h>
#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>

#include <array>
#include <atomic>
#include <cerrno>
#include <cstring>
#include <streambuf>
#include <string>
#include <utility>
#include <vector>

namespace prrsim::batch {

namespace {

constexpr mode_t kFileMode = 0666;  // narrowed by the umask, as any new file
constexpr size_t kBufferSize = 64 * 1024;

int systemOpen(const char* path, int flags, mode_t mode) {
    return ::open(path, flags, mode);
}

// The temporary files still open, for the signal handler: it may only read memory that is
// already there, so the paths live in fixed slots claimed and released atomically.
constexpr size_t kTemporarySlots = 32;
constexpr size_t kTemporaryPathMax = 4096;

struct TemporarySlot {
    std::atomic<bool> used{false};
    std::array<char, kTemporaryPathMax> path{};
};

std::array<TemporarySlot, kTemporarySlots>& temporarySlots() {
    static std::array<TemporarySlot, kTemporarySlots> slots;
    return slots;
}

int claimTemporarySlot(const std::string& path) {
    if (path.size() >= kTemporaryPathMax) {
        return -1;
    }
    auto& slots = temporarySlots();
    for (size_t i = 0; i < slots.size(); ++i) {
        bool expected = false;
        if (slots[i].used.load() || !slots[i].used.compare_exchange_strong(expected, true)) {
            continue;
        }
        std::memcpy(slots[i].path.data(), path.c_str(), path.size() + 1);
        std::atomic_signal_fence(std::memory_order_seq_cst);
        return static_cast<int>(i);
    }
    return -1;
}

void releaseTemporarySlot(int slot) {
    if (slot >= 0) {
        temporarySlots()[static_cast<size_t>(slot)].used.store(false);
    }
}

extern "C" void removeTemporariesAndExit(int signal) {
    for (TemporarySlot& slot : temporarySlots()) {
        if (slot.used.load()) {
            ::unlink(slot.path.data());
        }
    }
    ::_exit(128 + signal);
}

// A target that exists and is not a regular file, or one of the system's own names for an open
// descriptor (/dev/stdout resolves to whatever the descriptor is, a regular file included).
bool writtenInPlace(const std::filesystem::path& target) {
    const std::string text = target.lexically_normal().string();
    if (text.rfind("/dev/", 0) == 0 || text.rfind("/proc/", 0) == 0) {
        return true;
    }
    struct stat info {};
    return ::stat(target.c_str(), &info) == 0 && !S_ISREG(info.st_mode);
}

}  // namespace

const FileCalls& systemFileCalls() {
    static const FileCalls calls{systemOpen, ::write, ::fsync, ::close, ::rename, ::unlink};
    return calls;
}

std::string_view writeStepName(WriteStep step) {
    switch (step) {
        case WriteStep::Create:
            return "create";
        case WriteStep::Write:
            return "write";
        case WriteStep::Flush:
            return "flush";
        case WriteStep::Sync:
            return "sync";
        case WriteStep::Close:
            return "close";
        case WriteStep::Rename:
            return "rename";
        case WriteStep::SyncFolder:
            return "sync the folder";
    }
    return "?";
}

std::string WriteFailure::line() const {
    return path + ": cannot write the file (" + std::string(writeStepName(step)) + ": " +
           std::strerror(error) + ")";
}

// Buffers the stream's output and writes it with the table's write(), every byte checked.
class OutputFile::Buffer : public std::streambuf {
  public:
    Buffer(const FileCalls& calls, int fd) : calls_(calls), fd_(fd), data_(kBufferSize) {
        setp(data_.data(), data_.data() + data_.size());
    }
    // The first failed write's errno; 0 while all went out.
    int error() const { return error_; }
    WriteStep failedStep() const { return failedStep_; }
    // Writes out what is buffered; false on failure.
    bool drain(WriteStep step) {
        const char* at = pbase();
        while (at < pptr() && error_ == 0) {
            const ssize_t n = calls_.write(fd_, at, static_cast<size_t>(pptr() - at));
            if (n < 0 && errno == EINTR) {
                continue;
            }
            if (n <= 0) {
                error_ = n < 0 ? errno : EIO;
                failedStep_ = step;
                break;
            }
            at += n;
        }
        setp(data_.data(), data_.data() + data_.size());
        return error_ == 0;
    }

  protected:
    int_type overflow(int_type c) override {
        if (!drain(WriteStep::Write)) {
            return traits_type::eof();
        }
        if (!traits_type::eq_int_type(c, traits_type::eof())) {
            *pptr() = traits_type::to_char_type(c);
            pbump(1);
        }
        return traits_type::not_eof(c);
    }
    int sync() override { return drain(WriteStep::Write) ? 0 : -1; }

  private:
    const FileCalls& calls_;
    int fd_;
    std::vector<char> data_;
    int error_ = 0;
    WriteStep failedStep_ = WriteStep::Write;
};

OutputFile::OutputFile(std::filesystem::path target, const FileCalls& calls)
    : calls_(calls), target_(std::move(target)) {
    inPlace_ = writtenInPlace(target_);
    temporary_ = target_;
    temporary_ += "." + std::to_string(::getpid()) + ".tmp";
}

OutputFile::~OutputFile() {
    discard();
}

bool OutputFile::open() {
    discard();
    failure_.reset();
    const std::filesystem::path& path = inPlace_ ? target_ : temporary_;
    // In place: after what a shell redirection already truncated, never over it.
    const int flags = inPlace_ ? O_WRONLY | O_APPEND | O_CLOEXEC
                               : O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC | O_NOFOLLOW;
    if (!inPlace_) {
        slot_ = claimTemporarySlot(temporary_.string());
    }
    fd_ = calls_.open(path.c_str(), flags, kFileMode);
    if (fd_ < 0) {
        const int error = errno;
        releaseTemporarySlot(slot_);
        slot_ = -1;
        return fail(WriteStep::Create, error);
    }
    temporaryExists_ = !inPlace_;
    buffer_ = std::make_unique<Buffer>(calls_, fd_);
    out_ = std::make_unique<std::ostream>(buffer_.get());
    return true;
}

std::ostream& OutputFile::stream() {
    if (!out_) {
        // Not open: writes go nowhere and the stream reports failure.
        out_ = std::make_unique<std::ostream>(nullptr);
    }
    return *out_;
}

bool OutputFile::fail(WriteStep step, int error) {
    failure_ = WriteFailure{target_.string(), step, error};
    discard();
    return false;
}

bool OutputFile::commit() {
    if (fd_ < 0) {
        if (!failure_) {
            failure_ = WriteFailure{target_.string(), WriteStep::Create, EBADF};
        }
        return false;
    }
    if (buffer_->error() != 0) {
        return fail(buffer_->failedStep(), buffer_->error());
    }
    if (!buffer_->drain(WriteStep::Flush)) {
        return fail(WriteStep::Flush, buffer_->error());
    }
    // A pipe or a terminal cannot be synced; only a regular file's data must reach the disk.
    if (!inPlace_ && calls_.fsync(fd_) != 0) {
        return fail(WriteStep::Sync, errno);
    }
    const int fd = fd_;
    fd_ = -1;
    out_.reset();
    buffer_.reset();
    if (calls_.close(fd) != 0) {
        return fail(WriteStep::Close, errno);
    }
    if (inPlace_) {
        return true;
    }
    if (calls_.rename(temporary_.c_str(), target_.c_str()) != 0) {
        return fail(WriteStep::Rename, errno);
    }
    temporaryExists_ = false;
    releaseTemporarySlot(slot_);
    slot_ = -1;
    // The rename reaches the disk with the folder's entry.
    if (const auto failed = syncFolder(target_.parent_path(), calls_)) {
        failure_ = WriteFailure{target_.string(), WriteStep::SyncFolder, failed->error};
        return false;
    }
    return true;
}

void OutputFile::discard() {
    out_.reset();
    buffer_.reset();
    if (fd_ >= 0) {
        calls_.close(fd_);
        fd_ = -1;
    }
    if (temporaryExists_) {
        calls_.unlink(temporary_.c_str());
        temporaryExists_ = false;
    }
    releaseTemporarySlot(slot_);
    slot_ = -1;
}

GrowingFile::GrowingFile(std::filesystem::path path, const FileCalls& calls)
    : calls_(calls), path_(std::move(path)) {}

GrowingFile::~GrowingFile() {
    abandon();
}

bool GrowingFile::fail(WriteStep step, int error) {
    if (!failure_) {
        failure_ = WriteFailure{path_.string(), step, error};
    }
    abandon();
    return false;
}

bool GrowingFile::open(bool afresh) {
    abandon();
    failure_.reset();
    const int flags = O_WRONLY | O_CREAT | O_APPEND | O_CLOEXEC | (afresh ? O_TRUNC : 0);
    fd_ = calls_.open(path_.c_str(), flags, kFileMode);
    return fd_ >= 0 || fail(WriteStep::Create, errno);
}

bool GrowingFile::append(std::string_view text) {
    if (fd_ < 0) {
        return fail(WriteStep::Write, failure_ ? failure_->error : EBADF);
    }
    while (!text.empty()) {
        const ssize_t n = calls_.write(fd_, text.data(), text.size());
        if (n < 0 && errno == EINTR) {
            continue;
        }
        if (n <= 0) {
            return fail(WriteStep::Write, n < 0 ? errno : EIO);
        }
        text.remove_prefix(static_cast<size_t>(n));
    }
    return true;
}

bool GrowingFile::finish() {
    if (fd_ < 0) {
        return fail(WriteStep::Close, failure_ ? failure_->error : EBADF);
    }
    if (calls_.fsync(fd_) != 0) {
        return fail(WriteStep::Sync, errno);
    }
    const int fd = fd_;
    fd_ = -1;
    return calls_.close(fd) == 0 || fail(WriteStep::Close, errno);
}

void GrowingFile::abandon() {
    if (fd_ >= 0) {
        calls_.close(fd_);
        fd_ = -1;
    }
}

std::optional<WriteFailure> syncFolder(const std::filesystem::path& folder,
                                       const FileCalls& calls) {
    const std::filesystem::path name = folder.empty() ? std::filesystem::path(".") : folder;
    const int dir = calls.open(name.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC, 0);
    if (dir < 0 || calls.fsync(dir) != 0) {
        const int error = errno;
        if (dir >= 0) {
            calls.close(dir);
        }
        return WriteFailure{name.string(), WriteStep::SyncFolder, error};
    }
    calls.close(dir);
    return std::nullopt;
}

std::optional<WriteFailure> writeWholeFile(const std::filesystem::path& target,
                                           std::string_view text, const FileCalls& calls) {
    OutputFile file(target, calls);
    if (file.open()) {
        file.stream().write(text.data(), static_cast<std::streamsize>(text.size()));
        if (file.commit()) {
            return std::nullopt;
        }
    }
    return file.failure();
}

bool sameFile(const std::filesystem::path& a, const std::filesystem::path& b) {
    struct stat first {};
    struct stat second {};
    return ::stat(a.c_str(), &first) == 0 && ::stat(b.c_str(), &second) == 0 &&
           first.st_dev == second.st_dev && first.st_ino == second.st_ino;
}

void removeTemporaryFilesOnSignal() {
    temporarySlots();  // built before any signal can need it
    struct sigaction action {};
    action.sa_handler = removeTemporariesAndExit;
    sigemptyset(&action.sa_mask);
    sigaction(SIGINT, &action, nullptr);
    sigaction(SIGTERM, &action, nullptr);
}

}  // namespace prrsim::batch
