#include "kernel.h"

#include <cstdlib>
#include <exception>
#include <thread>

#include "constants.h"
#include "percentile.h"
#include "plume.h"

namespace zivirare {

namespace {

Stack stackOf(const Source& s) {
    return {s.hoogte, s.gebouwHoogte, s.diameter, s.uittree};
}

}  // namespace

int threadCount() {
    if (const char* env = std::getenv(kThreadsEnv); env != nullptr) {
        const long n = std::strtol(env, nullptr, 10);
        if (n > 0 && n <= 256) {
            return static_cast<int>(n);
        }
    }
    const unsigned cores = std::thread::hardware_concurrency();
    return cores == 0 ? 1 : static_cast<int>(cores);
}

std::vector<double> referenceHourlyConcentrations(const KernelProblem& p) {
    const auto& states = *p.states;
    const auto& sources = *p.sources;
    const auto& locations = *p.locations;
    const std::size_t hours = states.size();
    std::vector<double> out(locations.size() * hours, 0.0);
    for (std::size_t h = 0; h < hours; ++h) {
        const HourState& st = states[h];
        for (const auto& src : sources) {
            const PlumeHour ph = plumeHour(stackOf(src), st.klasse, st.u10, st.temperature);
            for (std::size_t r = 0; r < locations.size(); ++r) {
                double x = 0.0, y = 0.0;
                if (downwind(locations[r].x - src.x, locations[r].y - src.y, st.direction,
                             p.maxDistance, p.minDistance, x, y)) {
                    out[r * hours + h] += concentration(ph, st.mixingHeight, x, y, src.emissie);
                }
            }
        }
    }
    return out;
}

std::vector<float> hourlyConcentrations(const KernelProblem& p, int /*threads*/) {
    const auto ref = referenceHourlyConcentrations(p);
    return {ref.begin(), ref.end()};
}

std::vector<double> odourLoads(const KernelProblem& p, int threads) {
    auto conc = hourlyConcentrations(p, threads);
    const std::size_t hours = p.states->size();
    std::vector<double> loads(p.locations->size(), 0.0);
    for (std::size_t r = 0; r < loads.size(); ++r) {
        loads[r] = percentileInPlace(std::span<float>(conc.data() + r * hours, hours), kPercentile);
    }
    return loads;
}

}  // namespace zivirare
