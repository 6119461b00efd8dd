#pragma once
// One model run as the entry point performs it: read the input files, the weather, compute the
// odour loads and write the results file.

#include <cstdint>
#include <string>

namespace zivirare {

// Runs with the input and output directories derived from the current working directory.
// Returns a ReturnCode; lets no exception escape.
[[nodiscard]] int32_t run(const int32_t* pingIn) noexcept;

// The same with explicit directories, for tools and tests.
[[nodiscard]] int32_t runIn(const std::string& inputDir, const std::string& outputDir) noexcept;

}  // namespace zivirare
