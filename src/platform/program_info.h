// Facts about the running program file.
#pragma once

#include <string>

#include "app/command.h"

namespace brindlock {

class IProgramInfo {
public:
    virtual ~IProgramInfo() = default;
    // GetModuleFileNameA with no module handle and a buffer of 260 bytes: the
    // full path of the program file, or an empty text when it fails.
    virtual std::string ProgramPath() = 0;
    // The program arguments: element 0 is ProgramPath(), elements 1..n the
    // arguments that followed the program on its command line, split by
    // SplitCommandLine.
    virtual Arguments ProgramArguments() = 0;
    // GetFullPathNameA: `path` taken against the current folder and drive,
    // or `path` itself when that fails.
    virtual std::string FullPathOf(const std::string& path) = 0;
};

}  // namespace brindlock
