#include <gtest/gtest.h>

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

    void PressHotkey(uintptr_t id) {
        TMessage message{kWmHotKey, id, 0, 0};
        form.WMHotKey(message);
    }
};

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
}

TEST_F(HotkeyActions, AnUnknownIdentifierDoesNothing) {
    PressHotkey(5);
    PressHotkey(0);
    EXPECT_TRUE(env.integration.keyboard.Batches.empty());
    EXPECT_TRUE(env.desktop.MessageBoxes.empty());
}

}  // namespace
}  // namespace brindlock
