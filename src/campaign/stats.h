#pragma once

// The statistics of a campaign: a proportion with its confidence interval and the percentiles
// of a sample.

#include <cstdint>
#include <optional>
#include <span>

namespace prrsim::batch {

struct Interval {
    double low = 0;
    double high = 0;
};

// The normal quantile of 0.975: a two-sided 95 % interval.
inline constexpr double kZ95 = 1.959963984540054;

// The Wilson score interval of `successes` in `trials` for the confidence of quantile `z`;
// none without trials. Unlike the normal approximation it stays within 0..1 and does not
// collapse to a point at 0 or `trials` successes.
std::optional<Interval> wilsonInterval(int64_t successes, int64_t trials, double z = kZ95);

// The p-quantile (0 <= p <= 1) of an ascending sample, interpolating linearly between the
// order statistics at rank (n - 1) p (the usual spreadsheet PERCENTILE.INC); none when empty.
std::optional<double> percentile(std::span<const double> sorted, double p);

// The arithmetic mean, summed in order; none when empty.
std::optional<double> mean(std::span<const double> values);

}  // namespace prrsim::batch
