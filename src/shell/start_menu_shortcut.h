// The Start Menu shortcut to this program, made by a hidden PowerShell that
// uses WScript.Shell. The program neither waits for it nor learns whether it
// worked; a shortcut that was not made is tried again at the next start.
#pragma once

#include <cstdint>
#include <string>

#include "platform/environment.h"
#include "platform/platform.h"

namespace brindlock {

// Writes "%APPDATA%\Microsoft\Windows\Start Menu\Programs" (one trailing "\"
// or "/" of APPDATA dropped) into the buffer and returns true, or returns
// false when APPDATA is unset or the folder does not fit in `size` bytes.
bool GetStartMenuProgramsFolder(IEnvironment& environment, char* buffer, int32_t size);

// Starts the creation of <Programs folder>\<linkName>.lnk unless a file of
// that name exists. True when it exists or its creation was started; false
// when the Programs folder cannot be formed.
bool EnsureStartMenuShortcut(const Platform& platform, const std::string& linkName);

// The folder of a program file: without its trailing backslash, except that
// a drive root keeps it ("C:\prog.exe" gives "C:\").
std::string ProgramFolderOf(const std::string& programPath);

// The PowerShell command line that saves a shortcut at `linkPath` to
// `target`, started in `workingFolder`. The paths are texts of the ANSI code
// page `codePage`, which decides what PowerShell will read as quotes in them.
std::string ShortcutCommandLine(const std::string& linkPath, const std::string& target,
                                const std::string& workingFolder, uint32_t codePage);

}  // namespace brindlock
