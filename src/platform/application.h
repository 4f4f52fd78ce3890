// The application object: title, message pump, termination, and the
// application's own (taskbar) window.
#pragma once

#include <string>

namespace brindlock {

class TForm;

class IApplication {
public:
    virtual ~IApplication() = default;
    virtual void SetTitle(const std::string& title) = 0;
    virtual std::string Title() const = 0;
    // Dispatches every pending message (timers, clicks, copy-data, hotkeys).
    virtual void ProcessMessages() = 0;
    // Ends the message loop; the main window is destroyed afterwards.
    virtual void Terminate() = 0;
    virtual bool Terminated() const = 0;
    virtual void BringToFront() = 0;
    // ShowWindow(SW_SHOW / SW_HIDE) on the application's own window, which
    // carries the taskbar button.
    virtual void ShowTaskbarWindow(bool show) = 0;
    virtual void SetForegroundWindow(TForm& form) = 0;
};

}  // namespace brindlock
