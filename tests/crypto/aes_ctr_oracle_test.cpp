// OpenSSL as an independent second implementation of AES-128 and its
// counter mode. Counters are kept clear of a wrap in bytes 12..15, where
// OpenSSL's 128-bit increment and ours part ways by design.
#include <gtest/gtest.h>
#include <openssl/evp.h>

#include <random>
#include <vector>

#include "crypto/aes_ctr.h"
#include "support/hex.h"

namespace brindlock {
namespace {

std::vector<uint8_t> OpenSslRun(const EVP_CIPHER* cipher, const uint8_t* key, const uint8_t* iv,
                                const std::vector<uint8_t>& in) {
    EVP_CIPHER_CTX* ctx = EVP_CIPHER_CTX_new();
    std::vector<uint8_t> out(in.size() + 16);
    int n = 0, tail = 0;
    EVP_EncryptInit_ex(ctx, cipher, nullptr, key, iv);
    EVP_CIPHER_CTX_set_padding(ctx, 0);
    EVP_EncryptUpdate(ctx, out.data(), &n, in.data(), static_cast<int>(in.size()));
    EVP_EncryptFinal_ex(ctx, out.data() + n, &tail);
    EVP_CIPHER_CTX_free(ctx);
    out.resize(static_cast<std::size_t>(n + tail));
    return out;
}

TEST(OpenSslOracle, BlockCipherOnRandomKeys) {
    std::mt19937 rng(20261211);
    for (int round = 0; round < 500; ++round) {
        std::vector<uint8_t> key(16), block(16);
        for (auto& b : key) b = static_cast<uint8_t>(rng());
        for (auto& b : block) b = static_cast<uint8_t>(rng());
        const auto expected = OpenSslRun(EVP_aes_128_ecb(), key.data(), nullptr, block);
        uint8_t roundKeys[kAesRoundKeysSize];
        AesExpandKey(key.data(), roundKeys);
        AesEncryptBlock(roundKeys, block.data());
        ASSERT_EQ(test::ToHex(block), test::ToHex(expected)) << "key " << test::ToHex(key);
    }
}

TEST(OpenSslOracle, CounterModeOnRandomKeysCountersAndLengths) {
    std::mt19937 rng(7);
    for (int round = 0; round < 300; ++round) {
        std::vector<uint8_t> key(16), counter(16);
        for (auto& b : key) b = static_cast<uint8_t>(rng());
        for (auto& b : counter) b = static_cast<uint8_t>(rng());
        counter[12] &= 0x7f;  // no wrap of the low 32 bits within 5000 bytes
        const std::size_t length = rng() % 5000;
        std::vector<uint8_t> data(length);
        for (auto& b : data) b = static_cast<uint8_t>(rng());
        const auto expected = OpenSslRun(EVP_aes_128_ctr(), key.data(), counter.data(), data);
        CtrTransform(data.data(), static_cast<int32_t>(length), key.data(), counter.data());
        ASSERT_EQ(test::ToHex(data), test::ToHex(expected)) << "length " << length;
    }
}

}  // namespace
}  // namespace brindlock
