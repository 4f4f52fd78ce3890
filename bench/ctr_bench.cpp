// Counter-mode throughput of the portable path, the AES-NI path, the
// dispatching CtrTransform and OpenSSL's EVP aes-128-ctr, all on one shared
// buffer, for a few region sizes. Every call keys afresh, as a file
// operation does; OpenSSL is re-keyed per call too.
#include <benchmark/benchmark.h>
#include <openssl/evp.h>

#include <cstdint>
#include <vector>

#include "crypto/aes_ctr.h"

namespace brindlock {
namespace {

constexpr int32_t kLargest = 1 << 20;

uint8_t* SharedBuffer() {
    static std::vector<uint8_t> buffer = [] {
        std::vector<uint8_t> b(kLargest);
        for (std::size_t i = 0; i < b.size(); ++i) b[i] = static_cast<uint8_t>(i * 131 + 7);
        return b;
    }();
    return buffer.data();
}

const uint8_t kKey[16] = {0x2b, 0x7e, 0x15, 0x16, 0x28, 0xae, 0xd2, 0xa6,
                          0xab, 0xf7, 0x15, 0x88, 0x09, 0xcf, 0x4f, 0x3c};
const uint8_t kCounter[16] = {0xf0, 0xf1, 0xf2, 0xf3, 0xf4, 0xf5, 0xf6, 0xf7,
                              0xf8, 0xf9, 0xfa, 0xfb, 0x00, 0x00, 0x00, 0x00};

template <typename Transform>
void Run(benchmark::State& state, Transform transform) {
    uint8_t* buffer = SharedBuffer();
    const auto length = static_cast<int32_t>(state.range(0));
    for (auto _ : state) {
        transform(buffer, length);
        benchmark::ClobberMemory();
    }
    state.SetBytesProcessed(state.iterations() * length);
}

void BM_CtrPortable(benchmark::State& state) {
    Run(state, [](uint8_t* b, int32_t n) { CtrTransformPortable(b, n, kKey, kCounter); });
}

void BM_CtrAesNi(benchmark::State& state) {
    if (!HasAesNi()) {
        state.SkipWithError("AES-NI UNAVAILABLE");
        return;
    }
    Run(state, [](uint8_t* b, int32_t n) { CtrTransformAesNi(b, n, kKey, kCounter); });
}

void BM_CtrTransform(benchmark::State& state) {
    Run(state, [](uint8_t* b, int32_t n) { CtrTransform(b, n, kKey, kCounter); });
}

void BM_OpenSslCtr(benchmark::State& state) {
    EVP_CIPHER_CTX* ctx = EVP_CIPHER_CTX_new();
    if (ctx == nullptr || EVP_EncryptInit_ex(ctx, EVP_aes_128_ctr(), nullptr, kKey, kCounter) != 1) {
        state.SkipWithError("OpenSSL context could not be set up");
        EVP_CIPHER_CTX_free(ctx);
        return;
    }
    bool ok = true;
    Run(state, [&](uint8_t* b, int32_t n) {
        int written = 0;
        ok &= EVP_EncryptInit_ex(ctx, nullptr, nullptr, kKey, kCounter) == 1;
        ok &= EVP_EncryptUpdate(ctx, b, &written, b, n) == 1 && written == n;
    });
    EVP_CIPHER_CTX_free(ctx);
    if (!ok) state.SkipWithError("OpenSSL EVP_EncryptUpdate failed");
}

#define BRINDLOCK_SIZES ->Arg(16)->Arg(1024)->Arg(64 << 10)->Arg(kLargest)
BENCHMARK(BM_CtrPortable) BRINDLOCK_SIZES;
BENCHMARK(BM_CtrAesNi) BRINDLOCK_SIZES;
BENCHMARK(BM_CtrTransform) BRINDLOCK_SIZES;
BENCHMARK(BM_OpenSslCtr) BRINDLOCK_SIZES;

}  // namespace
}  // namespace brindlock

BENCHMARK_MAIN();
