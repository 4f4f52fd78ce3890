// The Win32 backend of the components: realizes a form as a top-level window
// registered under the form's class name ("TForm1"), its windowed controls as
// real child windows (owner-drawn buttons, panels, progress bars, edit, check
// box), paints its graphic controls (labels, images, bevels) itself, runs its
// timers with SetTimer, its tray icon with Shell_NotifyIconA and its open
// dialogs with GetOpenFileNameA. Every change of a component arrives through
// ComponentChanged and is mirrored at once.
#pragma once

#include <windows.h>

#include <map>
#include <memory>
#include <string>
#include <tuple>
#include <vector>

#include "platform/components.h"
#include "platform/win32/win32_application.h"
#include "platform/win32/win32_pictures.h"
#include "platform/win32/win32_tray.h"

namespace brindlock {

class Win32FormHost : public ComponentHost {
public:
    Win32FormHost(Win32Application& application, Win32Pictures& pictures);
    ~Win32FormHost() override;
    Win32FormHost(const Win32FormHost&) = delete;
    Win32FormHost& operator=(const Win32FormHost&) = delete;

    void ComponentChanged(TComponent& component, ComponentProperty property) override;
    void Realize(TForm& form, const std::vector<TComponent*>& components) override;
    bool ExecuteOpenDialog(TOpenDialog& dialog) override;

    // The window of the form, or of a windowed control; null for others.
    HWND WindowOf(const TControl* control) const;
    // The one way out: timers killed, the tray icon removed, and from then on
    // no component is looked at again (the form may be destroyed next). The
    // windows themselves go with this object. Runs once, however often called.
    void Shutdown();

private:
    struct ControlWindow {
        HWND window = nullptr;
        bool hot = false;  // the mouse is over a flat button
    };
    using FontKey = std::tuple<std::string, int, bool, bool>;

    static LRESULT CALLBACK FormProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    static LRESULT CALLBACK PanelProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    static LRESULT CALLBACK ButtonProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR id, DWORD_PTR self);

    LRESULT FormMessage(UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT DispatchToForm(UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT PanelMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    // Notifications of child controls, whichever window they reach.
    bool ChildNotification(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result);

    void RegisterClasses();
    void CreateFormWindow();
    void CreateChildren(TControl& parent, HWND parentWindow);
    void CreateControl(TControl& control, HWND parentWindow);
    void ApplyState(TControl& control);
    void AddTooltip(TControl& control);
    void Relayout();
    void FormChanged(ComponentProperty property);
    void UpdateTimer(TTimer& timer);
    void RestoreApplication();

    int Scale(int value) const { return MulDiv(value, static_cast<int>(dpi_), 96); }
    RECT BoundsOf(const TControl& control) const;
    HWND ParentWindowOf(const TControl& control) const;
    HFONT FontFor(const TFont& font);
    void InvalidateControl(const TControl& control);
    TControl* ClickableLabelAt(POINT client);
    RECT LabelRect(HDC dc, const TLabel& label);

    // Painting (win32_painting.cpp).
    void PaintWindow(HWND window, const TControl& owner);
    void PaintGraphics(HDC dc, const TControl& parent);
    void PaintLabel(HDC dc, const TLabel& label);
    void PaintImage(HDC dc, const TImage& image);
    void PaintBevel(HDC dc, const TBevel& bevel);
    void DrawButton(const DRAWITEMSTRUCT& item);

    Win32Application& application_;
    Win32Pictures& pictures_;
    TForm* form_ = nullptr;
    HWND window_ = nullptr;
    HWND tooltip_ = nullptr;
    UINT dpi_ = 96;
    std::map<const TComponent*, ControlWindow> windows_;
    std::map<int, TControl*> commandIds_;
    std::map<UINT_PTR, TTimer*> timers_;
    std::map<const TTimer*, UINT_PTR> timerIds_;
    std::map<FontKey, HFONT> fonts_;
    std::unique_ptr<Win32TrayIcon> tray_;
    std::vector<std::string> tooltipTexts_;
    bool settingText_ = false;  // the program, not the user, changes an edit
    bool shutDown_ = false;
};

}  // namespace brindlock
