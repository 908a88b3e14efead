#pragma once
// Progress callback for long computations. Algorithms know nothing of windows: they
// report how far they are and ask whether the user pressed Esc; the window maps this
// to its progress bar, labels, busy pointer and Esc key.
#include <string>

namespace trelvik {

class Progress {
public:
    virtual ~Progress() = default;
    // done of total units finished (total may be 0 when unknown).
    virtual void step(long long done, long long total) { (void)done; (void)total; }
    // A short status line ("Tooth 3 / 12").
    virtual void status(const std::string& text) { (void)text; }
    // True once the user asked to stop (Esc); loops that can stop check it.
    virtual bool stopRequested() { return false; }
};

// A progress sink that ignores everything and never asks to stop.
inline Progress& noProgress() {
    static Progress silent;
    return silent;
}

} // namespace trelvik
