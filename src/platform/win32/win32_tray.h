// The notification-area icon of the main window with its popup menu: added
// and removed as the component's visibility says, added again when Explorer
// restarts ("TaskbarCreated"), the menu on a right-button release and the
// click event on a left-button release.
#pragma once

#include <windows.h>

#include <functional>

#include "platform/components.h"
#include "platform/win32/win32_pictures.h"

namespace brindlock {

class Win32TrayIcon {
public:
    // The message the icon sends to `window` when it is clicked.
    static constexpr UINT kCallbackMessage = WM_APP + 1;

    // `restore` is the icon's own double-click action: bring the application back.
    Win32TrayIcon(TTrayIcon& tray, Win32Pictures& pictures, std::function<void()> restore)
        : tray_(tray), pictures_(pictures), restore_(std::move(restore)) {}
    ~Win32TrayIcon();
    Win32TrayIcon(const Win32TrayIcon&) = delete;
    Win32TrayIcon& operator=(const Win32TrayIcon&) = delete;

    void Attach(HWND window);
    // Adds or removes the icon as the component's visibility says.
    void Update();
    void Remove();
    // The window's messages for the icon and its menu's images; true when
    // handled, with the message's result.
    bool HandleMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result);
    // Enabled state and images of the menu items changed.
    void MenuChanged() { RebuildMenu(); }

private:
    bool Add(DWORD operation);
    void RebuildMenu();
    void ShowMenu();
    HICON TrayIcon() const;

    TTrayIcon& tray_;
    Win32Pictures& pictures_;
    std::function<void()> restore_;
    HWND window_ = nullptr;
    HMENU menu_ = nullptr;
    UINT taskbarCreated_ = 0;
    bool added_ = false;
};

}  // namespace brindlock
