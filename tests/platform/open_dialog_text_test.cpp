#include "platform/open_dialog_text.h"

#include <gtest/gtest.h>

namespace brindlock {
namespace {

using Files = std::vector<std::string>;

TEST(OpenDialogFilter, BarsBecomeZeroBytesAndTheListEndsWithTwo) {
    using namespace std::string_literals;
    EXPECT_EQ(OpenDialogFilter("Encoded Files ($*.*)|$*.*|All Files (*.*)|*.*"),
              "Encoded Files ($*.*)\0$*.*\0All Files (*.*)\0*.*\0\0"s);
    EXPECT_EQ(OpenDialogFilter(""), "\0\0"s);
}

struct ChosenCase {
    const char* name;
    std::string buffer;  // as the dialog filled it, zero bytes included
    Files expected;
};

class OpenDialogChosenFilesTest : public testing::TestWithParam<ChosenCase> {};

TEST_P(OpenDialogChosenFilesTest, GivesFullPathsInTheDialogsOrder) {
    const ChosenCase& c = GetParam();
    EXPECT_EQ(OpenDialogChosenFiles(c.buffer.data(), c.buffer.size()), c.expected);
}

using namespace std::string_literals;
INSTANTIATE_TEST_SUITE_P(
    Buffers, OpenDialogChosenFilesTest,
    testing::Values(
        ChosenCase{"OneFileIsAFullPath", "C:\\docs\\$a.txt\0\0"s, {"C:\\docs\\$a.txt"}},
        ChosenCase{"SeveralFilesShareTheFolder", "C:\\docs\0b.txt\0a.txt\0\0"s, {"C:\\docs\\b.txt", "C:\\docs\\a.txt"}},
        // The drive's root comes with its backslash already.
        ChosenCase{"RootFolderKeepsOneBackslash", "C:\\\0x\0y\0\0"s, {"C:\\x", "C:\\y"}},
        ChosenCase{"NamesWithBlanksStayWhole", "C:\\my docs\0a b.txt\0c.txt\0\0"s, {"C:\\my docs\\a b.txt", "C:\\my docs\\c.txt"}},
        ChosenCase{"AFullPathAmongTheNamesIsKept", "C:\\docs\0a\0D:\\other\\b\0\0"s, {"C:\\docs\\a", "D:\\other\\b"}},
        ChosenCase{"NetworkFolder", "\\\\srv\\share\0a\0b\0\0"s, {"\\\\srv\\share\\a", "\\\\srv\\share\\b"}},
        ChosenCase{"EmptyBufferChoosesNothing", "\0\0"s, {}},
        // A buffer the dialog filled to the brim without the closing zero
        // bytes is read to its end, never past it.
        ChosenCase{"UnterminatedBufferStopsAtItsSize", "C:\\d\0a\0bc"s, {"C:\\d\\a", "C:\\d\\bc"}}),
    [](const testing::TestParamInfo<ChosenCase>& c) { return c.param.name; });

}  // namespace
}  // namespace brindlock
