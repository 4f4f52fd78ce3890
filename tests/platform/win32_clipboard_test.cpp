// The Windows clipboard backend reading a file-drop list that is built in
// memory the way the shell builds one, so the names come from the real
// DragQueryFileA.
#include <gtest/gtest.h>

// Before the backend's header, which takes back the A/W renaming of
// DragQueryFile that the shell headers bring.
#include <shlobj.h>

#include <cstring>
#include <string>
#include <vector>

#include "platform/win32/win32_integration.h"
#include "support/headless_form.h"

namespace brindlock {
namespace {

// An ANSI drop list: the DROPFILES head, every name with its zero byte, and
// one more zero byte at the end.
HGLOBAL MakeDropList(const std::vector<std::string>& names) {
    std::size_t bytes = sizeof(DROPFILES) + 1;
    for (const std::string& name : names) bytes += name.size() + 1;
    HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT, bytes);
    auto* head = static_cast<DROPFILES*>(GlobalLock(memory));
    head->pFiles = sizeof(DROPFILES);
    head->fWide = FALSE;
    char* at = reinterpret_cast<char*>(head) + sizeof(DROPFILES);
    for (const std::string& name : names) {
        std::memcpy(at, name.data(), name.size());
        at += name.size() + 1;
    }
    GlobalUnlock(memory);
    return memory;
}

// A name of `length` characters: a folder, then as many letters as it takes.
std::string NameOfLength(std::size_t length) {
    std::string name = "C:\\docs\\";
    while (name.size() < length - 4) name += static_cast<char>('a' + name.size() % 26);
    return name + ".txt";
}

class DropList : public ::testing::Test {
protected:
    void TearDown() override {
        if (drop_) GlobalFree(drop_);
    }
    DropHandle Make(const std::vector<std::string>& names) {
        drop_ = MakeDropList(names);
        return reinterpret_cast<DropHandle>(drop_);
    }
    HGLOBAL drop_ = nullptr;
};

TEST_F(DropList, ANameCutShortToFitTheBufferReportsItsWholeLength) {
    const std::vector<std::size_t> lengths = {12, 259, 260, 300};
    std::vector<std::string> names;
    for (std::size_t length : lengths) names.push_back(NameOfLength(length));
    Win32Clipboard clipboard;
    const DropHandle drop = Make(names);

    ASSERT_EQ(clipboard.DragQueryFile(drop, kDropFileCount, nullptr, 0), names.size());
    for (std::size_t i = 0; i < names.size(); ++i) {
        SCOPED_TRACE(lengths[i]);
        char buffer[260];
        std::memset(buffer, 'x', sizeof buffer);
        EXPECT_EQ(clipboard.DragQueryFile(drop, static_cast<uint32_t>(i), buffer, sizeof buffer), lengths[i]);
        EXPECT_EQ(std::string(buffer), names[i].substr(0, 259)) << "at most 259 characters and a zero byte";
        EXPECT_EQ(clipboard.DragQueryFile(drop, static_cast<uint32_t>(i), nullptr, 0), lengths[i]);
    }
}

// The real name reading, with the clipboard itself left out: the drop list
// comes back as GetClipboardData would give it.
class DropListClipboard : public Win32Clipboard {
public:
    DropHandle Drop = 0;
    bool IsFormatAvailable(uint32_t) override { return true; }
    bool Open() override { return true; }
    DropHandle GetData(uint32_t) override { return Drop; }
    bool Close() override { return true; }
};

TEST_F(DropList, ANameTooLongForAPathIsLeftOutOfTheCapture) {
    const std::string shortName = NameOfLength(40);
    const std::string longest = NameOfLength(259);
    const std::string tooLong = NameOfLength(300);
    test::HeadlessForm env;
    DropListClipboard clipboard;
    clipboard.Drop = Make({shortName, tooLong, longest});
    env.platform.Clipboard = &clipboard;
    TForm1& form = env.Create();

    std::vector<std::string> list;
    ASSERT_TRUE(form.CaptureSelection(list));
    EXPECT_EQ(list, (std::vector<std::string>{shortName, longest}));
    ASSERT_EQ(env.desktop.MessageBoxes.size(), 1u);
    const std::string& report = env.desktop.MessageBoxes[0].text;
    EXPECT_NE(report.find("File count: 3\r\n\r\n" + shortName + "\r\n" + longest + "\r\n"), std::string::npos)
        << report;
    EXPECT_EQ(report.find(tooLong.substr(0, 259)), std::string::npos) << "the cut name was reported";
}

}  // namespace
}  // namespace brindlock
