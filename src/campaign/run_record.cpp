#include "campaign/run_record.h"

#include "review/event_log.h"
#include "scenario/json_writer.h"

namespace prrsim::batch {

using nlohmann::json;

namespace {

constexpr MissileOutcome kOutcomes[] = {MissileOutcome::NotLaunched, MissileOutcome::Flying,
                                        MissileOutcome::Hit, MissileOutcome::Miss,
                                        MissileOutcome::RemovedWithCarrier};

std::optional<int64_t> optionalInteger(const json& object, const char* key, bool& bad) {
    const auto it = object.find(key);
    if (it == object.end() || it->is_null()) {
        return std::nullopt;
    }
    if (!it->is_number_integer()) {
        bad = true;
        return std::nullopt;
    }
    return it->get<int64_t>();
}

std::optional<double> optionalNumber(const json& object, const char* key, bool& bad) {
    const auto it = object.find(key);
    if (it == object.end() || it->is_null()) {
        return std::nullopt;
    }
    if (!it->is_number()) {
        bad = true;
        return std::nullopt;
    }
    return it->get<double>();
}

std::string textOf(const json& object, const char* key, bool& bad) {
    const auto it = object.find(key);
    if (it == object.end() || it->is_null()) {
        return {};
    }
    if (!it->is_string()) {
        bad = true;
        return {};
    }
    return it->get<std::string>();
}

// The missile's fields, or the name of the first one refused.
std::optional<RunMissile> readMissile(const json& m, double hitRadius, std::string& field) {
    RunMissile r;
    if (!m.is_object()) {
        field = "not an object";
        return std::nullopt;
    }
    bool bad = false;
    const auto check = [&bad, &field](const char* name) {
        if (bad && field.empty()) {
            field = name;
        }
        return !bad;
    };
    r.number = optionalInteger(m, "missileNumber", bad).value_or(0);
    r.type = textOf(m, "type", bad);
    r.launchMode = textOf(m, "launchMode", bad);
    r.targetRadar = optionalInteger(m, "targetRadarNumber", bad);
    r.launchTick = optionalInteger(m, "launchTick", bad);
    r.firstLockTick = optionalInteger(m, "firstLockTick", bad);
    r.missDistance = optionalNumber(m, "missDistance", bad);
    if (!check("a number field")) {
        return std::nullopt;
    }
    r.timeOfFlight = optionalNumber(m, "timeOfFlight", bad);
    const std::string outcome = textOf(m, "outcome", bad);
    bool known = false;
    for (const MissileOutcome o : kOutcomes) {
        if (outcomeCode(o) == outcome) {
            r.outcome = o;
            known = true;
        }
    }
    if (!known) {
        field = "outcome";
        return std::nullopt;
    }
    // The verdict is the miss distance against the hit radius, as the runner gives it.
    const bool detonated = r.outcome == MissileOutcome::Hit || r.outcome == MissileOutcome::Miss;
    const bool hit = r.missDistance && *r.missDistance <= hitRadius;
    if (detonated && hit != (r.outcome == MissileOutcome::Hit)) {
        field = "outcome (\"" + outcome + "\" at a miss distance of " +
                (r.missDistance ? json(*r.missDistance).dump() : std::string("null")) + " m)";
        return std::nullopt;
    }
    return r;
}

}  // namespace

bool resolved(MissileOutcome outcome) {
    return outcome == MissileOutcome::Hit || outcome == MissileOutcome::Miss;
}

bool unresolved(MissileOutcome outcome) {
    return outcome == MissileOutcome::Flying || outcome == MissileOutcome::NotLaunched;
}

CampaignRunRecord makeRunRecord(const Campaign& campaign, const RunPlan& plan,
                                const Scenario& scenario, const RunResult& result,
                                std::span<const MissileSummary> missiles) {
    CampaignRunRecord r;
    r.run = plan.run;
    r.combination = plan.combination;
    r.repetition = plan.repetition;
    r.seed = scenario.seed;
    r.values = plan.values;
    if (result.status != RunStatus::Ok) {
        r.stopped = result.error;
    }
    std::string& line = r.line;
    ObjectWriter run(line);
    run.integer("run", plan.run)
        .integer("combination", plan.combination)
        .integer("repetition", plan.repetition)
        .integer("seed", scenario.seed)
        .key("values");
    ObjectWriter values(line);
    for (size_t k = 0; k < campaign.varied.size(); ++k) {
        values.key(campaign.varied[k].name);
        line += plan.values[k].dump();
    }
    values.close();
    run.integer("ticks", result.ticksRun);
    if (r.stopped) {
        run.string("stopped", *r.stopped);
    } else {
        run.null("stopped");
    }
    run.key("missiles");
    line += '[';
    for (size_t m = 0; m < missiles.size(); ++m) {
        const MissileSummary& s = missiles[m];
        std::string object = missileSummaryJsonLine(s);
        object.pop_back();  // its line break
        line += (m == 0 ? "" : ",") + object;
        RunMissile& missile = r.missiles.emplace_back();
        missile.number = s.number;
        missile.type = std::string(missileTypeName(s.typeIndex));
        missile.launchMode = std::string(launchModeName(s.typeIndex, s.launchModeIndex));
        if (s.targetRadar != 0) {
            missile.targetRadar = s.targetRadar;
        }
        missile.launchTick = s.launchTick;
        missile.firstLockTick = s.firstLockTick;
        missile.outcome = s.outcome;
        missile.missDistance = s.missDistance;
        missile.timeOfFlight = s.timeOfFlight;
    }
    line += ']';
    run.close();
    line += '\n';
    return r;
}

std::optional<CampaignRunRecord> readRunLine(std::string_view text, const Campaign& c,
                                             std::string& error) {
    json line;
    try {
        line = json::parse(text.begin(), text.end());
    } catch (const json::exception&) {
        error = "not a JSON line";
        return std::nullopt;
    }
    const auto integer = [&line](const char* key) -> std::optional<int64_t> {
        const auto it = line.is_object() ? line.find(key) : line.end();
        return it != line.end() && it->is_number_integer() ? std::optional(it->get<int64_t>())
                                                           : std::nullopt;
    };
    const auto refuse = [&error](const std::string& field, const std::string& why) {
        error = "field \"" + field + "\": " + why;
        return std::nullopt;
    };
    if (!line.is_object()) {
        error = "not a run line";
        return std::nullopt;
    }
    CampaignRunRecord r;
    const std::optional<int64_t> run = integer("run");
    if (!run || *run < 0 || *run >= c.runs) {
        return refuse("run", "must be a run number from 0 to " + std::to_string(c.runs - 1));
    }
    const RunPlan plan = planRun(c, *run);
    r.run = *run;
    r.combination = plan.combination;
    r.repetition = plan.repetition;
    if (integer("combination") != plan.combination) {
        return refuse("combination", "run " + std::to_string(r.run) + " is combination " +
                                         std::to_string(plan.combination));
    }
    if (integer("repetition") != plan.repetition) {
        return refuse("repetition", "run " + std::to_string(r.run) + " is repetition " +
                                        std::to_string(plan.repetition));
    }
    const std::optional<int64_t> seed = integer("seed");
    if (!seed) {
        return refuse("seed", "must be a whole number");
    }
    r.seed = *seed;
    const auto values = line.find("values");
    if (values == line.end() || !values->is_object() || values->size() != c.varied.size()) {
        return refuse("values", "must name every varied value");
    }
    for (size_t k = 0; k < c.varied.size(); ++k) {
        const auto v = values->find(c.varied[k].name);
        if (v == values->end() || *v != plan.values[k]) {
            return refuse("values", "\"" + c.varied[k].name + "\" is not the run's planned value " +
                                        plan.values[k].dump());
        }
        r.values.push_back(*v);
    }
    const auto stopped = line.find("stopped");
    if (stopped == line.end() || !(stopped->is_null() || stopped->is_string())) {
        return refuse("stopped", "must be null or the line of an action");
    }
    if (stopped->is_string()) {
        r.stopped = stopped->get<std::string>();
    }
    const auto missiles = line.find("missiles");
    if (missiles == line.end() || !missiles->is_array()) {
        return refuse("missiles", "must be a list");
    }
    for (size_t m = 0; m < missiles->size(); ++m) {
        std::string field;
        std::optional<RunMissile> missile = readMissile((*missiles)[m], c.hitRadius, field);
        if (!missile) {
            return refuse("missiles/" + std::to_string(m), field);
        }
        r.missiles.push_back(std::move(*missile));
    }
    r.line = std::string(text);
    if (r.line.empty() || r.line.back() != '\n') {
        r.line += '\n';
    }
    return r;
}

}  // namespace prrsim::batch
