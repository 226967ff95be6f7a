#pragma once

#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <random>
#include <string>
#include <vector>

#include "missile/seeker/seeker_scratch.h"
#include "review/review_store.h"
#include "scenario/scenario.h"
#include "world/world_state.h"

namespace prrsim::session {

// The seed of a new scene.
inline constexpr uint32_t kSceneSeed = 1;

// Who writes to the world: the user through a control, or a panel's refresh writing back what
// it shows (the whole-number speed and climb angle through the track bars, the course kept in
// whole degrees).
enum class Change { User, WriteBack };

// The world's records at one tick, before the actions of that tick. Tables are kept up to the
// highest count they have had: slots above it were never written and hold their defaults.
struct Snapshot {
    std::vector<Aircraft> aircraft;
    std::vector<RadarSite> radars;
    std::vector<PlacedComplex> placedComplexes;
    std::vector<Missile> missiles;
    std::array<Landmark, kLandmarkCapacity> landmarks{};
    int32_t aircraftCount = 0;
    int32_t radarCount = 0;
    int32_t placedComplexCount = 0;
    int32_t missileCount = 0;
    int32_t landmarkCount = 0;
    std::mt19937 random;
    // The event log's clock and the objects' numbers go on from here after a jump.
    int64_t eventTick = 0;
    int32_t lastAircraftNumber = 0;
    int32_t lastRadarNumber = 0;
    int32_t lastMissileNumber = 0;

    size_t bytes() const;
};

// One recorded session of the windows: the scene's start and seed and every change made to
// the world, as the batch runner's actions with the tick each was made at. The recording is
// the scene file and the replay at once: `recording()` run by prrsim-batch gives the world of
// the windows bit for bit.
//
// The session runs the ticks and applies every change. It can go back to any tick of the
// recording: the world is rebuilt from the nearest snapshot (one every kSnapshotInterval
// ticks) by running the recording from there. Going on from an earlier tick plays the
// recorded actions as their ticks come; a change made there drops the recording after it
// (after asking). The selection, the map-click modes and the mouse positions belong to the
// windows: the session keeps them as they are across rebuilds and replayed actions, as far as
// their records still exist.
//
// The session also keeps the review of the whole recording (review()), to its last recorded
// tick, as the batch runner would give it: opening, a new scene and extending the recording
// (ticks run past its end, changes made at its end) keep it current as they go; a change made
// before the end leaves it to be rebuilt (reviewCurrent(), ReviewJob, adoptReview()), which
// may happen on another thread. Jumps and replays never change it.
class Session {
  public:
    static constexpr int64_t kSnapshotInterval = 3000;

    // Takes the world as it is as tick 0 of a default scene with the scene seed, whatever it
    // holds (window tests hand over worlds of their own). reset() and open() start real scenes.
    explicit Session(WorldState& world);

    // A new scene: the start world, reseeded, nothing recorded.
    void reset(batch::StartWorld start, uint32_t seed = kSceneSeed);

    // Reports progress of a long run (ticks done of total); returns false to give up.
    using Progress = std::function<bool(int64_t done, int64_t total)>;

    // Opens a scenario: runs it headless to its last tick on a world of its own, then makes it
    // this session, at that tick. On an action that cannot be applied when its tick comes, or
    // when `progress` gives up, returns false and leaves the world and the session as they
    // were; `error` names the action (RefusalCode::Cancelled when given up).
    bool open(const batch::Scenario& scenario, const std::string& source,
              batch::ScenarioError& error, const Progress& progress = {});

    // One tick, then the recorded actions of the tick it reaches.
    void step();

    // Performs one change now, at the current tick, through the batch runner's action and
    // records it. Returns false when nothing was done: the action is not one a scene file can
    // hold, it cannot be applied (table position gone, table full), the user kept the
    // recording after this moment, or (for write-backs) the session is being watched before
    // its end or the value is already there.
    bool perform(batch::Action action, Change kind = Change::User);

    // Rebuilds the world at `tick` (clamped to the recording).
    void jumpTo(int64_t tick);

    // The recording with `ticks` at its end.
    batch::Scenario recording() const;

    // The review of the recording, settled at its end: the last one made when it is not
    // current.
    const review::ReviewStore& review();
    // Whether review() is the review of the recording as it is.
    bool reviewCurrent() const { return reviewOf_ == stamp(); }

    // Which recording a review was made of.
    struct Stamp {
        bool operator==(const Stamp&) const = default;
        uint64_t revision = 0;  // counts the changes to the recording that were not extensions
        int64_t end = 0;
        size_t actions = 0;
    };
    // A rebuild of the review: a copy of the recording, to be run anywhere.
    struct ReviewJob {
        batch::Scenario recording;
        Stamp stamp;
        std::optional<review::ReviewStore> run(const review::ReviewProgress& progress = {}) const;
    };
    ReviewJob reviewJob() const { return {recording(), stamp()}; }
    // Takes a rebuilt review if the recording is still the one it was made of.
    bool adoptReview(review::ReviewStore&& fresh, const Stamp& madeOf);
    // Rebuilds the review here and now.
    void rebuildReview();

    int64_t tick() const { return tick_; }
    int64_t end() const { return end_; }
    // Whether the recording holds actions after the current tick.
    bool actionsAhead() const { return next_ < scenario_.actions.size(); }
    size_t actionCount() const { return scenario_.actions.size(); }

    // Recorded actions not yet saved.
    bool modified() const { return modified_; }
    void setModified(bool modified) { modified_ = modified; }

    size_t snapshotCount() const { return snapshots_.size(); }
    size_t snapshotBytes() const;

    // Asked before a change made before the end drops the actions recorded after `tick`;
    // true drops them. Without it they are dropped.
    std::function<bool(int64_t tick)> confirmDrop;

    // The world is about to be rebuilt or recorded actions replayed (`anotherScene`: a new or
    // opened scene replaces it), then was: the windows keep what of their selection still
    // names the same records, and show the world again.
    std::function<void(bool anotherScene)> worldReplacing;
    std::function<void()> worldReplaced;

  private:
    // Highest counts the tables have had since the last snapshot restored.
    struct HighWater {
        int32_t aircraft = 0;
        int32_t radars = 0;
        int32_t complexes = 0;
        int32_t missiles = 0;
    };

    void begin(const batch::Scenario& scenario);
    void noteHighWater();
    void takeSnapshot();
    void restore(const Snapshot& snapshot);
    // Applies the recorded actions of the current tick not yet applied.
    bool applyRecorded();
    void advance();
    bool writesSomething(const batch::Action& action) const;
    void dropAfterNow();
    Stamp stamp() const { return {revision_, end_, scenario_.actions.size()}; }
    // The review goes on with the world's events (the recording is being extended) or leaves
    // them (they are replayed or rebuilt); a sample follows the actions of a sampled tick.
    void noteEvents(bool extending);
    void sampleIfDue();
    // A new recording made from the start: its review is made with it.
    void startReview();

    WorldState& world_;
    // The seekers' working area, kept from tick to tick; snapshots leave it (it holds no state
    // of the world).
    std::unique_ptr<SeekerScratch> scratch_ = makeSeekerScratch();
    batch::Scenario scenario_;
    int64_t tick_ = 0;
    int64_t end_ = 0;
    size_t next_ = 0;  // the first recorded action not applied yet
    bool modified_ = false;
    HighWater high_;
    std::map<int64_t, Snapshot> snapshots_;
    review::ReviewStore review_;
    uint64_t revision_ = 0;
    Stamp reviewOf_;       // the recording the review was made of
    bool settled_ = true;  // the review's summary is as of the end
};

}  // namespace prrsim::session
