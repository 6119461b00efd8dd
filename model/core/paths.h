#pragma once
// Where the model finds its files.

#include <string>

namespace zivirare {

struct WorkDirs {
    std::string input, output;  // without a trailing separator
};

// The input and output directories of a home directory: siblings "Input" and "Output" in its
// parent; for a root, the root's own "Input" and "Output".
[[nodiscard]] WorkDirs workDirsOf(const std::string& home);

// The model's own data folder: ZIVIRARE_DATA when set, else "zivirare-data" beside the library
// (or program) that holds this code. Empty when neither can be found.
[[nodiscard]] std::string dataDir();

// The last component of a path written with "/" or "\" separators.
[[nodiscard]] std::string fileNameOf(const std::string& path);

}  // namespace zivirare
