// The user's regional settings, as far as the program depends on them.
#pragma once

#include <string>

namespace brindlock {

class ILocale {
public:
    virtual ~ILocale() = default;
    // The decimal separator of the user's regional settings, read anew at
    // every call (a point or a comma, usually).
    virtual char DecimalSeparator() = 0;
    // Compares two 8-bit texts without regard to letter case under the
    // user's default locale: below zero, zero or above zero as `a` sorts
    // before, equal to or after `b`.
    virtual int AnsiCompareText(const std::string& a, const std::string& b) = 0;
};

}  // namespace brindlock
