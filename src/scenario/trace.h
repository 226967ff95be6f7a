#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>

#include "world/world_state.h"

namespace prrsim::batch {

// One missile detonation as the runner reports it.
struct ImpactRecord {
    int64_t tick = 0;     // ticks run when the tick of the detonation had completed
    int32_t missile = 0;  // its table position when removed
    int32_t typeIndex = 0;
    double x = 0;  // real position at removal
    double y = 0;
    int32_t nearestRadar = -1;           // table position at the detonation, -1 with no radar
    std::optional<double> missDistance;  // horizontal, metres; none with no radar
};

// Fills the nearest radar and the miss distance from the radars on the map now. Ties go to the
// lower table position.
void measureMiss(const WorldState& world, ImpactRecord& impact);

// Appends a double with 17 significant digits (reads back to the same bits); NaN and
// infinities, which JSON cannot hold, as null.
void appendReal(std::string& out, double v);

// Appends a JSON string literal.
void appendString(std::string& out, std::string_view s);

// Appends an integer in decimal.
void appendInteger(std::string& out, int64_t v);

// The same texts as appendReal and appendInteger, written from `first` on (room for
// kNumberChars characters needed); each returns the end of what it wrote.
inline constexpr size_t kNumberChars = 32;
char* writeReal(char* first, double v);
char* writeInteger(char* first, int64_t v);

// One JSON line (with its newline) of the world after `tick` ticks, with the impacts since the
// previous line.
std::string traceLine(const WorldState& world, int64_t tick, std::span<const ImpactRecord> impacts);

// The run's summary line (with its newline): ticks run, the final table counts and every
// impact of the run.
std::string summaryLine(const WorldState& world, int64_t ticks,
                        std::span<const ImpactRecord> impacts);

}  // namespace prrsim::batch
