// Hex helpers for known-answer tables: failures print both sides in hex.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace brindlock::test {

inline std::vector<uint8_t> FromHex(std::string_view hex) {
    std::vector<uint8_t> out;
    auto nibble = [](char c) { return c <= '9' ? c - '0' : (c | 0x20) - 'a' + 10; };
    for (std::size_t i = 0; i + 1 < hex.size(); i += 2)
        out.push_back(static_cast<uint8_t>(nibble(hex[i]) * 16 + nibble(hex[i + 1])));
    return out;
}

inline std::string ToHex(const uint8_t* data, std::size_t size) {
    static const char* digits = "0123456789abcdef";
    std::string s;
    for (std::size_t i = 0; i < size; ++i) {
        s += digits[data[i] >> 4];
        s += digits[data[i] & 15];
    }
    return s;
}

inline std::string ToHex(const std::vector<uint8_t>& v) { return ToHex(v.data(), v.size()); }

}  // namespace brindlock::test
