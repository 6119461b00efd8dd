#include "percentile.h"

#include <algorithm>

namespace zivirare {

int64_t nearestRank(int64_t n, int percent) {
    // Whole-number arithmetic: 0.98 * n in floating point could land just above an integer.
    return std::max<int64_t>(1, (static_cast<int64_t>(percent) * n + 99) / 100);
}

float percentileInPlace(std::span<float> values, int percent) {
    if (values.empty()) {
        return 0.0f;
    }
    const auto k =
        static_cast<std::ptrdiff_t>(nearestRank(static_cast<int64_t>(values.size()), percent) - 1);
    std::nth_element(values.begin(), values.begin() + k, values.end());
    return values[static_cast<std::size_t>(k)];
}

}  // namespace zivirare
