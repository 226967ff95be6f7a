#pragma once

// One line per missile of a run: what it was, who launched it at what, when it locked, how it
// ended and by how much it missed. Built from the event log alone, in process and without
// files, so that a window can keep it live and a campaign can take it after every run.

#include <cstdint>
#include <optional>
#include <ostream>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "scenario/run_listener.h"
#include "world/events.h"
#include "world/world_state.h"

namespace prrsim::batch {

// A detonation within this horizontal distance of the missile's target radar is a hit.
inline constexpr double kDefaultHitRadiusMetres = 20.0;

enum class MissileOutcome {
    NotLaunched,         // still on its carrier at the end
    Flying,              // launched, not detonated by the end
    Hit,                 // detonated within the hit radius of its target radar
    Miss,                // detonated farther, or without a target radar
    RemovedWithCarrier,  // left the table with its carrier, never detonating
};

// "hit", "miss", "flying", "notLaunched", "removedWithCarrier".
std::string_view outcomeCode(MissileOutcome outcome);
// "попадание", "промах", "в полёте", "на подвеске", "снята с носителем".
std::string_view outcomeLabel(MissileOutcome outcome);

struct MissileSummary {
    int32_t number = 0;  // 1, 2, ... in order of loading
    int32_t typeIndex = -1;
    int32_t launchModeIndex = -1;
    int32_t carrier = 0;  // number of the aircraft it was loaded on
    // Its target: the radar it detonated against, or else the radar its seeker last locked on
    // (or moved to), or else the radar the crew designated; 0 none.
    int32_t targetRadar = 0;
    int32_t targetRadarType = -1;
    int64_t loadTick = 0;
    std::optional<int64_t> launchTick;
    std::optional<int64_t> firstLockTick;
    std::optional<int64_t> endTick;  // detonation or removal
    MissileOutcome outcome = MissileOutcome::NotLaunched;
    std::optional<double> missDistance;  // horizontal, metres, to the target radar at detonation
    std::optional<double> timeOfFlight;  // seconds from launch to detonation, or to the end
    double x = 0;                        // where it detonated, map pixels
    double y = 0;
    double altitude = 0;  // map units
};

// Follows the missiles through the events of a run (or of a window session) as they come.
// Reusable: clear() starts a new run.
class MissileSummaryCollector final : public RunListener {
  public:
    void onEvents(const WorldState& world, std::span<const WorldEvent> events) override;
    void add(std::span<const WorldEvent> events);
    void clear();

    // One summary per missile loaded so far, in order of loading, as of the world's present
    // tick. A hit is a detonation within `hitRadiusMetres` of the target radar. A missile that
    // has left the table without a detonation counts as removed with its carrier.
    std::vector<MissileSummary> summaries(const WorldState& world,
                                          double hitRadiusMetres = kDefaultHitRadiusMetres) const;

  private:
    struct Track {
        MissileSummary row;
        bool detonated = false;
        bool removed = false;
        int32_t designated = 0;
        int32_t designatedType = -1;
    };
    std::vector<Track> tracks_;  // by number - 1
};

// The summaries of a whole event log.
std::vector<MissileSummary> summarizeMissiles(std::span<const WorldEvent> events,
                                              const WorldState& world,
                                              double hitRadiusMetres = kDefaultHitRadiusMetres);

// One JSON object and a line break: "missileNumber", "type", "launchMode", "carrierNumber",
// "targetRadarNumber", "targetRadarType", "launchTick", "firstLockTick", "outcome",
// "missDistance", "timeOfFlight", "endTick" (null where absent).
std::string missileSummaryJsonLine(const MissileSummary& summary);

// The CSV table: header row, one row per missile.
std::string missileSummaryCsvHeader();
std::string missileSummaryCsvRow(const MissileSummary& summary);
// The byte-order mark, the header and every row.
void writeMissileSummaryCsv(std::ostream& out, std::span<const MissileSummary> summaries);

}  // namespace prrsim::batch
