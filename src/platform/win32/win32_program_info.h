// The program file's path and its command line, from the process itself.
#pragma once

#include "platform/program_info.h"

namespace brindlock {

class Win32ProgramInfo : public IProgramInfo {
public:
    std::string ProgramPath() override;
    Arguments ProgramArguments() override;
    std::string FullPathOf(const std::string& path) override;
};

}  // namespace brindlock
