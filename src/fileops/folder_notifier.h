// Tells the shell that the folder of a changed file changed, at once and
// once more a second later (Explorer windows sometimes miss the first
// notice while the file is still settling).
//
// Two states: idle (timer off) and pending (timer on). A path with a folder
// notifies at once and, when idle, starts the timer; the timer's tick
// notifies the folder remembered last and stops the timer. Calls while
// pending replace the remembered folder without postponing the tick.
#pragma once

#include <cstdint>
#include <string>

#include "platform/shell_notify.h"

namespace brindlock {

// What the notifier needs of its timer: on/off. The owner fires
// TimerNotifyFolderChangedTimer when the timer's interval has passed.
class ITimerSwitch {
public:
    virtual ~ITimerSwitch() = default;
    virtual void SetEnabled(bool enabled) = 0;
    virtual bool Enabled() const = 0;
};

class FolderNotifier {
public:
    // The interval of the timer that repeats the notification.
    static constexpr int32_t kTimerIntervalMs = 1000;

    FolderNotifier(IShellNotify& shell, ITimerSwitch& timer) : shell_(shell), timer_(timer) {}

    // Remembers the folder of `path` and notifies it; a path without a folder
    // clears the remembered folder and notifies nothing.
    void NotifyFolderChanged(const std::string& path);

    // Notifies the remembered folder, if any.
    void NotifyFolderChanged();

    // The tick of the timer: stops it and notifies once more.
    void TimerNotifyFolderChangedTimer();

    // The folder remembered last, with its trailing delimiter.
    std::string NotifyFolder;

private:
    IShellNotify& shell_;
    ITimerSwitch& timer_;
};

}  // namespace brindlock
