#include "cli/campaign_cli.h"

#include <algorithm>
#include <charconv>
#include <filesystem>
#include <iostream>
#include <optional>
#include <string>
#include <string_view>
#include <thread>
#include <vector>

#include "campaign/campaign.h"
#include "campaign/campaign_results.h"
#include "campaign/campaign_runner.h"

namespace prrsim::batch {

namespace fs = std::filesystem;

namespace {

constexpr int kExitOk = 0;
constexpr int kExitInternal = 1;
constexpr int kExitBadInput = 2;

constexpr std::string_view kCampaignUsage =
    "usage: prrsim-batch campaign CAMPAIGN.json [--threads N] [--shard K/N] [--out DIR]";
constexpr std::string_view kMergeUsage = "usage: prrsim-batch merge DIR... --out DIR";
constexpr int64_t kMaxThreads = 1024;

int badInput(const std::string& line) {
    std::cerr << line << '\n';
    return kExitBadInput;
}

std::optional<int64_t> wholeNumber(std::string_view text) {
    int64_t n = 0;
    const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), n);
    if (ec != std::errc{} || end != text.data() + text.size()) {
        return std::nullopt;
    }
    return n;
}

struct CampaignArguments {
    std::string file;
    int threads = 1;
    std::optional<Shard> shard;
    std::optional<std::string> out;
};

std::optional<CampaignArguments> parseCampaignArguments(int argc, char** argv, std::string& error) {
    CampaignArguments args;
    const unsigned cores = std::thread::hardware_concurrency();
    args.threads = cores == 0 ? 1 : static_cast<int>(cores);
    bool haveThreads = false;
    const auto fail = [&error](const std::string& why) {
        error = "prrsim-batch campaign: " + why + "; " + std::string(kCampaignUsage);
        return std::nullopt;
    };
    for (int i = 1; i < argc; ++i) {
        const std::string_view arg = argv[i];
        if (arg == "--threads" || arg == "--shard" || arg == "--out") {
            if (i + 1 >= argc) {
                return fail(std::string(arg) + " needs a value");
            }
            const std::string_view value = argv[++i];
            if (arg == "--threads") {
                const auto n = wholeNumber(value);
                if (haveThreads || !n || *n < 1 || *n > kMaxThreads) {
                    return fail("--threads " + std::string(value) +
                                ": must be given once, a whole number from 1 to " +
                                std::to_string(kMaxThreads));
                }
                haveThreads = true;
                args.threads = static_cast<int>(*n);
            } else if (arg == "--shard") {
                const size_t slash = std::min(value.find('/'), value.size());
                const auto k = wholeNumber(value.substr(0, slash));
                const auto n = wholeNumber(value.substr(std::min(slash + 1, value.size())));
                if (args.shard || slash == value.size() || !k || !n || *n < 1 || *k < 0 ||
                    *k >= *n) {
                    return fail("--shard " + std::string(value) +
                                ": must be given once, as K/N with 0 <= K < N");
                }
                args.shard = Shard{*k, *n};
            } else {
                if (args.out || value.empty()) {
                    return fail("--out given twice or empty");
                }
                args.out = std::string(value);
            }
        } else if (!arg.empty() && arg[0] == '-') {
            return fail("unknown option " + std::string(arg));
        } else if (!args.file.empty()) {
            return fail("more than one campaign file");
        } else {
            args.file = std::string(arg);
        }
    }
    if (args.file.empty()) {
        return fail("no campaign file");
    }
    return args;
}

}  // namespace

int campaignCommand(int argc, char** argv) {
    std::string error;
    const std::optional<CampaignArguments> args = parseCampaignArguments(argc, argv, error);
    if (!args) {
        return badInput(error);
    }
    std::optional<Campaign> campaign = loadCampaign(args->file, error);
    if (!campaign) {
        return badInput(error);
    }
    CampaignPlan plan(std::move(*campaign));
    if (!plan.prepare(args->file, error)) {
        return badInput(error);
    }
    const std::string stem = fs::path(args->file).stem().string();
    const fs::path out = args->out ? fs::path(*args->out)
                         : args->shard
                             ? fs::path(stem + "-shard-" + std::to_string(args->shard->index))
                             : fs::path(stem + "-results");
    std::error_code ec;
    fs::create_directories(out, ec);
    if (ec || !fs::is_directory(out)) {
        return badInput(out.string() + ": cannot create the results directory");
    }

    const Shard shard = args->shard.value_or(Shard{});
    const std::vector<int64_t> runs = shardRuns(plan.campaign().runs, shard);
    const std::vector<std::string> lines = runCampaign(plan, runs, args->threads);
    int64_t stopped = 0;
    std::string firstStop;
    for (const std::string& line : lines) {
        if (line.find("\"stopped\":null") == std::string::npos) {
            firstStop = firstStop.empty() ? line : firstStop;
            ++stopped;
        }
    }
    if (args->shard) {
        if (!writeShardResults(out, plan.campaign(), shard, lines, error)) {
            std::cerr << error << '\n';
            return kExitInternal;
        }
        std::cout << "Доля " << shard.index << "/" << shard.count << ": " << lines.size()
                  << " прогонов из " << plan.campaign().runs << " записаны в " << out.string()
                  << "\n";
    } else {
        std::string table;
        if (!writeCampaignResults(out, plan.campaign(), lines, table, error)) {
            std::cerr << error << '\n';
            return kExitInternal;
        }
        std::cout << table << "\nРезультаты: " << out.string() << "\n";
    }
    if (stopped > 0) {
        std::cerr << "prrsim-batch campaign: " << stopped
                  << " runs stopped at an action and are left out of the statistics; the first: "
                  << firstStop;
    }
    std::cout.flush();
    return std::cout ? kExitOk : kExitInternal;
}

int mergeCommand(int argc, char** argv) {
    std::vector<fs::path> dirs;
    std::optional<fs::path> out;
    for (int i = 1; i < argc; ++i) {
        const std::string_view arg = argv[i];
        if (arg == "--out") {
            if (i + 1 >= argc || out || std::string_view(argv[i + 1]).empty()) {
                return badInput("prrsim-batch merge: --out needs one value, given once; " +
                                std::string(kMergeUsage));
            }
            out = fs::path(argv[++i]);
        } else if (!arg.empty() && arg[0] == '-') {
            return badInput("prrsim-batch merge: unknown option " + std::string(arg) + "; " +
                            std::string(kMergeUsage));
        } else {
            dirs.emplace_back(arg);
        }
    }
    if (dirs.empty() || !out) {
        return badInput("prrsim-batch merge: needs the shard directories and --out; " +
                        std::string(kMergeUsage));
    }
    std::string table;
    std::string error;
    switch (mergeCampaignShards(dirs, *out, table, error)) {
        case MergeStatus::BadInput:
            return badInput("prrsim-batch merge: " + error);
        case MergeStatus::WriteFailed:
            std::cerr << "prrsim-batch merge: " << error << '\n';
            return kExitInternal;
        case MergeStatus::Ok:
            break;
    }
    std::cout << table << "\nРезультаты: " << out->string() << "\n";
    std::cout.flush();
    return std::cout ? kExitOk : kExitInternal;
}

}  // namespace prrsim::batch
