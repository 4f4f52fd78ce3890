// Every counter-mode path that this build and processor have must give the
// same bytes as a keystream built block by block from AesEncryptBlock, for
// every length up to 1024, any buffer offset, any counter and across the wrap
// of the 32-bit block counter.
#include <gtest/gtest.h>

#include <cstring>
#include <iostream>
#include <limits>
#include <random>
#include <vector>

#include "crypto/aes_ctr.h"
#include "support/hex.h"

namespace brindlock {
namespace {

using Transform = void (*)(uint8_t*, int32_t, const uint8_t*, const uint8_t*);

void AesNiOrNothing(uint8_t* buffer, int32_t length, const uint8_t* key, const uint8_t* counter) {
    // Only reached when HasAesNi(); a false here would leave the buffer as is
    // and fail the comparison.
    (void)CtrTransformAesNi(buffer, length, key, counter);
}

struct Path {
    const char* name;
    Transform transform;
    bool needsAesNi;
};

void PrintTo(const Path& path, std::ostream* os) { *os << path.name; }

const Path kPaths[] = {
    {"Portable", CtrTransformPortable, false},
    {"AesNi", AesNiOrNothing, true},
    {"Dispatch", CtrTransform, false},
};

// The keystream for `blocks` blocks, written out the slow way: bytes 0..11
// stay, bytes 12..15 count up big-endian modulo 2^32.
std::vector<uint8_t> ReferenceKeystream(const uint8_t key[16], const uint8_t counter[16], std::size_t blocks) {
    uint8_t roundKeys[kAesRoundKeysSize];
    AesExpandKey(key, roundKeys);
    uint32_t value = (uint32_t{counter[12]} << 24) | (uint32_t{counter[13]} << 16) |
                     (uint32_t{counter[14]} << 8) | counter[15];
    std::vector<uint8_t> stream(blocks * 16);
    for (std::size_t b = 0; b < blocks; ++b, ++value) {
        uint8_t* block = stream.data() + 16 * b;
        std::memcpy(block, counter, 12);
        block[12] = static_cast<uint8_t>(value >> 24);
        block[13] = static_cast<uint8_t>(value >> 16);
        block[14] = static_cast<uint8_t>(value >> 8);
        block[15] = static_cast<uint8_t>(value);
        AesEncryptBlock(roundKeys, block);
    }
    return stream;
}

class CtrPath : public ::testing::TestWithParam<Path> {
  protected:
    void SetUp() override {
        if (GetParam().needsAesNi && !HasAesNi()) GTEST_SKIP() << "AES-NI UNAVAILABLE: not in this build or processor";
    }

    // Transforms `length` bytes at `offset` inside a buffer with guard bytes on
    // both sides and checks every byte of it against the reference.
    void CheckOne(const uint8_t key[16], const uint8_t counter[16], int32_t length, std::size_t offset,
                  std::mt19937& rng) {
        constexpr std::size_t kGuard = 16;
        std::vector<uint8_t> buffer(offset + static_cast<std::size_t>(length) + kGuard);
        for (auto& b : buffer) b = static_cast<uint8_t>(rng());
        const std::vector<uint8_t> original = buffer;
        const auto stream = ReferenceKeystream(key, counter, (static_cast<std::size_t>(length) + 15) / 16);

        GetParam().transform(buffer.data() + offset, length, key, counter);

        for (std::size_t i = 0; i < buffer.size(); ++i) {
            const bool inside = i >= offset && i < offset + static_cast<std::size_t>(length);
            const uint8_t expected = inside ? static_cast<uint8_t>(original[i] ^ stream[i - offset]) : original[i];
            ASSERT_EQ(buffer[i], expected) << "byte " << i << ", length " << length << ", offset " << offset
                                           << ", counter " << test::ToHex(counter, 16);
        }
    }
};

TEST_P(CtrPath, EveryLengthUpTo1024AtRandomOffsetsAndCounters) {
    std::mt19937 rng(1024);
    for (int32_t length = 0; length <= 1024; ++length) {
        uint8_t key[16], counter[16];
        for (auto& b : key) b = static_cast<uint8_t>(rng());
        for (auto& b : counter) b = static_cast<uint8_t>(rng());
        if (length % 4 == 0) {
            // Every fourth case starts a few blocks short of the 32-bit wrap,
            // so the wrap lands inside the region at varying block positions.
            counter[12] = counter[13] = counter[14] = 0xff;
            counter[15] = static_cast<uint8_t>(0xff - rng() % 70);
        }
        CheckOne(key, counter, length, rng() % 32, rng);
        if (HasFatalFailure()) return;
    }
}

struct WrapCase {
    const char* counter;
    int32_t length;
};

// Starts around the wrap of bytes 12..15, placed before, on and after the
// edges of an eight-block group, and a carry between bytes 12..15 that must
// stop at byte 12 (bytes 0..11 all FF, so a 128-bit increment would show).
const WrapCase kWraps[] = {
    {"ffffffffffffffffffffffffffffffff", 16 * 3},
    {"ffffffffffffffffffffffffffffffff", 5},
    {"ffffffffffffffffffffffffffffffff", 17},
    {"00112233445566778899aabbfffffff8", 16 * 8 + 1},
    {"00112233445566778899aabbfffffff9", 16 * 16 + 9},
    {"00112233445566778899aabbfffffff7", 16 * 17},
    {"00112233445566778899aabbfffffff1", 16 * 40 + 3},
    {"ffffffffffffffffffffffff0cffffff", 16 * 9 + 15},
    {"ffffffffffffffffffffffff00fffffc", 16 * 24},
    {"000000000000000000000000000000fe", 16 * 9},
};

TEST_P(CtrPath, CounterWrapsInBytes12To15Only) {
    std::mt19937 rng(32);
    uint8_t key[16];
    for (auto& b : key) b = static_cast<uint8_t>(rng());
    for (const auto& w : kWraps) {
        const auto counter = test::FromHex(w.counter);
        for (std::size_t offset : {0u, 1u, 7u}) {
            CheckOne(key, counter.data(), w.length, offset, rng);
            if (HasFatalFailure()) return;
        }
    }
}

TEST_P(CtrPath, LongOddRegionMatchesTheReference) {
    std::mt19937 rng(99);
    uint8_t key[16], counter[16];
    for (auto& b : key) b = static_cast<uint8_t>(rng());
    for (auto& b : counter) b = static_cast<uint8_t>(rng());
    counter[12] = 0xff, counter[13] = 0xff, counter[14] = 0xf0;  // wraps after 4096 blocks, mid-region
    CheckOne(key, counter, (1 << 17) + 13, 3, rng);
}

TEST_P(CtrPath, NonPositiveLengthsTouchNothing) {
    uint8_t key[16] = {1, 2, 3}, counter[16] = {4, 5, 6};
    for (int32_t length : {0, -1, -16, std::numeric_limits<int32_t>::min()}) {
        std::vector<uint8_t> buffer(64, 0x3c);
        GetParam().transform(buffer.data() + 8, length, key, counter);
        EXPECT_EQ(buffer, std::vector<uint8_t>(64, 0x3c)) << "length " << length;
    }
}

INSTANTIATE_TEST_SUITE_P(Paths, CtrPath, ::testing::ValuesIn(kPaths),
                         [](const ::testing::TestParamInfo<Path>& p) { return std::string(p.param.name); });

TEST(CtrTransformAesNi, ReportsAvailabilityAndRefusesWhenAbsent) {
    std::cout << "[ INFO     ] AES-NI path: " << (HasAesNi() ? "available" : "UNAVAILABLE (portable path only)")
              << std::endl;
    uint8_t key[16] = {}, counter[16] = {};
    std::vector<uint8_t> buffer(40, 0x11);
    const bool ran = CtrTransformAesNi(buffer.data(), 40, key, counter);
    EXPECT_EQ(ran, HasAesNi());
    EXPECT_EQ(buffer == std::vector<uint8_t>(40, 0x11), !ran);
}

}  // namespace
}  // namespace brindlock
