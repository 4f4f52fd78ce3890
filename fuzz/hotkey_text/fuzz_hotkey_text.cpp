// ParseHotkey on any text: whatever it reads, the flags and the key must be
// ones RegisterHotKey can take, and the case of letters must not matter.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "shell/hotkey_text.h"
#include "support/fuzz_check.h"

namespace {

std::string WithAsciiCase(std::string_view text, bool upper) {
    std::string s(text);
    for (char& c : s) {
        if (upper && c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
        if (!upper && c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    }
    return s;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    uint32_t modifiers = 0xdeadbeef, key = 0xdeadbeef;
    const bool named = brindlock::ParseHotkey(text, modifiers, key);

    constexpr uint32_t kAllModifiers =
        brindlock::kModAlt | brindlock::kModControl | brindlock::kModShift | brindlock::kModWin;
    FUZZ_CHECK((modifiers & ~kAllModifiers) == 0);
    FUZZ_CHECK(named == (key != 0));
    // An ASCII character (letters as capitals) or F1 (0x70) to F24 (0x87).
    FUZZ_CHECK(key <= 0x87);

    for (const bool upper : {false, true}) {
        uint32_t otherModifiers = 0, otherKey = 0;
        const bool otherNamed = brindlock::ParseHotkey(WithAsciiCase(text, upper), otherModifiers, otherKey);
        FUZZ_CHECK(otherNamed == named && otherModifiers == modifiers && otherKey == key);
    }
    return 0;
}
