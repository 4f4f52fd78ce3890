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

TEST_F(StartMenuShortcut, WithoutTheProgramsPathNoShortcutIsMade) {
    services.program.Path = "";
    EXPECT_FALSE(EnsureStartMenuShortcut(platform, "Brindlock"));
    EXPECT_TRUE(starts.empty());
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

// PowerShell also ends a single-quoted string at the typographic single
// quotes; which bytes of a path become one depends on the ANSI code page.
TEST_F(StartMenuShortcut, TypographicQuotesOfTheCodePageAreWrittenTwice) {
    const struct {
        uint32_t codePage;
        std::string folder;  // of the program, under C:\ (bytes of that code page)
        std::string quoted;  // as it must stand inside the PowerShell string
    } cases[] = {
        // Western: U+2019, U+2018 and U+201A are bytes of their own; 0x8B is U+2039, no quote.
        {1252, "Bob\x92s Tools", "Bob\x92\x92s Tools"},
        {1252, "\x91x\x82y\x8B", "\x91\x91x\x82\x82y\x8B"},
        {1251, "\x91\x92\x82", "\x91\x91\x92\x92\x82\x82"},   // Cyrillic: the same bytes
        {874, "\x91\x82\x92", "\x91\x91\x82\x92\x92"},        // Thai: no U+201A
        // Japanese: U+2019 is 0x81 0x66; 0x92 0x86 is a kanji, and in 0x88 0x81 0x66
        // the 0x81 is the second byte of a character and 0x66 a plain "f".
        {932, "a\x81\x66" "b", "a\x81\x66\x81\x66" "b"},
        {932, "\x92\x86\x88\x81\x66", "\x92\x86\x88\x81\x66"},
        {936, "\xA1\xAE\xD6\xD0", "\xA1\xAE\xA1\xAE\xD6\xD0"},
        {949, "\xA1\xAF", "\xA1\xAF\xA1\xAF"},
        {950, "\xA1\xA5\xA1\xAE", "\xA1\xA5\xA1\xA5\xA1\xAE"},
        // UTF-8: U+2019 and U+201B doubled, the double quote U+201C is no single quote.
        {65001, "\xE2\x80\x99" "a\xE2\x80\x9B\xE2\x80\x9C", "\xE2\x80\x99\xE2\x80\x99" "a\xE2\x80\x9B\xE2\x80\x9B\xE2\x80\x9C"},
        // A code page without typographic quotes: only the apostrophe.
        {437, "it's\x92", "it''s\x92"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE("code page " + std::to_string(c.codePage) + ", folder " + c.folder);
        services.environment.CodePage = c.codePage;
        services.program.Path = "C:\\" + c.folder + "\\prog.exe";
        services.processes.Starts.clear();
        files.Asked.clear();

        EXPECT_TRUE(EnsureStartMenuShortcut(platform, "Brindlock"));

        ASSERT_EQ(starts.size(), 1u);
        const std::string& line = starts[0].commandLine;
        EXPECT_NE(line.find("$lnk.TargetPath = 'C:\\" + c.quoted + "\\prog.exe'; "), std::string::npos) << line;
        EXPECT_NE(line.find("$lnk.WorkingDirectory = 'C:\\" + c.quoted + "'; "), std::string::npos) << line;
        EXPECT_NE(line.find("CreateShortcut('C:\\Users\\user\\AppData\\Roaming\\"), std::string::npos) << line;
    }
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
