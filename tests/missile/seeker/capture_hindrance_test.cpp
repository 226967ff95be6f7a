// Why a capture hears nothing, as the missile window reads it from the world and the seeker.
#include "missile/seeker/capture_hindrance.h"

#include <gtest/gtest.h>

#include <cctype>
#include <functional>
#include <memory>
#include <string>

#include "catalog/missile_catalog.h"
#include "catalog/radar_catalog.h"
#include "missile/missile_loading.h"
#include "world/geometry.h"
#include "world/world.h"
#include "missile/world_comparison.h"

namespace prrsim {
namespace {

constexpr int32_t kHarm = 3;
constexpr int32_t kKubTracking = 0;

// A capturing HARM on an aircraft at 500 m, 150 pixels west of a radiating "Куб" radar, facing
// it.
struct Scene {
    std::unique_ptr<WorldState> world = makeWorld();
    std::unique_ptr<MissileCatalog> missiles = std::make_unique<MissileCatalog>(missileCatalog());
    int32_t missile = -1;

    Scene() {
        startEmptyWorld(*world);
        addRadars(*world, kKubTracking, -1, true);
        placeRadar(*world, 0, 300, 220);
        const int32_t a = addAircraft(*world);
        world->aircraft[a].x = 150;
        world->aircraft[a].y = 220;
        world->aircraft[a].altitude = 5;
        world->aircraft[a].heading = bearingDeg(150, 220, 300, 220);
        missile = addMissile(*world, a, kHarm, 0);
        Missile& m = world->missiles[missile];
        m.activated = 1;
        m.capturing = 1;
    }
    CaptureHindrance read() const {
        const SeekerCatalogs c{*missiles, radarCatalog()};
        return captureHindrance(c, *world, world->missiles[missile]);
    }
};

struct Row {
    const char* name;
    std::function<void(Scene&)> change;
    CaptureHindrance expected;
};

void PrintTo(const Row& row, std::ostream* os) {
    *os << row.name;
}

class CaptureHindranceRows : public ::testing::TestWithParam<Row> {};

TEST_P(CaptureHindranceRows, NamesWhatKeepsTheSeekerDeaf) {
    Scene scene;
    GetParam().change(scene);
    const auto before = std::make_unique<WorldState>(*scene.world);
    EXPECT_EQ(scene.read(), GetParam().expected);
    EXPECT_TRUE(testing::compareWorlds(*scene.world, *before).same()) << "the reading changed it";
}

INSTANTIATE_TEST_SUITE_P(
    Rows, CaptureHindranceRows,
    ::testing::Values(
        Row{"heard", [](Scene&) {}, CaptureHindrance::None},
        Row{"locked already", [](Scene& s) { s.world->missiles[s.missile].locked = 1; },
            CaptureHindrance::None},
        Row{"not capturing", [](Scene& s) { s.world->missiles[s.missile].capturing = 0; },
            CaptureHindrance::None},
        Row{"radar silent", [](Scene& s) { s.world->radars[0].radiating = false; },
            CaptureHindrance::NoRadarInView},
        Row{"radar behind",
            [](Scene& s) { s.world->missiles[s.missile].heading += 180; },
            CaptureHindrance::NoRadarInView},
        Row{"no radar", [](Scene& s) { removeRadar(*s.world, 0); },
            CaptureHindrance::NoRadarInView},
        Row{"outside the seeker's bands",
            [](Scene& s) { s.missiles->types[kHarm].bands = ""; }, CaptureHindrance::OutOfBand},
        Row{"weaker than the threshold",
            [](Scene& s) { s.missiles->types[kHarm].sensitivity = 1e300; },
            CaptureHindrance::BelowThreshold}),
    [](const auto& info) {
        std::string name = info.param.name;
        for (char& ch : name) {
            ch = std::isalnum(static_cast<unsigned char>(ch)) ? ch : '_';
        }
        return name;
    });

}  // namespace
}  // namespace prrsim
