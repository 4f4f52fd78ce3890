// Counter mode on the processor's AES instructions, eight blocks in flight.
//
// This file alone is compiled with -maes -msse4.1; it runs only after
// ProcessorSupportsAesNi() said yes. It therefore uses intrinsics and
// builtins only: an inline library function instantiated here would carry AES
// or SSE4.1 code that the linker might also hand to callers on the plain path.
#include <immintrin.h>

#include "crypto/aes_ctr.h"
#include "crypto/aes_ctr_aesni.h"

namespace brindlock::aesni {
namespace {

// Eight independent blocks keep the AES units busy: AESENC has a latency of
// several cycles but a throughput of one or two per cycle.
constexpr int kLanes = 8;

// One step of the FIPS-197 key expansion: the assist instruction gives
// SubWord(RotWord(w3)) ^ rcon, and the three shifted XORs form the running XOR
// of the previous round key's words.
template <int Rcon>
inline __m128i ExpandStep(__m128i previous) {
    const __m128i assist = _mm_shuffle_epi32(_mm_aeskeygenassist_si128(previous, Rcon), 0xff);
    previous = _mm_xor_si128(previous, _mm_slli_si128(previous, 4));
    previous = _mm_xor_si128(previous, _mm_slli_si128(previous, 4));
    previous = _mm_xor_si128(previous, _mm_slli_si128(previous, 4));
    return _mm_xor_si128(previous, assist);
}

inline void ExpandKey(const uint8_t key[16], __m128i rk[11]) {
    rk[0] = _mm_loadu_si128(reinterpret_cast<const __m128i*>(key));
    rk[1] = ExpandStep<0x01>(rk[0]);
    rk[2] = ExpandStep<0x02>(rk[1]);
    rk[3] = ExpandStep<0x04>(rk[2]);
    rk[4] = ExpandStep<0x08>(rk[3]);
    rk[5] = ExpandStep<0x10>(rk[4]);
    rk[6] = ExpandStep<0x20>(rk[5]);
    rk[7] = ExpandStep<0x40>(rk[6]);
    rk[8] = ExpandStep<0x80>(rk[7]);
    rk[9] = ExpandStep<0x1b>(rk[8]);
    rk[10] = ExpandStep<0x36>(rk[9]);
}

// Bytes 0..11 come from the initial block unchanged; bytes 12..15 hold the
// 32-bit block counter big-endian. Unsigned arithmetic on `value` gives the
// wrap modulo 2^32 without any carry into byte 11.
inline __m128i CounterBlock(__m128i initial, uint32_t value) {
    return _mm_insert_epi32(initial, static_cast<int>(__builtin_bswap32(value)), 3);
}

inline __m128i EncryptOne(const __m128i rk[11], __m128i block) {
    block = _mm_xor_si128(block, rk[0]);
    for (int r = 1; r < 10; ++r) block = _mm_aesenc_si128(block, rk[r]);
    return _mm_aesenclast_si128(block, rk[10]);
}

inline __m128i Load(const uint8_t* p) { return _mm_loadu_si128(reinterpret_cast<const __m128i*>(p)); }
inline void Store(uint8_t* p, __m128i v) { _mm_storeu_si128(reinterpret_cast<__m128i*>(p), v); }

}  // namespace

void CtrTransform(uint8_t* buffer, int32_t length, const uint8_t key[16], const uint8_t counter[16]) {
    if (length <= 0) return;
    __m128i rk[11];
    ExpandKey(key, rk);
    const __m128i initial = Load(counter);
    uint32_t next = (uint32_t{counter[12]} << 24) | (uint32_t{counter[13]} << 16) |
                    (uint32_t{counter[14]} << 8) | uint32_t{counter[15]};
    const uint32_t total = static_cast<uint32_t>(length);
    uint32_t p = 0;

    for (; total - p >= 16 * kLanes; p += 16 * kLanes, next += kLanes) {
        __m128i b[kLanes];
#pragma GCC unroll 8
        for (int i = 0; i < kLanes; ++i) b[i] = _mm_xor_si128(CounterBlock(initial, next + i), rk[0]);
#pragma GCC unroll 9
        for (int r = 1; r < 10; ++r) {
            const __m128i k = rk[r];
#pragma GCC unroll 8
            for (int i = 0; i < kLanes; ++i) b[i] = _mm_aesenc_si128(b[i], k);
        }
#pragma GCC unroll 8
        for (int i = 0; i < kLanes; ++i) {
            uint8_t* at = buffer + p + 16 * i;
            Store(at, _mm_xor_si128(Load(at), _mm_aesenclast_si128(b[i], rk[10])));
        }
    }
    for (; total - p >= 16; p += 16, ++next)
        Store(buffer + p, _mm_xor_si128(Load(buffer + p), EncryptOne(rk, CounterBlock(initial, next))));
    if (p < total) {
        // A final partial block: XOR only the bytes that belong to the buffer.
        uint8_t stream[16];
        Store(stream, EncryptOne(rk, CounterBlock(initial, next)));
        for (uint32_t i = 0; p + i < total; ++i) buffer[p + i] ^= stream[i];
        SecureZero(stream, sizeof stream);
    }
    SecureZero(rk, sizeof rk);
}

}  // namespace brindlock::aesni
