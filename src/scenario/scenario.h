#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "scenario/refusal.h"
#include "world/aircraft_control.h"

namespace prrsim::batch {

// One operation of a scenario: each performs the core operation behind one control of the
// program's windows.
enum class Op {
    AddAircraft,
    RemoveAircraft,
    AddRadar,
    AddComplex,
    PlaceRadar,
    RemoveRadar,
    SetAircraft,
    PickTarget,
    ClearTarget,
    AttackRun,
    SetEmission,
    SetRotation,
    SetBlink,
    SetAntennaDirection,
    SetScanMethod,
    SetFrequency,
    SetPrfMode,
    SetIllumination,
    AssignTarget,
    RemoveTrack,
    ResetTracking,
    AddMissile,
    Activate,
    Capture,
    Launch,
    SeekerOnDistance,
    SetReaction,
};

std::string_view opName(Op op);

// The aircraft fields that setAircraft may write, in AircraftField order.
std::string_view aircraftFieldName(int field);

// A parsed action. Only the fields its op uses are meaningful; the rest keep these defaults.
struct Action {
    bool operator==(const Action&) const = default;

    int32_t position = 0;  // 0-based position in "actions"
    int64_t tick = 0;
    Op op = Op::AddAircraft;
    int32_t aircraft = -1;
    int32_t radar = -1;  // also pickTarget's radar, -1 = a click away from every radar
    int32_t missile = -1;
    int32_t type = 0;  // radar type (addRadar) or missile type (addMissile)
    int32_t complex = 0;
    int32_t launchMode = 0;
    bool operational = true;
    bool on = false;
    int32_t x = 0;
    int32_t y = 0;
    // period, degrees, method, percent, mode, entry or value, by op.
    int32_t value = 0;
    std::array<std::optional<double>, kAircraftFieldCount> aircraftFields{};
    // setReaction: the kind (ReactionKind), the warning distance and hold time, and the blink
    // period or frequency percentage its kind uses (either may be given with any kind, so that
    // a campaign can vary the kind; the other is ignored).
    int32_t reactionKind = 0;
    int32_t warnKm = 0;
    int32_t holdSeconds = 0;
    std::optional<int32_t> blinkPeriod;
    std::optional<int32_t> frequencyPercent;
};

enum class StartWorld { Default, Empty };

struct Scenario {
    bool operator==(const Scenario&) const = default;
    StartWorld start = StartWorld::Default;
    uint32_t seed = 1;
    int64_t ticks = 0;
    std::string description;
    std::vector<Action> actions;
};

inline constexpr int64_t kMaxTicks = 1'000'000'000;
// setAircraft refuses magnitudes above this: no control can produce them.
inline constexpr double kMaxAircraftValue = 1e6;

// Why a scenario cannot be read or run, and where: the parts of its one error line.
struct ScenarioError {
    std::string source;
    int32_t action = -1;  // the action's position in "actions"; -1: the file or a top field
    std::string op;       // the action's op, when known
    int64_t tick = -1;    // the tick the action was applied at; -1: found while reading
    std::string field;    // the field at fault; empty when none
    Refusal refusal;
    // "<source>[: action N[ (op)][ at tick T]][: field "f"]", with control characters
    // written as escapes so that it stays one line.
    std::string place() const;
    // "<place>: <the refusal in English>", one line as place() is.
    std::string line() const;
};

// Told how far the reading of a scenario's actions is (0..1); returns false to give it up,
// which refuses the scenario with RefusalCode::Cancelled. Called once every
// kProgressActions actions, so that it costs nothing next to the reading.
using ReadProgress = std::function<bool(double fraction)>;
inline constexpr int32_t kProgressActions = 4096;

// Reads and checks a scenario. `source` names the file in error messages. On failure returns
// nothing and sets `error` to one line: the file, the action's position, the field and the
// reason. Everything that does not depend on the tables' contents while running is checked
// here (ops, fields, types, catalogue indices, control ranges, tick order).
std::optional<Scenario> parseScenario(std::string_view text, std::string_view source,
                                      std::string& error);
std::optional<Scenario> parseScenario(std::string_view text, std::string_view source,
                                      ScenarioError& error, const ReadProgress& progress = {});

// Reads the file and parses it; a missing or unreadable file is an error like any other.
std::optional<Scenario> loadScenario(const std::string& path, std::string& error);
std::optional<Scenario> loadScenario(const std::string& path, ScenarioError& error,
                                     const ReadProgress& progress = {});

// The scenario as a file that parseScenario reads back to the same Scenario (action
// positions included): the top fields, then one action per line with the fields of its op.
std::string writeScenario(const Scenario& scenario);

// Checks one action as the reader checks it in a file (op fields, ranges, catalogue indices),
// with `action.tick` as the scenario's last tick. Nothing when the action would be read back.
std::optional<ScenarioError> checkAction(const Action& action);

}  // namespace prrsim::batch
