// Files of 2 GiB and more, on sparse files: sizes and growth in 64 bits,
// streaming instead of one region in memory, progress scaled into 32 bits
// with done <= total. The runs are aborted early or use no passes so the
// test stays fast and small on disk; the streaming arithmetic itself is
// checked byte for byte with a lowered limit in file_cipher_test.
#include <filesystem>

#include "fileops_fixture.h"

namespace brindlock::test {
namespace {

constexpr int64_t kLarge = (int64_t{1} << 31) + 4097;  // 2 GiB and a bit

class LargeFileTest : public FileOpsTest {
protected:
    void MakeSparse(const std::string& name, int64_t size) {
        dir.Write(name, Pattern(4096));
        std::filesystem::resize_file(dir.Path(name), static_cast<std::uintmax_t>(size));
    }
};

TEST_F(LargeFileTest, EncryptionStreamsWithScaledProgress) {
    MakeSparse("big.bin", kLarge);
    EXPECT_FALSE(EncryptOneFile(ctx, dir.Path("big.bin"), 0, Recorder(3)));
    ASSERT_EQ(reports.size(), 3u);
    const int32_t total = reports[0].second;
    EXPECT_EQ(reports[0].first, 0);
    EXPECT_EQ(total, static_cast<int32_t>(kLarge >> 1)) << "the total fits a signed 32-bit count";
    EXPECT_EQ(reports[1], Report(ctx.StreamChunkBytes >> 1, total)) << "one chunk, not one region";
    EXPECT_EQ(reports[2], Report(ctx.StreamChunkBytes, total));
    EXPECT_EQ(dir.List(), std::set<std::string>{"big.bin"});
    EXPECT_EQ(static_cast<int64_t>(std::filesystem::file_size(dir.Path("big.bin"))), kLarge);
}

TEST_F(LargeFileTest, WipeGrowsTheWholeLengthIn64Bits) {
    MakeSparse("big.bin", kLarge);
    const int64_t wiped = kLarge + kLarge / 10;
    EXPECT_FALSE(SecureWipeFile(ctx, dir.Path("big.bin"), 5, Recorder(2)));
    EXPECT_EQ(static_cast<int64_t>(std::filesystem::file_size(dir.Path("big.bin"))), wiped);
    ASSERT_EQ(reports.size(), 2u);
    const ProgressScale scale(wiped * 5);
    EXPECT_EQ(reports[1], Report(scale.Of(16384), scale.Total()));
    EXPECT_LE(reports[1].first, reports[1].second);
    RunTimeRandom fresh;
    Bytes expected(16);
    for (auto& b : expected) b = static_cast<uint8_t>(fresh.Next());
    EXPECT_EQ(dir.ReadPrefix("big.bin", 16), expected);
}

TEST_F(LargeFileTest, WipeWithoutPassesDeletesTheGrownFile) {
    MakeSparse("big.bin", kLarge);
    EXPECT_TRUE(SecureWipeFile(ctx, dir.Path("big.bin"), 0, Recorder()));
    EXPECT_FALSE(dir.Exists("big.bin"));
    EXPECT_TRUE(reports.empty());
}

}  // namespace
}  // namespace brindlock::test
