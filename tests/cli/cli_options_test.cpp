// The command line of brindlock-cli.
#include <gtest/gtest.h>

#include "cli_options.h"

namespace brindlock::cli {
namespace {

struct OptionsCase {
    std::vector<std::string> args;
    bool ok;
    Action action;
    std::vector<std::string> files;
    std::string passwordFile;
    int32_t passes;
};

TEST(CliOptions, Table) {
    const std::vector<OptionsCase> cases = {
        {{"encrypt", "a", "b"}, true, Action::Encrypt, {"a", "b"}, "", 5},
        {{"decrypt", "--password-file", "pw.txt", "$a"}, true, Action::Decrypt, {"$a"}, "pw.txt", 5},
        {{"erase", "--passes", "0", "a"}, true, Action::Erase, {"a"}, "", 0},
        {{"erase", "a", "--passes", "12"}, true, Action::Erase, {"a"}, "", 12},
        {{"erase", "--", "--passes"}, true, Action::Erase, {"--passes"}, "", 5},
        {{"encrypt", "-"}, true, Action::Encrypt, {"-"}, "", 5},
        {{}, false, Action::Encrypt, {}, "", 5},
        {{"shred", "a"}, false, Action::Encrypt, {}, "", 5},
        {{"encrypt"}, false, Action::Encrypt, {}, "", 5},
        {{"encrypt", "--password", "x", "a"}, false, Action::Encrypt, {}, "", 5},
        {{"decrypt", "--password=x", "a"}, false, Action::Encrypt, {}, "", 5},
        {{"encrypt", "--password-file"}, false, Action::Encrypt, {}, "", 5},
        {{"encrypt", "--passes", "3", "a"}, false, Action::Encrypt, {}, "", 5},
        {{"erase", "--password-file", "p", "a"}, false, Action::Encrypt, {}, "", 5},
        {{"erase", "--passes", "-1", "a"}, false, Action::Encrypt, {}, "", 5},
        {{"erase", "--passes", "3x", "a"}, false, Action::Encrypt, {}, "", 5},
        {{"erase", "--passes", "99999999999", "a"}, false, Action::Encrypt, {}, "", 5},
        {{"erase", "--passes"}, false, Action::Encrypt, {}, "", 5},
    };
    for (const OptionsCase& c : cases) {
        std::string joined;
        for (const auto& a : c.args) joined += a + " ";
        Options options;
        std::string error;
        const bool ok = ParseOptions(c.args, options, error);
        ASSERT_EQ(ok, c.ok) << joined << error;
        if (!ok) {
            EXPECT_FALSE(error.empty()) << joined;
            continue;
        }
        EXPECT_EQ(options.action, c.action) << joined;
        EXPECT_EQ(options.files, c.files) << joined;
        EXPECT_EQ(options.passwordFile, c.passwordFile) << joined;
        EXPECT_EQ(options.passes, c.passes) << joined;
    }
}

TEST(CliOptions, PasswordOnTheCommandLineIsRefusedWithAReason) {
    Options options;
    std::string error;
    EXPECT_FALSE(ParseOptions({"encrypt", "--password", "hunter2", "a"}, options, error));
    EXPECT_NE(error.find("--password-file"), std::string::npos);
    EXPECT_EQ(error.find("hunter2"), std::string::npos);
}

}  // namespace
}  // namespace brindlock::cli
