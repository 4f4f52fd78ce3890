// The registry of temporary viewing copies and its list file, on the headless
// desktop's virtual clock with real files in a folder of their own. The
// copies are wiped by the real wipe of the file layer.
#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <set>
#include <string>
#include <vector>

#include "fileops/file_operations.h"
#include "fileops/file_ops.h"
#include "fileops/path_names.h"
#include "platform/file_system.h"
#include "support/existing_files.h"
#include "support/faulty_file_system.h"
#include "support/headless_form.h"
#include "support/scripted_file_operations.h"
#include "support/temp_folder.h"
#include "tempcopies/pending_wipes_file.h"

namespace brindlock::test {
namespace {

constexpr uint64_t kSecond = 1000;
// Noon of 11 December 2026 is day 46367.5.
const TDateTime kNoon = EncodeDateTime(2026, 12, 11, 12, 0, 0, 0);

std::string Text(const Bytes& bytes) { return std::string(bytes.begin(), bytes.end()); }
Bytes BytesOf(const std::string& text) { return Bytes(text.begin(), text.end()); }

// The window's file operations: the file layer's real wipe. Encryption and
// decryption are not needed here.
class RealWipes : public IFileOperations {
public:
    std::vector<std::string> Wiped;  // every wipe asked for, in order
    std::set<std::string> Refused;   // where a held copy cannot be opened (see HoldOpen)

    bool EncryptOneFile(const FileOperationSettings&, const std::string&, int32_t, const ProgressCallback&) override {
        return false;
    }
    bool DecryptOneFile(const FileOperationSettings&, const std::string&, int32_t, const ProgressCallback&) override {
        return false;
    }
    bool SecureWipeFile(const std::string& path, int32_t passes, const ProgressCallback& progress) override {
        Wiped.push_back(path);
        if (BeforeWipe) BeforeWipe(path, progress);
        if (Refused.count(path)) return false;
        return brindlock::SecureWipeFile(context_, path, passes, progress);
    }
    std::function<void(const std::string&, const ProgressCallback&)> BeforeWipe;

private:
    FileOpsContext context_{NativeFileSystem()};
};

class PendingWipesTest : public ::testing::Test {
protected:
    TForm1& Create(char separator = '.', IFileSystem* files = nullptr) {
        env.desktop.Clock.Start = kNoon;
        env.desktop.Locale.Separator = separator;
        env.integration.program.Path = folder.Path("Brindlock.exe");
        env.platform.Files = files != nullptr ? files : &NativeFileSystem();
        TForm1& form = env.Create();
        form.FileOperations = &wipes;
        return form;
    }
    // A viewing copy on disk.
    std::string Copy(const std::string& name) {
        folder.Write(name, Pattern(300));
        return folder.Path(name);
    }
    std::vector<std::string> Registered() const {
        std::vector<std::string> paths;
        for (const auto& item : env.form->PendingWipes) paths.push_back(item.Path);
        return paths;
    }
    std::string ListFile() const {
        auto bytes = folder.Read("Brindlock.del");
        return bytes ? Text(*bytes) : "<none>";
    }
    // Keeps the copy open the way a viewing program does, until Release.
    void HoldOpen(const std::string& path) {
#ifdef _WIN32
        held_ = NativeFileSystem().OpenRead(path);
        ASSERT_TRUE(held_);
#else
        // POSIX has no share modes that would keep the wipe out: the copy
        // refuses the wipe the way Windows refuses an exclusive open.
        wipes.Refused.insert(path);
#endif
    }
    void Release(const std::string& path) {
        held_.reset();
        wipes.Refused.erase(path);
    }
    void AdvanceTo(uint64_t ms) { env.desktop.AdvanceTo(ms); }

    TempFolder folder;
    HeadlessForm env;
    RealWipes wipes;
    FileHandle held_;
};

TEST_F(PendingWipesTest, WipedAtTheFirstTickAtOrAfterThirtySecondsWithoutRestartingTheInterval) {
    TForm1& form = Create();
    const std::string a = Copy("_Brindlock.txt");
    const std::string b = Copy("_Brindlock.pdf");

    form.ScheduleWipe(a);  // due at 30 s; the checks run at 10, 20, 30... s
    EXPECT_EQ(env.desktop.TimeToTick(form.TimerTimoutErase), 10 * kSecond);
    AdvanceTo(4 * kSecond);
    form.ScheduleWipe(b);  // due at 34 s
    EXPECT_EQ(env.desktop.TimeToTick(form.TimerTimoutErase), 6 * kSecond) << "scheduling restarted the interval";

    AdvanceTo(30 * kSecond - 1);
    EXPECT_TRUE(folder.Exists("_Brindlock.txt"));
    AdvanceTo(30 * kSecond);
    EXPECT_FALSE(folder.Exists("_Brindlock.txt"));
    EXPECT_TRUE(folder.Exists("_Brindlock.pdf"));
    EXPECT_EQ(Registered(), std::vector<std::string>{b});

    AdvanceTo(40 * kSecond - 1);
    EXPECT_TRUE(folder.Exists("_Brindlock.pdf"));
    AdvanceTo(40 * kSecond);
    EXPECT_FALSE(folder.Exists("_Brindlock.pdf"));
    EXPECT_TRUE(form.PendingWipes.empty());
    EXPECT_FALSE(form.TimerTimoutErase.Enabled());
    EXPECT_FALSE(folder.Exists("Brindlock.del"));
    EXPECT_EQ(wipes.Wiped, (std::vector<std::string>{a, b}));
}

TEST_F(PendingWipesTest, SamePathInOtherLetterCaseKeepsOneEntryWithTheFirstSpellingAndTheSecondTime) {
    TForm1& form = Create();
    const std::string copy = Copy("_Brindlock.TXT");
    const std::string otherCase = folder.Path("_bRINDLOCK.txt");

    form.ScheduleWipe(copy);
    AdvanceTo(5 * kSecond);
    form.ScheduleWipe(otherCase);

    ASSERT_EQ(Registered(), std::vector<std::string>{copy});
    EXPECT_DOUBLE_EQ(form.PendingWipes[0].DueTime, kNoon + 35.0 / 86400);
    AdvanceTo(30 * kSecond);
    EXPECT_TRUE(folder.Exists("_Brindlock.TXT")) << "wiped at the first due time, not the renewed one";
    AdvanceTo(40 * kSecond);
    EXPECT_FALSE(folder.Exists("_Brindlock.TXT"));
}

TEST_F(PendingWipesTest, TheListFileIsExactlyPathBarNumberCrLf) {
    struct Case {
        char separator;
        const char* expected;  // with "{A}" and "{B}" for the copies' paths
    };
    const Case cases[] = {
        {'.', "{A}|46367.5\r\n{B}|46367.5003472222\r\n"},
        {',', "{A}|46367,5\r\n{B}|46367,5003472222\r\n"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.separator);
        TempFolder own;
        HeadlessForm local;
        local.desktop.Clock.Start = kNoon - 30.0 / 86400;  // due exactly at noon
        local.desktop.Locale.Separator = c.separator;
        local.integration.program.Path = own.Path("Brindlock.exe");
        local.platform.Files = &NativeFileSystem();
        TForm1& form = local.Create();
        const std::string a = own.Path("_Brindlock.txt");
        const std::string b = own.Path("sub _Brindlock.doc");

        form.ScheduleWipe(a);
        local.desktop.AdvanceTo(30 * kSecond - 1);  // no tick has found anything due yet
        form.PendingWipes.push_back({b, EncodeDateTime(2026, 12, 11, 12, 0, 30, 0)});
        form.SavePendingWipes();

        std::string expected = c.expected;
        expected.replace(expected.find("{A}"), 3, a);
        expected.replace(expected.find("{B}"), 3, b);
        ASSERT_EQ(Text(*own.Read("Brindlock.del")), expected);
    }
}

TEST_F(PendingWipesTest, ATickWithNothingDueRewritesTheFileUnchanged) {
    TForm1& form = Create();
    form.ScheduleWipe(Copy("_Brindlock.txt"));
    const std::string written = ListFile();
    ASSERT_NE(written, "<none>");
    // Taken away behind the program's back: only a rewrite brings it back.
    ASSERT_TRUE(NativeFileSystem().RemoveFile(folder.Path("Brindlock.del")));

    AdvanceTo(10 * kSecond);
    EXPECT_EQ(ListFile(), written);
    EXPECT_TRUE(folder.Exists("_Brindlock.txt"));
}

TEST_F(PendingWipesTest, AListWrittenUnderAPointAndReadUnderACommaMakesEveryEntryDueAtOnce) {
    for (char separator : {'.', ','}) {
        SCOPED_TRACE(separator);
        TempFolder own;
        own.Write("_Brindlock.txt", Pattern(10));
        own.Write("_Brindlock.pdf", Pattern(10));
        // Both due an hour after the virtual clock's start.
        own.Write("Brindlock.del", BytesOf(own.Path("_Brindlock.txt") + "|46367.5416666667\r\n" +
                                           own.Path("_Brindlock.pdf") + "|46367.5416666667\r\n"));
        HeadlessForm local;
        local.desktop.Clock.Start = kNoon;
        local.desktop.Locale.Separator = separator;
        local.integration.program.Path = own.Path("Brindlock.exe");
        local.platform.Files = &NativeFileSystem();
        TForm1& form = local.Create();
        RealWipes localWipes;
        form.FileOperations = &localWipes;
        ASSERT_EQ(form.PendingWipes.size(), 2u);
        EXPECT_TRUE(form.TimerTimoutErase.Enabled());

        local.desktop.AdvanceTo(10 * kSecond);
        const bool readUnderComma = separator == ',';
        EXPECT_EQ(own.Exists("_Brindlock.txt"), !readUnderComma);
        EXPECT_EQ(own.Exists("_Brindlock.pdf"), !readUnderComma);
        EXPECT_EQ(own.Exists("Brindlock.del"), !readUnderComma);
    }
}

// "{D}" stands for a folder in the platform's own spelling, so that the name
// after it is a file name on either platform.
std::string InFolder(std::string text) {
#ifdef _WIN32
    const std::string folder = "C:\\d\\";
#else
    const std::string folder = "/d/";
#endif
    for (size_t at = text.find("{D}"); at != std::string::npos; at = text.find("{D}", at + folder.size()))
        text.replace(at, 3, folder);
    return text;
}

TEST_F(PendingWipesTest, MalformedLinesOfTheListFile) {
    struct Case {
        const char* name;
        std::string file;
        std::vector<std::pair<std::string, double>> entries;  // NAN: due at the moment of loading
    };
    const Case cases[] = {
        {"no bar, empty, bar first", "{D}_Brindlock.txt 46367.5\r\n\r\n|46367.5\r\n", {}},
        {"spaces of the path kept", "{D}_Brindlock b.txt  |46367.5\r\n", {{"{D}_Brindlock b.txt  ", 46367.5}}},
        {"spaces around the number", "{D}_Brindlock.txt| 46367.25 \r\n", {{"{D}_Brindlock.txt", 46367.25}}},
        {"second bar: due at once", "{D}_Brindlock.txt|46367.5|x\r\n", {{"{D}_Brindlock.txt", NAN}}},
        {"not a number: due at once",
         "{D}_Brindlock.txt|soon\r\n{D}_Brindlock.pdf|\r\n",
         {{"{D}_Brindlock.txt", NAN}, {"{D}_Brindlock.pdf", NAN}}},
        {"lone CR and LF end lines, last line without a break",
         "{D}_Brindlock.a|1\r{D}_Brindlock.b|2\n{D}_Brindlock.c|3",
         {{"{D}_Brindlock.a", 1}, {"{D}_Brindlock.b", 2}, {"{D}_Brindlock.c", 3}}},
        {"same path twice gives two entries",
         "{D}_Brindlock.txt|1\r\n{D}_bRINDLOCK.TXT|2\r\n",
         {{"{D}_Brindlock.txt", 1}, {"{D}_bRINDLOCK.TXT", 2}}},
        {"empty file", "", {}},
        // Only the program's own viewing copies are ever listed; any other
        // file named there would be erased at start-up.
        {"other files are not taken",
         "{D}thesis.docx|0\r\n{D}_Brindlock{D}thesis.docx|0\r\n{D}x_Brindlock.txt|0\r\n{D}_Brindloc|0\r\n"
         "{D}_BRINDLOCK|1\r\n{D}_brindlock.pdf.exe|2\r\n",
         {{"{D}_BRINDLOCK", 1}, {"{D}_brindlock.pdf.exe", 2}}},
        // A copy's name with a folder delimiter in it, a ".." part, or a path
        // that depends on the current folder can name any other file.
        {"names that lead elsewhere are not taken",
         "{D}_Brindlock/../thesis.docx|0\r\n{D}_Brindlock\\..\\thesis.docx|0\r\n"
         "{D}..\\_Brindlock.txt|0\r\n{D}../_Brindlock.txt|0\r\n_Brindlock.txt|0\r\nC:_Brindlock.txt|0\r\n"
         "  {D}_Brindlock.txt|0\r\n{D}_Brindlock.doc|3\r\n",
         {{"{D}_Brindlock.doc", 3}}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        TempFolder own;
        own.Write("Brindlock.del", BytesOf(InFolder(c.file)));
        HeadlessForm local;
        local.desktop.Clock.Start = kNoon;
        local.integration.program.Path = own.Path("Brindlock.exe");
        local.platform.Files = &NativeFileSystem();
        local.desktop.AdvanceTo(1234);  // "at once" is the moment of loading, not the clock's start
        TForm1& form = local.Create();

        ASSERT_EQ(form.PendingWipes.size(), c.entries.size());
        for (size_t i = 0; i < c.entries.size(); ++i) {
            EXPECT_EQ(form.PendingWipes[i].Path, InFolder(c.entries[i].first));
            const double due = std::isnan(c.entries[i].second) ? kNoon + 1234 / 86400000.0 : c.entries[i].second;
            EXPECT_DOUBLE_EQ(form.PendingWipes[i].DueTime, due) << i;
        }
        EXPECT_EQ(form.TimerTimoutErase.Enabled(), !c.entries.empty());
        EXPECT_TRUE(own.Exists("Brindlock.del")) << "loading never rewrites or deletes the list";
    }
}

// A planted line is not only left out of the registry: the file it names is
// still there after the first check, and the list is written without it.
TEST_F(PendingWipesTest, AListedFileThatIsNoViewingCopyIsLeftAlone) {
    folder.Write("thesis.docx", Pattern(300));
    const std::string copy = Copy("_Brindlock.txt");
    folder.Write("Brindlock.del", BytesOf(folder.Path("thesis.docx") + "|0\r\n" + copy + "|0\r\n"));
    Create();
    ASSERT_EQ(Registered(), std::vector<std::string>{copy});
    AdvanceTo(10 * kSecond);
    EXPECT_TRUE(folder.Exists("thesis.docx"));
    EXPECT_FALSE(folder.Exists("_Brindlock.txt"));
    EXPECT_EQ(wipes.Wiped, std::vector<std::string>{copy});
    EXPECT_FALSE(folder.Exists("Brindlock.del"));
}

TEST_F(PendingWipesTest, ACopyHeldOpenStaysRegisteredAndIsWipedOnceReleased) {
    TForm1& form = Create();
    const std::string copy = Copy("_Brindlock.txt");
    form.ScheduleWipe(copy);
    HoldOpen(copy);

    AdvanceTo(30 * kSecond);
    EXPECT_TRUE(folder.Exists("_Brindlock.txt"));
    EXPECT_EQ(Registered(), std::vector<std::string>{copy});
    EXPECT_NE(ListFile().find(copy + "|"), std::string::npos) << ListFile();
    EXPECT_TRUE(form.TimerTimoutErase.Enabled());

    AdvanceTo(40 * kSecond);  // tried again, still held
    EXPECT_EQ(wipes.Wiped.size(), 2u);
    EXPECT_TRUE(folder.Exists("_Brindlock.txt"));

    Release(copy);
    AdvanceTo(50 * kSecond);
    EXPECT_FALSE(folder.Exists("_Brindlock.txt"));
    EXPECT_TRUE(form.PendingWipes.empty());
    EXPECT_FALSE(folder.Exists("Brindlock.del"));
    EXPECT_FALSE(form.TimerTimoutErase.Enabled());
}

TEST_F(PendingWipesTest, AFailedWipeOfACopyThatIsGoneDropsIt) {
    TForm1& form = Create();
    const std::string copy = folder.Path("_Brindlock.txt");  // never created, or deleted by hand
    wipes.Refused.insert(copy);
    form.ScheduleWipe(copy);
    AdvanceTo(30 * kSecond);
    EXPECT_TRUE(form.PendingWipes.empty());
    EXPECT_FALSE(folder.Exists("Brindlock.del"));
}

TEST_F(PendingWipesTest, CopiesPendingAtTerminationAreWipedTenSecondsAfterTheNextStart) {
    const std::string copy = Copy("_Brindlock.txt");
    {
        TForm1& form = Create();
        form.ScheduleWipe(copy);
        env.form.reset();  // Terminate: nothing is wiped at the end
    }
    EXPECT_TRUE(folder.Exists("_Brindlock.txt"));
    EXPECT_TRUE(folder.Exists("Brindlock.del"));

    HeadlessForm next;
    next.desktop.Clock.Start = kNoon + 1;  // a day later
    next.integration.program.Path = folder.Path("Brindlock.exe");
    next.platform.Files = &NativeFileSystem();
    TForm1& form = next.Create();
    form.FileOperations = &wipes;
    ASSERT_EQ(form.PendingWipes.size(), 1u);
    next.desktop.AdvanceTo(10 * kSecond - 1);
    EXPECT_TRUE(folder.Exists("_Brindlock.txt"));
    next.desktop.AdvanceTo(10 * kSecond);
    EXPECT_FALSE(folder.Exists("_Brindlock.txt"));
    EXPECT_FALSE(folder.Exists("Brindlock.del"));
    EXPECT_TRUE(next.desktop.Messages.empty());
}

TEST_F(PendingWipesTest, WipeTempWithNothingQueuedSaysSo) {
    TForm1& form = Create();
    form.WipeTemp1.Click();
    form.ButtonLogout.Click();
    EXPECT_EQ(env.desktop.Messages,
              (std::vector<std::string>{"No temporary files queued.", "No temporary files queued."}));
    EXPECT_EQ(form.JobCount, 0);
}

TEST_F(PendingWipesTest, WipeTempTurnsTheCopiesIntoAWipeJobThatEmptiesTheRegistryAsItWipes) {
    TForm1& form = Create();
    const std::string a = Copy("_Brindlock.txt");
    const std::string gone = folder.Path("_Brindlock.pdf");  // deleted by hand meanwhile
    form.ScheduleWipe(a);
    form.ScheduleWipe(gone);

    form.WipeTemp1.Click();
    EXPECT_EQ(form.JobFiles, (std::vector<std::string>{a, gone}));
    EXPECT_EQ(form.JobMode, -1);
    EXPECT_TRUE(form.PanelProgress.Visible());
    EXPECT_EQ(Registered(), (std::vector<std::string>{a, gone})) << "registered until actually wiped";
    EXPECT_TRUE(folder.Exists("Brindlock.del"));

    AdvanceTo(2 * kSecond);
    EXPECT_FALSE(folder.Exists("_Brindlock.txt"));
    EXPECT_EQ(wipes.Wiped, (std::vector<std::string>{a, gone}));
    EXPECT_TRUE(form.PendingWipes.empty());
    EXPECT_FALSE(form.TimerTimoutErase.Enabled());
    EXPECT_FALSE(folder.Exists("Brindlock.del"));
    EXPECT_TRUE(env.desktop.Messages.empty());
}

// A copy the Wipe Temp job cannot wipe must not be forgotten: otherwise the
// plaintext stays on disk, listed nowhere, even after a restart.
TEST_F(PendingWipesTest, WipeTempKeepsTheCopiesItDidNotWipeRegisteredForTheTimedWipe) {
    struct Case {
        const char* name;
        bool holdSecond;     // the viewer still holds the second copy open
        bool abortAtSecond;  // the user aborts while the second copy is wiped
        std::vector<std::string> left;  // names still registered after the job
    };
    const Case cases[] = {
        {"held open", true, false, {"_Brindlock.doc"}},
        {"aborted", false, true, {"_Brindlock.doc", "_Brindlock.pdf"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        TempFolder own;
        HeadlessForm local;
        local.desktop.Clock.Start = kNoon;
        local.integration.program.Path = own.Path("Brindlock.exe");
        local.platform.Files = &NativeFileSystem();
        TForm1& form = local.Create();
        RealWipes localWipes;
        form.FileOperations = &localWipes;
        std::vector<std::string> copies;
        for (const char* name : {"_Brindlock.txt", "_Brindlock.doc", "_Brindlock.pdf"}) {
            own.Write(name, Pattern(300));
            copies.push_back(own.Path(name));
            form.ScheduleWipe(copies.back());
        }
        FileHandle held;
        if (c.holdSecond) {
#ifdef _WIN32
            held = NativeFileSystem().OpenRead(copies[1]);
            ASSERT_TRUE(held);
#else
            localWipes.Refused.insert(copies[1]);
#endif
        }
        if (c.abortAtSecond) {
            localWipes.BeforeWipe = [&](const std::string& path, const ProgressCallback&) {
                if (path == copies[1]) form.ButtonAbort.Click();
            };
        }

        form.WipeTemp1.Click();
        local.desktop.AdvanceTo(2 * kSecond);
        std::vector<std::string> left;
        for (const auto& item : form.PendingWipes) left.push_back(NameOfPath(item.Path));
        EXPECT_EQ(left, c.left);
        const std::string list = own.Read("Brindlock.del") ? Text(*own.Read("Brindlock.del")) : "";
        for (const std::string& name : c.left) EXPECT_NE(list.find(own.Path(name) + "|"), std::string::npos) << list;
        EXPECT_TRUE(form.TimerTimoutErase.Enabled());

        // Once let go, the timed wipe takes what is left at its due time.
        held.reset();
        localWipes.Refused.clear();
        localWipes.BeforeWipe = nullptr;
        local.desktop.AdvanceTo(30 * kSecond);
        for (const std::string& copy : copies) EXPECT_FALSE(NativeFileSystem().FileExists(copy)) << copy;
        EXPECT_TRUE(form.PendingWipes.empty());
        EXPECT_FALSE(own.Exists("Brindlock.del"));
        EXPECT_FALSE(form.TimerTimoutErase.Enabled());
    }
}

// The timed wipe can tick inside a progress report of the Wipe Temp job. The
// copy the job is wiping is held by it and stays registered there; another
// due copy is wiped by the tick, and the job then finds it gone.
TEST_F(PendingWipesTest, ATimedWipeInsideTheWipeTempJobLeavesTheJobsCopyToTheJob) {
    TForm1& form = Create();
    const std::string a = Copy("_Brindlock.txt");
    const std::string b = Copy("_Brindlock.pdf");
    form.ScheduleWipe(a);
    form.ScheduleWipe(b);
    AdvanceTo(25 * kSecond);

    std::string heldByJob;
    std::vector<std::string> registeredAfterTick;
    wipes.BeforeWipe = [&](const std::string& path, const ProgressCallback& progress) {
        if (!progress) {
#ifndef _WIN32
            // POSIX has no exclusive open; refuse the way Windows does.
            if (path == heldByJob) wipes.Refused.insert(path);
#endif
            return;
        }
        if (path != a) return;
        heldByJob = path;
        // The job's first report lets the tick due at 30 s run.
        env.desktop.OnProcessMessages = [&] {
            env.desktop.OnProcessMessages = nullptr;
            AdvanceTo(30 * kSecond);
            registeredAfterTick = Registered();
        };
    };
    form.WipeTemp1.Click();
    AdvanceTo(31 * kSecond);

    EXPECT_EQ(registeredAfterTick, std::vector<std::string>{a}) << "the tick wiped b and kept the job's copy";
    EXPECT_EQ(wipes.Wiped, (std::vector<std::string>{a, b, a, b}));
    EXPECT_FALSE(folder.Exists("_Brindlock.txt"));
    EXPECT_FALSE(folder.Exists("_Brindlock.pdf"));
    EXPECT_TRUE(form.PendingWipes.empty());
    EXPECT_FALSE(folder.Exists("Brindlock.del"));
    EXPECT_FALSE(form.TimerTimoutErase.Enabled());
}

TEST_F(PendingWipesTest, WipeTempDuringAFileOperationWaitsForItToReturn) {
    TForm1& form = Create();
    const std::string copy = Copy("_Brindlock.txt");
    const std::string erased = Copy("erase me.bin");
    form.ScheduleWipe(copy);
    std::vector<std::string> queueInside;
    wipes.BeforeWipe = [&](const std::string& path, const ProgressCallback& progress) {
        if (path != erased) return;
        env.desktop.Post([&] { form.WipeTemp1.Click(); });
        progress(0, 100);  // the progress report lets the click run
        queueInside = form.JobFiles;
    };
    env.desktop.DialogAnswers.push_back(std::vector<std::string>{erased});
    form.ButtonErase.Click();

    AdvanceTo(1 * kSecond);
    EXPECT_EQ(queueInside, std::vector<std::string>{erased}) << "the queue was replaced under the running wipe";
    EXPECT_FALSE(folder.Exists("erase me.bin"));
    AdvanceTo(3 * kSecond);
    EXPECT_FALSE(folder.Exists("_Brindlock.txt"));
    EXPECT_EQ(wipes.Wiped, (std::vector<std::string>{erased, copy}));
}

// Wipe Temp in the middle of a job of several files. Windows paths on a file
// layer that only knows which files exist, so the files are admitted as the
// running program admits them; the operations are scripted.
struct JobWithACopy {
    const std::string copy = "C:\\docs\\_Brindlock.txt";
    const std::vector<std::string> files = {"C:\\docs\\one.bin", "C:\\docs\\two.bin", "C:\\docs\\three.bin"};
    HeadlessForm local;
    ExistingFiles existing;
    ScriptedFileOperations operations;
    TForm1& form;

    JobWithACopy() : form(Create()) {}
    TForm1& Create() {
        existing.Files = {copy, files[0], files[1], files[2]};
        local.platform.Files = &existing;
        TForm1& created = local.Create();
        created.FileOperations = &operations;
        created.Password = "pw";
        created.ScheduleWipe(copy);
        return created;
    }
    // Chooses the files with `button`; Wipe Temp is clicked inside the first.
    void RunWithWipeTempInside(TSpeedButton& button) {
        local.desktop.DialogAnswers.push_back(files);
        button.Click();
        local.desktop.AdvanceTo(3000);
    }
};

TEST(WipeTempDuringAJob, TheJobKeepsTheRestOfItsFilesAndTheCopiesFollow) {
    using Kind = ScriptedFileOperations::Kind;
    struct Case {
        const char* name;
        TSpeedButton TForm1::*button;
        Kind kind;
    };
    const Case cases[] = {
        {"erase job", &TForm1::ButtonErase, Kind::Wipe},
        {"encrypt job", &TForm1::ButtonEncrypt, Kind::Encrypt},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        JobWithACopy job;
        job.operations.BeforeReport = [&](const std::string& path, int index) {
            if (path == job.files[0] && index == 0) job.local.desktop.Post([&] { job.form.WipeTemp1.Click(); });
        };
        job.RunWithWipeTempInside(job.form.*c.button);

        ASSERT_EQ(job.operations.Calls.size(), 4u) << "the rest of the job was dropped";
        for (size_t i = 0; i < 3; ++i) {
            EXPECT_EQ(job.operations.Calls[i].path, job.files[i]);
            EXPECT_EQ(job.operations.Calls[i].kind, c.kind);
        }
        EXPECT_EQ(job.operations.Calls[3].path, job.copy);
        EXPECT_EQ(job.operations.Calls[3].kind, Kind::Wipe);
        EXPECT_TRUE(job.form.PendingWipes.empty());
    }
}

// An abort of that job drops what waited to follow it, the wipe too; the
// copies are still registered, so the timed wipe takes them.
TEST(WipeTempDuringAJob, AnAbortDropsTheWipeButNotTheCopies) {
    JobWithACopy job;
    job.operations.BeforeReport = [&](const std::string& path, int index) {
        if (path == job.files[0] && index == 0) job.local.desktop.Post([&] { job.form.WipeTemp1.Click(); });
        if (path == job.files[1] && index == 0) job.form.ButtonAbort.Click();
    };
    job.RunWithWipeTempInside(job.form.ButtonErase);

    EXPECT_EQ(job.operations.Paths(), (std::vector<std::string>{job.files[0], job.files[1]}));
    ASSERT_EQ(job.form.PendingWipes.size(), 1u);
    EXPECT_EQ(job.form.PendingWipes[0].Path, job.copy);
    EXPECT_TRUE(job.form.TimerTimoutErase.Enabled());
    job.local.desktop.AdvanceTo(30000);
    EXPECT_EQ(job.operations.Paths().back(), job.copy);
}

// Clear Session in the last file of a job, then a command that needs a
// password: the wipe the user asked for first goes first, and does not wait
// behind a password panel that the cleared session has just put up.
TEST(WipeTempDuringAJob, ClearSessionKeepsItsPlaceAheadOfALaterCommand) {
    JobWithACopy job;
    const std::string encrypted = "C:\\docs\\$one.bin";
    job.existing.Files.insert(encrypted);
    job.operations.BeforeReport = [&](const std::string& path, int index) {
        if (path != job.files[2] || index != 0) return;
        job.local.desktop.Post([&] { job.form.ButtonLogout.Click(); });
        job.local.desktop.Post([&] { job.form.AcceptCommand('D', {encrypted}); });
    };
    job.RunWithWipeTempInside(job.form.ButtonEncrypt);

    ASSERT_EQ(job.operations.Calls.size(), 4u);
    EXPECT_EQ(job.operations.Calls[3].path, job.copy);
    EXPECT_EQ(job.operations.Calls[3].kind, ScriptedFileOperations::Kind::Wipe);
    EXPECT_TRUE(job.form.PendingWipes.empty());
    // The decryption then waits for the password it needs.
    EXPECT_EQ(job.form.JobFiles, std::vector<std::string>{encrypted});
    EXPECT_TRUE(job.form.PanelPwd.Visible());
}

// A command waiting for the job to end, and two Wipe Temp clicks held back in
// the last file. The first "No temporary files queued." box stays up long
// enough for the job's close to come while the second click is still held;
// the waiting command must still start once the clicks are done.
TEST(WipeTempDuringAJob, ACommandWaitingBehindTheJobStartsAfterHeldMessageBoxes) {
    JobWithACopy job;
    job.form.ForgetPendingWipe(job.copy);
    const std::string encrypted = "C:\\docs\\$one.bin";
    job.existing.Files.insert(encrypted);
    job.operations.BeforeReport = [&](const std::string& path, int index) {
        if (path != job.files[2] || index != 0) return;
        job.local.desktop.Post([&] { job.form.AcceptCommand('D', {encrypted}); });
        job.local.desktop.Post([&] { job.form.WipeTemp1.Click(); });
        job.local.desktop.Post([&] { job.form.WipeTemp1.Click(); });
    };
    job.local.desktop.OnModalBox = [&] { job.local.desktop.AdvanceBy(100); };
    job.RunWithWipeTempInside(job.form.ButtonEncrypt);

    EXPECT_EQ(job.local.desktop.Messages.size(), 2u);
    EXPECT_TRUE(job.form.FollowUpCommands.Empty()) << "the command was left waiting";
    ASSERT_EQ(job.operations.Calls.size(), 4u);
    EXPECT_EQ(job.operations.Calls[3].path, encrypted);
    EXPECT_EQ(job.operations.Calls[3].kind, ScriptedFileOperations::Kind::Decrypt);
}

// The real file system, with the list file held by another program (a
// backup or sync tool) for as long as `Held` is set.
class ListHeldElsewhere : public FaultyFileSystem {
public:
    using FaultyFileSystem::FaultyFileSystem;
    bool Held = true;
    FileHandle OpenRead(const std::string& path) override {
        if (Held && NameOfPath(path) == "Brindlock.del") return nullptr;
        return FaultyFileSystem::OpenRead(path);
    }
};

// A list that cannot be read at start-up still holds the last session's
// copies: a copy registered meanwhile must not write over it, and once it
// can be read its copies are taken in and wiped.
TEST_F(PendingWipesTest, AListUnreadableAtStartUpIsNotWrittenOverAndIsTakenInLater) {
    const std::string earlier = Copy("_Brindlock.pdf");
    const std::string listed = earlier + "|46367\r\n";  // long due
    folder.Write("Brindlock.del", BytesOf(listed));
    ListHeldElsewhere files(NativeFileSystem());
    TForm1& form = Create('.', &files);
    EXPECT_TRUE(form.PendingWipes.empty());

    const std::string fresh = Copy("_Brindlock.txt");
    form.ScheduleWipe(fresh);
    EXPECT_EQ(ListFile(), listed) << "the unread list was written over";

    files.Held = false;
    AdvanceTo(10 * kSecond);  // the next check reads it
    EXPECT_FALSE(folder.Exists("_Brindlock.pdf")) << "the earlier session's copy was not wiped";
    EXPECT_EQ(Registered(), std::vector<std::string>{fresh});
    AdvanceTo(40 * kSecond);
    EXPECT_FALSE(folder.Exists("_Brindlock.txt"));
    EXPECT_FALSE(folder.Exists("Brindlock.del"));
}

// Without a registration, the checks keep trying the list until it reads.
TEST_F(PendingWipesTest, AListUnreadableAtStartUpIsTriedAgainAtEveryCheck) {
    const std::string earlier = Copy("_Brindlock.pdf");
    folder.Write("Brindlock.del", BytesOf(earlier + "|46367\r\n"));
    ListHeldElsewhere files(NativeFileSystem());
    TForm1& form = Create('.', &files);
    AdvanceTo(30 * kSecond);
    EXPECT_TRUE(folder.Exists("_Brindlock.pdf"));
    EXPECT_TRUE(form.TimerTimoutErase.Enabled());
    files.Held = false;
    AdvanceTo(40 * kSecond);
    EXPECT_FALSE(folder.Exists("_Brindlock.pdf"));
    EXPECT_FALSE(folder.Exists("Brindlock.del"));
}

TEST_F(PendingWipesTest, AListFileThatCannotBeWrittenLeavesTheRegistryAsItIs) {
    env.desktop.Clock.Start = kNoon;
    env.integration.program.Path = folder.Path("no such folder/Brindlock.exe");
    env.platform.Files = &NativeFileSystem();
    TForm1& form = env.Create();
    form.FileOperations = &wipes;
    const std::string copy = Copy("_Brindlock.txt");
    form.ScheduleWipe(copy);
    EXPECT_EQ(Registered(), std::vector<std::string>{copy});
    AdvanceTo(30 * kSecond);
    EXPECT_FALSE(folder.Exists("_Brindlock.txt"));
}

TEST(PendingWipesFileName, BesideTheProgramFile) {
#ifdef _WIN32
    EXPECT_EQ(PendingWipesFileName("C:\\Program Files\\Brindlock\\Brindlock.exe"),
              "C:\\Program Files\\Brindlock\\Brindlock.del");
    EXPECT_EQ(PendingWipesFileName("C:Brindlock.exe"), "C:Brindlock.del");
#else
    EXPECT_EQ(PendingWipesFileName("/opt/brindlock/Brindlock.exe"), "/opt/brindlock/Brindlock.del");
#endif
    EXPECT_EQ(PendingWipesFileName("Brindlock.exe"), "");
    EXPECT_EQ(PendingWipesFileName(""), "");
}

}  // namespace
}  // namespace brindlock::test
