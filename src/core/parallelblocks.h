#pragma once
// Block-parallel loops for the long computations and writers (gridding, filters, point
// text, undercut judging).
//
// forEachBlock(count, perBlock, fn, afterBlock) calls fn(first, end) on disjoint blocks
// [first, end) of perBlock items (the last one shorter) that together cover [0, count),
// on up to workerCount() threads. Blocks are the same whatever the thread count, so
// per-block state starts alike; each result must be computed by exactly one call from
// inputs that no call writes, and then never depends on how many threads ran.
// afterBlock(doneItems) runs on the calling thread only, after each block the caller
// itself finished (with the running total of items done by all threads), so a window's
// progress sink is never called from a worker. An exception thrown by any block stops
// the others taking new blocks and is rethrown to the caller once every thread has
// finished.
//
// lowerTo(least, index) keeps in `least` the lowest index any block reported (the first
// refused line or point in file order, say).
#include <algorithm>
#include <atomic>
#include <cstddef>
#include <exception>
#include <mutex>
#include <thread>
#include <vector>

namespace trelvik {

inline unsigned workerCount() {
    const unsigned hw = std::thread::hardware_concurrency();
    return hw == 0 ? 1u : hw;
}

template <class Fn, class AfterBlock>
void forEachBlock(std::size_t count, std::size_t perBlock, Fn&& fn, AfterBlock&& afterBlock) {
    if (count == 0) return;
    if (perBlock == 0) perBlock = 1;
    const std::size_t blocks = (count + perBlock - 1) / perBlock;
    const unsigned threads = static_cast<unsigned>(std::min<std::size_t>(workerCount(), blocks));
    if (threads <= 1) {
        for (std::size_t first = 0; first < count; first += perBlock) {
            const std::size_t end = std::min(count, first + perBlock);
            fn(first, end);
            afterBlock(end);
        }
        return;
    }
    std::atomic<std::size_t> next{0};
    std::atomic<std::size_t> done{0};
    std::exception_ptr failure;
    std::mutex failureLock;
    auto work = [&](bool caller) {
        try {
            for (;;) {
                const std::size_t first = next.fetch_add(perBlock);
                if (first >= count) break;
                const std::size_t end = std::min(count, first + perBlock);
                fn(first, end);
                const std::size_t total = done.fetch_add(end - first) + (end - first);
                if (caller) afterBlock(total);
            }
        } catch (...) {
            std::lock_guard<std::mutex> g(failureLock);
            if (!failure) failure = std::current_exception();
            next.store(count);
        }
    };
    std::vector<std::thread> pool;
    pool.reserve(threads - 1);
    for (unsigned t = 1; t < threads; ++t) pool.emplace_back(work, false);
    work(true);
    for (auto& t : pool) t.join();
    if (failure) std::rethrow_exception(failure);
    afterBlock(count);
}

template <class Fn>
void forEachBlock(std::size_t count, std::size_t perBlock, Fn&& fn) {
    forEachBlock(count, perBlock, std::forward<Fn>(fn), [](std::size_t) {});
}

// Lowers `least` to `index` unless it is lower already: the first item in index order that
// any block met, whichever thread met it first.
inline void lowerTo(std::atomic<std::size_t>& least, std::size_t index) {
    std::size_t seen = least.load();
    while (index < seen && !least.compare_exchange_weak(seen, index)) {
    }
}

} // namespace trelvik
