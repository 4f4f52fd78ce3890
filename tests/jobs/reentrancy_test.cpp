// Commands that arrive while a file is being processed (through the message
// pump of the progress report) wait for the file to finish, then apply in
// order; nothing starts a second file operation inside the first.
#include <optional>

#include "fileops/temp_copy_path.h"
#include "jobs/job_fixture.h"

namespace brindlock::test {
namespace {

using Reentrancy = JobTest;

const std::vector<std::string> kThree = {"one", "two", "three"};

TEST_F(Reentrancy, ACommandInsideAProgressReportWaitsForTheFileThenReplacesTheJob) {
    struct Case {
        const char* name;
        TSpeedButton TForm1::*button;
        Kind kind;
        bool openJob;
    };
    const Case cases[] = {
        {"Encrypt Files", &TForm1::ButtonEncrypt, Kind::Encrypt, false},
        {"Decrypt Files", &TForm1::ButtonDecrypt, Kind::Decrypt, false},
        {"Erase Files", &TForm1::ButtonErase, Kind::Wipe, false},
        {"Open Encrypted File", &TForm1::ButtonOpen, Kind::Decrypt, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        JobEnv t;
        t.form.Password = "pw";
        t.Choose(t.form.ButtonErase, kThree);
        bool checkedInside = false;
        t.files.BeforeReport = [&](const std::string& path, int index) {
            if (path != "two") return;
            if (index == 0) {
                t.desktop.Post([&] { t.Choose(t.form.*c.button, {"$new"}); });
            } else {
                // The dialog has run, but the running job is as it was.
                EXPECT_EQ(t.desktop.DialogTitles.size(), 2u);
                EXPECT_EQ(t.form.JobFiles, kThree);
                EXPECT_EQ(t.form.JobMode, -1);
                EXPECT_EQ(t.form.JobIndex, 1);
                EXPECT_FALSE(t.form.OpenMode);
                checkedInside = true;
            }
        };
        t.desktop.AdvanceBy(400);
        EXPECT_TRUE(checkedInside);
        EXPECT_EQ(t.form.JobFiles, std::vector<std::string>{"$new"});
        EXPECT_EQ(t.form.OpenMode, c.openJob);
        t.desktop.AdvanceBy(1000);

        ASSERT_EQ(t.files.Paths(), (std::vector<std::string>{"one", "two", "$new"}));
        EXPECT_EQ(t.files.Calls[1].kind, Kind::Wipe);
        EXPECT_EQ(t.files.Calls[2].kind, c.kind);
        EXPECT_EQ(t.files.Calls[2].settings.OpenMode, c.openJob);
        EXPECT_EQ(t.files.MaxDepth, 1);
    }
}

TEST_F(Reentrancy, CommandsHeldBackDuringOneFileApplyInTheirOrder) {
    form.Password = "pw";
    Choose(form.ButtonErase, kThree);
    files.BeforeReport = [&](const std::string& path, int index) {
        if (path != "one" || index != 0) return;
        desktop.Post([&] { Choose(form.ButtonEncrypt, {"first"}); });
        desktop.Post([&] { Choose(form.ButtonDecrypt, {"$second"}); });
    };
    desktop.AdvanceBy(1000);
    ASSERT_EQ(files.Paths(), (std::vector<std::string>{"one", "$second"}));
    EXPECT_EQ(files.Calls[1].kind, Kind::Decrypt);
}

TEST_F(Reentrancy, ACancelledDialogInsideAFileLeavesTheJobRunning) {
    form.Password = "pw";
    Choose(form.ButtonEncrypt, kThree);
    files.BeforeReport = [&](const std::string& path, int index) {
        if (path == "one" && index == 0) desktop.Post([&] {
            desktop.DialogAnswers.push_back(std::nullopt);
            form.ButtonDecrypt.Click();
        });
    };
    desktop.AdvanceBy(1000);
    EXPECT_EQ(files.Paths(), kThree);
}

TEST_F(Reentrancy, NothingStartsASecondFileOperationInsideTheFirst) {
    form.Password = "pw";
    Choose(form.ButtonEncrypt, kThree);
    // Inside every report: a caller restarting the job, and time enough for
    // TimerBatch to tick several times if anything had enabled it.
    desktop.OnProcessMessages = [&] {
        form.StartJob();
        desktop.AdvanceBy(1000);
    };
    desktop.AdvanceBy(5000);
    EXPECT_EQ(files.Paths(), kThree);
    EXPECT_EQ(files.MaxDepth, 1);
    EXPECT_EQ(form.JobCount, 0);
}

// The previous job's close timer must not hide the window of a job that a
// held-back command set up right after it ended.
TEST_F(Reentrancy, ACommandHeldBackDuringTheLastFileKeepsItsPasswordPanelInView) {
    Choose(form.ButtonErase, {"last"});
    files.BeforeReport = [&](const std::string&, int index) {
        if (index == 0) desktop.Post([&] { Choose(form.ButtonOpen, {"$report.pdf"}); });
    };
    desktop.AdvanceBy(200);
    EXPECT_EQ(form.JobCount, 1);
    EXPECT_TRUE(form.OpenMode);
    desktop.AdvanceBy(500);
    EXPECT_TRUE(form.Visible());
    EXPECT_TRUE(form.PanelPwd.Visible());
    EXPECT_EQ(files.Calls.size(), 1u);
    EnterPassword("pw");
    desktop.AdvanceBy(200);
    ASSERT_EQ(files.Calls.size(), 2u);
    EXPECT_EQ(files.Calls[1].settings.TempCopyPath, TempCopyPathFor("$report.pdf"));
}

TEST_F(Reentrancy, AnAbortAndACommandInOneFileStopTheJobThenStartTheCommand) {
    form.Password = "pw";
    Choose(form.ButtonEncrypt, kThree);
    files.BeforeReport = [&](const std::string& path, int index) {
        if (path != "one" || index != 0) return;
        desktop.Post([&] { form.ButtonAbort.Click(); });
        desktop.Post([&] { Choose(form.ButtonErase, {"other"}); });
    };
    desktop.AdvanceBy(200);
    EXPECT_FALSE(form.AbortRequested);  // the command cleared it
    EXPECT_EQ(form.JobMode, -1);
    desktop.AdvanceBy(1000);
    ASSERT_EQ(files.Paths(), (std::vector<std::string>{"one", "other"}));
    EXPECT_EQ(files.Calls[1].kind, Kind::Wipe);
}

TEST_F(Reentrancy, RunWhenIdleRunsAtOnceWhenNoFileIsInProgress) {
    int runs = 0;
    form.RunWhenIdle([&] { ++runs; });
    EXPECT_EQ(runs, 1);
}

}  // namespace
}  // namespace brindlock::test
