#pragma once
// Row-parallel loops for the grid operations (gridding, calculus, filters).
//
// forEachRowBlock(rows, fn) calls fn(firstRow, endRow) on disjoint blocks of rows that
// together cover [0, rows), on up to hardware_concurrency() threads. Each output node is
// computed by exactly one call from inputs that no call writes, so results never depend
// on how many threads ran. An exception thrown by any block is rethrown to the caller
// once every thread has finished. Rows done are reported to the operation progress
// sink (surfer/operationprogress.h) from the calling thread.
#include "surfer/operationprogress.h"

#include <algorithm>
#include <atomic>
#include <exception>
#include <mutex>
#include <thread>
#include <vector>

namespace surfer::detail {

inline unsigned workerCount() {
    const unsigned hw = std::thread::hardware_concurrency();
    return hw == 0 ? 1u : hw;
}

template <class Fn>
void forEachRowBlock(int rows, Fn&& fn, int rowsPerBlock = 8) {
    if (rows <= 0) return;
    trelvik::Progress* sink = operationProgressSlot();
    const unsigned threads = std::min<unsigned>(workerCount(), static_cast<unsigned>((rows + rowsPerBlock - 1) / rowsPerBlock));
    if (threads <= 1) {
        // The same blocks as with threads, so that per-block state (search hints) starts
        // alike whatever the thread count.
        for (int first = 0; first < rows; first += rowsPerBlock) {
            const int end = std::min(rows, first + rowsPerBlock);
            fn(first, end);
            if (sink) sink->step(end, rows);
        }
        return;
    }
    std::atomic<int> next{0};
    std::atomic<int> done{0};
    std::exception_ptr failure;
    std::mutex failureLock;
    auto work = [&](bool caller) {
        try {
            for (;;) {
                const int first = next.fetch_add(rowsPerBlock);
                if (first >= rows) break;
                const int end = std::min(rows, first + rowsPerBlock);
                fn(first, end);
                const int total = done.fetch_add(end - first) + (end - first);
                if (caller && sink) sink->step(total, rows);
            }
        } catch (...) {
            std::lock_guard<std::mutex> g(failureLock);
            if (!failure) failure = std::current_exception();
            next.store(rows);
        }
    };
    std::vector<std::thread> pool;
    pool.reserve(threads - 1);
    for (unsigned t = 1; t < threads; ++t) pool.emplace_back(work, false);
    work(true);
    for (auto& t : pool) t.join();
    if (sink && !failure) sink->step(rows, rows);
    if (failure) std::rethrow_exception(failure);
}

} // namespace surfer::detail
