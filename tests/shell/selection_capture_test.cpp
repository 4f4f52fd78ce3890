#include <gtest/gtest.h>

#include "support/headless_form.h"

namespace brindlock {
namespace {

class SelectionCapture : public ::testing::Test {
protected:
    test::HeadlessForm env;
    TForm1& form = env.Create();
    HeadlessClipboard& clipboard = env.integration.clipboard;
    HeadlessKeyboardInput& keyboard = env.integration.keyboard;
    HeadlessSleeper& sleeper = env.integration.sleeper;
    std::vector<HeadlessDesktop::MessageBoxCall>& boxes = env.desktop.MessageBoxes;

    // The window in front answers Ctrl+C by putting these files on the clipboard.
    void FrontWindowCopies(std::vector<std::string> files) {
        keyboard.OnSend = [this, files] { clipboard.Files = files; };
    }
};

TEST_F(SelectionCapture, TwoSelectedFilesAreReportedAndReturned) {
    FrontWindowCopies({"C:\\docs\\a.txt", "C:\\docs\\b c.pdf"});
    std::vector<std::string> list = {"left over"};

    ASSERT_TRUE(form.CaptureSelection(list));

    EXPECT_EQ(list, (std::vector<std::string>{"C:\\docs\\a.txt", "C:\\docs\\b c.pdf"}));
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].text,
              "sendCtrlC: yes\r\n"
              "IsClipboardFormatAvailable(CF_HDROP): YES\r\n"
              "OpenClipboard: OK\r\n"
              "hDrop: non-NULL\r\n"
              "File count: 2\r\n"
              "\r\n"
              "C:\\docs\\a.txt\r\n"
              "C:\\docs\\b c.pdf\r\n");
    EXPECT_EQ(boxes[0].caption, "Brindlock Clipboard-Debug");
    EXPECT_EQ(boxes[0].flags, 0u);  // MB_OK
    EXPECT_EQ(sleeper.Sleeps, std::vector<uint32_t>{50}) << "the first look after 50 ms finds the list";
    EXPECT_FALSE(clipboard.IsOpen);
    EXPECT_EQ(clipboard.Opens, clipboard.Closes);
}

TEST_F(SelectionCapture, TheCopyIsFourKeyboardRecordsInOneBatch) {
    std::vector<std::string> list;
    form.CaptureSelection(list);

    ASSERT_EQ(keyboard.Batches.size(), 1u);
    const auto& records = keyboard.Batches[0];
    ASSERT_EQ(records.size(), 4u);
    const struct {
        uint16_t key;
        uint32_t flags;
    } expected[] = {{0x11, 0}, {0x43, 0}, {0x43, 2}, {0x11, 2}};
    for (size_t i = 0; i < 4; ++i) {
        EXPECT_EQ(records[i].VirtualKey, expected[i].key) << i;
        EXPECT_EQ(records[i].Flags, expected[i].flags) << i;
        EXPECT_EQ(records[i].ScanCode, 0) << i;
        EXPECT_EQ(records[i].Time, 0u) << i;
        EXPECT_EQ(records[i].ExtraInfo, 0u) << i;
    }
}

TEST_F(SelectionCapture, NothingOnTheClipboardWaitsTheFullTimeAndReportsIt) {
    std::vector<std::string> list;
    EXPECT_FALSE(form.CaptureSelection(list));

    EXPECT_TRUE(list.empty());
    EXPECT_EQ(sleeper.Sleeps, std::vector<uint32_t>(10, 50));
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].text,
              "sendCtrlC: yes\r\n"
              "IsClipboardFormatAvailable(CF_HDROP): NO\r\n"
              "OpenClipboard: OK\r\n"
              "hDrop: NULL\r\n"
              "File count: 0\r\n"
              "\r\n");
    EXPECT_FALSE(clipboard.IsOpen);
}

TEST_F(SelectionCapture, ASlowCopyIsWaitedFor) {
    sleeper.OnSleep = [this](uint32_t) {
        if (sleeper.Sleeps.size() == 3) clipboard.Files = std::vector<std::string>{"C:\\late.txt"};
    };
    std::vector<std::string> list;
    EXPECT_TRUE(form.CaptureSelection(list));
    EXPECT_EQ(sleeper.Sleeps.size(), 3u);
    EXPECT_EQ(list, std::vector<std::string>{"C:\\late.txt"});
}

TEST_F(SelectionCapture, AnEarlierFileListIsTakenWhenTheWindowInFrontDoesNotCopy) {
    clipboard.Files = std::vector<std::string>{"C:\\earlier.txt"};
    std::vector<std::string> list;
    EXPECT_TRUE(form.CaptureSelection(list));
    EXPECT_EQ(list, std::vector<std::string>{"C:\\earlier.txt"});
}

TEST_F(SelectionCapture, NamesThatDoNotFitAPathBufferAreLeftOut) {
    const std::string longest(259, 'a');
    const std::string tooLong(260, 'b');
    FrontWindowCopies({tooLong, longest, "", "C:\\x"});
    std::vector<std::string> list;

    ASSERT_TRUE(form.CaptureSelection(list));

    EXPECT_EQ(list, (std::vector<std::string>{longest, "C:\\x"}));
    ASSERT_EQ(boxes.size(), 1u);
    const std::string& report = boxes[0].text;
    EXPECT_NE(report.find("File count: 4\r\n\r\n" + longest + "\r\nC:\\x\r\n"), std::string::npos) << report;
    EXPECT_EQ(report.find(std::string(259, 'b')), std::string::npos) << "no cut-down name either";
}

TEST_F(SelectionCapture, AClipboardHeldByAnotherProgramCapturesNothing) {
    clipboard.Files = std::vector<std::string>{"C:\\a.txt"};
    clipboard.OpenFails = true;
    std::vector<std::string> list;

    EXPECT_FALSE(form.CaptureSelection(list));

    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].text,
              "sendCtrlC: yes\r\n"
              "IsClipboardFormatAvailable(CF_HDROP): YES\r\n"
              "OpenClipboard: FAILED\r\n"
              "hDrop: NULL\r\n"
              "File count: 0\r\n"
              "\r\n");
    EXPECT_EQ(clipboard.Closes, 0) << "a clipboard that was not opened is not closed";
}

TEST_F(SelectionCapture, AnEmptyDropListCapturesNothing) {
    FrontWindowCopies({});
    std::vector<std::string> list;
    EXPECT_FALSE(form.CaptureSelection(list));
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_NE(boxes[0].text.find("hDrop: non-NULL\r\nFile count: 0\r\n\r\n"), std::string::npos);
    EXPECT_EQ(clipboard.Opens, 1) << "no second look";
}

TEST_F(SelectionCapture, TheResultIsReadAfterTheBoxIsDismissed) {
    FrontWindowCopies({"C:\\first.txt"});
    env.desktop.OnModalBox = [this] { clipboard.Files = std::vector<std::string>{"C:\\second.txt", "C:\\third.txt"}; };
    std::vector<std::string> list;

    EXPECT_TRUE(form.CaptureSelection(list));
    EXPECT_EQ(list, (std::vector<std::string>{"C:\\second.txt", "C:\\third.txt"}));
    EXPECT_NE(boxes[0].text.find("C:\\first.txt"), std::string::npos);
}

TEST_F(SelectionCapture, AFileListGoneWhileTheBoxWasOpenCapturesNothing) {
    FrontWindowCopies({"C:\\first.txt"});
    env.desktop.OnModalBox = [this] { clipboard.Files.reset(); };
    std::vector<std::string> list;
    EXPECT_FALSE(form.CaptureSelection(list));
    EXPECT_TRUE(list.empty());
    EXPECT_FALSE(clipboard.IsOpen);
}

}  // namespace
}  // namespace brindlock
