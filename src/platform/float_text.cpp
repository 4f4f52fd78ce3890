#include "platform/float_text.h"

#include <charconv>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <system_error>

namespace brindlock {

namespace {

constexpr int kSignificantDigits = 15;
// Plain notation for decimal exponents in this range (0.0001 up to fifteen
// integer digits), mantissa and exponent outside it.
constexpr int kLowestPlainExponent = -4;
constexpr int kHighestPlainExponent = kSignificantDigits - 1;

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

}  // namespace

std::string FloatToStr(double value, char decimalSeparator) {
    if (std::isnan(value)) return "NAN";
    if (std::isinf(value)) return value > 0 ? "INF" : "-INF";
    if (value == 0) return "0";

    // printf rounds to the 15 significant digits; the exponent it prints
    // already accounts for a carry out of the last digit (9.99...9 -> 1E1).
    char scientific[40];
    std::snprintf(scientific, sizeof scientific, "%.*e", kSignificantDigits - 1, value);
    const char* p = scientific;
    std::string result;
    if (*p == '-') {
        result += '-';
        ++p;
    }
    std::string digits;
    for (; *p != 'e'; ++p)
        if (IsDigit(*p)) digits += *p;
    const int exponent = std::atoi(p + 1);
    while (digits.size() > 1 && digits.back() == '0') digits.pop_back();
    const int count = static_cast<int>(digits.size());

    if (exponent < kLowestPlainExponent || exponent > kHighestPlainExponent) {
        result += digits[0];
        if (count > 1) {
            result += decimalSeparator;
            result.append(digits, 1);
        }
        result += 'E';
        result += std::to_string(exponent);
        return result;
    }
    if (exponent < 0) {
        result += '0';
        result += decimalSeparator;
        result.append(static_cast<size_t>(-exponent - 1), '0');
        result += digits;
        return result;
    }
    const int integerDigits = exponent + 1;
    if (count <= integerDigits) {
        result += digits;
        result.append(static_cast<size_t>(integerDigits - count), '0');
    } else {
        result.append(digits, 0, static_cast<size_t>(integerDigits));
        result += decimalSeparator;
        result.append(digits, static_cast<size_t>(integerDigits));
    }
    return result;
}

bool StrToFloat(const std::string& text, char decimalSeparator, double& value) {
    size_t i = 0;
    const size_t n = text.size();
    while (i < n && text[i] == ' ') ++i;

    // Rebuild the number in the one spelling std::from_chars reads, which
    // does not depend on the C library's locale.
    std::string plain;
    if (i < n && (text[i] == '+' || text[i] == '-')) {
        if (text[i] == '-') plain += '-';
        ++i;
    }
    int mantissaDigits = 0;
    while (i < n && IsDigit(text[i])) {
        plain += text[i++];
        ++mantissaDigits;
    }
    if (i < n && text[i] == decimalSeparator) {
        plain += '.';
        ++i;
        while (i < n && IsDigit(text[i])) {
            plain += text[i++];
            ++mantissaDigits;
        }
    }
    if (mantissaDigits == 0) return false;
    if (i < n && (text[i] == 'E' || text[i] == 'e')) {
        plain += 'e';
        ++i;
        if (i < n && (text[i] == '+' || text[i] == '-')) plain += text[i++];
        int exponentDigits = 0;
        while (i < n && IsDigit(text[i])) {
            plain += text[i++];
            ++exponentDigits;
        }
        if (exponentDigits == 0) return false;
    }
    while (i < n && text[i] == ' ') ++i;
    if (i != n) return false;

    double parsed = 0;
    const auto [end, error] = std::from_chars(plain.data(), plain.data() + plain.size(), parsed);
    if (error != std::errc() || end != plain.data() + plain.size() || !std::isfinite(parsed)) return false;
    value = parsed;
    return true;
}

}  // namespace brindlock
