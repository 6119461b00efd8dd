#pragma once
// Work spread over threads in contiguous parts. Each part computes its own indices with the same
// code as any other split would, so results never depend on the number of threads.

#include <algorithm>
#include <cstddef>
#include <exception>
#include <thread>
#include <vector>

namespace zivirare {

// Threads to use: ZIVIRARE_THREADS when set to a positive number, else the machine's cores.
[[nodiscard]] int threadCount();

// Runs `work(begin, end)` over [0, count) in `threads` contiguous parts and rethrows the first
// exception of any part. When a thread cannot be started, its parts run in the calling thread.
template <typename Work>
inline void parallelFor(std::size_t count, int threads, const Work& work) {
    const std::size_t parts =
        std::max<std::size_t>(1, std::min<std::size_t>(static_cast<std::size_t>(threads), count));
    const auto part = [&](std::size_t t) { work(count * t / parts, count * (t + 1) / parts); };
    std::vector<std::exception_ptr> errors(parts);
    std::vector<std::thread> pool;
    std::size_t started = 1;
    try {
        pool.reserve(parts - 1);
        for (; started < parts; ++started) {
            pool.emplace_back([&, t = started] {
                try {
                    part(t);
                } catch (...) {
                    errors[t] = std::current_exception();
                }
            });
        }
    } catch (...) {
        // No more threads: the rest is done here.
    }
    for (std::size_t t = 0; t < parts; ++t) {
        if (t == 0 || t >= started) {
            try {
                part(t);
            } catch (...) {
                errors[t] = std::current_exception();
            }
        }
    }
    for (auto& thread : pool) {
        thread.join();
    }
    for (const auto& e : errors) {
        if (e) {
            std::rethrow_exception(e);
        }
    }
}

}  // namespace zivirare
