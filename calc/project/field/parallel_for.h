#pragma once

#include <algorithm>
#include <atomic>
#include <cstddef>
#include <thread>
#include <vector>

namespace quorvel::project {

// Calls work(i) for every i below count, on as many threads as the machine
// has cores; returns when all are done. work must be safe to run in parallel.
template <typename Work>
void ParallelFor(std::size_t count, const Work& work) {
    const std::size_t threads =
        std::min<std::size_t>(std::max(1u, std::thread::hardware_concurrency()), count);
    if (threads <= 1) {
        for (std::size_t i = 0; i < count; ++i) work(i);
        return;
    }
    std::atomic<std::size_t> next{0};
    auto run = [&] {
        for (std::size_t i = next++; i < count; i = next++) work(i);
    };
    std::vector<std::jthread> pool;
    for (std::size_t t = 1; t < threads; ++t) pool.emplace_back(run);
    run();
}

}  // namespace quorvel::project
