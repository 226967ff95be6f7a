// The review's broad net: for every missile scenario, edge scenario and the golden default world,
// what prrsim-batch writes of the run's review (the event log, the event and missile tables, the
// flight recording and the summary on standard output) against its stored SHA-256
// (tests/review/digests.txt). Any byte that changes in any of them fails, naming the scenario
// and the output. After a deliberate change of the review's words or numbers, run
// `PRRSIM_UPDATE_REVIEW_DIGESTS=1 build/tests/review_tests --gtest_filter=ReviewDigest.*`
// and review the diff of the digests together with the outputs that changed.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <map>
#include <sstream>

#include "batch_test_support.h"
#include "sha256.h"

namespace prrsim::batch {
namespace {

using namespace testing;

const fs::path kDigests = sourcePath("tests/review/digests.txt");

// The outputs of one run, by name, as the options write them.
const std::pair<const char*, const char*> kOutputs[] = {
    {"events", "--events"},
    {"events-csv", "--events-csv"},
    {"summary-csv", "--summary-csv"},
    {"acmi", "--acmi"},
};

std::vector<fs::path> scenarioFiles() {
    std::vector<fs::path> files = {sourcePath("tests/scenario/golden/default_world.json")};
    for (const char* folder : {"tests/scenario/scenarios", "tests/scenario/edges"}) {
        for (const auto& entry : fs::directory_iterator(sourcePath(folder))) {
            if (entry.path().extension() == ".json") {
                files.push_back(entry.path());
            }
        }
    }
    std::sort(files.begin() + 1, files.end());
    return files;
}

std::string nameOf(const fs::path& file) {
    return file.parent_path().filename().string() + "/" + file.stem().string();
}

// "scenario output" -> "sha256 lines", one line each.
using Digests = std::map<std::string, std::string>;

std::string digestOf(const std::string& text) {
    return sha256Hex(text) + " " + std::to_string(std::count(text.begin(), text.end(), '\n'));
}

Digests runDigests() {
    Digests digests;
    for (const fs::path& file : scenarioFiles()) {
        TempDir dir;
        std::vector<std::string> args = {file.string()};
        for (const auto& [name, option] : kOutputs) {
            args.push_back(option);
            args.push_back((dir / name).string());
        }
        const ExeResult r = runExe(args, dir);
        EXPECT_EQ(r.exitCode, 0) << file << ": " << r.err;
        const std::string scenario = nameOf(file);
        digests[scenario + " stdout"] = digestOf(r.out);
        for (const auto& [name, option] : kOutputs) {
            digests[scenario + " " + name] = digestOf(readFile(dir / name));
        }
    }
    return digests;
}

Digests readDigests() {
    Digests digests;
    std::istringstream in(readFile(kDigests));
    for (std::string scenario, output, sha, count; in >> scenario >> output >> sha >> count;) {
        digests[scenario + " " + output] = sha + " " + count;
    }
    return digests;
}

std::string writeDigests(const Digests& digests) {
    std::string text;
    for (const auto& [key, value] : digests) {
        text += key + " " + value + "\n";
    }
    return text;
}

TEST(ReviewDigest, EveryOutputOfEveryScenarioIsByteIdentical) {
    const Digests now = runDigests();
    ASSERT_GT(now.size(), 100u);  // some 30 scenarios, five outputs each
    if (std::getenv("PRRSIM_UPDATE_REVIEW_DIGESTS") != nullptr) {
        writeFile(kDigests, writeDigests(now));
        GTEST_SKIP() << "wrote " << kDigests;
    }
    const Digests stored = readDigests();
    for (const auto& [key, value] : now) {
        const auto it = stored.find(key);
        if (it == stored.end()) {
            ADD_FAILURE() << key << ": no stored digest (a new scenario escapes the net)";
        } else {
            EXPECT_EQ(value, it->second) << key << " changed (sha256, lines)";
        }
    }
    for (const auto& [key, value] : stored) {
        EXPECT_TRUE(now.count(key) == 1) << key << ": stored, but its scenario is gone";
    }
}

}  // namespace
}  // namespace prrsim::batch
