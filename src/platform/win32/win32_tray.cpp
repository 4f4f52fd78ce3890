#include "platform/win32/win32_tray.h"

#include <shellapi.h>

#include <cstring>

#include "platform/picture_ids.h"

namespace brindlock {
namespace {

constexpr UINT kIconId = 1;
constexpr UINT kFirstMenuCommand = 100;

}  // namespace

void Win32TrayIcon::Attach(HWND window) {
    window_ = window;
    taskbarCreated_ = RegisterWindowMessageA("TaskbarCreated");
    RebuildMenu();
}

HICON Win32TrayIcon::TrayIcon() const {
    const int index = tray_.IconIndex >= 0 && tray_.IconIndex < BRINDLOCK_TRAY_IMAGE_COUNT ? tray_.IconIndex : 0;
    return pictures_.Icon(BRINDLOCK_TRAY_IMAGE_0 + index, GetSystemMetrics(SM_CXSMICON));
}

bool Win32TrayIcon::Add(DWORD operation) {
    NOTIFYICONDATAA data{};
    data.cbSize = sizeof data;
    data.hWnd = window_;
    data.uID = kIconId;
    data.uFlags = NIF_MESSAGE | NIF_ICON | NIF_TIP;
    data.uCallbackMessage = kCallbackMessage;
    data.hIcon = TrayIcon();
    std::strncpy(data.szTip, tray_.Hint.c_str(), sizeof data.szTip - 1);
    return Shell_NotifyIconA(operation, &data) != FALSE;
}

void Win32TrayIcon::Update() {
    if (!window_) return;
    if (tray_.Visible() && !added_) added_ = Add(NIM_ADD);
    else if (tray_.Visible() && added_) Add(NIM_MODIFY);
    else if (!tray_.Visible()) Remove();
}

Win32TrayIcon::~Win32TrayIcon() {
    Remove();
    if (menu_) DestroyMenu(menu_);
}

void Win32TrayIcon::Remove() {
    if (!added_ || !window_) return;
    NOTIFYICONDATAA data{};
    data.cbSize = sizeof data;
    data.hWnd = window_;
    data.uID = kIconId;
    Shell_NotifyIconA(NIM_DELETE, &data);
    added_ = false;
}

void Win32TrayIcon::RebuildMenu() {
    if (menu_) DestroyMenu(menu_);
    menu_ = CreatePopupMenu();
    if (!tray_.PopupMenu) return;
    UINT command = kFirstMenuCommand;
    for (TMenuItem* item : tray_.PopupMenu->Items) {
        MENUITEMINFOA info{};
        info.cbSize = sizeof info;
        if (item->IsSeparator()) {
            info.fMask = MIIM_FTYPE;
            info.fType = MFT_SEPARATOR;
        } else {
            info.fMask = MIIM_ID | MIIM_STRING | MIIM_STATE | MIIM_BITMAP | MIIM_DATA;
            info.wID = command;
            info.dwTypeData = const_cast<char*>(item->Caption().c_str());
            info.fState = item->Enabled() ? MFS_ENABLED : MFS_DISABLED;
            // The image is drawn on request (WM_DRAWITEM), so its alpha edge
            // blends with whatever the menu's background is.
            info.dwItemData = static_cast<ULONG_PTR>(item->ImageIndex + 1);
            info.hbmpItem = item->ImageIndex >= 0 ? HBMMENU_CALLBACK : nullptr;
        }
        InsertMenuItemA(menu_, GetMenuItemCount(menu_), TRUE, &info);
        ++command;
    }
}

void Win32TrayIcon::ShowMenu() {
    if (!menu_ || !tray_.PopupMenu) return;
    POINT at{};
    GetCursorPos(&at);
    // Without the foreground the menu would not close when the user clicks
    // elsewhere; the null message afterwards is the documented companion.
    SetForegroundWindow(window_);
    const UINT command = static_cast<UINT>(
        TrackPopupMenu(menu_, TPM_RIGHTBUTTON | TPM_RETURNCMD | TPM_NONOTIFY, at.x, at.y, 0, window_, nullptr));
    PostMessageA(window_, WM_NULL, 0, 0);
    if (command < kFirstMenuCommand) return;
    const std::size_t index = command - kFirstMenuCommand;
    if (index < tray_.PopupMenu->Items.size()) tray_.PopupMenu->Items[index]->Click();
}

bool Win32TrayIcon::HandleMessage(UINT message, WPARAM, LPARAM lParam, LRESULT& result) {
    result = 0;
    if (message == WM_MEASUREITEM) {
        auto* item = reinterpret_cast<MEASUREITEMSTRUCT*>(lParam);
        if (item->CtlType != ODT_MENU) return false;
        item->itemWidth = static_cast<UINT>(GetSystemMetrics(SM_CXSMICON));
        item->itemHeight = static_cast<UINT>(GetSystemMetrics(SM_CYSMICON));
        result = TRUE;
        return true;
    }
    if (message == WM_DRAWITEM) {
        const auto* item = reinterpret_cast<const DRAWITEMSTRUCT*>(lParam);
        if (item->CtlType != ODT_MENU || item->itemData == 0) return false;
        const int size = GetSystemMetrics(SM_CXSMICON);
        HICON icon = pictures_.Icon(BRINDLOCK_TRAY_IMAGE_0 + static_cast<int>(item->itemData) - 1, size);
        const RECT& r = item->rcItem;
        if (icon)
            DrawIconEx(item->hDC, r.left + (r.right - r.left - size) / 2, r.top + (r.bottom - r.top - size) / 2, icon, size,
                       size, 0, nullptr, DI_NORMAL);
        result = TRUE;
        return true;
    }
    if (message == taskbarCreated_ && taskbarCreated_ != 0) {
        // Explorer restarted and forgot every icon.
        added_ = false;
        Update();
        return true;
    }
    if (message != kCallbackMessage) return false;
    switch (LOWORD(lParam)) {
    case WM_LBUTTONUP:
        if (tray_.OnClick) tray_.OnClick(&tray_);
        break;
    case WM_LBUTTONDBLCLK:
        if (restore_) restore_();
        break;
    case WM_RBUTTONUP:
        ShowMenu();
        break;
    default:
        break;
    }
    return true;
}

}  // namespace brindlock
