// Synthesised keyboard input.
#pragma once

#include <cstdint>

namespace brindlock {

constexpr uint32_t kKeyEventKeyUp = 0x0002;  // KEYEVENTF_KEYUP
constexpr uint16_t kVkControl = 0x11;

// The keyboard part of a Win32 INPUT record of type INPUT_KEYBOARD.
struct KeyboardInputRecord {
    uint16_t VirtualKey = 0;
    uint16_t ScanCode = 0;
    uint32_t Flags = 0;
    uint32_t Time = 0;
    uintptr_t ExtraInfo = 0;
};

class IKeyboardInput {
public:
    virtual ~IKeyboardInput() = default;
    // SendInput(count, records as INPUT_KEYBOARD records, sizeof(INPUT)): the
    // keystrokes go to the window with the keyboard focus, in one batch.
    // Returns the number of records inserted.
    virtual uint32_t SendInput(const KeyboardInputRecord* records, uint32_t count) = 0;
};

}  // namespace brindlock
