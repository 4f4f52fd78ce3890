#include "shell/hotkey_text.h"

#include <gtest/gtest.h>

namespace brindlock {
namespace {

struct HotkeyCase {
    const char* text;
    bool ok;
    uint32_t modifiers;
    uint32_t key;
};

const HotkeyCase kCases[] = {
    {"Ctrl+Shift+F10", true, 6, 0x79},
    {"ctrl+shift+f10", true, 6, 0x79},
    {" Ctrl + Shift + F10 ", true, 6, 0x79},
    {"Ctrl+Shift+F11", true, 6, 0x7a},
    {"Ctrl+Shift+F12", true, 6, 0x7b},
    {"Ctrl+Shift+F7", true, 6, 0x76},
    {"Ctrl+Shift", false, 6, 0},            // modifiers only: no key
    {"F24", true, 0, 0x87},
    {"F1", true, 0, 0x70},
    {"F25", false, 0, 0},
    {"F0", false, 0, 0},
    {"Fx", false, 0, 0},
    {"Fab", false, 0, 0},
    {"alt+win+space", true, 9, 0x20},
    {"control+escape", true, 2, 0x1b},
    {"Windows+Esc", true, 8, 0x1b},
    {"Shift+a", true, 4, 0x41},
    {"Shift+7", true, 4, 0x37},
    {"Ctrl+A+B", true, 2, 0x42},            // a later key replaces an earlier one
    {"Ctrl+Shift+F10+", true, 6, 0x79},     // a trailing "+" adds nothing
    {"Ctrl+PgUp", false, 2, 0},             // outside the grammar
    {"f", true, 0, 0x46},                   // one character before the F-key rule
    {"Tab", true, 0, 0x09},
    {"alt+Enter", true, 1, 0x0d},
    {"return", true, 0, 0x0d},
    {"", false, 0, 0},
    {"+Ctrl++A", true, 2, 0x41},            // empty tokens are ignored
    {"Ctrl+ +A", true, 2, 0x41},
    {"Ctrl+\xe4", false, 2, 0},             // one character above 127: no key
    {",", true, 0, 0x2c},
};

TEST(ParseHotkey, Table) {
    for (const auto& c : kCases) {
        uint32_t modifiers = 99, key = 99;
        EXPECT_EQ(ParseHotkey(c.text, modifiers, key), c.ok) << c.text;
        EXPECT_EQ(modifiers, c.modifiers) << c.text;
        EXPECT_EQ(key, c.key) << c.text;
    }
}

}  // namespace
}  // namespace brindlock
