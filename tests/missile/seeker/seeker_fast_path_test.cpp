// The fast path's caches and pre-tests on small scenes of the tests' own making: whatever
// changes between two seeker steps (landmarks, radar place and antenna, the radar type's beam
// and side lobes), the step gives the same result as the direct reading, field for field.

#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <limits>
#include <memory>
#include <random>

#include "missile/seeker/seeker_geometry.h"
#include "missile/seeker/seeker_radar_index.h"
#include "missile/seeker/seeker_tracking.h"
#include "missile/world_comparison.h"
#include "seeker_direct_reading.h"
#include "seeker_test_support.h"
#include "world/geometry.h"

namespace prrsim {
namespace {

using testing::compareWorlds;
using testing::kFireControl;
using testing::kSearch;
using testing::Scene;
using testing::TestCatalogs;

class SeekerFastPath : public ::testing::Test {
  protected:
    TestCatalogs cats;
    Scene scene;
    std::unique_ptr<WorldState> direct = makeWorld();
    std::unique_ptr<SeekerScratch> directScratch = makeSeekerScratch();

    SeekerCatalogs c() const { return cats.view(); }

    // A radar 100 px ahead whose reflection off a landmark beside the missile's path reaches
    // the seeker through the side lobes.
    void SetUp() override {
        scene.addRadar(kSearch, 150);
        scene.addLandmark(120, 101, 800);
        scene.missile().capturing = 1;
    }

    // One seeker step on the scene (fast) and on its copy (direct reading), after `edit` on
    // both; the worlds must stay identical. Returns the reflections received.
    int32_t step(const std::function<void(WorldState&)>& edit) {
        if (direct->radarCount == 0) {
            *direct = *scene.world;
        }
        edit(*scene.world);
        edit(*direct);
        seekerStep(c(), *scene.world, *scene.scratch, scene.world->missiles[0]);
        seekerStep(c(), *direct, *directScratch, direct->missiles[0], testing::directReading());
        const testing::Comparison cmp = compareWorlds(*scene.world, *direct);
        EXPECT_TRUE(cmp.same()) << cmp.report();
        return direct->missiles[0].receivedReflectionCount;
    }
};

void none(WorldState&) {}

TEST_F(SeekerFastPath, FollowsEveryChangeOfTheReflectionGeometry) {
    EXPECT_EQ(step(none), 1);
    EXPECT_EQ(step([](WorldState& w) { w.landmarks[0].x += 3; }), 1);
    // Beyond the radar: the radar-landmark range grows and the reflection fades.
    EXPECT_EQ(step([](WorldState& w) { w.landmarks[0].x = 200; }), 0);
    EXPECT_EQ(step([](WorldState& w) { w.landmarks[0].x = 120; }), 1);
    step([](WorldState& w) { w.landmarks[0].height = 1; });
    step([](WorldState& w) { w.landmarks[0].size = 5; });  // too small to be heard
    EXPECT_EQ(step([](WorldState& w) { w.landmarks[0].size = 800; }), 1);
    // The antenna turned onto the landmark: the main beam.
    step([](WorldState& w) {
        w.radars[0].azimuth = bearingDeg(150, 100, w.landmarks[0].x, w.landmarks[0].y);
    });
    step([](WorldState& w) { w.radars[0].x = 160; });
    step([](WorldState& w) { w.radars[0].height = 3; });
    step([](WorldState& w) { w.landmarkCount = 0; });
    EXPECT_EQ(step([](WorldState& w) {
                  w.landmarkCount = 1;
                  w.landmarks[0] = Landmark{800, 125, 99, 0};
              }),
              1);
    step([](WorldState& w) { w.radars[0].radiating = false; });
    EXPECT_EQ(step([](WorldState& w) { w.radars[0].radiating = true; }), 1);
}

// The side-lobe bound takes the largest landmark size: a size that is no number must switch
// it off, not let a later small landmark stand for the large one before it.
TEST_F(SeekerFastPath, ALandmarkSizeThatIsNoNumberHidesNoReflection) {
    scene.addLandmark(130, 99, std::numeric_limits<double>::quiet_NaN());
    scene.addLandmark(135, 102, 5);
    EXPECT_EQ(step(none), 1);
}

TEST_F(SeekerFastPath, FollowsTheCatalogueBeamAndSideLobes) {
    EXPECT_EQ(step(none), 1);
    cats.radars.types[kSearch].sidelobeLevel = -60;  // the side lobe no longer reaches
    EXPECT_EQ(step(none), 0);
    cats.radars.types[kSearch].beamWidthAz = 20;  // now the main beam covers the landmark
    EXPECT_EQ(step(none), 1);
    cats.radars.types[kSearch].scanKind = kScanSectorRaster;
    step(none);
    cats.radars.types[kSearch].power = 1;
    EXPECT_EQ(step(none), 0);
}

TEST_F(SeekerFastPath, ManyRadarsAndLandmarksAroundTheMissile) {
    // Radars all round the missile at several heights, landmarks in a ring, the antenna
    // turning step by step: every direction of the pre-tests' cones is crossed.
    scene.world->radarCount = 0;
    scene.world->landmarkCount = 0;
    for (int32_t k = 0; k < 36; ++k) {
        const double a = k * 10 * 0.0174533;
        RadarSite& r = scene.addRadar(k % 2 ? kSearch : kFireControl,
                                      50 + static_cast<int32_t>(std::lround(80 * std::cos(a))),
                                      100 + static_cast<int32_t>(std::lround(80 * std::sin(a))));
        r.height = k % 3;
        r.illuminationOn = k % 4 == 0;
        scene.addLandmark(50 + static_cast<int32_t>(std::lround(30 * std::cos(a + 0.05))),
                          100 + static_cast<int32_t>(std::lround(30 * std::sin(a + 0.05))), 900);
        if (scene.world->landmarkCount == kLandmarkCapacity) {
            break;
        }
    }
    int32_t reflections = 0;
    for (int32_t n = 0; n < 400; ++n) {
        reflections += step([n](WorldState& w) {
            Missile& m = w.missiles[0];
            m.heading = n * 0.9;
            m.headAzimuth = (n % 7) - 3;
            m.headElevation = -((n % 11) * 1.0);
            // Forget what was learned so every radar stays acceptable.
            m.signalParamsKnown = 0;
            m.emissionKindKnown = 0;
            m.radarTypeIdentified = 0;
            m.frequencyKnown = 0;
            m.trackedRadarId = -1;
            // Half of the steps with the direction gate deciding.
            m.targetPositionState = n % 2 ? kTargetFromSeeker : kTargetNotAcquired;
            m.bearingToTarget = n * 0.9 + 2;
            m.elevationToTarget = 350;
            for (int32_t j = 0; j < w.radarCount; ++j) {
                w.radars[j].azimuth = std::fmod(w.radars[j].azimuth + 7.3, 360);
            }
        });
    }
    EXPECT_GT(reflections, 0);
}

// The automatic search's field-of-view test with the cone in front gives the exact verdict.
TEST_F(SeekerFastPath, PretestedFieldOfViewIsTheFieldOfView) {
    WorldState& w = *scene.world;
    w.radarCount = 0;
    for (int32_t k = 0; k < 72; ++k) {
        const double a = k * 5 * 0.0174533;
        RadarSite& r = scene.addRadar(k % 2 ? kSearch : kFireControl,
                                      50 + static_cast<int32_t>(std::lround(60 * std::cos(a))),
                                      100 + static_cast<int32_t>(std::lround(60 * std::sin(a))));
        r.height = k % 4;
    }
    Missile& m = scene.missile();
    const SeekerCatalogs catalogs = c();  // the pretest keeps a reference: it must outlive it
    int32_t seen = 0;
    for (int32_t n = 0; n < 720; ++n) {
        m.heading = n * 0.5 - 90;
        m.headAzimuth = (n % 9) - 4;
        m.pitch = (n % 13) - 6;
        m.targetPositionState = n % 3 == 0 ? kTargetFromSeeker : kTargetNotAcquired;
        m.bearingToTarget = n * 0.5 + 1;
        m.elevationToTarget = 355;
        const seeker::FieldOfViewPretest fieldOfView(catalogs, m);
        for (int32_t j = 0; j < w.radarCount; ++j) {
            const bool exact = inFieldOfView(catalogs, m, w.radars[j]);
            ASSERT_EQ(fieldOfView.seen(w.radars[j]), exact) << "step " << n << " radar " << j;
            seen += exact;
        }
    }
    EXPECT_GT(seen, 0);
}

// The cone pre-tests, the wide one of the search and the narrow one of the fast reception,
// never reject a direction the exact azimuth tests accept; the narrow one's inner cone holds
// only directions the exact test accepts.
TEST(AzimuthCone, HoldsEveryDirectionTheExactTestAccepts) {
    int64_t surely = 0;
    for (const double half : {0.5, 2.25, 2.5, 3.0, 5.0, 15.0, 45.0}) {
        for (double axis = -400; axis <= 400; axis += 7.7) {
            const seeker::AzimuthCone cone(axis, half);
            seeker::AzimuthCone::TangentMemo memo;
            const auto narrow = seeker::AzimuthCone::forTruncatedTest(axis, half, memo);
            for (int32_t k = 0; k < 18000; ++k) {
                const double t = k * 0.02 * 3.14159265358979323846 / 180;
                for (const double r : {0.001, 1.0, 250.0}) {
                    const double dx = r * std::cos(t);
                    const double dy = r * std::sin(t);
                    const int32_t b = bearingDeg(0, 0, dx, dy);
                    const bool exact = seeker::magnitude(angleDiff(axis, b)) < half;
                    if (exact) {
                        ASSERT_TRUE(cone.mayContain(dx, dy) && narrow.mayContain(dx, dy))
                            << "axis " << axis << " half " << half << " bearing " << b;
                    } else {
                        ASSERT_FALSE(narrow.surelyContains(dx, dy))
                            << "axis " << axis << " half " << half << " bearing " << b;
                    }
                    surely += narrow.surelyContains(dx, dy);
                }
            }
        }
    }
    EXPECT_GT(surely, 100000);
}

// The cone enclosing two narrow cones (one raster for the gate and the field of view) holds
// every direction either may contain, whatever their axes.
TEST(AzimuthCone, EnclosingConeHoldsBothCones) {
    std::mt19937_64 random(5);
    std::uniform_real_distribution<double> angle(-720, 720);
    std::uniform_real_distribution<double> limit(0.1, 12);
    int64_t enclosed = 0;
    for (int32_t n = 0; n < 20000; ++n) {
        seeker::AzimuthCone::TangentMemo memoA;
        seeker::AzimuthCone::TangentMemo memoB;
        const double axisA = angle(random);
        // Mostly near each other, as a locked missile's cones are; sometimes anywhere.
        const double axisB = n % 4 == 0 ? angle(random) : axisA + 0.01 * angle(random);
        const auto a = seeker::AzimuthCone::forTruncatedTest(axisA, limit(random), memoA);
        const auto b = seeker::AzimuthCone::forTruncatedTest(axisB, limit(random), memoB);
        const auto both = seeker::AzimuthCone::enclosing(a, b);
        enclosed += !both.passesAll();
        for (int32_t k = 0; k < 720; ++k) {
            const double t = k * 0.5 * 3.14159265358979323846 / 180;
            const double dx = 300 * std::cos(t);
            const double dy = 300 * std::sin(t);
            if (a.mayContain(dx, dy) || b.mayContain(dx, dy)) {
                ASSERT_TRUE(both.mayContain(dx, dy)) << "cones " << axisA << ", " << axisB;
            }
        }
    }
    EXPECT_GT(enclosed, 10000);
}

TEST(AzimuthCone, RejectsWhatLiesWellOutside) {
    const seeker::AzimuthCone cone(90, 2.5);
    EXPECT_TRUE(cone.mayContain(0, 10));
    EXPECT_FALSE(cone.mayContain(10, 0));
    EXPECT_FALSE(cone.mayContain(0, -10));
    EXPECT_FALSE(cone.mayContain(2, 10));  // 11 degrees off
    EXPECT_TRUE(cone.mayContain(0, 0));    // the same point: bearingDeg gives 270
    EXPECT_TRUE(seeker::AzimuthCone(std::nan(""), 2.5).mayContain(10, 0));  // no pre-test
    EXPECT_FALSE(seeker::AzimuthCone::none().mayContain(0, 10));
}

// The radar index's cone query misses no radar and no landmark the cone may contain, wherever
// the apex, whatever the width and however far the radars stand.
TEST(RadarIndex, ConeHoldsEverythingTheConeMayContain) {
    TestCatalogs cats;
    const SeekerCatalogs catalogs = cats.view();
    std::mt19937_64 random(11);
    std::uniform_int_distribution<int32_t> place(-50, 650);
    std::uniform_real_distribution<double> real(0, 1);
    auto world = makeWorld();
    const auto scratch = makeSeekerScratch();
    for (const int32_t spread : {1, 40, 100000}) {  // one spot, the map, far beyond it
        world->radarCount = kRadarCapacity;
        for (int32_t j = 0; j < kRadarCapacity; ++j) {
            RadarSite& r = world->radars[j];
            r = RadarSite{};
            r.typeIndex = j % 5;
            r.radiating = j % 7 != 0;
            r.x = place(random) * spread / 40;
            r.y = place(random) * spread / 40;
            r.height = j % 3;
        }
        world->landmarkCount = kLandmarkCapacity;
        for (int32_t l = 0; l < kLandmarkCapacity; ++l) {
            world->landmarks[l] = Landmark{500, place(random), place(random), 0};
        }
        seeker::buildRadarIndex(catalogs, *world, scratch->radarIndex);
        const RadarIndex& index = scratch->radarIndex;
        ASSERT_TRUE(seeker::radarIndexMatches(catalogs, *world, index));
        for (int32_t n = 0; n < 3000; ++n) {
            const double apexX = -100 + 800 * real(random);
            const double apexY = -100 + 640 * real(random);
            const double half = n % 10 == 0 ? 1e-9 : 40 * real(random);
            const seeker::AzimuthCone cone(720 * real(random) - 360, half);
            const seeker::ConeContents inside = seeker::inCone(index, cone, apexX, apexY);
            for (int32_t j = 0; j < kRadarCapacity; ++j) {
                const RadarSite& r = world->radars[j];
                if (r.radiating && cone.mayContain(r.x - apexX, r.y - apexY)) {
                    ASSERT_TRUE(index.radiating.contains(j) && inside.radars.contains(j))
                        << "radar " << j << " spread " << spread << " cone " << n;
                }
            }
            for (int32_t l = 0; l < kLandmarkCapacity; ++l) {
                const Landmark& lm = world->landmarks[l];
                if (cone.mayContain(lm.x - apexX, lm.y - apexY)) {
                    ASSERT_TRUE((inside.landmarks >> l) & 1) << "landmark " << l << " cone " << n;
                }
            }
            // A box around a few landmarks (as the beam test uses it): met whenever one of
            // them may lie in the cone.
            const Landmark& a = world->landmarks[n % kLandmarkCapacity];
            const Landmark& b = world->landmarks[(n + 1) % kLandmarkCapacity];
            if (cone.mayContain(a.x - apexX, a.y - apexY) ||
                cone.mayContain(b.x - apexX, b.y - apexY)) {
                ASSERT_TRUE(seeker::coneMayMeetBox(
                    cone, apexX, apexY, std::min(a.x, b.x) - 0.5, std::min(a.y, b.y) - 0.5,
                    std::max(a.x, b.x) + 0.5, std::max(a.y, b.y) + 0.5))
                    << "box of landmarks " << n % kLandmarkCapacity << ", cone " << n;
            }
        }
        // A radar moved off its cell after the index was built: the index no longer matches.
        world->radars[3].x -= 4000000;
        EXPECT_FALSE(seeker::radarIndexMatches(catalogs, *world, index));
    }
}

}  // namespace
}  // namespace prrsim
