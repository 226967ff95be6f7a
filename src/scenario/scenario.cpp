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

// The upper limit of an integer field and what it refers to, for the error message.
struct Bound {
    int64_t max = 0;
    std::string what;
};

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
    return {radarTypeCount() - 1, "radar types"};
}
Bound complexBound(const Action&) {
    return {samComplexCount() - 1, "SAM complexes"};
}
Bound missileTypeBound(const Action&) {
    return {missileTypeCount() - 1, "missile types"};
}
Bound launchModeBound(const Action& a) {
    const MissileType& t = missileType(a.type);
    return {t.launchModeCount - 1, "launch modes of " + inQuotes(t.name)};
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

std::string typeName(const json& v) {
    return v.type_name();
}

// Builds the error lines of one scenario file.
class Reporter {
  public:
    explicit Reporter(std::string_view source) : source_(source) {}

    [[noreturn]] void top(std::string_view field, const std::string& reason) const {
        throw InputError{{source_, -1, "", -1, std::string(field), reason}};
    }
    [[noreturn]] void action(int32_t position, std::string_view op, std::string_view field,
                             const std::string& reason) const {
        throw InputError{{source_, position, std::string(op), -1, std::string(field), reason}};
    }
    [[noreturn]] void file(const std::string& reason) const {
        throw InputError{{source_, -1, "", -1, "", reason}};
    }

  private:
    std::string source_;
};

// An integer JSON value within [min, max], or an error naming the range.
int64_t integerIn(const json& v, int64_t min, int64_t max, const std::string& what,
                  const std::function<void(const std::string&)>& fail) {
    if (!v.is_number_integer()) {
        fail("must be an integer, not " + typeName(v) + " " + echo(v));
    }
    // Unsigned values above INT64_MAX are out of every range.
    if (v.is_number_unsigned() && v.get<uint64_t>() > static_cast<uint64_t>(INT64_MAX)) {
        fail(echo(v) + " is outside " + std::to_string(min) + ".." + std::to_string(max) + what);
    }
    const int64_t n = v.get<int64_t>();
    if (n < min || n > max) {
        if (max < min) {
            fail(echo(v) + " is not allowed: there are no" + what);
        }
        fail(echo(v) + " is outside " + std::to_string(min) + ".." + std::to_string(max) + what);
    }
    return n;
}

void parseField(const FieldRule& rule, const json& v, Action& action,
                const std::function<void(const std::string&)>& fail) {
    switch (rule.kind) {
        case Kind::Int: {
            int64_t max = rule.max;
            std::string what;
            if (rule.bound) {
                const Bound b = rule.bound(action);
                max = b.max;
                what = " (the " + b.what + ")";
            }
            action.*rule.intTarget = static_cast<int32_t>(integerIn(v, rule.min, max, what, fail));
            break;
        }
        case Kind::Bool:
            if (!v.is_boolean()) {
                fail("must be true or false, not " + typeName(v) + " " + echo(v));
            }
            action.*rule.boolTarget = v.get<bool>();
            break;
        case Kind::Real: {
            if (!v.is_number()) {
                fail("must be a number, not " + typeName(v) + " " + echo(v));
            }
            const double d = v.get<double>();
            if (!std::isfinite(d) || std::fabs(d) > kMaxAircraftValue) {
                fail(echo(v) + " is outside -1e6..1e6");
            }
            // The speed track bar starts at 0. A missile loaded on an aircraft flying backwards
            // inherits the negative speed, and its drag then grows it without bound to
            // infinity and NaN.
            if (rule.realField == kFieldSpeed && d < 0) {
                fail(echo(v) + " is outside 0..1e6");
            }
            action.aircraftFields[rule.realField] = d;
            break;
        }
        case Kind::Name: {
            if (!v.is_string()) {
                fail("must be a string, not " + typeName(v) + " " + v.dump());
            }
            std::string names;
            for (int32_t k = 0; k < rule.nameCount; ++k) {
                if (v.get<std::string>() == rule.nameOf(k)) {
                    action.*rule.intTarget = k;
                    return;
                }
                names += (k == 0 ? "" : ", ") + inQuotes(rule.nameOf(k));
            }
            fail(v.dump() + " is not one of " + names);
            break;
        }
        case Kind::OptionalInt:
            action.*rule.optionalTarget =
                static_cast<int32_t>(integerIn(v, rule.min, rule.max, "", fail));
            break;
    }
}

Action parseAction(const json& item, int32_t position, int64_t ticks, int64_t previousTick,
                   const Reporter& report) {
    if (!item.is_object()) {
        report.action(position, "", "", "must be an object, not " + typeName(item));
    }
    const auto opIt = item.find("op");
    if (opIt == item.end()) {
        report.action(position, "", "op", "missing");
    }
    if (!opIt->is_string()) {
        report.action(position, "", "op", "must be a string, not " + typeName(*opIt));
    }
    const std::string opText = opIt->get<std::string>();
    const OpRule* rule = findOp(opText);
    if (rule == nullptr) {
        report.action(position, "", "op", "unknown op " + inQuotes(opText));
    }
    Action action;
    action.position = position;
    action.op = rule->op;

    const auto fail = [&](std::string_view field) {
        return [&report, position, rule, field](const std::string& reason) {
            report.action(position, rule->name, field, reason);
        };
    };

    const auto tickIt = item.find("tick");
    if (tickIt == item.end()) {
        report.action(position, rule->name, "tick", "missing");
    }
    action.tick = integerIn(*tickIt, 0, ticks, " (the scenario's ticks)", fail("tick"));
    if (action.tick < previousTick) {
        report.action(position, rule->name, "tick",
                      std::to_string(action.tick) + " comes before the previous action's tick " +
                          std::to_string(previousTick) + " (actions must be sorted by tick)");
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
            std::string fields;
            for (const FieldRule& f : rule->fields) {
                fields += (fields.empty() ? "" : ", ") + std::string(f.name);
            }
            report.action(position, rule->name, key,
                          "unknown field (" + std::string(rule->name) + " takes " +
                              (fields.empty() ? std::string("no fields") : fields) + ")");
        }
    }
    // In rule order, so that a limit may depend on a field read before it.
    for (const FieldRule& f : rule->fields) {
        const auto it = item.find(f.name);
        if (it == item.end()) {
            if (f.required) {
                report.action(position, rule->name, f.name, "missing");
            }
            continue;
        }
        parseField(f, *it, action, fail(f.name));
    }
    if (action.op == Op::SetReaction) {
        if (action.reactionKind == kReactionBlink && !action.blinkPeriod) {
            report.action(position, rule->name, "blinkPeriod", "missing (kind \"blink\" needs it)");
        }
        if (action.reactionKind == kReactionHop && !action.frequencyPercent) {
            report.action(position, rule->name, "frequencyPercent",
                          "missing (kind \"hop\" needs it)");
        }
    }
    if (action.op == Op::SetAircraft) {
        bool any = false;
        for (const auto& v : action.aircraftFields) {
            any = any || v.has_value();
        }
        if (!any) {
            report.action(position, rule->name, "",
                          "needs at least one of x, y, altitude, heading, climbAngle, speed");
        }
    }
    return action;
}

Scenario parseDocument(const json& doc, const Reporter& report) {
    if (!doc.is_object()) {
        report.file("the scenario must be a JSON object, not " + typeName(doc));
    }
    for (const auto& [key, value] : doc.items()) {
        if (key != "start" && key != "seed" && key != "ticks" && key != "actions" &&
            key != "description") {
            report.top(key,
                       "unknown field (a scenario has start, seed, ticks, actions, "
                       "description)");
        }
    }
    Scenario scenario;
    const auto start = doc.find("start");
    if (start == doc.end()) {
        report.top("start", "missing");
    }
    if (*start == "default") {
        scenario.start = StartWorld::Default;
    } else if (*start == "empty") {
        scenario.start = StartWorld::Empty;
    } else {
        report.top("start", "must be \"default\" or \"empty\", not " + echo(*start));
    }
    const auto topFail = [&report](std::string_view field) {
        return [&report, field](const std::string& reason) { report.top(field, reason); };
    };
    if (const auto seed = doc.find("seed"); seed != doc.end()) {
        scenario.seed = static_cast<uint32_t>(integerIn(*seed, 0, UINT32_MAX, "", topFail("seed")));
    }
    const auto ticks = doc.find("ticks");
    if (ticks == doc.end()) {
        report.top("ticks", "missing");
    }
    scenario.ticks = integerIn(*ticks, 0, kMaxTicks, "", topFail("ticks"));
    if (const auto d = doc.find("description"); d != doc.end()) {
        if (!d->is_string()) {
            report.top("description", "must be a string, not " + typeName(*d));
        }
        scenario.description = d->get<std::string>();
    }
    if (const auto actions = doc.find("actions"); actions != doc.end()) {
        if (!actions->is_array()) {
            report.top("actions", "must be an array, not " + typeName(*actions));
        }
        int64_t previousTick = 0;
        int32_t position = 0;
        for (const json& item : *actions) {
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

namespace {

// The error stays one line whatever the input: control characters echoed from it (an op or a
// key holding a newline) are written as escapes.
std::string oneLine(const std::string& message) {
    std::string out;
    out.reserve(message.size());
    for (const char ch : message) {
        const auto c = static_cast<unsigned char>(ch);
        if (c == '\n') {
            out += "\\n";
        } else if (c == '\r') {
            out += "\\r";
        } else if (c == '\t') {
            out += "\\t";
        } else if (c < 0x20 || c == 0x7f) {
            static constexpr char kHex[] = "0123456789abcdef";
            out += "\\u00";
            out += kHex[c >> 4];
            out += kHex[c & 0xf];
        } else {
            out += ch;
        }
    }
    return out;
}

}  // namespace

std::string ScenarioError::line() const {
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
    return oneLine(text + ": " + reason);
}

std::optional<Scenario> parseScenario(std::string_view text, std::string_view source,
                                      ScenarioError& error) {
    const Reporter report(source);
    try {
        return parseDocument(
            parseJsonUniqueKeys(text, [&](const std::string& r) { report.file(r); }), report);
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

std::optional<Scenario> loadScenario(const std::string& path, ScenarioError& error) {
    std::string text;
    switch (readBoundedText(path, text)) {
        case ReadProblem::None:
            return parseScenario(text, path, error);
        case ReadProblem::CannotOpen:
            error = {path, -1, "", -1, "", "cannot open the scenario file"};
            break;
        case ReadProblem::CannotRead:
            error = {path, -1, "", -1, "", "cannot read the scenario file"};
            break;
        case ReadProblem::NotRegularFile:
            error = {path, -1, "", -1, "", "not a regular file"};
            break;
        case ReadProblem::TooLarge:
            error = {path, -1, "", -1, "",
                     "larger than " + std::to_string(kMaxInputBytes >> 20) + " MiB"};
            break;
    }
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
