#include "campaign/campaign.h"

#include <cmath>
#include <functional>
#include <numbers>
#include <stdexcept>

#include "scenario/input_text.h"

namespace prrsim::batch {

using nlohmann::json;

namespace {

struct Refused {
    CampaignError error;
};

// Builds the refusals of one campaign file.
class Reporter {
  public:
    explicit Reporter(std::string_view source) : source_(source) {}

    [[noreturn]] void field(std::string_view name, const Refusal& why) const {
        throw Refused{{source_, -1, "", std::string(name), why}};
    }
    [[noreturn]] void entry(size_t index, std::string_view name, std::string_view field,
                            const Refusal& why) const {
        throw Refused{
            {source_, static_cast<int64_t>(index), std::string(name), std::string(field), why}};
    }
    [[noreturn]] void file(const Refusal& why) const { throw Refused{{source_, -1, "", "", why}}; }

  private:
    std::string source_;
};

using Fail = std::function<void(const Refusal&)>;

// A refusal quoting the value `v`.
Refusal about(RefusalCode code, const json& v) {
    Refusal r = refusal(code);
    r.value = echo(v);
    return r;
}

void onlyKeys(const json& object, std::initializer_list<std::string_view> allowed,
              const std::function<void(const std::string&, const Refusal&)>& fail) {
    Refusal unknown = refusal(RefusalCode::UnknownCampaignField);
    unknown.names.assign(allowed.begin(), allowed.end());
    for (const auto& [key, value] : object.items()) {
        bool known = false;
        for (const std::string_view k : allowed) {
            known = known || key == k;
        }
        if (!known) {
            fail(key, unknown);
        }
    }
}

double finiteNumber(const json& v, const Fail& fail) {
    if (!v.is_number()) {
        fail(typeRefusal(RefusalCode::NotNumber, v, true));
    }
    const double d = v.get<double>();
    if (!std::isfinite(d)) {
        fail(about(RefusalCode::NotFinite, v));
    }
    return d;
}

int64_t wholeNumber(const json& v, int64_t min, int64_t max, const Fail& fail) {
    const auto refused = [&](RefusalCode code) {
        Refusal r = about(code, v);
        r.min = min;
        r.max = max;
        return r;
    };
    if (!v.is_number_integer() ||
        (v.is_number_unsigned() && v.get<uint64_t>() > static_cast<uint64_t>(INT64_MAX))) {
        fail(refused(RefusalCode::NotWholeNumber));
    }
    const int64_t n = v.get<int64_t>();
    if (n < min || n > max) {
        fail(refused(RefusalCode::OutsideRange));
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
                      const std::function<void(std::string_view, const Refusal&)>& fail) {
    const std::string kind = v.kind == VaryKind::Uniform ? "uniform" : "normal";
    const auto at = [&](std::string_view key) {
        return [&fail, kind, key](const Refusal& why) { fail(kind + "." + std::string(key), why); };
    };
    if (!description.is_object()) {
        fail(kind, typeRefusal(RefusalCode::NotObject, description, false));
    }
    if (!target.is_number()) {
        fail(kind, about(RefusalCode::DrawsNumbers, target));
    }
    v.integer = target.is_number_integer();
    if (v.kind == VaryKind::Uniform) {
        onlyKeys(description, {"min", "max"},
                 [&](const std::string& key, const Refusal& r) { at(key)(r); });
        for (const char* key : {"min", "max"}) {
            if (!description.contains(key)) {
                at(key)(refusal(RefusalCode::Missing));
            }
        }
        v.first = finiteNumber(description["min"], at("min"));
        v.second = finiteNumber(description["max"], at("max"));
        if (v.integer ? std::ceil(v.first) > std::floor(v.second) : !(v.first < v.second)) {
            Refusal none = about(RefusalCode::NoValueAbove, description["max"]);
            none.other = echo(description["min"]);
            at("max")(none);
        }
        return;
    }
    onlyKeys(description, {"mean", "sd", "min", "max"},
             [&](const std::string& key, const Refusal& r) { at(key)(r); });
    for (const char* key : {"mean", "sd"}) {
        if (!description.contains(key)) {
            at(key)(refusal(RefusalCode::Missing));
        }
    }
    v.first = finiteNumber(description["mean"], at("mean"));
    v.second = finiteNumber(description["sd"], at("sd"));
    if (!(v.second > 0)) {
        at("sd")(about(RefusalCode::NotAboveZero, description["sd"]));
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
        at(v.high ? "max" : "min")(refusal(RefusalCode::NormalTooNarrow));
    }
}

// `inner` names a value inside the one `outer` names.
bool pointerWithin(const std::string& inner, const std::string& outer) {
    return inner.size() > outer.size() && inner.starts_with(outer) && inner[outer.size()] == '/';
}

VariedValue readEntry(const json& item, size_t index, const json& base, const Reporter& report) {
    VariedValue v;
    if (!item.is_object()) {
        report.entry(index, "", "vary", typeRefusal(RefusalCode::NotObject, item, false));
    }
    std::string label;
    if (const auto name = item.find("name"); name != item.end()) {
        if (!name->is_string() || name->get<std::string>().empty()) {
            report.entry(index, "", "name", about(RefusalCode::NotNonEmptyString, *name));
        }
        label = name->get<std::string>();
    }
    const auto fail = [&report, index, &label](std::string_view field, const Refusal& r) {
        report.entry(index, label, field, r);
    };
    onlyKeys(item, {"name", "pointer", "values", "uniform", "normal"},
             [&](const std::string& key, const Refusal& r) { fail(key, r); });
    const auto pointer = item.find("pointer");
    if (pointer == item.end()) {
        fail("pointer", refusal(RefusalCode::Missing));
    }
    if (!pointer->is_string()) {
        fail("pointer", about(RefusalCode::NotPointerString, *pointer));
    }
    v.pointer = pointer->get<std::string>();
    Refusal badPointer;
    badPointer.value = shortened(v.pointer);
    json::json_pointer target;
    try {
        target = json::json_pointer(v.pointer);
    } catch (const json::exception&) {
        badPointer.code = RefusalCode::NotPointer;
        fail("pointer", badPointer);
    }
    if (target.empty() || !base.contains(target)) {
        badPointer.code = RefusalCode::PointerNamesNothing;
        fail("pointer", badPointer);
    }
    v.name = label.empty() ? v.pointer : label;

    int kinds = 0;
    for (const char* key : {"values", "uniform", "normal"}) {
        kinds += item.contains(key) ? 1 : 0;
    }
    if (kinds != 1) {
        fail("values", refusal(RefusalCode::NeedsOneKind));
    }
    if (const auto values = item.find("values"); values != item.end()) {
        if (!values->is_array() || values->empty()) {
            fail("values", about(RefusalCode::NotNonEmptyList, *values));
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
        report.file(typeRefusal(RefusalCode::CampaignNotObject, doc, false));
    }
    const auto top = [&report](std::string_view field) {
        return [&report, field](const Refusal& why) { report.field(field, why); };
    };
    onlyKeys(doc, {"description", "scenario", "repetitions", "seed", "hitRadius", "vary", "plot"},
             [&](const std::string& key, const Refusal& r) { report.field(key, r); });
    Campaign c;
    if (const auto d = doc.find("description"); d != doc.end()) {
        if (!d->is_string()) {
            report.field("description", about(RefusalCode::NotText, *d));
        }
        c.description = d->get<std::string>();
    }

    const auto scenario = doc.find("scenario");
    if (scenario == doc.end()) {
        report.field("scenario", refusal(RefusalCode::MissingScenario));
    }
    std::string baseName = std::string(source) + ": scenario";
    if (scenario->is_string()) {
        const std::filesystem::path file = directory / scenario->get<std::string>();
        baseName = file.string();
        Refusal baseFile;
        baseFile.value = file.string();
        std::string text;
        if (!readText(file, text)) {
            baseFile.code = RefusalCode::BaseFileUnreadable;
            report.field("scenario", baseFile);
        }
        c.base = parseJsonUniqueKeys(text, [&](const Refusal& why) {
            baseFile.code = RefusalCode::BaseFileMalformed;
            baseFile.cause = {why};
            report.field("scenario", baseFile);
        });
    } else if (scenario->is_object()) {
        c.base = *scenario;
    } else {
        report.field("scenario", typeRefusal(RefusalCode::NotFileOrObject, *scenario, false));
    }
    if (ScenarioError base; !parseScenario(c.base.dump(), baseName, base)) {
        Refusal refused = refusal(RefusalCode::BaseScenarioRefused);
        refused.value = base.place();
        refused.cause = {base.refusal};
        report.field("scenario", refused);
    }

    const auto repetitions = doc.find("repetitions");
    if (repetitions == doc.end()) {
        report.field("repetitions", refusal(RefusalCode::Missing));
    }
    c.repetitions = wholeNumber(*repetitions, 1, kMaxCampaignRuns, top("repetitions"));
    if (const auto seed = doc.find("seed"); seed != doc.end()) {
        if (!seed->is_number_integer() ||
            (!seed->is_number_unsigned() && seed->get<int64_t>() < 0)) {
            report.field("seed", about(RefusalCode::NotSeed, *seed));
        }
        c.seed = seed->get<uint64_t>();
    }
    if (const auto radius = doc.find("hitRadius"); radius != doc.end()) {
        c.hitRadius = finiteNumber(*radius, top("hitRadius"));
        if (!(c.hitRadius > 0)) {
            report.field("hitRadius", about(RefusalCode::NotAboveZeroMetres, *radius));
        }
    }

    if (const auto vary = doc.find("vary"); vary != doc.end()) {
        if (!vary->is_array()) {
            report.field("vary", typeRefusal(RefusalCode::NotList, *vary, false));
        }
        for (size_t i = 0; i < vary->size(); ++i) {
            VariedValue v = readEntry((*vary)[i], i, c.base, report);
            for (const VariedValue& earlier : c.varied) {
                Refusal twice;
                twice.value = shortened(v.pointer);
                if (earlier.pointer == v.pointer) {
                    twice.code = RefusalCode::VariedTwice;
                    report.entry(i, v.name, "pointer", twice);
                } else if (pointerWithin(v.pointer, earlier.pointer) ||
                           pointerWithin(earlier.pointer, v.pointer)) {
                    // Writing one would replace or remove what the other names.
                    twice.code = RefusalCode::PointersOverlap;
                    twice.other = shortened(earlier.pointer);
                    report.entry(i, v.name, "pointer", twice);
                }
                if (earlier.name == v.name) {
                    twice.code = RefusalCode::NameUsedTwice;
                    twice.value = shortened(v.name);
                    report.entry(i, v.name, "name", twice);
                }
            }
            if (v.kind == VaryKind::List) {
                c.listed.push_back(c.varied.size());
                if (static_cast<int64_t>(v.values.size()) > kMaxCampaignRuns / c.combinations) {
                    Refusal tooMany = refusal(RefusalCode::TooManyCombinations);
                    tooMany.max = kMaxCampaignRuns;
                    report.field("vary", tooMany);
                }
                c.combinations *= static_cast<int64_t>(v.values.size());
            }
            c.varied.push_back(std::move(v));
        }
    }
    if (c.repetitions > kMaxCampaignRuns / c.combinations) {
        Refusal tooMany = refusal(RefusalCode::TooManyRuns);
        tooMany.number = c.combinations;
        tooMany.count = c.repetitions;
        tooMany.max = kMaxCampaignRuns;
        report.field("repetitions", tooMany);
    }
    c.runs = c.combinations * c.repetitions;

    if (const auto plot = doc.find("plot"); plot != doc.end()) {
        if (!plot->is_object()) {
            report.field("plot", typeRefusal(RefusalCode::NotObject, *plot, false));
        }
        onlyKeys(*plot, {"x", "lines"},
                 [&](const std::string& key, const Refusal& r) { report.field("plot." + key, r); });
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
            report.field("plot." + std::string(key), about(RefusalCode::NotListedName, *it));
        };
        c.plotX = listedName("x");
        c.plotLines = listedName("lines");
        if (!c.plotX) {
            report.field("plot.x", refusal(RefusalCode::Missing));
        }
        if (c.plotLines == c.plotX) {
            report.field("plot.lines", refusal(RefusalCode::PlotLinesSameAsX));
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

std::string CampaignError::line() const {
    std::string text = source;
    if (entry >= 0) {
        text += ": vary " + std::to_string(entry);
        if (!entryName.empty()) {
            text += " (" + inQuotes(entryName) + ")";
        }
    }
    if (!field.empty()) {
        text += ": field " + inQuotes(field);
    }
    text += ": " + englishText(refusal);
    for (char& ch : text) {
        ch = (ch == '\n' || ch == '\r') ? ' ' : ch;
    }
    return text;
}

std::optional<Campaign> parseCampaign(std::string_view text, std::string_view source,
                                      const std::filesystem::path& directory,
                                      CampaignError& error) {
    const Reporter report(source);
    try {
        const json doc = parseJsonUniqueKeys(text, [&](const Refusal& why) { report.file(why); });
        return parseDocument(doc, source, directory, report);
    } catch (const Refused& e) {
        error = e.error;
        return std::nullopt;
    }
}

std::optional<Campaign> parseCampaign(std::string_view text, std::string_view source,
                                      const std::filesystem::path& directory, std::string& error) {
    CampaignError e;
    std::optional<Campaign> campaign = parseCampaign(text, source, directory, e);
    if (!campaign) {
        error = e.line();
    }
    return campaign;
}

std::optional<Campaign> loadCampaign(const std::string& path, CampaignError& error) {
    std::string text;
    if (!readText(path, text)) {
        Refusal unreadable = refusal(RefusalCode::FileCannotRead);
        unreadable.file = FileKind::Campaign;
        error = {path, -1, "", "", unreadable};
        return std::nullopt;
    }
    return parseCampaign(text, path, std::filesystem::path(path).parent_path(), error);
}

std::optional<Campaign> loadCampaign(const std::string& path, std::string& error) {
    CampaignError e;
    std::optional<Campaign> campaign = loadCampaign(path, e);
    if (!campaign) {
        error = e.line();
    }
    return campaign;
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
        ScenarioError refused;
        std::optional<Scenario> scenario =
            parseScenario(runDocument(campaign_, plan).dump(), kRunSource, refused);
        if (!scenario) {
            Refusal why = refusal(RefusalCode::RunValuesRefused);
            why.number = plan.run;
            why.value = describeValues(campaign_, plan.values, false);
            why.other = refused.place();
            why.cause = {refused.refusal};
            error = std::string(source) + ": " + englishText(why);
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
