// The run time's pseudo-random generator, reproduced exactly, for the
// overwrite bytes of secure wiping: a 32-bit linear congruential generator,
// state = state * 22695477 + 1 (mod 2^32), value = (state >> 16) & 0x7FFF.
// The program never seeds it: at start the run time seeds it with 1 and
// draws one value that is thrown away. So every run writes the same
// sequence, and the sequence continues from one wipe to the next.
#pragma once

#include <cstdint>

namespace brindlock {

class RunTimeRandom {
public:
    // The state at program start: seeded with 1, one value drawn.
    RunTimeRandom() { Next(); }

    // The next value, 0 to 32767.
    int32_t Next() {
        state_ = state_ * 22695477u + 1u;
        return static_cast<int32_t>((state_ >> 16) & 0x7FFF);
    }

private:
    uint32_t state_ = 1;
};

// The one generator of this process, shared by every wipe.
RunTimeRandom& ProcessRunTimeRandom();

}  // namespace brindlock
