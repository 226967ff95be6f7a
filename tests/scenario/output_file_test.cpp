// The writer with a failure injected at each system call: the old file stays whole, no
// temporary file is left and the failure names the file and the step, for files below, at and
// above the size where buffered writers first touch the disk only when they are closed.
#include "scenario/output_file.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

#include "batch_test_support.h"

namespace prrsim::batch {
namespace {

using namespace testing;

// Which call fails; a test sets it before writing. File-local because the table holds plain
// function pointers, as the system's own calls are.
struct Injection {
    WriteStep step = WriteStep::Create;
    bool active = false;
    int writes = 0;         // write() calls so far
    int failingWrite = -1;  // the write() call that fails; -1 none
    int opens = 0;
};

Injection& injection() {
    static Injection i;
    return i;
}

int injectedOpen(const char* path, int flags, mode_t mode) {
    Injection& i = injection();
    ++i.opens;
    const bool directory = (flags & O_DIRECTORY) != 0;
    if (i.active && ((i.step == WriteStep::Create && !directory) ||
                     (i.step == WriteStep::SyncFolder && directory))) {
        errno = i.step == WriteStep::Create ? EACCES : EIO;
        return -1;
    }
    return systemFileCalls().open(path, flags, mode);
}

ssize_t injectedWrite(int fd, const void* data, size_t size) {
    Injection& i = injection();
    const int call = i.writes++;
    if (i.active && call == i.failingWrite) {
        errno = ENOSPC;
        return -1;
    }
    // Short writes, as a nearly full disk gives: the writer must go on with the rest.
    return systemFileCalls().write(fd, data, std::min<size_t>(size, 4096));
}

int injectedFsync(int fd) {
    struct stat info {};
    ::fstat(fd, &info);
    if (injection().active && injection().step == WriteStep::Sync && S_ISREG(info.st_mode)) {
        errno = EIO;
        return -1;
    }
    return systemFileCalls().fsync(fd);
}

int injectedClose(int fd) {
    const int result = systemFileCalls().close(fd);
    if (injection().active && injection().step == WriteStep::Close) {
        errno = EIO;
        return -1;
    }
    return result;
}

int injectedRename(const char* from, const char* to) {
    if (injection().active && injection().step == WriteStep::Rename) {
        errno = EXDEV;
        return -1;
    }
    return systemFileCalls().rename(from, to);
}

const FileCalls kInjected{injectedOpen,  injectedWrite,  injectedFsync,
                          injectedClose, injectedRename, ::unlink};

struct StepRow {
    const char* name;
    WriteStep step;
    bool firstWrite;  // Write: the first write() fails; Flush: the last one
};

struct SizeRow {
    const char* name;
    size_t bytes;
};

const StepRow kSteps[] = {
    {"Create", WriteStep::Create, false}, {"Write", WriteStep::Write, true},
    {"Flush", WriteStep::Flush, false},   {"Sync", WriteStep::Sync, false},
    {"Close", WriteStep::Close, false},   {"Rename", WriteStep::Rename, false},
};

const SizeRow kSizes[] = {
    {"Small", 300},
    {"Boundary", 16 * 1024},
    {"AboveBoundary", 16 * 1024 + 1},
    {"Large", 3 << 20},
};

std::string content(size_t bytes, char fill) {
    std::string text(bytes, fill);
    for (size_t i = 0; i < bytes; i += 997) {
        text[i] = '\n';
    }
    return text;
}

size_t writeCalls(size_t bytes) {
    injection() = {};
    const TempDir dir;
    EXPECT_FALSE(writeWholeFile(dir / "probe", content(bytes, 'p'), kInjected).has_value());
    return static_cast<size_t>(injection().writes);
}

TEST(OutputFileFailure, EveryStepAtEverySizeKeepsTheOldFileAndNamesTheNewOne) {
    for (const SizeRow& size : kSizes) {
        const size_t calls = writeCalls(size.bytes);
        for (const StepRow& row : kSteps) {
            SCOPED_TRACE(std::string(size.name) + " " + row.name);
            const TempDir dir;
            const fs::path target = dir / "scene.json";
            const std::string old = content(size.bytes + 7, 'o');
            writeFile(target, old);
            injection() = {};
            injection().active = true;
            injection().step = row.step;
            if (row.step == WriteStep::Write || row.step == WriteStep::Flush) {
                injection().failingWrite = row.firstWrite ? 0 : static_cast<int>(calls) - 1;
            }
            const std::optional<WriteFailure> failure =
                writeWholeFile(target, content(size.bytes, 'n'), kInjected);
            injection().active = false;
            ASSERT_TRUE(failure.has_value());
            EXPECT_EQ(failure->path, target.string());
            EXPECT_NE(failure->error, 0);
            EXPECT_NE(failure->line().find(target.string() + ": cannot write the file ("),
                      std::string::npos);
            EXPECT_EQ(readFile(target), old);
            EXPECT_EQ(std::distance(fs::directory_iterator(dir.path()), {}), 1)
                << "a temporary file was left";
        }
    }
}

TEST(OutputFileFailure, ReportsTheStepThatFailed) {
    const TempDir dir;
    const fs::path target = dir / "t.json";
    for (const WriteStep step : {WriteStep::Create, WriteStep::Sync, WriteStep::Close,
                                 WriteStep::Rename, WriteStep::SyncFolder}) {
        injection() = {};
        injection().active = true;
        injection().step = step;
        const auto failure = writeWholeFile(target, "{}", kInjected);
        injection().active = false;
        ASSERT_TRUE(failure.has_value()) << writeStepName(step);
        EXPECT_EQ(failure->step, step);
    }
}

TEST(OutputFile, WritesEverySizeWholeThroughShortWrites) {
    for (const SizeRow& size : kSizes) {
        const TempDir dir;
        injection() = {};
        const std::string text = content(size.bytes, 'x');
        EXPECT_FALSE(writeWholeFile(dir / "f", text, kInjected).has_value()) << size.name;
        EXPECT_EQ(readFile(dir / "f"), text) << size.name;
    }
}

TEST(OutputFile, AnUncommittedFileLeavesNothing) {
    const TempDir dir;
    {
        OutputFile file(dir / "never");
        ASSERT_TRUE(file.open());
        file.stream() << "text";
    }
    EXPECT_TRUE(fs::is_empty(dir.path()));
}

// A small scene on a full disk: the error of a buffered write appeared only when the file was
// closed, and was lost there, leaving a 0-byte file in place of the scene.
TEST(OutputFileRegression, SmallSaveOnAFullDiskIsReported) {
    const TempDir dir;
    if (!fs::exists("/dev/full")) {
        GTEST_SKIP() << "no /dev/full";
    }
    OutputFile file("/dev/full");
    ASSERT_TRUE(file.open());
    file.stream() << "{}";
    EXPECT_FALSE(file.commit());
    ASSERT_TRUE(file.failure().has_value());
    EXPECT_EQ(file.failure()->error, ENOSPC);
    EXPECT_EQ(file.failure()->path, "/dev/full");
}

// --trace /dev/stdout, a pipe or a device was replaced by a regular file.
TEST(OutputFileRegression, SpecialFilesAreWrittenInPlace) {
    const TempDir dir;
    const fs::path pipe = dir / "pipe";
    ASSERT_EQ(::mkfifo(pipe.c_str(), 0600), 0);
    const int reader = ::open(pipe.c_str(), O_RDONLY | O_NONBLOCK);
    ASSERT_GE(reader, 0);
    EXPECT_FALSE(writeWholeFile(pipe, "through the pipe").has_value());
    char got[64] = {};
    EXPECT_EQ(::read(reader, got, sizeof got), 16);
    ::close(reader);
    EXPECT_TRUE(fs::is_fifo(pipe));
    EXPECT_FALSE(writeWholeFile("/dev/null", "gone").has_value());
    EXPECT_TRUE(fs::is_character_file("/dev/null"));
}

// A campaign's run lines were appended with a plain stream: never synced, a failed write found
// only at the end. Each failing step is reported at once with the file's name, and what was
// appended before it stays in the file.
TEST(GrowingFileFailure, EveryStepIsReportedWithTheFileAndKeepsTheLinesBefore) {
    struct Row {
        const char* name;
        WriteStep step;
    };
    for (const Row& row : {Row{"create", WriteStep::Create}, Row{"write", WriteStep::Write},
                           Row{"sync", WriteStep::Sync}, Row{"close", WriteStep::Close}}) {
        SCOPED_TRACE(row.name);
        const TempDir dir;
        const fs::path path = dir / "runs.jsonl";
        writeFile(path, "line 1\n");
        injection() = {};
        injection().active = row.step == WriteStep::Create;
        injection().step = row.step;
        GrowingFile file(path, kInjected);
        const bool opened = file.open(false);
        EXPECT_EQ(opened, row.step != WriteStep::Create);
        bool ok = opened && file.append(content(10000, 'a'));
        if (opened) {
            EXPECT_TRUE(ok) << "short writes must be carried on";
            injection().active = true;
            if (row.step == WriteStep::Write) {
                injection().failingWrite = injection().writes;
            }
            ok = file.append("line 3\n") && file.finish();
        }
        injection().active = false;
        EXPECT_FALSE(ok);
        ASSERT_TRUE(file.failure().has_value());
        EXPECT_EQ(file.failure()->path, path.string());
        EXPECT_EQ(file.failure()->step, row.step);
        EXPECT_EQ(readFile(path).substr(0, 7), "line 1\n");
        const size_t appended = row.step == WriteStep::Create  ? 0
                                : row.step == WriteStep::Write ? 10000
                                                               : 10000 + 7;
        EXPECT_EQ(readFile(path).size(), 7 + appended);
    }
}

TEST(GrowingFile, AppendsOrStartsAfreshAndSyncs) {
    const TempDir dir;
    const fs::path path = dir / "runs.csv";
    writeFile(path, "old\n");
    GrowingFile kept(path);
    ASSERT_TRUE(kept.open(false) && kept.append("new\n") && kept.finish());
    EXPECT_EQ(readFile(path), "old\nnew\n");
    GrowingFile fresh(path);
    ASSERT_TRUE(fresh.open(true) && fresh.append("only\n") && fresh.finish());
    EXPECT_EQ(readFile(path), "only\n");
}

TEST(OutputFile, SameFileThroughALink) {
    const TempDir dir;
    writeFile(dir / "a.json", "{}");
    fs::create_directory(dir / "sub");
    fs::create_symlink(dir / "a.json", dir / "sub" / "link.json");
    EXPECT_TRUE(sameFile(dir / "a.json", dir / "sub" / "link.json"));
    EXPECT_TRUE(sameFile(dir / "a.json", dir / "sub" / ".." / "a.json"));
    writeFile(dir / "b.json", "{}");
    EXPECT_FALSE(sameFile(dir / "a.json", dir / "b.json"));
    EXPECT_FALSE(sameFile(dir / "a.json", dir / "missing.json"));
}

}  // namespace
}  // namespace prrsim::batch
