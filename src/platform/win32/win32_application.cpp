#include "platform/win32/win32_application.h"

namespace brindlock {
namespace {

constexpr const char* kClassName = "TApplication";

}  // namespace

Win32Application::Win32Application(HINSTANCE instance) : instance_(instance) {
    WNDCLASSA windowClass{};
    windowClass.lpfnWndProc = WindowProc;
    windowClass.hInstance = instance;
    windowClass.hIcon = LoadIconA(instance, MAKEINTRESOURCEA(1));
    windowClass.hCursor = LoadCursor(nullptr, IDC_ARROW);
    windowClass.lpszClassName = kClassName;
    RegisterClassA(&windowClass);
    // A window of no size in the middle of the screen: it is never seen, only
    // its taskbar button is, which shows its text, the application title.
    const int x = GetSystemMetrics(SM_CXSCREEN) / 2, y = GetSystemMetrics(SM_CYSCREEN) / 2;
    window_ = CreateWindowExA(0, kClassName, "", WS_POPUP | WS_CAPTION | WS_CLIPSIBLINGS | WS_SYSMENU | WS_MINIMIZEBOX,
                              x, y, 0, 0, nullptr, nullptr, instance, this);
}

Win32Application::~Win32Application() {
    if (window_) DestroyWindow(window_);
    UnregisterClassA(kClassName, instance_);
}

void Win32Application::AttachMainForm(TForm* form, HWND window) {
    mainForm_ = form;
    mainWindow_ = window;
}

void Win32Application::SetTitle(const std::string& title) {
    title_ = title;
    if (window_) SetWindowTextA(window_, title_.c_str());
}

void Win32Application::Run() {
    if (mainForm_) {
        ShowTaskbarWindow(true);
        mainForm_->Show();
    }
    while (!terminated_) {
        MSG message;
        const BOOL result = GetMessageA(&message, nullptr, 0, 0);
        if (result == 0 || result == -1) break;
        Deliver(message);
    }
    terminated_ = true;
}

void Win32Application::ProcessMessages() {
    MSG message;
    while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
        if (message.message == WM_QUIT) {
            terminated_ = true;
            // Leave the quit for the outer loop as well.
            PostQuitMessage(static_cast<int>(message.wParam));
            return;
        }
        Deliver(message);
    }
}

void Win32Application::Terminate() {
    if (terminated_) return;
    terminated_ = true;
    PostQuitMessage(0);
}

bool Win32Application::DeliverDialogKey(const MSG& message) {
    if (message.message != WM_KEYDOWN || (message.wParam != VK_RETURN && message.wParam != VK_ESCAPE)) return false;
    if (!mainForm_ || !mainWindow_) return false;
    if (message.hwnd != mainWindow_ && !IsChild(mainWindow_, message.hwnd)) return false;
    TMessage dialogKey;
    dialogKey.Msg = kCmDialogKey;
    dialogKey.WParam = message.wParam;
    dialogKey.LParam = message.lParam;
    mainForm_->Dispatch(dialogKey);
    return dialogKey.Result != 0;
}

void Win32Application::Deliver(MSG& message) {
    if (DeliverDialogKey(message)) return;
    // Tab between the password field and the check box.
    if (mainWindow_ && IsDialogMessageA(mainWindow_, &message)) return;
    TranslateMessage(&message);
    DispatchMessageA(&message);
}

void Win32Application::BringToFront() {
    if (!mainWindow_ || !IsWindowVisible(mainWindow_)) return;
    BringWindowToTop(mainWindow_);
}

void Win32Application::ShowTaskbarWindow(bool show) {
    if (window_) ShowWindow(window_, show ? SW_SHOWNOACTIVATE : SW_HIDE);
}

void Win32Application::SetForegroundWindow(TForm& form) {
    if (&form == mainForm_ && mainWindow_) ::SetForegroundWindow(mainWindow_);
}

LRESULT CALLBACK Win32Application::WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_NCCREATE) {
        auto* create = reinterpret_cast<CREATESTRUCTA*>(lParam);
        SetWindowLongPtrA(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(create->lpCreateParams));
    }
    auto* self = reinterpret_cast<Win32Application*>(GetWindowLongPtrA(window, GWLP_USERDATA));
    if (!self || self->window_ != window) return DefWindowProcA(window, message, wParam, lParam);
    return self->HandleMessage(message, wParam, lParam);
}

LRESULT Win32Application::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_SYSCOMMAND:
        // The taskbar button minimises and restores the main window.
        if (mainForm_ && (wParam & 0xFFF0) == SC_MINIMIZE) {
            mainForm_->SetWindowState(TWindowState::Minimized);
            return 0;
        }
        if (mainForm_ && (wParam & 0xFFF0) == SC_RESTORE) {
            mainForm_->SetWindowState(TWindowState::Normal);
            mainForm_->Show();
            if (mainWindow_) ::SetForegroundWindow(mainWindow_);
            return 0;
        }
        break;
    case WM_ACTIVATE:
        // Activating the taskbar button activates the main window.
        if (LOWORD(wParam) != WA_INACTIVE && mainWindow_ && IsWindowVisible(mainWindow_)) {
            ::SetForegroundWindow(mainWindow_);
            return 0;
        }
        break;
    case WM_CLOSE:
        // "Close window" on the taskbar button closes the main window, which hides it.
        if (mainForm_) mainForm_->Close();
        return 0;
    default:
        break;
    }
    return DefWindowProcA(window_, message, wParam, lParam);
}

}  // namespace brindlock
