#include "session/session.h"

#include <algorithm>
#include <cstring>
#include <utility>

#include "scenario/actions.h"
#include "scenario/runner.h"
#include "sim/tick.h"
#include "world/world.h"

namespace prrsim::session {

namespace {

template <typename T, size_t N>
void keepUpTo(std::vector<T>& out, const std::array<T, N>& table, int32_t high) {
    out.assign(table.begin(), table.begin() + std::clamp<int32_t>(high, 0, N));
}

// Writes the kept slots back and returns the slots above them, up to `high`, to their
// defaults: in the world being left they may have been written after the snapshot.
template <typename T, size_t N>
void putBack(std::array<T, N>& table, const std::vector<T>& kept, int32_t high) {
    std::copy(kept.begin(), kept.end(), table.begin());
    for (size_t i = kept.size(); i < static_cast<size_t>(std::clamp<int32_t>(high, 0, N)); ++i) {
        table[i] = T{};
    }
}

// Every value a snapshot keeps besides the tables' slots, with its place in the world:
// f(kept, live) for each.
template <typename S, typename W, typename F>
void eachKeptValue(S& s, W& w, F f) {
    f(s.landmarks, w.landmarks);
    f(s.aircraftCount, w.aircraftCount);
    f(s.radarCount, w.radarCount);
    f(s.placedComplexCount, w.placedComplexCount);
    f(s.missileCount, w.missileCount);
    f(s.landmarkCount, w.landmarkCount);
    f(s.random, w.random);
    f(s.eventTick, w.events.tick);
    f(s.lastAircraftNumber, w.events.lastAircraftNumber);
    f(s.lastRadarNumber, w.events.lastRadarNumber);
    f(s.lastMissileNumber, w.events.lastMissileNumber);
}

bool sameBits(double a, double b) {
    return std::memcmp(&a, &b, sizeof a) == 0;
}

}  // namespace

size_t Snapshot::bytes() const {
    return sizeof(Snapshot) + aircraft.capacity() * sizeof(Aircraft) +
           radars.capacity() * sizeof(RadarSite) +
           placedComplexes.capacity() * sizeof(PlacedComplex) +
           missiles.capacity() * sizeof(Missile);
}

Session::Session(WorldState& world) : world_(world) {
    scenario_.start = batch::StartWorld::Default;
    scenario_.seed = kSceneSeed;
    // Nothing is known of how the world came to be: every slot is kept.
    high_ = {kAircraftCapacity, kRadarCapacity, kPlacedComplexCapacity, kMissileCapacity};
    takeSnapshot();
    startReview();
    sampleIfDue();
    reviewOf_ = stamp();
}

void Session::reset(batch::StartWorld start, uint32_t seed) {
    batch::Scenario scenario;
    scenario.start = start;
    scenario.seed = seed;
    if (worldReplacing) {
        worldReplacing(true);
    }
    begin(scenario);
    end_ = 0;
    sampleIfDue();
    ++revision_;
    reviewOf_ = stamp();
    if (worldReplaced) {
        worldReplaced();
    }
}

void Session::begin(const batch::Scenario& scenario) {
    if (scenario.start == batch::StartWorld::Default) {
        startWorld(world_);
    } else {
        startEmptyWorld(world_);
    }
    world_.random.seed(scenario.seed);
    scenario_ = scenario;
    tick_ = 0;
    end_ = scenario.ticks;
    next_ = 0;
    modified_ = false;
    high_ = {};
    noteHighWater();
    snapshots_.clear();
    takeSnapshot();
    startReview();
}

void Session::startReview() {
    review::ReviewStore fresh;
    fresh.follow(review_);
    review_ = std::move(fresh);
    review_.drain(world_);  // the start world's records
    settled_ = false;
}

void Session::sampleIfDue() {
    if (review::sampledAt(tick_)) {
        review_.sample(world_);
    }
}

void Session::noteEvents(bool extending) {
    if (extending) {
        review_.drain(world_);
        settled_ = false;
    } else {
        world_.events.take();  // already in the review, or to be rebuilt
    }
}

const review::ReviewStore& Session::review() {
    if (!settled_ && tick_ == end_ && reviewCurrent()) {
        review_.settle(world_);
        settled_ = true;
    }
    return review_;
}

std::optional<review::ReviewStore> Session::ReviewJob::run(
    const review::ReviewProgress& progress) const {
    return review::reviewOf(recording, "", progress);
}

bool Session::adoptReview(review::ReviewStore&& fresh, const Stamp& madeOf) {
    if (madeOf != stamp()) {
        return false;
    }
    fresh.follow(review_);
    review_ = std::move(fresh);
    reviewOf_ = madeOf;
    settled_ = true;
    return true;
}

void Session::rebuildReview() {
    const ReviewJob job = reviewJob();
    if (std::optional<review::ReviewStore> fresh = job.run()) {
        adoptReview(std::move(*fresh), job.stamp);
    }
}

bool Session::open(const batch::Scenario& scenario, const std::string& source,
                   batch::ScenarioError& error, const Progress& progress) {
    std::unique_ptr<WorldState> world = makeWorld();
    Session run(*world);
    run.begin(scenario);
    constexpr int64_t kProgressEvery = 2000;
    for (;;) {
        while (run.next_ < run.scenario_.actions.size() &&
               run.scenario_.actions[run.next_].tick == run.tick_) {
            const batch::Action& action = run.scenario_.actions[run.next_];
            if (const auto e = batch::applyAction(*world, action)) {
                error = batch::actionError(source, action, *e);
                return false;
            }
            // After each action: an add and a removal in one tick leave the count as it was.
            run.noteHighWater();
            run.review_.drain(*world);
            ++run.next_;
        }
        run.sampleIfDue();
        if (run.tick_ >= run.end_) {
            break;
        }
        run.advance();
        run.review_.drain(*world);
        if (progress && run.tick_ % kProgressEvery == 0 && !progress(run.tick_, run.end_)) {
            error = {source, -1, "", -1, "", batch::refusal(batch::RefusalCode::Cancelled)};
            return false;
        }
    }
    if (worldReplacing) {
        worldReplacing(true);
    }
    WorldObserver* observer = world_.observer;
    world_ = *world;
    world_.observer = observer;

    scenario_ = std::move(run.scenario_);
    tick_ = run.tick_;
    end_ = run.end_;
    next_ = run.next_;
    modified_ = false;
    high_ = run.high_;
    snapshots_ = std::move(run.snapshots_);
    run.review_.settle(*world);
    run.review_.follow(review_);
    review_ = std::move(run.review_);
    settled_ = true;
    ++revision_;
    reviewOf_ = stamp();
    if (worldReplaced) {
        worldReplaced();
    }
    return true;
}

void Session::noteHighWater() {
    high_.aircraft = std::max(high_.aircraft, world_.aircraftCount);
    high_.radars = std::max(high_.radars, world_.radarCount);
    high_.complexes = std::max(high_.complexes, world_.placedComplexCount);
    high_.missiles = std::max(high_.missiles, world_.missileCount);
}

void Session::takeSnapshot() {
    noteHighWater();
    Snapshot s;
    keepUpTo(s.aircraft, world_.aircraft, high_.aircraft);
    keepUpTo(s.radars, world_.radars, high_.radars);
    keepUpTo(s.placedComplexes, world_.placedComplexes, high_.complexes);
    keepUpTo(s.missiles, world_.missiles, high_.missiles);
    eachKeptValue(s, std::as_const(world_), [](auto& kept, const auto& live) { kept = live; });
    snapshots_[tick_] = std::move(s);
}

void Session::restore(const Snapshot& s) {
    putBack(world_.aircraft, s.aircraft, high_.aircraft);
    putBack(world_.radars, s.radars, high_.radars);
    putBack(world_.placedComplexes, s.placedComplexes, high_.complexes);
    putBack(world_.missiles, s.missiles, high_.missiles);
    world_.events.take();  // what was noted after the snapshot did not happen in this world
    eachKeptValue(s, world_, [](const auto& kept, auto& live) { live = kept; });
    high_.aircraft = static_cast<int32_t>(s.aircraft.size());
    high_.radars = static_cast<int32_t>(s.radars.size());
    high_.complexes = static_cast<int32_t>(s.placedComplexes.size());
    high_.missiles = static_cast<int32_t>(s.missiles.size());
}

void Session::advance() {
    SimulationTick(world_, *scratch_);
    ++tick_;
    end_ = std::max(end_, tick_);
    noteHighWater();
    if (tick_ % kSnapshotInterval == 0 && snapshots_.count(tick_) == 0) {
        takeSnapshot();
    }
}

bool Session::applyRecorded() {
    bool any = false;
    while (next_ < scenario_.actions.size() && scenario_.actions[next_].tick == tick_) {
        // Recorded actions were applied when they were made or when the scene was opened: on
        // the same world they apply again.
        batch::applyAction(world_, scenario_.actions[next_]);
        noteHighWater();
        ++next_;
        any = true;
    }
    return any;
}

void Session::step() {
    // Past the end the recording grows, and its review with it.
    const bool extending = tick_ == end_ && reviewCurrent();
    advance();
    noteEvents(extending);
    if (next_ < scenario_.actions.size() && scenario_.actions[next_].tick == tick_) {
        if (worldReplacing) {
            worldReplacing(false);
        }
        applyRecorded();
        noteEvents(extending);
        if (worldReplaced) {
            worldReplaced();
        }
    }
    if (extending) {
        sampleIfDue();
        reviewOf_ = stamp();
    }
}

void Session::jumpTo(int64_t tick) {
    tick = std::clamp<int64_t>(tick, 0, end_);
    if (tick == tick_) {
        return;
    }
    review();  // settled at the end before leaving it
    if (worldReplacing) {
        worldReplacing(false);
    }
    WorldObserver* observer = world_.observer;
    world_.observer = nullptr;
    auto from = std::prev(snapshots_.upper_bound(tick));
    if (!(tick_ < tick && tick_ >= from->first)) {
        restore(from->second);
        tick_ = from->first;
        next_ = static_cast<size_t>(
            std::lower_bound(scenario_.actions.begin(), scenario_.actions.end(), tick_,
                             [](const batch::Action& a, int64_t t) { return a.tick < t; }) -
            scenario_.actions.begin());
        applyRecorded();
    }
    while (tick_ < tick) {
        advance();
        applyRecorded();
    }
    world_.events.take();  // replayed: the review has them
    world_.observer = observer;
    if (worldReplaced) {
        worldReplaced();
    }
}

bool Session::writesSomething(const batch::Action& action) const {
    if (action.op != batch::Op::SetAircraft) {
        return true;
    }
    if (!validAircraft(world_, action.aircraft)) {
        return false;
    }
    const Aircraft& a = aircraftAt(world_, action.aircraft);
    const double now[kAircraftFieldCount] = {a.x,       a.y,          a.altitude,
                                             a.heading, a.climbAngle, a.speed};
    for (int f = 0; f < kAircraftFieldCount; ++f) {
        if (action.aircraftFields[f] && !sameBits(*action.aircraftFields[f], now[f])) {
            return true;
        }
    }
    return false;
}

void Session::dropAfterNow() {
    if (next_ < scenario_.actions.size()) {
        scenario_.actions.resize(next_);
        modified_ = true;
    }
    snapshots_.erase(snapshots_.upper_bound(tick_), snapshots_.end());
    end_ = tick_;
    ++revision_;  // the review has what was dropped: it is made again
}

bool Session::perform(batch::Action action, Change kind) {
    if (kind == Change::WriteBack && (tick_ < end_ || !writesSomething(action))) {
        return false;
    }
    action.tick = tick_;
    action.position = static_cast<int32_t>(scenario_.actions.size());
    if (batch::checkAction(action)) {
        return false;
    }
    if (actionsAhead()) {
        // Ask only about a change that can be made.
        auto probe = std::make_unique<WorldState>(world_);
        probe->observer = nullptr;
        if (batch::applyAction(*probe, action)) {
            return false;
        }
        if (confirmDrop && !confirmDrop(tick_)) {
            return false;
        }
    }
    const bool extending = tick_ == end_ && reviewCurrent();
    if (batch::applyAction(world_, action)) {
        return false;
    }
    if (tick_ < end_) {
        dropAfterNow();
    }
    scenario_.actions.push_back(action);
    next_ = scenario_.actions.size();
    modified_ = true;
    noteHighWater();
    if (extending) {
        // The batch runner samples a tick after its actions.
        review_.unsampleAt(tick_);
        noteEvents(true);
        sampleIfDue();
        reviewOf_ = stamp();
    } else {
        noteEvents(false);
    }
    return true;
}

batch::Scenario Session::recording() const {
    batch::Scenario s = scenario_;
    s.ticks = end_;
    return s;
}

size_t Session::snapshotBytes() const {
    size_t total = 0;
    for (const auto& [tick, s] : snapshots_) {
        total += s.bytes();
    }
    return total;
}

}  // namespace prrsim::session
