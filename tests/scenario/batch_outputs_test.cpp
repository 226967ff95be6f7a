// prrsim-batch's output files: never the scenario itself however it is reached, special files
// written in place, a failed write naming the file written, and no temporary file left by a
// run that is interrupted.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <signal.h>
#include <spawn.h>
#include <sys/stat.h>
#include <sys/wait.h>

#include <chrono>
#include <thread>

#include "batch_test_support.h"

extern char** environ;

namespace prrsim::batch {
namespace {

using namespace testing;

const std::string kScene = R"({"start": "default", "ticks": 300})";

int runShell(const std::string& command) {
    const int status = std::system(command.c_str());
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

size_t temporaryFiles(const fs::path& dir) {
    size_t n = 0;
    for (const auto& entry : fs::directory_iterator(dir)) {
        n += entry.path().extension() == ".tmp" ? 1 : 0;
    }
    return n;
}

// `--trace link/scene.json` through a symlinked folder, or a hard link, replaced the scenario.
TEST(BatchOutputsRegression, TraceThroughALinkReplacedTheScenario) {
    const TempDir dir;
    const fs::path scene = dir / "scene.json";
    writeFile(scene, kScene);
    fs::create_directory_symlink(dir.path(), dir / "link");
    fs::create_hard_link(scene, dir / "other.json");
    for (const fs::path& output : {dir / "link" / "scene.json", dir / "other.json"}) {
        const ExeResult r = runExe({scene.string(), "--trace", output.string()}, dir);
        EXPECT_EQ(r.exitCode, 2) << output;
        EXPECT_NE(r.err.find("would overwrite the scenario file"), std::string::npos) << r.err;
        EXPECT_EQ(readFile(scene), kScene);
    }
}

// A pipe named as an output was replaced by a regular file.
TEST(BatchOutputsRegression, PipeIsWrittenInPlace) {
    const TempDir dir;
    const fs::path scene = dir / "scene.json";
    writeFile(scene, kScene);
    ASSERT_EQ(runExe({scene.string(), "--trace", (dir / "trace.jsonl").string()}, dir).exitCode, 0);
    const fs::path fifo = dir / "fifo";
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    const std::string command =
        "timeout 60 cat " + shellQuote(fifo.string()) + " > " + shellQuote((dir / "got").string()) +
        " & " + shellQuote(PRRSIM_BATCH_EXE) + " " + shellQuote(scene.string()) + " --trace " +
        shellQuote(fifo.string()) + " > /dev/null; rc=$?; wait; exit $rc";
    EXPECT_EQ(runShell(command), 0);
    EXPECT_TRUE(fs::is_fifo(fifo));
    EXPECT_EQ(readFile(dir / "got"), readFile(dir / "trace.jsonl"));
    // /dev/stdout into a pipe: the trace, then the summary.
    const std::string toStdout = shellQuote(PRRSIM_BATCH_EXE) + " " + shellQuote(scene.string()) +
                                 " --trace /dev/stdout | cat > " +
                                 shellQuote((dir / "stdout").string());
    EXPECT_EQ(runShell(toStdout), 0);
    EXPECT_EQ(readFile(dir / "stdout").rfind(readFile(dir / "trace.jsonl"), 0), 0u);
    EXPECT_EQ(temporaryFiles(dir.path()), 0u);
}

// A failed trace write named the scenario, not the trace.
TEST(BatchOutputsRegression, FailedTraceWriteNamedTheScenario) {
    const TempDir dir;
    const fs::path scene = dir / "scene.json";
    const fs::path trace = dir / "trace.jsonl";
    writeFile(scene, kScene);
    // Files may grow to 2 blocks only: the trace's writes fail as on a full disk.
    const std::string command = "trap '' XFSZ; ulimit -f 2; " + shellQuote(PRRSIM_BATCH_EXE) + " " +
                                shellQuote(scene.string()) + " --trace " +
                                shellQuote(trace.string()) + " 2> " +
                                shellQuote((dir / "err").string()) + " > /dev/null";
    EXPECT_EQ(runShell(command), 1);
    const std::string err = readFile(dir / "err");
    EXPECT_EQ(err.rfind(trace.string() + ": cannot write the file (", 0), 0u) << err;
    EXPECT_EQ(lines(err).size(), 1u) << err;
    EXPECT_FALSE(fs::exists(trace));
    EXPECT_EQ(temporaryFiles(dir.path()), 0u);
}

// SIGINT and SIGTERM left FILE.<pid>.tmp files behind.
TEST(BatchOutputsRegression, SignalsRemoveTheTemporaryFiles) {
    for (const int signal : {SIGTERM, SIGINT}) {
        const TempDir dir;
        const fs::path scene = dir / "long.json";
        writeFile(scene, R"({"start": "default", "ticks": 1000000000})");
        const std::string trace = (dir / "trace.jsonl").string();
        const std::string events = (dir / "events.jsonl").string();
        std::vector<std::string> args = {PRRSIM_BATCH_EXE, scene.string(), "--trace", trace,
                                         "--events",       events};
        std::vector<char*> argv;
        for (std::string& a : args) {
            argv.push_back(a.data());
        }
        argv.push_back(nullptr);
        pid_t pid = 0;
        ASSERT_EQ(::posix_spawn(&pid, PRRSIM_BATCH_EXE, nullptr, nullptr, argv.data(), environ), 0);
        // Running once its temporary files are there.
        for (int i = 0; i < 600 && temporaryFiles(dir.path()) < 2; ++i) {
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
        }
        EXPECT_EQ(temporaryFiles(dir.path()), 2u);
        ::kill(pid, signal);
        int status = 0;
        ASSERT_EQ(::waitpid(pid, &status, 0), pid);
        ASSERT_TRUE(WIFEXITED(status)) << "killed by signal " << WTERMSIG(status);
        EXPECT_EQ(WEXITSTATUS(status), 128 + signal);
        EXPECT_EQ(temporaryFiles(dir.path()), 0u);
        EXPECT_FALSE(fs::exists(trace));
    }
}

}  // namespace
}  // namespace prrsim::batch
