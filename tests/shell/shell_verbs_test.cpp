#include "shell/shell_verbs.h"

#include <gtest/gtest.h>

#include "platform/headless/headless_integration.h"

namespace brindlock {
namespace {

using Root = RegistryRoot;

struct ExpectedWrite {
    Root root;
    const char* subKey;
    const char* valueName;  // null: the default value
    const char* data;
};

// Everything one call writes for a program in a folder with blanks, in order.
#define PROG "\"C:\\Program Files\\Brindlock\\Brindlock.exe\""
const ExpectedWrite kAllWrites[] = {
    {Root::ClassesRoot, "*\\shell\\1BrindlockOpen", nullptr, "Open with Brindlock"},
    {Root::ClassesRoot, "*\\shell\\1BrindlockOpen\\command", nullptr, PROG " \"%1\""},
    {Root::CurrentUser, "Software\\Classes\\*\\shell\\1BrindlockOpen", "Icon", PROG ",-102"},
    {Root::CurrentUser, "Software\\Classes\\*\\shell\\1BrindlockOpen\\command", nullptr, PROG " \"%1\""},
    {Root::ClassesRoot, "*\\shell\\2BrindlockEncrypt", nullptr, "Encrypt with Brindlock"},
    {Root::ClassesRoot, "*\\shell\\2BrindlockEncrypt\\command", nullptr, PROG " /encrypt \"%1\""},
    {Root::CurrentUser, "Software\\Classes\\*\\shell\\2BrindlockEncrypt", "Icon", PROG ",-100"},
    {Root::CurrentUser, "Software\\Classes\\*\\shell\\2BrindlockEncrypt", "MultiSelectModel", "Player"},
    {Root::CurrentUser, "Software\\Classes\\*\\shell\\2BrindlockEncrypt\\command", nullptr, PROG " /encrypt \"%1\""},
    {Root::ClassesRoot, "*\\shell\\3BrindlockDecrypt", nullptr, "Decrypt with Brindlock"},
    {Root::ClassesRoot, "*\\shell\\3BrindlockDecrypt\\command", nullptr, PROG " /decrypt \"%1\""},
    {Root::CurrentUser, "Software\\Classes\\*\\shell\\3BrindlockDecrypt", "Icon", PROG ",-101"},
    {Root::CurrentUser, "Software\\Classes\\*\\shell\\3BrindlockDecrypt", "MultiSelectModel", "Player"},
    {Root::CurrentUser, "Software\\Classes\\*\\shell\\3BrindlockDecrypt\\command", nullptr, PROG " /decrypt \"%1\""},
    {Root::ClassesRoot, "*\\shell\\4BrindlockErase", nullptr, "Erase with Brindlock"},
    {Root::ClassesRoot, "*\\shell\\4BrindlockErase\\command", nullptr, PROG " /erase \"%1\""},
    {Root::CurrentUser, "Software\\Classes\\*\\shell\\4BrindlockErase", "Icon", PROG ",-103"},
    {Root::CurrentUser, "Software\\Classes\\*\\shell\\4BrindlockErase", "MultiSelectModel", "Player"},
    {Root::CurrentUser, "Software\\Classes\\*\\shell\\4BrindlockErase\\command", nullptr, PROG " /erase \"%1\""},
};
#undef PROG

class ShellVerbsTest : public ::testing::Test {
protected:
    ShellVerbsTest() { services.AddTo(platform); }
    HeadlessIntegration services;
    Platform platform;
};

void ExpectWrites(const std::vector<HeadlessRegistry::ValueWrite>& writes, const std::vector<ExpectedWrite>& expected) {
    ASSERT_EQ(writes.size(), expected.size());
    for (size_t i = 0; i < expected.size(); ++i) {
        SCOPED_TRACE("write " + std::to_string(i) + ": " + expected[i].subKey);
        const auto& write = writes[i];
        EXPECT_EQ(write.root, expected[i].root);
        EXPECT_EQ(write.subKey, expected[i].subKey);
        if (expected[i].valueName) {
            EXPECT_EQ(write.valueName, std::optional<std::string>(expected[i].valueName));
        } else {
            EXPECT_FALSE(write.valueName.has_value()) << "default value expected, got " << *write.valueName;
        }
        EXPECT_EQ(write.type, kRegSz);
        const std::string data = expected[i].data;
        EXPECT_EQ(write.size, data.size() + 1);
        EXPECT_EQ(write.data, std::string(data.c_str(), data.size() + 1));  // the zero byte is written too
    }
}

TEST_F(ShellVerbsTest, WritesEveryValueUnderBothRootsInOrder) {
    RegisterShellVerbs(platform);

    ExpectWrites(services.registry.Writes, std::vector<ExpectedWrite>(std::begin(kAllWrites), std::end(kAllWrites)));
    EXPECT_EQ(services.registry.OpenKeys, 0) << "every key that was opened is closed";
    for (const auto& write : services.registry.Writes) {
        EXPECT_FALSE(write.subKey.find("1BrindlockOpen") != std::string::npos &&
                     write.valueName == std::optional<std::string>("MultiSelectModel"))
            << "the open verb takes one file only";
    }
}

TEST_F(ShellVerbsTest, KeysAreCreatedWithTheNarrowestAccess) {
    RegisterShellVerbs(platform);

    // Verb key under HKCR: set value + create subkey, no disposition; its
    // command key and every HKCU key: set value only.
    const auto& keys = services.registry.KeysCreated;
    ASSERT_EQ(keys.size(), 19u);
    for (const auto& key : keys) {
        SCOPED_TRACE(key.subKey);
        const bool classesVerbKey = key.root == Root::ClassesRoot && key.subKey.find("\\command") == std::string::npos;
        EXPECT_EQ(key.access, classesVerbKey ? 6u : 2u);
        EXPECT_EQ(key.wantedDisposition, key.root == Root::CurrentUser);
    }
}

TEST_F(ShellVerbsTest, RefusedClassesRootStillWritesEveryPerUserValue) {
    services.registry.RefusedRoots = {Root::ClassesRoot};
    RegisterShellVerbs(platform);

    std::vector<ExpectedWrite> perUser;
    for (const auto& write : kAllWrites) {
        if (write.root == Root::CurrentUser) perUser.push_back(write);
    }
    ExpectWrites(services.registry.Writes, perUser);
}

TEST_F(ShellVerbsTest, MovedProgramRewritesEveryPathWithTheNewOne) {
    RegisterShellVerbs(platform);
    services.registry.Writes.clear();
    services.program.Path = "D:\\x\\b.exe";
    RegisterShellVerbs(platform);

    ASSERT_EQ(services.registry.Writes.size(), 19u);
    EXPECT_EQ(services.registry.Writes[1].data, std::string("\"D:\\x\\b.exe\" \"%1\"") + '\0');
    EXPECT_EQ(services.registry.Writes[6].data, std::string("\"D:\\x\\b.exe\",-100") + '\0');
    for (const auto& write : services.registry.Writes) EXPECT_EQ(write.data.find("Program Files"), std::string::npos);
}

// A program path that could not be read (too long for the buffer) must not
// turn the good verbs of an earlier start into commands that run nothing.
TEST_F(ShellVerbsTest, WithoutTheProgramsPathNothingIsWritten) {
    services.program.Path = "";
    RegisterShellVerbs(platform);
    EXPECT_TRUE(services.registry.Writes.empty());
    EXPECT_TRUE(services.registry.KeysCreated.empty());
}

TEST(WriteRegistryStringTest, ReportsWhetherTheValueWasSet) {
    HeadlessRegistry registry;
    EXPECT_TRUE(WriteRegistryString(registry, Root::CurrentUser, "Software\\A", "", "x"));
    ASSERT_EQ(registry.Writes.size(), 1u);
    EXPECT_FALSE(registry.Writes[0].valueName.has_value()) << "an empty name is the default value";

    registry.RefusedRoots = {Root::CurrentUser};
    EXPECT_FALSE(WriteRegistryString(registry, Root::CurrentUser, "Software\\A", "v", "x"));
    EXPECT_EQ(registry.Writes.size(), 1u);
}

}  // namespace
}  // namespace brindlock
