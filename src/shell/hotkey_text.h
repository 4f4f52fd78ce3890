// The text form of a global hotkey ("Ctrl+Shift+F10") turned into the
// modifier flags and virtual-key code that RegisterHotKey takes.
#pragma once

#include <cstdint>
#include <string_view>

namespace brindlock {

constexpr uint32_t kModAlt = 1;
constexpr uint32_t kModControl = 2;
constexpr uint32_t kModShift = 4;
constexpr uint32_t kModWin = 8;

// True when the text names a key. Modifier words accumulate; a later key
// replaces an earlier one; case and blanks around "+" do not matter. Tokens
// that are empty after trimming are ignored; a one-character token above
// code 127 names no key.
bool ParseHotkey(std::string_view text, uint32_t& modifiers, uint32_t& key);

}  // namespace brindlock
