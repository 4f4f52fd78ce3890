// Numbers as text the way the desktop run time writes and reads them, with a
// decimal separator chosen by the caller (the user's regional one).
#pragma once

#include <string>

namespace brindlock {

// General format with at most 15 significant digits: trailing zeros of the
// fraction dropped, no separator for a whole number, no thousands separator.
// Plain notation while the number has at most 15 integer digits and is at
// least 0.0001 in size; otherwise mantissa and exponent ("1.5E20", "1E-5").
std::string FloatToStr(double value, char decimalSeparator);

// Accepts spaces before and after the number, an optional sign, digits with
// at most one `decimalSeparator` (at least one digit in all) and an optional
// exponent ("E" or "e", optional sign, digits), and nothing else. A number
// beyond the range of a double is refused too. On success stores the number
// in `value`; on failure leaves `value` alone.
bool StrToFloat(const std::string& text, char decimalSeparator, double& value);

}  // namespace brindlock
