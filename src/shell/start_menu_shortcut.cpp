#include "shell/start_menu_shortcut.h"

#include <algorithm>
#include <cstring>
#include <string_view>

#include "platform/file_system.h"
#include "platform/process_launcher.h"
#include "platform/program_info.h"

namespace brindlock {
namespace {

constexpr const char kProgramsSuffix[] = "\\Microsoft\\Windows\\Start Menu\\Programs";
constexpr int32_t kProgramsSuffixLength = sizeof(kProgramsSuffix) - 1;
static_assert(kProgramsSuffixLength == 38);
constexpr int32_t kMaxPath = 260;

// The length in bytes of the character that begins with `lead` in the code
// page: two for the lead bytes of the East Asian double-byte code pages, the
// sequence length in UTF-8, else one.
size_t CharacterLength(uint32_t codePage, unsigned char lead) {
    switch (codePage) {
    case 932:  // Japanese
        return (lead >= 0x81 && lead <= 0x9F) || (lead >= 0xE0 && lead <= 0xFC) ? 2 : 1;
    case 936:  // Simplified Chinese
    case 949:  // Korean
    case 950:  // Traditional Chinese
        return lead >= 0x81 && lead <= 0xFE ? 2 : 1;
    case 65001:  // UTF-8
        return lead >= 0xF0 ? 4 : lead >= 0xE0 ? 3 : lead >= 0xC0 ? 2 : 1;
    default:
        return 1;
    }
}

// PowerShell takes not only ' for a single quote but also the typographic
// ones U+2018, U+2019, U+201A and U+201B, inside a string as at its end. Our
// command line reaches it through the ANSI code page; these are the bytes
// those quotes have there (U+201A and U+201B are missing from some pages).
bool IsTypographicSingleQuote(uint32_t codePage, std::string_view c) {
    switch (codePage) {
    case 874:  // Thai
        return c == "\x91" || c == "\x92";
    case 1250: case 1251: case 1252: case 1253: case 1254:
    case 1255: case 1256: case 1257: case 1258:
        return c == "\x91" || c == "\x92" || c == "\x82";
    case 932:
        return c == "\x81\x65" || c == "\x81\x66";
    case 936:
    case 949:
        return c == "\xA1\xAE" || c == "\xA1\xAF";
    case 950:
        return c == "\xA1\xA5" || c == "\xA1\xA6";
    case 65001:
        return c.size() == 3 && c[0] == '\xE2' && c[1] == '\x80' && c[2] >= '\x98' && c[2] <= '\x9B';
    default:
        return false;
    }
}

// The text as a PowerShell single-quoted string. Inside one, a quote is
// written twice; without that an apostrophe in a folder name (or a
// typographic one such as U+2019) would end the string, and a crafted
// name could run commands of its own.
std::string PowerShellLiteral(const std::string& text, uint32_t codePage) {
    std::string literal = "'";
    for (size_t i = 0; i < text.size();) {
        const size_t length = std::min(CharacterLength(codePage, static_cast<unsigned char>(text[i])), text.size() - i);
        const std::string_view c(text.data() + i, length);
        literal += c;
        if (c == "'" || IsTypographicSingleQuote(codePage, c)) literal += c;
        i += length;
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
                                const std::string& workingFolder, uint32_t codePage) {
    return "powershell -ExecutionPolicy Bypass -Command \""
           "$s = New-Object -ComObject WScript.Shell; "
           "$lnk = $s.CreateShortcut(" + PowerShellLiteral(linkPath, codePage) + "); "
           "$lnk.TargetPath = " + PowerShellLiteral(target, codePage) + "; "
           "$lnk.WorkingDirectory = " + PowerShellLiteral(workingFolder, codePage) + "; "
           "$lnk.Save();\"";
}

bool EnsureStartMenuShortcut(const Platform& platform, const std::string& linkName) {
    char folder[kMaxPath] = {};
    if (!GetStartMenuProgramsFolder(*platform.Environment, folder, kMaxPath)) return false;
    const std::string linkPath = std::string(folder) + "\\" + linkName + ".lnk";
    // Whatever an existing shortcut points to, it is the user's now.
    if (platform.Files->FileExists(linkPath)) return true;
    const std::string target = platform.Program->ProgramPath();
    if (target.empty()) return false;  // a shortcut to nothing helps no one
    const std::string commandLine =
        ShortcutCommandLine(linkPath, target, ProgramFolderOf(target), platform.Environment->AnsiCodePage());
    platform.Processes->WinExec(commandLine, kSwHide);
    return true;
}

}  // namespace brindlock
