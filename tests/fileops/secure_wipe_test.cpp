// Secure wiping: growth, passes, reports, the generator's bytes, flushing,
// and the failure table.
#include <algorithm>

#include "fileops_fixture.h"
#include "platform/path_delimiters.h"
#include "support/hex.h"

namespace brindlock::test {
namespace {

class SecureWipeTest : public FileOpsTest {
protected:
    SecureWipeTest() { ctx.Random = &random; }
    RunTimeRandom random;  // as at program start
};

// The first values after start (seed 1, one value drawn and discarded):
// 130, 10982, 1090, 11656, ... written as their low bytes.
const std::string kSequenceBytes = "82e64288cdbb0fa4962cdef35f3c502461bfd7efd116a1ee";

TEST(RunTimeRandom, SequenceAfterStart) {
    RunTimeRandom generator;
    const int32_t expected[] = {130, 10982, 1090, 11656, 7117, 17595, 6415, 22948};
    for (int32_t value : expected) EXPECT_EQ(generator.Next(), value);
}

// The wipe draws its bytes many at a time; they and the state they leave
// must be those of the same number of single draws, for counts below, at
// and past the width it works at, from any starting point.
TEST(RunTimeRandom, ManyAtOnceMatchesOneByOne) {
    RunTimeRandom single;
    RunTimeRandom batched;
    for (std::size_t count : {0u, 1u, 7u, 31u, 32u, 33u, 64u, 95u, 1000u, 8192u, 8193u}) {
        Bytes expected(count);
        for (auto& b : expected) b = static_cast<uint8_t>(single.Next());
        Bytes got(count + 1, 0xEE);
        batched.FillLowBytes(got.data(), count);
        EXPECT_EQ(got.back(), 0xEE) << "wrote past the end, count " << count;
        got.pop_back();
        EXPECT_EQ(ToHex(got), ToHex(expected)) << "count " << count;
        EXPECT_EQ(batched.Next(), single.Next()) << "state after count " << count;
    }
}

TEST(RunTimeRandom, OneStatePerProcess) {
    EXPECT_EQ(&ProcessRunTimeRandom(), &ProcessRunTimeRandom());
    FaultyFileSystem files(NativeFileSystem());
    EXPECT_EQ(FileOpsContext(files).Random, &ProcessRunTimeRandom());
}

TEST_F(SecureWipeTest, FirstWipeAfterStartWritesTheKnownBytesAndTheNextContinues) {
    dir.Write("a", Pattern(10));  // wiped over 11 bytes
    dir.Write("b", Pattern(8));   // too short to grow
    ASSERT_TRUE(SecureWipeFile(ctx, dir.Path("a"), 1, nullptr)) << ctx.FailureReason;
    EXPECT_EQ(ToHex(files.exclusiveWrites), kSequenceBytes.substr(0, 22));
    files.exclusiveWrites.clear();
    ASSERT_TRUE(SecureWipeFile(ctx, dir.Path("b"), 1, nullptr));
    EXPECT_EQ(ToHex(files.exclusiveWrites), kSequenceBytes.substr(22, 16));
    EXPECT_TRUE(dir.List().empty());
}

TEST_F(SecureWipeTest, ProcessGeneratorIsSharedBetweenWipes) {
    ctx.Random = &ProcessRunTimeRandom();
    RunTimeRandom expected = ProcessRunTimeRandom();
    dir.Write("a", Pattern(20));
    dir.Write("b", Pattern(20));
    FaultyFileSystem otherFiles(NativeFileSystem());
    FileOpsContext other(otherFiles);
    ASSERT_TRUE(SecureWipeFile(ctx, dir.Path("a"), 1, nullptr));
    ASSERT_TRUE(SecureWipeFile(other, dir.Path("b"), 1, nullptr));
    Bytes sequence(44);
    for (auto& b : sequence) b = static_cast<uint8_t>(expected.Next());
    EXPECT_EQ(ToHex(files.exclusiveWrites), ToHex(Bytes(sequence.begin(), sequence.begin() + 22)));
    EXPECT_EQ(ToHex(otherFiles.exclusiveWrites), ToHex(Bytes(sequence.begin() + 22, sequence.end())));
}

// The timed wiping can run inside a progress report of another wipe. Each
// chunk's bytes are drawn just before its report, so the sequence runs on
// through the inner wipe as it would with one value drawn at a time.
TEST_F(SecureWipeTest, WipeInsideAReportContinuesTheSequence) {
    dir.Write("outer", Pattern(20000));  // 22000 wiped: chunks of 8192, 8192, 5616
    dir.Write("inner", Pattern(100));    // 110 wiped
    FaultyFileSystem innerFiles(NativeFileSystem());
    FileOpsContext inner(innerFiles);
    inner.Random = &random;
    RunTimeRandom expected = random;
    int calls = 0;
    const ProgressCallback progress = [&](int32_t, int32_t) {
        if (++calls == 1) {
            EXPECT_TRUE(SecureWipeFile(inner, dir.Path("inner"), 1, nullptr));
        }
        return true;
    };
    ASSERT_TRUE(SecureWipeFile(ctx, dir.Path("outer"), 1, progress)) << ctx.FailureReason;
    Bytes sequence(22110);
    for (auto& b : sequence) b = static_cast<uint8_t>(expected.Next());
    Bytes outer(sequence.begin(), sequence.begin() + 8192);
    outer.insert(outer.end(), sequence.begin() + 8192 + 110, sequence.end());
    EXPECT_EQ(ToHex(innerFiles.exclusiveWrites), ToHex(Bytes(sequence.begin() + 8192, sequence.begin() + 8192 + 110)));
    EXPECT_EQ(ToHex(files.exclusiveWrites), ToHex(outer));
    EXPECT_EQ(random.Next(), expected.Next());
}

struct WipeCase {
    std::size_t size;
    int32_t passes;
    int64_t wiped;  // grown length
    Reports reports;
};

Reports PassReports(int32_t passes, const std::vector<int32_t>& chunks) {
    int32_t perPass = 0;
    for (int32_t c : chunks) perPass += c;
    Reports reports;
    int32_t done = 0;
    for (int32_t p = 0; p < passes; ++p)
        for (int32_t c : chunks) reports.emplace_back(done += c, perPass * passes);
    return reports;
}

class WipeProgress : public SecureWipeTest, public ::testing::WithParamInterface<WipeCase> {};

TEST_P(WipeProgress, GrowsOverwritesAndDeletes) {
    const WipeCase& c = GetParam();
    dir.Write("w.bin", Pattern(c.size));
    ASSERT_TRUE(SecureWipeFile(ctx, dir.Path("w.bin"), c.passes, Recorder())) << ctx.FailureReason;
    EXPECT_EQ(reports, c.reports);
    EXPECT_FALSE(dir.Exists("w.bin"));
    EXPECT_EQ(shell.Folders, std::vector<std::string>{dir.Folder()});
    EXPECT_EQ(static_cast<int64_t>(files.exclusiveWrites.size()), c.wiped * std::max(c.passes, 0));
    const bool grows = c.wiped > static_cast<int64_t>(c.size);
    EXPECT_EQ(std::count(files.log.begin(), files.log.end(), "SetSize " + std::to_string(c.wiped)), grows ? 1 : 0);
}

INSTANTIATE_TEST_SUITE_P(
    Table, WipeProgress,
    ::testing::Values(WipeCase{9, 5, 9, PassReports(5, {9})},  // (9,45) ... (45,45), not grown
                      WipeCase{10, 5, 11, PassReports(5, {11})},
                      WipeCase{100, 5, 110, PassReports(5, {110})},
                      WipeCase{20000, 3, 22000, PassReports(3, {8192, 8192, 5616})},
                      WipeCase{8192 * 10 / 11 + 1, 1, 8192 * 10 / 11 + 1 + (8192 * 10 / 11 + 1) / 10,
                               PassReports(1, {8192 * 10 / 11 + 1 + (8192 * 10 / 11 + 1) / 10})},
                      WipeCase{1000, 0, 1100, {}}, WipeCase{1000, -3, 1100, {}}),
    [](const auto& row) {
        const std::string passes = row.param.passes < 0 ? "Minus" + std::to_string(-row.param.passes) : std::to_string(row.param.passes);
        return "Size" + std::to_string(row.param.size) + "Passes" + passes;
    });

TEST_F(SecureWipeTest, EachPassReachesTheDeviceBeforeTheNextAndBeforeDeletion) {
    dir.Write("w.bin", Pattern(9000));
    ASSERT_TRUE(SecureWipeFile(ctx, dir.Path("w.bin"), 3, nullptr));
    std::vector<std::string> shape;
    for (const std::string& call : files.log)
        if (call.rfind("Write", 0) != 0) shape.push_back(call);  // writes between seeks and flushes
    const std::vector<std::string> expected = {"FileExists", "OpenExclusive", "Size", "SetSize 9900",
                                               "Seek 0", "Flush", "Seek 0", "Flush", "Seek 0", "Flush",
                                               "Close", "RemoveFile"};
    EXPECT_EQ(shape, expected);
}

TEST_F(SecureWipeTest, EmptyFileIsDeletedWithoutWriting) {
    dir.Write("e", Bytes{});
    EXPECT_TRUE(SecureWipeFile(ctx, dir.Path("e"), 5, Recorder()));
    EXPECT_FALSE(dir.Exists("e"));
    EXPECT_TRUE(files.exclusiveWrites.empty());
    EXPECT_TRUE(reports.empty());
    EXPECT_EQ(shell.Folders, std::vector<std::string>{dir.Folder()});
}

// Only where the system says that no file is there. (Where it cannot tell,
// access denied for instance, the wipe tries to open the file and fails.)
TEST_F(SecureWipeTest, NothingToWipeIsSuccessWithoutNotice) {
    std::filesystem::create_directory(dir.Path("sub"));
    dir.Write("w.bin", Pattern(10));
    const std::string separator(1, kPathSeparator);
    const std::vector<std::string> paths = {
        std::string(),
        dir.Path("missing"),
        dir.Path("sub"),
        dir.Path("missing folder") + separator + "x",
        dir.Path("w.bin") + separator + "x",  // a file is no folder
#ifdef _WIN32
        dir.Path("a*b"),  // no file can have this name
#else
        dir.Path(std::string(300, 'n')),  // nor this one
#endif
    };
    for (const std::string& path : paths) {
        EXPECT_TRUE(SecureWipeFile(ctx, path, 5, Recorder())) << path;
    }
    EXPECT_EQ(dir.Read("w.bin"), Pattern(10));
    EXPECT_TRUE(dir.Exists("sub"));
    EXPECT_TRUE(shell.Folders.empty());
    EXPECT_TRUE(reports.empty());
}

TEST_F(SecureWipeTest, AbortAtFirstReportLeavesGrownFileWithFirstChunkOverwritten) {
    const Bytes original = Pattern(20000);
    dir.Write("w.bin", original);
    EXPECT_FALSE(SecureWipeFile(ctx, dir.Path("w.bin"), 5, Recorder(1)));
    EXPECT_EQ(reports, (Reports{{8192, 110000}}));
    const auto left = dir.Read("w.bin");
    ASSERT_TRUE(left);
    ASSERT_EQ(left->size(), 22000u);
    RunTimeRandom fresh;
    Bytes expected(original);
    expected.resize(22000, 0);
    for (int i = 0; i < 8192; ++i) expected[static_cast<std::size_t>(i)] = static_cast<uint8_t>(fresh.Next());
    EXPECT_TRUE(*left == expected);
    EXPECT_TRUE(shell.Folders.empty());
}

// Failures: false, the file stays (as far as the wipe got), no notice.
struct WipeFailure {
    const char* label;
    const char* call;
    int nth;
    FaultKind kind;
    int64_t sizeAfter;  // -1: unchanged
};

class WipeFailures : public SecureWipeTest, public ::testing::WithParamInterface<WipeFailure> {};

TEST_P(WipeFailures, FileStaysAndResultIsFalse) {
    const WipeFailure& c = GetParam();
    dir.Write("w.bin", Pattern(100));
    files.FailOn(c.call, c.nth, c.kind);
    EXPECT_FALSE(SecureWipeFile(ctx, dir.Path("w.bin"), 5, nullptr));
    EXPECT_FALSE(ctx.FailureReason.empty());
    const auto left = dir.Read("w.bin");
    ASSERT_TRUE(left);
    if (c.sizeAfter < 0) {
        EXPECT_EQ(*left, Pattern(100));
    } else {
        EXPECT_EQ(static_cast<int64_t>(left->size()), c.sizeAfter);
    }
    EXPECT_TRUE(shell.Folders.empty());
}

INSTANTIATE_TEST_SUITE_P(Table, WipeFailures,
                         ::testing::Values(WipeFailure{"CannotOpen", "OpenExclusive", 1, FaultKind::Fail, -1},
                                           WipeFailure{"CannotGrow", "SetSize", 1, FaultKind::Fail, -1},
                                           WipeFailure{"WriteFails", "Write", 2, FaultKind::Fail, 110},
                                           WipeFailure{"WriteShort", "Write", 1, FaultKind::Short, 110},
                                           WipeFailure{"FlushFails", "Flush", 3, FaultKind::Fail, 110},
                                           WipeFailure{"SeekFails", "Seek", 2, FaultKind::Fail, 110}),
                         [](const auto& row) { return std::string(row.param.label); });

// The bytes are destroyed, but the file is still there: an erase that said
// it was gone would be wrong, and a timed wipe would drop a copy it must retry.
TEST_F(SecureWipeTest, FailedDeletionIsAFailureThatLeavesTheFileOverwritten) {
    dir.Write("w.bin", Pattern(100));
    files.FailOn("RemoveFile");
    EXPECT_FALSE(SecureWipeFile(ctx, dir.Path("w.bin"), 2, nullptr));
    EXPECT_NE(ctx.FailureReason.find("cannot delete"), std::string::npos) << ctx.FailureReason;
    const auto left = dir.Read("w.bin");
    ASSERT_TRUE(left);
    RunTimeRandom fresh;
    for (int i = 0; i < 110; ++i) fresh.Next();
    Bytes secondPass(110);
    for (auto& b : secondPass) b = static_cast<uint8_t>(fresh.Next());
    EXPECT_EQ(ToHex(*left), ToHex(secondPass));
    EXPECT_EQ(shell.Folders, std::vector<std::string>{dir.Folder()});
}

#ifdef _WIN32
// Share modes and the read-only attribute are real only on Windows.
TEST_F(SecureWipeTest, ReadOnlyOrBusyFileIsNotWiped) {
    dir.Write("w.bin", Pattern(100));
    ASSERT_TRUE(files.SetAttributes(dir.Path("w.bin"), kFileAttributeReadOnly));
    EXPECT_FALSE(SecureWipeFile(ctx, dir.Path("w.bin"), 5, nullptr));
    EXPECT_EQ(dir.Read("w.bin"), Pattern(100));
    ASSERT_TRUE(files.SetAttributes(dir.Path("w.bin"), kFileAttributeNormal));
    {
        FileHandle other = NativeFileSystem().OpenRead(dir.Path("w.bin"));
        ASSERT_TRUE(other);
        EXPECT_FALSE(SecureWipeFile(ctx, dir.Path("w.bin"), 5, nullptr));
    }
    EXPECT_EQ(dir.Read("w.bin"), Pattern(100));
    EXPECT_TRUE(shell.Folders.empty());
}

TEST_F(SecureWipeTest, HiddenViewingCopyIsWiped) {
    dir.Write("_Brindlock.txt", Pattern(100));
    ASSERT_TRUE(files.SetAttributes(dir.Path("_Brindlock.txt"), kFileAttributeHidden | kFileAttributeTemporary));
    EXPECT_TRUE(SecureWipeFile(ctx, dir.Path("_Brindlock.txt"), 5, nullptr)) << ctx.FailureReason;
    EXPECT_FALSE(dir.Exists("_Brindlock.txt"));
}
#endif

}  // namespace
}  // namespace brindlock::test
