#include "campaign/stats.h"

#include <cmath>

namespace prrsim::batch {

std::optional<Interval> wilsonInterval(int64_t successes, int64_t trials, double z) {
    if (trials <= 0 || successes < 0 || successes > trials) {
        return std::nullopt;
    }
    const double n = static_cast<double>(trials);
    const double p = static_cast<double>(successes) / n;
    const double z2 = z * z;
    const double denominator = 1 + z2 / n;
    const double centre = (p + z2 / (2 * n)) / denominator;
    const double half = z / denominator * std::sqrt(p * (1 - p) / n + z2 / (4 * n * n));
    // At 0 or all successes one bound is exactly 0 or 1; rounding must not move it past.
    return Interval{successes == 0 ? 0.0 : std::fmax(0.0, centre - half),
                    successes == trials ? 1.0 : std::fmin(1.0, centre + half)};
}

std::optional<double> percentile(std::span<const double> sorted, double p) {
    if (sorted.empty()) {
        return std::nullopt;
    }
    const double rank = static_cast<double>(sorted.size() - 1) * p;
    const auto below = static_cast<size_t>(std::floor(rank));
    if (below + 1 >= sorted.size()) {
        return sorted.back();
    }
    const double fraction = rank - static_cast<double>(below);
    return sorted[below] + fraction * (sorted[below + 1] - sorted[below]);
}

std::optional<double> mean(std::span<const double> values) {
    if (values.empty()) {
        return std::nullopt;
    }
    double sum = 0;
    for (const double v : values) {
        sum += v;
    }
    return sum / static_cast<double>(values.size());
}

}  // namespace prrsim::batch
