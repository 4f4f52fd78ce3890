#include "platform/win32/win32_run_time.h"

#include <windows.h>

namespace brindlock {

namespace {

class Win32ClockImpl : public IClock {
public:
    TDateTime Now() override {
        SYSTEMTIME local;
        GetLocalTime(&local);
        return EncodeDateTime(local.wYear, local.wMonth, local.wDay, local.wHour, local.wMinute, local.wSecond,
                              local.wMilliseconds);
    }
};

class Win32LocaleImpl : public ILocale {
public:
    char DecimalSeparator() override {
        char text[8] = {};
        if (GetLocaleInfoA(LOCALE_USER_DEFAULT, LOCALE_SDECIMAL, text, sizeof text) < 2) return '.';
        return text[0];
    }

    int AnsiCompareText(const std::string& a, const std::string& b) override {
        const int result = CompareStringA(LOCALE_USER_DEFAULT, NORM_IGNORECASE, a.data(), static_cast<int>(a.size()),
                                          b.data(), static_cast<int>(b.size()));
        // 0 (failure) counts as "not equal", like any result but CSTR_EQUAL.
        return result == 0 ? -2 : result - CSTR_EQUAL;
    }
};

}  // namespace

IClock& Win32Clock() {
    static Win32ClockImpl clock;
    return clock;
}

ILocale& Win32Locale() {
    static Win32LocaleImpl locale;
    return locale;
}

}  // namespace brindlock
