#include <gtest/gtest.h>

#include <string>

#include "fileops/temp_copy_path.h"
#include "platform/path_delimiters.h"

namespace brindlock {
namespace {

TEST(TempCopyPath, KeepsTheFolderAndTheExtensionOnly) {
    struct Case {
        const char* encrypted;
        const char* copy;
    };
    const Case cases[] = {
        {"C:\\docs\\$report.pdf", "C:\\docs\\_Brindlock.pdf"},
        {"C:\\docs\\$notes", "C:\\docs\\_Brindlock"},
        {"$a.tar.gz", "_Brindlock.gz"},
        {"C:\\my.docs\\$notes", "C:\\my.docs\\_Brindlock"},  // a period in a folder is no extension
        {"C:$x.txt", "C:_Brindlock.txt"},                      // a drive's colon ends the folder
        {"D:\\a\\b\\$c.", "D:\\a\\b\\_Brindlock."},
        {"", "_Brindlock"},
    };
    for (const Case& c : cases) EXPECT_EQ(TempCopyPathFor(c.encrypted, kWindowsPathDelimiters), c.copy) << c.encrypted;
}

TEST(TempCopyPath, UsesThePlatformsDelimitersByDefault) {
    const std::string sep(1, kPathSeparator);
    struct Case {
        std::string encrypted, copy;
    };
    const Case cases[] = {
        {"docs" + sep + "$report.pdf", "docs" + sep + "_Brindlock.pdf"},
        {"my.docs" + sep + "$notes", "my.docs" + sep + "_Brindlock"},
        {sep + "docs" + sep + "$a.tar.gz", sep + "docs" + sep + "_Brindlock.gz"},
    };
    for (const Case& c : cases) EXPECT_EQ(TempCopyPathFor(c.encrypted), c.copy) << c.encrypted;
}

}  // namespace
}  // namespace brindlock
