#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "support/existing_files.h"
#include "support/headless_form.h"

namespace brindlock {
namespace {

constexpr uint32_t kWmHotKey = 0x0312;

class HotkeyActions : public ::testing::Test {
protected:
    HotkeyActions() {
        env.platform.Files = &files;
        files.Files = {"C:\\docs\\a.txt", "C:\\docs\\b.txt"};
    }
    test::ExistingFiles files;
    test::HeadlessForm env;
    TForm1& form = env.Create();

    // The way Windows delivers it: through the window's message map.
    void PressHotkey(uintptr_t id) {
        TMessage message{kWmHotKey, id, 0, 0};
        form.Dispatch(message);
    }

    // The window in front answers Ctrl+C by putting these files on the clipboard.
    void FrontWindowCopies(std::vector<std::string> names) {
        env.integration.keyboard.OnSend = [this, names] { env.integration.clipboard.Files = names; };
    }
};

TEST_F(HotkeyActions, CapturedFilesBecomeAJobOfTheHotkeysMode) {
    const struct {
        uintptr_t id;
        int32_t jobMode;
        bool asksForPassword;
    } cases[] = {{2, 0, true}, {3, 1, true}, {4, -1, false}};
    for (const auto& c : cases) {
        test::HeadlessForm window;
        window.platform.Files = &files;
        TForm1& f = window.Create();
        window.integration.keyboard.OnSend = [&window] {
            window.integration.clipboard.Files = std::vector<std::string>{"C:\\docs\\a.txt", "C:\\docs\\b.txt"};
        };
        TMessage message{kWmHotKey, c.id, 0, 0};
        f.Dispatch(message);

        EXPECT_EQ(f.JobFiles, (std::vector<std::string>{"C:\\docs\\a.txt", "C:\\docs\\b.txt"})) << c.id;
        EXPECT_EQ(f.JobCount, 2) << c.id;
        EXPECT_EQ(f.JobMode, c.jobMode) << c.id;
        EXPECT_FALSE(f.OpenMode) << c.id;
        EXPECT_EQ(f.PanelPwd.Visible(), c.asksForPassword) << c.id;
        EXPECT_EQ(f.TimerBatch.Enabled(), !c.asksForPassword) << c.id;
        EXPECT_TRUE(f.Visible()) << c.id << ": the window comes to the front";
        EXPECT_EQ(window.desktop.MessageBoxes.size(), 1u) << c.id;
        EXPECT_TRUE(window.desktop.DialogTitles.empty()) << c.id << ": no dialog when files were captured";
    }
}

TEST_F(HotkeyActions, TheOpenHotkeyOpensOnlyTheFirstCapturedFile) {
    // Names without a folder: the copy's folder part follows the native path rules.
    FrontWindowCopies({"$a.pdf", "$b.pdf"});
    PressHotkey(1);
    EXPECT_EQ(form.JobFiles, std::vector<std::string>{"$a.pdf"});
    EXPECT_TRUE(form.OpenMode);
    EXPECT_EQ(form.TempCopyPath, "_Brindlock.pdf");
    EXPECT_TRUE(form.PanelPwd.Visible());
    ASSERT_EQ(env.desktop.MessageBoxes.size(), 1u);
    EXPECT_NE(env.desktop.MessageBoxes[0].text.find("\r\n$a.pdf\r\n$b.pdf\r\n"), std::string::npos)
        << "the box lists every captured file";
}

TEST_F(HotkeyActions, CapturedFoldersAreDroppedByTheIntakeWithoutADialog) {
    FrontWindowCopies({"C:\\docs"});  // a folder: not among the existing files
    PressHotkey(2);
    EXPECT_TRUE(form.JobFiles.empty());
    EXPECT_FALSE(form.PanelPwd.Visible());
    EXPECT_TRUE(env.desktop.DialogTitles.empty());
    ASSERT_EQ(env.desktop.MessageBoxes.size(), 1u);
    EXPECT_NE(env.desktop.MessageBoxes[0].text.find("File count: 1\r\n\r\nC:\\docs\r\n"), std::string::npos);
}

TEST_F(HotkeyActions, NothingCapturedOpensTheDialogOfTheHotkeysCommand) {
    const struct {
        uintptr_t id;
        const char* dialog;
    } cases[] = {{1, "Open Encrypted File"}, {2, "Encrypt Files"}, {3, "Decrypt Files"}, {4, "Secure Erase Files"}};
    for (const auto& c : cases) {
        env.desktop.DialogTitles.clear();
        env.desktop.DialogAnswers.push_back(std::nullopt);  // Cancel
        PressHotkey(c.id);
        ASSERT_EQ(env.desktop.DialogTitles.size(), 1u) << c.id;
        EXPECT_EQ(env.desktop.DialogTitles[0], c.dialog);
    }
    EXPECT_EQ(env.desktop.MessageBoxes.size(), 4u) << "each press reports what it found first";
    EXPECT_TRUE(form.JobFiles.empty());
    EXPECT_EQ(env.integration.keyboard.Batches.size(), 4u) << "each press copies first";
}

TEST_F(HotkeyActions, AnUnknownIdentifierDoesNothing) {
    PressHotkey(5);
    PressHotkey(0);
    EXPECT_TRUE(env.desktop.DialogTitles.empty());
    EXPECT_TRUE(env.integration.keyboard.Batches.empty());
    EXPECT_TRUE(env.desktop.MessageBoxes.empty());
}

}  // namespace
}  // namespace brindlock
