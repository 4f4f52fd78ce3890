#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/hand_off.h"
#include "platform/file_system.h"
#include "platform/headless/headless_instance_link.h"
#include "platform/headless/headless_integration.h"
#include "platform/whole_file.h"
#include "support/faulty_file_system.h"
#include "support/temp_folder.h"

namespace brindlock {
namespace {

using test::Bytes;

Bytes BytesOf(const std::string& text) { return Bytes(text.begin(), text.end()); }

const std::string kBlock =
    "=== MESSENGER INSTANCE ===\r\n"
    "Raw ParamCount = 2\r\n"
    "ParamStr(0) = [C:\\Tools\\prog.exe]\r\n"
    "ParamStr(1) = [/erase]\r\n"
    "ParamStr(2) = [C:\\a.txt]\r\n"
    "===========================\r\n";
const Arguments kErase = {"C:\\Tools\\prog.exe", "/erase", "C:\\a.txt"};

TEST(HandOffLog, SplitsLinesAtEveryKindOfLineEnd) {
    struct Case {
        std::string text;
        std::vector<std::string> lines;
    };
    const Case cases[] = {
        {"", {}},
        {"a", {"a"}},
        {"a\r\n", {"a"}},
        {"a\rb\nc\r\nd", {"a", "b", "c", "d"}},
        {"a\n\r\nb\r", {"a", "", "b"}},
        {"\r\n\r\n", {"", ""}},
        {"a\n\rb", {"a", "", "b"}},
    };
    for (const Case& c : cases) EXPECT_EQ(SplitLines(c.text), c.lines) << testing::PrintToString(c.text);
}

TEST(HandOffLog, AppendsOneExactBlockPerStartKeepingEarlierLines) {
    test::TempFolder folder;
    const std::string log = folder.Path("debug_messenger.txt");
    WriteHandOffLog(NativeFileSystem(), log, kErase);
    EXPECT_EQ(folder.Read("debug_messenger.txt"), BytesOf(kBlock));

    // Lines of any ending are kept and ended by CR LF; so is a last line without one.
    folder.Write("debug_messenger.txt", BytesOf("one\ntwo\rthree"));
    WriteHandOffLog(NativeFileSystem(), log, kErase);
    WriteHandOffLog(NativeFileSystem(), log, {"C:\\Tools\\prog.exe"});
    const std::string none =
        "=== MESSENGER INSTANCE ===\r\nRaw ParamCount = 0\r\nParamStr(0) = [C:\\Tools\\prog.exe]\r\n"
        "===========================\r\n";
    EXPECT_EQ(folder.Read("debug_messenger.txt"), BytesOf("one\r\ntwo\r\nthree\r\n" + kBlock + none));
    EXPECT_EQ(folder.List(), std::set<std::string>{"debug_messenger.txt"});
}

TEST(HandOffLog, AnExistenceCheckThatErrsCostsNoEarlierLine) {
    test::TempFolder folder;
    folder.Write("debug_messenger.txt", BytesOf("earlier\r\n"));
    test::FaultyFileSystem files(NativeFileSystem());
    files.FailOn("FileExists");
    WriteHandOffLog(files, folder.Path("debug_messenger.txt"), kErase);
    EXPECT_EQ(folder.Read("debug_messenger.txt"), BytesOf("earlier\r\n" + kBlock));
}

TEST(HandOffLog, FailuresAreSwallowedAndTheLogIsLeftAsItWas) {
    for (const char* call : {"OpenRead", "Read", "CreateTempBeside", "Write", "MoveReplace"}) {
        SCOPED_TRACE(call);
        test::TempFolder folder;
        folder.Write("debug_messenger.txt", BytesOf("earlier\r\n"));
        test::FaultyFileSystem files(NativeFileSystem());
        files.FailOn(call);
        WriteHandOffLog(files, folder.Path("debug_messenger.txt"), kErase);
        EXPECT_EQ(folder.Read("debug_messenger.txt"), BytesOf("earlier\r\n"));
        // No half-written file is left beside it.
        EXPECT_EQ(folder.List(), std::set<std::string>{"debug_messenger.txt"});
    }
}

TEST(HandOff, SearchesFiftyTimesAHundredMillisecondsApart) {
    struct Case {
        int appearsAt;
        int searches;
        int sleeps;
        bool sent;
    };
    const Case cases[] = {{1, 1, 0, true}, {7, 7, 6, true}, {50, 50, 49, true}, {51, 50, 50, false}, {0, 50, 50, false}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.appearsAt);
        HeadlessInstanceLink link;
        HeadlessSleeper sleeper;
        link.WindowAppearsAtSearch = c.appearsAt;
        EXPECT_EQ(HandOffToRunningInstance(link, sleeper, "E|C:\\a.txt"), c.sent);
        EXPECT_EQ(link.Searches, c.searches);
        EXPECT_EQ(sleeper.Sleeps, std::vector<uint32_t>(c.sleeps, 100));
        for (const std::string& cls : link.SearchedClasses) EXPECT_EQ(cls, "TForm1");
        ASSERT_EQ(link.Packets.size(), c.sent ? 1u : 0u);
        if (c.sent) {
            EXPECT_EQ(link.Packets[0].window, link.Window);
            EXPECT_EQ(link.Packets[0].dwData, 1u);
            EXPECT_EQ(link.Packets[0].cbData, 11u);
            EXPECT_EQ(link.Packets[0].bytes, std::string("E|C:\\a.txt\0", 11));
        }
    }
}

class ProgramEntry : public ::testing::Test {
protected:
    ProgramEntry() { program.Path = folder.Path("Brindlock.exe"); }
    test::TempFolder folder;
    HeadlessInstanceLink link;
    HeadlessSleeper sleeper;
    HeadlessProgramInfo program;
};

TEST_F(ProgramEntry, AFirstStartHandsNothingOver) {
    EXPECT_FALSE(HandOffIfSecondStart(link, program, NativeFileSystem(), sleeper));
    EXPECT_EQ(link.MarkersCreated, std::vector<std::string>{"Pellmar_SingleInstance_Mutex"});
    EXPECT_EQ(link.Searches, 0);
    EXPECT_TRUE(folder.List().empty());
}

TEST_F(ProgramEntry, ASecondStartLogsBesideTheProgramAndSendsItsPacket) {
    link.AnotherInstanceRuns = true;
    program.Args = {"/encrypt", folder.Path("a.txt"), folder.Path("missing.txt")};
    EXPECT_TRUE(HandOffIfSecondStart(link, program, NativeFileSystem(), sleeper));
    const std::string expected = "=== MESSENGER INSTANCE ===\r\nRaw ParamCount = 3\r\nParamStr(0) = [" + program.Path +
                                 "]\r\nParamStr(1) = [/encrypt]\r\nParamStr(2) = [" + folder.Path("a.txt") +
                                 "]\r\nParamStr(3) = [" + folder.Path("missing.txt") + "]\r\n" +
                                 std::string(27, '=') + "\r\n";
    EXPECT_EQ(folder.Read("debug_messenger.txt"), BytesOf(expected));
    EXPECT_EQ(link.LockAcquisitions, 1);
    EXPECT_EQ(link.LockReleases, 1);
    ASSERT_EQ(link.Packets.size(), 1u);
    const std::string packet = "E|" + folder.Path("a.txt") + "|" + folder.Path("missing.txt");
    EXPECT_EQ(link.Packets[0].bytes, packet + '\0');
}

// The running instance has a current folder of its own: a path given
// relative to the second start's folder reaches it full. The log keeps the
// command line as it was given.
TEST_F(ProgramEntry, ASecondStartHandsOverFullPathsAndLogsThemAsGiven) {
    link.AnotherInstanceRuns = true;
    program.CurrentFolder = "C:\\docs\\";
    program.Args = {"/erase", "a.txt", "-x", "sub\\b.txt"};
    EXPECT_TRUE(HandOffIfSecondStart(link, program, NativeFileSystem(), sleeper));
    const auto log = folder.Read("debug_messenger.txt");
    ASSERT_TRUE(log);
    const std::string text(log->begin(), log->end());
    EXPECT_NE(text.find("ParamStr(2) = [a.txt]\r\n"), std::string::npos) << text;
    EXPECT_NE(text.find("ParamStr(4) = [sub\\b.txt]\r\n"), std::string::npos) << text;
    ASSERT_EQ(link.Packets.size(), 1u);
    EXPECT_EQ(link.Packets[0].bytes, std::string("W|C:\\docs\\a.txt|-x|C:\\docs\\sub\\b.txt") + '\0');
}

// Without the program's path the log has no place: it is not written into
// the current folder, and the command is handed over all the same.
TEST_F(ProgramEntry, ASecondStartWithoutTheProgramsPathHandsOverWithoutALog) {
    link.AnotherInstanceRuns = true;
    program.Path = "";
    program.Args = {"/erase", folder.Path("a.txt")};
    test::FaultyFileSystem files(NativeFileSystem());
    EXPECT_TRUE(HandOffIfSecondStart(link, program, files, sleeper));
    EXPECT_TRUE(files.log.empty()) << files.log.front();
    EXPECT_EQ(link.LockAcquisitions, 0);
    ASSERT_EQ(link.Packets.size(), 1u);
    EXPECT_EQ(link.Packets[0].bytes, "W|" + folder.Path("a.txt") + '\0');
}

TEST_F(ProgramEntry, ASecondStartHandsOverEvenWhenTheLogCannotBeWritten) {
    link.AnotherInstanceRuns = true;
    test::FaultyFileSystem files(NativeFileSystem());
    files.FailOn("CreateTempBeside");
    EXPECT_TRUE(HandOffIfSecondStart(link, program, files, sleeper));
    ASSERT_EQ(link.Packets.size(), 1u);
    EXPECT_EQ(link.Packets[0].bytes, std::string("O\0", 2));
}

}  // namespace
}  // namespace brindlock
