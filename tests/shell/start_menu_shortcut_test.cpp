#include "shell/start_menu_shortcut.h"

#include <gtest/gtest.h>

#include <cstring>

#include "support/existing_files.h"
#include "platform/headless/headless_integration.h"

namespace brindlock {
namespace {

using test::ExistingFiles;

class StartMenuShortcut : public ::testing::Test {
protected:
    StartMenuShortcut() {
        services.AddTo(platform);
        platform.Files = &files;
        services.environment.Variables["APPDATA"] = "C:\\Users\\user\\AppData\\Roaming";
        services.program.Path = "C:\\Tools\\prog.exe";
    }
    HeadlessIntegration services;
    ExistingFiles files;
    Platform platform;
    const std::vector<HeadlessProcessLauncher::Start>& starts = services.processes.Starts;
};

const char kExampleCommand[] =
    "powershell -ExecutionPolicy Bypass -Command \""
    "$s = New-Object -ComObject WScript.Shell; "
    "$lnk = $s.CreateShortcut('C:\\Users\\user\\AppData\\Roaming\\Microsoft\\Windows\\Start Menu\\Programs\\Brindlock.lnk'); "
    "$lnk.TargetPath = 'C:\\Tools\\prog.exe'; "
    "$lnk.WorkingDirectory = 'C:\\Tools'; "
    "$lnk.Save();\"";

TEST_F(StartMenuShortcut, AMissingShortcutIsMadeByAHiddenPowerShell) {
    EXPECT_TRUE(EnsureStartMenuShortcut(platform, "Brindlock"));

    EXPECT_EQ(files.Asked, std::vector<std::string>{
                               "C:\\Users\\user\\AppData\\Roaming\\Microsoft\\Windows\\Start Menu\\Programs\\Brindlock.lnk"});
    ASSERT_EQ(starts.size(), 1u);
    EXPECT_EQ(starts[0].commandLine, kExampleCommand);
    EXPECT_EQ(starts[0].show, 0u);  // SW_HIDE
}

TEST_F(StartMenuShortcut, ATrailingSeparatorOfAppDataIsDropped) {
    for (const char* appData : {"C:\\Users\\user\\AppData\\Roaming\\", "C:\\Users\\user\\AppData\\Roaming/"}) {
        services.environment.Variables["APPDATA"] = appData;
        services.processes.Starts.clear();
        EXPECT_TRUE(EnsureStartMenuShortcut(platform, "Brindlock"));
        ASSERT_EQ(starts.size(), 1u) << appData;
        EXPECT_EQ(starts[0].commandLine, kExampleCommand) << appData;
    }
}

TEST_F(StartMenuShortcut, AnExistingShortcutStartsNothing) {
    files.Files = {"C:\\Users\\user\\AppData\\Roaming\\Microsoft\\Windows\\Start Menu\\Programs\\Brindlock.lnk"};
    EXPECT_TRUE(EnsureStartMenuShortcut(platform, "Brindlock"));
    EXPECT_TRUE(starts.empty());
}

TEST_F(StartMenuShortcut, ApostrophesInPathsStayInsideTheQuotedStrings) {
    services.environment.Variables["APPDATA"] = "C:\\Users\\o'brien\\AppData\\Roaming";
    services.program.Path = "C:\\Bob's Tools\\'); Remove-Item C:\\x; ('\\prog.exe";

    EXPECT_TRUE(EnsureStartMenuShortcut(platform, "Brindlock"));

    ASSERT_EQ(starts.size(), 1u);
    EXPECT_EQ(starts[0].commandLine,
              "powershell -ExecutionPolicy Bypass -Command \""
              "$s = New-Object -ComObject WScript.Shell; "
              "$lnk = $s.CreateShortcut('C:\\Users\\o''brien\\AppData\\Roaming\\Microsoft\\Windows\\Start "
              "Menu\\Programs\\Brindlock.lnk'); "
              "$lnk.TargetPath = 'C:\\Bob''s Tools\\''); Remove-Item C:\\x; (''\\prog.exe'; "
              "$lnk.WorkingDirectory = 'C:\\Bob''s Tools\\''); Remove-Item C:\\x; ('''; "
              "$lnk.Save();\"");
    // The existence test looks for the real file name, not the quoted one.
    EXPECT_EQ(files.Asked[0], "C:\\Users\\o'brien\\AppData\\Roaming\\Microsoft\\Windows\\Start Menu\\Programs\\Brindlock.lnk");
}

TEST_F(StartMenuShortcut, NoProgramsFolderNoShortcut) {
    const std::string tooLong = "C:\\" + std::string(218, 'a');  // 221 characters
    for (const std::string& appData : {std::string(), tooLong, tooLong + "\\"}) {
        services.environment.Variables["APPDATA"] = appData;
        EXPECT_FALSE(EnsureStartMenuShortcut(platform, "Brindlock")) << appData.size();
    }
    services.environment.Variables.erase("APPDATA");
    EXPECT_FALSE(EnsureStartMenuShortcut(platform, "Brindlock"));
    EXPECT_TRUE(starts.empty());
    EXPECT_TRUE(files.Asked.empty());
}

struct FolderCase {
    std::string appData;
    bool ok;
    std::string folder;  // when ok
};

TEST(StartMenuProgramsFolder, FitsInAPathBufferOrIsNotFormed) {
    const std::string suffix = "\\Microsoft\\Windows\\Start Menu\\Programs";
    const std::string len220 = "C:\\" + std::string(217, 'a');
    const std::string len221 = len220 + "b";
    const FolderCase cases[] = {
        {"C:\\Users\\u\\AppData\\Roaming", true, "C:\\Users\\u\\AppData\\Roaming" + suffix},
        {"C:\\Users\\u\\AppData\\Roaming\\", true, "C:\\Users\\u\\AppData\\Roaming" + suffix},
        {"D:/roaming/", true, "D:/roaming" + suffix},
        {"\\", true, suffix},                     // only the separator: it goes
        {"C:\\\\", true, "C:\\" + suffix},         // only one separator is dropped
        {len220, true, len220 + suffix},           // 220 + 38 + 1 = 259 bytes
        {len220 + "\\", true, len220 + suffix},
        {len221, false, ""},                      // 260 bytes do not fit
        {len221 + "/", false, ""},
        {std::string(259, 'x'), false, ""},
        {std::string(260, 'x'), false, ""},       // the value itself does not fit
        {"", false, ""},
    };
    for (const FolderCase& c : cases) {
        SCOPED_TRACE("APPDATA of " + std::to_string(c.appData.size()) + " characters");
        HeadlessEnvironment environment;
        environment.Variables["APPDATA"] = c.appData;
        char buffer[260];
        std::memset(buffer, '#', sizeof buffer);
        ASSERT_EQ(GetStartMenuProgramsFolder(environment, buffer, sizeof buffer), c.ok);
        if (c.ok) {
            EXPECT_EQ(std::string(buffer), c.folder);
        }
    }
}

TEST(StartMenuProgramsFolder, NoBufferNoFolder) {
    HeadlessEnvironment environment;
    environment.Variables["APPDATA"] = "C:\\x";
    char buffer[1] = {'#'};
    EXPECT_FALSE(GetStartMenuProgramsFolder(environment, nullptr, 260));
    EXPECT_FALSE(GetStartMenuProgramsFolder(environment, buffer, 0));
    EXPECT_EQ(buffer[0], '#');
    EXPECT_FALSE(GetStartMenuProgramsFolder(environment, buffer, 1));
    EXPECT_EQ(buffer[0], '\0');
}

TEST(ProgramFolder, KeepsTheBackslashOfARootOnly) {
    const struct {
        const char* program;
        const char* folder;
    } cases[] = {
        {"C:\\Tools\\prog.exe", "C:\\Tools"},
        {"C:\\prog.exe", "C:\\"},
        {"C:\\My Tools\\sub\\prog.exe", "C:\\My Tools\\sub"},
        {"\\\\server\\share\\prog.exe", "\\\\server\\share"},
        {"prog.exe", ""},
    };
    for (const auto& c : cases) EXPECT_EQ(ProgramFolderOf(c.program), c.folder) << c.program;
}

}  // namespace
}  // namespace brindlock
