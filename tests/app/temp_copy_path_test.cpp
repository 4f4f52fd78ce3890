#include <gtest/gtest.h>

#include "app/temp_copy_path.h"

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

}  // namespace
}  // namespace brindlock
