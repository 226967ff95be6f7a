// End-to-end missile attacks: every launch mode of every missile type, run from the scenario
// files in tests/scenario/scenarios, each checked against the outcome its seeker, guidance and
// flight rules give for that geometry. scripts/missile-results.sh tabulates the same runs in
// docs/missile-results.md.
#include <gtest/gtest.h>

#include <functional>
#include <set>

#include "scenario/runner.h"
#include "batch_test_support.h"
#include "catalog/missile_catalog.h"

namespace prrsim::batch {
namespace {

using namespace testing;
using nlohmann::json;

const fs::path kScenarios = sourcePath("tests/scenario/scenarios");
constexpr int64_t kEvery = 10;
constexpr int64_t kLaunchTick = 150;  // every scenario launches its missile at 1.5 s

// The one missile of a scenario, followed through its trace.
struct Timeline {
    std::optional<int64_t> locked;          // first line with a confirmed lock
    std::optional<int64_t> lockedInFlight;  // first locked line after the launch
    std::optional<int64_t> lockLost;        // first line with lockLost after the launch
    std::optional<int64_t> powerOut;        // first line launched and switched off
    std::optional<int64_t> waitingPoint;    // first line flying to the waiting point
    std::optional<int64_t> parachute;       // first line descending on the parachute
    std::set<int> positionStates;           // targetPositionState values seen
    double maxAltitude = -1e9;
    json last;           // the missile in the last line that had it
    json powerOutState;  // the missile in the line where the power was seen off
    RunResult result;
    const ImpactRecord* impact() const {
        return result.impacts.empty() ? nullptr : &result.impacts.front();
    }
};

Timeline follow(const std::string& name) {
    Timeline t;
    const fs::path path = kScenarios / (name + ".json");
    std::string error;
    const auto scenario = loadScenario(path.string(), error);
    EXPECT_TRUE(scenario.has_value()) << error;
    if (!scenario) {
        return t;
    }
    auto world = makeWorld();
    std::ostringstream trace;
    t.result = runScenario(*world, *scenario, path.string(), {kEvery, &trace});
    EXPECT_EQ(t.result.status, RunStatus::Ok) << t.result.error;
    for (const std::string& l : lines(trace.str())) {
        const json line = json::parse(l);
        if (line["missiles"].empty()) {
            continue;
        }
        const int64_t tick = line["tick"];
        const json& m = line["missiles"][0];
        const bool launched = m["launched"] == 1;
        // Keeps the first tick at which `seen` holds.
        const auto first = [tick](std::optional<int64_t>& at, bool seen) {
            if (seen && !at) {
                at = tick;
            }
        };
        first(t.locked, m["locked"] == 1);
        first(t.lockedInFlight, launched && m["locked"] == 1);
        first(t.lockLost, launched && m["lockLost"] == 1);
        if (launched && m["activated"] == 0 && !t.powerOut) {
            t.powerOutState = m;
        }
        first(t.powerOut, launched && m["activated"] == 0);
        first(t.waitingPoint, launched && m["guidanceMode"] == kToWaitingPoint);
        first(t.parachute, launched && m["guidanceMode"] == kParachuteDescent);
        t.positionStates.insert(m["targetPositionState"].get<int>());
        t.maxAltitude = std::max(t.maxAltitude, m["altitude"].get<double>());
        t.last = m;
    }
    return t;
}

void expectCrewLockBeforeLaunch(const Timeline& t) {
    ASSERT_TRUE(t.locked.has_value()) << "no lock";
    // The lock needs the signal for just over 1 s.
    EXPECT_GT(*t.locked, 100);
    EXPECT_LT(*t.locked, kLaunchTick);
}

void expectHitNearTheRadar(const Timeline& t, double maxMiss) {
    ASSERT_NE(t.impact(), nullptr) << "no detonation";
    EXPECT_EQ(t.impact()->nearestRadar, 0);
    ASSERT_TRUE(t.impact()->missDistance.has_value());
    EXPECT_LT(*t.impact()->missDistance, maxMiss);
}

void expectPowerRunsOutAfter(const Timeline& t, int64_t seconds) {
    ASSERT_TRUE(t.powerOut.has_value());
    // Switched off in the guidance step once powerTime exceeds the endurance.
    EXPECT_GE(*t.powerOut, kLaunchTick + seconds * 100);
    EXPECT_LE(*t.powerOut, kLaunchTick + seconds * 100 + kEvery);
}

// A crew-locked seeker that holds the radar to the end.
void lockAndHit(const Timeline& t, double maxMiss) {
    expectCrewLockBeforeLaunch(t);
    EXPECT_FALSE(t.lockLost.has_value());
    expectHitNearTheRadar(t, maxMiss);
}

// Locked by the crew, lost in flight, no detonation.
void lockLoseAndMiss(const Timeline& t) {
    expectCrewLockBeforeLaunch(t);
    EXPECT_TRUE(t.lockLost.has_value());
    EXPECT_EQ(t.impact(), nullptr);
}

void hitWithin50(const Timeline& t) {
    lockAndHit(t, 50);
}

struct Expectation {
    const char* scenario;
    std::function<void(const Timeline&)> check;
};

void PrintTo(const Expectation& e, std::ostream* os) {
    *os << e.scenario;
}

std::vector<Expectation> expectations() {
    return {
        // Boresight Shrikes and Kh-25MP: the carrier points at the radar on its attack run,
        // the crew locks, and the missile homes onto the radar.
        {"shrike_b2_kub_search", hitWithin50},
        {"shrike_b4_s200", hitWithin50},
        {"shrike_b9_kub", hitWithin50},
        {"shrike_b10_hawk_mpq46", hitWithin50},
        {"kh25mp_1vp_hawk_mpq51", hitWithin50},
        {"kh25mp_2vp_hawk_mpq46", hitWithin50},
        {"kh27ps_1vp_s200", hitWithin50},
        {"kh27ps_2vp_kub", hitWithin50},
        {"kh58_designation", hitWithin50},
        {"harm_self_lock", hitWithin50},
        {"harm_detected_target", [](const Timeline& t) { lockAndHit(t, 150); }},
        {"alarm_director",
         [](const Timeline& t) {
             lockAndHit(t, 150);
             // Direct homing from the launch on.
             EXPECT_EQ(t.last["directGuidance"], 1);
         }},
        // Target data entered; the seeker switches itself on in flight.
        {"kh58_known_target",
         [](const Timeline& t) {
             ASSERT_TRUE(t.lockedInFlight.has_value());
             EXPECT_EQ(t.locked, t.lockedInFlight);  // no lock on the carrier
             EXPECT_TRUE(t.positionStates.count(kTargetInertial));
             expectHitNearTheRadar(t, 50);
         }},
        {"harm_known_target",
         [](const Timeline& t) {
             // The head stays where the data entry left it, the radar never comes into its
             // field of view: the whole flight is on the inertial target position.
             EXPECT_FALSE(t.locked.has_value());
             EXPECT_EQ(t.positionStates, std::set<int>{kTargetInertial});
             expectHitNearTheRadar(t, 100);
         }},
        {"harm_known_target_silent",
         [](const Timeline& t) {
             ASSERT_TRUE(t.lockedInFlight.has_value());
             ASSERT_TRUE(t.lockLost.has_value());
             // The radar falls silent at tick 600; the lock holds for lockHoldTime (3 s).
             EXPECT_GE(*t.lockLost, 600 + 300);
             EXPECT_LE(*t.lockLost, 600 + 300 + kEvery);
             EXPECT_EQ(t.last["targetPositionState"], kTargetInertial);
             expectHitNearTheRadar(t, 300);
         }},
        {"alarm_loiter",
         [](const Timeline& t) {
             EXPECT_FALSE(t.locked.has_value());
             ASSERT_TRUE(t.waitingPoint.has_value());
             ASSERT_TRUE(t.parachute.has_value());
             EXPECT_LT(*t.waitingPoint, *t.parachute);
             EXPECT_EQ(t.last["pitch"], 270);
             EXPECT_EQ(t.last["heading"], 0);
             EXPECT_EQ(t.last["searchEnabled"], 1);
             expectPowerRunsOutAfter(t, 300);
             // Still under the parachute, well below the height it reached.
             EXPECT_EQ(t.impact(), nullptr);
             EXPECT_LT(t.last["altitude"].get<double>(), t.maxAltitude - 10);
             EXPECT_GT(t.last["altitude"].get<double>(), 0);
         }},
        {"alarm_mixed_silent",
         [](const Timeline& t) {
             expectCrewLockBeforeLaunch(t);
             ASSERT_TRUE(t.lockLost.has_value());
             ASSERT_TRUE(t.waitingPoint.has_value());
             ASSERT_TRUE(t.parachute.has_value());
             EXPECT_LE(*t.lockLost, *t.waitingPoint);
             EXPECT_LT(*t.waitingPoint, *t.parachute);
             EXPECT_EQ(t.last["loiterUsed"], 1);
             expectPowerRunsOutAfter(t, 300);
             EXPECT_EQ(t.impact(), nullptr);
         }},
        // The exponential profile is kept to the end: the missile locks but never dives, and
        // stays over the target area at its launch height.
        {"alarm_suppression",
         [](const Timeline& t) {
             EXPECT_FALSE(t.locked && *t.locked < kLaunchTick);
             ASSERT_TRUE(t.lockedInFlight.has_value());
             EXPECT_EQ(t.last["directGuidance"], 0);
             EXPECT_EQ(t.last["targetListCount"], 1);
             EXPECT_EQ(t.impact(), nullptr);
             EXPECT_LT(t.maxAltitude, 25);
             EXPECT_GT(t.last["altitude"].get<double>(), 15);
         }},
        {"alarm_universal",
         [](const Timeline& t) {
             ASSERT_TRUE(t.lockedInFlight.has_value());
             EXPECT_EQ(t.last["directGuidance"], 0);
             EXPECT_EQ(t.impact(), nullptr);
             EXPECT_GT(t.last["altitude"].get<double>(), 15);
         }},
        // "EF" Shrikes hear a "Бук, РЛС СОЦ" only in its side lobes, within about 8 km: at
        // that range the climbing missile overflies the radar before its 5 deg/s can bring it
        // down, loses the radar from its field of view and flies on blind.
        {"shrike_b3_buk",
         [](const Timeline& t) {
             lockLoseAndMiss(t);
             EXPECT_TRUE(t.positionStates.count(kTargetNone));
         }},
        {"shrike_b3a_buk", lockLoseAndMiss},
        {"shrike_b3v_buk", lockLoseAndMiss},
        {"shrike_b7_buk", lockLoseAndMiss},
        // The continuous-wave illumination stays on the carrier the radar tracks, so the
        // missile loses it soon after the launch and misses.
        {"shrike_b9a_kub_illumination",
         [](const Timeline& t) {
             expectCrewLockBeforeLaunch(t);
             EXPECT_TRUE(t.lockLost.has_value());
             ASSERT_NE(t.impact(), nullptr);
             EXPECT_GT(t.impact()->missDistance.value(), 500);
         }},
        {"shrike_b9_power_out",
         [](const Timeline& t) {
             expectCrewLockBeforeLaunch(t);
             expectPowerRunsOutAfter(t, 35);
             // Switched off, the missile keeps its heading and pitch.
             EXPECT_EQ(t.last["heading"], t.powerOutState["heading"]);
             EXPECT_EQ(t.last["pitch"], t.powerOutState["pitch"]);
             EXPECT_EQ(t.last["turnCommand"], t.powerOutState["turnCommand"]);
         }},
        // The same shot as shrike_b2_kub_search hits the steady radar; blinking from the launch
        // on, the radar is silent for three turns in four, the memory-less seeker loses the
        // lock, has no target data ("НЕТ") and never hits.
        {"shrike_b2_blinking",
         [](const Timeline& t) {
             expectCrewLockBeforeLaunch(t);
             ASSERT_TRUE(t.lockLost.has_value());
             EXPECT_TRUE(t.positionStates.count(kTargetNone));
             if (t.impact() != nullptr) {
                 EXPECT_GT(t.impact()->missDistance.value(), 1000);
             }
         }},
    };
}

class MissileScenario : public ::testing::TestWithParam<Expectation> {};

TEST_P(MissileScenario, OutcomeFollowsFromTheRules) {
    const Timeline t = follow(GetParam().scenario);
    GetParam().check(t);
}

INSTANTIATE_TEST_SUITE_P(Attack, MissileScenario, ::testing::ValuesIn(expectations()),
                         [](const auto& info) { return std::string(info.param.scenario); });

// Every scenario file has its expectation, and together they launch every launch mode of
// every missile type.
TEST(MissileScenarios, CoverEveryLaunchModeOfEveryType) {
    std::set<std::string> expected;
    for (const Expectation& e : expectations()) {
        expected.insert(e.scenario);
    }
    std::set<std::pair<int, int>> launched;
    std::set<std::string> files;
    for (const auto& entry : fs::directory_iterator(kScenarios)) {
        if (entry.path().extension() != ".json") {
            continue;
        }
        files.insert(entry.path().stem().string());
        std::string error;
        const auto scenario = loadScenario(entry.path().string(), error);
        ASSERT_TRUE(scenario.has_value()) << error;
        EXPECT_FALSE(scenario->description.empty()) << entry.path();
        bool launches = false;
        for (const Action& a : scenario->actions) {
            if (a.op == Op::AddMissile) {
                launched.insert({a.type, a.launchMode});
            }
            launches = launches || a.op == Op::Launch;
        }
        EXPECT_TRUE(launches) << entry.path();
    }
    EXPECT_EQ(files, expected);
    for (int type = 0; type < missileTypeCount(); ++type) {
        for (int mode = 0; mode < missileType(type).launchModeCount; ++mode) {
            EXPECT_TRUE(launched.count({type, mode}))
                << missileType(type).name << ", " << launchMode(type, mode).name;
        }
    }
}

}  // namespace
}  // namespace prrsim::batch
