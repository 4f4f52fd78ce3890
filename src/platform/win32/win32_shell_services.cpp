#include <windows.h>
#include <shellapi.h>

#include "platform/win32/win32_shell_services.h"

#include "platform/win32/win32_application.h"
#include "platform/win32/win32_form_host.h"

namespace brindlock {

intptr_t Win32ShellServices::ShellOpen(TForm* owner, const std::string& target) {
    HINSTANCE result = ShellExecuteA(host_.WindowOf(owner), "open", target.c_str(), nullptr, nullptr, SW_SHOWNORMAL);
    return reinterpret_cast<intptr_t>(result);
}

void Win32ShellServices::ShowMessage(const std::string& text) {
    ::MessageBoxA(nullptr, text.c_str(), application_.Title().c_str(), MB_OK | MB_TASKMODAL | MB_SETFOREGROUND);
}

int Win32ShellServices::MessageBox(const std::string& text, const std::string& caption, uint32_t flags) {
    return ::MessageBoxA(nullptr, text.c_str(), caption.c_str(), flags);
}

}  // namespace brindlock
