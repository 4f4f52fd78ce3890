// The number text of the pending-wipe list's due times: StrToFloat on any
// text, and FloatToStr's text read back by StrToFloat, under both decimal
// separators. A due time that does not survive its own round trip would
// make a copy due at the wrong moment after a restart.
//
// Input: byte 0 picks the separator (bit 0: comma); the rest is the text.
// When the rest is exactly 8 bytes it is also taken as a double's bits.
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>

#include "platform/float_text.h"
#include "support/fuzz_check.h"

namespace {

// Fifteen significant digits: what the text keeps of a double.
bool CloseEnough(double a, double b) {
    if (a == b) return true;
    const double scale = std::fmax(std::fabs(a), std::fabs(b));
    return std::fabs(a - b) <= scale * 1e-14;
}

// The largest magnitude whose fifteen-digit text is still a finite double;
// above it the text rounds up past the largest double and reads back as out
// of range (due times are tens of thousands of days, nowhere near).
constexpr double kLargestReadableText = 1.79769313486231e308;

void RoundTrip(double value, char separator) {
    const std::string text = brindlock::FloatToStr(value, separator);
    FUZZ_CHECK(!text.empty());
    const char other = separator == '.' ? ',' : '.';
    FUZZ_CHECK(text.find(other) == std::string::npos);
    double back = 0;
    if (!brindlock::StrToFloat(text, separator, back)) {
        FUZZ_CHECK(std::fabs(value) > kLargestReadableText);
        return;
    }
    FUZZ_CHECK(CloseEnough(back, value));
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
    if (size < 1) return 0;
    const char separator = (data[0] & 1) ? ',' : '.';
    const std::string text(reinterpret_cast<const char*>(data + 1), size - 1);

    double value = 12345.678;
    const double untouched = value;
    if (brindlock::StrToFloat(text, separator, value)) {
        FUZZ_CHECK(std::isfinite(value));
        RoundTrip(value, separator);
    } else {
        FUZZ_CHECK(value == untouched);
    }

    if (size - 1 == sizeof(double)) {
        double bits = 0;
        std::memcpy(&bits, data + 1, sizeof bits);
        if (std::isfinite(bits)) RoundTrip(bits, separator);
    }
    return 0;
}
