#pragma once
// The hot loop: hourly concentrations at every sensitive location, summed over the emission
// points, and their percentile. Per hour and per emission point everything that does not depend
// on the receptor is computed once; the loop over receptors is branch-free single precision over
// structure-of-arrays data, so that the compiler vectorises it. Hours are spread over threads;
// every value is computed by the same code whatever the split, so results are bit-for-bit the
// same for any number of threads.

#include <vector>

#include "boundary_layer.h"
#include "inputs.h"
#include "parallel.h"

namespace zivirare {

struct KernelProblem {
    const std::vector<HourState>* states = nullptr;  // the valid hours only
    const std::vector<Source>* sources = nullptr;
    const std::vector<Location>* locations = nullptr;
    double maxDistance = 5000.0;
    double minDistance = 20.0;
};

// Hourly total concentration per location: result[location * hours + hour].
[[nodiscard]] std::vector<float> hourlyConcentrations(const KernelProblem& problem, int threads);

// The odour load per location: the percentile of its hourly concentrations.
[[nodiscard]] std::vector<double> odourLoads(const KernelProblem& problem, int threads);

// The same hourly concentrations by the double-precision plume formulas, one hour after another.
[[nodiscard]] std::vector<double> referenceHourlyConcentrations(const KernelProblem& problem);

}  // namespace zivirare
