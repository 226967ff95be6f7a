#pragma once

// One run of a campaign as the statistics and the tables need it. The runner builds it from
// the run's missile summaries and writes its line once; only shards being merged and a
// campaign being resumed read lines back into records.

#include <cstdint>
#include <nlohmann/json.hpp>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "campaign/campaign.h"
#include "review/missile_summary.h"
#include "scenario/runner.h"

namespace prrsim::batch {

struct RunMissile {
    int64_t number = 0;
    std::string type;
    std::string launchMode;
    std::optional<int64_t> targetRadar;
    std::optional<int64_t> launchTick;
    std::optional<int64_t> firstLockTick;
    MissileOutcome outcome = MissileOutcome::NotLaunched;
    std::optional<double> missDistance;
    std::optional<double> timeOfFlight;
};

struct CampaignRunRecord {
    int64_t run = 0;
    int64_t combination = 0;
    int64_t repetition = 0;
    int64_t seed = 0;
    std::vector<nlohmann::json> values;  // campaign order
    std::optional<std::string> stopped;  // the line of the action the run stopped at
    std::vector<RunMissile> missiles;
    std::string line;  // the run line, with its line break
};

// How a missile's run ended for the statistics: a hit or a miss is resolved; a missile still
// flying or still on its carrier when the run ended is unresolved.
bool resolved(MissileOutcome outcome);
bool unresolved(MissileOutcome outcome);

// The record of a run just done, its line written: "run", "combination", "repetition", "seed"
// (the scenario's), "values" (name: value, in campaign order), "ticks" (run), "stopped" (null,
// or the line of the action the run stopped at) and "missiles" (the per-missile summaries with
// the campaign's hit radius).
CampaignRunRecord makeRunRecord(const Campaign& campaign, const RunPlan& plan,
                                const Scenario& scenario, const RunResult& result,
                                std::span<const MissileSummary> missiles);

// Reads a run line back and checks it against the campaign: the run's number, combination,
// repetition and values as planned, every missile's outcome a known one and every detonation's
// verdict the one its miss distance and the campaign's hit radius give. On refusal sets
// `error` to the field and the reason.
std::optional<CampaignRunRecord> readRunLine(std::string_view line, const Campaign& campaign,
                                             std::string& error);

}  // namespace prrsim::batch
