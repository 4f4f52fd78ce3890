// The run time's pseudo-random generator, reproduced exactly, for the
// overwrite bytes of secure wiping: a 32-bit linear congruential generator,
// state = state * 22695477 + 1 (mod 2^32), value = (state >> 16) & 0x7FFF.
// The program never seeds it: at start the run time seeds it with 1 and
// draws one value that is thrown away. So every run writes the same
// sequence, and the sequence continues from one wipe to the next.
#pragma once

#include <cstddef>
#include <cstdint>

namespace brindlock {

class RunTimeRandom {
public:
    static constexpr uint32_t kMultiplier = 22695477u;
    static constexpr uint32_t kIncrement = 1u;

    // The state at program start: seeded with 1, one value drawn.
    RunTimeRandom() { Next(); }

    // The next value, 0 to 32767.
    int32_t Next() {
        state_ = state_ * kMultiplier + kIncrement;
        return static_cast<int32_t>((state_ >> 16) & 0x7FFF);
    }

    // The low bytes of the next `count` values, exactly as `count` calls of
    // Next() would give them, and the state afterwards is the same too; only
    // faster, as several values are worked out side by side.
    void FillLowBytes(uint8_t* out, std::size_t count);

private:
    uint32_t state_ = 1;
};

// The one generator of this process, shared by every wipe.
RunTimeRandom& ProcessRunTimeRandom();

}  // namespace brindlock
