#include "shell/start_menu_shortcut.h"

#include <cstring>

#include "platform/file_system.h"
#include "platform/process_launcher.h"
#include "platform/program_info.h"

namespace brindlock {
namespace {

constexpr const char kProgramsSuffix[] = "\\Microsoft\\Windows\\Start Menu\\Programs";
constexpr int32_t kProgramsSuffixLength = sizeof(kProgramsSuffix) - 1;
static_assert(kProgramsSuffixLength == 38);
constexpr int32_t kMaxPath = 260;

// The text as a PowerShell single-quoted string. Inside one, a quote is
// written twice; without that an apostrophe in a folder name would end the
// string, and a crafted name could run commands of its own.
std::string PowerShellLiteral(const std::string& text) {
    std::string literal = "'";
    for (char c : text) {
        literal += c;
        if (c == '\'') literal += '\'';
    }
    return literal + "'";
}

}  // namespace

bool GetStartMenuProgramsFolder(IEnvironment& environment, char* buffer, int32_t size) {
    if (!buffer || size <= 0) return false;
    buffer[0] = '\0';
    const uint32_t length = environment.GetVariable("APPDATA", buffer, static_cast<uint32_t>(size));
    if (length == 0 || length >= static_cast<uint32_t>(size)) return false;
    int32_t used = static_cast<int32_t>(length);
    if (buffer[used - 1] == '\\' || buffer[used - 1] == '/') buffer[--used] = '\0';
    if (used + kProgramsSuffixLength + 1 >= size) return false;
    std::memcpy(buffer + used, kProgramsSuffix, kProgramsSuffixLength + 1);
    return true;
}

std::string ProgramFolderOf(const std::string& programPath) {
    const size_t last = programPath.find_last_of("\\:");
    if (last == std::string::npos) return "";
    size_t end = last + 1;
    // "C:\Tools\" loses its backslash; "C:\" and "\\" stay roots.
    if (programPath[last] == '\\' && last > 0 && programPath[last - 1] != '\\' && programPath[last - 1] != ':') {
        end = last;
    }
    return programPath.substr(0, end);
}

std::string ShortcutCommandLine(const std::string& linkPath, const std::string& target,
                                const std::string& workingFolder) {
    return "powershell -ExecutionPolicy Bypass -Command \""
           "$s = New-Object -ComObject WScript.Shell; "
           "$lnk = $s.CreateShortcut(" + PowerShellLiteral(linkPath) + "); "
           "$lnk.TargetPath = " + PowerShellLiteral(target) + "; "
           "$lnk.WorkingDirectory = " + PowerShellLiteral(workingFolder) + "; "
           "$lnk.Save();\"";
}

bool EnsureStartMenuShortcut(const Platform& platform, const std::string& linkName) {
    char folder[kMaxPath] = {};
    if (!GetStartMenuProgramsFolder(*platform.Environment, folder, kMaxPath)) return false;
    const std::string linkPath = std::string(folder) + "\\" + linkName + ".lnk";
    // Whatever an existing shortcut points to, it is the user's now.
    if (platform.Files->FileExists(linkPath)) return true;
    const std::string target = platform.Program->ProgramPath();
    platform.Processes->WinExec(ShortcutCommandLine(linkPath, target, ProgramFolderOf(target)), kSwHide);
    return true;
}

}  // namespace brindlock
