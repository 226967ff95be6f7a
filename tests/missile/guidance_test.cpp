#include "missile/guidance.h"

#include <gtest/gtest.h>

#include <cmath>

#include "catalog/missile_catalog.h"
#include "missile/missile_loading.h"
#include "sim/tick.h"
#include "world/geometry.h"
#include "world/world.h"

namespace prrsim {
namespace {

constexpr int32_t kShrike = 0;
constexpr int32_t kHarm = 3;
constexpr int32_t kAlarm = 4;

// ---- The command law -------------------------------------------------------------------

struct CommandRow {
    double error;
    double k;
};

class GuidanceCommandLaw : public ::testing::TestWithParam<CommandRow> {};

TEST_P(GuidanceCommandLaw, GaussianSaturationOfTheError) {
    const CommandRow& row = GetParam();
    // A rate limit far away leaves the law itself.
    EXPECT_NEAR(steeringCommand(row.error, 1500, 80, 1e9), row.k, 5e-5);
    EXPECT_NEAR(steeringCommand(-row.error, 1500, 80, 1e9), -row.k, 5e-5);
}

INSTANTIATE_TEST_SUITE_P(Errors, GuidanceCommandLaw,
                         ::testing::Values(CommandRow{1, 0.0266}, CommandRow{2, 0.1022},
                                           CommandRow{5, 0.4903}, CommandRow{10, 0.9325},
                                           CommandRow{20, 1.0000}));

double rateOf(double command, double speed, double maxLateralAcceleration) {
    return 57.325 * command * maxLateralAcceleration / (speed * 0.28);
}

TEST(GuidanceCommand, RateLimitComparesTheTruncatedRate) {
    const double k = steeringCommand(10, 1500, 80, 1e9);
    // A lateral acceleration that makes the full command turn at 5.9 deg/s: passes.
    const double slow = 5.9 * (1500 * 0.28) / (57.325 * k);
    ASSERT_EQ(std::trunc(rateOf(k, 1500, slow)), 5);
    EXPECT_EQ(steeringCommand(10, 1500, slow, 5), k);

    // One that makes it 6.0 or a hair more: replaced by the command for exactly 5 deg/s.
    double fast = 6.0 * (1500 * 0.28) / (57.325 * k);
    while (rateOf(k, 1500, fast) < 6.0) {
        fast = std::nextafter(fast, 1e9);
    }
    const double limited = steeringCommand(10, 1500, fast, 5);
    EXPECT_EQ(limited, 5 * 1500 * 0.28 / (fast * 57.325));
    EXPECT_NEAR(rateOf(limited, 1500, fast), 5, 1e-12);
}

TEST(GuidanceCommand, ShrikeAtFifteenHundredIsLimitedToFiveDegreesPerSecond) {
    for (const double error : {20.0, 90.0, -20.0}) {
        EXPECT_NEAR(steeringCommand(error, 1500, 80, 5), error > 0 ? 0.4579 : -0.4579, 5e-5);
    }
}

TEST(GuidanceCommand, NoErrorOrNoSpeedGivesNoCommand) {
    EXPECT_EQ(steeringCommand(0, 1500, 80, 5), 0);
    EXPECT_EQ(steeringCommand(10, 0, 80, 5), 0);  // a missile at rest: no division by 0
    EXPECT_EQ(steeringCommand(0, 0, 80, 5), 0);
}

// ---- Climb profiles ----------------------------------------------------------------------

TEST(GuidanceProfile, StartAnglesAndShapes) {
    // Exponential: 0.7 x 45 (Shrike's elevation limit) at the start, then falling.
    LaunchMode exponential;
    exponential.climbProfile = 1;
    exponential.climbParameter = 5;
    const MissileType& shrike = missileType(kShrike);
    EXPECT_NEAR(climbProfileAngle(shrike, exponential, 0), 31.5, 1e-12);
    EXPECT_NEAR(climbProfileAngle(shrike, exponential, 0.1), 31.5 * std::exp(-0.5), 1e-12);
    // Linear: 0.7 x 30 (HARM), falling by 0.0254 per unit of range.
    const MissileType& harm = missileType(kHarm);
    EXPECT_NEAR(climbProfileAngle(harm, harm.launchModes[2], 0), 21, 1e-12);
    EXPECT_NEAR(climbProfileAngle(harm, harm.launchModes[2], 10), 21 * (1 - 0.254), 1e-12);
    EXPECT_EQ(climbProfileAngle(harm, harm.launchModes[0], 3), 6);  // constant angle
    EXPECT_EQ(climbProfileAngle(missileType(kAlarm), missileType(kAlarm).launchModes[0], 3), 0);
}

// ---- Launch, guidance and flight steps ----------------------------------------------------

class Guidance : public ::testing::Test {
  protected:
    // One launched, activated missile at (100, 100), altitude 50, heading 0, pitch 0,
    // 1000 km/h.
    Missile& launch(int32_t type, int32_t mode) {
        world->missileCount = 1;
        Missile& m = world->missiles[0];
        createMissile(*world, m, type, mode, -1);
        m.index = 0;
        m.x = 100;
        m.y = 100;
        m.altitude = 50;
        m.speed = 1000;
        launchMissile(m);
        m.activated = 1;
        return m;
    }
    Missile& m() { return world->missiles[0]; }
    std::unique_ptr<WorldState> world = makeWorld();
};

TEST_F(Guidance, LaunchSetsMotorMassAndInertialPositionAgainOnASecondLaunch) {
    Missile& alarm = launch(kAlarm, 1);  // "режим барражирования"
    EXPECT_EQ(alarm.directGuidance, 1);
    EXPECT_EQ(alarm.guidanceMode, kToWaitingPoint);

    Missile& harm = launch(kHarm, 1);
    EXPECT_EQ(harm.directGuidance, 0);
    EXPECT_EQ(harm.guidanceMode, kHoming);
    harm.targetPositionState = kTargetFromSeeker;
    harm.targetX = 400;
    harm.targetY = 130;
    harm.bearingToTarget = 30;
    for (int tick = 0; tick < 300; ++tick) {
        ASSERT_FALSE(flightStep(*world, 0));
        ASSERT_FALSE(guidanceStep(*world, 0));
    }
    ASSERT_LT(harm.mass, 354);
    ASSERT_NE(harm.turnCommand, 0);
    const double powerTime = harm.powerTime;
    const double x = harm.x;
    launchMissile(harm);
    EXPECT_EQ(harm.launched, 1);
    EXPECT_EQ(harm.thrust, 95000);
    EXPECT_EQ(harm.mass, 354);
    for (const double reset : {harm.flightTime, harm.turnCommand, harm.climbCommand,
                               harm.horizontalStep, harm.verticalStep, harm.rangeFlown}) {
        EXPECT_EQ(reset, 0);
    }
    EXPECT_EQ(harm.insX, x);
    EXPECT_EQ(harm.insY, harm.y);
    EXPECT_EQ(harm.insAltitude, harm.altitude);
    EXPECT_EQ(harm.powerTime, powerTime);  // the power used stays used
}

TEST_F(Guidance, MassFallsWhileTheMotorBurnsAndThrustStopsAfterBurnTime) {
    Missile& harm = launch(kHarm, 0);  // burnTime 15, fuel 112
    while (harm.flightTime <= 15) {
        ASSERT_EQ(harm.thrust, 95000);
        const double t = harm.flightTime;
        ASSERT_FALSE(guidanceStep(*world, 0));
        if (t < 15) {
            ASSERT_EQ(harm.mass, 354 - t * 112 / 15);
        }
    }
    EXPECT_EQ(harm.thrust, 0);
    EXPECT_NEAR(harm.mass, 354 - 112, 0.1);
}

TEST_F(Guidance, TurnsWithThePreviousCommandsThenDropsThemWithoutData) {
    Missile& shrike = launch(kShrike, 0);
    shrike.turnCommand = 0.5;
    shrike.climbCommand = -0.25;
    shrike.targetPositionState = kTargetNotAcquired;
    ASSERT_FALSE(guidanceStep(*world, 0));
    EXPECT_EQ(shrike.heading, 57.325 * 0.5 * 80 / (1000 * 0.28) * 0.01);
    EXPECT_EQ(shrike.pitch, 57.325 * -0.25 * 80 / (1000 * 0.28) * 0.01);
    EXPECT_EQ(shrike.turnCommand, 0);
    EXPECT_EQ(shrike.climbCommand, 0);

    // At rest: no turn, no command, no NaN.
    Missile& still = launch(kShrike, 0);
    still.speed = 0;
    still.turnCommand = still.climbCommand = 1;
    still.targetPositionState = kTargetFromSeeker;
    still.targetX = 200;
    still.bearingToTarget = 40;
    ASSERT_FALSE(guidanceStep(*world, 0));
    for (const double zero : {still.heading, still.pitch, still.turnCommand, still.climbCommand}) {
        EXPECT_EQ(zero, 0);
    }
}

TEST_F(Guidance, ClimbProfileSteersThePathAngleOfTheLastStep) {
    const MissileType& type = missileType(kHarm);
    const struct {
        double horizontal, vertical, path;
    } rows[] = {
        {10000, 2000, std::atan(2000.0 / 10000.0) * 57.325},
        {0, 0, 0},                                     // no movement: level, not NaN
        {0, -50, 360 - std::atan(INFINITY) * 57.325},  // straight down
    };
    for (const auto& row : rows) {
        Missile& harm = launch(kHarm, 2);  // linear profile, 0.0254
        harm.targetPositionState = kTargetFromSeeker;
        harm.targetX = 300;
        harm.elevationToTarget = 350;
        harm.bearingToTarget = 10;
        harm.horizontalStep = row.horizontal;
        harm.verticalStep = row.vertical;
        ASSERT_FALSE(guidanceStep(*world, 0));
        EXPECT_EQ(harm.rangeFlown, row.horizontal * 0.00001);
        const double profile = climbProfileAngle(type, type.launchModes[2], harm.rangeFlown);
        EXPECT_EQ(harm.climbCommand,
                  steeringCommand(angleDiff(row.path, profile), 1000, 100, type.maxAngularRate))
            << row.vertical;
        EXPECT_EQ(harm.turnCommand, steeringCommand(10, 1000, 100, type.maxAngularRate));
        EXPECT_EQ(harm.directGuidance, 0);
    }
}

struct DiveRow {
    int32_t type;
    int32_t mode;
    double elevationToTarget;
    uint8_t direct;
};

class GuidanceDive : public Guidance, public ::testing::WithParamInterface<DiveRow> {};

TEST_P(GuidanceDive, ProfileGivesWayToDirectHomingBelowTheDiveAngle) {
    const DiveRow& row = GetParam();
    Missile& missile = launch(row.type, row.mode);
    missile.targetPositionState = kTargetFromSeeker;
    missile.targetX = 300;
    missile.elevationToTarget = row.elevationToTarget;
    ASSERT_FALSE(guidanceStep(*world, 0));
    EXPECT_EQ(missile.directGuidance, row.direct);
    if (row.direct) {
        const MissileType& type = missileType(row.type);
        EXPECT_EQ(missile.climbCommand,
                  steeringCommand(angleDiff(0, row.elevationToTarget), 1000,
                                  type.maxLateralAcceleration, type.maxAngularRate));
    }
}

INSTANTIATE_TEST_SUITE_P(Rows, GuidanceDive,
                         ::testing::Values(DiveRow{kHarm, 0, 330, 1},    // -30 below -27
                                           DiveRow{kHarm, 0, 340, 0},    // -20 not below
                                           DiveRow{kHarm, 0, 333, 0},    // exactly -27 is not below
                                           DiveRow{kShrike, 0, 310, 1},  // -50 below -40
                                           DiveRow{kAlarm, 3, 270, 0}    // keeps its climb profile
                                           ));

TEST_F(Guidance, WaitingPointFarAwaySteersTowardsItsElevation) {
    Missile& alarm = launch(kAlarm, 1);
    const MissileType& type = missileType(kAlarm);
    alarm.targetPositionState = kTargetInertial;
    alarm.targetX = 300;
    alarm.targetY = 100;
    ASSERT_FALSE(guidanceStep(*world, 0));
    EXPECT_EQ(alarm.guidanceMode, kToWaitingPoint);
    const double ev = angleDiff(0, bearingDeg(0, 50, 200, 120));
    EXPECT_EQ(alarm.climbCommand, steeringCommand(ev, 1000, 100, type.maxAngularRate));
}

TEST_F(Guidance, ReachingTheWaitingPointOpensTheParachute) {
    Missile& alarm = launch(kAlarm, 1);  // waiting altitude 12000 -> 120
    const MissileType& type = missileType(kAlarm);
    alarm.altitude = 118;
    alarm.insAltitude = 118;
    alarm.targetPositionState = kTargetNone;  // data lost: the flight to the point goes on
    alarm.targetX = 105;
    alarm.targetY = 100;
    alarm.capturing = 1;
    alarm.lockLost = 1;
    alarm.turnCommand = 0.3;
    alarm.climbCommand = 0.3;
    ASSERT_FALSE(guidanceStep(*world, 0));
    EXPECT_EQ(alarm.guidanceMode, kParachuteDescent);
    EXPECT_EQ(alarm.heading, 0);
    EXPECT_EQ(alarm.pitch, 270);
    EXPECT_EQ(alarm.flightTime, 19);
    EXPECT_EQ(alarm.searchEnabled, 1);
    EXPECT_EQ(alarm.capturing, 0);
    EXPECT_EQ(alarm.lockLost, 0);
    EXPECT_EQ(alarm.turnCommand, 0);
    EXPECT_EQ(alarm.climbCommand, 0);

    // The motor is off from the next step; the parachute drag applies in flight.
    ASSERT_FALSE(guidanceStep(*world, 0));
    EXPECT_EQ(alarm.thrust, 0);
    EXPECT_EQ(alarm.pitch, 270);
    const double v = alarm.speed;
    const double mass = alarm.mass;
    ASSERT_FALSE(flightStep(*world, 0));
    EXPECT_EQ(alarm.speed, v + (0 - type.parachuteDragFactor * 0.28 * 0.28 * v * v) * 0.01 / mass);
}

struct FuzeRow {
    const char* what;
    int32_t type;
    uint8_t targetState;
    double pitch;
    double altitude;
    double targetDistance;
    bool fires;
};

class GuidanceFuze : public Guidance, public ::testing::WithParamInterface<FuzeRow> {};

TEST_P(GuidanceFuze, ProximityBurst) {
    const FuzeRow& row = GetParam();
    Missile& missile = launch(row.type, 0);
    missile.pitch = row.pitch;
    missile.altitude = row.altitude;
    missile.targetPositionState = row.targetState;
    missile.targetX = trunc32(100 + row.targetDistance);
    missile.targetY = 100;
    missile.x = missile.targetX - row.targetDistance;
    missile.insX = missile.x;
    EXPECT_EQ(guidanceStep(*world, 0), row.fires) << row.what;
    EXPECT_EQ(world->missileCount, row.fires ? 0 : 1) << row.what;
}

INSTANTIATE_TEST_SUITE_P(
    Rows, GuidanceFuze,
    ::testing::Values(
        FuzeRow{"diving, 0.1 from the target", kHarm, kTargetFromSeeker, 300, 5, 0.1, true},
        FuzeRow{"diving, 0.2 from the target", kHarm, kTargetFromSeeker, 300, 5, 0.2, false},
        FuzeRow{"level counts as not climbing", kHarm, kTargetFromSeeker, 0, 5, 0.1, true},
        FuzeRow{"pitch 180 counts as not climbing", kHarm, kTargetFromSeeker, 180, 5, 0.1, true},
        FuzeRow{"climbing low: slant range 0.1", kHarm, kTargetFromSeeker, 30, 0.05, 50, true},
        FuzeRow{"climbing higher: slant range 2", kHarm, kTargetFromSeeker, 30, 1, 0.1, false},
        FuzeRow{"inertial distance", kHarm, kTargetInertial, 300, 5, 0.1, true},
        FuzeRow{"no target data: no distance", kHarm, kTargetNone, 300, 5, 0, false},
        FuzeRow{"no fuze fitted", kShrike, kTargetFromSeeker, 300, 5, 0, false},
        FuzeRow{"below ground", kShrike, kTargetNone, 0, -0.001, 50, true}));

TEST_F(Guidance, ClimbingSlantRangeUsesTheSystemsDegreeFactor) {
    Missile& harm = launch(kHarm, 0);
    harm.pitch = 30;
    harm.targetPositionState = kTargetFromSeeker;
    harm.targetX = 500;
    // 0.15 exactly at the fuze distance does not fire; a hair lower does.
    harm.altitude = 0.15 * std::sin(30 * 0.01744) + 1e-9;
    EXPECT_FALSE(guidanceStep(*world, 0));
    harm.altitude = 0.149 * std::sin(30 * 0.01744);
    EXPECT_TRUE(guidanceStep(*world, 0));
}

struct SwitchOnRow {
    const char* what;
    int32_t mode;
    uint8_t targetState;
    int32_t seekerOnDistance;
    uint8_t locked;
    uint8_t capturing;
};

class GuidanceSwitchOn : public Guidance, public ::testing::WithParamInterface<SwitchOnRow> {};

TEST_P(GuidanceSwitchOn, SeekerSwitchesOnNearTheTarget) {
    const SwitchOnRow& row = GetParam();
    Missile& alarm = launch(kAlarm, row.mode);
    alarm.targetPositionState = row.targetState;
    alarm.targetX = 150;  // 50 map units away
    alarm.targetY = 100;
    alarm.seekerOnDistance = row.seekerOnDistance;
    alarm.locked = row.locked;
    ASSERT_FALSE(guidanceStep(*world, 0));
    EXPECT_EQ(alarm.capturing, row.capturing) << row.what;
}

INSTANTIATE_TEST_SUITE_P(
    Rows, GuidanceSwitchOn,
    ::testing::Values(SwitchOnRow{"5 is not beyond 0.1 x 50", 3, kTargetFromSeeker, 5, 0, 0},
                      SwitchOnRow{"6 is beyond 0.1 x 50", 3, kTargetFromSeeker, 6, 0, 1},
                      SwitchOnRow{"no target data: distance 0", 3, kTargetNotAcquired, 1, 0, 1},
                      SwitchOnRow{"switch-on distance 0 never", 3, kTargetNotAcquired, 0, 0, 0},
                      SwitchOnRow{"already locked", 3, kTargetFromSeeker, 100, 1, 0},
                      SwitchOnRow{"crew captures in this mode", 0, kTargetFromSeeker, 100, 0, 0},
                      SwitchOnRow{"not homing", 1, kTargetFromSeeker, 100, 0, 0}));

TEST_F(Guidance, PowerRunningOutSwitchesOffAndTheMissileFliesStraightUntilTheGround) {
    Missile& harm = launch(kHarm, 0);  // power endurance 250
    harm.powerTime = 249.995;
    ASSERT_FALSE(guidanceStep(*world, 0));
    EXPECT_EQ(harm.activated, 0);
    const double offTime = harm.flightTime;  // a switched-off missile's clock stands
    harm.pitch = 350;
    harm.heading = 20;
    harm.turnCommand = 1;
    harm.climbCommand = 1;
    // Target right below it: an activated missile would burst at once.
    harm.targetPositionState = kTargetFromSeeker;
    harm.targetX = 100;
    harm.targetY = 100;
    harm.altitude = 2;
    int ticks = 0;
    while (world->missileCount == 1) {
        const Missile& before = world->missiles[0];
        ASSERT_GE(before.altitude, 0);
        ASSERT_EQ(before.heading, 20);
        ASSERT_EQ(before.pitch, 350);
        ASSERT_EQ(before.flightTime, offTime);
        SimulationTick(*world);
        ASSERT_LT(++ticks, 100000);
    }
    EXPECT_GT(ticks, 10);
}

TEST_F(Guidance, FlightStepMovesWithMotorAndDrag) {
    Missile& shrike = launch(kShrike, 0);
    const double v = 1000 + (100000 - 0.028 * 0.28 * 0.28 * 1000 * 1000) * 0.01 / 177;
    ASSERT_FALSE(flightStep(*world, 0));
    EXPECT_EQ(shrike.speed, v);
    const double dx = std::cos(0) * (0.0028 * v) * std::cos(0);
    EXPECT_EQ(shrike.x, 100 + 0.01 * dx);
    EXPECT_EQ(shrike.y, 100);
    EXPECT_EQ(shrike.altitude, 50 + 0.01 * ((0 * 0.28 * v - 0.1) * 0.01));
    EXPECT_NEAR(shrike.horizontalStep, 10000 * 0.01 * dx, 1e-8);
    EXPECT_NEAR(shrike.verticalStep, 10000 * -0.00001, 1e-8);
    // Seeker data: the inertial position stays where the launch put it.
    EXPECT_EQ(shrike.insX, 100);

    // Without mass the speed is kept (no division by 0).
    shrike.mass = 0;
    ASSERT_FALSE(flightStep(*world, 0));
    EXPECT_EQ(shrike.speed, v);
    EXPECT_TRUE(std::isfinite(shrike.x));
}

TEST_F(Guidance, FlightStepUsesTheFlightDegreeFactor) {
    Missile& shrike = launch(kShrike, 0);
    shrike.heading = 90;
    shrike.pitch = 10;
    shrike.thrust = 0;
    ASSERT_FALSE(flightStep(*world, 0));
    const double v = shrike.speed;
    const double dy = std::sin(90 * 0.017444) * (0.0028 * v) * std::cos(10 * 0.017444);
    EXPECT_EQ(shrike.y, 100 + 0.01 * dy);
    EXPECT_EQ(shrike.altitude, 50 + 0.01 * ((std::sin(10 * 0.017444) * 0.28 * v - 0.1) * 0.01));
}

TEST_F(Guidance, InertialPositionDriftsByWholeHundredthsOfTheDrift) {
    Missile& alarm = launch(kAlarm, 0);  // inertialDrift 20
    alarm.targetPositionState = kTargetInertial;
    for (int step = 0; step < 50; ++step) {
        const double insX = alarm.insX;
        const double x = alarm.x;
        ASSERT_FALSE(flightStep(*world, 0));
        const double dx = (alarm.x - x) / 0.01;
        const double noise = ((alarm.insX - insX) / 0.01 - dx) / 20;  // 1 - r x 0.02
        const double r = (1 - noise) / 0.02;
        EXPECT_NEAR(r, std::round(r), 1e-6);
        EXPECT_GE(std::round(r), 0);
        EXPECT_LE(std::round(r), 99);
    }
    EXPECT_NE(alarm.insX, alarm.x);
}

}  // namespace
}  // namespace prrsim
