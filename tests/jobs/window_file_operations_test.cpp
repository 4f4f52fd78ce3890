// The window's file methods over the real file layer: jobs run from the
// panel to the files on disk, and the folder notification runs on the
// window's own timer.
#include "fileops/fileops_fixture.h"
#include "fileops/temp_copy_path.h"
#include "jobs/job_fixture.h"
#include "platform/file_system.h"
#include "platform/path_delimiters.h"

namespace brindlock::test {
namespace {

class WindowFiles : public ::testing::Test {
protected:
    WindowFiles() {
        env.platform.Files = &NativeFileSystem();
        env.platform.ShellNotify = &shell;
    }

    void Choose(TControl& button, std::vector<std::string> chosen) {
        env.desktop.DialogAnswers.push_back(std::move(chosen));
        button.Click();
    }
    void EnterPassword(const std::string& password) {
        form.EditPwd.UserEdited(password);
        form.ButtonDone.Click();
    }

    TempFolder dir;
    RecordingShellNotify shell;
    HeadlessForm env;
    TForm1& form = env.Create();
    HeadlessDesktop& desktop = env.desktop;
};

TEST_F(WindowFiles, AnEncryptJobWritesTheFormatAndADecryptJobRestoresThePlainFiles) {
    const Bytes a = Pattern(1000, 1), b = Pattern(70'000, 2);
    dir.Write("a.txt", a);
    dir.Write("b.bin", b);
    Choose(form.ButtonEncrypt, {dir.Path("a.txt"), dir.Path("b.bin")});
    EnterPassword("pässword");
    desktop.AdvanceBy(400);
    EXPECT_EQ(dir.Read("$a.txt"), Cipher(a, "a.txt", "pässword"));
    EXPECT_EQ(dir.Read("$b.bin"), Cipher(b, "b.bin", "pässword"));
    EXPECT_EQ(dir.Read("a.txt"), a);  // the plain files stay
    EXPECT_EQ(form.JobCount, 0);
    EXPECT_EQ(form.NotifyFolder, dir.Folder());
    EXPECT_FALSE(shell.Folders.empty());

    dir.Write("a.txt", Bytes(5, 0));
    Choose(form.ButtonDecrypt, {dir.Path("$a.txt"), dir.Path("$b.bin")});
    desktop.AdvanceBy(400);
    EXPECT_EQ(dir.Read("a.txt"), a);
    EXPECT_EQ(dir.Read("b.bin"), b);
}

TEST_F(WindowFiles, AnOpenJobShowsADecryptedCopyAndAFailedOneShowsNothing) {
    const Bytes plain = Pattern(300, 3);
    dir.Write("$report.pdf", Cipher(plain, "report.pdf", "pw"));
    form.Password = "pw";
    Choose(form.ButtonOpen, {dir.Path("$report.pdf")});
    desktop.AdvanceBy(200);
    const std::string copy = TempCopyPathFor(dir.Path("$report.pdf"));
    EXPECT_EQ(copy, dir.Path("_Brindlock.pdf"));
    ASSERT_EQ(desktop.ShellOpens.size(), 1u);
    EXPECT_EQ(desktop.ShellOpens[0].target, copy);
    EXPECT_EQ(dir.Read("_Brindlock.pdf"), plain);
    EXPECT_FALSE(dir.Exists("report.pdf"));

    Choose(form.ButtonOpen, {dir.Path("$missing.pdf")});
    desktop.AdvanceBy(200);
    EXPECT_EQ(desktop.ShellOpens.size(), 1u);
    EXPECT_FALSE(form.OpenMode);
}

TEST_F(WindowFiles, AnEraseJobRemovesItsFiles) {
    dir.Write("old.txt", Pattern(5000));
    dir.Write("keep.txt", Pattern(10));
    Choose(form.ButtonErase, {dir.Path("old.txt")});
    desktop.AdvanceBy(200);
    EXPECT_EQ(dir.List(), std::set<std::string>{"keep.txt"});
}

TEST_F(WindowFiles, AChangedFolderIsNotifiedAtOnceAndOnceMoreASecondLater) {
    const std::string sep(1, kPathSeparator);
    const std::string a = sep + "a" + sep, b = sep + "b" + sep, c = sep + "c" + sep;
    form.NotifyFolderChanged(a + "x.txt");
    desktop.AdvanceBy(400);
    form.NotifyFolderChanged(b + "y.txt");
    form.NotifyFolderChanged(c + "z.txt");
    EXPECT_EQ(shell.Folders, (std::vector<std::string>{a, b, c}));
    EXPECT_EQ(form.NotifyFolder, c);
    desktop.AdvanceBy(600);
    EXPECT_EQ(shell.Folders, (std::vector<std::string>{a, b, c, c}));
    EXPECT_FALSE(desktop.TimerScheduled(form.TimerNotifyFolderChanged));

    // A bare name clears the folder: the pending tick then tells nothing.
    form.NotifyFolderChanged(a + "x.txt");
    form.NotifyFolderChanged("bare.txt");
    EXPECT_TRUE(form.NotifyFolder.empty());
    desktop.AdvanceBy(1000);
    EXPECT_EQ(shell.Folders.size(), 5u);
}

}  // namespace
}  // namespace brindlock::test
