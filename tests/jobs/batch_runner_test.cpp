#include <climits>
#include <functional>

#include "app/command.h"
#include "fileops/temp_copy_path.h"
#include "jobs/job_fixture.h"
#include "platform/path_delimiters.h"

namespace brindlock::test {
namespace {

using BatchRunner = JobTest;

const std::vector<std::string> kThree = {"one.txt", "two.txt", "three.txt"};

TEST_F(BatchRunner, ProcessesOneFilePerTickInOrderThenHidesTheWindow) {
    form.Password = "pw";
    form.Show();
    Choose(form.ButtonEncrypt, kThree);
    EXPECT_TRUE(form.PanelProgress.Visible());
    EXPECT_FALSE(form.PanelPwd.Visible());

    const std::vector<std::pair<uint64_t, std::size_t>> callsAt = {{199, 0}, {200, 1}, {399, 1}, {400, 2}, {600, 3}};
    for (const auto& [ms, count] : callsAt) {
        desktop.AdvanceTo(ms);
        EXPECT_EQ(files.Calls.size(), count) << "at " << ms << " ms";
    }
    EXPECT_EQ(files.Paths(), kThree);
    for (const auto& call : files.Calls) {
        EXPECT_EQ(call.kind, Kind::Encrypt);
        EXPECT_EQ(call.count, 0);
        EXPECT_EQ(call.settings.Password, "pw");
        EXPECT_FALSE(call.settings.OpenMode);
    }
    // DoneAndClose ran with the third file.
    EXPECT_EQ(form.JobCount, 0);
    EXPECT_EQ(form.JobIndex, 0);
    EXPECT_TRUE(form.ButtonClose.Visible());
    EXPECT_FALSE(form.ButtonAbort.Visible());
    EXPECT_EQ(form.Caption(), "Brindlock");
    EXPECT_EQ(form.JobFiles, kThree);  // entries stay until the next command

    desktop.AdvanceTo(649);
    EXPECT_TRUE(form.Visible());
    desktop.AdvanceTo(650);
    EXPECT_FALSE(form.Visible());
    EXPECT_FALSE(form.PanelProgress.Visible());
    EXPECT_FALSE(desktop.TimerScheduled(form.TimerClose));
    EXPECT_FALSE(desktop.TimerScheduled(form.TimerBatch));
    desktop.AdvanceBy(5000);
    EXPECT_EQ(files.Calls.size(), 3u);
}

TEST_F(BatchRunner, SkipsAFailingFileWithoutAMessage) {
    form.Password = "pw";
    files.Scripts["two.txt"].succeeds = false;
    Choose(form.ButtonEncrypt, kThree);
    desktop.AdvanceTo(400);
    EXPECT_EQ(form.JobIndex, 2);
    EXPECT_EQ(form.JobCount, 3);
    desktop.AdvanceTo(600);
    EXPECT_EQ(files.Paths(), kThree);
    EXPECT_TRUE(desktop.Messages.empty());
    EXPECT_TRUE(desktop.MessageBoxes.empty());
    EXPECT_EQ(form.JobCount, 0);
}

TEST_F(BatchRunner, AbortDuringTheSecondFileStopsTheJobWhereItIs) {
    form.Password = "pw";
    form.Show();
    files.BeforeReport = [&](const std::string& path, int index) {
        if (path == "two.txt" && index == 1) desktop.Post([&] { form.ButtonAbort.Click(); });
    };
    Choose(form.ButtonEncrypt, kThree);
    desktop.AdvanceTo(400);

    EXPECT_EQ(form.JobIndex, 1);
    EXPECT_EQ(form.JobCount, 3);
    EXPECT_TRUE(form.AbortRequested);
    EXPECT_FALSE(form.Visible());
    EXPECT_FALSE(desktop.TimerScheduled(form.TimerClose));
    EXPECT_FALSE(desktop.TimerScheduled(form.TimerBatch));
    desktop.AdvanceBy(10000);
    EXPECT_EQ(files.Paths(), (std::vector<std::string>{"one.txt", "two.txt"}));
    EXPECT_EQ(form.JobIndex, 1);
    EXPECT_TRUE(form.AbortRequested);
    EXPECT_TRUE(form.JobPassword.empty());  // nothing restarts a stopped job
}

// Abort or Escape in the pause between two files: the job stops before the
// next file, as it does when the abort comes during a file, and a new job
// afterwards runs normally.
TEST_F(BatchRunner, AnAbortBetweenTwoFilesStopsTheJobBeforeTheNextFile) {
    struct Case {
        const char* name;
        TSpeedButton TForm1::*button;
        Kind kind;
    };
    const Case cases[] = {
        {"encrypt", &TForm1::ButtonEncrypt, Kind::Encrypt},
        {"decrypt", &TForm1::ButtonDecrypt, Kind::Decrypt},
        {"erase", &TForm1::ButtonErase, Kind::Wipe},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        JobEnv t;
        t.form.Password = "pw";
        t.form.Show();
        t.Choose(t.form.*c.button, kThree);
        t.desktop.AdvanceTo(300);  // the first file is done, the second is 100 ms away
        EXPECT_EQ(t.files.Calls.size(), 1u);
        t.form.ButtonAbort.Click();
        EXPECT_FALSE(t.form.Visible());

        t.desktop.AdvanceBy(5000);
        EXPECT_EQ(t.files.Paths(), std::vector<std::string>{"one.txt"});
        EXPECT_EQ(t.form.JobIndex, 1);
        EXPECT_EQ(t.form.JobCount, 3);
        EXPECT_TRUE(t.form.AbortRequested);
        EXPECT_TRUE(t.form.JobPassword.empty());
        EXPECT_FALSE(t.desktop.TimerScheduled(t.form.TimerBatch));
        EXPECT_FALSE(t.desktop.TimerScheduled(t.form.TimerClose));

        t.Choose(t.form.*c.button, {"four.txt", "five.txt"});
        t.desktop.AdvanceBy(1000);
        EXPECT_EQ(t.files.Paths(), (std::vector<std::string>{"one.txt", "four.txt", "five.txt"}));
        if (t.files.Calls.size() == 3) {
            EXPECT_EQ(t.files.Calls[2].kind, c.kind);
        }
        EXPECT_EQ(t.form.JobCount, 0);  // ended normally
        EXPECT_FALSE(t.form.AbortRequested);
    }
}

TEST_F(BatchRunner, AWipeJobNeverAsksForAPassword) {
    Choose(form.ButtonErase, kThree);
    EXPECT_FALSE(form.PanelPwd.Visible());
    EXPECT_FALSE(form.Visible());  // the Erase command leaves the window as it was
    desktop.AdvanceTo(600);
    ASSERT_EQ(files.Paths(), kThree);
    for (const auto& call : files.Calls) {
        EXPECT_EQ(call.kind, Kind::Wipe);
        EXPECT_EQ(call.count, 5);
    }
}

TEST_F(BatchRunner, FilePercentStaysWithinZeroToHundredForAnyTotal) {
    struct Case {
        int32_t done, total, percent;
    };
    const Case cases[] = {
        {0, 0, 0},
        {5, 0, 100},  // the total counts as 1
        {15'000'000, 30'000'000, 50},
        {30'000'000, 30'000'000, 100},
        {INT32_MAX / 2, INT32_MAX, 49},
        {INT32_MAX - 1, INT32_MAX, 99},
        {INT32_MAX, INT32_MAX, 100},
        {INT32_MAX, INT32_MAX - 7, 100},
        {-5, 100, 0},
    };
    form.JobFiles = {"big.bin"};
    form.JobCount = 1;
    for (const Case& c : cases) {
        EXPECT_TRUE(form.FileProgress(c.done, c.total));
        EXPECT_EQ(form.FilePercent, c.percent) << c.done << " of " << c.total;
        EXPECT_EQ(form.ProgressBarFileCurrent.Position(), c.percent);
    }
    form.AbortRequested = true;
    EXPECT_FALSE(form.FileProgress(1, 2));
}

TEST_F(BatchRunner, ProgressReportsReachTheDisplayAndPumpMessages) {
    form.Password = "pw";
    files.Scripts["big.bin"].reports = {{0, INT32_MAX}, {INT32_MAX / 4, INT32_MAX}, {INT32_MAX, INT32_MAX}};
    std::vector<int32_t> seen;
    files.BeforeReport = [&](const std::string&, int) { seen.push_back(form.FilePercent); };
    Choose(form.ButtonDecrypt, {"big.bin", "next.bin"});
    const int pumpsBefore = desktop.ProcessMessagesCalls;
    desktop.AdvanceTo(200);
    EXPECT_EQ(desktop.ProcessMessagesCalls - pumpsBefore, 3);
    EXPECT_EQ(seen, (std::vector<int32_t>{0, 0, 24}));
    EXPECT_EQ(form.FilePercent, 100);
    EXPECT_EQ(form.LabelFilesAll.Caption(), "1 / 2 (50 %)");
    EXPECT_EQ(desktop.Title(), "Decrypting 1 / 2 (50 %)");
}

// ---- Open jobs -------------------------------------------------------------

class OpenJob : public JobTest {
protected:
    OpenJob() { form.Password = "pw"; }
};

const std::string kDocs = std::string("docs") + kPathSeparator;

TEST_F(OpenJob, EndsByOpeningTheCopyAfterDoneAndClose) {
    const std::string copy = TempCopyPathFor(kDocs + "$report.pdf");
    Choose(form.ButtonOpen, {kDocs + "$report.pdf"});
    EXPECT_TRUE(form.Visible());  // the open command brings the window up
    EXPECT_TRUE(form.OpenMode);
    desktop.AdvanceTo(200);

    ASSERT_EQ(files.Calls.size(), 1u);
    EXPECT_EQ(files.Calls[0].kind, Kind::Decrypt);
    EXPECT_TRUE(files.Calls[0].settings.OpenMode);
    EXPECT_EQ(files.Calls[0].settings.TempCopyPath, copy);
    ASSERT_EQ(desktop.ShellOpens.size(), 1u);
    EXPECT_EQ(desktop.ShellOpens[0].target, copy);
    EXPECT_TRUE(desktop.ShellOpens[0].hadOwner);
    ASSERT_EQ(form.PendingWipes.size(), 1u);  // handed to the timed wiping
    EXPECT_EQ(form.PendingWipes[0].Path, copy);
    EXPECT_EQ(form.JobCount, 0);
    EXPECT_FALSE(form.OpenMode);
    EXPECT_TRUE(form.TempCopyPath.empty());
}

// Starting the viewer may pump messages on Windows. Whatever comes in then,
// the copy is already in the wipe list, and a new open job keeps its own
// copy path and open mode.
TEST_F(OpenJob, WhatComesInWhileTheViewerStartsFindsTheCopyRegistered) {
    const std::string copy = TempCopyPathFor(kDocs + "$report.pdf");
    const std::string second = kDocs + "$notes.txt";
    struct Case {
        const char* name;
        std::function<void(JobEnv&)> during;
        bool opensSecond;
    };
    const Case cases[] = {
        // The job's close, and the command that waited behind the job.
        {"the close timer", [](JobEnv& t) { t.desktop.AdvanceBy(100); }, false},
        // A second double-click on another encrypted file.
        {"an open command", [&](JobEnv& t) { t.form.AcceptCommand('O', {second}); }, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        JobEnv t;
        t.form.Password = "pw";
        t.form.KeepSession = true;
        t.Choose(t.form.ButtonOpen, {kDocs + "$report.pdf"});
        t.form.FollowUpCommands.Push(Command{'W', {kDocs + "other.bin"}});
        bool inside = false;
        t.desktop.OnShellOpen = [&] {
            if (inside) return;
            inside = true;
            c.during(t);
        };
        t.desktop.AdvanceBy(1000);
        ASSERT_FALSE(t.form.PendingWipes.empty());
        EXPECT_EQ(t.form.PendingWipes[0].Path, copy);
        if (c.opensSecond) {
            ASSERT_EQ(t.files.Calls.size(), 2u);
            EXPECT_EQ(t.files.Calls[1].path, second);
            EXPECT_TRUE(t.files.Calls[1].settings.OpenMode) << "the second file was decrypted as a plain file";
            EXPECT_EQ(t.files.Calls[1].settings.TempCopyPath, TempCopyPathFor(second));
            ASSERT_EQ(t.form.PendingWipes.size(), 2u);
            EXPECT_EQ(t.desktop.ShellOpens.size(), 2u);
        }
    }
}

// The decryption leaves a name without "$" alone and reports success; the
// copy path may then hold another file's pending copy, or a file of the
// user's that bears its name. Neither is opened nor handed to the wiping.
TEST_F(OpenJob, AFileWithoutTheEncryptedPrefixOpensNothing) {
    const std::string names[] = {"report.pdf", "my$report.pdf", "_Brindlock.pdf"};
    for (const std::string& name : names) {
        SCOPED_TRACE(name);
        JobEnv t;
        t.form.Password = "pw";
        t.Choose(t.form.ButtonOpen, {kDocs + name});
        EXPECT_EQ(t.form.TempCopyPath, kDocs + "_Brindlock.pdf");
        t.desktop.AdvanceTo(200);
        EXPECT_EQ(t.files.Calls.size(), 1u);
        EXPECT_TRUE(t.desktop.ShellOpens.empty());
        EXPECT_TRUE(t.form.PendingWipes.empty());
        EXPECT_EQ(t.form.JobCount, 0);
        EXPECT_FALSE(t.form.OpenMode);
        EXPECT_TRUE(t.form.TempCopyPath.empty());
    }
}

TEST_F(OpenJob, AFailedDecryptionOpensNothing) {
    files.Scripts["docs/$report.pdf"].succeeds = false;
    Choose(form.ButtonOpen, {"docs/$report.pdf"});
    desktop.AdvanceTo(200);
    EXPECT_EQ(files.Calls.size(), 1u);
    EXPECT_TRUE(desktop.ShellOpens.empty());
    EXPECT_TRUE(form.PendingWipes.empty());
    EXPECT_EQ(form.JobCount, 0);
    EXPECT_FALSE(form.OpenMode);
    EXPECT_TRUE(form.TempCopyPath.empty());
}

TEST_F(OpenJob, AnAbortedOpenJobLeavesNothingToTheNextDecryptJob) {
    files.BeforeReport = [&](const std::string& path, int) {
        if (path == "docs/$report.pdf") form.ButtonAbort.Click();
    };
    Choose(form.ButtonOpen, {"docs/$report.pdf"});
    desktop.AdvanceTo(200);
    EXPECT_TRUE(form.AbortRequested);

    Choose(form.ButtonDecrypt, {"docs/$a.txt", "docs/$b.txt"});
    desktop.AdvanceBy(1000);
    ASSERT_EQ(files.Calls.size(), 3u);
    for (std::size_t i = 1; i < 3; ++i) {
        EXPECT_EQ(files.Calls[i].kind, Kind::Decrypt);
        EXPECT_FALSE(files.Calls[i].settings.OpenMode);
        EXPECT_TRUE(files.Calls[i].settings.TempCopyPath.empty());
    }
    EXPECT_TRUE(desktop.ShellOpens.empty());
}

}  // namespace
}  // namespace brindlock::test
