// prrsim-batch: runs a scenario file without windows and prints its summary.
//
//   prrsim-batch SCENARIO.json [--trace FILE.jsonl] [--every N] [--events FILE.jsonl]
//                [--events-csv FILE.csv] [--summary-csv FILE.csv] [--acmi FILE.acmi]
//   prrsim-batch campaign CAMPAIGN.json [--threads N] [--shard K/N] [--out DIR] [--resume]
//                [--quiet]
//   prrsim-batch merge DIR... --out DIR
//
// Exit status: 0 the run completed; 2 bad input (one line on stderr; nothing run, or the run
// stopped at the action that could not be applied); 1 internal failure.
#include <charconv>
#include <cstdio>
#include <exception>
#include <filesystem>
#include <iostream>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "cli/campaign_cli.h"
#include "review/acmi.h"
#include "review/event_log.h"
#include "review/missile_summary.h"
#include "scenario/output_file.h"
#include "scenario/refusal.h"
#include "scenario/runner.h"
#include "scenario/scenario.h"
#include "world/world_state.h"

namespace {

using namespace prrsim::batch;
namespace fs = std::filesystem;

constexpr int kExitOk = 0;
constexpr int kExitInternal = 1;
constexpr int kExitBadInput = 2;

constexpr std::string_view kUsage =
    "usage: prrsim-batch SCENARIO.json [--trace FILE.jsonl] [--every N] [--events FILE.jsonl] "
    "[--events-csv FILE.csv] [--summary-csv FILE.csv] [--acmi FILE.acmi]";

// The files a run can write, each named by its option.
enum Output { kTrace, kEvents, kEventsCsv, kSummaryCsv, kAcmi, kOutputCount };

struct OutputOption {
    std::string_view option;
    std::string_view what;  // for "cannot create the ... file"
};

constexpr OutputOption kOutputs[kOutputCount] = {
    {"--trace", "trace"},
    {"--events", "event log"},
    {"--events-csv", "event table"},
    {"--summary-csv", "missile table"},
    {"--acmi", "flight recording"},
};

struct Arguments {
    std::string scenario;
    std::optional<std::string> outputs[kOutputCount];
    int64_t every = 1;
};

int badInput(const std::string& line) {
    std::cerr << line << '\n';
    return kExitBadInput;
}

int outputIndex(std::string_view option) {
    for (int i = 0; i < kOutputCount; ++i) {
        if (kOutputs[i].option == option) {
            return i;
        }
    }
    return -1;
}

// The same file named twice: through different spellings of its path, or through a link to
// the same device and inode.
bool samePath(const std::string& a, const std::string& b) {
    std::error_code ignored;
    return fs::absolute(a, ignored).lexically_normal() ==
               fs::absolute(b, ignored).lexically_normal() ||
           sameFile(a, b);
}

// A refusal about `text` as given on the command line.
Refusal about(RefusalCode code, std::string_view text) {
    Refusal r = refusal(code);
    r.value = std::string(text);
    return r;
}

// The refusal's line: the program, the reason and, where the arguments' shape is wrong, the
// usage.
std::string argumentLine(const Refusal& refusal) {
    const bool shapeWrong = refusal.code != RefusalCode::EveryNotWhole &&
                            refusal.code != RefusalCode::WouldOverwriteScenario &&
                            refusal.code != RefusalCode::SameOutputFile;
    return "prrsim-batch: " + englishText(refusal) + (shapeWrong ? "; " + std::string(kUsage) : "");
}

// Parses the command line; on error returns why.
std::optional<Arguments> parseArguments(int argc, char** argv, Refusal& error) {
    Arguments args;
    bool haveScenario = false;
    bool haveEvery = false;
    for (int i = 1; i < argc; ++i) {
        const std::string_view arg = argv[i];
        const int output = outputIndex(arg);
        if (output >= 0 || arg == "--every") {
            if (i + 1 >= argc) {
                error = about(RefusalCode::OptionNeedsValue, arg);
                return std::nullopt;
            }
            const std::string_view value = argv[++i];
            if (output >= 0) {
                if (args.outputs[output] || value.empty()) {
                    error = about(RefusalCode::OptionTwiceOrEmpty, arg);
                    return std::nullopt;
                }
                args.outputs[output] = std::string(value);
            } else {
                int64_t n = 0;
                const auto [end, ec] =
                    std::from_chars(value.data(), value.data() + value.size(), n);
                if (haveEvery || ec != std::errc{} || end != value.data() + value.size() || n < 1) {
                    error = about(RefusalCode::EveryNotWhole, value);
                    return std::nullopt;
                }
                haveEvery = true;
                args.every = n;
            }
        } else if (!arg.empty() && arg[0] == '-') {
            error = about(RefusalCode::UnknownOption, arg);
            return std::nullopt;
        } else if (haveScenario) {
            error = refusal(RefusalCode::MoreThanOneFile);
            return std::nullopt;
        } else {
            args.scenario = std::string(arg);
            haveScenario = true;
        }
    }
    if (!haveScenario) {
        error = refusal(RefusalCode::NoFile);
        return std::nullopt;
    }
    for (int i = 0; i < kOutputCount; ++i) {
        if (!args.outputs[i]) {
            continue;
        }
        if (samePath(*args.outputs[i], args.scenario)) {
            error = about(RefusalCode::WouldOverwriteScenario, kOutputs[i].option);
            error.other = *args.outputs[i];
            return std::nullopt;
        }
        for (int j = 0; j < i; ++j) {
            if (args.outputs[j] && samePath(*args.outputs[i], *args.outputs[j])) {
                error = about(RefusalCode::SameOutputFile, *args.outputs[i]);
                error.names = {std::string(kOutputs[j].option), std::string(kOutputs[i].option)};
                return std::nullopt;
            }
        }
    }
    return args;
}

int run(int argc, char** argv) {
    if (argc > 1 && std::string_view(argv[1]) == "campaign") {
        return campaignCommand(argc - 1, argv + 1);
    }
    if (argc > 1 && std::string_view(argv[1]) == "merge") {
        return mergeCommand(argc - 1, argv + 1);
    }
    if (argc > 1 && (std::string_view(argv[1]) == "--help" || std::string_view(argv[1]) == "-h")) {
        std::cout << kUsage << "\n       prrsim-batch campaign --help\n       prrsim-batch merge "
                  << "--help\n";
        return kExitOk;
    }
    Refusal refused;
    const std::optional<Arguments> args = parseArguments(argc, argv, refused);
    if (!args) {
        return badInput(argumentLine(refused));
    }
    std::string error;
    const std::optional<Scenario> scenario = loadScenario(args->scenario, error);
    if (!scenario) {
        return badInput(error);
    }
    // The files are created only once the scenario is known to be sound, each under a
    // temporary name until it is complete.
    std::unique_ptr<OutputFile> files[kOutputCount];
    for (int i = 0; i < kOutputCount; ++i) {
        if (args->outputs[i]) {
            files[i] = std::make_unique<OutputFile>(*args->outputs[i]);
            if (!files[i]->open()) {
                return badInput(*args->outputs[i] + ": cannot create the " +
                                std::string(kOutputs[i].what) + " file");
            }
        }
    }
    RunOptions options(args->every, files[kTrace] ? &files[kTrace]->stream() : nullptr);
    MissileSummaryCollector missiles;
    options.listeners.push_back(&missiles);
    std::optional<EventJsonWriter> eventJson;
    std::optional<EventCsvWriter> eventCsv;
    std::optional<AcmiRecorder> acmi;
    if (files[kEvents]) {
        options.listeners.push_back(&eventJson.emplace(files[kEvents]->stream()));
    }
    if (files[kEventsCsv]) {
        options.listeners.push_back(&eventCsv.emplace(files[kEventsCsv]->stream()));
    }
    if (files[kAcmi]) {
        const std::string title = fs::path(args->scenario).filename().string();
        options.listeners.push_back(
            &acmi.emplace(files[kAcmi]->stream(), title, scenario->description));
    }

    auto world = prrsim::makeWorld();
    const RunResult result = runScenario(*world, *scenario, args->scenario, options);
    if (result.status == RunStatus::InternalFailure) {
        // The trace failed: its own file says why, not the scenario's.
        if (files[kTrace] && !files[kTrace]->commit() && files[kTrace]->failure()) {
            std::cerr << files[kTrace]->failure()->line() << '\n';
        } else {
            std::cerr << result.error << '\n';
        }
        return kExitInternal;
    }
    const std::vector<MissileSummary> summaries = missiles.summaries(*world);
    if (result.status == RunStatus::Ok && files[kSummaryCsv]) {
        writeMissileSummaryCsv(files[kSummaryCsv]->stream(), summaries);
    }
    // A run stopped by an action keeps what it wrote before the action, as a completed one
    // does; the missile table belongs to a completed run only.
    for (int i = 0; i < kOutputCount; ++i) {
        if (!files[i] || (i == kSummaryCsv && result.status != RunStatus::Ok)) {
            continue;
        }
        if (!files[i]->commit()) {
            const std::optional<WriteFailure>& failure = files[i]->failure();
            std::cerr << (failure ? failure->line()
                                  : *args->outputs[i] + ": the " +
                                        std::string(kOutputs[i].what) +
                                        " file could not be written")
                      << '\n';
            return kExitInternal;
        }
    }
    if (result.status == RunStatus::BadInput) {
        return badInput(result.error);
    }
    std::cout << summaryLine(*world, result.ticksRun, result.impacts);
    for (const MissileSummary& s : summaries) {
        std::cout << missileSummaryJsonLine(s);
    }
    std::cout.flush();
    if (!std::cout) {
        std::cerr << "prrsim-batch: the summary could not be written\n";
        return kExitInternal;
    }
    return kExitOk;
}

}  // namespace

int main(int argc, char** argv) {
    // An interrupted run leaves no temporary files behind; exit status 130 or 143.
    removeTemporaryFilesOnSignal();
    try {
        return run(argc, argv);
    } catch (const std::exception& e) {
        std::cerr << "prrsim-batch: internal failure: " << e.what() << '\n';
    } catch (...) {
        std::cerr << "prrsim-batch: internal failure\n";
    }
    return kExitInternal;
}
