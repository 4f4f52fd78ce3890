#include "platform/headless/headless_run_time.h"

#include <algorithm>
#include <string>

namespace brindlock {

TDateTime HeadlessClock::Now() { return Start + static_cast<double>(elapsedMs_()) / 86400000.0; }

namespace {

unsigned char Fold(char c) {
    const auto u = static_cast<unsigned char>(c);
    if (u >= 'A' && u <= 'Z') return static_cast<unsigned char>(u + 32);
    // Latin-1 capitals À..Þ, except the multiplication sign.
    if (u >= 0xC0 && u <= 0xDE && u != 0xD7) return static_cast<unsigned char>(u + 32);
    return u;
}

}  // namespace

int HeadlessLocale::AnsiCompareText(const std::string& a, const std::string& b) {
    const size_t common = std::min(a.size(), b.size());
    for (size_t i = 0; i < common; ++i) {
        const int difference = Fold(a[i]) - Fold(b[i]);
        if (difference != 0) return difference;
    }
    return a.size() < b.size() ? -1 : a.size() > b.size() ? 1 : 0;
}

}  // namespace brindlock
