// The tick allocates nothing: the global allocation functions of this test program count the
// allocations made while a counting window is open, and full-capacity scenes run ticks inside
// it. The replacements only count and forward to malloc/free, so every other test of the
// program runs on them unchanged.

#include <gtest/gtest.h>

#include <atomic>
#include <cstdlib>
#include <new>

#include "bench/capacity_scene.h"
#include "radar/radar_reaction.h"
#include "seeker_direct_reading.h"
#include "sim/tick.h"

namespace {

std::atomic<bool> counting{false};
std::atomic<int64_t> allocations{0};

void* allocate(std::size_t size) {
    if (counting.load(std::memory_order_relaxed)) {
        allocations.fetch_add(1, std::memory_order_relaxed);
    }
    if (void* p = std::malloc(size == 0 ? 1 : size)) {
        return p;
    }
    throw std::bad_alloc();
}

}  // namespace

void* operator new(std::size_t size) {
    return allocate(size);
}
void* operator new[](std::size_t size) {
    return allocate(size);
}
void operator delete(void* p) noexcept {
    std::free(p);
}
void operator delete[](void* p) noexcept {
    std::free(p);
}
void operator delete(void* p, std::size_t) noexcept {
    std::free(p);
}
void operator delete[](void* p, std::size_t) noexcept {
    std::free(p);
}

namespace prrsim {
namespace {

// Allocations made by `ticks` ticks of `world`.
int64_t allocationsOver(WorldState& world, int32_t ticks,
                        void (*tick)(WorldState&, SeekerScratch&) = SimulationTick) {
    const auto scratch = makeSeekerScratch();
    allocations = 0;
    counting = true;
    for (int32_t n = 0; n < ticks; ++n) {
        tick(world, *scratch);
    }
    counting = false;
    return allocations;
}

TEST(TickAllocation, TheCounterSeesAnAllocation) {
    allocations = 0;
    counting = true;
    int* volatile p = new int(7);
    counting = false;
    delete p;
    EXPECT_EQ(allocations, 1);
}

TEST(TickAllocation, NoneAtCapacityBeforeLaunch) {
    auto world = scenes::capacityScene(scenes::Missiles::Harm, false);
    EXPECT_EQ(allocationsOver(*world, 300), 0);
}

TEST(TickAllocation, NoneAtCapacityInFlight) {
    auto world = scenes::capacityScene(scenes::Missiles::Harm, false);
    allocationsOver(*world, 120);
    scenes::launchAll(*world);
    EXPECT_EQ(allocationsOver(*world, 300), 0);
}

// Every catalogue type: automatic searches, target lists, wide search, detonations.
TEST(TickAllocation, NoneWithEveryMissileTypeInFlight) {
    auto world = scenes::capacityScene(scenes::Missiles::Mixed, false);
    allocationsOver(*world, 60);
    scenes::launchAll(*world);
    EXPECT_EQ(allocationsOver(*world, 600), 0);
}

// Every radar reacting (each kind in turn) to the missiles in flight, and undoing it after the
// detonations.
TEST(TickAllocation, NoneWhileEveryRadarReacts) {
    auto world = scenes::capacityScene(scenes::Missiles::Mixed, false);
    for (int32_t j = 0; j < world->radarCount; ++j) {
        const int32_t kind = 1 + j % 3;
        const bool blinks = canBlink(radarType(world->radars[j].typeIndex));
        setReaction(*world, j,
                    {kind == kReactionBlink && !blinks ? kReactionShutdown : kind, 150, 1, 1});
    }
    allocationsOver(*world, 60);
    scenes::launchAll(*world);
    EXPECT_EQ(allocationsOver(*world, 600), 0);
}

// Few radars: the radar index without its grid; the aircraft trigonometry kept per row.
TEST(TickAllocation, NoneInTheStartUpWorldWithALaunchedHarm) {
    auto world = scenes::defaultSceneWithHarm();
    allocationsOver(*world, 100);
    scenes::launchAll(*world);
    EXPECT_EQ(allocationsOver(*world, 400), 0);
}

// The events of the tick are noted and taken without allocating, also with the queue full.
TEST(TickAllocation, NoneForTheEventsOfTheTick) {
    auto world = scenes::capacityScene(scenes::Missiles::Mixed, false);
    allocationsOver(*world, 60);
    scenes::launchAll(*world);
    for (int32_t i = 0; i < world->missileCount; i += 3) {
        world->missiles[i].altitude = 0.05;  // into the ground within a few ticks
    }
    world->events.take();
    int64_t events = 0;
    int64_t detonations = 0;
    const auto scratch = makeSeekerScratch();
    allocations = 0;
    counting = true;
    for (int32_t n = 0; n < 300; ++n) {
        SimulationTick(*world, *scratch);
        for (const WorldEvent& e : world->events.take()) {
            ++events;
            detonations += e.kind == EventKind::Detonated;
        }
    }
    counting = false;
    EXPECT_EQ(allocations, 0);
    EXPECT_GT(detonations, 0);
    EXPECT_GT(events, detonations);
    // A full queue counts what it drops.
    for (int32_t i = 0; i < kEventCapacity; ++i) {
        world->events.push(WorldEvent{});
    }
    EXPECT_EQ(allocationsOver(*world, 300), 0);
    const WorldEvent dropped = world->events.take().back();
    EXPECT_EQ(dropped.kind, EventKind::EventsDropped);
    EXPECT_GT(dropped.value, 1);
}

TEST(TickAllocation, NoneWithTheDirectReading) {
    auto world = scenes::capacityScene(scenes::Missiles::Harm, false);
    EXPECT_EQ(allocationsOver(*world, 50, testing::directTick), 0);
}

}  // namespace
}  // namespace prrsim
