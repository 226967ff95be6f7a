// libFuzzer target of the scenario reader and runner: every input must end in a clean one-line
// error (the batch runner's exit status 2) or a run that completes, never in a crash, a
// sanitizer report or a broken world. Runs are capped at kTickCap ticks so that a large "ticks"
// does not stall the fuzzer.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <optional>
#include <sstream>
#include <string>
#include <string_view>

#include "scenario/runner.h"
#include "scenario/scenario.h"
#include "world/world.h"
#include "world/world_invariants.h"

namespace {

constexpr int64_t kTickCap = 3000;

[[noreturn]] void fault(const std::string& what) {
    std::fprintf(stderr, "scenario_fuzz: %s\n", what.c_str());
    std::abort();
}

// An error is one line naming the file.
void checkErrorLine(const std::string& error) {
    if (error.empty() || error.find('\n') != std::string::npos ||
        error.rfind("fuzz.json", 0) != 0) {
        fault("malformed error line: \"" + error + "\"");
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    std::string error;
    std::optional<prrsim::batch::Scenario> scenario =
        prrsim::batch::parseScenario(text, "fuzz.json", error);
    if (!scenario) {
        checkErrorLine(error);
        return 0;
    }
    if (scenario->ticks > kTickCap) {
        scenario->ticks = kTickCap;
    }
    static const std::unique_ptr<prrsim::WorldState> world = prrsim::makeWorld();
    std::ostringstream trace;
    prrsim::batch::RunOptions options;
    options.every = 97;
    options.trace = &trace;
    const prrsim::batch::RunResult result =
        prrsim::batch::runScenario(*world, *scenario, "fuzz.json", options);
    if (result.status == prrsim::batch::RunStatus::InternalFailure) {
        fault("internal failure: " + result.error);
    }
    if (result.status == prrsim::batch::RunStatus::BadInput) {
        checkErrorLine(result.error);
    }
    const std::string broken = prrsim::checkWorldInvariants(*world);
    if (!broken.empty()) {
        fault("world invariant broken after the run: " + broken);
    }
    return 0;
}
