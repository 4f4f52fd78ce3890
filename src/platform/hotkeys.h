// System-wide hotkeys of a window.
#pragma once

#include <cstdint>

namespace brindlock {

class TForm;

class IHotkeys {
public:
    virtual ~IHotkeys() = default;
    // RegisterHotKey(window's handle, id, modifiers, key). False when the
    // combination is held already, by this or another program.
    virtual bool Register(TForm& window, int32_t id, uint32_t modifiers, uint32_t key) = 0;
    // UnregisterHotKey(window's handle, id).
    virtual bool Unregister(TForm& window, int32_t id) = 0;
};

}  // namespace brindlock
