#include "campaign/campaign_results.h"

#include <algorithm>
#include <charconv>
#include <map>
#include <memory>
#include <set>

#include <fcntl.h>
#include <stdio.h>
#include <unistd.h>

#include "review/csv.h"
#include "scenario/input_text.h"
#include "scenario/json_writer.h"
#include "scenario/output_file.h"
#include "scenario/trace.h"

namespace prrsim::batch {

using nlohmann::json;
namespace fs = std::filesystem;

namespace {

constexpr const char* kCampaignFile = "campaign.json";
constexpr const char* kRunsFile = "runs.jsonl";
constexpr const char* kRunsCsvFile = "runs.csv";
constexpr const char* kSummaryJsonFile = "summary.json";
constexpr const char* kSummaryTableFile = "summary.md";
constexpr const char* kShardFile = "shard.json";

std::string valueText(const json& v) {
    return v.is_string() ? v.get<std::string>() : v.dump();
}

std::string fixed(double v, int decimals) {
    char buffer[64];
    const auto r =
        std::to_chars(buffer, buffer + sizeof buffer, v, std::chars_format::fixed, decimals);
    return std::string(buffer, r.ptr);
}

std::string fixedOr(const std::optional<double>& v, int decimals) {
    return v ? fixed(*v, decimals) : std::string("—");
}

std::string formatMetres(double metres) {
    return metres == std::floor(metres) ? fixed(metres, 0) : std::string(json(metres).dump());
}

// Writes every file under a temporary name first and renames them only when all are written,
// so that a failure leaves the earlier files of the directory as they were.
bool writeFiles(const fs::path& dir, const std::vector<std::pair<std::string, std::string>>& files,
                std::string& error) {
    std::error_code ec;
    fs::create_directories(dir, ec);
    if (ec) {
        error = dir.string() + ": cannot create the results directory";
        return false;
    }
    std::vector<std::unique_ptr<OutputFile>> outputs;
    for (const auto& [name, text] : files) {
        auto file = std::make_unique<OutputFile>(dir / name);
        if (!file->open()) {
            error = (dir / name).string() + ": cannot create the file";
            return false;
        }
        file->stream() << text;
        outputs.push_back(std::move(file));
    }
    for (const auto& file : outputs) {
        if (!file->commit()) {
            error = file->target().string() + ": the file could not be written";
            return false;
        }
    }
    return true;
}

void removeIfPresent(const fs::path& dir, std::initializer_list<const char*> names) {
    for (const char* name : names) {
        std::error_code ignored;
        fs::remove(dir / name, ignored);
    }
}

}  // namespace

std::string hitDefinition(const Campaign& c) {
    return "подрыв не дальше " + formatMetres(c.hitRadius) + " м от РЛС-цели";
}

bool CombinationSummary::unresolvedWarning() const {
    const int64_t decided = resolved() + unresolved();
    return decided > 0 && static_cast<double>(unresolved()) >
                              kUnresolvedWarningShare * static_cast<double>(decided);
}

CampaignTally::CampaignTally(const Campaign& c)
    : summary_(static_cast<size_t>(c.combinations)),
      miss_(summary_.size()),
      flightSum_(summary_.size()),
      flightCount_(summary_.size()) {
    for (size_t k = 0; k < summary_.size(); ++k) {
        summary_[k].combination = static_cast<int64_t>(k);
        const std::vector<size_t> indices = combinationIndices(c, summary_[k].combination);
        for (size_t l = 0; l < c.listed.size(); ++l) {
            summary_[k].values.push_back(c.varied[c.listed[l]].values[indices[l]]);
        }
    }
}

void CampaignTally::add(const CampaignRunRecord& r) {
    const auto k = static_cast<size_t>(r.combination);
    CombinationSummary& s = summary_.at(k);
    if (r.stopped) {
        ++s.stopped;
        ++stopped_;
        return;
    }
    ++s.runs;
    for (const RunMissile& m : r.missiles) {
        const bool detonated = resolved(m.outcome);
        s.launched += detonated || m.outcome == MissileOutcome::Flying ? 1 : 0;
        s.hits += m.outcome == MissileOutcome::Hit ? 1 : 0;
        s.misses += m.outcome == MissileOutcome::Miss ? 1 : 0;
        s.flying += m.outcome == MissileOutcome::Flying ? 1 : 0;
        s.notLaunched += m.outcome == MissileOutcome::NotLaunched ? 1 : 0;
        s.removedWithCarrier += m.outcome == MissileOutcome::RemovedWithCarrier ? 1 : 0;
        if (detonated && m.missDistance) {
            miss_[k].push_back(*m.missDistance);
        }
        if (detonated && m.timeOfFlight) {
            flightSum_[k] += *m.timeOfFlight;
            ++flightCount_[k];
        }
    }
}

std::vector<CombinationSummary> CampaignTally::finish() {
    for (size_t k = 0; k < summary_.size(); ++k) {
        CombinationSummary& s = summary_[k];
        if (s.resolved() > 0) {
            s.hitProbability = static_cast<double>(s.hits) / static_cast<double>(s.resolved());
        }
        s.interval = wilsonInterval(s.hits, s.resolved());
        std::sort(miss_[k].begin(), miss_[k].end());
        s.missDistances = static_cast<int64_t>(miss_[k].size());
        s.missMedian = percentile(miss_[k], 0.5);
        s.miss90 = percentile(miss_[k], 0.9);
        if (flightCount_[k] > 0) {
            s.meanTimeOfFlight = flightSum_[k] / static_cast<double>(flightCount_[k]);
        }
    }
    return summary_;
}

std::string summaryJson(const Campaign& c, std::span<const CombinationSummary> summary,
                        int64_t stoppedRuns) {
    std::string out;
    ObjectWriter doc(out);
    doc.string("description", c.description)
        .real("hitRadius", c.hitRadius)
        .string("hit", hitDefinition(c))
        .integer("runs", c.runs)
        .integer("combinations", c.combinations)
        .integer("repetitions", c.repetitions)
        .integer("stoppedRuns", stoppedRuns)
        .key("varied");
    out += '[';
    for (size_t k = 0; k < c.varied.size(); ++k) {
        static constexpr std::string_view kinds[] = {"list", "uniform", "normal"};
        out += k == 0 ? "" : ",";
        ObjectWriter v(out);
        v.string("name", c.varied[k].name)
            .string("pointer", c.varied[k].pointer)
            .string("kind", kinds[static_cast<int>(c.varied[k].kind)]);
        v.close();
    }
    out += ']';
    doc.key("plot");
    if (c.plotX) {
        ObjectWriter plot(out);
        plot.string("x", *c.plotX);
        if (c.plotLines) {
            plot.string("lines", *c.plotLines);
        }
        plot.close();
    } else {
        out += "null";
    }
    doc.key("summary");
    out += "[\n";
    for (size_t k = 0; k < summary.size(); ++k) {
        const CombinationSummary& s = summary[k];
        ObjectWriter g(out);
        g.integer("combination", s.combination).key("values");
        ObjectWriter values(out);
        for (size_t l = 0; l < c.listed.size(); ++l) {
            values.key(c.varied[c.listed[l]].name);
            out += s.values[l].dump();
        }
        values.close();
        g.integer("runs", s.runs)
            .integer("stopped", s.stopped)
            .integer("launched", s.launched)
            .integer("hits", s.hits)
            .integer("misses", s.misses)
            .integer("unresolved", s.unresolved())
            .integer("flying", s.flying)
            .integer("notLaunched", s.notLaunched)
            .integer("removedWithCarrier", s.removedWithCarrier)
            .integer("resolved", s.resolved())
            .optionalReal("hitProbability", s.hitProbability)
            .key("interval95");
        if (s.interval) {
            out += '[';
            appendReal(out, s.interval->low);
            out += ',';
            appendReal(out, s.interval->high);
            out += ']';
        } else {
            out += "null";
        }
        g.integer("missDistanceCount", s.missDistances)
            .optionalReal("missDistanceMedian", s.missMedian)
            .optionalReal("missDistance90", s.miss90)
            .optionalReal("timeOfFlightMean", s.meanTimeOfFlight)
            .boolean("unresolvedWarning", s.unresolvedWarning());
        g.close();
        out += k + 1 < summary.size() ? ",\n" : "\n";
    }
    out += ']';
    doc.close();
    return out + "\n";
}

std::string summaryTable(const Campaign& c, std::span<const CombinationSummary> summary,
                         int64_t stoppedRuns) {
    std::string out = "Попадание: " + hitDefinition(c) + ". Прогонов: " + std::to_string(c.runs) +
                      " (" + std::to_string(c.combinations) + " сочетаний × " +
                      std::to_string(c.repetitions) + " повторений).\n\n";
    std::string header = "|";
    std::string rule = "|";
    for (const size_t k : c.listed) {
        header += " " + c.varied[k].name + " |";
        rule += "---|";
    }
    header +=
        " Прогонов | Остановлено | Попаданий | Промахов | Не решено к концу | P попадания | "
        "95 % интервал | Промах: медиана, м | Промах: 90 %, м | Время полёта: среднее, с |";
    rule += "---:|---:|---:|---:|---:|---:|---:|---:|---:|---:|";
    out += header + "\n" + rule + "\n";
    std::string warnings;
    for (const CombinationSummary& s : summary) {
        std::string values;
        for (const json& v : s.values) {
            values += (values.empty() ? "" : ", ") + valueText(v);
        }
        out += "|";
        for (const json& v : s.values) {
            out += " " + valueText(v) + " |";
        }
        out += " " + std::to_string(s.runs) + " | " + std::to_string(s.stopped) + " | " +
               std::to_string(s.hits) + " | " + std::to_string(s.misses) + " | " +
               std::to_string(s.unresolved()) + " | " + fixedOr(s.hitProbability, 3) + " | " +
               (s.interval ? fixed(s.interval->low, 3) + "–" + fixed(s.interval->high, 3) : "—") +
               " | " + fixedOr(s.missMedian, 1) + " | " + fixedOr(s.miss90, 1) + " | " +
               fixedOr(s.meanTimeOfFlight, 1) + " |\n";
        if (s.unresolvedWarning()) {
            warnings += "Внимание" + (values.empty() ? std::string() : " (" + values + ")") +
                        ": не решено к концу прогона " + std::to_string(s.unresolved()) + " из " +
                        std::to_string(s.resolved() + s.unresolved()) +
                        " ракет (в полёте или на подвеске) — P попадания посчитана без них.\n";
        }
    }
    out += warnings.empty() ? "" : "\n" + warnings;
    if (stoppedRuns > 0) {
        out += "\nОстановлено на действии и не учтено прогонов: " + std::to_string(stoppedRuns) +
               ".\n";
    }
    return out;
}

std::string runsCsvHeader(const Campaign& c) {
    CsvRow header;
    header.text("Прогон").text("Сочетание").text("Повтор").text("Зерно");
    for (const VariedValue& v : c.varied) {
        header.text(v.name);
    }
    header.text("Остановлен")
        .text("Ракета №")
        .text("Тип")
        .text("Режим пуска")
        .text("Цель: РЛС №")
        .text("Пуск, такт")
        .text("Первый захват, такт")
        .text("Исход")
        .text("Промах, м")
        .text("Время полёта, с");
    return std::string(kCsvByteOrderMark) + header.line();
}

std::string runsCsvRows(const Campaign& c, const CampaignRunRecord& r) {
    std::string out;
    const auto rowStart = [&] {
        CsvRow row;
        row.integer(r.run).integer(r.combination).integer(r.repetition).integer(r.seed);
        for (size_t k = 0; k < c.varied.size(); ++k) {
            row.text(r.values[k].is_null() ? "" : valueText(r.values[k]));
        }
        row.text(r.stopped.value_or(""));
        return row;
    };
    const auto integer = [](CsvRow& row, const std::optional<int64_t>& v) {
        if (v) {
            row.integer(*v);
        } else {
            row.empty();
        }
    };
    const auto real = [](CsvRow& row, const std::optional<double>& v) {
        if (v) {
            row.real(*v, 2);
        } else {
            row.empty();
        }
    };
    if (r.missiles.empty()) {
        CsvRow row = rowStart();
        for (int k = 0; k < 9; ++k) {
            row.empty();
        }
        out += row.line();
    }
    for (const RunMissile& m : r.missiles) {
        CsvRow row = rowStart();
        row.integer(m.number).text(m.type).text(m.launchMode);
        integer(row, m.targetRadar);
        integer(row, m.launchTick);
        integer(row, m.firstLockTick);
        row.text(outcomeLabel(m.outcome));
        real(row, m.missDistance);
        real(row, m.timeOfFlight);
        out += row.line();
    }
    return out;
}

namespace {

// What a results directory may hold besides nothing: a result set and the plot drawn from it.
constexpr const char* kResultNames[] = {kCampaignFile,        kRunsFile,         kRunsCsvFile,
                                        kSummaryJsonFile,     kSummaryTableFile, kShardFile,
                                        "hit-probability.png"};

bool isResultName(const fs::path& name) {
    for (const char* known : kResultNames) {
        if (name == known) {
            return true;
        }
    }
    return false;
}

// `out` can take a result set: absent, or a writable directory of nothing but results (so
// that replacing it loses nothing else).
ResultStatus checkOut(const fs::path& out, std::string& error) {
    std::error_code ec;
    const fs::file_status status = fs::status(out, ec);
    if (!fs::exists(status)) {
        return ResultStatus::Ok;
    }
    if (!fs::is_directory(status)) {
        error = out.string() + ": not a directory";
        return ResultStatus::BadInput;
    }
    for (const auto& entry : fs::directory_iterator(out, ec)) {
        if (!isResultName(entry.path().filename())) {
            error = out.string() + ": holds " + entry.path().filename().string() +
                    ", which is not a campaign result; name a new directory or a results "
                    "directory";
            return ResultStatus::BadInput;
        }
    }
    if (ec || ::access(out.c_str(), W_OK) != 0) {
        error = out.string() + ": cannot write the results directory";
        return ResultStatus::WriteFailed;
    }
    return ResultStatus::Ok;
}

// Puts `staging` where `out` was, in one step when `out` exists (the two exchange places) so
// that a reader never finds a mix, then removes the old set.
bool replaceDirectory(const fs::path& staging, const fs::path& out, FinishStep stopBefore,
                      std::string& error) {
    if (stopBefore == FinishStep::Replace) {
        return true;
    }
    std::error_code ec;
    if (fs::exists(out, ec)) {
        if (::renameat2(AT_FDCWD, staging.c_str(), AT_FDCWD, out.c_str(), RENAME_EXCHANGE) != 0) {
            error = out.string() + ": cannot replace the results directory";
            return false;
        }
        if (const auto failed = syncFolder(out.parent_path())) {
            error = failed->line();
            return false;
        }
        if (stopBefore == FinishStep::RemoveOld) {
            return true;
        }
        fs::remove_all(staging, ec);
        return true;
    }
    fs::rename(staging, out, ec);
    if (ec) {
        error = out.string() + ": cannot create the results directory";
        return false;
    }
    if (const auto failed = syncFolder(out.parent_path())) {
        error = failed->line();
        return false;
    }
    return true;
}

std::string shardMarker(Shard shard, int64_t runs) {
    std::string marker;
    ObjectWriter doc(marker);
    doc.integer("shard", shard.index).integer("shards", shard.count).integer("runs", runs);
    doc.close();
    return marker + '\n';
}

}  // namespace

namespace {

// The directory itself, whatever the spelling ("out/", "./out", "."), so that it can be renamed.
fs::path directoryPath(const fs::path& out) {
    std::error_code ignored;
    fs::path clean = fs::absolute(out, ignored).lexically_normal();
    return clean.has_filename() ? clean : clean.parent_path();
}

}  // namespace

fs::path stagingDirectory(const fs::path& out) {
    const fs::path dir = directoryPath(out);
    return dir.parent_path() / ("." + dir.filename().string() + ".partial");
}

ResultSetWriter::ResultSetWriter(fs::path out, const Campaign& campaign, std::optional<Shard> shard)
    : out_(directoryPath(out)),
      staging_(stagingDirectory(out_)),
      campaign_(campaign),
      shard_(shard),
      tally_(campaign),
      runs_(staging_ / kRunsFile),
      csv_(staging_ / kRunsCsvFile) {}

ResultSetWriter::~ResultSetWriter() = default;

ResultStatus ResultSetWriter::open(bool resume, RunSequence planned, std::string& error) {
    if (const ResultStatus s = checkOut(out_, error); s != ResultStatus::Ok) {
        return s;
    }
    const std::string document = campaignDocument(campaign_);
    std::error_code ec;
    int64_t keep = 0;  // bytes of runs.jsonl that hold whole, checked runs
    std::string text;
    // A complete set of another campaign there is the set a finished campaign replaced (or
    // one never put in place): nothing to resume.
    const bool complete =
        fs::exists(staging_ / kSummaryJsonFile, ec) || fs::exists(staging_ / kShardFile, ec);
    const bool stale = complete && (!readText(staging_ / kCampaignFile, text) || text != document);
    // With nothing to resume the campaign starts afresh (a task that is started again).
    resume = resume && !stale && fs::exists(staging_ / kCampaignFile, ec);
    if (resume) {
        if (!readText(staging_ / kCampaignFile, text)) {
            error = (staging_ / kCampaignFile).string() + ": cannot read the file";
            return ResultStatus::BadInput;
        }
        if (text != document) {
            error = (staging_ / kCampaignFile).string() +
                    ": the runs there belong to another campaign; run without --resume";
            return ResultStatus::BadInput;
        }
        std::ifstream in(staging_ / kRunsFile, std::ios::binary);
        std::string line;
        while (std::getline(in, line) && !in.eof()) {
            std::string why;
            std::optional<CampaignRunRecord> r = readRunLine(line, campaign_, why);
            const std::string where =
                (staging_ / kRunsFile).string() + ": line " + std::to_string(done_ + 1) + ": ";
            if (!r) {
                error = where + why;
                return ResultStatus::BadInput;
            }
            if (done_ >= planned.size() || r->run != planned[done_]) {
                error = where + "field \"run\": " + std::to_string(r->run) +
                        " is not the next run of this campaign" + (shard_ ? " shard" : "");
                return ResultStatus::BadInput;
            }
            tally_.add(*r);
            ++done_;
            keep += static_cast<int64_t>(line.size()) + 1;
        }
        // A line cut short by the interruption is run again.
        fs::resize_file(staging_ / kRunsFile, static_cast<uintmax_t>(keep), ec);
        if (ec && fs::exists(staging_ / kRunsFile)) {
            error = (staging_ / kRunsFile).string() + ": cannot cut off the unfinished line";
            return ResultStatus::WriteFailed;
        }
    } else {
        fs::remove_all(staging_, ec);
        fs::create_directories(staging_, ec);
        if (ec) {
            error = staging_.string() + ": cannot create the folder the results are built in";
            return ResultStatus::WriteFailed;
        }
        OutputFile file(staging_ / kCampaignFile);
        if (!file.open() || !(file.stream() << document) || !file.commit()) {
            error = (staging_ / kCampaignFile).string() + ": the file could not be written";
            return ResultStatus::WriteFailed;
        }
    }
    removeIfPresent(staging_, {kShardFile, kSummaryJsonFile, kSummaryTableFile});
    if (!runs_.open(false) || !csv_.open(true) || !csv_.append(runsCsvHeader(campaign_))) {
        return fail(error);
    }
    // The table is rebuilt from the lines kept; it is not needed to resume.
    if (resume) {
        std::ifstream in(staging_ / kRunsFile, std::ios::binary);
        std::string line;
        std::string why;
        while (std::getline(in, line)) {
            if (!csv_.append(runsCsvRows(campaign_, *readRunLine(line, campaign_, why)))) {
                return fail(error);
            }
        }
    }
    return ResultStatus::Ok;
}

ResultStatus ResultSetWriter::fail(std::string& error) const {
    const std::optional<WriteFailure>& failure = runs_.failure() ? runs_.failure() : csv_.failure();
    error = failure ? failure->line() : staging_.string() + ": the results could not be written";
    return ResultStatus::WriteFailed;
}

bool ResultSetWriter::add(const CampaignRunRecord& run, std::string& error) {
    // Every line reaches the file at once, so that a kill loses only the runs under way.
    if (!runs_.append(run.line) || (!shard_ && !csv_.append(runsCsvRows(campaign_, run)))) {
        fail(error);
        return false;
    }
    if (!shard_) {
        tally_.add(run);
    }
    ++done_;
    return true;
}

ResultStatus ResultSetWriter::finish(std::string& table, std::string& error,
                                     FinishStep stopBefore) {
    if (!runs_.finish() || !csv_.finish()) {
        return fail(error);
    }
    std::vector<std::pair<std::string, std::string>> files;
    if (shard_) {
        fs::remove(staging_ / kRunsCsvFile);
        files = {{kShardFile, shardMarker(*shard_, done_)}};
    } else {
        const std::vector<CombinationSummary> summary = tally_.finish();
        table = summaryTable(campaign_, summary, tally_.stoppedRuns());
        files = {{kSummaryTableFile, table},
                 {kSummaryJsonFile, summaryJson(campaign_, summary, tally_.stoppedRuns())}};
    }
    if (!writeFiles(staging_, files, error) ||
        !replaceDirectory(staging_, out_, stopBefore, error)) {
        return ResultStatus::WriteFailed;
    }
    return ResultStatus::Ok;
}

void ResultSetWriter::discard() {
    runs_.abandon();
    csv_.abandon();
    std::error_code ignored;
    fs::remove_all(staging_, ignored);
}

namespace {

// Whether `inner` is `outer` or lies inside it.
bool within(const fs::path& inner, const fs::path& outer) {
    std::error_code ec;
    const fs::path a = fs::weakly_canonical(inner, ec);
    const fs::path b = fs::weakly_canonical(outer, ec);
    auto i = a.begin();
    for (auto o = b.begin(); o != b.end(); ++o, ++i) {
        if (o->empty() && std::next(o) == b.end()) {
            break;  // a trailing separator
        }
        if (i == a.end() || *i != *o) {
            return false;
        }
    }
    return true;
}

struct ShardInput {
    fs::path dir;
    int64_t index = 0;
    int64_t runs = 0;
    std::ifstream lines;
    int64_t lineNumber = 0;
};

}  // namespace

ResultStatus mergeCampaignShards(std::span<const fs::path> shards, const fs::path& out,
                                 std::string& table, std::string& error) {
    std::string campaignText;
    std::optional<Campaign> campaign;
    int64_t shardCount = 0;
    std::map<int64_t, fs::path> seen;
    std::vector<ShardInput> inputs;
    for (const fs::path& dir : shards) {
        if (within(dir, out)) {
            error = "--out " + out.string() + " is the shard " + dir.string() +
                    " or holds it; name another directory";
            return ResultStatus::BadInput;
        }
    }
    for (const fs::path& dir : shards) {
        std::string markerText;
        std::string text;
        if (!readText(dir / kShardFile, markerText)) {
            error =
                dir.string() + ": no " + kShardFile + " (not the directory of a finished shard)";
            return ResultStatus::BadInput;
        }
        if (!readText(dir / kCampaignFile, text) || !fs::is_regular_file(dir / kRunsFile)) {
            error = dir.string() + ": cannot read " + kCampaignFile + " or " + kRunsFile;
            return ResultStatus::BadInput;
        }
        json marker;
        try {
            marker = json::parse(markerText);
        } catch (const json::exception&) {
        }
        const auto field = [&marker](const char* key) {
            return marker.is_object() && marker.contains(key) && marker[key].is_number_integer()
                       ? marker[key].get<int64_t>()
                       : int64_t{-1};
        };
        const int64_t index = field("shard");
        const int64_t count = field("shards");
        const int64_t runCount = field("runs");
        if (count < 1 || index < 0 || index >= count || runCount < 0) {
            error = (dir / kShardFile).string() + ": not a shard marker";
            return ResultStatus::BadInput;
        }
        if (!campaign) {
            campaignText = text;
            shardCount = count;
            campaign = parseCampaign(text, (dir / kCampaignFile).string(), dir, error);
            if (!campaign) {
                return ResultStatus::BadInput;
            }
        } else if (text != campaignText) {
            error = dir.string() + ": a shard of another campaign than " + shards[0].string();
            return ResultStatus::BadInput;
        } else if (count != shardCount) {
            error = dir.string() + ": shard of " + std::to_string(count) + ", " +
                    shards[0].string() + " of " + std::to_string(shardCount);
            return ResultStatus::BadInput;
        }
        if (const auto [it, fresh] = seen.emplace(index, dir); !fresh) {
            error = dir.string() + ": shard " + std::to_string(index) + "/" +
                    std::to_string(count) + " is also " + it->second.string();
            return ResultStatus::BadInput;
        }
        const int64_t planned = shardRuns(campaign->runs, {index, count}).size();
        if (runCount != planned) {
            error = (dir / kShardFile).string() + ": " + std::to_string(runCount) +
                    " runs where shard " + std::to_string(index) + "/" + std::to_string(count) +
                    " has " + std::to_string(planned);
            return ResultStatus::BadInput;
        }
        inputs.push_back(
            {dir, index, runCount, std::ifstream(dir / kRunsFile, std::ios::binary), 0});
    }
    if (!campaign) {
        error = "no shard directories";
        return ResultStatus::BadInput;
    }
    for (int64_t k = 0; k < shardCount; ++k) {
        if (!seen.contains(k)) {
            error = "shard " + std::to_string(k) + "/" + std::to_string(shardCount) + " is missing";
            return ResultStatus::BadInput;
        }
    }
    std::sort(inputs.begin(), inputs.end(),
              [](const ShardInput& a, const ShardInput& b) { return a.index < b.index; });

    ResultSetWriter writer(out, *campaign, std::nullopt);
    const RunSequence all = shardRuns(campaign->runs, {});
    if (const ResultStatus s = writer.open(false, all, error); s != ResultStatus::Ok) {
        return s;
    }
    // Run i is the next line of shard i mod N: the shards are read side by side, a line each.
    std::string line;
    for (int64_t run = 0; run < campaign->runs; ++run) {
        ShardInput& in = inputs[static_cast<size_t>(run % shardCount)];
        const std::string where =
            (in.dir / kRunsFile).string() + ": line " + std::to_string(++in.lineNumber) + ": ";
        const bool whole = static_cast<bool>(std::getline(in.lines, line)) && !in.lines.eof();
        if (!whole) {
            error = where + (line.empty() ? "missing (run " + std::to_string(run) + ")"
                                          : "cut short (no line break)");
            writer.discard();
            return ResultStatus::BadInput;
        }
        std::string why;
        const std::optional<CampaignRunRecord> r = readRunLine(line, *campaign, why);
        if (!r || r->run != run) {
            error = where + (r ? "field \"run\": " + std::to_string(r->run) + " where run " +
                                     std::to_string(run) + " belongs"
                               : why);
            writer.discard();
            return ResultStatus::BadInput;
        }
        if (!writer.add(*r, error)) {
            writer.discard();
            return ResultStatus::WriteFailed;
        }
    }
    for (ShardInput& in : inputs) {
        if (in.lines.peek() != std::char_traits<char>::eof()) {
            error = (in.dir / kRunsFile).string() + ": more lines than the shard's " +
                    std::to_string(in.runs) + " runs";
            writer.discard();
            return ResultStatus::BadInput;
        }
    }
    const ResultStatus s = writer.finish(table, error);
    if (s != ResultStatus::Ok) {
        writer.discard();
    }
    return s;
}

}  // namespace prrsim::batch
