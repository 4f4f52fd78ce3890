// Full paths from the real GetFullPathNameA: what a second start hands over
// and what a viewing copy is registered under.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>

#include "platform/win32/win32_program_info.h"
#include "support/temp_folder.h"

namespace brindlock {
namespace {

class CurrentFolder : public ::testing::Test {
protected:
    CurrentFolder() {
        char previous[MAX_PATH] = {};
        GetCurrentDirectoryA(MAX_PATH, previous);
        previous_ = previous;
        SetCurrentDirectoryA(folder.Path().c_str());
    }
    ~CurrentFolder() override { SetCurrentDirectoryA(previous_.c_str()); }

    test::TempFolder folder;
    std::string previous_;
};

TEST_F(CurrentFolder, PathsAreTakenAgainstTheCurrentFolderAndDrive) {
    Win32ProgramInfo program;
    std::string here = folder.Path();
    if (!here.empty() && here.back() != '\\') here += '\\';
    const std::string drive = here.substr(0, 2);
    struct Case {
        std::string given, full;
    } cases[] = {
        {"a.txt", here + "a.txt"},
        {"sub\\b c.txt", here + "sub\\b c.txt"},
        {"sub/../$d.txt", here + "$d.txt"},
        {"\\top\\e.txt", drive + "\\top\\e.txt"},
        {"C:\\docs\\x\\..\\f.txt", "C:\\docs\\f.txt"},
        {"\\\\server\\share\\g.txt", "\\\\server\\share\\g.txt"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.given.substr(0, 40));
        EXPECT_EQ(program.FullPathOf(c.given), c.full);
    }
    EXPECT_EQ(program.FullPathOf(""), "");
}

}  // namespace
}  // namespace brindlock
