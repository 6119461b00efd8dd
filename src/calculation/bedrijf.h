#pragma once
// Loading a company into the result grid, and opening the roughness grid beside the record
// files.

#include "calculation/berekenen.h"
#include "calculation/roughness_grid.h"

#include <functional>
#include <memory>

namespace store {
class Dictionary;
}

namespace calculation {

// Loads the company whose record is in the BEDRIJVEN buffer (its BED:ID; its name and station
// are kept for the input files) into state: the emission points by BRO:By_Fk and the locations
// by GGL:By_Fk, each read in key order while the link matches; then the bounding box, the order
// (emission points first, each group by identifier), the numbers 1..n and loads 0. BRONNEN and
// GEURGEVLOC must be open. Enables "&Start berekenen" and calls drawBubble.
void getBedrijf(BerekenenState& state, store::Dictionary& dictionary,
                const std::function<void()>& drawBubble = {});

// The roughness grid "Roughness.tps" in the home directory of the dictionary, created empty
// when missing. Fatal errors through the dictionary's error manager (platform::FatalError).
[[nodiscard]] std::unique_ptr<RoughnessGrid> openRoughnessGrid(store::Dictionary& dictionary);

}  // namespace calculation
