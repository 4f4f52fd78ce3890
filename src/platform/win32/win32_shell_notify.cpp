// Explorer learns of changed folders through SHChangeNotify.
#include <windows.h>
#include <shlobj.h>

#include "platform/shell_notify.h"

namespace brindlock {
namespace {

class Win32ShellNotify : public IShellNotify {
public:
    void UpdateDir(const std::string& folder) override {
        SHChangeNotify(SHCNE_UPDATEDIR, SHCNF_PATHA, folder.c_str(), nullptr);
    }
};

}  // namespace

IShellNotify& NativeShellNotify() {
    static Win32ShellNotify shell;
    return shell;
}

}  // namespace brindlock
