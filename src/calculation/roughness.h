#pragma once
// Terrain roughness of a calculation: the mean of the national grid over a rectangle of at least
// 2 km by 2 km around the emission points, limited to 0.03 … 1 and rounded to hundredths.

#include "calculation/roughness_grid.h"
#include "platform/messages.h"

#include <cstdint>

namespace calculation {

inline constexpr double kDefaultRuwheid = 0.1;  // when no roughness can be derived
inline constexpr double kMinRuwheid = 0.03;
inline constexpr double kMaxRuwheid = 1.0;
inline constexpr int32_t kMinExtent = 2000;  // m, each direction

// Mean terrain roughness of the rectangle with lower-left corner (xBottum, yBottum) and upper-
// right corner (xTop, yTop), in metres. Never fails towards the caller: every problem gives 0.1,
// most after one message (a corner outside the grid, corners the wrong way round, a grid that
// ends before all cells were read). A rectangle narrower than 2 km is widened around its centre
// and shifted back inside the grid at its borders. One keyed positioning per row of cells, then
// only sequential reads.
[[nodiscard]] double getRoughness(RoughnessGrid& grid, platform::MessageSink& messages,
                                  int32_t xBottum, int32_t yBottum, int32_t xTop, int32_t yTop);

// True when a roughness may be used for a calculation: 0.03 … 1, both included.
[[nodiscard]] constexpr bool ruwheidInRange(double ruwheid) {
    return !(ruwheid < kMinRuwheid) && !(ruwheid > kMaxRuwheid) && ruwheid == ruwheid;
}

}  // namespace calculation
