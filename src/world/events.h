#pragma once

// The event log of the core: what happened, to which objects, at which tick. The core notes
// events into a fixed-capacity queue of the world while it works (inside the tick too, without
// allocating); whoever shows or writes them takes them out after each action and each tick.
// Events only describe: nothing in the simulation reads them.

#include <array>
#include <cstdint>
#include <limits>
#include <span>

namespace prrsim {

struct WorldState;

enum class EventKind : uint8_t {
    // Aircraft.
    AircraftAdded,       // aircraft; x, y, altitude
    AircraftRemoved,     // aircraft
    AttackTargetChosen,  // aircraft, radar (none: the target was cleared)
    AttackRunStarted,    // aircraft, radar (its target)
    AttackRunEnded,      // aircraft, radar (its target)
    // Radars.
    RadarAdded,           // radar; value: placed complex or -1; x, y
    RadarRemoved,         // radar
    RadarPlaced,          // radar; x, y
    EmissionOn,           // radar ("Излучение" switched on)
    EmissionOff,          // radar
    BlinkStarted,         // radar; value: blink setting N (radiates one scan in N + 1)
    BlinkStopped,         // radar
    IlluminationOn,       // radar
    IlluminationOff,      // radar
    FrequencyChanged,     // radar; value: percent of the type's range
    EmissionModeChanged,  // radar; value: emission mode index
    RadarTargetAssigned,  // radar, aircraft
    RadarTargetDropped,   // radar, aircraft (none when its entry was already empty)
    ThreatBegan,  // radar, missile (the nearest within the warning distance); distance: to it,
                  // metres; value: the reaction applied (ReactionKind, none when the radar's
                  // state did not allow it); value2: its blink period or frequency percentage
    ThreatPassed,  // radar: the hold time ran out; value: the reaction undone (none when the
                   // instructor had changed its setting or nothing was applied); value2: the
                   // frequency percentage a hop went back to
    // Missiles.
    MissileAdded,          // missile, aircraft (carrier); value: launch mode; x, y, altitude
    MissileActivated,      // missile
    TargetDesignated,      // missile, radar (the crew's capture or data entry)
    CaptureStarted,        // missile; value: CaptureCause
    CaptureCancelled,      // missile
    SeekerSwitchedOn,      // missile; value: switch-on distance, km (launched on entered data)
    Locked,                // missile, radar (the radar the seeker took)
    Relocked,              // missile, radar (locked again after losing a lock)
    LockLost,              // missile, radar (the one it had); value: the launch mode's loss action
    SeekerTargetSwitched,  // missile, radar (now followed), secondRadar (before)
    Launched,              // missile, aircraft (carrier); value: guidance mode; x, y, altitude
    DirectHoming,          // missile: the climb profile gives way to direct homing
    ToWaitingPoint,        // missile: after a lost lock it flies to its waiting point
    WaitingPointReached,   // missile; x, y, altitude
    ParachuteOpened,       // missile; x, y, altitude
    PowerOut,              // missile: on-board power used up; x, y, altitude
    Detonated,       // missile, radar (its target, see noteDetonation), secondRadar (the nearest);
                     // x, y, altitude; distance: horizontal miss to the target, metres;
                     // distance2: horizontal distance to the nearest radar, metres
    MissileRemoved,  // missile, aircraft: it left the table with its carrier, not detonating
    // The queue itself.
    EventsDropped,  // value: events lost because the queue was full since the last take
};
inline constexpr int32_t kEventKindCount = static_cast<int32_t>(EventKind::EventsDropped) + 1;

// Why a capture started.
enum CaptureCause : int32_t {
    kCaptureByCrew = 0,     // "Захват цели"
    kCaptureBySearch = 1,   // the automatic search chose an emitter
    kCaptureAfterLoss = 2,  // the launch mode's loss action captures again
};

// An object as an event names it: its table position at the event (-1 none), its number (1, 2,
// ... in order of creation within its kind, kept for its whole life; 0 none) and its catalogue
// type (radar or missile type; -1 for aircraft and none).
struct ObjectRef {
    int32_t row = -1;
    int32_t number = 0;
    int32_t type = -1;
    bool present() const { return number != 0 || row >= 0; }
};

inline constexpr double kNoDistance = std::numeric_limits<double>::quiet_NaN();

struct WorldEvent {
    int64_t tick = 0;  // ticks run when it happened (an action between ticks: the ticks so far)
    EventKind kind = EventKind::AircraftAdded;
    ObjectRef missile;
    ObjectRef aircraft;
    ObjectRef radar;
    ObjectRef secondRadar;
    int32_t value = 0;
    int32_t value2 = 0;
    double x = 0;  // map pixels
    double y = 0;
    double altitude = 0;  // map units (100 m)
    double distance = kNoDistance;
    double distance2 = kNoDistance;
};

// The state of a missile before a step or a missile-window operation, to report what changed.
struct MissileWatch {
    bool active = false;
    int32_t row = -1;
    uint8_t activated = 0;
    uint8_t launched = 0;
    uint8_t capturing = 0;
    uint8_t locked = 0;
    uint8_t lockLost = 0;
    uint8_t guidanceMode = 0;
    uint8_t directGuidance = 0;
    bool searchDue = false;  // the automatic search runs in this step
};

inline constexpr int32_t kEventCapacity = 1024;

// The world's event queue. One place is kept for the EventsDropped note, so that a full queue
// is never silent.
struct EventQueue {
    std::array<WorldEvent, kEventCapacity> events{};
    int32_t count = 0;
    int64_t dropped = 0;  // since the last take
    int64_t tick = 0;     // ticks run since the world was started
    int32_t lastAircraftNumber = 0;
    int32_t lastRadarNumber = 0;
    int32_t lastMissileNumber = 0;
    MissileWatch watch{};

    // Appends `e`, or counts it as dropped when the queue is full.
    void push(const WorldEvent& e) {
        if (count < kEventCapacity - 1) {
            events[count++] = e;
        } else {
            ++dropped;
        }
    }

    // The events noted since the last take, oldest first, followed by an EventsDropped event
    // when some were lost; the queue is empty afterwards. The view stays valid until the next
    // event is noted.
    std::span<const WorldEvent> take();
};

// The notes. Each is called by the core operation named beside it; "row" is the object's table
// position at the moment of the call.

// startWorld / startEmptyWorld: numbers the records of the start world and reports them.
void noteWorldStarted(WorldState& world);
// SimulationTick, first of all: the events of the tick carry the new tick count.
void noteTickStarted(WorldState& world);

void noteAircraftAdded(WorldState& world, int32_t row);    // after the add
void noteAircraftRemoved(WorldState& world, int32_t row);  // before it leaves the table
void noteAttackTarget(WorldState& world, int32_t row);     // after its target changed
void noteAttackRun(WorldState& world, int32_t row);        // after the attack run switched

void noteRadarsAdded(WorldState& world, int32_t first, int32_t count);  // after the add
void noteRadarRemoved(WorldState& world, int32_t row);  // before it leaves the table
void noteRadarPlaced(WorldState& world, int32_t row);   // it and the rest of its complex moved
// A radar-panel switch (emission, blink, illumination, frequency, emission mode).
void noteRadarSwitch(WorldState& world, int32_t row, EventKind kind, int32_t value = 0);
// The threat step of the tick (radar/radar_reaction.h), before the reaction's own change.
void noteThreatBegan(WorldState& world, int32_t row, int32_t missile, double distanceMetres);
void noteThreatPassed(WorldState& world, int32_t row, bool undone);
// RadarTargetAssigned / RadarTargetDropped of `aircraft` (an aircraft table position or -1).
void noteRadarTarget(WorldState& world, int32_t row, int32_t aircraft, EventKind kind);
// "Сброс всего", before it: every aircraft the radar follows or lists is dropped.
void noteTrackingReset(WorldState& world, int32_t row);

void noteMissileAdded(WorldState& world, int32_t row);  // after the add: numbers it
// The crew's capture or data entry on the carrier's attack target `radar`.
void noteTargetDesignated(WorldState& world, int32_t row, int32_t radar);
// Around each missile-window operation (watchMissile) and a missile's steps in the tick
// (watchMissileStep): watch before, report after. The report notes what changed (activation,
// capture, lock, loss, launch, guidance phases, power) and follows a locked seeker from radar
// to radar.
void watchMissile(WorldState& world, int32_t row);
void watchMissileStep(WorldState& world, int32_t row);
void reportMissile(WorldState& world, int32_t row);
// removeMissile, before the record leaves the table. The missile's target is the radar its
// seeker last locked on (or moved to, see SeekerTargetSwitched), or else the radar the crew
// designated; the miss distance is measured to that radar where it stands now, and is absent
// when the missile had no target or its radar has been removed.
void noteDetonation(WorldState& world, int32_t row);
// Before a missile leaves the table without detonating (removed together with its carrier).
void noteMissileRemoved(WorldState& world, int32_t row);

// A locked seeker that follows another radar than its own in this many receiving steps in a row
// has switched to it.
inline constexpr int32_t kSeekerSwitchSteps = 100;

// A short stable code for the kind ("locked", "detonated", ...), as files name it.
const char* eventKindCode(EventKind kind);

}  // namespace prrsim
