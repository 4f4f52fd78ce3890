#include "app/command.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cstring>

namespace brindlock {
namespace {

using ::testing::ElementsAreArray;

const char* const kProgram = "C:\\Tools\\Brindlock.exe";

Arguments Args(std::vector<std::string> rest) {
    rest.insert(rest.begin(), kProgram);
    return rest;
}

struct ArgumentCase {
    std::vector<std::string> arguments;  // after the program path
    std::string packet;                  // EncodeCommandPacket
    bool hasCommand;                     // CommandFromArguments gives one
    char mode;
    std::vector<std::string> files;
};

const ArgumentCase kArgumentCases[] = {
    {{}, "O", false, 0, {}},
    {{"/encrypt", "a.txt"}, "E|a.txt", true, 'E', {"a.txt"}},
    {{"/Decrypt", "x", "y"}, "D|x|y", true, 'D', {"x", "y"}},
    {{"/ERASE", "C:\\a.txt"}, "W|C:\\a.txt", true, 'W', {"C:\\a.txt"}},
    // A switch with nothing after it is a path.
    {{"/erase"}, "O|/erase", true, 'O', {"/erase"}},
    // Only the first argument is read as a switch.
    {{"a.txt", "/erase"}, "O|a.txt|/erase", true, 'O', {"a.txt", "/erase"}},
    // Near misses are paths.
    {{"-encrypt", "a"}, "O|-encrypt|a", true, 'O', {"-encrypt", "a"}},
    {{"/encrypt2", "a"}, "O|/encrypt2|a", true, 'O', {"/encrypt2", "a"}},
    // The packet leaves out empty arguments; the direct command keeps them.
    {{"/encrypt", "", "b"}, "E|b", true, 'E', {"", "b"}},
    {{"C:\\My Docs\\$a.pdf"}, "O|C:\\My Docs\\$a.pdf", true, 'O', {"C:\\My Docs\\$a.pdf"}},
};

TEST(CommandArguments, ModePacketAndDirectCommand) {
    for (const auto& c : kArgumentCases) {
        const Arguments args = Args(c.arguments);
        SCOPED_TRACE(c.packet);
        EXPECT_EQ(EncodeCommandPacket(args), c.packet);
        const auto command = CommandFromArguments(args);
        ASSERT_EQ(command.has_value(), c.hasCommand);
        if (!command) continue;
        EXPECT_EQ(command->Mode, c.mode);
        EXPECT_THAT(command->Files, ElementsAreArray(c.files));
    }
}

// Paths are made full before they leave the start that was given them; the
// switch, the program, empty arguments and refused paths stay as written.
TEST(WithFullPaths, OnlyPathsAreMadeFull) {
    const auto full = [](const std::string& path) { return "C:\\docs\\" + path; };
    const Arguments given = {"prog.exe", "/encrypt", "a.txt", "", "-x", "/y", "sub\\b c.txt"};
    const Arguments expected = {"prog.exe", "/encrypt", "C:\\docs\\a.txt", "", "-x", "/y", "C:\\docs\\sub\\b c.txt"};
    EXPECT_EQ(WithFullPaths(given, full), expected);
    EXPECT_EQ(WithFullPaths({"prog.exe"}, full), Arguments{"prog.exe"});
}

TEST(SelectMode, FirstFileIndex) {
    EXPECT_EQ(SelectMode(Args({"/encrypt", "a"})).FirstFile, 2);
    EXPECT_EQ(SelectMode(Args({"/encrypt"})).FirstFile, 1);
    EXPECT_EQ(SelectMode(Args({})).Mode, 'O');
}

std::optional<Command> DecodeText(const std::string& text) {
    CopyDataView view{kCommandPacketId, static_cast<uint32_t>(text.size() + 1), text.c_str()};
    return DecodeCommandPacket(&view);
}

struct PacketCase {
    std::string text;
    bool hasCommand;
    char mode;
    std::vector<std::string> files;
};

const PacketCase kPacketCases[] = {
    {"E|C:\\docs\\a.txt|C:\\docs\\b.txt", true, 'E', {"C:\\docs\\a.txt", "C:\\docs\\b.txt"}},
    {"W||a||b|", true, 'W', {"a", "b"}},
    {"Ox|y", true, 'O', {"x", "y"}},
    {"X|a", true, 'X', {"a"}},  // any letter decodes; intake judges it
    {"O", false, 0, {}},
    {"E", false, 0, {}},
    {"E|", false, 0, {}},
    {"E|||", false, 0, {}},
    {"", false, 0, {}},
};

TEST(DecodeCommandPacket, Texts) {
    for (const auto& c : kPacketCases) {
        SCOPED_TRACE(c.text);
        const auto command = DecodeText(c.text);
        ASSERT_EQ(command.has_value(), c.hasCommand);
        if (!command) continue;
        EXPECT_EQ(command->Mode, c.mode);
        EXPECT_THAT(command->Files, ElementsAreArray(c.files));
    }
}

TEST(DecodeCommandPacket, RefusesMissingData) {
    const char text[] = "E|a";
    EXPECT_FALSE(DecodeCommandPacket(nullptr));
    CopyDataView noData{1, 4, nullptr};
    EXPECT_FALSE(DecodeCommandPacket(&noData));
    CopyDataView zeroLength{1, 0, text};
    EXPECT_FALSE(DecodeCommandPacket(&zeroLength));
}

TEST(DecodeCommandPacket, DwDataIsNotExamined) {
    const char text[] = "D|a";
    CopyDataView view{77, sizeof text, text};
    ASSERT_TRUE(DecodeCommandPacket(&view));
}

TEST(DecodeCommandPacket, StopsAtTheFirstZeroByte) {
    const char text[] = "E|a\0|b";
    CopyDataView view{1, sizeof text, text};
    const auto command = DecodeCommandPacket(&view);
    ASSERT_TRUE(command);
    EXPECT_THAT(command->Files, ElementsAreArray({"a"}));
}

TEST(DecodeCommandPacket, NeverReadsBeyondCbData) {
    // No zero byte within cbData: the packet is cbData bytes of text. The
    // bytes sit at the very end of a heap block so that a read past cbData
    // is caught by the sanitizer builds.
    const std::string text = "E|abc|de";
    auto* block = new char[text.size()];
    std::memcpy(block, text.data(), text.size());
    CopyDataView view{1, static_cast<uint32_t>(text.size() - 1), block};  // cut inside "de"
    const auto command = DecodeCommandPacket(&view);
    delete[] block;
    ASSERT_TRUE(command);
    EXPECT_THAT(command->Files, ElementsAreArray({"abc", "d"}));
}

TEST(CommandPacket, DecodeOfEncodeGivesTheSameCommand) {
    const std::vector<std::vector<std::string>> lists = {
        {"/encrypt", "C:\\a.txt"},
        {"/decrypt", "C:\\x y\\$b.doc", "D:\\z", "C:\\x y\\$b.doc"},
        {"/erase", "a", "b", "c", "d"},
        {"C:\\docs\\$report.pdf"},
        {"C:\\docs\\$report.pdf", "C:\\other"},
    };
    for (const auto& list : lists) {
        const Arguments args = Args(list);
        const auto direct = CommandFromArguments(args);
        const auto decoded = DecodeText(EncodeCommandPacket(args));
        ASSERT_TRUE(direct && decoded);
        EXPECT_EQ(decoded->Mode, direct->Mode);
        EXPECT_EQ(decoded->Files, direct->Files);
    }
}

struct SplitCase {
    std::string line;
    std::vector<std::string> arguments;
};

const SplitCase kSplitCases[] = {
    {"prog.exe", {"prog.exe"}},
    {"prog.exe /encrypt a.txt", {"prog.exe", "/encrypt", "a.txt"}},
    {"\"C:\\Program Files\\B\\prog.exe\" /encrypt \"C:\\My Docs\\a b.txt\"",
     {"C:\\Program Files\\B\\prog.exe", "/encrypt", "C:\\My Docs\\a b.txt"}},
    {"prog.exe   \t a\r\nb", {"prog.exe", "a", "b"}},
    {"prog.exe \"\" a \"\"", {"prog.exe", "a"}},  // quote pairs between arguments
    {"prog.exe ab\"c d\"e", {"prog.exe", "abc de"}},  // quotes inside an argument
    {"prog.exe \"unclosed arg", {"prog.exe", "unclosed arg"}},
    {"prog.exe \"", {"prog.exe"}},  // never an empty argument
    {"prog.exe \xe4\xf6", {"prog.exe", "\xe4\xf6"}},  // high bytes are not separators
    {"", {}},
};

TEST(SplitCommandLine, Rule) {
    for (const auto& c : kSplitCases) EXPECT_THAT(SplitCommandLine(c.line), ElementsAreArray(c.arguments)) << c.line;
}

}  // namespace
}  // namespace brindlock
