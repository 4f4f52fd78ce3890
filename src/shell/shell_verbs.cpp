#include "shell/shell_verbs.h"

#include <cstdint>

#include "platform/program_info.h"

namespace brindlock {
namespace {

// Every registry name and text the verbs use.
constexpr const char kClassesRootShellKey[] = "*\\shell\\";
constexpr const char kCurrentUserShellKey[] = "Software\\Classes\\*\\shell\\";
constexpr const char kCommandSubKey[] = "\\command";
constexpr const char kIconValue[] = "Icon";
constexpr const char kMultiSelectModelValue[] = "MultiSelectModel";
// Offers a verb for a selection of any number of files.
constexpr const char kMultiSelectPlayer[] = "Player";
constexpr const char kFileArgument[] = "\"%1\"";

struct ShellVerb {
    const char* keyName;
    const char* menuText;
    const char* commandSwitch;  // empty: the bare path, which opens it
    const char* iconResource;   // the icon group's identifier, negated
    bool multiSelect;
};

// Explorer sorts verbs by key name; the digits keep them in this order.
constexpr ShellVerb kShellVerbs[] = {
    {"1BrindlockOpen", "Open with Brindlock", "", "-102", false},
    {"2BrindlockEncrypt", "Encrypt with Brindlock", "/encrypt", "-100", true},
    {"3BrindlockDecrypt", "Decrypt with Brindlock", "/decrypt", "-101", true},
    {"4BrindlockErase", "Erase with Brindlock", "/erase", "-103", true},
};

std::string VerbCommand(const std::string& quotedProgram, const ShellVerb& verb) {
    std::string command = quotedProgram + " ";
    if (*verb.commandSwitch) command += std::string(verb.commandSwitch) + " ";
    return command + kFileArgument;
}

}  // namespace

bool WriteRegistryString(IRegistry& registry, RegistryRoot root, const std::string& subKey,
                         const std::string& valueName, const std::string& data) {
    RegistryKey key = 0;
    uint32_t disposition = 0;
    if (!registry.CreateKey(root, subKey, kKeySetValue, key, &disposition)) return false;
    const bool set = registry.SetValue(key, valueName.empty() ? nullptr : valueName.c_str(), kRegSz, data.c_str(),
                                       static_cast<uint32_t>(data.size() + 1));
    registry.CloseKey(key);
    return set;
}

void WriteClassesRootVerb(IRegistry& registry, const std::string& verb, const std::string& menuText,
                          const std::string& command) {
    const std::string verbKey = kClassesRootShellKey + verb;
    const struct {
        std::string subKey;
        uint32_t access;
        const std::string& data;
    } writes[] = {
        {verbKey, kKeySetValue | kKeyCreateSubKey, menuText},
        {verbKey + kCommandSubKey, kKeySetValue, command},
    };
    // The command key is written even when the verb key could not be.
    for (const auto& write : writes) {
        RegistryKey key = 0;
        if (!registry.CreateKey(RegistryRoot::ClassesRoot, write.subKey, write.access, key, nullptr)) continue;
        registry.SetValue(key, nullptr, kRegSz, write.data.c_str(), static_cast<uint32_t>(write.data.size() + 1));
        registry.CloseKey(key);
    }
}

void RegisterShellVerbs(const Platform& platform) {
    IRegistry& registry = *platform.Registry;
    const std::string program = platform.Program->ProgramPath();
    // Without the program's path (one too long to read) the verbs would run
    // nothing; the ones written by an earlier start are left as they are.
    if (program.empty()) return;
    const std::string quotedProgram = "\"" + program + "\"";
    for (const ShellVerb& verb : kShellVerbs) {
        const std::string command = VerbCommand(quotedProgram, verb);
        WriteClassesRootVerb(registry, verb.keyName, verb.menuText, command);
        const std::string userKey = kCurrentUserShellKey + std::string(verb.keyName);
        WriteRegistryString(registry, RegistryRoot::CurrentUser, userKey, kIconValue,
                            quotedProgram + "," + verb.iconResource);
        if (verb.multiSelect) {
            WriteRegistryString(registry, RegistryRoot::CurrentUser, userKey, kMultiSelectModelValue,
                                kMultiSelectPlayer);
        }
        WriteRegistryString(registry, RegistryRoot::CurrentUser, userKey + kCommandSubKey, "", command);
    }
}

}  // namespace brindlock
