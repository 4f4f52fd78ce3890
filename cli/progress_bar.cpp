#include "progress_bar.h"

#include <cstdio>

namespace brindlock::cli {

namespace {
constexpr auto kQuietStart = std::chrono::milliseconds(500);
constexpr auto kRedrawEvery = std::chrono::milliseconds(100);
constexpr int kWidth = 30;
}  // namespace

bool ProgressBar::Update(int32_t done, int32_t total) {
    if (!enabled_ || total <= 0) return true;
    const auto now = Clock::now();
    if (now - start_ < kQuietStart) return true;
    if (drawn_ && now - lastDraw_ < kRedrawEvery && done < total) return true;
    lastDraw_ = now;
    drawn_ = true;
    const auto percent = static_cast<int>(int64_t{done} * 100 / total);
    const auto filled = static_cast<int>(int64_t{done} * kWidth / total);
    std::string bar(static_cast<std::size_t>(filled), '#');
    bar.resize(kWidth, '.');
    std::fprintf(stderr, "\r%s [%s] %3d%%", label_.c_str(), bar.c_str(), percent);
    std::fflush(stderr);
    return true;
}

void ProgressBar::Finish() {
    if (drawn_) std::fputs("\n", stderr);
    drawn_ = false;
}

}  // namespace brindlock::cli
