// Linux desktops watch folders themselves (inotify); there is nobody to tell.
#include "platform/shell_notify.h"

namespace brindlock {
namespace {

class PosixShellNotify : public IShellNotify {
public:
    void UpdateDir(const std::string&) override {}
};

}  // namespace

IShellNotify& NativeShellNotify() {
    static PosixShellNotify shell;
    return shell;
}

}  // namespace brindlock
