// Blocking waits of the user-interface thread.
#pragma once

#include <cstdint>

namespace brindlock {

class ISleeper {
public:
    virtual ~ISleeper() = default;
    // Sleep(ms): blocks the thread; no message is handled meanwhile.
    virtual void Sleep(uint32_t ms) = 0;
};

}  // namespace brindlock
