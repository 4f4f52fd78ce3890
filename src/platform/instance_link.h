// What a start of the program needs to find out whether another instance
// runs and to hand its command to that instance's main window.
#pragma once

#include <cstdint>
#include <string>

#include "app/command.h"

namespace brindlock {

class IInstanceLink {
public:
    virtual ~IInstanceLink() = default;

    // CreateMutexA(no security attributes, initial owner, name). True when a
    // handle came back and the name existed already (ERROR_ALREADY_EXISTS):
    // another instance runs. A failure to create counts as "not running".
    // The handle stays open until the link is destroyed.
    virtual bool InstanceMarkerExists(const std::string& name) = 0;

    // FindWindowA(className, no window name); 0 when there is none.
    virtual uintptr_t FindWindowOfClass(const std::string& className) = 0;

    // SendMessageA(window, WM_COPYDATA, 0, the structure): returns when the
    // receiving window has handled it.
    virtual void SendCopyData(uintptr_t window, const CopyDataView& data) = 0;

    // A machine-wide lock around the hand-off log, so that second starts at
    // the same moment append their blocks one after another instead of
    // overwriting each other's. Acquire waits at most `timeoutMs` and tells
    // whether the lock was taken; Release only after a successful Acquire.
    virtual bool AcquireLogLock(uint32_t timeoutMs) = 0;
    virtual void ReleaseLogLock() = 0;
};

}  // namespace brindlock
