#include "platform/win32/win32_program_info.h"

#include <windows.h>

namespace brindlock {

std::string Win32ProgramInfo::ProgramPath() {
    char path[MAX_PATH] = {};
    const DWORD length = GetModuleFileNameA(nullptr, path, sizeof path);
    // A path cut at the buffer's end is no path at all.
    if (length == 0 || length >= sizeof path) return {};
    return std::string(path, length);
}

Arguments Win32ProgramInfo::ProgramArguments() {
    Arguments arguments = SplitCommandLine(GetCommandLineA());
    // The program as written on the command line may be relative or quoted
    // differently; argument 0 is always the program file's full path.
    if (arguments.empty()) arguments.emplace_back();
    arguments[0] = ProgramPath();
    return arguments;
}

std::string Win32ProgramInfo::FullPathOf(const std::string& path) {
    if (path.empty()) return path;
    std::string full(MAX_PATH, '\0');
    for (;;) {
        const DWORD length = GetFullPathNameA(path.c_str(), static_cast<DWORD>(full.size()), full.data(), nullptr);
        if (length == 0) return path;
        if (length < full.size()) {
            full.resize(length);
            return full;
        }
        full.resize(length);  // the size it needs, its zero byte included
    }
}

}  // namespace brindlock
