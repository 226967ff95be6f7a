#include "campaign/campaign_results.h"

#include <algorithm>
#include <charconv>
#include <map>
#include <memory>
#include <set>

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

std::vector<std::string> splitLines(const std::string& text) {
    std::vector<std::string> lines;
    size_t start = 0;
    while (start < text.size()) {
        const size_t end = text.find('\n', start);
        if (end == std::string::npos) {
            lines.push_back(text.substr(start));
            break;
        }
        lines.push_back(text.substr(start, end - start + 1));
        start = end + 1;
    }
    return lines;
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

std::optional<CampaignRunRecord> readRunLine(std::string_view line, std::string& error) {
    CampaignRunRecord r;
    try {
        r.line = json::parse(line.begin(), line.end());
    } catch (const json::exception&) {
        error = "not a JSON line";
        return std::nullopt;
    }
    const auto integer = [&r](const char* key) {
        return r.line.contains(key) && r.line[key].is_number_integer();
    };
    if (!r.line.is_object() || !integer("run") || !integer("combination") ||
        !r.line.contains("stopped") || !r.line.contains("values") ||
        !r.line["values"].is_object() || !r.line.contains("missiles") ||
        !r.line["missiles"].is_array()) {
        error = "not a run line (run, combination, values, stopped, missiles)";
        return std::nullopt;
    }
    r.run = r.line["run"].get<int64_t>();
    r.combination = r.line["combination"].get<int64_t>();
    r.stopped = !r.line["stopped"].is_null();
    return r;
}

std::string hitDefinition(const Campaign& c) {
    return "подрыв не дальше " + formatMetres(c.hitRadius) + " м от РЛС-цели";
}

CampaignTally::CampaignTally(const Campaign& c)
    : summary_(static_cast<size_t>(c.combinations)),
      miss_(summary_.size()),
      flight_(summary_.size()) {
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
    for (const json& m : r.line["missiles"]) {
        const std::string outcome = m.value("outcome", "");
        const bool detonated = outcome == "hit" || outcome == "miss";
        s.launched += detonated || outcome == "flying" ? 1 : 0;
        s.hits += outcome == "hit" ? 1 : 0;
        s.misses += outcome == "miss" ? 1 : 0;
        s.flying += outcome == "flying" ? 1 : 0;
        s.notLaunched += outcome == "notLaunched" ? 1 : 0;
        s.removedWithCarrier += outcome == "removedWithCarrier" ? 1 : 0;
        if (detonated && m.contains("missDistance") && m["missDistance"].is_number()) {
            miss_[k].push_back(m["missDistance"].get<double>());
        }
        if (detonated && m.contains("timeOfFlight") && m["timeOfFlight"].is_number()) {
            flight_[k].push_back(m["timeOfFlight"].get<double>());
        }
    }
}

std::vector<CombinationSummary> CampaignTally::finish() {
    for (size_t k = 0; k < summary_.size(); ++k) {
        CombinationSummary& s = summary_[k];
        if (s.launched > 0) {
            s.hitProbability = static_cast<double>(s.hits) / static_cast<double>(s.launched);
        }
        s.interval = wilsonInterval(s.hits, s.launched);
        std::sort(miss_[k].begin(), miss_[k].end());
        s.missDistances = static_cast<int64_t>(miss_[k].size());
        s.missMedian = percentile(miss_[k], 0.5);
        s.miss90 = percentile(miss_[k], 0.9);
        s.meanTimeOfFlight = mean(flight_[k]);
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
            .integer("flying", s.flying)
            .integer("notLaunched", s.notLaunched)
            .integer("removedWithCarrier", s.removedWithCarrier)
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
            .optionalReal("timeOfFlightMean", s.meanTimeOfFlight);
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
        " Прогонов | Пущено | Попаданий | В полёте к концу | P попадания | 95 % интервал | "
        "Промах: медиана, м | Промах: 90 %, м | Время полёта: среднее, с |";
    rule += "---:|---:|---:|---:|---:|---:|---:|---:|---:|";
    out += header + "\n" + rule + "\n";
    for (const CombinationSummary& s : summary) {
        out += "|";
        for (const json& v : s.values) {
            out += " " + valueText(v) + " |";
        }
        out += " " + std::to_string(s.runs) + " | " + std::to_string(s.launched) + " | " +
               std::to_string(s.hits) + " | " + std::to_string(s.flying) + " | " +
               fixedOr(s.hitProbability, 3) + " | " +
               (s.interval ? fixed(s.interval->low, 3) + "–" + fixed(s.interval->high, 3) : "—") +
               " | " + fixedOr(s.missMedian, 1) + " | " + fixedOr(s.miss90, 1) + " | " +
               fixedOr(s.meanTimeOfFlight, 1) + " |\n";
    }
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
    const auto optionalInteger = [](CsvRow& row, const json& v) {
        if (v.is_number_integer()) {
            row.integer(v.get<int64_t>());
        } else {
            row.empty();
        }
    };
    const auto optionalReal = [](CsvRow& row, const json& v) {
        if (v.is_number()) {
            row.real(v.get<double>(), 2);
        } else {
            row.empty();
        }
    };
    const json& line = r.line;
    const auto rowStart = [&] {
        CsvRow row;
        row.integer(r.run).integer(r.combination);
        optionalInteger(row, line.value("repetition", json()));
        optionalInteger(row, line.value("seed", json()));
        for (const VariedValue& v : c.varied) {
            const json& value = line["values"].value(v.name, json());
            row.text(value.is_null() ? "" : valueText(value));
        }
        row.text(r.stopped && line["stopped"].is_string() ? line["stopped"].get<std::string>()
                                                          : "");
        return row;
    };
    if (line["missiles"].empty()) {
        CsvRow row = rowStart();
        for (int k = 0; k < 9; ++k) {
            row.empty();
        }
        out += row.line();
    }
    for (const json& m : line["missiles"]) {
        CsvRow row = rowStart();
        optionalInteger(row, m.value("missileNumber", json()));
        row.text(m.value("type", "")).text(m.value("launchMode", ""));
        optionalInteger(row, m.value("targetRadarNumber", json()));
        optionalInteger(row, m.value("launchTick", json()));
        optionalInteger(row, m.value("firstLockTick", json()));
        const std::string outcome = m.value("outcome", "");
        std::string label = outcome;
        for (int k = 0; k <= static_cast<int>(MissileOutcome::RemovedWithCarrier); ++k) {
            if (outcomeCode(static_cast<MissileOutcome>(k)) == outcome) {
                label = outcomeLabel(static_cast<MissileOutcome>(k));
            }
        }
        row.text(label);
        optionalReal(row, m.value("missDistance", json()));
        optionalReal(row, m.value("timeOfFlight", json()));
        out += row.line();
    }
    return out;
}

bool writeCampaignResults(const fs::path& dir, const Campaign& c,
                          std::span<const std::string> lines, std::string& table,
                          std::string& error) {
    CampaignTally tally(c);
    std::string all;
    std::string csv = runsCsvHeader(c);
    for (const std::string& line : lines) {
        const std::optional<CampaignRunRecord> r = readRunLine(line, error);
        if (!r) {
            return false;
        }
        tally.add(*r);
        csv += runsCsvRows(c, *r);
        all += line;
    }
    const std::vector<CombinationSummary> summary = tally.finish();
    const int64_t stopped = tally.stoppedRuns();
    table = summaryTable(c, summary, stopped);
    if (!writeFiles(dir,
                    {{kCampaignFile, campaignDocument(c)},
                     {kRunsFile, all},
                     {kRunsCsvFile, csv},
                     {kSummaryTableFile, table},
                     {kSummaryJsonFile, summaryJson(c, summary, stopped)}},
                    error)) {
        return false;
    }
    removeIfPresent(dir, {kShardFile});
    return true;
}

bool writeShardResults(const fs::path& dir, const Campaign& c, Shard shard,
                       std::span<const std::string> lines, std::string& error) {
    std::string all;
    for (const std::string& line : lines) {
        all += line;
    }
    std::string marker;
    ObjectWriter doc(marker);
    doc.integer("shard", shard.index)
        .integer("shards", shard.count)
        .integer("runs", static_cast<int64_t>(lines.size()));
    doc.close();
    marker += '\n';
    removeIfPresent(dir, {kShardFile, kRunsCsvFile, kSummaryJsonFile, kSummaryTableFile});
    return writeFiles(dir, {{kCampaignFile, campaignDocument(c)}, {kRunsFile, all}}, error) &&
           writeFiles(dir, {{kShardFile, marker}}, error);
}

MergeStatus mergeCampaignShards(std::span<const fs::path> shards, const fs::path& out,
                                std::string& table, std::string& error) {
    std::string campaignText;
    std::optional<Campaign> campaign;
    int64_t shardCount = 0;
    std::map<int64_t, fs::path> seen;
    std::vector<std::string> lines;
    std::vector<char> haveRun;
    for (const fs::path& dir : shards) {
        std::string markerText;
        std::string text;
        std::string runsText;
        if (!readText(dir / kShardFile, markerText)) {
            error =
                dir.string() + ": no " + kShardFile + " (not the directory of a finished shard)";
            return MergeStatus::BadInput;
        }
        if (!readText(dir / kCampaignFile, text) || !readText(dir / kRunsFile, runsText)) {
            error = dir.string() + ": cannot read " + kCampaignFile + " or " + kRunsFile;
            return MergeStatus::BadInput;
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
            return MergeStatus::BadInput;
        }
        if (!campaign) {
            campaignText = text;
            shardCount = count;
            campaign = parseCampaign(text, (dir / kCampaignFile).string(), dir, error);
            if (!campaign) {
                return MergeStatus::BadInput;
            }
            haveRun.assign(static_cast<size_t>(campaign->runs), 0);
            lines.resize(static_cast<size_t>(campaign->runs));
        } else if (text != campaignText) {
            error = dir.string() + ": a shard of another campaign than " + shards[0].string();
            return MergeStatus::BadInput;
        } else if (count != shardCount) {
            error = dir.string() + ": shard of " + std::to_string(count) + ", " +
                    shards[0].string() + " of " + std::to_string(shardCount);
            return MergeStatus::BadInput;
        }
        if (const auto [it, fresh] = seen.emplace(index, dir); !fresh) {
            error = dir.string() + ": shard " + std::to_string(index) + "/" +
                    std::to_string(count) + " is also " + it->second.string();
            return MergeStatus::BadInput;
        }
        const std::vector<std::string> shardLines = splitLines(runsText);
        if (static_cast<int64_t>(shardLines.size()) != runCount ||
            (!runsText.empty() && runsText.back() != '\n')) {
            error = (dir / kRunsFile).string() + ": " + std::to_string(shardLines.size()) +
                    " lines where " + kShardFile + " says " + std::to_string(runCount);
            return MergeStatus::BadInput;
        }
        for (size_t n = 0; n < shardLines.size(); ++n) {
            std::string why;
            const std::optional<CampaignRunRecord> r = readRunLine(shardLines[n], why);
            const std::string where =
                (dir / kRunsFile).string() + ": line " + std::to_string(n + 1) + ": ";
            if (!r) {
                error = where + why;
                return MergeStatus::BadInput;
            }
            if (r->run < 0 || r->run >= campaign->runs || r->run % count != index ||
                haveRun[static_cast<size_t>(r->run)] ||
                r->combination != r->run / campaign->repetitions) {
                error = where + "run " + std::to_string(r->run) + " does not belong to shard " +
                        std::to_string(index) + "/" + std::to_string(count) + " or came twice";
                return MergeStatus::BadInput;
            }
            haveRun[static_cast<size_t>(r->run)] = 1;
            lines[static_cast<size_t>(r->run)] = shardLines[n];
        }
    }
    if (!campaign) {
        error = "no shard directories";
        return MergeStatus::BadInput;
    }
    for (int64_t k = 0; k < shardCount; ++k) {
        if (!seen.contains(k)) {
            error = "shard " + std::to_string(k) + "/" + std::to_string(shardCount) + " is missing";
            return MergeStatus::BadInput;
        }
    }
    for (size_t run = 0; run < haveRun.size(); ++run) {
        if (!haveRun[run]) {
            error = "run " + std::to_string(run) + " is missing from shard " +
                    std::to_string(static_cast<int64_t>(run) % shardCount);
            return MergeStatus::BadInput;
        }
    }
    if (!writeCampaignResults(out, *campaign, lines, table, error)) {
        return MergeStatus::WriteFailed;
    }
    return MergeStatus::Ok;
}

}  // namespace prrsim::batch
