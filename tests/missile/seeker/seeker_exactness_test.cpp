// The seeker's fast path against its direct reading: capacity scenes run side by side, one
// world ticked by the program and one with every seeker read directly, and every field of every
// record compared bit for bit after every tick.

#include <gtest/gtest.h>

#include <functional>
#include <iostream>
#include <memory>
#include <string>
#include <string_view>

#include "bench/capacity_scene.h"
#include "missile/seeker/seeker_reception.h"
#include "missile/seeker/seeker_tracking.h"
#include "missile/world_comparison.h"
#include "radar/radar_control.h"
#include "seeker_direct_reading.h"
#include "sim/tick.h"
#include "world/world.h"
#include "world/world_state.h"

namespace prrsim {
namespace {

using testing::compareWorlds;
using testing::Comparison;

// What a run went through, to show the scene reaches the paths it is meant to check.
struct Coverage {
    int64_t gatedReceptions = 0;    // steps received with the direction gate deciding
    int64_t reflections = 0;        // reflections received
    int64_t directReceptions = 0;   // direct paths received
    int64_t illuminationHeard = 0;  // illumination passes accepted, in view and detected
    int64_t lockedMissileTicks = 0;
    int64_t launchedMissileTicks = 0;
    int64_t searches = 0;  // automatic searches run
};

void count(const WorldState& w, Coverage& coverage) {
    const SeekerCatalogs c = programCatalogs();
    for (int32_t i = 0; i < w.missileCount; ++i) {
        const Missile& m = w.missiles[i];
        const MissileType& type = missileType(m.typeIndex);
        coverage.reflections += m.receivedReflectionCount;
        coverage.directReceptions += m.receivedRadarCount;
        coverage.lockedMissileTicks += m.locked;
        coverage.launchedMissileTicks += m.launched;
        if (m.searchEnabled && m.scanTimer > 0.5) {
            ++coverage.searches;
        }
        if (type.directionGate && m.targetPositionState == kTargetFromSeeker &&
            (m.receivedRadarCount > 0 || m.receivedReflectionCount > 0)) {
            ++coverage.gatedReceptions;
        }
        if (!(m.capturing || m.locked) || !m.activated) {
            continue;
        }
        for (int32_t j = 0; j < w.radarCount; ++j) {
            const RadarSite& r = w.radars[j];
            int32_t channel = 0;
            if (r.illuminationOn && radarType(r.typeIndex).hasIlluminator &&
                acceptEmission(c, m, r, -1, channel) && inFieldOfView(c, m, r) &&
                directPower(c, m, r, Channel::Illumination).detected) {
                ++coverage.illuminationHeard;
            }
        }
    }
}

// Runs `ticks` ticks on a fast world and a direct-reading copy, comparing after every tick.
// `edit` runs on both worlds before tick n (the user's actions between ticks).
Coverage runSideBySide(std::unique_ptr<WorldState> fast, int32_t ticks,
                       const std::function<void(WorldState&, int32_t)>& edit) {
    std::unique_ptr<WorldState> direct = makeWorld();
    *direct = *fast;
    const auto fastScratch = makeSeekerScratch();
    const auto directScratch = makeSeekerScratch();
    Coverage coverage;
    for (int32_t n = 0; n < ticks; ++n) {
        edit(*fast, n);
        edit(*direct, n);
        count(*direct, coverage);
        SimulationTick(*fast, *fastScratch);
        testing::directTick(*direct, *directScratch);
        const Comparison cmp = compareWorlds(*fast, *direct);
        if (!cmp.same()) {
            ADD_FAILURE() << "after tick " << n + 1 << ":\n" << cmp.report();
            break;
        }
    }
    std::cout << "coverage: gated " << coverage.gatedReceptions << ", reflections "
              << coverage.reflections << ", direct " << coverage.directReceptions
              << ", illumination " << coverage.illuminationHeard << ", locked "
              << coverage.lockedMissileTicks << ", launched " << coverage.launchedMissileTicks
              << ", searches " << coverage.searches << "\n";
    return coverage;
}

void noEdit(WorldState&, int32_t) {}

TEST(SeekerExactness, HarmCapacitySceneBeforeLaunch) {
    const Coverage c =
        runSideBySide(scenes::capacityScene(scenes::Missiles::Harm, false), 600, noEdit);
    EXPECT_GT(c.gatedReceptions, 0);
    EXPECT_GT(c.reflections, 0);
    EXPECT_GT(c.directReceptions, 0);
    EXPECT_GT(c.illuminationHeard, 0);
    EXPECT_GT(c.lockedMissileTicks, 0);
}

TEST(SeekerExactness, HarmCapacitySceneLaunchedAfterCapture) {
    const Coverage c = runSideBySide(scenes::capacityScene(scenes::Missiles::Harm, false), 600,
                                     [](WorldState& w, int32_t n) {
                                         if (n == 150) {
                                             scenes::launchAll(w);
                                         }
                                     });
    EXPECT_GT(c.gatedReceptions, 0);
    EXPECT_GT(c.reflections, 0);
    EXPECT_GT(c.launchedMissileTicks, 0);
}

TEST(SeekerExactness, EveryMissileTypeInFlight) {
    const Coverage c = runSideBySide(scenes::capacityScene(scenes::Missiles::Mixed, false), 600,
                                     [](WorldState& w, int32_t n) {
                                         if (n == 120) {
                                             scenes::launchAll(w);
                                         }
                                     });
    EXPECT_GT(c.directReceptions, 0);
    EXPECT_GT(c.illuminationHeard, 0);
    EXPECT_GT(c.searches, 0);
    EXPECT_GT(c.launchedMissileTicks, 0);
}

// The radar-side cache must follow the world: radars moved, removed, re-tuned, switched and
// retyped, landmarks moved, between ticks.
TEST(SeekerExactness, UserChangesBetweenTicks) {
    const Coverage c = runSideBySide(
        scenes::capacityScene(scenes::Missiles::Harm, false), 520, [](WorldState& w, int32_t n) {
            switch (n) {
                case 100:
                    placeRadar(w, 10, 390, 190);  // among the landmarks
                    break;
                case 150:
                    removeRadar(w, 3);
                    removeRadar(w, 57);
                    break;
                case 200:
                    w.landmarks[5].x += 7;
                    w.landmarks[6].height = 2;
                    break;
                case 250:
                    for (int32_t j = 0; j < w.radarCount; j += 5) {
                        setIllumination(w.radars[j], !w.radars[j].illuminationOn);
                        setPrfMode(w.radars[j], 1);
                        w.radars[j].height += 1;
                    }
                    break;
                case 300:
                    for (int32_t j = 0; j < w.radarCount; j += 9) {
                        setEmission(w.radars[j], false);
                    }
                    break;
                case 350:
                    w.landmarkCount = 20;
                    break;
                case 400:
                    scenes::launchAll(w);
                    break;
                default:
                    break;
            }
        });
    EXPECT_GT(c.reflections, 0);
    EXPECT_GT(c.gatedReceptions, 0);
}

// The scratch area holds nothing of the world: a world ticked with one kept scratch area and a
// copy ticked with scratch areas swapped every few ticks, one of them last used on a third world
// (another scene, every radar moved), stay identical. A session's jump back relies on it, as the
// scratch area stays where it is when a snapshot is restored.
TEST(SeekerExactness, AnyScratchAreaGivesTheSameWorld) {
    const std::unique_ptr<WorldState> kept = scenes::capacityScene(scenes::Missiles::Harm, false);
    const std::unique_ptr<WorldState> swapped = makeWorld();
    *swapped = *kept;
    const std::unique_ptr<WorldState> other = scenes::capacityScene(scenes::Missiles::Mixed, false);
    const auto keptScratch = makeSeekerScratch();
    const auto first = makeSeekerScratch();
    const auto second = makeSeekerScratch();
    for (int32_t n = 0; n < 400; ++n) {
        if (n == 150) {
            scenes::launchAll(*kept);
            scenes::launchAll(*swapped);
        }
        SeekerScratch& scratch = (n / 7) % 2 == 0 ? *first : *second;
        if (n % 13 == 0) {
            // The unused area serves another world meanwhile.
            SeekerScratch& idle = &scratch == first.get() ? *second : *first;
            const int32_t shift = (n / 13) % 2 == 0 ? 9 : -9;
            for (int32_t j = 0; j < other->radarCount; ++j) {
                placeRadar(*other, j, other->radars[j].x + shift, other->radars[j].y - shift);
            }
            SimulationTick(*other, idle);
        }
        SimulationTick(*kept, *keptScratch);
        SimulationTick(*swapped, scratch);
        const Comparison cmp = compareWorlds(*kept, *swapped);
        ASSERT_TRUE(cmp.same()) << "after tick " << n + 1 << ":\n" << cmp.report();
    }
}

// A type whose band the "AGM-88C HARM" does not receive.
int32_t typeOutOfHarmBand() {
    const std::string_view bands = missileType(scenes::missileTypeNamed("AGM-88C HARM")).bands;
    for (int32_t t = 0; t < radarTypeCount(); ++t) {
        if (bands.find(radarType(t).band) == std::string_view::npos) {
            return t;
        }
    }
    return -1;
}

// The radar index of one tick serves the next while the radars it was built from stay as they
// were. On the start-up world (few radars: no grid) and with ten more radars far off (a grid),
// the radars the missile hears are switched off, retyped out of its band or moved away at tick
// 100, together with a change of another radar that rebuilds the index, and put back alone at
// tick 150: from then on they must be heard again.
TEST(SeekerExactness, RadarIndexOfAnEarlierTickMissesNoRadarPutBack) {
    const std::unique_ptr<WorldState> start = scenes::defaultSceneWithHarm();
    const int32_t outOfBand = typeOutOfHarmBand();
    ASSERT_GE(outOfBand, 0);
    struct Row {
        const char* name;
        std::function<void(WorldState&, int32_t, bool)> edit;  // radar row, away or back
    };
    const Row rows[] = {
        {"switched off", [](WorldState& w, int32_t j, bool away) { setEmission(w, j, !away); }},
        {"retyped",
         [&](WorldState& w, int32_t j, bool away) {
             w.radars[j].typeIndex = away ? outOfBand : start->radars[j].typeIndex;
         }},
        {"moved west",
         [](WorldState& w, int32_t j, bool away) { w.radars[j].x += away ? -400 : 400; }},
        {"moved north",
         [](WorldState& w, int32_t j, bool away) { w.radars[j].y += away ? -300 : 300; }},
    };
    const int32_t heard[] = {0, 1, 4, 5};  // the two target complexes
    for (const Row& row : rows) {
        for (const bool grid : {false, true}) {
            SCOPED_TRACE(std::string(row.name) + (grid ? ", grid" : ", no grid"));
            std::unique_ptr<WorldState> world = scenes::defaultSceneWithHarm();
            for (int32_t k = 0; grid && k < 10; ++k) {
                ASSERT_EQ(addRadars(*world, 2 + k % 2, -1, true), 1);
                placeRadar(*world, world->radarCount - 1, 20 + 50 * k, 420);
            }
            const Coverage c = runSideBySide(std::move(world), 250, [&](WorldState& w, int32_t n) {
                if (n == 100 || n == 150) {
                    for (const int32_t j : heard) {
                        row.edit(w, j, n == 100);
                    }
                }
                if (n == 100) {
                    setEmission(w, 2, false);
                    w.radars[2].height += 1;
                }
            });
            EXPECT_GT(c.directReceptions, 100);  // heard again after tick 150
        }
    }
}

// The same on the start-up world with one capturing "AGM-88C HARM", launched later.
TEST(SeekerExactness, DefaultSceneWithOneHarm) {
    runSideBySide(scenes::defaultSceneWithHarm(), 800, [](WorldState& w, int32_t n) {
        if (n == 300) {
            scenes::launchAll(w);
        }
    });
}

}  // namespace
}  // namespace prrsim
