#include "campaign/campaign.h"

#include <cmath>
#include <functional>
#include <numbers>
#include <stdexcept>

#include "scenario/input_text.h"

namespace prrsim::batch {

using nlohmann::json;

namespace {

struct CampaignError {
    std::string message;
};

// Builds the error lines of one campaign file.
class Reporter {
  public:
    explicit Reporter(std::string_view source) : source_(source) {}

    [[noreturn]] void field(std::string_view name, const std::string& reason) const {
        throw CampaignError{source_ + ": field " + inQuotes(name) + ": " + reason};
    }
    [[noreturn]] void entry(size_t index, std::string_view name, std::string_view field,
                            const std::string& reason) const {
        std::string line = source_ + ": vary " + std::to_string(index);
        if (!name.empty()) {
            line += " (" + std::string(name) + ")";
        }
        throw CampaignError{line + ": field " + inQuotes(field) + ": " + reason};
    }
    [[noreturn]] void file(const std::string& reason) const {
        throw CampaignError{source_ + ": " + reason};
    }

  private:
    std::string source_;
};

void onlyKeys(const json& object, std::initializer_list<std::string_view> allowed,
              const std::function<void(const std::string&, const std::string&)>& fail) {
    std::string list;
    for (const std::string_view k : allowed) {
        list += (list.empty() ? "" : ", ") + std::string(k);
    }
    for (const auto& [key, value] : object.items()) {
        bool known = false;
        for (const std::string_view k : allowed) {
            known = known || key == k;
        }
        if (!known) {
            fail(key, "unknown field (allowed: " + list + ")");
        }
    }
}

double finiteNumber(const json& v, const std::function<void(const std::string&)>& fail) {
    if (!v.is_number()) {
        fail("must be a number, not " + std::string(v.type_name()) + " " + echo(v));
    }
    const double d = v.get<double>();
    if (!std::isfinite(d)) {
        fail(echo(v) + " is not a finite number");
    }
    return d;
}

int64_t wholeNumber(const json& v, int64_t min, int64_t max,
                    const std::function<void(const std::string&)>& fail) {
    if (!v.is_number_integer() ||
        (v.is_number_unsigned() && v.get<uint64_t>() > static_cast<uint64_t>(INT64_MAX))) {
        fail("must be a whole number from " + std::to_string(min) + " to " + std::to_string(max) +
             ", not " + echo(v));
    }
    const int64_t n = v.get<int64_t>();
    if (n < min || n > max) {
        fail(echo(v) + " is outside " + std::to_string(min) + ".." + std::to_string(max));
    }
    return n;
}

// The standard normal's probability below x.
double normalBelow(double x) {
    return 0.5 * std::erfc(-x / std::numbers::sqrt2);
}

// Draws of a truncated normal are repeated until one falls within its bounds; the bounds must
// leave at least this much of the distribution so that a draw is found at once.
constexpr double kMinNormalMass = 0.01;
constexpr int kMaxNormalDraws = 10'000;

void readDistribution(VariedValue& v, const json& description, const json& target,
                      const std::function<void(std::string_view, const std::string&)>& fail) {
    const std::string kind = v.kind == VaryKind::Uniform ? "uniform" : "normal";
    const auto at = [&](std::string_view key) {
        return [&fail, kind, key](const std::string& reason) {
            fail(kind + "." + std::string(key), reason);
        };
    };
    if (!description.is_object()) {
        fail(kind, "must be an object, not " + std::string(description.type_name()));
    }
    if (!target.is_number()) {
        fail(kind, "draws numbers, but the base scenario holds " + echo(target) + " there");
    }
    v.integer = target.is_number_integer();
    if (v.kind == VaryKind::Uniform) {
        onlyKeys(description, {"min", "max"},
                 [&](const std::string& key, const std::string& r) { at(key)(r); });
        for (const char* key : {"min", "max"}) {
            if (!description.contains(key)) {
                at(key)("missing");
            }
        }
        v.first = finiteNumber(description["min"], at("min"));
        v.second = finiteNumber(description["max"], at("max"));
        if (v.integer ? std::ceil(v.first) > std::floor(v.second) : !(v.first < v.second)) {
            at("max")(echo(description["max"]) + " leaves no value above min " +
                      echo(description["min"]));
        }
        return;
    }
    onlyKeys(description, {"mean", "sd", "min", "max"},
             [&](const std::string& key, const std::string& r) { at(key)(r); });
    for (const char* key : {"mean", "sd"}) {
        if (!description.contains(key)) {
            at(key)("missing");
        }
    }
    v.first = finiteNumber(description["mean"], at("mean"));
    v.second = finiteNumber(description["sd"], at("sd"));
    if (!(v.second > 0)) {
        at("sd")("must be above 0, not " + echo(description["sd"]));
    }
    if (description.contains("min")) {
        v.low = finiteNumber(description["min"], at("min"));
    }
    if (description.contains("max")) {
        v.high = finiteNumber(description["max"], at("max"));
    }
    // Whole-number draws are rounded, so a bound takes in the half unit beyond it.
    const double slack = v.integer ? 0.5 : 0.0;
    const double below = v.low ? normalBelow((*v.low - slack - v.first) / v.second) : 0.0;
    const double above = v.high ? normalBelow((*v.high + slack - v.first) / v.second) : 1.0;
    if (!(above - below >= kMinNormalMass)) {
        at(v.high ? "max" : "min")("min and max leave less than 1 % of the distribution");
    }
}

// `inner` names a value inside the one `outer` names.
bool pointerWithin(const std::string& inner, const std::string& outer) {
    return inner.size() > outer.size() && inner.starts_with(outer) && inner[outer.size()] == '/';
}

VariedValue readEntry(const json& item, size_t index, const json& base, const Reporter& report) {
    VariedValue v;
    if (!item.is_object()) {
        report.entry(index, "", "vary", "must be an object, not " + std::string(item.type_name()));
    }
    std::string label;
    if (const auto name = item.find("name"); name != item.end()) {
        if (!name->is_string() || name->get<std::string>().empty()) {
            report.entry(index, "", "name", "must be a non-empty string, not " + echo(*name));
        }
        label = name->get<std::string>();
    }
    const auto fail = [&report, index, &label](std::string_view field, const std::string& r) {
        report.entry(index, label.empty() ? "" : inQuotes(label), field, r);
    };
    onlyKeys(item, {"name", "pointer", "values", "uniform", "normal"},
             [&](const std::string& key, const std::string& r) { fail(key, r); });
    const auto pointer = item.find("pointer");
    if (pointer == item.end()) {
        fail("pointer", "missing");
    }
    if (!pointer->is_string()) {
        fail("pointer",
             "must be a JSON Pointer string such as \"/actions/2/x\", not " + echo(*pointer));
    }
    v.pointer = pointer->get<std::string>();
    json::json_pointer target;
    try {
        target = json::json_pointer(v.pointer);
    } catch (const json::exception&) {
        fail("pointer", inQuotes(v.pointer) +
                            " is not a JSON Pointer (it starts with / and names "
                            "members and array positions, e.g. \"/actions/2/x\")");
    }
    if (target.empty() || !base.contains(target)) {
        fail("pointer", inQuotes(v.pointer) + " does not name a value of the base scenario");
    }
    v.name = label.empty() ? v.pointer : label;

    int kinds = 0;
    for (const char* key : {"values", "uniform", "normal"}) {
        kinds += item.contains(key) ? 1 : 0;
    }
    if (kinds != 1) {
        fail("values", "give exactly one of values (a list), uniform or normal");
    }
    if (const auto values = item.find("values"); values != item.end()) {
        if (!values->is_array() || values->empty()) {
            fail("values", "must be a non-empty list, not " + echo(*values));
        }
        v.kind = VaryKind::List;
        v.values.assign(values->begin(), values->end());
        return v;
    }
    v.kind = item.contains("uniform") ? VaryKind::Uniform : VaryKind::Normal;
    readDistribution(v, item.contains("uniform") ? item["uniform"] : item["normal"],
                     base.at(target), fail);
    return v;
}

Campaign parseDocument(const json& doc, std::string_view source,
                       const std::filesystem::path& directory, const Reporter& report) {
    if (!doc.is_object()) {
        report.file("a campaign must be a JSON object, not " + std::string(doc.type_name()));
    }
    const auto top = [&report](std::string_view field) {
        return [&report, field](const std::string& reason) { report.field(field, reason); };
    };
    onlyKeys(doc, {"description", "scenario", "repetitions", "seed", "hitRadius", "vary", "plot"},
             [&](const std::string& key, const std::string& r) { report.field(key, r); });
    Campaign c;
    if (const auto d = doc.find("description"); d != doc.end()) {
        if (!d->is_string()) {
            report.field("description", "must be a string, not " + echo(*d));
        }
        c.description = d->get<std::string>();
    }

    const auto scenario = doc.find("scenario");
    if (scenario == doc.end()) {
        report.field("scenario", "missing (a scenario file name, or the scenario itself)");
    }
    std::string baseName = std::string(source) + ": scenario";
    if (scenario->is_string()) {
        const std::filesystem::path file = directory / scenario->get<std::string>();
        baseName = file.string();
        std::string text;
        if (!readText(file, text)) {
            report.field("scenario", file.string() + ": cannot read the scenario file");
        }
        c.base = parseJsonUniqueKeys(text, [&](const std::string& r) {
            report.field("scenario", file.string() + ": " + r);
        });
    } else if (scenario->is_object()) {
        c.base = *scenario;
    } else {
        report.field("scenario", "must be a file name or a scenario object, not " +
                                     std::string(scenario->type_name()));
    }
    std::string refusal;
    if (!parseScenario(c.base.dump(), baseName, refusal)) {
        report.field("scenario", "the base scenario is refused: " + refusal);
    }

    const auto repetitions = doc.find("repetitions");
    if (repetitions == doc.end()) {
        report.field("repetitions", "missing");
    }
    c.repetitions = wholeNumber(*repetitions, 1, kMaxCampaignRuns, top("repetitions"));
    if (const auto seed = doc.find("seed"); seed != doc.end()) {
        if (!seed->is_number_integer() ||
            (!seed->is_number_unsigned() && seed->get<int64_t>() < 0)) {
            report.field("seed", "must be a whole number from 0 to 18446744073709551615, not " +
                                     echo(*seed));
        }
        c.seed = seed->get<uint64_t>();
    }
    if (const auto radius = doc.find("hitRadius"); radius != doc.end()) {
        c.hitRadius = finiteNumber(*radius, top("hitRadius"));
        if (!(c.hitRadius > 0)) {
            report.field("hitRadius", "must be above 0 metres, not " + echo(*radius));
        }
    }

    if (const auto vary = doc.find("vary"); vary != doc.end()) {
        if (!vary->is_array()) {
            report.field("vary", "must be a list, not " + std::string(vary->type_name()));
        }
        for (size_t i = 0; i < vary->size(); ++i) {
            VariedValue v = readEntry((*vary)[i], i, c.base, report);
            for (const VariedValue& earlier : c.varied) {
                if (earlier.pointer == v.pointer) {
                    report.entry(i, inQuotes(v.name), "pointer",
                                 inQuotes(v.pointer) + " is varied twice");
                } else if (pointerWithin(v.pointer, earlier.pointer) ||
                           pointerWithin(earlier.pointer, v.pointer)) {
                    // Writing one would replace or remove what the other names.
                    report.entry(i, inQuotes(v.name), "pointer",
                                 inQuotes(v.pointer) + " overlaps the varied " +
                                     inQuotes(earlier.pointer) + "; vary one of them");
                }
                if (earlier.name == v.name) {
                    report.entry(i, inQuotes(v.name), "name", inQuotes(v.name) + " is used twice");
                }
            }
            if (v.kind == VaryKind::List) {
                c.listed.push_back(c.varied.size());
                if (static_cast<int64_t>(v.values.size()) > kMaxCampaignRuns / c.combinations) {
                    report.field("vary",
                                 "more than " + std::to_string(kMaxCampaignRuns) + " combinations");
                }
                c.combinations *= static_cast<int64_t>(v.values.size());
            }
            c.varied.push_back(std::move(v));
        }
    }
    if (c.repetitions > kMaxCampaignRuns / c.combinations) {
        report.field("repetitions", std::to_string(c.combinations) + " combinations of " +
                                        std::to_string(c.repetitions) + " repetitions exceed " +
                                        std::to_string(kMaxCampaignRuns) + " runs");
    }
    c.runs = c.combinations * c.repetitions;

    if (const auto plot = doc.find("plot"); plot != doc.end()) {
        if (!plot->is_object()) {
            report.field("plot", "must be an object, not " + std::string(plot->type_name()));
        }
        onlyKeys(*plot, {"x", "lines"}, [&](const std::string& key, const std::string& r) {
            report.field("plot." + key, r);
        });
        const auto listedName = [&](std::string_view key) -> std::optional<std::string> {
            const auto it = plot->find(key);
            if (it == plot->end()) {
                return std::nullopt;
            }
            for (const size_t k : c.listed) {
                if (it->is_string() && c.varied[k].name == it->get<std::string>()) {
                    return c.varied[k].name;
                }
            }
            report.field("plot." + std::string(key),
                         echo(*it) + " is not the name of a varied value with a list of values");
        };
        c.plotX = listedName("x");
        c.plotLines = listedName("lines");
        if (!c.plotX) {
            report.field("plot.x", "missing");
        }
        if (c.plotLines == c.plotX) {
            report.field("plot.lines", "must differ from plot.x");
        }
    }
    return c;
}

uint64_t splitmix(uint64_t z) {
    z += 0x9e3779b97f4a7c15ULL;
    z = (z ^ (z >> 30)) * 0xbf58476d1ce4e5b9ULL;
    z = (z ^ (z >> 27)) * 0x94d049bb133111ebULL;
    return z ^ (z >> 31);
}

// A double in [0, 1) from the hash's upper 53 bits.
double unit(uint64_t h) {
    return static_cast<double>(h >> 11) * 0x1.0p-53;
}

json draw(const Campaign& c, const VariedValue& v, int64_t repetition, uint64_t stream) {
    const auto r = static_cast<uint64_t>(repetition);
    if (v.kind == VaryKind::Uniform) {
        const double u = unit(campaignHash(c.seed, r, stream, 0));
        if (v.integer) {
            const auto low = static_cast<int64_t>(std::ceil(v.first));
            const auto count = static_cast<int64_t>(std::floor(v.second)) - low + 1;
            const auto k = static_cast<int64_t>(u * static_cast<double>(count));
            return low + std::min(k, count - 1);
        }
        return v.first + u * (v.second - v.first);
    }
    double value = v.first;
    for (int attempt = 0; attempt < kMaxNormalDraws; ++attempt) {
        const auto d = static_cast<uint64_t>(attempt) * 2;
        const double u1 = unit(campaignHash(c.seed, r, stream, d));
        const double u2 = unit(campaignHash(c.seed, r, stream, d + 1));
        // Box-Muller; 1 - u1 lies in (0, 1].
        const double z = std::sqrt(-2 * std::log(1 - u1)) * std::cos(2 * std::numbers::pi * u2);
        value = v.first + v.second * z;
        if (v.integer) {
            value = static_cast<double>(std::llround(value));
        }
        if ((!v.low || value >= *v.low) && (!v.high || value <= *v.high)) {
            break;
        }
    }
    if (v.integer) {
        return static_cast<int64_t>(value);
    }
    return value;
}

}  // namespace

std::optional<Campaign> parseCampaign(std::string_view text, std::string_view source,
                                      const std::filesystem::path& directory, std::string& error) {
    const Reporter report(source);
    try {
        const json doc = parseJsonUniqueKeys(text, [&](const std::string& r) { report.file(r); });
        return parseDocument(doc, source, directory, report);
    } catch (const CampaignError& e) {
        error = e.message;
        for (char& ch : error) {
            ch = (ch == '\n' || ch == '\r') ? ' ' : ch;
        }
        return std::nullopt;
    }
}

std::optional<Campaign> loadCampaign(const std::string& path, std::string& error) {
    std::string text;
    if (!readText(path, text)) {
        error = path + ": cannot read the campaign file";
        return std::nullopt;
    }
    return parseCampaign(text, path, std::filesystem::path(path).parent_path(), error);
}

std::string campaignDocument(const Campaign& c) {
    json doc = json::object();
    doc["description"] = c.description;
    doc["scenario"] = c.base;
    doc["repetitions"] = c.repetitions;
    doc["seed"] = c.seed;
    doc["hitRadius"] = c.hitRadius;
    doc["vary"] = json::array();
    for (const VariedValue& v : c.varied) {
        json entry = {{"name", v.name}, {"pointer", v.pointer}};
        if (v.kind == VaryKind::List) {
            entry["values"] = v.values;
        } else if (v.kind == VaryKind::Uniform) {
            entry["uniform"] = {{"min", v.first}, {"max", v.second}};
        } else {
            entry["normal"] = {{"mean", v.first}, {"sd", v.second}};
            if (v.low) {
                entry["normal"]["min"] = *v.low;
            }
            if (v.high) {
                entry["normal"]["max"] = *v.high;
            }
        }
        doc["vary"].push_back(std::move(entry));
    }
    if (c.plotX) {
        doc["plot"] = {{"x", *c.plotX}};
        if (c.plotLines) {
            doc["plot"]["lines"] = *c.plotLines;
        }
    }
    return doc.dump(2) + "\n";
}

std::vector<size_t> combinationIndices(const Campaign& c, int64_t combination) {
    std::vector<size_t> indices(c.listed.size());
    for (size_t k = c.listed.size(); k-- > 0;) {
        const auto size = static_cast<int64_t>(c.varied[c.listed[k]].values.size());
        indices[k] = static_cast<size_t>(combination % size);
        combination /= size;
    }
    return indices;
}

uint64_t campaignHash(uint64_t seed, uint64_t repetition, uint64_t stream, uint64_t draw) {
    return splitmix(splitmix(splitmix(splitmix(seed) ^ repetition) ^ stream) ^ draw);
}

RunPlan planRun(const Campaign& c, int64_t run) {
    RunPlan plan;
    plan.run = run;
    plan.combination = run / c.repetitions;
    plan.repetition = run % c.repetitions;
    plan.seed = static_cast<uint32_t>(
        campaignHash(c.seed, static_cast<uint64_t>(plan.repetition), 0, 0) >> 32);
    const std::vector<size_t> indices = combinationIndices(c, plan.combination);
    size_t listed = 0;
    for (size_t k = 0; k < c.varied.size(); ++k) {
        const VariedValue& v = c.varied[k];
        if (v.kind == VaryKind::List) {
            plan.values.push_back(v.values[indices[listed++]]);
        } else {
            plan.values.push_back(draw(c, v, plan.repetition, k + 1));
        }
    }
    return plan;
}

json runDocument(const Campaign& c, const RunPlan& plan) {
    json doc = c.base;
    doc["seed"] = plan.seed;
    for (size_t k = 0; k < c.varied.size(); ++k) {
        doc[json::json_pointer(c.varied[k].pointer)] = plan.values[k];
    }
    return doc;
}

std::string describeValues(const Campaign& c, const std::vector<json>& values, bool listedOnly) {
    std::string text;
    for (size_t k = 0; k < c.varied.size() && k < values.size(); ++k) {
        if (listedOnly && c.varied[k].kind != VaryKind::List) {
            continue;
        }
        const json& v = values[k];
        text += (text.empty() ? "" : ", ") + c.varied[k].name + "=" +
                (v.is_string() ? v.get<std::string>() : echo(v));
    }
    return text;
}

std::optional<Scenario> CampaignPlan::read(const RunPlan& plan, std::string& error) const {
    return parseScenario(runDocument(campaign_, plan).dump(), kRunSource, error);
}

bool CampaignPlan::prepare(std::string_view source, std::string& error) {
    drawn_ = false;
    for (const VariedValue& v : campaign_.varied) {
        drawn_ = drawn_ || v.kind != VaryKind::List;
    }
    byCombination_.clear();
    const int64_t checks = drawn_ ? campaign_.runs : campaign_.combinations;
    for (int64_t k = 0; k < checks; ++k) {
        const RunPlan plan = planRun(campaign_, drawn_ ? k : k * campaign_.repetitions);
        std::string refusal;
        std::optional<Scenario> scenario = read(plan, refusal);
        if (!scenario) {
            error = std::string(source) + ": run " + std::to_string(plan.run) + " (" +
                    describeValues(campaign_, plan.values, false) +
                    "): the scenario reader refuses these values: " + refusal;
            return false;
        }
        if (!drawn_) {
            byCombination_.push_back(std::move(*scenario));
        }
    }
    return true;
}

Scenario CampaignPlan::scenario(const RunPlan& plan) const {
    if (!drawn_) {
        Scenario s = byCombination_.at(static_cast<size_t>(plan.combination));
        // The combination's scenario was read with its first repetition's seed; a varied
        // "/seed" stays as listed.
        bool seedVaried = false;
        for (const VariedValue& v : campaign_.varied) {
            seedVaried = seedVaried || v.pointer == "/seed";
        }
        if (!seedVaried) {
            s.seed = plan.seed;
        }
        return s;
    }
    std::string error;
    std::optional<Scenario> s = read(plan, error);
    if (!s) {
        throw std::logic_error("a prepared run's scenario was refused: " + error);
    }
    return std::move(*s);
}

}  // namespace prrsim::batch
