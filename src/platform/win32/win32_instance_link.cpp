#include "platform/win32/win32_instance_link.h"

#include <windows.h>

namespace brindlock {
namespace {

// Second starts of every session on the machine append to the log of their
// own program folder; one name for all of them is simple and costs little.
constexpr const char* kLogLockName = "Brindlock_HandOffLog_Mutex";

}  // namespace

Win32InstanceLink::~Win32InstanceLink() {
    if (logLock_) CloseHandle(logLock_);
    if (marker_) CloseHandle(marker_);
}

bool Win32InstanceLink::InstanceMarkerExists(const std::string& name) {
    if (marker_) CloseHandle(marker_);
    marker_ = CreateMutexA(nullptr, TRUE, name.c_str());
    return marker_ != nullptr && GetLastError() == ERROR_ALREADY_EXISTS;
}

uintptr_t Win32InstanceLink::FindWindowOfClass(const std::string& className) {
    return reinterpret_cast<uintptr_t>(FindWindowA(className.c_str(), nullptr));
}

void Win32InstanceLink::SendCopyData(uintptr_t window, const CopyDataView& data) {
    COPYDATASTRUCT copy{};
    copy.dwData = static_cast<ULONG_PTR>(data.dwData);
    copy.cbData = data.cbData;
    copy.lpData = const_cast<void*>(data.lpData);
    SendMessageA(reinterpret_cast<HWND>(window), WM_COPYDATA, 0, reinterpret_cast<LPARAM>(&copy));
}

bool Win32InstanceLink::AcquireLogLock(uint32_t timeoutMs) {
    if (!logLock_) logLock_ = CreateMutexA(nullptr, FALSE, kLogLockName);
    if (!logLock_) return false;
    const DWORD waited = WaitForSingleObject(logLock_, timeoutMs);
    // An abandoned lock (its holder died) is ours now and the log intact
    // up to the holder's last complete replacement.
    return waited == WAIT_OBJECT_0 || waited == WAIT_ABANDONED;
}

void Win32InstanceLink::ReleaseLogLock() {
    if (logLock_) ReleaseMutex(logLock_);
}

}  // namespace brindlock
