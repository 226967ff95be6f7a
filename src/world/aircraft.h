#pragma once

#include <cstdint>
#include <limits>

namespace prrsim {

struct Aircraft {
    int32_t id = 0;            // index at creation; compared with a missile's carrier
    int32_t targetRadar = -1;  // attack target radar index, -1 none
    bool onAttackRun = false;
    int32_t number = 0;     // 1, 2, ... in order of creation; stays with the record when it moves
    double heading = 0;     // degrees, 0 = +x, 90 = +y
    double climbAngle = 0;  // degrees
    double speed = 0;       // km/h
    double x = 0;           // map pixels
    double y = 0;
    double altitude = 0;  // map units (100 m)
};

// The cosine and sine of an angle (radians) as last computed. Beside each aircraft the tick
// keeps those of its heading and climb angle, which mostly stay the same from tick to tick.
struct AngleCosSin {
    double angle = std::numeric_limits<double>::quiet_NaN();  // equal to no angle at first
    double cos = 0;
    double sin = 0;
};

struct AircraftMotionMemo {
    AngleCosSin heading;
    AngleCosSin climb;
};

}  // namespace prrsim
