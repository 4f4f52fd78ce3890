#include "shell/hotkey_text.h"

#include <string>
#include <vector>

namespace brindlock {
namespace {

constexpr uint32_t kVkTab = 0x09;
constexpr uint32_t kVkReturn = 0x0d;
constexpr uint32_t kVkEscape = 0x1b;
constexpr uint32_t kVkSpace = 0x20;
constexpr uint32_t kVkF1 = 0x70;

bool IsBlank(char c) { return static_cast<unsigned char>(c) <= 32; }

std::string TrimLower(std::string_view token) {
    std::size_t b = 0, e = token.size();
    while (b < e && IsBlank(token[b])) ++b;
    while (e > b && IsBlank(token[e - 1])) --e;
    std::string s(token.substr(b, e - b));
    for (char& c : s)
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    return s;
}

// Decimal integer with an optional sign; anything else reads as 0.
int ReadInteger(std::string_view s) {
    std::size_t i = 0;
    bool negative = false;
    if (i < s.size() && (s[i] == '+' || s[i] == '-')) negative = s[i++] == '-';
    if (i == s.size() || s.size() - i > 9) return 0;
    int value = 0;
    for (; i < s.size(); ++i) {
        if (s[i] < '0' || s[i] > '9') return 0;
        value = value * 10 + (s[i] - '0');
    }
    return negative ? -value : value;
}

std::vector<std::string_view> SplitAtPlus(std::string_view text) {
    std::vector<std::string_view> tokens;
    std::size_t start = 0;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '+') {
            tokens.push_back(text.substr(start, i - start));
            start = i + 1;
        }
    }
    if (start < text.size()) tokens.push_back(text.substr(start));
    return tokens;
}

}  // namespace

bool ParseHotkey(std::string_view text, uint32_t& modifiers, uint32_t& key) {
    modifiers = 0;
    key = 0;
    if (text.empty()) return false;
    for (std::string_view raw : SplitAtPlus(text)) {
        const std::string t = TrimLower(raw);
        if (t.empty()) continue;
        if (t == "ctrl" || t == "control") modifiers |= kModControl;
        else if (t == "shift") modifiers |= kModShift;
        else if (t == "alt") modifiers |= kModAlt;
        else if (t == "win" || t == "windows") modifiers |= kModWin;
        else if (t.size() == 1) {
            const auto c = static_cast<unsigned char>(t[0]);
            if (c > 127) continue;
            key = (c >= 'a' && c <= 'z') ? c - 'a' + 'A' : c;
        } else if (t[0] == 'f') {
            const int n = ReadInteger(std::string_view(t).substr(1));
            if (n >= 1 && n <= 24) key = kVkF1 - 1 + static_cast<uint32_t>(n);
        } else if (t == "space") key = kVkSpace;
        else if (t == "tab") key = kVkTab;
        else if (t == "esc" || t == "escape") key = kVkEscape;
        else if (t == "enter" || t == "return") key = kVkReturn;
    }
    return key != 0;
}

}  // namespace brindlock
