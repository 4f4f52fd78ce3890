#include "jobs/job_fixture.h"

namespace brindlock::test {
namespace {

using PasswordSession = JobTest;

TEST_F(PasswordSession, AJobWithoutAPasswordWaitsAtThePanelUntilOk) {
    Choose(form.ButtonEncrypt, {"a.txt", "b.txt"});
    EXPECT_TRUE(form.Visible());
    EXPECT_TRUE(form.PanelPwd.Visible());
    EXPECT_TRUE(form.ButtonDone.Visible());
    EXPECT_FALSE(form.PanelProgress.Visible());
    EXPECT_EQ(form.ActiveControl, &form.EditPwd);
    desktop.AdvanceBy(5000);
    EXPECT_TRUE(files.Calls.empty());

    EnterPassword("secret");
    EXPECT_FALSE(form.PanelPwd.Visible());
    EXPECT_TRUE(form.PanelProgress.Visible());
    EXPECT_TRUE(form.EditPwd.Text().empty());
    desktop.AdvanceBy(400);
    ASSERT_EQ(files.Calls.size(), 2u);
    EXPECT_EQ(files.Calls[1].settings.Password, "secret");
}

TEST_F(PasswordSession, AnEmptyPasswordPutsThePanelUpAgain) {
    Choose(form.ButtonDecrypt, {"$a.txt"});
    EnterPassword("");
    EXPECT_TRUE(form.PanelPwd.Visible());
    EXPECT_TRUE(form.ButtonDone.Visible());
    EXPECT_FALSE(desktop.TimerScheduled(form.TimerBatch));
    desktop.AdvanceBy(5000);
    EXPECT_TRUE(files.Calls.empty());
}

// Escape reaches ButtonAbortClick as well.
TEST_F(PasswordSession, AbortAtThePanelHidesTheWindowAndKeepsTheJobQueued) {
    Choose(form.ButtonEncrypt, {"a.txt", "b.txt", "c.txt"});
    form.EditPwd.UserEdited("half-typed");
    form.ButtonAbort.Click();
    EXPECT_FALSE(form.Visible());
    EXPECT_TRUE(form.EditPwd.Text().empty());
    EXPECT_TRUE(form.PanelPwd.Visible());
    EXPECT_EQ(form.JobCount, 3);
    EXPECT_TRUE(form.AbortRequested);
    desktop.AdvanceBy(5000);
    EXPECT_TRUE(files.Calls.empty());

    form.FormBringToFront();  // e.g. a click on the tray icon
    EnterPassword("pw");
    EXPECT_FALSE(form.AbortRequested);
    desktop.AdvanceBy(600);
    EXPECT_EQ(files.Paths(), (std::vector<std::string>{"a.txt", "b.txt", "c.txt"}));
}

TEST_F(PasswordSession, LastsOneTwoHundredAndTwentySecondPeriodFromItsEntry) {
    desktop.AdvanceTo(50'000);  // the session timer has been running since start
    Choose(form.ButtonEncrypt, {"a.txt"});
    EnterPassword("pw");
    // Jobs in between neither end nor extend it while the session is kept.
    for (uint64_t at : {60'000u, 100'000u, 160'000u}) {
        desktop.AdvanceTo(at);
        Choose(form.ButtonEncrypt, {"b.txt"});
        EXPECT_FALSE(form.PanelPwd.Visible()) << at;
    }
    desktop.AdvanceTo(169'999);
    EXPECT_EQ(form.Password, "pw");
    EXPECT_TRUE(form.ButtonLogout.Enabled());
    desktop.AdvanceTo(170'000);
    EXPECT_TRUE(form.Password.empty());
    desktop.AdvanceBy(200);
    EXPECT_FALSE(form.ButtonLogout.Enabled());
    EXPECT_FALSE(form.Logout1.Enabled());
    Choose(form.ButtonEncrypt, {"c.txt"});
    EXPECT_TRUE(form.PanelPwd.Visible());
}

TEST_F(PasswordSession, AnUncheckedKeepSessionDropsThePasswordAfterTheJob) {
    Choose(form.ButtonEncrypt, {"a.txt", "b.txt"});
    EnterPassword("pw", /*keepSession=*/false);
    EXPECT_FALSE(form.KeepSession);
    desktop.AdvanceBy(200);
    EXPECT_EQ(form.Password, "pw");  // kept until the job's end
    desktop.AdvanceBy(200);
    EXPECT_TRUE(form.Password.empty());
    Choose(form.ButtonEncrypt, {"c.txt"});
    EXPECT_TRUE(form.PanelPwd.Visible());
}

TEST_F(PasswordSession, AnUncheckedKeepSessionDropsThePasswordAfterAWipeJobToo) {
    form.Password = "pw";
    form.KeepSession = false;
    Choose(form.ButtonErase, {"a.txt"});
    desktop.AdvanceBy(200);
    EXPECT_EQ(files.Calls.size(), 1u);
    EXPECT_TRUE(form.Password.empty());
}

TEST_F(PasswordSession, ACheckedKeepSessionLetsTheNextJobStartWithoutAsking) {
    Choose(form.ButtonEncrypt, {"a.txt"});
    EnterPassword("pw", true);
    desktop.AdvanceBy(1000);
    Choose(form.ButtonDecrypt, {"$a.txt"});
    EXPECT_FALSE(form.PanelPwd.Visible());
    desktop.AdvanceBy(200);
    ASSERT_EQ(files.Calls.size(), 2u);
    EXPECT_EQ(files.Calls[1].settings.Password, "pw");
}

// Every way the session can end in the middle of a job: its timer, "&Reset
// Password" and "Clear Session". The session ends, the job's remaining files
// keep the job's password, and the next job asks again.
TEST_F(PasswordSession, EndingInTheMiddleOfAJobLeavesTheJobsPassword) {
    struct Case {
        const char* name;
        std::function<void(JobEnv&)> end;
    };
    const Case cases[] = {
        {"session timer", [](JobEnv&) {}},  // see the clock below
        {"Reset Password", [](JobEnv& t) { t.desktop.Post([&t] { t.form.Logout1.Click(); }); }},
        {"Clear Session", [](JobEnv& t) { t.desktop.Post([&t] { t.form.ButtonLogout.Click(); }); }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        JobEnv t;
        t.desktop.AdvanceTo(100'000);
        t.Choose(t.form.ButtonEncrypt, {"a.txt", "b.txt", "c.txt"});
        t.EnterPassword("pw");  // the session now ends at 220 s
        t.desktop.AdvanceBy(200);  // ButtonLogout enabled by TimerUI
        t.files.BeforeReport = [&](const std::string& path, int index) {
            if (path != "b.txt" || index != 1) return;
            if (std::string(c.name) == "session timer") t.desktop.OnProcessMessages = [&] { t.desktop.AdvanceTo(220'000); };
            else c.end(t);
        };
        t.desktop.AdvanceBy(200);
        t.desktop.OnProcessMessages = nullptr;
        EXPECT_TRUE(t.form.Password.empty());
        t.desktop.AdvanceBy(400);
        ASSERT_EQ(t.files.Paths(), (std::vector<std::string>{"a.txt", "b.txt", "c.txt"}));
        for (const auto& call : t.files.Calls) EXPECT_EQ(call.settings.Password, "pw");
        EXPECT_EQ(t.files.MaxDepth, 1);
        t.Choose(t.form.ButtonEncrypt, {"d.txt"});
        EXPECT_TRUE(t.form.PanelPwd.Visible());
    }
}

// Normally unreachable: a job that reaches the runner without a password
// (every start goes through StartJob). It is asked for, never keyed with "".
TEST_F(PasswordSession, NoFileIsKeyedWithAnEmptyPassword) {
    form.JobFiles = {"a.txt"};
    form.JobCount = 1;
    form.JobMode = 0;
    form.TimerBatch.SetEnabled(true);
    desktop.AdvanceBy(200);
    EXPECT_TRUE(files.Calls.empty());
    EXPECT_TRUE(form.PanelPwd.Visible());
    EXPECT_FALSE(form.EncryptOneFile("a.txt", 0, nullptr));
    EXPECT_FALSE(form.DecryptOneFile("$a.txt", 0, nullptr));
    EXPECT_TRUE(files.Calls.empty());
}

TEST_F(PasswordSession, OkWithoutThePanelClosesTheWindow) {
    form.Show();
    form.ButtonClose.Show();
    form.ButtonClose.Click();
    EXPECT_FALSE(form.Visible());
    EXPECT_FALSE(desktop.TaskbarWindowVisible);
}

}  // namespace
}  // namespace brindlock::test
