#include "cli/campaign_cli.h"

#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <charconv>
#include <chrono>
#include <csignal>
#include <cstdio>
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
#include "scenario/refusal.h"

namespace prrsim::batch {

namespace fs = std::filesystem;

namespace {

constexpr int kExitOk = 0;
constexpr int kExitInternal = 1;
constexpr int kExitBadInput = 2;

constexpr std::string_view kCampaignUsage =
    "usage: prrsim-batch campaign CAMPAIGN.json [--threads N] [--shard K/N] [--out DIR] "
    "[--resume] [--quiet]";
constexpr std::string_view kMergeUsage = "usage: prrsim-batch merge DIR... --out DIR";
constexpr std::string_view kCampaignHelp =
    "Runs every run of a campaign and writes its results directory.\n"
    "  --threads N   worker threads (default: the processor count)\n"
    "  --shard K/N   run only the runs i with i mod N = K, for `merge`\n"
    "  --out DIR     the results directory (default NAME-results or NAME-shard-K)\n"
    "  --resume      continue an interrupted campaign from the runs it kept\n"
    "  --quiet       no progress on standard error\n";
constexpr std::string_view kMergeHelp =
    "Merges the directories of every shard of a campaign into one results directory.\n";
constexpr int kExitInterrupted = 128;  // plus the signal's number, as shells report it

// The signal that asked the campaign to stop, 0 none. A signal handler can reach nothing but a
// lock-free object with static storage.
std::atomic<int> stopSignal{0};
std::atomic<bool> stopRequested{false};

extern "C" void requestStop(int signal) {
    stopSignal.store(signal);
    stopRequested.store(true);
}

// Stops the campaign cleanly on Ctrl-C or a termination request while it runs.
class StopOnSignals {
  public:
    StopOnSignals() {
        struct sigaction action {};
        action.sa_handler = requestStop;
        sigemptyset(&action.sa_mask);
        sigaction(SIGINT, &action, &previousInt_);
        sigaction(SIGTERM, &action, &previousTerm_);
    }
    ~StopOnSignals() {
        sigaction(SIGINT, &previousInt_, nullptr);
        sigaction(SIGTERM, &previousTerm_, nullptr);
    }
    StopOnSignals(const StopOnSignals&) = delete;
    StopOnSignals& operator=(const StopOnSignals&) = delete;

  private:
    struct sigaction previousInt_ {};
    struct sigaction previousTerm_ {};
};

// Runs done out of the total on standard error: a bar redrawn in place on a terminal, a plain
// line every ten seconds otherwise (a batch system's log).
class Progress {
  public:
    Progress(int64_t total, int64_t already, bool quiet)
        : total_(total),
          already_(already),
          done_(already),
          quiet_(quiet),
          terminal_(::isatty(STDERR_FILENO) == 1),
          start_(Clock::now()),
          shown_(start_) {}

    void add() {
        ++done_;
        const Clock::time_point now = Clock::now();
        if (quiet_ || now - shown_ < (terminal_ ? kRedraw : kLogEvery)) {
            return;
        }
        shown_ = now;
        show(now);
    }
    void end() {
        if (!quiet_ && terminal_ && shown_ != start_) {
            std::cerr << '\n';
        }
    }

  private:
    using Clock = std::chrono::steady_clock;
    static constexpr std::chrono::milliseconds kRedraw{200};
    static constexpr std::chrono::seconds kLogEvery{10};
    static constexpr int kBarWidth = 30;

    void show(Clock::time_point now) const {
        const double seconds = std::chrono::duration<double>(now - start_).count();
        const double rate = static_cast<double>(done_ - already_) / std::max(seconds, 1e-9);
        const auto left =
            static_cast<int64_t>(rate > 0 ? static_cast<double>(total_ - done_) / rate : 0);
        char line[160];
        std::snprintf(line, sizeof line, "%lld/%lld runs, %.1f runs/s, %lld:%02lld:%02lld left",
                      static_cast<long long>(done_), static_cast<long long>(total_), rate,
                      static_cast<long long>(left / 3600), static_cast<long long>(left / 60 % 60),
                      static_cast<long long>(left % 60));
        if (terminal_) {
            const int filled = static_cast<int>(kBarWidth * done_ / std::max<int64_t>(total_, 1));
            std::cerr << "\r[" << std::string(static_cast<size_t>(filled), '#')
                      << std::string(static_cast<size_t>(kBarWidth - filled), '.') << "] " << line
                      << "\x1b[K" << std::flush;
        } else {
            std::cerr << "prrsim-batch campaign: " << line << '\n' << std::flush;
        }
    }

    int64_t total_;
    int64_t already_;
    int64_t done_;
    bool quiet_;
    bool terminal_;
    Clock::time_point start_;
    Clock::time_point shown_;
};
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
    bool resume = false;
    bool quiet = false;
    bool help = false;
};

// A refusal about `text` as given on the command line.
Refusal about(RefusalCode code, std::string_view text) {
    Refusal r = refusal(code);
    r.value = std::string(text);
    return r;
}

std::optional<CampaignArguments> parseCampaignArguments(int argc, char** argv, std::string& error) {
    CampaignArguments args;
    const unsigned cores = std::thread::hardware_concurrency();
    args.threads = cores == 0 ? 1 : static_cast<int>(cores);
    bool haveThreads = false;
    const auto fail = [&error](const Refusal& why) {
        error = "prrsim-batch campaign: " + englishText(why) + "; " + std::string(kCampaignUsage);
        return std::nullopt;
    };
    for (int i = 1; i < argc; ++i) {
        const std::string_view arg = argv[i];
        if (arg == "--threads" || arg == "--shard" || arg == "--out") {
            if (i + 1 >= argc) {
                return fail(about(RefusalCode::OptionNeedsValue, arg));
            }
            const std::string_view value = argv[++i];
            if (arg == "--threads") {
                const auto n = wholeNumber(value);
                if (haveThreads || !n || *n < 1 || *n > kMaxThreads) {
                    Refusal threads = about(RefusalCode::ThreadsNotWhole, value);
                    threads.max = kMaxThreads;
                    return fail(threads);
                }
                haveThreads = true;
                args.threads = static_cast<int>(*n);
            } else if (arg == "--shard") {
                const size_t slash = std::min(value.find('/'), value.size());
                const auto k = wholeNumber(value.substr(0, slash));
                const auto n = wholeNumber(value.substr(std::min(slash + 1, value.size())));
                if (args.shard || slash == value.size() || !k || !n || *n < 1 || *k < 0 ||
                    *k >= *n) {
                    return fail(about(RefusalCode::ShardNotFraction, value));
                }
                args.shard = Shard{*k, *n};
            } else {
                if (args.out || value.empty()) {
                    return fail(about(RefusalCode::OptionTwiceOrEmpty, "--out"));
                }
                args.out = std::string(value);
            }
        } else if (arg == "--resume" || arg == "--quiet") {
            bool& flag = arg == "--resume" ? args.resume : args.quiet;
            if (flag) {
                return fail(about(RefusalCode::OptionTwice, arg));
            }
            flag = true;
        } else if (arg == "--help" || arg == "-h") {
            args.help = true;
            return args;
        } else if (!arg.empty() && arg[0] == '-') {
            return fail(about(RefusalCode::UnknownOption, arg));
        } else if (!args.file.empty()) {
            Refusal twice = refusal(RefusalCode::MoreThanOneFile);
            twice.file = FileKind::Campaign;
            return fail(twice);
        } else {
            args.file = std::string(arg);
        }
    }
    if (args.file.empty()) {
        Refusal none = refusal(RefusalCode::NoFile);
        none.file = FileKind::Campaign;
        return fail(none);
    }
    return args;
}

// The merge command's refusal of its arguments, with its usage.
std::string mergeLine(const Refusal& why) {
    return "prrsim-batch merge: " + englishText(why) + "; " + std::string(kMergeUsage);
}

}  // namespace

int campaignCommand(int argc, char** argv) {
    std::string error;
    const std::optional<CampaignArguments> args = parseCampaignArguments(argc, argv, error);
    if (!args) {
        return badInput(error);
    }
    if (args->help) {
        std::cout << kCampaignUsage << '\n' << kCampaignHelp;
        return kExitOk;
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
    const Shard shard = args->shard.value_or(Shard{});
    const RunSequence runs = shardRuns(plan.campaign().runs, shard);
    ResultSetWriter writer(out, plan.campaign(), args->shard);
    switch (writer.open(args->resume, runs, error)) {
        case ResultStatus::BadInput:
            return badInput("prrsim-batch campaign: " + error);
        case ResultStatus::WriteFailed:
            std::cerr << "prrsim-batch campaign: " << error << '\n';
            return kExitInternal;
        case ResultStatus::Ok:
            break;
    }

    int64_t stopped = 0;
    std::string firstStop;
    bool writeFailed = false;
    Progress progress(runs.size(), writer.done(), args->quiet);
    const auto keep = [&](CampaignRunRecord&& run) {
        if (run.stopped) {
            firstStop = firstStop.empty() ? run.line : firstStop;
            ++stopped;
        }
        if (!writer.add(run, error)) {
            writeFailed = true;
            return false;
        }
        progress.add();
        return true;
    };
    const RunSequence left = runs.after(writer.done());
    {
        const StopOnSignals signals;
        runCampaign(plan, left, args->threads, keep, &stopRequested);
    }
    progress.end();
    if (writeFailed) {
        std::cerr << "prrsim-batch campaign: " << error << "; the runs done are kept, --resume "
                  << "continues\n";
        return kExitInternal;
    }
    if (const int signal = stopSignal.load(); signal != 0 && writer.done() < runs.size()) {
        std::cerr << "prrsim-batch campaign: stopped by "
                  << (signal == SIGINT ? "SIGINT" : "SIGTERM") << " after " << writer.done()
                  << " of " << runs.size() << " runs; --resume continues\n";
        return kExitInterrupted + signal;
    }
    std::string table;
    if (writer.finish(table, error) != ResultStatus::Ok) {
        std::cerr << "prrsim-batch campaign: " << error << '\n';
        return kExitInternal;
    }
    if (args->shard) {
        std::cout << "Доля " << shard.index << "/" << shard.count << ": " << runs.size()
                  << " прогонов из " << plan.campaign().runs << " записаны в " << out.string()
                  << "\n";
    } else {
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
        if (arg == "--help" || arg == "-h") {
            std::cout << kMergeUsage << '\n' << kMergeHelp;
            return kExitOk;
        }
        if (arg == "--out") {
            if (i + 1 >= argc || out || std::string_view(argv[i + 1]).empty()) {
                return badInput(mergeLine(refusal(RefusalCode::MergeOutNotOnce)));
            }
            out = fs::path(argv[++i]);
        } else if (!arg.empty() && arg[0] == '-') {
            return badInput(mergeLine(about(RefusalCode::UnknownOption, arg)));
        } else {
            dirs.emplace_back(arg);
        }
    }
    if (dirs.empty() || !out) {
        return badInput(mergeLine(refusal(RefusalCode::MergeNeedsDirectories)));
    }
    std::string table;
    std::string error;
    switch (mergeCampaignShards(dirs, *out, table, error)) {
        case ResultStatus::BadInput:
            return badInput("prrsim-batch merge: " + error);
        case ResultStatus::WriteFailed:
            std::cerr << "prrsim-batch merge: " << error << '\n';
            return kExitInternal;
        case ResultStatus::Ok:
            break;
    }
    std::cout << table << "\nРезультаты: " << out->string() << "\n";
    std::cout.flush();
    return std::cout ? kExitOk : kExitInternal;
}

}  // namespace prrsim::batch
