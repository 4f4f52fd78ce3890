// Fault injection over every file-system call the file operations make.
//
// Each scenario first runs once without faults, recording the calls it makes.
// Then it runs again for every recorded call, with that call failing (and
// for reads and writes: returning short; for reads: hitting an early end),
// and once for every "disk full" mark around each write. After each run the
// folder must hold either the finished result or exactly what it held before:
// the source untouched, a destination that stood there before intact, and
// no partial or temporary file.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <functional>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "crypto/aes_ctr.h"
#include "fileops/file_ops.h"
#include "support/faulty_file_system.h"
#include "support/headless_form.h"
#include "support/temp_folder.h"

namespace brindlock::test {
namespace {

enum class Op { Encrypt, Decrypt, DecryptForViewing, Wipe };

struct Scenario {
    const char* label;
    Op op;
    std::size_t size;        // bytes of the file the operation works on
    int32_t limit;           // encryption and decryption
    bool streamed;           // small stream chunks, so there are many reads and writes
    bool destinationBefore;  // a file already stands at the destination
};

constexpr int32_t kWipePasses = 2;
const char* const kOldDestination = "the destination as it was before";

struct Fault {
    std::string call;  // empty: disk full
    int nth = 0;
    FaultKind kind = FaultKind::Fail;
    int64_t diskFullAt = -1;

    std::string Label() const {
        if (call.empty()) return "disk full after " + std::to_string(diskFullAt) + " bytes";
        const char* kinds[] = {"fails", "short", "ends early"};
        return call + " #" + std::to_string(nth) + " " + kinds[static_cast<int>(kind)];
    }
};

std::string CallName(const std::string& entry) { return entry.substr(0, entry.find(' ')); }

// The faults to inject for a run that made `calls`: each call failing, each
// write and read also short, each read also ending early, and the disk
// filling up at the start, one byte in, halfway and one byte short of the end
// of every write (at every byte of them when `everyDiskByte`).
// `beforeFirstWrite` tells for each fault whether it strikes before a byte
// was written.
void SweepFaults(const std::vector<std::string>& calls, bool everyDiskByte, std::vector<Fault>& faults,
                 std::vector<bool>& beforeFirstWrite) {
    std::vector<int64_t> writeSizes;
    std::map<std::string, int> seen;
    bool wrote = false;
    for (const std::string& entry : calls) {
        const std::string name = CallName(entry);
        const int nth = ++seen[name];
        if (name == "Write") {
            wrote = true;
            writeSizes.push_back(std::stoll(entry.substr(6)));
        }
        faults.push_back({name, nth, FaultKind::Fail});
        beforeFirstWrite.push_back(!wrote || (name == "Write" && nth == 1));
        if (name == "Write" || name == "Read") {
            faults.push_back({name, nth, FaultKind::Short});
            beforeFirstWrite.push_back(!wrote);
        }
        if (name == "Read") {
            faults.push_back({name, nth, FaultKind::End});
            beforeFirstWrite.push_back(!wrote);
        }
    }
    int64_t offset = 0;
    for (const int64_t size : writeSizes) {
        std::set<int64_t> marks = {offset, offset + 1, offset + size / 2, offset + size - 1};
        if (everyDiskByte)
            for (int64_t at = offset; at < offset + size; ++at) marks.insert(at);
        for (const int64_t at : marks) {
            if (at < offset || at >= offset + size) continue;
            Fault fault;
            fault.diskFullAt = at;
            faults.push_back(fault);
            beforeFirstWrite.push_back(at == 0);
        }
        offset += size;
    }
}

Bytes Cipher(Bytes bytes, const std::string& plainName, int32_t limit) {
    uint8_t key[16], counter[16];
    DeriveKeyAndCounter(plainName + "|secret", key, counter);
    const auto n = limit > 0 && static_cast<std::size_t>(limit) <= bytes.size() ? limit
                                                                                   : static_cast<int32_t>(bytes.size());
    CtrTransform(bytes.data(), n, key, counter);
    return bytes;
}

class FaultSweep : public ::testing::TestWithParam<Scenario> {
protected:
    const Scenario& S() const { return GetParam(); }

    std::string SourceName() const { return S().op == Op::Encrypt || S().op == Op::Wipe ? "a.txt" : "$a.txt"; }
    std::string DestinationName() const {
        switch (S().op) {
            case Op::Encrypt: return "$a.txt";
            case Op::Decrypt: return "a.txt";
            case Op::DecryptForViewing: return "_Brindlock.txt";
            case Op::Wipe: return "";
        }
        return "";
    }

    // The folder as the operation finds it.
    void Arrange() {
        for (const auto& entry : std::filesystem::directory_iterator(dir.Path())) std::filesystem::remove(entry.path());
        source = Pattern(S().size, 7);
        dir.Write(SourceName(), source);
        if (S().destinationBefore) dir.Write(DestinationName(), old);
        before = dir.List();
    }

    bool Run(FaultyFileSystem& files, RunTimeRandom& random) {
        FileOpsContext ctx(files);
        ctx.Random = &random;
        ctx.Password = "secret";
        if (S().streamed) {
            ctx.WholeRegionMaxBytes = 0;
            ctx.StreamChunkBytes = 4096;
        }
        const std::string path = dir.Path(SourceName());
        switch (S().op) {
            case Op::Encrypt: return EncryptOneFile(ctx, path, S().limit, nullptr);
            case Op::Decrypt: return DecryptOneFile(ctx, path, S().limit, nullptr);
            case Op::DecryptForViewing:
                ctx.OpenMode = true;
                ctx.TempCopyPath = dir.Path(DestinationName());
                return DecryptOneFile(ctx, path, S().limit, nullptr);
            case Op::Wipe: return SecureWipeFile(ctx, path, kWipePasses, nullptr);
        }
        return false;
    }

    // What the finished result holds.
    // Decryption is the same transform of the "$" file; the key text holds
    // the plain name either way.
    Bytes Result() const { return Cipher(source, "a.txt", S().limit); }

    // The wiped file's bytes after the last pass.
    Bytes LastPass() const {
        const std::size_t extended = S().size + S().size / 10;
        RunTimeRandom fresh;
        for (std::size_t i = 0; i < extended * (kWipePasses - 1); ++i) fresh.Next();
        Bytes bytes(extended);
        for (auto& b : bytes) b = static_cast<uint8_t>(fresh.Next());
        return bytes;
    }

    void CheckCipher(const Fault& fault, bool ok) {
        // Calls whose failure changes nothing the operation promises: the
        // attributes of a viewing copy are a courtesy to Explorer.
        // A short read that reports success is no failure either: a copy
        // that goes on reading from where it got to still gives the result
        // (the checks below hold it to that).
        static const std::set<std::string> kHarmless = {"SetAttributes"};
        const bool shortRead = fault.call == "Read" && fault.kind == FaultKind::Short;
        if (fault.call.empty() || (!kHarmless.count(fault.call) && !shortRead)) {
            EXPECT_FALSE(ok) << "a failure reported as success";
        }
        EXPECT_EQ(dir.Read(SourceName()), source) << "source changed";
        if (ok) {
            std::set<std::string> expected = before;
            expected.insert(DestinationName());
            EXPECT_EQ(dir.List(), expected);
            EXPECT_EQ(dir.Read(DestinationName()), Result());
            return;
        }
        EXPECT_EQ(dir.List(), before) << "partial or temporary file left";
        if (S().destinationBefore) {
            EXPECT_EQ(dir.Read(DestinationName()), old) << "destination not intact";
        }
    }

    void CheckWipe(const Fault& fault, bool ok, bool faultBeforeFirstWrite) {
        const auto left = dir.Read(SourceName());
        if (fault.call == "FileExists") {
            // A file the system cannot see counts as gone: nothing to wipe.
            EXPECT_TRUE(ok);
            EXPECT_EQ(left, source);
            return;
        }
        if (fault.call == "RemoveFile" || fault.call == "Close") {
            // The passes are done. A file still there is overwritten, and
            // its wipe is a failure, as the file was to go; a close that
            // fails may still let the deletion through.
            if (left) {
                EXPECT_FALSE(ok) << "a file left behind reported as wiped";
                EXPECT_TRUE(*left == LastPass()) << "left file not overwritten";
            } else {
                EXPECT_TRUE(ok);
            }
            EXPECT_TRUE(dir.List().size() <= 1);
            return;
        }
        EXPECT_FALSE(ok) << "a failure reported as success";
        ASSERT_TRUE(left.has_value()) << "a failed wipe deleted the file";
        EXPECT_EQ(dir.List(), before) << "stray file left";
        if (faultBeforeFirstWrite) {
            // Perhaps grown by a tenth already, but not a byte overwritten.
            const std::size_t extended = source.size() + source.size() / 10;
            EXPECT_TRUE(left->size() == source.size() || left->size() == extended) << left->size();
            EXPECT_TRUE(Bytes(left->begin(), left->begin() + static_cast<std::ptrdiff_t>(
                                                              std::min(left->size(), source.size()))) == source)
                << "file changed though nothing was written";
        }
    }

    TempFolder dir;
    Bytes source;
    const Bytes old{kOldDestination, kOldDestination + std::char_traits<char>::length(kOldDestination)};
    std::set<std::string> before;
};

TEST_P(FaultSweep, EveryCallFailingLeavesResultOrStateBefore) {
    // The clean run: it must succeed, and its calls are the sweep's targets.
    Arrange();
    std::vector<std::string> calls;
    {
        FaultyFileSystem files(NativeFileSystem());
        RunTimeRandom random;
        ASSERT_TRUE(Run(files, random));
        calls = files.log;
    }
    ASSERT_TRUE(std::any_of(calls.begin(), calls.end(), [](const auto& c) { return CallName(c) == "Write"; }));

    std::vector<Fault> faults;
    std::vector<bool> beforeFirstWrite;
    SweepFaults(calls, /*everyDiskByte=*/false, faults, beforeFirstWrite);

    for (std::size_t i = 0; i < faults.size(); ++i) {
        const Fault& fault = faults[i];
        SCOPED_TRACE(fault.Label());
        Arrange();
        FaultyFileSystem files(NativeFileSystem());
        if (fault.call.empty()) files.FillDiskAt(fault.diskFullAt);
        else files.FailOn(fault.call, fault.nth, fault.kind);
        RunTimeRandom random;
        const bool ok = Run(files, random);
        if (S().op == Op::Wipe) CheckWipe(fault, ok, beforeFirstWrite[i]);
        else CheckCipher(fault, ok);
    }
    std::printf("[ sweep    ] %s: %zu fault cases over %zu calls\n", S().label, faults.size(), calls.size());
}

INSTANTIATE_TEST_SUITE_P(
    Table, FaultSweep,
    ::testing::Values(Scenario{"EncryptWhole", Op::Encrypt, 20000, 0, false, true},
                      Scenario{"EncryptWholeNoDestination", Op::Encrypt, 20000, 0, false, false},
                      Scenario{"EncryptLimitedWithTail", Op::Encrypt, 20000, 10, false, true},
                      Scenario{"EncryptStreamed", Op::Encrypt, 10000, 0, true, true},
                      Scenario{"DecryptWhole", Op::Decrypt, 20000, 0, false, true},
                      Scenario{"DecryptStreamed", Op::Decrypt, 10000, 0, true, false},
                      Scenario{"DecryptForViewing", Op::DecryptForViewing, 9000, 0, false, false},
                      Scenario{"Wipe", Op::Wipe, 10000, 0, false, false}),
    [](const auto& row) { return std::string(row.param.label); });

// The pending-wipe list beside the program, saved and loaded through the same
// sweep. Saving is housekeeping: whatever fails, the program goes on without
// a word, the registry in memory stays as it was, and the list on disk is
// the old one or the complete new one, with no temporary file beside it.
// Loading a list that cannot be read whole leaves the registry empty and the
// timed wiping off rather than half filled.
struct ListScenario {
    const char* label;
    bool load;         // load the list rather than save the registry
    int entries;       // entries in the registry (saving) or in the list (loading)
    bool listBefore;   // a list file stands there before
};

const char* const kOldList = "C:\\old\\_Brindlock.txt|46000.25\r\n";

class ListFileFaultSweep : public ::testing::TestWithParam<ListScenario> {
protected:
    const ListScenario& S() const { return GetParam(); }

    void SetUp() override {
        env.integration.program.Path = dir.Path("Brindlock.exe");
        env.platform.Files = &NativeFileSystem();
        env.Create();
        for (int i = 0; i < S().entries; ++i) {
            registry.push_back({dir.Path("_Brindlock" + std::to_string(i) + ".txt"), 46367.5 + i / 8.0});
        }
    }

    void Arrange() {
        for (const auto& entry : std::filesystem::directory_iterator(dir.Path())) std::filesystem::remove(entry.path());
        if (S().load) {
            dir.Write("Brindlock.del", Bytes(newList.begin(), newList.end()));
        } else if (S().listBefore) {
            dir.Write("Brindlock.del", Bytes(kOldList, kOldList + std::char_traits<char>::length(kOldList)));
        }
        env.form->PendingWipes = S().load ? std::vector<TForm1::TSecureWipeItem>{} : registry;
        env.form->TimerTimoutErase.SetEnabled(false);
        before = dir.List();
    }

    void Run(FaultyFileSystem& files) {
        env.platform.Files = &files;
        if (S().load) env.form->LoadPendingWipes();
        else env.form->SavePendingWipes();
        env.platform.Files = &NativeFileSystem();
    }

    std::string ListText() const {
        const auto bytes = dir.Read("Brindlock.del");
        return bytes ? std::string(bytes->begin(), bytes->end()) : "<none>";
    }

    bool RegistryIs(const std::vector<TForm1::TSecureWipeItem>& expected) const {
        const auto& now = env.form->PendingWipes;
        if (now.size() != expected.size()) return false;
        for (std::size_t i = 0; i < now.size(); ++i)
            if (now[i].Path != expected[i].Path || now[i].DueTime != expected[i].DueTime) return false;
        return true;
    }

    TempFolder dir;
    HeadlessForm env;
    std::vector<TForm1::TSecureWipeItem> registry;
    std::string newList;  // the list a clean save writes
    std::set<std::string> before;
};

TEST_P(ListFileFaultSweep, EveryCallFailingLeavesTheOldListOrTheNewOne) {
    // The list a clean save writes is both what a save must reach and what a
    // load reads.
    if (S().load) {
        env.form->PendingWipes = registry;
        env.form->SavePendingWipes();
        newList = ListText();
        ASSERT_NE(newList, "<none>");
    }
    Arrange();
    std::vector<std::string> calls;
    {
        FaultyFileSystem files(NativeFileSystem());
        Run(files);
        calls = files.log;
    }
    if (S().load) {
        ASSERT_TRUE(RegistryIs(registry));
    } else {
        newList = ListText();
        ASSERT_EQ(newList == "<none>", S().entries == 0);
    }
    std::vector<Fault> faults;
    std::vector<bool> beforeFirstWrite;
    SweepFaults(calls, /*everyDiskByte=*/true, faults, beforeFirstWrite);
    ASSERT_FALSE(faults.empty());

    for (const Fault& fault : faults) {
        SCOPED_TRACE(fault.Label());
        Arrange();
        FaultyFileSystem files(NativeFileSystem());
        if (fault.call.empty()) files.FillDiskAt(fault.diskFullAt);
        else files.FailOn(fault.call, fault.nth, fault.kind);
        Run(files);
        EXPECT_TRUE(env.desktop.Messages.empty() && env.desktop.MessageBoxes.empty()) << "housekeeping spoke up";
        if (S().load) {
            // Only a whole list counts; the file itself is not touched.
            const bool whole = RegistryIs(registry);
            EXPECT_TRUE(whole || env.form->PendingWipes.empty()) << env.form->PendingWipes.size() << " entries";
            // Whole, or there but unread: either way the checks go on, the
            // latter to read it again.
            EXPECT_TRUE(env.form->TimerTimoutErase.Enabled());
            EXPECT_EQ(ListText(), newList);
            EXPECT_EQ(dir.List(), before);
            continue;
        }
        EXPECT_TRUE(RegistryIs(registry)) << "the registry in memory changed";
        const std::string list = ListText();
        const std::string old = S().listBefore ? kOldList : "<none>";
        EXPECT_TRUE(list == old || list == newList) << "partial list: " << testing::PrintToString(list);
        std::set<std::string> names = dir.List();
        names.erase("Brindlock.del");
        EXPECT_TRUE(names.empty()) << "temporary file left: " << *names.begin();
    }
    std::printf("[ sweep    ] %s: %zu fault cases over %zu calls\n", S().label, faults.size(), calls.size());
}

INSTANTIATE_TEST_SUITE_P(
    Table, ListFileFaultSweep,
    ::testing::Values(ListScenario{"SaveOverAnOldList", false, 3, true},
                      ListScenario{"SaveTheFirstList", false, 2, false},
                      ListScenario{"SaveAnEmptyRegistryDeletesTheList", false, 0, true},
                      ListScenario{"LoadTheList", true, 3, true},
                      ListScenario{"LoadAListOfSeveralReads", true, 150, true}),
    [](const auto& row) { return std::string(row.param.label); });

}  // namespace
}  // namespace brindlock::test
