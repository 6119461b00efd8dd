#include "parallel.h"

#include <cstdlib>

#include "constants.h"

namespace zivirare {

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

}  // namespace zivirare
