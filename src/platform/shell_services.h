// Shell and message-box services the main window uses.
#pragma once

#include <cstdint>
#include <string>

// <windows.h> makes MessageBox a macro for MessageBoxA; where both headers
// meet, the method below must keep its own name.
#ifdef MessageBox
#undef MessageBox
#endif

namespace brindlock {

class TForm;

class IShellServices {
public:
    virtual ~IShellServices() = default;
    // ShellExecuteA(owner or none, "open", target, no parameters, no directory,
    // SW_SHOWNORMAL); returns its result (> 32 means success).
    virtual intptr_t ShellOpen(TForm* owner, const std::string& target) = 0;
    // ShowMessage: a modal box with the application title and an OK button.
    virtual void ShowMessage(const std::string& text) = 0;
    // MessageBoxA with no owner window; returns the button pressed.
    virtual int MessageBox(const std::string& text, const std::string& caption, uint32_t flags) = 0;
};

}  // namespace brindlock
