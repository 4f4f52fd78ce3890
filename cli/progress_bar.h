// A progress bar on standard error for files that take a while: nothing is
// drawn during the first half second, so quick files leave no trace.
#pragma once

#include <chrono>
#include <cstdint>
#include <string>

namespace brindlock::cli {

class ProgressBar {
public:
    ProgressBar(std::string label, bool enabled) : label_(std::move(label)), enabled_(enabled) {}
    ~ProgressBar() { Finish(); }

    // Always true: the command line has no abort button (Ctrl+C ends it).
    bool Update(int32_t done, int32_t total);
    void Finish();

private:
    using Clock = std::chrono::steady_clock;
    std::string label_;
    bool enabled_;
    bool drawn_ = false;
    Clock::time_point start_ = Clock::now();
    Clock::time_point lastDraw_{};
};

}  // namespace brindlock::cli
