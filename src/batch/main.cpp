// prrsim-batch: runs a scenario file without windows and prints its summary.
//
//   prrsim-batch SCENARIO.json [--trace FILE.jsonl] [--every N]
//
// Exit status: 0 the run completed; 2 bad input (one line on stderr; nothing run, or the run
// stopped at the action that could not be applied); 1 internal failure.
#include <charconv>
#include <cstdio>
#include <exception>
#include <fstream>
#include <iostream>
#include <optional>
#include <string>
#include <string_view>

#include "batch/runner.h"
#include "batch/scenario.h"
#include "world/world_state.h"

namespace {

using namespace prrsim::batch;

constexpr int kExitOk = 0;
constexpr int kExitInternal = 1;
constexpr int kExitBadInput = 2;

constexpr std::string_view kUsage =
    "usage: prrsim-batch SCENARIO.json [--trace FILE.jsonl] [--every N]";

struct Arguments {
    std::string scenario;
    std::optional<std::string> trace;
    int64_t every = 1;
};

int badInput(const std::string& line) {
    std::cerr << line << '\n';
    return kExitBadInput;
}

// Parses the command line; on error returns the message line.
std::optional<Arguments> parseArguments(int argc, char** argv, std::string& error) {
    Arguments args;
    bool haveScenario = false;
    bool haveEvery = false;
    for (int i = 1; i < argc; ++i) {
        const std::string_view arg = argv[i];
        if (arg == "--trace" || arg == "--every") {
            if (i + 1 >= argc) {
                error =
                    "prrsim-batch: " + std::string(arg) + " needs a value; " + std::string(kUsage);
                return std::nullopt;
            }
            const std::string_view value = argv[++i];
            if (arg == "--trace") {
                if (args.trace || value.empty()) {
                    error = "prrsim-batch: --trace given twice or empty; " + std::string(kUsage);
                    return std::nullopt;
                }
                args.trace = std::string(value);
            } else {
                int64_t n = 0;
                const auto [end, ec] =
                    std::from_chars(value.data(), value.data() + value.size(), n);
                if (haveEvery || ec != std::errc{} || end != value.data() + value.size() || n < 1) {
                    error = "prrsim-batch: --every " + std::string(value) +
                            ": must be given once, as a whole number of ticks, 1 or more";
                    return std::nullopt;
                }
                haveEvery = true;
                args.every = n;
            }
        } else if (!arg.empty() && arg[0] == '-') {
            error = "prrsim-batch: unknown option " + std::string(arg) + "; " + std::string(kUsage);
            return std::nullopt;
        } else if (haveScenario) {
            error = "prrsim-batch: more than one scenario file; " + std::string(kUsage);
            return std::nullopt;
        } else {
            args.scenario = std::string(arg);
            haveScenario = true;
        }
    }
    if (!haveScenario) {
        error = "prrsim-batch: no scenario file; " + std::string(kUsage);
        return std::nullopt;
    }
    return args;
}

int run(int argc, char** argv) {
    std::string error;
    const std::optional<Arguments> args = parseArguments(argc, argv, error);
    if (!args) {
        return badInput(error);
    }
    const std::optional<Scenario> scenario = loadScenario(args->scenario, error);
    if (!scenario) {
        return badInput(error);
    }
    // The trace file is created only once the scenario is known to be sound.
    std::ofstream traceFile;
    RunOptions options;
    options.every = args->every;
    if (args->trace) {
        traceFile.open(*args->trace, std::ios::binary | std::ios::trunc);
        if (!traceFile) {
            return badInput(*args->trace + ": cannot create the trace file");
        }
        options.trace = &traceFile;
    }
    auto world = prrsim::makeWorld();
    const RunResult result = runScenario(*world, *scenario, args->scenario, options);
    if (traceFile.is_open()) {
        traceFile.close();
        if (!traceFile && result.status == RunStatus::Ok) {
            std::cerr << *args->trace << ": the trace could not be written\n";
            return kExitInternal;
        }
    }
    switch (result.status) {
        case RunStatus::Ok:
            break;
        case RunStatus::BadInput:
            return badInput(result.error);
        case RunStatus::InternalFailure:
            std::cerr << result.error << '\n';
            return kExitInternal;
    }
    std::cout << summaryLine(*world, result.ticksRun, result.impacts);
    std::cout.flush();
    if (!std::cout) {
        std::cerr << "prrsim-batch: the summary could not be written\n";
        return kExitInternal;
    }
    return kExitOk;
}

}  // namespace

int main(int argc, char** argv) {
    try {
        return run(argc, argv);
    } catch (const std::exception& e) {
        std::cerr << "prrsim-batch: internal failure: " << e.what() << '\n';
    } catch (...) {
        std::cerr << "prrsim-batch: internal failure\n";
    }
    return kExitInternal;
}
