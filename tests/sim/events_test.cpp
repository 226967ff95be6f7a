// The core's event log: the queue, the objects' numbers, the seeker-switch rule, the detonation
// record and the blink summary. Whole attacks are followed in tests/scenario/review_test.cpp.
#include "world/events.h"

#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "missile/missile_loading.h"
#include "radar/radar_control.h"
#include "sim/tick.h"
#include "world/world.h"

namespace prrsim {
namespace {

std::vector<WorldEvent> taken(WorldState& world) {
    const std::span<const WorldEvent> events = world.events.take();
    return {events.begin(), events.end()};
}

std::vector<WorldEvent> ofKind(const std::vector<WorldEvent>& events, EventKind kind) {
    std::vector<WorldEvent> found;
    for (const WorldEvent& e : events) {
        if (e.kind == kind) {
            found.push_back(e);
        }
    }
    return found;
}

TEST(EventQueue, AFullQueueCountsWhatItDropsAndSaysSo) {
    auto world = makeWorld();
    for (int32_t i = 0; i < kEventCapacity + 5; ++i) {
        WorldEvent e;
        e.tick = i;
        world->events.push(e);
    }
    const std::vector<WorldEvent> events = taken(*world);
    ASSERT_EQ(events.size(), static_cast<size_t>(kEventCapacity));
    EXPECT_EQ(events[kEventCapacity - 2].tick, kEventCapacity - 2);  // the oldest are kept
    EXPECT_EQ(events.back().kind, EventKind::EventsDropped);
    EXPECT_EQ(events.back().value, 6);
    EXPECT_TRUE(world->events.take().empty());
    world->events.push(WorldEvent{});
    EXPECT_EQ(world->events.take().size(), 1u);  // counting starts again after a take
}

TEST(EventNumbers, StayWithTheirRecordsWhenTablesShiftAndAreNeverReused) {
    auto world = makeWorld();
    startWorld(*world);
    removeAircraft(*world, 1);
    EXPECT_EQ(world->aircraft[1].number, 3);
    EXPECT_EQ(world->aircraft[addAircraft(*world)].number, 5);
    removeRadar(*world, 0);
    EXPECT_EQ(world->radars[0].number, 2);
    addRadars(*world, 0, -1, true);
    EXPECT_EQ(world->radars[world->radarCount - 1].number, 7);

    for (int k = 0; k < 3; ++k) {
        addMissile(*world, 0, 0, 0);
    }
    taken(*world);
    removeMissile(*world, 0);
    EXPECT_EQ(world->missiles[0].review.number, 2);
    EXPECT_EQ(world->missiles[1].review.number, 3);
    EXPECT_EQ(world->missiles[addMissile(*world, 0, 0, 0)].review.number, 4);
    const std::vector<WorldEvent> detonations = ofKind(taken(*world), EventKind::Detonated);
    ASSERT_EQ(detonations.size(), 1u);
    EXPECT_EQ(detonations[0].missile.number, 1);
}

// An empty map with radars of one type in a column and a missile locked on radar number 1.
class LockedMissile : public ::testing::Test {
  protected:
    void SetUp() override {
        startEmptyWorld(*world);
        for (int32_t k = 0; k < 3; ++k) {
            addRadars(*world, 0, -1, true);
            placeRadar(*world, k, 400, 200 + 20 * k);
        }
        row = addMissile(*world, addAircraft(*world), 3, 0);
        Missile& m = world->missiles[row];
        m.locked = 1;
        m.review.lockedRadar = 1;
        taken(*world);
    }
    // One step in which the seeker hears radar `radar` (a table position, -1 nothing) alone.
    void step(int32_t radar) {
        watchMissileStep(*world, row);
        Missile& m = world->missiles[row];
        m.receivedRadarCount = radar < 0 ? 0 : 1;
        m.receivedRadars[0] = radar;
        if (radar >= 0) {
            m.targetX = world->radars[radar].x;
            m.targetY = world->radars[radar].y;
        }
        reportMissile(*world, row);
    }
    std::unique_ptr<WorldState> world = makeWorld();
    int32_t row = -1;
};

TEST_F(LockedMissile, SeekerSwitchNeedsAHundredReceivingStepsOnAnotherRadar) {
    for (int32_t n = 0; n < kSeekerSwitchSteps - 1; ++n) {
        step(n == 50 ? -1 : 1);  // silence neither counts nor breaks the streak
    }
    step(0);  // its own radar again: the streak starts over
    for (int32_t n = 0; n < kSeekerSwitchSteps - 1; ++n) {
        step(1);
    }
    EXPECT_TRUE(taken(*world).empty());
    step(1);
    const std::vector<WorldEvent> events = taken(*world);
    ASSERT_EQ(events.size(), 1u);
    EXPECT_EQ(events[0].kind, EventKind::SeekerTargetSwitched);
    EXPECT_EQ(events[0].radar.number, 2);
    EXPECT_EQ(events[0].secondRadar.number, 1);
    EXPECT_EQ(world->missiles[row].review.lockedRadar, 2);
}

// The target of a detonation and the miss measured to it.
TEST_F(LockedMissile, DetonationMeasuresTheMissToItsTarget) {
    struct Row {
        const char* name;
        int32_t locked;      // review.lockedRadar
        int32_t designated;  // review.designatedRadar
        int32_t removeRow;   // a radar removed before the detonation, or -1
        int32_t target;      // expected target number
        double miss;         // expected miss, metres (NaN: none)
    };
    const double none = std::nan("");
    // The missile bursts at (400, 203): 3 px from radar 1, 17 from radar 2, 37 from radar 3.
    const Row rows[] = {
        {"the locked radar first", 2, 3, -1, 2, 1700},
        {"else the designated one", 0, 3, -1, 3, 3700},
        {"no target at all", 0, 0, -1, 0, none},
        {"its radar removed since", 2, 0, 1, 2, none},
    };
    for (const Row& r : rows) {
        SetUp();
        if (r.removeRow >= 0) {
            removeRadar(*world, r.removeRow);
            taken(*world);
        }
        Missile& m = world->missiles[row];
        m.review.lockedRadar = r.locked;
        m.review.designatedRadar = r.designated;
        m.x = 400;
        m.y = 203;
        removeMissile(*world, row);
        const std::vector<WorldEvent> events = ofKind(taken(*world), EventKind::Detonated);
        ASSERT_EQ(events.size(), 1u) << r.name;
        const WorldEvent& e = events[0];
        EXPECT_EQ(e.radar.number, r.target) << r.name;
        if (std::isnan(r.miss)) {
            EXPECT_TRUE(std::isnan(e.distance)) << r.name;
        } else {
            EXPECT_DOUBLE_EQ(e.distance, r.miss) << r.name;
        }
        EXPECT_EQ(e.secondRadar.number, r.removeRow == 0 ? 2 : 1) << r.name;
        EXPECT_DOUBLE_EQ(e.distance2, r.removeRow == 0 ? 1700 : 300) << r.name;
    }
}

// Removing an aircraft takes its loaded missiles along: each is logged as removed, not as a
// detonation, with the number it was loaded under.
TEST(EventNumbers, MissilesRemovedWithTheirCarrierAreLoggedAsSuch) {
    auto world = makeWorld();
    startWorld(*world);
    addMissile(*world, 1, 0, 0);
    addMissile(*world, 1, 0, 0);
    taken(*world);
    removeAircraft(*world, 1);
    const std::vector<WorldEvent> events = taken(*world);
    const std::vector<WorldEvent> removed = ofKind(events, EventKind::MissileRemoved);
    ASSERT_EQ(removed.size(), 2u);
    EXPECT_EQ(removed[0].missile.number + removed[1].missile.number, 1 + 2);
    EXPECT_TRUE(ofKind(events, EventKind::Detonated).empty());
}

TEST(BlinkEvents, ABlinkingRadarIsLoggedWhenSetNotAtEachSwitch) {
    auto world = makeWorld();
    startWorld(*world);
    setBlinkPeriod(*world, 2, 1);
    int switches = 0;
    bool radiating = world->radars[2].radiating;
    std::vector<WorldEvent> events;
    const auto scratch = makeSeekerScratch();
    for (int n = 0; n < 5000; ++n) {
        SimulationTick(*world, *scratch);
        switches += world->radars[2].radiating != radiating;
        radiating = world->radars[2].radiating;
        for (const WorldEvent& e : world->events.take()) {
            if (e.radar.number == 3) {
                events.push_back(e);
            }
        }
    }
    setBlinkPeriod(*world, 2, 0);
    for (const WorldEvent& e : world->events.take()) {
        events.push_back(e);
    }
    EXPECT_GT(switches, 4);
    ASSERT_EQ(events.size(), 3u);
    EXPECT_EQ(events[0].kind, EventKind::RadarAdded);
    EXPECT_EQ(events[1].kind, EventKind::BlinkStarted);
    EXPECT_EQ(events[1].value, 1);
    EXPECT_EQ(events[2].kind, EventKind::BlinkStopped);
}

}  // namespace
}  // namespace prrsim
