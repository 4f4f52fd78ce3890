// Dates, numbers as text and the case-blind path comparison: the pieces the
// pending-wipe list relies on.
#include <gtest/gtest.h>

#include <cmath>
#include <ctime>
#include <string>

#include "platform/date_time.h"
#include "platform/float_text.h"
#include "platform/headless/headless_run_time.h"
#ifdef _WIN32
#include "platform/win32/win32_run_time.h"
#endif

namespace brindlock {
namespace {

TEST(EncodeDateTime, CountsDaysFromTheEndOf1899) {
    struct Case {
        int y, mo, d, h, mi, s, ms;
        double expected;
    };
    const Case cases[] = {
        {1899, 12, 30, 0, 0, 0, 0, 0},
        {1899, 12, 31, 0, 0, 0, 0, 1},
        {1900, 1, 1, 0, 0, 0, 0, 2},
        {1900, 3, 1, 0, 0, 0, 0, 61},  // 1900 was no leap year
        {2000, 1, 1, 0, 0, 0, 0, 36526},
        {2024, 2, 29, 6, 0, 0, 0, 45351.25},
        {2026, 12, 11, 12, 0, 0, 0, 46367.5},
        {2026, 12, 11, 0, 0, 0, 1, 46367 + 1 / 86400000.0},
        {2026, 12, 31, 23, 59, 59, 999, 46387 + 86399999 / 86400000.0},
    };
    for (const Case& c : cases)
        EXPECT_DOUBLE_EQ(EncodeDateTime(c.y, c.mo, c.d, c.h, c.mi, c.s, c.ms), c.expected)
            << c.y << "-" << c.mo << "-" << c.d << " " << c.h << ":" << c.mi << ":" << c.s << "." << c.ms;
}

TEST(FloatToStr, GeneralFormatWithFifteenDigits) {
    struct Case {
        double value;
        char separator;
        const char* expected;
    };
    const Case cases[] = {
        {0, '.', "0"},
        {1, '.', "1"},
        {-2.5, '.', "-2.5"},
        {-2.5, ',', "-2,5"},
        {0.1, '.', "0.1"},
        {1.0 / 3, '.', "0.333333333333333"},
        {2.0 / 3, ',', "0,666666666666667"},
        {0.99999999999999994, '.', "1"},  // rounds up into a whole number
        {123456789012345, '.', "123456789012345"},
        {100000000000000, '.', "100000000000000"},
        {1234567890123456, '.', "1.23456789012346E15"},
        {1e15, '.', "1E15"},
        {1.5e20, ',', "1,5E20"},
        {0.0001, '.', "0.0001"},
        {0.00012, ',', "0,00012"},
        {0.00001, '.', "1E-5"},
        {-1.5e-7, '.', "-1.5E-7"},
        {46367, '.', "46367"},
        {46367.5, '.', "46367.5"},
        {46367.5, ',', "46367,5"},
        // 12:00:30: ten digits of fraction fill the fifteen.
        {EncodeDateTime(2026, 12, 11, 12, 0, 30, 0), '.', "46367.5003472222"},
        {EncodeDateTime(2026, 12, 11, 12, 0, 30, 0), ',', "46367,5003472222"},
        {NAN, '.', "NAN"},
        {INFINITY, '.', "INF"},
        {-INFINITY, '.', "-INF"},
        // Fifteen digits of the largest double round up past it.
        {1.7976931348623157e308, '.', "1.79769313486232E308"},
    };
    for (const Case& c : cases) EXPECT_EQ(FloatToStr(c.value, c.separator), c.expected) << c.expected;
}

TEST(StrToFloat, AcceptsOnlyANumberWithTheGivenSeparator) {
    struct Case {
        const char* text;
        char separator;
        bool ok;
        double expected;
    };
    const Case cases[] = {
        {"1", '.', true, 1},
        {"  1.5  ", '.', true, 1.5},
        {"-2", '.', true, -2},
        {"+3", ',', true, 3},
        {".5", '.', true, 0.5},
        {"5.", '.', true, 5},
        {"1E3", '.', true, 1000},
        {"1e-3", '.', true, 0.001},
        {" -2,5E+2 ", ',', true, -250},
        {"46367.5003472222", '.', true, 46367.5003472222},
        {"46367,5", ',', true, 46367.5},
        {"", '.', false, 0},
        {"   ", '.', false, 0},
        {".", '.', false, 0},
        {"-", '.', false, 0},
        {"46367.5", ',', false, 0},  // written under a point, read under a comma
        {"46367,5", '.', false, 0},
        {"1E", '.', false, 0},
        {"1E+", '.', false, 0},
        {"E5", '.', false, 0},
        {"1 2", '.', false, 0},
        {"1.2.3", '.', false, 0},
        {"1,000.5", '.', false, 0},  // no thousands separator
        {"--1", '.', false, 0},
        {"\t1", '.', false, 0},
        {"1\r", '.', false, 0},
        {"1|46367.5", '.', false, 0},
        {"0x10", '.', false, 0},
        {"inf", '.', false, 0},
        {"nan", '.', false, 0},
        {"1e999", '.', false, 0},
        {"1.79769313486232E308", '.', false, 0},  // just past the largest double
        {"1.79769313486231E308", '.', true, 1.79769313486231e308},
    };
    for (const Case& c : cases) {
        double value = -12345;
        EXPECT_EQ(StrToFloat(c.text, c.separator, value), c.ok) << '"' << c.text << '"';
        if (c.ok)
            EXPECT_DOUBLE_EQ(value, c.expected) << '"' << c.text << '"';
        else
            EXPECT_EQ(value, -12345) << '"' << c.text << '"';
    }
}

TEST(FloatToStr, DueTimesReadBackToTheMillisecond) {
    for (char separator : {'.', ','}) {
        for (int second = 0; second < 86400; second += 977) {
            const TDateTime due = EncodeDateTime(2026, 12, 11, second / 3600, second / 60 % 60, second % 60, second % 1000);
            double back = 0;
            ASSERT_TRUE(StrToFloat(FloatToStr(due, separator), separator, back)) << FloatToStr(due, separator);
            EXPECT_NEAR(back, due, 1e-3 / 86400) << FloatToStr(due, separator);
        }
    }
}

struct CompareCase {
    const char* a;
    const char* b;
    int sign;
};
const CompareCase kCompareCases[] = {
    {"C:\\Docs\\_Brindlock.txt", "c:\\docs\\_brindlock.TXT", 0},
    {"C:\\Docs\\a.txt", "C:\\Docs\\b.txt", -1},
    {"b", "A", 1},
    {"a", "ab", -1},
    {"", "", 0},
};

int Sign(int x) { return (x > 0) - (x < 0); }

TEST(HeadlessLocale, FoldsAsciiAndLatin1Letters) {
    HeadlessLocale locale;
    for (const CompareCase& c : kCompareCases) EXPECT_EQ(Sign(locale.AnsiCompareText(c.a, c.b)), c.sign) << c.a << " / " << c.b;
    EXPECT_EQ(locale.AnsiCompareText("\xC4rger", "\xE4RGER"), 0);  // Ä, ä
    EXPECT_NE(locale.AnsiCompareText("\xD7", "\xF7"), 0);           // ×, ÷ are no letters
}

TEST(HeadlessClock, FollowsTheVirtualClockFromItsStart) {
    uint64_t elapsed = 0;
    HeadlessClock clock([&] { return elapsed; });
    clock.Start = EncodeDateTime(2026, 12, 11, 0, 0, 0, 0);
    EXPECT_DOUBLE_EQ(clock.Now(), 46367);
    elapsed = 43200000;
    EXPECT_DOUBLE_EQ(clock.Now(), 46367.5);
}

#ifdef _WIN32
TEST(Win32RunTime, ComparesPathsWithoutRegardToCase) {
    for (const CompareCase& c : kCompareCases)
        EXPECT_EQ(Sign(Win32Locale().AnsiCompareText(c.a, c.b)), c.sign) << c.a << " / " << c.b;
}

TEST(Win32RunTime, NowIsTheLocalTime) {
    const std::time_t t = std::time(nullptr);
    std::tm local{};
    localtime_s(&local, &t);
    const TDateTime expected =
        EncodeDateTime(local.tm_year + 1900, local.tm_mon + 1, local.tm_mday, local.tm_hour, local.tm_min, local.tm_sec, 0);
    EXPECT_NEAR(Win32Clock().Now(), expected, 2.0 / 86400);
}

TEST(Win32RunTime, DecimalSeparatorIsAPointOrAComma) {
    const char separator = Win32Locale().DecimalSeparator();
    EXPECT_TRUE(separator == '.' || separator == ',') << separator;
}
#endif

}  // namespace
}  // namespace brindlock
