#pragma once
// The odour load: a percentile of the hourly concentrations by nearest rank.

#include <cstdint>
#include <span>

namespace zivirare {

// Rank (1-based) of the p-th percentile of n values by nearest rank: ceil(p/100 * n), at least 1.
[[nodiscard]] int64_t nearestRank(int64_t n, int percent);

// The value of that rank in ascending order. Reorders `values`; 0 for an empty series.
[[nodiscard]] float percentileInPlace(std::span<float> values, int percent);

}  // namespace zivirare
