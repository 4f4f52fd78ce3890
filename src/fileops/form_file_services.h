// What the window's file methods keep between calls: the folder notifier
// with its timer, and the real file operations over the platform's files.
#pragma once

#include <memory>

#include "fileops/folder_notifier.h"
#include "fileops/native_file_operations.h"
#include "platform/components.h"
#include "platform/shell_notify.h"

namespace brindlock {

// The notifier's timer is the window's TimerNotifyFolderChanged.
class TimerSwitch : public ITimerSwitch {
public:
    explicit TimerSwitch(TTimer& timer) : timer_(timer) {}
    void SetEnabled(bool enabled) override { timer_.SetEnabled(enabled); }
    bool Enabled() const override { return timer_.Enabled(); }

private:
    TTimer& timer_;
};

// A platform without a shell to tell.
class SilentShellNotify : public IShellNotify {
public:
    void UpdateDir(const std::string&) override {}
};

struct FormFileServices {
    FormFileServices(TTimer& timer, IShellNotify* shell, IFileSystem* files)
        : Timer(timer), Notifier(shell ? *shell : Silent, Timer) {
        if (files) Native = std::make_unique<NativeFileOperations>(*files, Notifier);
    }

    SilentShellNotify Silent;
    TimerSwitch Timer;
    FolderNotifier Notifier;
    std::unique_ptr<NativeFileOperations> Native;  // none without a file layer
};

}  // namespace brindlock
