// The application object: a hidden owner window that carries the taskbar
// button (its text is the application title), the message loop, and the
// delivery of the dialog keys to the main window.
#pragma once

#include <windows.h>

#include <string>

#include "platform/application.h"
#include "platform/components.h"

namespace brindlock {

// The platform's dialog-key message: Enter and Escape pressed in the main
// window or one of its controls reach TForm::Dispatch under this number,
// with the key code in WParam, before any default handling.
constexpr uint32_t kCmDialogKey = 0xB005;

class Win32Application : public IApplication {
public:
    explicit Win32Application(HINSTANCE instance);
    ~Win32Application() override;
    Win32Application(const Win32Application&) = delete;
    Win32Application& operator=(const Win32Application&) = delete;

    HINSTANCE Instance() const { return instance_; }
    HWND Window() const { return window_; }
    // The main form and its window, once the backend has created it.
    void AttachMainForm(TForm* form, HWND window);
    void DetachMainForm() { AttachMainForm(nullptr, nullptr); }

    // Shows the main form (and the taskbar button) and runs the message loop
    // until Terminate.
    void Run();

    void SetTitle(const std::string& title) override;
    std::string Title() const override { return title_; }
    void ProcessMessages() override;
    void Terminate() override;
    bool Terminated() const override { return terminated_; }
    void BringToFront() override;
    void ShowTaskbarWindow(bool show) override;
    void SetForegroundWindow(TForm& form) override;

private:
    static LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam);
    // One message of the loop: dialog keys, dialog navigation, then dispatch.
    void Deliver(MSG& message);
    bool DeliverDialogKey(const MSG& message);

    HINSTANCE instance_;
    HWND window_ = nullptr;
    TForm* mainForm_ = nullptr;
    HWND mainWindow_ = nullptr;
    std::string title_;
    bool terminated_ = false;
};

}  // namespace brindlock
