// Reading the clipboard's file-drop list. Shaped after the Win32 calls so
// the caller decides what is opened, read and closed, and in which order.
#pragma once

#include <cstdint>

namespace brindlock {

constexpr uint32_t kClipboardFormatHdrop = 15;  // CF_HDROP
// DragQueryFileA's index that asks for the number of names.
constexpr uint32_t kDropFileCount = 0xFFFFFFFF;

// A drop handle as GetClipboardData gives it; 0 is none.
using DropHandle = uintptr_t;

class IClipboard {
public:
    virtual ~IClipboard() = default;
    // IsClipboardFormatAvailable(format).
    virtual bool IsFormatAvailable(uint32_t format) = 0;
    // OpenClipboard with no owner window.
    virtual bool Open() = 0;
    // GetClipboardData(format); valid until Close.
    virtual DropHandle GetData(uint32_t format) = 0;
    // DragQueryFileA(drop, index, buffer, size): with kDropFileCount the
    // number of names; with no buffer the length of name `index`; otherwise
    // copies at most size - 1 characters and a zero byte and returns the
    // length of the name (which exceeds size - 1 when it was cut short).
    virtual uint32_t DragQueryFile(DropHandle drop, uint32_t index, char* buffer, uint32_t size) = 0;
    // CloseClipboard.
    virtual bool Close() = 0;
};

}  // namespace brindlock
