// The four global hotkeys of the main window: registered when the window is
// created, unregistered when it is destroyed. A combination another program
// holds is simply missing; the table records only what Windows holds for us.
#include "platform/hotkeys.h"
#include "shell/hotkey_text.h"
#include "ui/form1.h"

namespace brindlock {
namespace {

struct DefaultHotkey {
    int32_t id;
    const char* text;
};

// The identifiers choose the action when the hotkey arrives (see WMHotKey).
constexpr DefaultHotkey kDefaultHotkeys[] = {
    {1, "Ctrl+Shift+F10"},  // open for viewing
    {2, "Ctrl+Shift+F11"},  // encrypt
    {3, "Ctrl+Shift+F12"},  // decrypt
    {4, "Ctrl+Shift+F7"},   // erase
};

}  // namespace

bool TForm1::AddHotkey(int32_t tag, int32_t id, const std::string& text) {
    if (text.empty() || HotkeyCount >= MaxHotkeys) return false;
    uint32_t modifiers = 0;
    uint32_t key = 0;
    if (!ParseHotkey(text, modifiers, key)) return false;
    if (!platform_.HotkeyService->Register(*this, id, modifiers, key)) return false;
    Hotkeys[HotkeyCount] = {id, tag};
    ++HotkeyCount;
    return true;
}

void TForm1::RegisterDefaultHotkeys() {
    HotkeyCount = 0;
    for (const DefaultHotkey& hotkey : kDefaultHotkeys) AddHotkey(0, hotkey.id, hotkey.text);
}

void TForm1::UnregisterHotkeys() {
    for (int32_t i = 0; i < HotkeyCount; ++i) platform_.HotkeyService->Unregister(*this, Hotkeys[i].HotkeyId);
    HotkeyCount = 0;
}

}  // namespace brindlock
