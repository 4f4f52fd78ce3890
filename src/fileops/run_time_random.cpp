#include "fileops/run_time_random.h"

namespace brindlock {
namespace {

// Each step of the generator waits for the multiplication of the step
// before, so one value at a time runs at the multiplier's latency. Lane k
// instead starts k + 1 steps ahead and every lane jumps kLanes steps at
// once; the lanes are independent, and the compiler works on several of
// them in one vector register.
constexpr int kLanes = 32;

// n steps in one: state -> state * JumpMultiplier(n) + JumpIncrement(n).
constexpr uint32_t JumpMultiplier(int n) {
    uint32_t a = 1;
    for (int i = 0; i < n; ++i) a *= RunTimeRandom::kMultiplier;
    return a;
}

constexpr uint32_t JumpIncrement(int n) {
    uint32_t c = 0;
    for (int i = 0; i < n; ++i) c = c * RunTimeRandom::kMultiplier + RunTimeRandom::kIncrement;
    return c;
}

constexpr uint32_t kJumpMultiplier = JumpMultiplier(kLanes);
constexpr uint32_t kJumpIncrement = JumpIncrement(kLanes);

}  // namespace

void RunTimeRandom::FillLowBytes(uint8_t* out, std::size_t count) {
    std::size_t i = 0;
    if (count >= kLanes) {
        uint32_t lanes[kLanes];
        uint32_t s = state_;
        for (int k = 0; k < kLanes; ++k) lanes[k] = s = s * kMultiplier + kIncrement;
        for (;;) {
            for (int k = 0; k < kLanes; ++k) out[i + k] = static_cast<uint8_t>(lanes[k] >> 16);
            i += kLanes;
            if (count - i < kLanes) break;
            for (int k = 0; k < kLanes; ++k) lanes[k] = lanes[k] * kJumpMultiplier + kJumpIncrement;
        }
        // The last lane holds the state of the last value handed out.
        state_ = lanes[kLanes - 1];
    }
    for (; i < count; ++i) out[i] = static_cast<uint8_t>(Next());
}

RunTimeRandom& ProcessRunTimeRandom() {
    static RunTimeRandom generator;
    return generator;
}

}  // namespace brindlock
