#pragma once
// Progress callback for long computations. Algorithms know nothing of windows: they
// report how far they are and ask whether the user pressed Esc; the window maps this
// to its progress bar, labels, busy pointer and Esc key.
#include "core/error.h"

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

// Thrown by a loop that stopped at the user's Esc between two of its units; the text
// says where it stopped and what it kept. A stop is no failure: windows show the text
// as a note (or nothing), never under "Error".
class Stopped : public Error {
public:
    Stopped() : Error("Stopped by the user.") {}
    explicit Stopped(const std::string& what) : Error(what) {}
};

// One part of a longer run: the part's steps move the whole's bar within the share
// [first, last) of `total` units; status lines and Esc go to the whole unchanged. Lets a
// long operation inside one unit (the gridding of one file) move the bar of the units.
class PartProgress : public Progress {
public:
    PartProgress(Progress& whole, long long first, long long last, long long total)
        : whole_(whole), first_(first), last_(last), total_(total) {}
    void step(long long done, long long total) override {
        if (total > 0) whole_.step(first_ + (last_ - first_) * done / total, total_);
    }
    void status(const std::string& text) override { whole_.status(text); }
    bool stopRequested() override { return whole_.stopRequested(); }

private:
    Progress& whole_;
    long long first_, last_, total_;
};

} // namespace trelvik
