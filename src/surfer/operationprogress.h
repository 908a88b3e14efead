#pragma once
// Progress of the long grid operations (gridding, filtering, calculus such as
// curvature): a caller that wants to see how far an operation is puts its progress
// sink in place with OperationProgress for the length of its calls; the row-parallel
// loops then report rows done (step(done, rows)) from the calling thread only, so a
// window's sink is never called from a worker thread. Without a sink nothing is
// reported. Stopping is left to the caller, between operations.
#include "core/progress.h"

namespace surfer {

namespace detail {
inline trelvik::Progress*& operationProgressSlot() {
    thread_local trelvik::Progress* sink = nullptr;
    return sink;
}
} // namespace detail

// Sets the sink of this thread's operations for its lifetime (restoring the previous).
class OperationProgress {
public:
    explicit OperationProgress(trelvik::Progress* sink) : previous_(detail::operationProgressSlot()) {
        detail::operationProgressSlot() = sink;
    }
    ~OperationProgress() { detail::operationProgressSlot() = previous_; }
    OperationProgress(const OperationProgress&) = delete;
    OperationProgress& operator=(const OperationProgress&) = delete;

private:
    trelvik::Progress* previous_;
};

} // namespace surfer
