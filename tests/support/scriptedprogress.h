#pragma once
// A progress sink for the tests: records every step and status line, and asks to stop
// (as Esc does) once `stopAfterSteps` steps have been reported (never when negative).
#include "core/progress.h"

#include <string>
#include <utility>
#include <vector>

namespace trelvik::testing {

class ScriptedProgress : public Progress {
public:
    explicit ScriptedProgress(long long stopAfterSteps = -1) : stopAfter_(stopAfterSteps) {}

    void step(long long done, long long total) override { steps.emplace_back(done, total); }
    void status(const std::string& text) override { statuses.push_back(text); }
    bool stopRequested() override {
        ++checks;
        return stopAfter_ >= 0 && static_cast<long long>(steps.size()) >= stopAfter_;
    }

    std::vector<std::pair<long long, long long>> steps;
    std::vector<std::string> statuses;
    int checks = 0;

private:
    long long stopAfter_;
};

} // namespace trelvik::testing
