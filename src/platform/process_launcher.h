// Starting other programs.
#pragma once

#include <cstdint>
#include <string>

namespace brindlock {

constexpr uint32_t kSwHide = 0;

class IProcessLauncher {
public:
    virtual ~IProcessLauncher() = default;
    // WinExec(commandLine, show): starts the program and returns at once;
    // a result above 31 means it was started.
    virtual uint32_t WinExec(const std::string& commandLine, uint32_t show) = 0;
};

}  // namespace brindlock
