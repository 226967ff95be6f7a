#include "missile/guidance.h"

#include <cmath>

#include "catalog/missile_catalog.h"
#include "world/geometry.h"
#include "world/units.h"
#include "world/world.h"
#include "world/world_state.h"

namespace prrsim {

namespace {

// Distance from the target of a guidance step; absent when the missile has no target data.
struct TargetDistance {
    bool known = false;
    double value = 0;
};

double horizontalDistance(double x1, double y1, double x2, double y2) {
    return std::sqrt(square(x2 - x1) + square(y2 - y1));
}

// The distance to the target: from the true position on seeker data, from the inertial one on
// inertial data.
TargetDistance targetDistance(const Missile& m, const MissileType& type) {
    if (m.targetPositionState == kTargetFromSeeker) {
        return {true, horizontalDistance(m.x, m.y, m.targetX, m.targetY)};
    }
    if (m.targetPositionState == kTargetInertial && type.hasInertialGuidance) {
        return {true, horizontalDistance(m.insX, m.insY, m.targetX, m.targetY)};
    }
    return {};
}

// Degrees per second of turn (or pitch) that a command gives at this speed. A missile at
// rest does not turn.
double turnRate(double command, double speed, double maxLateralAcceleration) {
    const double metresPerSecond = speed * kKmhToMetresPerSecond;
    if (metresPerSecond == 0) {
        return 0;
    }
    return kRadToDeg * command * maxLateralAcceleration / metresPerSecond;
}

// Turn and pitch with the commands of the previous step.
void integrateCommands(Missile& m, const MissileType& type) {
    m.heading += turnRate(m.turnCommand, m.speed, type.maxLateralAcceleration) * kTickSeconds;
    m.pitch += turnRate(m.climbCommand, m.speed, type.maxLateralAcceleration) * kTickSeconds;
}

// Mass falls linearly while the motor burns; the thrust stops once the burn time is over.
void motorStep(Missile& m, const MissileType& type) {
    if (m.flightTime < type.burnTime && type.burnTime != 0) {
        m.mass = type.launchMass - m.flightTime * type.fuelMass / type.burnTime;
    }
    m.flightTime += kTickSeconds;
    if (m.flightTime > type.burnTime) {
        m.thrust = 0;
    }
}

// On-board power: once used up the missile is switched off.
void powerStep(Missile& m, const MissileType& type) {
    m.powerTime += kTickSeconds;
    if (m.powerTime > type.powerEndurance) {
        m.activated = 0;
    }
}

// A missile launched on entered target data switches its seeker on near the target. Without
// target data the distance counts as 0, so any switch-on distance above 0 starts the capture.
void automaticSwitchOn(Missile& m, const LaunchMode& mode, const TargetDistance& d) {
    const double distance = d.known ? d.value : 0;
    if (!mode.captureBeforeLaunch && m.locked == 0 && m.capturing == 0 &&
        m.guidanceMode == kHoming && m.seekerOnDistance > 0.1 * distance) {
        m.capturing = 1;
    }
}

// Once the target lies far enough below the pitch, the climb profile gives way to a dive.
void directHomingSwitch(Missile& m, const LaunchMode& mode) {
    if (m.directGuidance == 0 && m.guidanceMode == kHoming && !mode.keepClimbProfile &&
        angleDiff(m.pitch, m.elevationToTarget) < mode.diveAngle) {
        m.directGuidance = 1;
    }
}

// Path angle of the last flight step, 0..360. A step without movement has path angle 0.
double pathAngle(const Missile& m) {
    if (m.verticalStep == 0 && m.horizontalStep == 0) {
        return 0;
    }
    double path = std::atan(m.verticalStep / m.horizontalStep) * kRadToDeg;
    if (path < 0) {
        path += 360;
    }
    return path;
}

// The waiting point lies waitingAltitude x 0.01 above the target position. Within 25 map units
// of it (inertial position) the missile opens its parachute and searches.
double waitingPointError(Missile& m, const MissileType& type, const LaunchMode& mode,
                         TargetDistance& d) {
    const double h = horizontalDistance(m.insX, m.insY, m.targetX, m.targetY);
    const double w = mode.waitingAltitude * 0.01;
    const double ev = angleDiff(m.pitch, bearingDeg(0, m.altitude, h, w));
    d = {true, std::sqrt(square(h) + square(m.insAltitude - w))};
    if (d.value < 25) {
        m.guidanceMode = kParachuteDescent;
        m.heading = 0;
        m.pitch = 270;
        m.flightTime = type.burnTime + 1;
        m.searchEnabled = 1;
        m.capturing = 0;
        m.lockLost = 0;
    }
    return ev;
}

// The vertical error the pitch command works on.
double verticalError(Missile& m, const MissileType& type, const LaunchMode& mode,
                     TargetDistance& d) {
    if (m.directGuidance == 0) {
        return angleDiff(pathAngle(m), climbProfileAngle(type, mode, m.rangeFlown));
    }
    switch (m.guidanceMode) {
        case kHoming:
            return angleDiff(m.pitch, m.elevationToTarget);
        case kToWaitingPoint:
            return waitingPointError(m, type, mode, d);
        default:
            return 0;
    }
}

void steer(Missile& m, const MissileType& type, const LaunchMode& mode, TargetDistance& d) {
    const double ev = verticalError(m, type, mode, d);
    if (m.guidanceMode == kParachuteDescent) {
        m.climbCommand = 0;
        m.turnCommand = 0;
        return;
    }
    m.climbCommand = steeringCommand(ev, m.speed, type.maxLateralAcceleration, type.maxAngularRate);
    const double eh = angleDiff(m.heading, m.bearingToTarget);
    m.turnCommand = steeringCommand(eh, m.speed, type.maxLateralAcceleration, type.maxAngularRate);
}

// The ground, or the proximity fuze: climbing, the distance is the slant range to the ground
// along the path; otherwise the distance to the target, when there is one.
bool fuzeFires(const Missile& m, const MissileType& type, TargetDistance d) {
    if (m.altitude < 0) {
        return true;
    }
    if (!type.hasProximityFuse) {
        return false;
    }
    if (0 < m.pitch && m.pitch < 180) {
        d = {true, m.altitude / std::sin(m.pitch * kDegToRad)};
    }
    return d.known && type.fuseDistance > d.value * 100;
}

}  // namespace

void launchMissile(Missile& m) {
    const MissileType& type = missileType(m.typeIndex);
    const LaunchMode& mode = launchMode(m.typeIndex, m.launchModeIndex);
    m.directGuidance = mode.climbProfile == kClimbDirectHoming ? 1 : 0;
    m.guidanceMode = mode.startAtWaitingPoint ? kToWaitingPoint : kHoming;
    m.thrust = trunc32(type.motorThrust);
    m.flightTime = 0;
    m.turnCommand = 0;
    m.climbCommand = 0;
    m.horizontalStep = 0;
    m.verticalStep = 0;
    m.rangeFlown = 0;
    m.mass = type.launchMass;
    m.launched = 1;
    m.insX = m.x;
    m.insY = m.y;
    m.insAltitude = m.altitude;
}

double steeringCommand(double errorDeg, double speed, double maxLateralAcceleration,
                       double maxAngularRate) {
    const double metresPerSecond = speed * kKmhToMetresPerSecond;
    if (metresPerSecond == 0) {
        return 0;  // at rest no command turns the missile: the rate limit leaves none
    }
    const double a = 1 / std::sqrt(6.28);
    const double k = 1 - std::exp(-(0.008585 * errorDeg * errorDeg * 0.5) / a / a);
    const int32_t sign = signOf(errorDeg);
    double command = sign * k;
    const double rate = kRadToDeg * command * maxLateralAcceleration / metresPerSecond;
    if (std::fabs(std::trunc(rate)) > maxAngularRate) {
        command = sign * maxAngularRate * speed * kKmhToMetresPerSecond /
                  (maxLateralAcceleration * kRadToDeg);
    }
    return command;
}

double climbProfileAngle(const MissileType& type, const LaunchMode& mode, double rangeFlown) {
    switch (mode.climbProfile) {
        case kClimbConstantAngle:
            return mode.climbParameter;
        case kClimbExponential:
            return -type.headElevationMin * 0.7 * std::exp(-mode.climbParameter * rangeFlown);
        case kClimbLinear:
            return -type.headElevationMin * 0.7 * (1 - mode.climbParameter * rangeFlown);
        default:
            return 0;
    }
}

bool guidanceStep(WorldState& world, int32_t row) {
    if (!validMissile(world, row)) {
        return false;
    }
    Missile& m = missileAt(world, row);
    const MissileType& type = missileType(m.typeIndex);
    const LaunchMode& mode = launchMode(m.typeIndex, m.launchModeIndex);

    TargetDistance d = targetDistance(m, type);
    integrateCommands(m, type);
    m.rangeFlown += m.horizontalStep * 0.00001;
    motorStep(m, type);
    powerStep(m, type);
    automaticSwitchOn(m, mode, d);

    const bool noTargetData =
        m.targetPositionState != kTargetFromSeeker && m.targetPositionState != kTargetInertial;
    if (noTargetData && m.guidanceMode != kToWaitingPoint) {
        m.turnCommand = 0;
        m.climbCommand = 0;
    } else {
        directHomingSwitch(m, mode);
        steer(m, type, mode, d);
    }

    if (fuzeFires(m, type, d)) {
        removeMissile(world, row);
        return true;
    }
    return false;
}

bool flightStep(WorldState& world, int32_t row) {
    if (!validMissile(world, row)) {
        return false;
    }
    Missile& m = missileAt(world, row);
    const MissileType& type = missileType(m.typeIndex);
    const double oldX = m.x;
    const double oldY = m.y;
    const double oldAltitude = m.altitude;

    const double k =
        m.guidanceMode == kParachuteDescent ? type.parachuteDragFactor : type.dragFactor;
    if (m.mass != 0) {
        m.speed +=
            (m.thrust - k * kKmhToMetresPerSecond * kKmhToMetresPerSecond * m.speed * m.speed) *
            kTickSeconds / m.mass;
    }

    const double h = m.heading * kDegToRadFlight;
    const double p = m.pitch * kDegToRadFlight;
    const double dx = std::cos(h) * (kKmhToMapUnitsPerSecond * m.speed) * std::cos(p);
    const double dy = std::sin(h) * (kKmhToMapUnitsPerSecond * m.speed) * std::cos(p);
    const double dz = (std::sin(p) * kKmhToMetresPerSecond * m.speed - 0.1) * kTickSeconds;
    m.x += kTickSeconds * dx;
    m.y += kTickSeconds * dy;
    m.altitude += kTickSeconds * dz;

    // The inertial estimate drifts by a random error while the missile flies on it.
    if (m.targetPositionState == kTargetInertial) {
        m.insX +=
            (dx + (1 - randomBelow(world, 100) * 2 * 0.01) * type.inertialDrift) * kTickSeconds;
        m.insY +=
            (dy + (1 - randomBelow(world, 100) * 2 * 0.01) * type.inertialDrift) * kTickSeconds;
        m.insAltitude +=
            (dz + (1 - randomBelow(world, 100) * 2 * 0.01) * type.inertialDrift) * kTickSeconds;
    }

    m.horizontalStep = 10000 * horizontalDistance(oldX, oldY, m.x, m.y);
    m.verticalStep = 10000 * (m.altitude - oldAltitude);

    if (m.altitude < 0) {
        removeMissile(world, row);
        return true;
    }
    return false;
}

}  // namespace prrsim
