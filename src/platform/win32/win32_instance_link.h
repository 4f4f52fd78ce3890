// The single-instance marker (a named mutex), the search for the running
// instance's main window and the copy-data message, on Win32.
#pragma once

#include "platform/instance_link.h"

namespace brindlock {

class Win32InstanceLink : public IInstanceLink {
public:
    Win32InstanceLink() = default;
    Win32InstanceLink(const Win32InstanceLink&) = delete;
    Win32InstanceLink& operator=(const Win32InstanceLink&) = delete;
    // Closes the marker: the first instance holds it until the program ends.
    ~Win32InstanceLink() override;

    bool InstanceMarkerExists(const std::string& name) override;
    uintptr_t FindWindowOfClass(const std::string& className) override;
    void SendCopyData(uintptr_t window, const CopyDataView& data) override;
    bool AcquireLogLock(uint32_t timeoutMs) override;
    void ReleaseLogLock() override;

private:
    void* marker_ = nullptr;
    void* logLock_ = nullptr;
};

}  // namespace brindlock
