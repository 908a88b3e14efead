#pragma once
// Row-parallel loops for the grid operations (gridding, calculus, filters).
//
// forEachRowBlock(rows, fn) calls fn(firstRow, endRow) on disjoint blocks of rows that
// together cover [0, rows), on up to hardware_concurrency() threads. Each output node is
// computed by exactly one call from inputs that no call writes, so results never depend
// on how many threads ran. An exception thrown by any block is rethrown to the caller
// once every thread has finished. Rows done are reported to the operation progress
// sink (surfer/operationprogress.h) from the calling thread.
#include "core/parallelblocks.h"
#include "surfer/operationprogress.h"

namespace surfer::detail {

using trelvik::workerCount;

template <class Fn>
void forEachRowBlock(int rows, Fn&& fn, int rowsPerBlock = 8) {
    if (rows <= 0) return;
    trelvik::Progress* sink = operationProgressSlot();
    trelvik::forEachBlock(
        static_cast<std::size_t>(rows), static_cast<std::size_t>(std::max(rowsPerBlock, 1)),
        [&](std::size_t first, std::size_t end) { fn(static_cast<int>(first), static_cast<int>(end)); },
        [&](std::size_t done) {
            if (sink) sink->step(static_cast<long long>(done), rows);
        });
}

} // namespace surfer::detail
