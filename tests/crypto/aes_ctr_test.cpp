#include "crypto/aes_ctr.h"

#include <gtest/gtest.h>

#include <array>
#include <cstring>
#include <vector>

#include "support/hex.h"

namespace brindlock {
namespace {

using test::FromHex;
using test::ToHex;

std::string Encrypt(std::string_view keyHex, std::string_view plainHex) {
    std::vector<uint8_t> key = FromHex(keyHex), block = FromHex(plainHex);
    uint8_t roundKeys[kAesRoundKeysSize];
    AesExpandKey(key.data(), roundKeys);
    AesEncryptBlock(roundKeys, block.data());
    return ToHex(block);
}

struct BlockVector {
    const char* source;
    const char* key;
    const char* plain;
    const char* cipher;
};

// Known answers for single-block AES-128.
const BlockVector kBlockVectors[] = {
    {"FIPS-197 Appendix C.1", "000102030405060708090a0b0c0d0e0f", "00112233445566778899aabbccddeeff",
     "69c4e0d86a7b0430d8cdb78070b4c55a"},
    {"FIPS-197 Appendix B", "2b7e151628aed2a6abf7158809cf4f3c", "3243f6a8885a308d313198a2e0370734",
     "3925841d02dc09fbdc118597196a0b32"},
    {"SP 800-38A F.1.1 block 1", "2b7e151628aed2a6abf7158809cf4f3c", "6bc1bee22e409f96e93d7e117393172a",
     "3ad77bb40d7a3660a89ecaf32466ef97"},
};

TEST(AesEncryptBlock, KnownAnswers) {
    for (const auto& v : kBlockVectors) EXPECT_EQ(Encrypt(v.key, v.plain), v.cipher) << v.source;
}

TEST(AesExpandKey, LastRoundKeyOfFips197AppendixA1) {
    const auto key = FromHex("2b7e151628aed2a6abf7158809cf4f3c");
    uint8_t roundKeys[kAesRoundKeysSize];
    AesExpandKey(key.data(), roundKeys);
    EXPECT_EQ(ToHex(roundKeys + 160, 16), "d014f9a8c9ee2589e13f0cc8b6630ca6");
}

TEST(DeriveKeyAndCounter, EmptyTextGivesInitialValuesAndTheFips197C1Key) {
    uint8_t key[16], counter[16];
    DeriveKeyAndCounter("", key, counter);
    EXPECT_EQ(ToHex(key, 16), "000102030405060708090a0b0c0d0e0f");
    EXPECT_EQ(ToHex(counter, 16), "f0f1f2f3f4f5f6f7f8f9fafbfcfdfeff");
    uint8_t roundKeys[kAesRoundKeysSize];
    AesExpandKey(key, roundKeys);
    auto block = FromHex("00112233445566778899aabbccddeeff");
    AesEncryptBlock(roundKeys, block.data());
    EXPECT_EQ(ToHex(block), "69c4e0d86a7b0430d8cdb78070b4c55a");
}

struct DerivationCase {
    const char* text;
    const char* key;
    const char* counter;
};

// Expected values worked out by hand from the derivation rule.
const DerivationCase kDerivations[] = {
    // Three characters touch bytes 1..3 only.
    {"abc", "004020000405060708090a0b0c0d0e0f", "f03c4a5cf4f5f6f7f8f9fafbfcfdfeff"},
    // The 16th character lands on byte 0, the 17th on byte 1 a second time.
    {"abcdefghijklmnopq", "70312000e0c0a08060402000e0c0a080", "1a274a5c728492a4aabccadcf2041224"},
    // A real key text: plain name, "|", password.
    {"a.txt|secret", "00406c17fcd1ba946d4a380ef80d0e0f", "f03c865156737c90b7c2c2eaeafdfeff"},
};

TEST(DeriveKeyAndCounter, KnownDerivations) {
    for (const auto& c : kDerivations) {
        uint8_t key[16], counter[16];
        DeriveKeyAndCounter(c.text, key, counter);
        EXPECT_EQ(ToHex(key, 16), c.key) << c.text;
        EXPECT_EQ(ToHex(counter, 16), c.counter) << c.text;
    }
}

TEST(DeriveKeyAndCounter, HighBytesCountAsUnsigned) {
    uint8_t key[16], counter[16];
    DeriveKeyAndCounter("\xff", key, counter);
    EXPECT_EQ(key[1], (33 ^ 0xff) & 0xff);
    EXPECT_EQ(counter[1], (0xf1 * 17 + (0xff ^ 0x5a)) & 0xff);
}

// SP 800-38A F.5.1, CTR-AES128.Encrypt. Its initial counter block F0..FF is
// the one an empty key text derives.
TEST(CtrTransform, Sp80038aF51) {
    const auto key = FromHex("2b7e151628aed2a6abf7158809cf4f3c");
    const auto counter = FromHex("f0f1f2f3f4f5f6f7f8f9fafbfcfdfeff");
    auto data = FromHex(
        "6bc1bee22e409f96e93d7e117393172aae2d8a571e03ac9c9eb76fac45af8e51"
        "30c81c46a35ce411e5fbc1191a0a52eff69f2445df4f9b17ad2b417be66c3710");
    CtrTransform(data.data(), static_cast<int32_t>(data.size()), key.data(), counter.data());
    EXPECT_EQ(ToHex(data),
              "874d6191b620e3261bef6864990db6ce9806f66b7970fdff8617187bb9fffdff"
              "5ae4df3edbd5d35e5b4f09020db03eab1e031dda2fbe03d1792170a0f3009cee");
}

class CtrLengths : public ::testing::TestWithParam<int32_t> {};

// Nothing is written outside [0, length); inside, every byte matches the
// one-shot transform of a full buffer, and a second transform restores it.
TEST_P(CtrLengths, TransformsExactlyTheLengthAndIsItsOwnInverse) {
    const int32_t length = GetParam();
    uint8_t key[16], counter[16];
    DeriveKeyAndCounter("name.bin|pw", key, counter);

    std::vector<uint8_t> full(64, 0);
    CtrTransform(full.data(), 64, key, counter);  // keystream itself

    std::vector<uint8_t> buffer(80);
    for (std::size_t i = 0; i < buffer.size(); ++i) buffer[i] = static_cast<uint8_t>(i * 7 + 1);
    const std::vector<uint8_t> original = buffer;
    uint8_t* region = buffer.data() + 8;  // guard bytes on both sides
    CtrTransform(region, length, key, counter);

    for (int32_t i = 0; i < 80; ++i) {
        const int32_t k = i - 8;
        const bool inside = k >= 0 && k < length;
        const uint8_t expected = inside ? static_cast<uint8_t>(original[i] ^ full[k]) : original[i];
        ASSERT_EQ(buffer[i], expected) << "byte " << i << " length " << length;
    }
    CtrTransform(region, length, key, counter);
    EXPECT_EQ(buffer, original);
}

INSTANTIATE_TEST_SUITE_P(Lengths, CtrLengths, ::testing::Values(-5, -1, 0, 1, 15, 16, 17, 31, 32, 33, 64));

TEST(CtrTransform, LeavesCallersCounterAndKeyAlone) {
    uint8_t key[16], counter[16], keyCopy[16], counterCopy[16];
    DeriveKeyAndCounter("x|y", key, counter);
    std::memcpy(keyCopy, key, 16);
    std::memcpy(counterCopy, counter, 16);
    std::vector<uint8_t> data(100, 0x55);
    CtrTransform(data.data(), 100, key, counter);
    EXPECT_EQ(0, std::memcmp(key, keyCopy, 16));
    EXPECT_EQ(0, std::memcmp(counter, counterCopy, 16));
}

struct WrapCase {
    const char* initial;
    const char* second;  // counter block of the second keystream block
};

// The counter is 32 bits in bytes 12..15; a carry out of byte 12 is dropped,
// unlike a 128-bit increment, which would carry into byte 11.
const WrapCase kWraps[] = {
    {"00112233445566778899aabbffffffff", "00112233445566778899aabb00000000"},
    {"00112233445566778899aabb0cffffff", "00112233445566778899aabb0d000000"},
    {"000000000000000000000000000000ff", "00000000000000000000000000000100"},
};

TEST(CtrTransform, CounterWrapsInItsLowFourBytes) {
    const auto key = FromHex("000102030405060708090a0b0c0d0e0f");
    uint8_t roundKeys[kAesRoundKeysSize];
    AesExpandKey(key.data(), roundKeys);
    for (const auto& w : kWraps) {
        const auto initial = FromHex(w.initial);
        std::vector<uint8_t> stream(32, 0);
        CtrTransform(stream.data(), 32, key.data(), initial.data());
        auto expected = FromHex(w.second);
        AesEncryptBlock(roundKeys, expected.data());
        EXPECT_EQ(ToHex(stream.data() + 16, 16), ToHex(expected)) << w.initial;
    }
}

TEST(CtrAdvanceCounter, PiecesContinueTheOneShotKeystream) {
    uint8_t key[16], counter[16];
    DeriveKeyAndCounter("piece|wise", key, counter);
    counter[12] = counter[13] = counter[14] = 0xff;  // force a wrap inside the region
    std::vector<uint8_t> whole(16 * 300 + 5, 0xa5), pieces = whole;
    CtrTransform(whole.data(), static_cast<int32_t>(whole.size()), key, counter);
    for (uint32_t block = 0; block * 16 < pieces.size(); block += 37) {
        uint8_t at[16];
        std::memcpy(at, counter, 16);
        CtrAdvanceCounter(at, block);
        const std::size_t offset = std::size_t{block} * 16;
        const auto length = static_cast<int32_t>(std::min<std::size_t>(37 * 16, pieces.size() - offset));
        CtrTransform(pieces.data() + offset, length, key, at);
    }
    EXPECT_EQ(whole, pieces);
}

}  // namespace
}  // namespace brindlock
