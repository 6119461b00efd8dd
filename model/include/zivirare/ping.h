#pragma once
// The one entry point of the odour-dispersion model library. Everything else the caller and the
// model exchange goes through files: "Param.dat", "Bronnen.dat" and "GGL.dat" in the directory
// "Input" beside the current working directory, and "RepGeurBelast.dat" in "Output" beside it.

#include <stdint.h>

#if defined(_WIN32)
#define ZIVIRARE_EXPORT __declspec(dllexport)
#else
#define ZIVIRARE_EXPORT __attribute__((visibility("default")))
#endif

#ifdef __cplusplus
extern "C" {
#endif

// Runs the model once, synchronously. `*pingIn` must be 3. Returns 0 on success, a negative code
// on failure (see zivirare::ReturnCode); never throws, exits or prints. On success the results
// file is complete; on failure no results file is left in the output directory.
ZIVIRARE_EXPORT int32_t ping(int32_t* pingIn);

#ifdef __cplusplus
}
#endif
