// Encryption and decryption of one file: names, format, progress, and every
// failure leaving the destination exactly as it was.
#include <algorithm>
#include <filesystem>
#include <functional>
#include <optional>

#include "fileops/path_names.h"
#include "platform/path_delimiters.h"
#include "fileops_fixture.h"

namespace brindlock::test {
namespace {

using FileCipherTest = FileOpsTest;

TEST_F(FileCipherTest, EncryptWritesDollarCopyAndDecryptReplacesPlainFile) {
    const Bytes plain = Pattern(1000);
    dir.Write("a.txt", plain);
    ASSERT_TRUE(EncryptOneFile(ctx, dir.Path("a.txt"), 0, nullptr)) << ctx.FailureReason;
    EXPECT_EQ(dir.Read("$a.txt"), Cipher(plain, "a.txt", "secret"));
    EXPECT_EQ(dir.Read("a.txt"), plain);

    dir.Write("a.txt", Bytes{'o', 'l', 'd'});
    ASSERT_TRUE(DecryptOneFile(ctx, dir.Path("$a.txt"), 0, nullptr)) << ctx.FailureReason;
    EXPECT_EQ(dir.Read("a.txt"), plain);
    EXPECT_EQ(dir.Read("$a.txt"), Cipher(plain, "a.txt", "secret"));
    EXPECT_EQ(dir.List(), (std::set<std::string>{"a.txt", "$a.txt"}));
    EXPECT_TRUE(shell.Folders.empty()) << "success leaves notifying to the caller";
}

TEST_F(FileCipherTest, KeystreamDependsOnNameAndPasswordOnly) {
    std::filesystem::create_directory(dir.Path("one"));
    std::filesystem::create_directory(dir.Path("two"));
    const Bytes plain = Pattern(300);
    dir.Write("one/r.bin", plain);
    dir.Write("two/r.bin", plain);
    ASSERT_TRUE(EncryptOneFile(ctx, dir.Path("one") + kPathSeparator + "r.bin", 0, nullptr));
    ASSERT_TRUE(EncryptOneFile(ctx, dir.Path("two") + kPathSeparator + "r.bin", 0, nullptr));
    EXPECT_EQ(dir.Read("one/$r.bin"), dir.Read("two/$r.bin"));
}

// A wrong key text cannot be noticed: decryption succeeds with wrong bytes.
TEST_F(FileCipherTest, WrongPasswordOrRenamedFileDecryptsToWrongBytes) {
    const Bytes plain = Pattern(64);
    dir.Write("$a.txt", Cipher(plain, "a.txt", "secret"));
    dir.Write("$b.txt", Cipher(plain, "a.txt", "secret"));
    ASSERT_TRUE(DecryptOneFile(ctx, dir.Path("$b.txt"), 0, nullptr));
    EXPECT_EQ(dir.Read("b.txt"), Cipher(Cipher(plain, "a.txt", "secret"), "b.txt", "secret"));
    ctx.Password = "Secret";
    ASSERT_TRUE(DecryptOneFile(ctx, dir.Path("$a.txt"), 0, nullptr));
    EXPECT_NE(dir.Read("a.txt"), plain);
    EXPECT_EQ(dir.Read("a.txt")->size(), plain.size());
}

TEST_F(FileCipherTest, NamesOfTheOtherKindAreLeftAlone) {
    dir.Write("$x.txt", Pattern(10));
    dir.Write("x.txt", Pattern(10, 2));
    dir.Write("$", Pattern(10, 3));
    const auto before = dir.List();
    EXPECT_TRUE(EncryptOneFile(ctx, dir.Path("$x.txt"), 0, Recorder()));
    EXPECT_TRUE(EncryptOneFile(ctx, dir.Path("$"), 0, Recorder()));
    EXPECT_TRUE(DecryptOneFile(ctx, dir.Path("x.txt"), 0, Recorder()));
    EXPECT_EQ(dir.List(), before);
    EXPECT_EQ(dir.Read("x.txt"), Pattern(10, 2));
    EXPECT_TRUE(reports.empty());
}

// ---- failures: false, the source unchanged, the destination exactly as before

struct Env {
    TempFolder& dir;
    FaultyFileSystem& files;
    FileOpsContext& ctx;
};

struct FailureCase {
    const char* label;
    bool decrypt;
    std::string file;           // source name in the folder; "<empty>" / "<folder>" for those paths
    std::size_t size;           // bytes of the source (when it is written)
    bool destinationBefore;     // a file already stands at the destination
    int32_t limit;
    int abortAt;                // report that returns false, 0 never
    bool notified;              // the destination's folder is told
    std::function<void(Env&)> arrange;
};

const char* const kOld = "destination before";

std::vector<FailureCase> FailureCases() {
    auto fault = [](const char* call, int nth = 1, FaultKind kind = FaultKind::Fail) {
        return [=](Env& env) { env.files.FailOn(call, nth, kind); };
    };
    return {
        {"EmptyPath", false, "<empty>", 10, true, 0, 0, false, nullptr},
        {"PathWithoutName", false, "<folder>", 10, true, 0, 0, false, nullptr},
        {"MissingSource", false, "", 0, true, 0, 0, false, nullptr},
        {"DestinationIsAFolder", false, "a.txt", 10, false, 0, 0, false,
         [](Env& env) { std::filesystem::create_directory(env.dir.Path("$a.txt")); }},
        {"EmptySource", false, "a.txt", 0, true, 0, 0, false, nullptr},
        {"EmptySourceNoDestination", false, "a.txt", 0, false, 0, 0, false, nullptr},
        {"EmptyPassword", false, "a.txt", 10, true, 0, 0, false, [](Env& env) { env.ctx.Password.clear(); }},
        {"EmptyPasswordDecrypt", true, "$a.txt", 10, true, 0, 0, false,
         [](Env& env) { env.ctx.Password.clear(); }},
        {"SourceCannotBeOpened", false, "a.txt", 10, true, 0, 0, false, fault("OpenRead")},
        {"DestinationCannotBeCreated", false, "a.txt", 10, true, 0, 0, false, fault("CreateTempBeside")},
        {"DestinationCheckFails", true, "$a.txt", 10, true, 0, 0, false, fault("CanCreateOver")},
        {"AbortAtFirstReport", false, "a.txt", 100, true, 0, 1, true, nullptr},
        {"AbortAtFirstReportNoDestination", true, "$a.txt", 100, false, 0, 1, true, nullptr},
        {"AbortAtLastReport", false, "a.txt", 100, true, 0, 2, true, nullptr},
        {"AbortInTail", true, "$a.txt", 20000, true, 10, 3, true, nullptr},
        {"RegionReadFails", false, "a.txt", 100, true, 0, 0, false, fault("Read")},
        {"RegionReadEndsEarly", false, "a.txt", 100, true, 0, 0, false, fault("Read", 1, FaultKind::End)},
        {"TailReadEndsEarly", false, "a.txt", 100, true, 10, 0, false, fault("Read", 2, FaultKind::End)},
        {"RegionWriteFails", false, "a.txt", 100, true, 0, 0, false, fault("Write")},
        {"RegionWriteShort", true, "$a.txt", 100, true, 0, 0, false, fault("Write", 1, FaultKind::Short)},
        {"TailWriteShort", false, "a.txt", 20000, true, 10, 0, false, fault("Write", 3, FaultKind::Short)},
        {"FlushFails", false, "a.txt", 100, true, 0, 0, false, fault("Flush")},
        {"CloseFails", false, "a.txt", 100, true, 0, 0, false, fault("Close")},
        {"MoveIntoPlaceFails", true, "$a.txt", 100, true, 0, 0, false, fault("MoveReplace")},
        {"DollarAloneNamesTheFolder", true, "$", 10, false, 0, 0, false, nullptr},
    };
}

class CipherFailure : public FileOpsTest, public ::testing::WithParamInterface<FailureCase> {};

TEST_P(CipherFailure, ReturnsFalseAndTouchesNothing) {
    const FailureCase& c = GetParam();
    const std::string destination = c.decrypt ? "a.txt" : "$a.txt";
    const Bytes source = Pattern(c.size);
    const Bytes old(kOld, kOld + std::strlen(kOld));
    if (c.file != "<empty>" && c.file != "<folder>" && !c.file.empty()) dir.Write(c.file, source);
    if (c.destinationBefore) dir.Write(destination, old);
    Env env{dir, files, ctx};
    if (c.arrange) c.arrange(env);
    const auto before = dir.List();
    const std::string path = c.file == "<empty>" ? "" : c.file == "<folder>" ? dir.Folder() : dir.Path(c.file.empty() ? "gone.txt" : c.file);

    const bool ok = c.decrypt ? DecryptOneFile(ctx, path, c.limit, Recorder(c.abortAt))
                              : EncryptOneFile(ctx, path, c.limit, Recorder(c.abortAt));

    EXPECT_FALSE(ok);
    EXPECT_FALSE(ctx.FailureReason.empty());
    EXPECT_EQ(dir.List(), before) << "no partial result, no temporary file";
    if (!c.file.empty() && c.file[0] != '<') {
        EXPECT_EQ(dir.Read(c.file), source);
    }
    if (c.destinationBefore) {
        EXPECT_EQ(dir.Read(destination), old);
    }
    if (c.notified) {
        EXPECT_EQ(shell.Folders, std::vector<std::string>{dir.Folder()});
    } else {
        EXPECT_TRUE(shell.Folders.empty());
    }
}

INSTANTIATE_TEST_SUITE_P(Table, CipherFailure, ::testing::ValuesIn(FailureCases()),
                         [](const auto& row) { return std::string(row.param.label); });

// The session may end inside the first report; the key text would then hold
// no password, so nothing is written.
TEST_F(FileCipherTest, PasswordDroppedDuringFirstReportWritesNothing) {
    dir.Write("a.txt", Pattern(100));
    dir.Write("$a.txt", Pattern(5, 9));
    const ProgressCallback endSession = [this](int32_t, int32_t) {
        ctx.Password.clear();
        return true;
    };
    EXPECT_FALSE(EncryptOneFile(ctx, dir.Path("a.txt"), 0, endSession));
    EXPECT_EQ(dir.Read("$a.txt"), Pattern(5, 9));
    EXPECT_EQ(dir.List(), (std::set<std::string>{"a.txt", "$a.txt"}));
}

// The password in force after the first report is the one used.
TEST_F(FileCipherTest, PasswordIsReadAfterFirstReport) {
    dir.Write("a.txt", Pattern(40));
    const ProgressCallback change = [this](int32_t done, int32_t) {
        if (done == 0) ctx.Password = "later";
        return true;
    };
    ASSERT_TRUE(EncryptOneFile(ctx, dir.Path("a.txt"), 0, change));
    EXPECT_EQ(dir.Read("$a.txt"), Cipher(Pattern(40), "a.txt", "later"));
}

// ---- progress and the length limit

struct ProgressCase {
    std::size_t size;
    int32_t limit;
    int64_t transformed;
    Reports reports;
};

class CipherProgress : public FileOpsTest, public ::testing::WithParamInterface<ProgressCase> {};

TEST_P(CipherProgress, ReportsAndTransformedRegion) {
    const ProgressCase& c = GetParam();
    const Bytes plain = Pattern(c.size);
    dir.Write("p.dat", plain);
    ASSERT_TRUE(EncryptOneFile(ctx, dir.Path("p.dat"), c.limit, Recorder())) << ctx.FailureReason;
    EXPECT_EQ(reports, c.reports);
    EXPECT_EQ(dir.Read("$p.dat"), Cipher(plain, "p.dat", "secret", c.transformed));
}

INSTANTIATE_TEST_SUITE_P(
    Table, CipherProgress,
    ::testing::Values(ProgressCase{100, 0, 100, {{0, 100}, {100, 100}}},
                      ProgressCase{100, 10, 10, {{0, 100}, {10, 100}, {100, 100}}},
                      ProgressCase{100, 100, 100, {{0, 100}, {100, 100}}},
                      ProgressCase{100, 200, 100, {{0, 100}, {100, 100}}},
                      ProgressCase{100, -5, 100, {{0, 100}, {100, 100}}},
                      ProgressCase{1, 0, 1, {{0, 1}, {1, 1}}},
                      ProgressCase{20000, 10, 10, {{0, 20000}, {10, 20000}, {8202, 20000}, {16394, 20000}, {20000, 20000}}}),
    [](const auto& row) {
        const std::string limit = row.param.limit < 0 ? "Minus" + std::to_string(-row.param.limit) : std::to_string(row.param.limit);
        return "Size" + std::to_string(row.param.size) + "Limit" + limit;
    });

TEST_F(FileCipherTest, DecryptionReversesALimitedEncryption) {
    const Bytes plain = Pattern(20000);
    dir.Write("$p.dat", Cipher(plain, "p.dat", "secret", 777));
    ASSERT_TRUE(DecryptOneFile(ctx, dir.Path("$p.dat"), 777, nullptr));
    EXPECT_EQ(dir.Read("p.dat"), plain);
}

// ---- files above the in-memory limit are streamed (limit lowered here)

struct StreamCase {
    std::size_t size;
    int32_t limit;
    int32_t chunk;
};

class CipherStreaming : public FileOpsTest, public ::testing::WithParamInterface<StreamCase> {};

TEST_P(CipherStreaming, SameBytesAsOnePassAndMonotonicReports) {
    const StreamCase& c = GetParam();
    ctx.WholeRegionMaxBytes = 999;
    ctx.StreamChunkBytes = c.chunk;
    const Bytes plain = Pattern(c.size);
    const int64_t region = c.limit > 0 && static_cast<std::size_t>(c.limit) <= c.size ? c.limit : c.size;
    dir.Write("s.bin", plain);
    ASSERT_TRUE(EncryptOneFile(ctx, dir.Path("s.bin"), c.limit, Recorder())) << ctx.FailureReason;
    EXPECT_EQ(dir.Read("$s.bin"), Cipher(plain, "s.bin", "secret", region));

    const int32_t step = std::max(c.chunk / 16, 1) * 16;  // chunks are whole counter blocks
    const auto chunks = [step](int64_t n) { return (n + step - 1) / step; };
    ASSERT_EQ(static_cast<int64_t>(reports.size()), 1 + chunks(region) + chunks(static_cast<int64_t>(c.size) - region));
    EXPECT_EQ(reports.front(), Report(0, static_cast<int32_t>(c.size)));
    EXPECT_EQ(reports.back(), Report(static_cast<int32_t>(c.size), static_cast<int32_t>(c.size)));
    for (std::size_t i = 1; i < reports.size(); ++i) EXPECT_LT(reports[i - 1].first, reports[i].first);

    ASSERT_TRUE(DecryptOneFile(ctx, dir.Path("$s.bin"), c.limit, nullptr));
    EXPECT_EQ(dir.Read("s.bin"), plain);
}

INSTANTIATE_TEST_SUITE_P(Table, CipherStreaming,
                         ::testing::Values(StreamCase{50000, 0, 4096}, StreamCase{50001, 0, 1000},
                                           StreamCase{50000, 10000, 4096}, StreamCase{1000, 0, 16},
                                           StreamCase{1000, 0, 1}),
                         [](const auto& row) {
                             return "Size" + std::to_string(row.param.size) + "Limit" + std::to_string(row.param.limit) +
                                    "Chunk" + std::to_string(row.param.chunk);
                         });

TEST_F(FileCipherTest, FileAtTheInMemoryLimitIsOneRegion) {
    ctx.WholeRegionMaxBytes = 1000;
    ctx.StreamChunkBytes = 64;
    dir.Write("w.bin", Pattern(1000));
    ASSERT_TRUE(EncryptOneFile(ctx, dir.Path("w.bin"), 0, Recorder()));
    EXPECT_EQ(reports, (Reports{{0, 1000}, {1000, 1000}}));
}

TEST_F(FileCipherTest, AbortWhileStreamingLeavesNothing) {
    ctx.WholeRegionMaxBytes = 100;
    ctx.StreamChunkBytes = 256;
    dir.Write("s.bin", Pattern(5000));
    EXPECT_FALSE(EncryptOneFile(ctx, dir.Path("s.bin"), 0, Recorder(4)));
    EXPECT_EQ(reports.size(), 4u);
    EXPECT_EQ(dir.List(), std::set<std::string>{"s.bin"});
}

// ---- open mode: the temporary viewing copy

TEST_F(FileCipherTest, OpenModeDecryptsIntoTheViewingCopy) {
    const Bytes plain = Pattern(500);
    dir.Write("$doc.txt", Cipher(plain, "doc.txt", "secret"));
    ctx.OpenMode = true;
    ctx.TempCopyPath = dir.Path("_Brindlock.txt");
    ASSERT_TRUE(DecryptOneFile(ctx, dir.Path("$doc.txt"), 0, nullptr)) << ctx.FailureReason;
    EXPECT_EQ(dir.Read("_Brindlock.txt"), plain) << "key text from the encrypted file's plain name";
    EXPECT_FALSE(dir.Exists("doc.txt"));
    // Exactly hidden and temporary, replacing whatever the creation left.
    EXPECT_EQ(std::count(files.log.begin(), files.log.end(), "SetAttributes 258"), 1);
#ifdef _WIN32
    uint32_t attributes = 0;
    ASSERT_TRUE(files.GetAttributes(ctx.TempCopyPath, attributes));
    // Wine keeps neither the temporary bit nor a cleared archive bit; the
    // hidden bit is what it can show.
    EXPECT_TRUE(attributes & kFileAttributeHidden) << attributes;
    EXPECT_FALSE(attributes & (kFileAttributeReadOnly | 0x4)) << attributes;
#endif
}

TEST_F(FileCipherTest, OpenModeWithoutCopyPathWritesThePlainName) {
    dir.Write("$doc.txt", Cipher(Pattern(50), "doc.txt", "secret"));
    ctx.OpenMode = true;
    ASSERT_TRUE(DecryptOneFile(ctx, dir.Path("$doc.txt"), 0, nullptr));
    EXPECT_EQ(dir.Read("doc.txt"), Pattern(50));
}

#ifndef _WIN32
// A result moved over an existing file keeps that file's permissions: a
// private plain file must not come back readable by others.
TEST_F(FileCipherTest, AReplacedFileKeepsItsPermissions) {
    for (const unsigned mode : {0600u, 0640u, 0755u}) {
        SCOPED_TRACE(mode);
        dir.Write("doc.txt", Pattern(40));
        dir.Write("$doc.txt", Pattern(3));
        std::filesystem::permissions(dir.Path("doc.txt"), std::filesystem::perms(mode));
        std::filesystem::permissions(dir.Path("$doc.txt"), std::filesystem::perms(mode));
        ASSERT_TRUE(EncryptOneFile(ctx, dir.Path("doc.txt"), 0, nullptr)) << ctx.FailureReason;
        ASSERT_TRUE(DecryptOneFile(ctx, dir.Path("$doc.txt"), 0, nullptr)) << ctx.FailureReason;
        EXPECT_EQ(dir.Read("doc.txt"), Pattern(40));
        for (const char* name : {"doc.txt", "$doc.txt"})
            EXPECT_EQ(static_cast<unsigned>(std::filesystem::status(dir.Path(name)).permissions()), mode) << name;
    }
}
#endif

#ifdef _WIN32
// Windows does not let a file of normal attributes replace a hidden one; a
// viewing copy still awaiting its wipe keeps its name until then.
TEST_F(FileCipherTest, OpenModeRefusesToReplaceAViewingCopyAwaitingItsWipe) {
    dir.Write("$doc.txt", Cipher(Pattern(50), "doc.txt", "secret"));
    dir.Write("_Brindlock.txt", Pattern(7));
    ASSERT_TRUE(files.SetAttributes(dir.Path("_Brindlock.txt"), kFileAttributeHidden | kFileAttributeTemporary));
    ctx.OpenMode = true;
    ctx.TempCopyPath = dir.Path("_Brindlock.txt");
    EXPECT_FALSE(DecryptOneFile(ctx, dir.Path("$doc.txt"), 0, nullptr));
    EXPECT_EQ(dir.Read("_Brindlock.txt"), Pattern(7));
    EXPECT_EQ(dir.List(), (std::set<std::string>{"$doc.txt", "_Brindlock.txt"}));
}

// Share modes are real only on Windows.
TEST_F(FileCipherTest, SourceOpenForWritingElsewhereFails) {
    dir.Write("a.txt", Pattern(10));
    FileHandle writer = NativeFileSystem().OpenExclusive(dir.Path("a.txt"));
    ASSERT_TRUE(writer);
    EXPECT_FALSE(EncryptOneFile(ctx, dir.Path("a.txt"), 0, nullptr));
    EXPECT_EQ(dir.List(), std::set<std::string>{"a.txt"});
}

TEST_F(FileCipherTest, SourceOpenForReadingElsewhereIsFine) {
    dir.Write("a.txt", Pattern(10));
    FileHandle reader = NativeFileSystem().OpenRead(dir.Path("a.txt"));
    ASSERT_TRUE(reader);
    EXPECT_TRUE(EncryptOneFile(ctx, dir.Path("a.txt"), 0, nullptr)) << ctx.FailureReason;
}

TEST_F(FileCipherTest, ReadOnlyOrBusyDestinationStaysAsItWas) {
    dir.Write("$a.txt", Pattern(10));
    dir.Write("a.txt", Pattern(3, 4));
    ASSERT_TRUE(files.SetAttributes(dir.Path("a.txt"), kFileAttributeReadOnly));
    EXPECT_FALSE(DecryptOneFile(ctx, dir.Path("$a.txt"), 0, nullptr));
    EXPECT_EQ(dir.Read("a.txt"), Pattern(3, 4));
    ASSERT_TRUE(files.SetAttributes(dir.Path("a.txt"), kFileAttributeNormal));
    {
        FileHandle other = NativeFileSystem().OpenRead(dir.Path("a.txt"));
        ASSERT_TRUE(other);
        EXPECT_FALSE(DecryptOneFile(ctx, dir.Path("$a.txt"), 0, nullptr));
        EXPECT_EQ(dir.Read("a.txt"), Pattern(3, 4));
    }
    EXPECT_EQ(dir.List(), (std::set<std::string>{"a.txt", "$a.txt"}));
}
#endif

// ---- path names

TEST(PathNames, NameAndFolder) {
    struct Case {
        std::string path, name, folder;
    };
    const std::string s(1, kPathSeparator);
    std::vector<Case> cases = {
        {"docs" + s + "a.txt", "a.txt", "docs" + s},
        {"docs" + s, "", "docs" + s},
        {"a.txt", "a.txt", ""},
        {"", "", ""},
        {s + "x" + s + "$a.txt", "$a.txt", s + "x" + s},
    };
#ifdef _WIN32
    cases.push_back({"C:a.txt", "a.txt", "C:"});
    cases.push_back({"C:\\docs\\a.txt", "a.txt", "C:\\docs\\"});
    cases.push_back({"C:\\docs/a.txt", "docs/a.txt", "C:\\"});
#else
    cases.push_back({"/docs/a\\b:c.txt", "a\\b:c.txt", "/docs/"});
#endif
    for (const Case& c : cases) {
        EXPECT_EQ(NameOfPath(c.path), c.name) << c.path;
        EXPECT_EQ(FolderOfPath(c.path), c.folder) << c.path;
    }
}

TEST(ProgressScale, ExactBelowTwoGibibytesScaledAbove) {
    const ProgressScale exact(INT32_MAX);
    EXPECT_EQ(exact.Total(), INT32_MAX);
    EXPECT_EQ(exact.Of(12345), 12345);
    for (const int64_t total : {int64_t{INT32_MAX} + 1, int64_t{5} * 2362232012, int64_t{1} << 40}) {
        const ProgressScale scale(total);
        EXPECT_GT(scale.Total(), INT32_MAX / 2) << total;
        EXPECT_EQ(scale.Of(total), scale.Total()) << total;
        EXPECT_EQ(scale.Of(0), 0);
        int32_t last = 0;
        for (int64_t done = 0; done <= total; done += total / 7 + 1) {
            EXPECT_LE(scale.Of(done), scale.Total());
            EXPECT_GE(scale.Of(done), last);
            last = scale.Of(done);
        }
    }
}

}  // namespace
}  // namespace brindlock::test
