// AES-128 (encryption direction only) in counter mode, and the derivation of
// key and initial counter block from a key text.
//
// Counter contract: bytes 12..15 of the counter block are a big-endian 32-bit
// block counter. It is incremented after every keystream block (also after a
// final partial one) and wraps modulo 2^32; bytes 0..11 never change. Byte k
// of a region is combined with byte k % 16 of the keystream block for counter
// value initial + k / 16. The transform works in place and is its own inverse.
//
// Pure functions: no platform calls, no heap, no state between calls.
#pragma once

#include <cstdint>
#include <string_view>

namespace brindlock {

constexpr int kAesBlockSize = 16;
constexpr int kAesRoundKeysSize = 176;  // 11 round keys of 16 bytes

// Key starts as 00..0F and counter as F0..FF; each byte c of the text at
// 1-based position i updates byte i % 16 of both.
void DeriveKeyAndCounter(std::string_view text, uint8_t key[16], uint8_t counter[16]);

// FIPS-197 key expansion for Nk = 4, Nr = 10.
void AesExpandKey(const uint8_t key[16], uint8_t roundKeys[kAesRoundKeysSize]);

// FIPS-197 Cipher for AES-128, in place.
void AesEncryptBlock(const uint8_t roundKeys[kAesRoundKeysSize], uint8_t block[16]);

// XORs the keystream of key and counter into the first `length` bytes of
// `buffer`. Length <= 0 does nothing. Key and counter are only read.
// Uses the processor's AES instructions when it has them, the portable
// byte-oriented code otherwise; both give the same bytes.
void CtrTransform(uint8_t* buffer, int32_t length, const uint8_t key[16], const uint8_t counter[16]);

// The portable byte-oriented transform: the reference, and the path for
// processors without AES instructions.
void CtrTransformPortable(uint8_t* buffer, int32_t length, const uint8_t key[16], const uint8_t counter[16]);

// True when this build carries the AES-NI transform and the processor can run it.
bool HasAesNi();

// The AES-NI transform. Returns false, touching nothing, when HasAesNi() is
// false; true otherwise (also for length <= 0).
bool CtrTransformAesNi(uint8_t* buffer, int32_t length, const uint8_t key[16], const uint8_t counter[16]);

// Adds `blocks` to the 32-bit block counter in bytes 12..15 (mod 2^32), so a
// region can be transformed in pieces: a piece starting at byte 16 * b uses
// the initial counter advanced by b.
void CtrAdvanceCounter(uint8_t counter[16], uint32_t blocks);

// Zeroes memory in a way the optimiser may not drop.
void SecureZero(void* data, std::size_t size);

}  // namespace brindlock
