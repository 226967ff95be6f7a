#include "scenario/scenario.h"

#include <algorithm>
#include <cmath>
#include <fstream>
#include <functional>
#include <nlohmann/json.hpp>
#include <sstream>

#include "scenario/input_text.h"
#include "catalog/missile_catalog.h"
#include "catalog/radar_catalog.h"
#include "radar/radar_reaction.h"
#include "world/units.h"
#include "world/world_state.h"

namespace prrsim::batch {

using nlohmann::json;

std::string_view aircraftFieldName(int field) {
    static constexpr std::array<std::string_view, kAircraftFieldCount> names = {
        "x", "y", "altitude", "heading", "climbAngle", "speed"};
    return names[field];
}

namespace {

// A scenario that cannot be run.
struct InputError {
    ScenarioError error;
};

// The upper limit of an integer field and the list it counts, for the refusal.
struct Bound {
    int64_t max = 0;
    RefusalList list = RefusalList::None;
    std::string owner;
};

using Fail = std::function<void(const Refusal&)>;

// Name: a string from a fixed list, kept as its position; OptionalInt: an integer that may be
// absent.
enum class Kind { Int, Bool, Real, Name, OptionalInt };

struct FieldRule {
    std::string_view name;
    Kind kind = Kind::Int;
    bool required = true;
    int64_t min = 0;
    int64_t max = 0;
    // When set, replaces max (catalogue-dependent limits; may read fields parsed before).
    std::function<Bound(const Action&)> bound;
    int32_t Action::*intTarget = nullptr;
    bool Action::*boolTarget = nullptr;
    int realField = -1;
    std::optional<int32_t> Action::*optionalTarget = nullptr;
    std::string_view (*nameOf)(int32_t) = nullptr;  // Name: the names of 0, 1, ...
    int32_t nameCount = 0;
};

FieldRule intField(std::string_view name, int32_t Action::*target, int64_t min, int64_t max) {
    FieldRule f;
    f.name = name;
    f.min = min;
    f.max = max;
    f.intTarget = target;
    return f;
}

FieldRule boundField(std::string_view name, int32_t Action::*target,
                     std::function<Bound(const Action&)> bound) {
    FieldRule f = intField(name, target, 0, 0);
    f.bound = std::move(bound);
    return f;
}

FieldRule boolField(std::string_view name, bool Action::*target, bool required) {
    FieldRule f;
    f.name = name;
    f.kind = Kind::Bool;
    f.required = required;
    f.boolTarget = target;
    return f;
}

FieldRule nameField(std::string_view name, int32_t Action::*target,
                    std::string_view (*nameOf)(int32_t), int32_t count) {
    FieldRule f;
    f.name = name;
    f.kind = Kind::Name;
    f.intTarget = target;
    f.nameOf = nameOf;
    f.nameCount = count;
    return f;
}

FieldRule optionalIntField(std::string_view name, std::optional<int32_t> Action::*target,
                           int64_t min, int64_t max) {
    FieldRule f;
    f.name = name;
    f.kind = Kind::OptionalInt;
    f.required = false;
    f.min = min;
    f.max = max;
    f.optionalTarget = target;
    return f;
}

FieldRule realField(int field) {
    FieldRule f;
    f.name = aircraftFieldName(field);
    f.kind = Kind::Real;
    f.required = false;
    f.realField = field;
    return f;
}

constexpr int64_t kInt32Min = INT32_MIN;
constexpr int64_t kInt32Max = INT32_MAX;

FieldRule aircraftIndex() {
    return intField("aircraft", &Action::aircraft, 0, kAircraftCapacity - 1);
}
FieldRule radarIndex() {
    return intField("radar", &Action::radar, 0, kRadarCapacity - 1);
}
FieldRule missileIndex() {
    return intField("missile", &Action::missile, 0, kMissileCapacity - 1);
}

Bound radarTypeBound(const Action&) {
    return {radarTypeCount() - 1, RefusalList::RadarTypes, ""};
}
Bound complexBound(const Action&) {
    return {samComplexCount() - 1, RefusalList::SamComplexes, ""};
}
Bound missileTypeBound(const Action&) {
    return {missileTypeCount() - 1, RefusalList::MissileTypes, ""};
}
Bound launchModeBound(const Action& a) {
    const MissileType& t = missileType(a.type);
    return {t.launchModeCount - 1, RefusalList::LaunchModes, shortened(t.name)};
}

struct OpRule {
    std::string_view name;
    Op op;
    std::vector<FieldRule> fields;
};

const std::vector<OpRule>& opRules() {
    static const std::vector<OpRule> rules = [] {
        std::vector<OpRule> s;
        s.push_back({"addAircraft", Op::AddAircraft, {}});
        s.push_back({"removeAircraft", Op::RemoveAircraft, {aircraftIndex()}});
        s.push_back({"addRadar",
                     Op::AddRadar,
                     {boundField("type", &Action::type, radarTypeBound),
                      boolField("operational", &Action::operational, false)}});
        s.push_back({"addComplex",
                     Op::AddComplex,
                     {boundField("complex", &Action::complex, complexBound),
                      boolField("operational", &Action::operational, false)}});
        s.push_back({"placeRadar",
                     Op::PlaceRadar,
                     {radarIndex(), intField("x", &Action::x, 0, kMapWidth - 1),
                      intField("y", &Action::y, 0, kMapHeight - 1)}});
        s.push_back({"removeRadar", Op::RemoveRadar, {radarIndex()}});
        std::vector<FieldRule> setAircraft{aircraftIndex()};
        for (int f = 0; f < kAircraftFieldCount; ++f) {
            setAircraft.push_back(realField(f));
        }
        s.push_back({"setAircraft", Op::SetAircraft, setAircraft});
        s.push_back({"pickTarget",
                     Op::PickTarget,
                     {aircraftIndex(), intField("radar", &Action::radar, -1, kRadarCapacity - 1)}});
        s.push_back({"clearTarget", Op::ClearTarget, {aircraftIndex()}});
        s.push_back({"attackRun", Op::AttackRun, {aircraftIndex()}});
        s.push_back(
            {"setEmission", Op::SetEmission, {radarIndex(), boolField("on", &Action::on, true)}});
        s.push_back(
            {"setRotation", Op::SetRotation, {radarIndex(), boolField("on", &Action::on, true)}});
        // The limits that depend on the radar's type are checked when the action is applied.
        s.push_back({"setBlink",
                     Op::SetBlink,
                     {radarIndex(), intField("period", &Action::value, 0, kInt32Max)}});
        s.push_back({"setAntennaDirection",
                     Op::SetAntennaDirection,
                     {radarIndex(), intField("degrees", &Action::value, 0, 360)}});
        s.push_back({"setScanMethod",
                     Op::SetScanMethod,
                     {radarIndex(), intField("method", &Action::value, 0, kInt32Max)}});
        s.push_back({"setFrequency",
                     Op::SetFrequency,
                     {radarIndex(), intField("percent", &Action::value, 0, 100)}});
        s.push_back({"setPrfMode",
                     Op::SetPrfMode,
                     {radarIndex(), intField("mode", &Action::value, 0, kInt32Max)}});
        s.push_back({"setIllumination",
                     Op::SetIllumination,
                     {radarIndex(), boolField("on", &Action::on, true)}});
        s.push_back({"assignTarget", Op::AssignTarget, {radarIndex(), aircraftIndex()}});
        s.push_back({"removeTrack",
                     Op::RemoveTrack,
                     {radarIndex(), intField("entry", &Action::value, kInt32Min, kInt32Max)}});
        s.push_back({"resetTracking", Op::ResetTracking, {radarIndex()}});
        s.push_back({"addMissile",
                     Op::AddMissile,
                     {aircraftIndex(), boundField("type", &Action::type, missileTypeBound),
                      boundField("launchMode", &Action::launchMode, launchModeBound)}});
        s.push_back({"activate", Op::Activate, {missileIndex()}});
        s.push_back({"capture", Op::Capture, {missileIndex()}});
        s.push_back({"launch", Op::Launch, {missileIndex()}});
        s.push_back({"seekerOnDistance",
                     Op::SeekerOnDistance,
                     {missileIndex(), intField("value", &Action::value, 0, 100)}});
        // The blink period's upper limit depends on the radar's type: checked when applied.
        s.push_back(
            {"setReaction",
             Op::SetReaction,
             {radarIndex(),
              nameField("kind", &Action::reactionKind, reactionKindCode, kReactionKindCount),
              intField("warnKm", &Action::warnKm, kReactionWarnKmMin, kReactionWarnKmMax),
              intField("holdSeconds", &Action::holdSeconds, 0, kReactionHoldSecondsMax),
              optionalIntField("blinkPeriod", &Action::blinkPeriod, 1, kInt32Max),
              optionalIntField("frequencyPercent", &Action::frequencyPercent, 0,
                               kReactionPercentMax)}});
        return s;
    }();
    return rules;
}

const OpRule* findOp(std::string_view name) {
    for (const OpRule& rule : opRules()) {
        if (rule.name == name) {
            return &rule;
        }
    }
    return nullptr;
}

// Builds the error lines of one scenario file.
class Reporter {
  public:
    explicit Reporter(std::string_view source) : source_(source) {}

    [[noreturn]] void top(std::string_view field, const Refusal& why) const {
        throw InputError{{source_, -1, "", -1, std::string(field), why}};
    }
    [[noreturn]] void action(int32_t position, std::string_view op, std::string_view field,
                             const Refusal& why) const {
        throw InputError{{source_, position, std::string(op), -1, std::string(field), why}};
    }
    [[noreturn]] void file(const Refusal& why) const {
        throw InputError{{source_, -1, "", -1, "", why}};
    }

  private:
    std::string source_;
};

// An integer JSON value within [min, max], or a refusal naming the range.
int64_t integerIn(const json& v, int64_t min, int64_t max, const Bound& of, const Fail& fail) {
    if (!v.is_number_integer()) {
        fail(typeRefusal(RefusalCode::NotInteger, v, true));
    }
    const auto outside = [&](RefusalCode code) {
        Refusal r = refusal(code);
        r.value = echo(v);
        r.min = min;
        r.max = max;
        r.list = of.list;
        r.owner = of.owner;
        return r;
    };
    // Unsigned values above INT64_MAX are out of every range.
    if (v.is_number_unsigned() && v.get<uint64_t>() > static_cast<uint64_t>(INT64_MAX)) {
        fail(outside(RefusalCode::OutsideRange));
    }
    const int64_t n = v.get<int64_t>();
    if (n < min || n > max) {
        fail(outside(max < min ? RefusalCode::EmptyRange : RefusalCode::OutsideRange));
    }
    return n;
}

int64_t integerIn(const json& v, int64_t min, int64_t max, const Fail& fail) {
    return integerIn(v, min, max, Bound{}, fail);
}

void parseField(const FieldRule& rule, const json& v, Action& action, const Fail& fail) {
    switch (rule.kind) {
        case Kind::Int: {
            Bound bound{rule.max, RefusalList::None, ""};
            if (rule.bound) {
                bound = rule.bound(action);
            }
            action.*rule.intTarget =
                static_cast<int32_t>(integerIn(v, rule.min, bound.max, bound, fail));
            break;
        }
        case Kind::Bool:
            if (!v.is_boolean()) {
                fail(typeRefusal(RefusalCode::NotBoolean, v, true));
            }
            action.*rule.boolTarget = v.get<bool>();
            break;
        case Kind::Real: {
            if (!v.is_number()) {
                fail(typeRefusal(RefusalCode::NotNumber, v, true));
            }
            const double d = v.get<double>();
            const auto outside = [&v](double min) {
                Refusal r = refusal(RefusalCode::OutsideRealRange);
                r.value = echo(v);
                r.realMin = min;
                r.realMax = kMaxAircraftValue;
                return r;
            };
            if (!std::isfinite(d) || std::fabs(d) > kMaxAircraftValue) {
                fail(outside(-kMaxAircraftValue));
            }
            // The speed track bar starts at 0. A missile loaded on an aircraft flying backwards
            // inherits the negative speed, and its drag then grows it without bound to
            // infinity and NaN.
            if (rule.realField == kFieldSpeed && d < 0) {
                fail(outside(0));
            }
            action.aircraftFields[rule.realField] = d;
            break;
        }
        case Kind::Name: {
            if (!v.is_string()) {
                fail(typeRefusal(RefusalCode::NotString, v, true));
            }
            for (int32_t k = 0; k < rule.nameCount; ++k) {
                if (v.get_ref<const std::string&>() == rule.nameOf(k)) {
                    action.*rule.intTarget = k;
                    return;
                }
            }
            Refusal unknown = refusal(RefusalCode::NotOneOf);
            for (int32_t k = 0; k < rule.nameCount; ++k) {
                unknown.names.push_back(shortened(rule.nameOf(k)));
            }
            unknown.value = echo(v);
            fail(unknown);
            break;
        }
        case Kind::OptionalInt:
            action.*rule.optionalTarget =
                static_cast<int32_t>(integerIn(v, rule.min, rule.max, fail));
            break;
    }
}

Action parseAction(const json& item, int32_t position, int64_t ticks, int64_t previousTick,
                   const Reporter& report) {
    if (!item.is_object()) {
        report.action(position, "", "", typeRefusal(RefusalCode::NotObject, item, false));
    }
    const auto opIt = item.find("op");
    if (opIt == item.end()) {
        report.action(position, "", "op", refusal(RefusalCode::Missing));
    }
    if (!opIt->is_string()) {
        report.action(position, "", "op", typeRefusal(RefusalCode::NotString, *opIt, false));
    }
    const std::string opText = opIt->get<std::string>();
    const OpRule* rule = findOp(opText);
    if (rule == nullptr) {
        Refusal unknown = refusal(RefusalCode::UnknownOp);
        unknown.value = shortened(opText);
        report.action(position, "", "op", unknown);
    }
    Action action;
    action.position = position;
    action.op = rule->op;

    const auto fail = [&](std::string_view field) {
        return [&report, position, rule, field](const Refusal& why) {
            report.action(position, rule->name, field, why);
        };
    };

    const auto tickIt = item.find("tick");
    if (tickIt == item.end()) {
        report.action(position, rule->name, "tick", refusal(RefusalCode::Missing));
    }
    action.tick =
        integerIn(*tickIt, 0, ticks, Bound{ticks, RefusalList::ScenarioTicks, ""}, fail("tick"));
    if (action.tick < previousTick) {
        Refusal order = refusal(RefusalCode::TickOrder);
        order.number = action.tick;
        order.min = previousTick;
        report.action(position, rule->name, "tick", order);
    }

    for (const auto& [key, value] : item.items()) {
        if (key == "op" || key == "tick") {
            continue;
        }
        bool known = false;
        for (const FieldRule& f : rule->fields) {
            known = known || f.name == key;
        }
        if (!known) {
            Refusal unknown = refusal(RefusalCode::UnknownField);
            unknown.value = std::string(rule->name);
            for (const FieldRule& f : rule->fields) {
                unknown.names.emplace_back(f.name);
            }
            report.action(position, rule->name, key, unknown);
        }
    }
    // In rule order, so that a limit may depend on a field read before it.
    for (const FieldRule& f : rule->fields) {
        const auto it = item.find(f.name);
        if (it == item.end()) {
            if (f.required) {
                report.action(position, rule->name, f.name, refusal(RefusalCode::Missing));
            }
            continue;
        }
        parseField(f, *it, action, fail(f.name));
    }
    if (action.op == Op::SetReaction) {
        const auto needed = [&action] {
            Refusal r = refusal(RefusalCode::MissingForKind);
            r.value = std::string(reactionKindCode(action.reactionKind));
            return r;
        };
        if (action.reactionKind == kReactionBlink && !action.blinkPeriod) {
            report.action(position, rule->name, "blinkPeriod", needed());
        }
        if (action.reactionKind == kReactionHop && !action.frequencyPercent) {
            report.action(position, rule->name, "frequencyPercent", needed());
        }
    }
    if (action.op == Op::SetAircraft) {
        bool any = false;
        for (const auto& v : action.aircraftFields) {
            any = any || v.has_value();
        }
        if (!any) {
            Refusal none = refusal(RefusalCode::NeedsOneOf);
            for (int f = 0; f < kAircraftFieldCount; ++f) {
                none.names.emplace_back(aircraftFieldName(f));
            }
            report.action(position, rule->name, "", none);
        }
    }
    return action;
}

Scenario parseDocument(const json& doc, const Reporter& report, const ReadProgress& progress) {
    if (!doc.is_object()) {
        report.file(typeRefusal(RefusalCode::ScenarioNotObject, doc, false));
    }
    static constexpr std::array<std::string_view, 5> kTopFields = {"start", "seed", "ticks",
                                                                   "actions", "description"};
    for (const auto& [key, value] : doc.items()) {
        if (std::find(kTopFields.begin(), kTopFields.end(), key) == kTopFields.end()) {
            Refusal unknown = refusal(RefusalCode::UnknownTopField);
            unknown.names.assign(kTopFields.begin(), kTopFields.end());
            report.top(key, unknown);
        }
    }
    Scenario scenario;
    const auto start = doc.find("start");
    if (start == doc.end()) {
        report.top("start", refusal(RefusalCode::Missing));
    }
    if (*start == "default") {
        scenario.start = StartWorld::Default;
    } else if (*start == "empty") {
        scenario.start = StartWorld::Empty;
    } else {
        Refusal unknown = refusal(RefusalCode::UnknownStart);
        unknown.value = echo(*start);
        report.top("start", unknown);
    }
    const auto topFail = [&report](std::string_view field) {
        return [&report, field](const Refusal& why) { report.top(field, why); };
    };
    if (const auto seed = doc.find("seed"); seed != doc.end()) {
        scenario.seed = static_cast<uint32_t>(integerIn(*seed, 0, UINT32_MAX, topFail("seed")));
    }
    const auto ticks = doc.find("ticks");
    if (ticks == doc.end()) {
        report.top("ticks", refusal(RefusalCode::Missing));
    }
    scenario.ticks = integerIn(*ticks, 0, kMaxTicks, topFail("ticks"));
    if (const auto d = doc.find("description"); d != doc.end()) {
        if (!d->is_string()) {
            report.top("description", typeRefusal(RefusalCode::NotString, *d, false));
        }
        scenario.description = d->get<std::string>();
    }
    if (const auto actions = doc.find("actions"); actions != doc.end()) {
        if (!actions->is_array()) {
            report.top("actions", typeRefusal(RefusalCode::NotArray, *actions, false));
        }
        const auto total = static_cast<double>(actions->size());
        int64_t previousTick = 0;
        int32_t position = 0;
        for (const json& item : *actions) {
            if (progress && position % kProgressActions == 0 && position > 0 &&
                !progress(position / total)) {
                report.file(refusal(RefusalCode::Cancelled));
            }
            scenario.actions.push_back(
                parseAction(item, position, scenario.ticks, previousTick, report));
            previousTick = scenario.actions.back().tick;
            ++position;
        }
    }
    return scenario;
}

}  // namespace

std::string_view opName(Op op) {
    for (const OpRule& rule : opRules()) {
        if (rule.op == op) {
            return rule.name;
        }
    }
    return "?";
}

std::string ScenarioError::place() const {
    std::string text = source;
    if (action >= 0) {
        text += ": action " + std::to_string(action);
        if (!op.empty()) {
            text += " (" + op + ")";
        }
        if (tick >= 0) {
            text += " at tick " + std::to_string(tick);
        }
    }
    if (!field.empty()) {
        text += ": field " + inQuotes(field);
    }
    return escapedControls(text);
}

std::string ScenarioError::line() const {
    return place() + ": " + escapedControls(englishText(refusal));
}

std::optional<Scenario> parseScenario(std::string_view text, std::string_view source,
                                      ScenarioError& error, const ReadProgress& progress) {
    const Reporter report(source);
    try {
        return parseDocument(
            parseJsonUniqueKeys(text, [&](const Refusal& why) { report.file(why); }), report,
            progress);
    } catch (const InputError& e) {
        error = e.error;
        return std::nullopt;
    }
}

std::optional<Scenario> parseScenario(std::string_view text, std::string_view source,
                                      std::string& error) {
    ScenarioError e;
    std::optional<Scenario> scenario = parseScenario(text, source, e);
    if (!scenario) {
        error = e.line();
    }
    return scenario;
}

std::optional<Scenario> loadScenario(const std::string& path, ScenarioError& error,
                                     const ReadProgress& progress) {
    std::string text;
    Refusal why;
    switch (readBoundedText(path, text)) {
        case ReadProblem::None:
            return parseScenario(text, path, error, progress);
        case ReadProblem::CannotOpen:
            why = refusal(RefusalCode::FileCannotOpen);
            break;
        case ReadProblem::CannotRead:
            why = refusal(RefusalCode::FileCannotRead);
            break;
        case ReadProblem::NotRegularFile:
            why = refusal(RefusalCode::NotRegularFile);
            break;
        case ReadProblem::TooLarge:
            why = refusal(RefusalCode::FileTooLarge);
            why.max = static_cast<int64_t>(kMaxInputBytes >> 20);
            break;
    }
    error = {path, -1, "", -1, "", why};
    return std::nullopt;
}

std::optional<Scenario> loadScenario(const std::string& path, std::string& error) {
    ScenarioError e;
    std::optional<Scenario> scenario = loadScenario(path, e);
    if (!scenario) {
        error = e.line();
    }
    return scenario;
}

namespace {

// A JSON value as the file holds it; text that is not UTF-8 is written with replacements.
std::string jsonText(const json& value) {
    return value.dump(-1, ' ', false, json::error_handler_t::replace);
}

std::string actionLine(const Action& action) {
    const OpRule* rule = nullptr;
    for (const OpRule& r : opRules()) {
        if (r.op == action.op) {
            rule = &r;
        }
    }
    std::string text = "{\"tick\": " + std::to_string(action.tick) + ", \"op\": ";
    text += jsonText(rule != nullptr ? std::string(rule->name) : std::string("?"));
    for (const FieldRule& f : rule != nullptr ? rule->fields : std::vector<FieldRule>{}) {
        json value;
        switch (f.kind) {
            case Kind::Int:
                value = action.*f.intTarget;
                break;
            case Kind::Bool:
                value = action.*f.boolTarget;
                break;
            case Kind::Real:
                if (!action.aircraftFields[f.realField]) {
                    continue;
                }
                value = *action.aircraftFields[f.realField];
                break;
            case Kind::Name:
                value = std::string(f.nameOf(action.*f.intTarget));
                break;
            case Kind::OptionalInt:
                if (!(action.*f.optionalTarget)) {
                    continue;
                }
                value = *(action.*f.optionalTarget);
                break;
        }
        text += ", " + jsonText(std::string(f.name)) + ": " + jsonText(value);
    }
    return text + "}";
}

}  // namespace

std::string writeScenario(const Scenario& scenario) {
    std::string text = "{\n";
    if (!scenario.description.empty()) {
        text += "  \"description\": " + jsonText(scenario.description) + ",\n";
    }
    text += std::string("  \"start\": ") +
            (scenario.start == StartWorld::Default ? "\"default\"" : "\"empty\"") + ",\n";
    text += "  \"seed\": " + std::to_string(scenario.seed) + ",\n";
    text += "  \"ticks\": " + std::to_string(scenario.ticks) + ",\n";
    text += "  \"actions\": [";
    for (size_t i = 0; i < scenario.actions.size(); ++i) {
        text += (i == 0 ? "\n    " : ",\n    ") + actionLine(scenario.actions[i]);
    }
    text += scenario.actions.empty() ? "]\n}\n" : "\n  ]\n}\n";
    return text;
}

std::optional<ScenarioError> checkAction(const Action& action) {
    Scenario one;
    one.ticks = std::clamp<int64_t>(action.tick, 0, kMaxTicks);
    one.actions.push_back(action);
    one.actions.back().position = 0;
    ScenarioError error;
    if (!parseScenario(writeScenario(one), "action", error)) {
        return error;
    }
    return std::nullopt;
}

}  // namespace prrsim::batch
