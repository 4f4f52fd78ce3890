#include <gtest/gtest.h>

#include "support/headless_form.h"

namespace brindlock {
namespace {

class MainWindow : public ::testing::Test {
protected:
    test::HeadlessForm env;
    TForm1& form = env.Create();
    HeadlessDesktop& desktop = env.desktop;
};

TEST_F(MainWindow, StartsWithItsDefaults) {
    EXPECT_EQ(form.Caption(), "Norvalde Brindlock");
    EXPECT_EQ(form.WipePasses, 5);
    EXPECT_EQ(form.WipeDelaySeconds, 30);
    EXPECT_TRUE(form.KeepSession);
    EXPECT_TRUE(form.CheckBoxKeepSession.Checked());
    EXPECT_EQ(form.PanelPwd.Left(), 8);
    EXPECT_EQ(form.PanelProgress.Left(), 8);
    EXPECT_FALSE(form.PanelPwd.Visible());
    EXPECT_FALSE(form.PanelProgress.Visible());
    EXPECT_TRUE(form.ButtonAbort.Visible());
    EXPECT_FALSE(form.ButtonClose.Visible());
    EXPECT_FALSE(form.TrayIcon1.Visible());
    EXPECT_FALSE(desktop.TimerScheduled(form.TimerTimoutErase));
    EXPECT_FALSE(desktop.TimerScheduled(form.TimerBatch));
    EXPECT_TRUE(desktop.TimerScheduled(form.TimerSession));
    EXPECT_TRUE(desktop.TimerScheduled(form.TimerUI));
}

struct ProgressCase {
    int32_t mode, index, count, percent;
    const char* filesAll;
    int overall;
    const char* title;
};

const ProgressCase kProgress[] = {
    {0, 1, 4, 50, "2 / 4 (38 %)", 38, "Encrypting 2 / 4 (38 %)"},
    {0, 0, 3, 0, "1 / 3 (0 %)", 0, "Encrypting 1 / 3 (0 %)"},
    {1, 1, 3, 0, "2 / 3 (33 %)", 33, "Decrypting 2 / 3 (33 %)"},
    {1, 1, 3, 100, "2 / 3 (67 %)", 67, "Decrypting 2 / 3 (67 %)"},
    {-1, 0, 1, 20, "1 / 1 (20 %)", 20, "Wiping 1 / 1 (20 %)"},
};

TEST_F(MainWindow, UpdateUIShowsTheJobsProgress) {
    form.JobFiles = {"C:\\a", "C:\\b", "C:\\c", "C:\\d"};
    for (const auto& c : kProgress) {
        form.JobMode = c.mode;
        form.JobIndex = c.index;
        form.JobCount = c.count;
        form.FilePercent = c.percent;
        form.UpdateUI();
        EXPECT_EQ(form.LabelFilesAll.Caption(), c.filesAll);
        EXPECT_EQ(form.ProgressBarFilesAll.Position(), c.overall) << c.filesAll;
        EXPECT_EQ(form.LabelPercentCurrent.Caption(), std::to_string(c.percent) + "%");
        EXPECT_EQ(form.ProgressBarFileCurrent.Position(), c.percent);
        EXPECT_EQ(form.LabelFileCurrent.Caption(), form.JobFiles[c.index]);
        EXPECT_EQ(desktop.Title(), c.title);
        EXPECT_EQ(form.Caption(), c.title);
    }
}

TEST_F(MainWindow, UpdateUIWithoutAJob) {
    form.JobCount = 0;
    form.FilePercent = 40;
    form.ButtonClose.Show();
    form.UpdateUI();
    EXPECT_EQ(form.LabelFilesAll.Caption(), "0 %");
    EXPECT_EQ(form.LabelPercentCurrent.Caption(), "0%");
    EXPECT_EQ(form.LabelFileCurrent.Caption(), "no file");
    EXPECT_EQ(desktop.Title(), "Brindlock");
    EXPECT_EQ(form.Caption(), "Brindlock");
    EXPECT_EQ(form.FilePercent, 0);
    EXPECT_FALSE(form.ButtonClose.Visible());
}

TEST_F(MainWindow, UpdateUIStaysInsideTheFileList) {
    form.JobFiles = {"C:\\a", "C:\\b"};
    form.JobCount = 2;
    form.JobIndex = 2;  // the job has just taken its last file
    form.FilePercent = 100;
    form.UpdateUI();
    EXPECT_EQ(form.LabelFileCurrent.Caption(), "C:\\b");
    EXPECT_EQ(form.ProgressBarFilesAll.Position(), 100);
    EXPECT_TRUE(form.ButtonClose.Visible());
}

TEST_F(MainWindow, ClosingOrMinimisingOnlyHides) {
    using Action = void (*)(TForm1&);
    const Action actions[] = {
        [](TForm1& f) { f.Close(); },
        [](TForm1& f) { f.SetWindowState(TWindowState::Minimized); },
    };
    for (Action act : actions) {
        form.FormBringToFront();
        ASSERT_TRUE(form.Visible());
        ASSERT_TRUE(desktop.TaskbarWindowVisible);
        act(form);
        EXPECT_FALSE(form.Visible());
        EXPECT_FALSE(desktop.TaskbarWindowVisible);
        EXPECT_FALSE(desktop.Terminated());
    }
}

TEST_F(MainWindow, SessionControlsFollowThePassword) {
    desktop.AdvanceBy(200);
    EXPECT_FALSE(form.ButtonLogout.Enabled());
    EXPECT_FALSE(form.Logout1.Enabled());
    form.Password = "secret";
    desktop.AdvanceBy(200);
    EXPECT_TRUE(form.ButtonLogout.Enabled());
    EXPECT_TRUE(form.Logout1.Enabled());
    form.Password.clear();
    desktop.AdvanceBy(200);
    EXPECT_FALSE(form.ButtonLogout.Enabled());
}

TEST_F(MainWindow, TrayClickToggles) {
    form.EditPwd.SetText("typed");
    form.TrayIcon1.OnClick(&form.TrayIcon1);
    EXPECT_TRUE(form.Visible());
    EXPECT_EQ(form.EditPwd.Text(), "");
    EXPECT_GE(desktop.ForegroundCalls, 1);
    form.TrayIcon1.OnClick(&form.TrayIcon1);
    EXPECT_FALSE(form.Visible());
}

TEST_F(MainWindow, BringToFrontFocusesThePasswordFieldOnlyWhenItsPanelIsUp) {
    form.FormBringToFront();
    EXPECT_EQ(form.ActiveControl, nullptr);
    form.PanelPwd.Show();
    form.FormBringToFront();
    EXPECT_EQ(form.ActiveControl, &form.EditPwd);
}

TEST_F(MainWindow, TerminateEndsTheLoop) {
    form.Terminate1.Click();
    EXPECT_TRUE(desktop.Terminated());
}

TEST_F(MainWindow, ShowingTilesTheBackground) {
    TBitmap marble(56, 48);
    for (int y = 0; y < 48; ++y)
        for (int x = 0; x < 56; ++x) marble.At(x, y) = uint32_t(x * 1000 + y);
    form.ImageMarble.SetPicture(marble);
    form.FormBringToFront();
    const TBitmap* bg = form.Image1.Picture();
    ASSERT_NE(bg, nullptr);
    EXPECT_EQ(bg->Width, 497);
    EXPECT_EQ(bg->Height, 353);
    for (auto [x, y] : {std::pair{0, 0}, {55, 47}, {56, 0}, {100, 50}, {496, 352}})
        EXPECT_EQ(bg->At(x, y), marble.At(x % 56, y % 48)) << x << "," << y;
}

TEST_F(MainWindow, LinksOpenTheirAddressesWithoutOwner) {
    form.Label3.Click();
    form.Label5.Click();
    ASSERT_EQ(desktop.ShellOpens.size(), 2u);
    EXPECT_FALSE(desktop.ShellOpens[0].hadOwner);
    EXPECT_NE(desktop.ShellOpens[0].target, desktop.ShellOpens[1].target);
}

}  // namespace
}  // namespace brindlock
