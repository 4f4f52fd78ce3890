// Clock and regional settings for tests: the time follows the headless
// desktop's virtual clock from a start moment the test may set, and the
// decimal separator is whatever the test sets.
#pragma once

#include <cstdint>
#include <functional>

#include "platform/clock.h"
#include "platform/locale.h"

namespace brindlock {

class HeadlessClock : public IClock {
public:
    // `elapsedMs` gives the milliseconds the virtual clock has run.
    explicit HeadlessClock(std::function<uint64_t()> elapsedMs) : elapsedMs_(std::move(elapsedMs)) {}
    // The moment at which the virtual clock stood at zero; noon of
    // 11 December 2026 unless a test sets another.
    TDateTime Start = EncodeDateTime(2026, 12, 11, 12, 0, 0, 0);
    TDateTime Now() override;

private:
    std::function<uint64_t()> elapsedMs_;
};

// Case folding of ASCII and Latin-1 letters, which is what the program's
// paths in tests need; Windows' own collation is only met under Wine.
class HeadlessLocale : public ILocale {
public:
    char Separator = '.';
    char DecimalSeparator() override { return Separator; }
    int AnsiCompareText(const std::string& a, const std::string& b) override;
};

}  // namespace brindlock
