#include "platform/win32/win32_form_host.h"

#include <commctrl.h>

#include "app/command.h"

namespace brindlock {
namespace {

constexpr const char* kPanelClass = "TPanel";
constexpr int kFirstControlId = 1000;

// Per-monitor DPI functions exist from Windows 10 on; older systems scale
// by the system DPI, which the screen's device context gives.
UINT WindowDpi(HWND window) {
    using GetDpiForWindowFn = UINT(WINAPI*)(HWND);
    static const auto getDpiForWindow = reinterpret_cast<GetDpiForWindowFn>(
        reinterpret_cast<void*>(GetProcAddress(GetModuleHandleA("user32.dll"), "GetDpiForWindow")));
    if (getDpiForWindow && window) {
        const UINT dpi = getDpiForWindow(window);
        if (dpi) return dpi;
    }
    HDC screen = GetDC(nullptr);
    const int dpi = GetDeviceCaps(screen, LOGPIXELSY);
    ReleaseDC(nullptr, screen);
    return dpi > 0 ? static_cast<UINT>(dpi) : 96;
}

template <typename T>
T* As(TComponent* component) {
    return dynamic_cast<T*>(component);
}

bool IsWindowed(const TControl& control) {
    return dynamic_cast<const TSpeedButton*>(&control) || dynamic_cast<const TPanel*>(&control) ||
           dynamic_cast<const TProgressBar*>(&control) || dynamic_cast<const TEdit*>(&control) ||
           dynamic_cast<const TCheckBox*>(&control);
}

}  // namespace

Win32FormHost::Win32FormHost(Win32Application& application, Win32Pictures& pictures)
    : application_(application), pictures_(pictures) {}

Win32FormHost::~Win32FormHost() {
    Shutdown();
    if (tooltip_) DestroyWindow(tooltip_);
    if (window_) DestroyWindow(window_);
    for (auto& [key, font] : fonts_) DeleteObject(font);
}

void Win32FormHost::Shutdown() {
    if (shutDown_) return;
    shutDown_ = true;
    for (const auto& [id, timer] : timers_) KillTimer(window_, id);
    if (tray_) tray_->Remove();
    application_.DetachMainForm();
    // form_ stays as the key of WindowOf: the form's destruction handler
    // still unregisters its hotkeys from this window. It is never
    // dereferenced again: every window procedure checks shutDown_ first.
}

HWND Win32FormHost::WindowOf(const TControl* control) const {
    if (!control) return nullptr;
    if (control == form_) return window_;
    auto it = windows_.find(control);
    return it == windows_.end() ? nullptr : it->second.window;
}

// ---- Realizing a form ----------------------------------------------------

void Win32FormHost::RegisterClasses() {
    WNDCLASSA formClass{};
    formClass.lpfnWndProc = FormProc;
    formClass.hInstance = application_.Instance();
    formClass.hIcon = LoadIconA(application_.Instance(), MAKEINTRESOURCEA(1));
    formClass.hCursor = LoadCursor(nullptr, IDC_ARROW);
    // The second start finds the running instance by this name.
    formClass.lpszClassName = "TForm1";
    RegisterClassA(&formClass);

    WNDCLASSA panelClass{};
    panelClass.lpfnWndProc = PanelProc;
    panelClass.hInstance = application_.Instance();
    panelClass.hCursor = LoadCursor(nullptr, IDC_ARROW);
    panelClass.lpszClassName = kPanelClass;
    RegisterClassA(&panelClass);
}

void Win32FormHost::CreateFormWindow() {
    // A dialog border: a caption with the system menu, neither resizable nor
    // with minimise or maximise boxes.
    const DWORD style = WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_CLIPCHILDREN | DS_MODALFRAME;
    const DWORD exStyle = WS_EX_DLGMODALFRAME | WS_EX_WINDOWEDGE | WS_EX_CONTROLPARENT;
    dpi_ = WindowDpi(nullptr);
    RECT frame{0, 0, Scale(form_->Width()), Scale(form_->Height())};
    AdjustWindowRectEx(&frame, style, FALSE, exStyle);
    const int width = frame.right - frame.left, height = frame.bottom - frame.top;
    RECT work{};
    SystemParametersInfoA(SPI_GETWORKAREA, 0, &work, 0);
    const int x = work.left + (work.right - work.left - width) / 2;
    const int y = work.top + (work.bottom - work.top - height) / 2;
    // Owned by the application window, so the taskbar button is the
    // application's and its text the application title.
    window_ = CreateWindowExA(exStyle, "TForm1", form_->Caption().c_str(), style, x, y, width, height,
                              application_.Window(), nullptr, application_.Instance(), this);
}

void Win32FormHost::Realize(TForm& form, const std::vector<TComponent*>& components) {
    if (window_) return;  // one main window per program
    form_ = &form;
    InitCommonControls();
    RegisterClasses();
    CreateFormWindow();
    if (!window_) return;
    // The real window's monitor may have another DPI than the system's.
    const UINT dpi = WindowDpi(window_);
    form.DefaultHandler = [this](TMessage& message) {
        // The copy-data record the form saw is ours; the default handling
        // has nothing to do with it.
        if (message.Msg == WM_COPYDATA) message.Result = 0;
        else message.Result = DefWindowProcA(window_, message.Msg, message.WParam, static_cast<LPARAM>(message.LParam));
    };

    tooltip_ = CreateWindowExA(WS_EX_TOPMOST, TOOLTIPS_CLASSA, nullptr, WS_POPUP | TTS_ALWAYSTIP | TTS_NOPREFIX,
                               CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, window_, nullptr,
                               application_.Instance(), nullptr);
    CreateChildren(form, window_);
    // The panels lie above every other control.
    for (TControl* child : form.Children())
        if (As<TPanel>(child)) SetWindowPos(WindowOf(child), HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    if (dpi != dpi_) {
        dpi_ = dpi;
        RECT frame{0, 0, Scale(form.Width()), Scale(form.Height())};
        AdjustWindowRectEx(&frame, static_cast<DWORD>(GetWindowLongPtrA(window_, GWL_STYLE)), FALSE,
                           static_cast<DWORD>(GetWindowLongPtrA(window_, GWL_EXSTYLE)));
        SetWindowPos(window_, nullptr, 0, 0, frame.right - frame.left, frame.bottom - frame.top,
                     SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
        Relayout();
    }

    for (TComponent* component : components) {
        if (auto* timer = As<TTimer>(component)) UpdateTimer(*timer);
        if (auto* tray = As<TTrayIcon>(component); tray && !tray_) {
            tray_ = std::make_unique<Win32TrayIcon>(*tray, pictures_, [this] { RestoreApplication(); });
            tray_->Attach(window_);
            tray_->Update();
        }
    }
    application_.AttachMainForm(&form, window_);
}

void Win32FormHost::CreateChildren(TControl& parent, HWND parentWindow) {
    for (TControl* child : parent.Children()) {
        if (IsWindowed(*child)) CreateControl(*child, parentWindow);
        const HWND childWindow = WindowOf(child);
        if (childWindow && !child->Children().empty()) CreateChildren(*child, childWindow);
    }
}

void Win32FormHost::CreateControl(TControl& control, HWND parentWindow) {
    const int id = kFirstControlId + static_cast<int>(commandIds_.size());
    const RECT r = BoundsOf(control);
    const char* className = "BUTTON";
    DWORD style = WS_CHILD | WS_CLIPSIBLINGS;
    DWORD exStyle = 0;
    if (As<TSpeedButton>(&control)) {
        style |= BS_OWNERDRAW;
    } else if (As<TPanel>(&control)) {
        className = kPanelClass;
        style |= WS_CLIPCHILDREN;
        exStyle |= WS_EX_CONTROLPARENT;  // Tab reaches the controls inside
    } else if (As<TProgressBar>(&control)) {
        className = PROGRESS_CLASSA;
    } else if (auto* edit = As<TEdit>(&control)) {
        className = "EDIT";
        style |= WS_TABSTOP | ES_AUTOHSCROLL | (edit->PasswordChar ? ES_PASSWORD : 0);
        exStyle |= WS_EX_CLIENTEDGE;
    } else if (As<TCheckBox>(&control)) {
        style |= WS_TABSTOP | BS_AUTOCHECKBOX;
    }
    HWND window = CreateWindowExA(exStyle, className, control.Caption().c_str(), style, r.left, r.top, r.right - r.left,
                                  r.bottom - r.top, parentWindow, reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)),
                                  application_.Instance(), this);
    if (!window) return;
    windows_[&control].window = window;
    commandIds_[id] = &control;
    if (As<TSpeedButton>(&control)) SetWindowSubclass(window, ButtonProc, 0, reinterpret_cast<DWORD_PTR>(this));
    ApplyState(control);
    AddTooltip(control);
}

// Mirrors everything a control holds onto its freshly made window.
void Win32FormHost::ApplyState(TControl& control) {
    HWND window = WindowOf(&control);
    if (!window) return;
    SendMessageA(window, WM_SETFONT, reinterpret_cast<WPARAM>(FontFor(control.Font())), FALSE);
    EnableWindow(window, control.Enabled());
    if (auto* bar = As<TProgressBar>(&control)) {
        SendMessageA(window, PBM_SETRANGE32, static_cast<WPARAM>(bar->Min()), bar->Max());
        SendMessageA(window, PBM_SETPOS, static_cast<WPARAM>(bar->Position()), 0);
    }
    if (auto* edit = As<TEdit>(&control)) {
        if (edit->PasswordChar) SendMessageA(window, EM_SETPASSWORDCHAR, static_cast<unsigned char>(edit->PasswordChar), 0);
        settingText_ = true;
        SetWindowTextA(window, edit->Text().c_str());
        settingText_ = false;
    }
    if (auto* box = As<TCheckBox>(&control)) SendMessageA(window, BM_SETCHECK, box->Checked() ? BST_CHECKED : BST_UNCHECKED, 0);
    ShowWindow(window, control.Visible() ? SW_SHOWNA : SW_HIDE);
}

void Win32FormHost::AddTooltip(TControl& control) {
    HWND window = WindowOf(&control);
    if (!tooltip_ || !window || !As<TSpeedButton>(&control)) return;
    TTTOOLINFOA tool{};
    tool.cbSize = sizeof tool;
    tool.hwnd = GetParent(window);
    tool.uId = reinterpret_cast<UINT_PTR>(window);
    SendMessageA(tooltip_, TTM_DELTOOLA, 0, reinterpret_cast<LPARAM>(&tool));
    if (!control.ShowHint || control.Hint().empty()) return;
    tool.uFlags = TTF_IDISHWND | TTF_SUBCLASS;
    tooltipTexts_.push_back(control.Hint());
    tool.lpszText = tooltipTexts_.back().data();
    SendMessageA(tooltip_, TTM_ADDTOOLA, 0, reinterpret_cast<LPARAM>(&tool));
}

void Win32FormHost::Relayout() {
    for (auto& [font, handle] : fonts_) DeleteObject(handle);
    fonts_.clear();
    pictures_.Clear();
    for (auto& [component, info] : windows_) {
        auto* control = const_cast<TControl*>(dynamic_cast<const TControl*>(component));
        if (!control || !info.window) continue;
        const RECT r = BoundsOf(*control);
        MoveWindow(info.window, r.left, r.top, r.right - r.left, r.bottom - r.top, FALSE);
        SendMessageA(info.window, WM_SETFONT, reinterpret_cast<WPARAM>(FontFor(control->Font())), FALSE);
    }
    if (tray_) {
        tray_->MenuChanged();
        tray_->Update();
    }
    RedrawWindow(window_, nullptr, nullptr, RDW_INVALIDATE | RDW_ALLCHILDREN | RDW_ERASE);
}

// ---- Mirroring changes ---------------------------------------------------

void Win32FormHost::ComponentChanged(TComponent& component, ComponentProperty property) {
    if (shutDown_) return;
    if (auto* timer = As<TTimer>(&component)) {
        if (property == ComponentProperty::Enabled || property == ComponentProperty::Interval) UpdateTimer(*timer);
        return;
    }
    if (As<TTrayIcon>(&component)) {
        if (tray_) tray_->Update();
        return;
    }
    if (As<TMenuItem>(&component) || As<TPopupMenu>(&component)) {
        if (tray_) tray_->MenuChanged();
        return;
    }
    auto* control = As<TControl>(&component);
    if (!control || !window_) return;
    if (control == form_) {
        FormChanged(property);
        return;
    }
    HWND window = WindowOf(control);
    switch (property) {
    case ComponentProperty::Visible:
        if (window) ShowWindow(window, control->Visible() ? SW_SHOWNA : SW_HIDE);
        else InvalidateControl(*control);
        break;
    case ComponentProperty::Enabled:
        if (window) {
            EnableWindow(window, control->Enabled());
            InvalidateRect(window, nullptr, FALSE);
        } else {
            InvalidateControl(*control);
        }
        break;
    case ComponentProperty::Caption:
        if (window) {
            SetWindowTextA(window, control->Caption().c_str());
            InvalidateRect(window, nullptr, FALSE);
        } else {
            InvalidateControl(*control);
        }
        break;
    case ComponentProperty::Bounds:
        if (window) {
            const RECT r = BoundsOf(*control);
            MoveWindow(window, r.left, r.top, r.right - r.left, r.bottom - r.top, TRUE);
        } else if (HWND parent = ParentWindowOf(*control)) {
            RedrawWindow(parent, nullptr, nullptr, RDW_INVALIDATE | RDW_ALLCHILDREN);
        }
        break;
    case ComponentProperty::Hint:
        AddTooltip(*control);
        break;
    case ComponentProperty::Font:
        if (window) SendMessageA(window, WM_SETFONT, reinterpret_cast<WPARAM>(FontFor(control->Font())), TRUE);
        else InvalidateControl(*control);
        break;
    case ComponentProperty::Position:
    case ComponentProperty::Range:
        if (auto* bar = As<TProgressBar>(control); bar && window) {
            SendMessageA(window, PBM_SETRANGE32, static_cast<WPARAM>(bar->Min()), bar->Max());
            SendMessageA(window, PBM_SETPOS, static_cast<WPARAM>(bar->Position()), 0);
        }
        break;
    case ComponentProperty::Text:
        if (auto* edit = As<TEdit>(control); edit && window) {
            settingText_ = true;
            SetWindowTextA(window, edit->Text().c_str());
            settingText_ = false;
        }
        break;
    case ComponentProperty::Checked:
        if (auto* box = As<TCheckBox>(control); box && window)
            SendMessageA(window, BM_SETCHECK, box->Checked() ? BST_CHECKED : BST_UNCHECKED, 0);
        break;
    case ComponentProperty::Focus:
        if (window) SetFocus(window);
        break;
    case ComponentProperty::Picture:
        InvalidateControl(*control);
        break;
    default:
        break;
    }
}

void Win32FormHost::FormChanged(ComponentProperty property) {
    switch (property) {
    case ComponentProperty::Visible:
        ShowWindow(window_, form_->Visible() ? SW_SHOW : SW_HIDE);
        break;
    case ComponentProperty::Caption:
        SetWindowTextA(window_, form_->Caption().c_str());
        break;
    case ComponentProperty::WindowState:
        if (form_->WindowState() == TWindowState::Minimized && !IsIconic(window_)) ShowWindow(window_, SW_MINIMIZE);
        else if (form_->WindowState() == TWindowState::Normal && IsIconic(window_)) ShowWindow(window_, SW_RESTORE);
        break;
    default:
        break;
    }
}

void Win32FormHost::UpdateTimer(TTimer& timer) {
    auto [it, added] = timerIds_.try_emplace(&timer, timerIds_.size() + 1);
    const UINT_PTR id = it->second;
    timers_[id] = &timer;
    if (!window_) return;
    // SetTimer on a running id starts its period anew, as a new interval must;
    // the component never reports enabling an enabled timer.
    if (timer.Enabled() && timer.Interval() > 0) SetTimer(window_, id, timer.Interval(), nullptr);
    else KillTimer(window_, id);
}

void Win32FormHost::RestoreApplication() {
    if (!form_ || shutDown_) return;
    application_.ShowTaskbarWindow(true);
    form_->SetWindowState(TWindowState::Normal);
    form_->Show();
    ::SetForegroundWindow(window_);
}

// ---- Geometry and fonts --------------------------------------------------

RECT Win32FormHost::BoundsOf(const TControl& control) const {
    return RECT{Scale(control.Left()), Scale(control.Top()), Scale(control.Left() + control.Width()),
                Scale(control.Top() + control.Height())};
}

HWND Win32FormHost::ParentWindowOf(const TControl& control) const {
    return control.Parent() ? WindowOf(control.Parent()) : nullptr;
}

HFONT Win32FormHost::FontFor(const TFont& font) {
    const FontKey key{font.Name, font.Height, font.Bold, font.Underline};
    auto [it, added] = fonts_.try_emplace(key, nullptr);
    if (added)
        it->second = CreateFontA(Scale(font.Height), 0, 0, 0, font.Bold ? FW_BOLD : FW_NORMAL, FALSE, font.Underline, FALSE,
                                 DEFAULT_CHARSET, OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY,
                                 DEFAULT_PITCH | FF_DONTCARE, font.Name.c_str());
    return it->second;
}

void Win32FormHost::InvalidateControl(const TControl& control) {
    HWND parent = ParentWindowOf(control);
    if (!parent) return;
    RECT r = BoundsOf(control);
    // An auto-sized label may paint beyond its stored bounds; so may the
    // flat buttons that show the background through.
    if (auto* label = dynamic_cast<const TLabel*>(&control); label && label->AutoSize) {
        RECT client{};
        GetClientRect(parent, &client);
        r.right = client.right;
        r.bottom += Scale(8);
    }
    RedrawWindow(parent, &r, nullptr, RDW_INVALIDATE | RDW_ALLCHILDREN);
}

RECT Win32FormHost::LabelRect(HDC dc, const TLabel& label) {
    RECT r = BoundsOf(label);
    if (!label.AutoSize) return r;
    HGDIOBJ old = SelectObject(dc, FontFor(label.Font()));
    RECT text{0, 0, 0, 0};
    DrawTextA(dc, label.Caption().c_str(), -1, &text, DT_CALCRECT | DT_NOPREFIX | DT_SINGLELINE);
    SelectObject(dc, old);
    r.right = r.left + (text.right - text.left);
    r.bottom = r.top + (text.bottom - text.top);
    return r;
}

TControl* Win32FormHost::ClickableLabelAt(POINT client) {
    if (!form_) return nullptr;
    HDC dc = GetDC(window_);
    TControl* found = nullptr;
    // The last painted is the topmost.
    for (TControl* child : form_->Children()) {
        auto* label = As<TLabel>(child);
        if (!label || !label->Visible() || !label->OnClick) continue;
        const RECT r = LabelRect(dc, *label);
        if (PtInRect(&r, client)) found = label;
    }
    ReleaseDC(window_, dc);
    return found;
}

// ---- Window procedures ---------------------------------------------------

LRESULT CALLBACK Win32FormHost::FormProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_NCCREATE) {
        auto* create = reinterpret_cast<CREATESTRUCTA*>(lParam);
        SetWindowLongPtrA(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(create->lpCreateParams));
    }
    auto* self = reinterpret_cast<Win32FormHost*>(GetWindowLongPtrA(window, GWLP_USERDATA));
    if (!self || self->window_ != window || self->shutDown_)
        return DefWindowProcA(window, message, wParam, lParam);
    return self->FormMessage(message, wParam, lParam);
}

LRESULT CALLBACK Win32FormHost::PanelProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_NCCREATE) {
        auto* create = reinterpret_cast<CREATESTRUCTA*>(lParam);
        SetWindowLongPtrA(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(create->lpCreateParams));
    }
    auto* self = reinterpret_cast<Win32FormHost*>(GetWindowLongPtrA(window, GWLP_USERDATA));
    if (!self || self->shutDown_ || !self->form_) return DefWindowProcA(window, message, wParam, lParam);
    return self->PanelMessage(window, message, wParam, lParam);
}

LRESULT CALLBACK Win32FormHost::ButtonProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR, DWORD_PTR data) {
    auto* self = reinterpret_cast<Win32FormHost*>(data);
    // Flat buttons show their frame only under the mouse.
    if ((message == WM_MOUSEMOVE || message == WM_MOUSELEAVE) && !self->shutDown_) {
        for (auto& [component, info] : self->windows_) {
            if (info.window != window) continue;
            const bool hot = message == WM_MOUSEMOVE;
            if (hot && !info.hot) {
                TRACKMOUSEEVENT track{sizeof track, TME_LEAVE, window, 0};
                TrackMouseEvent(&track);
            }
            if (hot != info.hot) {
                info.hot = hot;
                InvalidateRect(window, nullptr, FALSE);
            }
        }
    }
    if (message == WM_NCDESTROY) RemoveWindowSubclass(window, ButtonProc, 0);
    return DefSubclassProc(window, message, wParam, lParam);
}

bool Win32FormHost::ChildNotification(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) {
    switch (message) {
    case WM_COMMAND: {
        auto it = commandIds_.find(LOWORD(wParam));
        if (it == commandIds_.end()) {
            // IDOK and IDCANCEL from the dialog navigation: Enter and Escape
            // were already offered to the form as dialog keys.
            result = 0;
            return LOWORD(wParam) == IDOK || LOWORD(wParam) == IDCANCEL;
        }
        TControl* control = it->second;
        const WORD code = HIWORD(wParam);
        if (auto* edit = As<TEdit>(control)) {
            if (code == EN_CHANGE && !settingText_) {
                const HWND window = reinterpret_cast<HWND>(lParam);
                std::string text(static_cast<std::size_t>(GetWindowTextLengthA(window)) + 1, '\0');
                text.resize(static_cast<std::size_t>(GetWindowTextA(window, text.data(), static_cast<int>(text.size()))));
                edit->UserEdited(text);
            }
        } else if (auto* box = As<TCheckBox>(control)) {
            if (code == BN_CLICKED)
                box->UserToggled(SendMessageA(reinterpret_cast<HWND>(lParam), BM_GETCHECK, 0, 0) == BST_CHECKED);
        } else if (code == BN_CLICKED) {
            control->Click();
        }
        result = 0;
        return true;
    }
    case WM_DRAWITEM: {
        const auto* item = reinterpret_cast<const DRAWITEMSTRUCT*>(lParam);
        if (item->CtlType != ODT_BUTTON) return false;
        DrawButton(*item);
        result = TRUE;
        return true;
    }
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLORBTN: {
        // Check box text on the panel's face.
        HDC dc = reinterpret_cast<HDC>(wParam);
        SetBkColor(dc, GetSysColor(COLOR_BTNFACE));
        SetTextColor(dc, GetSysColor(COLOR_BTNTEXT));
        result = reinterpret_cast<LRESULT>(GetSysColorBrush(COLOR_BTNFACE));
        return true;
    }
    default:
        return false;
    }
}

LRESULT Win32FormHost::PanelMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    LRESULT result = 0;
    if (ChildNotification(message, wParam, lParam, result)) return result;
    switch (message) {
    case WM_ERASEBKGND:
        return TRUE;
    case WM_PAINT:
        for (auto& [component, info] : windows_)
            if (info.window == window) PaintWindow(window, *dynamic_cast<const TControl*>(component));
        return 0;
    default:
        return DefWindowProcA(window, message, wParam, lParam);
    }
}

LRESULT Win32FormHost::FormMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    LRESULT result = 0;
    if (ChildNotification(message, wParam, lParam, result)) return result;
    if (tray_ && tray_->HandleMessage(message, wParam, lParam, result)) return result;
    switch (message) {
    case WM_ERASEBKGND:
        return TRUE;
    case WM_PAINT:
        PaintWindow(window_, *form_);
        return 0;
    case WM_TIMER: {
        auto it = timers_.find(wParam);
        // A tick already queued when the timer was switched off is dropped.
        if (it != timers_.end() && it->second->Enabled()) it->second->Fire();
        return 0;
    }
    case WM_CLOSE:
        form_->Close();
        return 0;
    case WM_SIZE:
        if (wParam == SIZE_MINIMIZED) form_->SetWindowState(TWindowState::Minimized);
        return 0;
    case WM_SETFOCUS:
        if (HWND active = WindowOf(form_->ActiveControl); active && IsWindowVisible(active)) SetFocus(active);
        return 0;
    case WM_LBUTTONUP:
        if (TControl* label = ClickableLabelAt(POINT{static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))}))
            label->Click();
        return 0;
    case WM_SETCURSOR:
        if (reinterpret_cast<HWND>(wParam) == window_ && LOWORD(lParam) == HTCLIENT) {
            POINT at{};
            GetCursorPos(&at);
            ScreenToClient(window_, &at);
            if (TControl* label = ClickableLabelAt(at); label && label->HandCursor) {
                SetCursor(LoadCursor(nullptr, IDC_HAND));
                return TRUE;
            }
        }
        return DefWindowProcA(window_, message, wParam, lParam);
    case WM_DPICHANGED: {
        dpi_ = HIWORD(wParam);
        const RECT* suggested = reinterpret_cast<const RECT*>(lParam);
        SetWindowPos(window_, nullptr, suggested->left, suggested->top, suggested->right - suggested->left,
                     suggested->bottom - suggested->top, SWP_NOZORDER | SWP_NOACTIVATE);
        Relayout();
        return 0;
    }
    default:
        return DispatchToForm(message, wParam, lParam);
    }
}

// Every message the window does not handle itself goes through the form's
// message map; its default handling is the system's.
LRESULT Win32FormHost::DispatchToForm(UINT message, WPARAM wParam, LPARAM lParam) {
    TMessage record;
    record.Msg = message;
    record.WParam = wParam;
    record.LParam = lParam;
    CopyDataView copyData;
    if (message == WM_COPYDATA) {
        const auto* data = reinterpret_cast<const COPYDATASTRUCT*>(lParam);
        if (data) {
            copyData.dwData = data->dwData;
            copyData.cbData = data->cbData;
            copyData.lpData = data->lpData;
            record.LParam = reinterpret_cast<intptr_t>(&copyData);
        } else {
            record.LParam = 0;
        }
    }
    form_->Dispatch(record);
    return static_cast<LRESULT>(record.Result);
}

}  // namespace brindlock
