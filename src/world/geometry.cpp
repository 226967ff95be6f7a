#include "world/geometry.h"

#include <cmath>
#include <limits>

namespace prrsim {

namespace {

double directionAngle(double dx, double dy) {
    double e;
    if (dx == 0) {
        e = dy > 0 ? 1.57 : 4.71;
    } else {
        e = std::fabs(std::atan(dy / dx));
        if (dx < 0 && dy >= 0) {
            e = 3.14 - e;
        } else if (dx < 0 && dy <= 0) {
            e = e + 3.14;
        } else if (dx > 0 && dy <= 0) {
            e = 6.28 - e;
        }
    }
    return e;
}

}  // namespace

int32_t bearingDeg(double x1, double y1, double x2, double y2) {
    return trunc32(directionAngle(x2 - x1, y2 - y1) * kRadToDeg);
}

double compassAngle(int32_t dx, int32_t dy) { return directionAngle(dx, dy); }

double angleDiff(double a, double b) {
    if (a < 0) {
        a += 360;
    }
    if (b < 0) {
        b += 360;
    }
    double c = b - a;
    if (c > 180) {
        c -= 360;
    }
    if (c < -180) {
        c += 360;
    }
    // Arguments beyond one turn (a circling missile's heading, any carrier's course) leave more
    // than half a turn after the single correction: the rest in whole turns. fmod is exact, so
    // this equals subtracting or adding 360 until the turn lies in -180..180.
    if ((c > 180 || c < -180) && std::isfinite(c)) {
        c = std::fmod(c, 360.0);
        if (c > 180) {
            c -= 360;
        } else if (c < -180) {
            c += 360;
        }
    }
    return c;
}

int32_t trunc32(double v) {
    if (!(v == v)) {
        return 0;  // NaN never reaches the world; treat it as zero rather than trap
    }
    if (v >= 2147483647.0) {
        return std::numeric_limits<int32_t>::max();
    }
    if (v <= -2147483648.0) {
        return std::numeric_limits<int32_t>::min();
    }
    return static_cast<int32_t>(v);
}

int32_t randomBelow(std::mt19937& gen, int32_t n) {
    if (n <= 0) {
        return 0;
    }
    return static_cast<int32_t>(gen() % static_cast<uint32_t>(n));
}

}  // namespace prrsim
