// The program's pictures from its resources: icons at the sizes asked for,
// and the marble tile as a component bitmap. Owns every handle
// it hands out; they live as long as this object.
#pragma once

#include <windows.h>

#include <map>
#include <utility>

#include "platform/components.h"

namespace brindlock {

class Win32Pictures {
public:
    explicit Win32Pictures(HINSTANCE instance) : instance_(instance) {}
    ~Win32Pictures();
    Win32Pictures(const Win32Pictures&) = delete;
    Win32Pictures& operator=(const Win32Pictures&) = delete;

    // The icon resource `id` at size x size pixels; null when there is none.
    HICON Icon(int id, int size);
    // A bitmap resource as a component picture; empty when there is none.
    TBitmap Bitmap(int id) const;
    // Drops the cached handles (after a DPI change, when sizes change).
    void Clear();

private:
    HINSTANCE instance_;
    std::map<std::pair<int, int>, HICON> icons_;
};

}  // namespace brindlock
