#include "crypto/aes_ctr.h"

#include <cstring>

#if BRINDLOCK_HAVE_AESNI
#include "crypto/aes_ctr_aesni.h"
#endif

namespace brindlock {
namespace {

constexpr uint8_t kSBox[256] = {
    0x63, 0x7c, 0x77, 0x7b, 0xf2, 0x6b, 0x6f, 0xc5, 0x30, 0x01, 0x67, 0x2b, 0xfe, 0xd7, 0xab, 0x76,
    0xca, 0x82, 0xc9, 0x7d, 0xfa, 0x59, 0x47, 0xf0, 0xad, 0xd4, 0xa2, 0xaf, 0x9c, 0xa4, 0x72, 0xc0,
    0xb7, 0xfd, 0x93, 0x26, 0x36, 0x3f, 0xf7, 0xcc, 0x34, 0xa5, 0xe5, 0xf1, 0x71, 0xd8, 0x31, 0x15,
    0x04, 0xc7, 0x23, 0xc3, 0x18, 0x96, 0x05, 0x9a, 0x07, 0x12, 0x80, 0xe2, 0xeb, 0x27, 0xb2, 0x75,
    0x09, 0x83, 0x2c, 0x1a, 0x1b, 0x6e, 0x5a, 0xa0, 0x52, 0x3b, 0xd6, 0xb3, 0x29, 0xe3, 0x2f, 0x84,
    0x53, 0xd1, 0x00, 0xed, 0x20, 0xfc, 0xb1, 0x5b, 0x6a, 0xcb, 0xbe, 0x39, 0x4a, 0x4c, 0x58, 0xcf,
    0xd0, 0xef, 0xaa, 0xfb, 0x43, 0x4d, 0x33, 0x85, 0x45, 0xf9, 0x02, 0x7f, 0x50, 0x3c, 0x9f, 0xa8,
    0x51, 0xa3, 0x40, 0x8f, 0x92, 0x9d, 0x38, 0xf5, 0xbc, 0xb6, 0xda, 0x21, 0x10, 0xff, 0xf3, 0xd2,
    0xcd, 0x0c, 0x13, 0xec, 0x5f, 0x97, 0x44, 0x17, 0xc4, 0xa7, 0x7e, 0x3d, 0x64, 0x5d, 0x19, 0x73,
    0x60, 0x81, 0x4f, 0xdc, 0x22, 0x2a, 0x90, 0x88, 0x46, 0xee, 0xb8, 0x14, 0xde, 0x5e, 0x0b, 0xdb,
    0xe0, 0x32, 0x3a, 0x0a, 0x49, 0x06, 0x24, 0x5c, 0xc2, 0xd3, 0xac, 0x62, 0x91, 0x95, 0xe4, 0x79,
    0xe7, 0xc8, 0x37, 0x6d, 0x8d, 0xd5, 0x4e, 0xa9, 0x6c, 0x56, 0xf4, 0xea, 0x65, 0x7a, 0xae, 0x08,
    0xba, 0x78, 0x25, 0x2e, 0x1c, 0xa6, 0xb4, 0xc6, 0xe8, 0xdd, 0x74, 0x1f, 0x4b, 0xbd, 0x8b, 0x8a,
    0x70, 0x3e, 0xb5, 0x66, 0x48, 0x03, 0xf6, 0x0e, 0x61, 0x35, 0x57, 0xb9, 0x86, 0xc1, 0x1d, 0x9e,
    0xe1, 0xf8, 0x98, 0x11, 0x69, 0xd9, 0x8e, 0x94, 0x9b, 0x1e, 0x87, 0xe9, 0xce, 0x55, 0x28, 0xdf,
    0x8c, 0xa1, 0x89, 0x0d, 0xbf, 0xe6, 0x42, 0x68, 0x41, 0x99, 0x2d, 0x0f, 0xb0, 0x54, 0xbb, 0x16,
};

constexpr uint8_t kRcon[10] = {0x01, 0x02, 0x04, 0x08, 0x10, 0x20, 0x40, 0x80, 0x1b, 0x36};

// Doubling in GF(2^8) for the four bytes of a column side by side, byte i
// of the column in bits 8i..8i+7: each byte shifts left by one, and a byte
// whose top bit falls out takes 0x1B. The bytes never carry into each other
// (the mask clears each top bit before the shift), and the reduction comes
// from arithmetic, not a branch, so no byte value takes longer.
inline uint32_t DoubleEach(uint32_t bytes) {
    return ((bytes & 0x7f7f7f7fu) << 1) ^ (((bytes >> 7) & 0x01010101u) * 0x1bu);
}

inline uint32_t ColumnOf(uint8_t b0, uint8_t b1, uint8_t b2, uint8_t b3) {
    return uint32_t{b0} | (uint32_t{b1} << 8) | (uint32_t{b2} << 16) | (uint32_t{b3} << 24);
}

inline void StoreColumn(uint8_t* at, uint32_t column) {
    at[0] = static_cast<uint8_t>(column);
    at[1] = static_cast<uint8_t>(column >> 8);
    at[2] = static_cast<uint8_t>(column >> 16);
    at[3] = static_cast<uint8_t>(column >> 24);
}

// One inner round for output column C: ShiftRows means row r of column C comes
// from column C + r, so SubBytes reads that diagonal, and MixColumns and
// AddRoundKey follow at once. The state is read once and written once per
// round, with every index fixed at compile time. `in` and `out` are distinct
// buffers; saying so lets the compiler schedule the loads past the stores.
template <int C>
inline void RoundColumn(const uint8_t* __restrict in, uint8_t* __restrict out, const uint8_t* __restrict roundKey) {
    const uint32_t a = ColumnOf(kSBox[in[4 * C]], kSBox[in[4 * ((C + 1) & 3) + 1]], kSBox[in[4 * ((C + 2) & 3) + 2]],
                                kSBox[in[4 * ((C + 3) & 3) + 3]]);
    // 2a0 ^ 3a1 ^ a2 ^ a3 == a0 ^ all ^ 2(a0 ^ a1), and so on round the
    // column, where all = a0 ^ a1 ^ a2 ^ a3. `next` holds a1 a2 a3 a0.
    const uint32_t next = (a >> 8) | (a << 24);
    const uint32_t pairs = a ^ next;
    const uint32_t all = pairs ^ ((pairs >> 16) | (pairs << 16));
    const uint32_t key = ColumnOf(roundKey[4 * C], roundKey[4 * C + 1], roundKey[4 * C + 2], roundKey[4 * C + 3]);
    StoreColumn(out + 4 * C, a ^ all ^ DoubleEach(pairs) ^ key);
}

inline void Round(const uint8_t* in, uint8_t* out, const uint8_t* roundKey) {
    RoundColumn<0>(in, out, roundKey);
    RoundColumn<1>(in, out, roundKey);
    RoundColumn<2>(in, out, roundKey);
    RoundColumn<3>(in, out, roundKey);
}

// The last round has no MixColumns.
template <int C>
inline void LastRoundColumn(const uint8_t* __restrict in, uint8_t* __restrict out, const uint8_t* __restrict roundKey) {
    out[4 * C + 0] = static_cast<uint8_t>(kSBox[in[4 * C]] ^ roundKey[4 * C + 0]);
    out[4 * C + 1] = static_cast<uint8_t>(kSBox[in[4 * ((C + 1) & 3) + 1]] ^ roundKey[4 * C + 1]);
    out[4 * C + 2] = static_cast<uint8_t>(kSBox[in[4 * ((C + 2) & 3) + 2]] ^ roundKey[4 * C + 2]);
    out[4 * C + 3] = static_cast<uint8_t>(kSBox[in[4 * ((C + 3) & 3) + 3]] ^ roundKey[4 * C + 3]);
}

inline void LastRound(const uint8_t* in, uint8_t* out, const uint8_t* roundKey) {
    LastRoundColumn<0>(in, out, roundKey);
    LastRoundColumn<1>(in, out, roundKey);
    LastRoundColumn<2>(in, out, roundKey);
    LastRoundColumn<3>(in, out, roundKey);
}

// Encrypts N independent blocks round by round together: one block's round
// waits for its previous round, so a second block in between keeps the
// processor busy during that wait. The states move between `blocks` and
// `scratch` each round and end in `blocks`. The caller owns `scratch` and
// wipes it when done, so a transform of many blocks wipes it once.
template <int N>
inline void EncryptBlocks(const uint8_t* roundKeys, uint8_t (*blocks)[16], uint8_t (*scratch)[16]) {
    for (int b = 0; b < N; ++b)
        for (int i = 0; i < 16; ++i) blocks[b][i] ^= roundKeys[i];
    for (int round = 1; round < 9; round += 2) {
        for (int b = 0; b < N; ++b) Round(blocks[b], scratch[b], roundKeys + 16 * round);
        for (int b = 0; b < N; ++b) Round(scratch[b], blocks[b], roundKeys + 16 * (round + 1));
    }
    for (int b = 0; b < N; ++b) Round(blocks[b], scratch[b], roundKeys + 144);
    for (int b = 0; b < N; ++b) LastRound(scratch[b], blocks[b], roundKeys + 160);
}

inline void XorBlock(uint8_t* data, const uint8_t* stream) {
    uint64_t d[2], k[2];
    std::memcpy(d, data, 16);
    std::memcpy(k, stream, 16);
    d[0] ^= k[0];
    d[1] ^= k[1];
    std::memcpy(data, d, 16);
}

inline void IncrementCounter(uint8_t counter[16]) {
    for (int i = 15; i >= 12; --i)
        if (++counter[i] != 0) break;
}

}  // namespace

void SecureZero(void* data, std::size_t size) {
    if (size == 0) return;
    // A plain memset runs at memory speed (a region can be a whole file);
    // byte stores through a volatile pointer took longer than the cipher.
    // The empty statement below takes the pointer and may read any memory,
    // so the optimiser has to keep the zeroes even when the buffer dies next.
    std::memset(data, 0, size);
    __asm__ __volatile__("" : : "r"(data) : "memory");
}

void DeriveKeyAndCounter(std::string_view text, uint8_t key[16], uint8_t counter[16]) {
    for (int i = 0; i < 16; ++i) {
        key[i] = static_cast<uint8_t>(i);
        counter[i] = static_cast<uint8_t>(i ^ 0xf0);
    }
    for (std::size_t i = 1; i <= text.size(); ++i) {
        const uint8_t c = static_cast<uint8_t>(text[i - 1]);
        const std::size_t pos = i % 16;
        key[pos] = static_cast<uint8_t>((key[pos] * 33) ^ c);
        counter[pos] = static_cast<uint8_t>(counter[pos] * 17 + (c ^ 0x5a));
    }
}

void AesExpandKey(const uint8_t key[16], uint8_t roundKeys[kAesRoundKeysSize]) {
    std::memcpy(roundKeys, key, 16);
    int rcon = 0;
    for (int j = 16; j < kAesRoundKeysSize; j += 4) {
        uint8_t w[4] = {roundKeys[j - 4], roundKeys[j - 3], roundKeys[j - 2], roundKeys[j - 1]};
        if (j % 16 == 0) {
            const uint8_t first = w[0];
            w[0] = static_cast<uint8_t>(kSBox[w[1]] ^ kRcon[rcon++]);
            w[1] = kSBox[w[2]];
            w[2] = kSBox[w[3]];
            w[3] = kSBox[first];
        }
        for (int k = 0; k < 4; ++k) roundKeys[j + k] = static_cast<uint8_t>(roundKeys[j - 16 + k] ^ w[k]);
    }
}

void AesEncryptBlock(const uint8_t roundKeys[kAesRoundKeysSize], uint8_t block[16]) {
    uint8_t state[1][16];
    uint8_t scratch[1][16];
    std::memcpy(state[0], block, 16);
    EncryptBlocks<1>(roundKeys, state, scratch);
    std::memcpy(block, state[0], 16);
    SecureZero(state, sizeof state);
    SecureZero(scratch, sizeof scratch);
}

void CtrTransformPortable(uint8_t* buffer, int32_t length, const uint8_t key[16], const uint8_t counter[16]) {
    if (length <= 0) return;
    // Two blocks in flight measured fastest; four gained nothing more.
    constexpr int kInFlight = 2;
    uint8_t work[16];
    uint8_t roundKeys[kAesRoundKeysSize];
    uint8_t stream[kInFlight][16];
    uint8_t scratch[kInFlight][16];
    std::memcpy(work, counter, 16);
    AesExpandKey(key, roundKeys);
    int32_t p = 0;
    for (; length - p >= 16 * kInFlight; p += 16 * kInFlight) {
        for (auto& block : stream) {
            std::memcpy(block, work, 16);
            IncrementCounter(work);
        }
        EncryptBlocks<kInFlight>(roundKeys, stream, scratch);
        for (int b = 0; b < kInFlight; ++b) XorBlock(buffer + p + 16 * b, stream[b]);
    }
    for (; length - p >= 16; p += 16) {
        std::memcpy(stream[0], work, 16);
        EncryptBlocks<1>(roundKeys, stream, scratch);
        XorBlock(buffer + p, stream[0]);
        IncrementCounter(work);
    }
    if (p < length) {
        std::memcpy(stream[0], work, 16);
        EncryptBlocks<1>(roundKeys, stream, scratch);
        for (int32_t i = 0; p + i < length; ++i) buffer[p + i] ^= stream[0][i];
    }
    SecureZero(roundKeys, sizeof roundKeys);
    SecureZero(stream, sizeof stream);
    SecureZero(scratch, sizeof scratch);
    SecureZero(work, sizeof work);
}

bool HasAesNi() {
#if BRINDLOCK_HAVE_AESNI
    // Asked once: under a hypervisor CPUID traps and costs microseconds.
    static const bool has = aesni::ProcessorSupportsAesNi();
    return has;
#else
    return false;
#endif
}

bool CtrTransformAesNi(uint8_t* buffer, int32_t length, const uint8_t key[16], const uint8_t counter[16]) {
#if BRINDLOCK_HAVE_AESNI
    if (!HasAesNi()) return false;
    aesni::CtrTransform(buffer, length, key, counter);
    return true;
#else
    (void)buffer, (void)length, (void)key, (void)counter;
    return false;
#endif
}

void CtrTransform(uint8_t* buffer, int32_t length, const uint8_t key[16], const uint8_t counter[16]) {
    if (!CtrTransformAesNi(buffer, length, key, counter)) CtrTransformPortable(buffer, length, key, counter);
}

void CtrAdvanceCounter(uint8_t counter[16], uint32_t blocks) {
    uint32_t value = (uint32_t{counter[12]} << 24) | (uint32_t{counter[13]} << 16) |
                     (uint32_t{counter[14]} << 8) | uint32_t{counter[15]};
    value += blocks;
    counter[12] = static_cast<uint8_t>(value >> 24);
    counter[13] = static_cast<uint8_t>(value >> 16);
    counter[14] = static_cast<uint8_t>(value >> 8);
    counter[15] = static_cast<uint8_t>(value);
}

}  // namespace brindlock
