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

double compassAngle(int32_t dx, int32_t dy) {
    return directionAngle(dx, dy);
}

int32_t randomBelow(std::mt19937& gen, int32_t n) {
    if (n <= 0) {
        return 0;
    }
    return static_cast<int32_t>(gen() % static_cast<uint32_t>(n));
}

}  // namespace prrsim
