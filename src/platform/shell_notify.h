// Telling the desktop shell that a folder's contents changed, so open
// Explorer windows show the new state.
#pragma once

#include <string>

namespace brindlock {

class IShellNotify {
public:
    virtual ~IShellNotify() = default;
    // SHChangeNotify(SHCNE_UPDATEDIR, SHCNF_PATHA, folder, nullptr) on
    // Windows; nothing elsewhere. Reports nothing.
    virtual void UpdateDir(const std::string& folder) = 0;
};

// The shell of the platform this program was built for.
IShellNotify& NativeShellNotify();

}  // namespace brindlock
