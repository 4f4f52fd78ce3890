// The desktop components the main window is built from: small objects that
// hold their state (caption, visibility, bounds, interval, handler...). A
// backend attaches a ComponentHost and mirrors every change to a real control
// (win32/) or merely keeps it (headless/, for tests). Nothing here calls the
// operating system.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace brindlock {

class TObject {
public:
    virtual ~TObject() = default;
};

using TNotifyEvent = std::function<void(TObject* sender)>;

class TComponent;
class TControl;
class TForm;
class TOpenDialog;

// What changed on a component, so a backend updates only that.
enum class ComponentProperty {
    Visible, Enabled, Caption, Bounds, Hint, Font, Position, Range, Text, Checked,
    Interval, Focus, Picture, WindowState, Items,
};

// Implemented by a backend: mirrors component changes and runs dialogs.
class ComponentHost {
public:
    virtual ~ComponentHost() = default;
    virtual void ComponentChanged(TComponent& component, ComponentProperty property) = 0;
    // Creates the real window and controls for a form and its components,
    // before the form's creation handler runs.
    virtual void Realize(TForm& form, const std::vector<TComponent*>& components) = 0;
    // Runs an open-file dialog modally; true when the user chose files.
    virtual bool ExecuteOpenDialog(TOpenDialog& dialog) = 0;
};

class TComponent : public TObject {
public:
    explicit TComponent(std::string name) : name_(std::move(name)) {}
    TComponent(const TComponent&) = delete;
    TComponent& operator=(const TComponent&) = delete;

    const std::string& Name() const { return name_; }
    void AttachHost(ComponentHost* host) { host_ = host; }
    ComponentHost* Host() const { return host_; }

    // Opaque slot a backend may use for its own per-component data.
    std::shared_ptr<void> BackendData;

protected:
    void Changed(ComponentProperty property) {
        if (host_) host_->ComponentChanged(*this, property);
    }

private:
    std::string name_;
    ComponentHost* host_ = nullptr;
};

struct TFont {
    std::string Name = "MS Sans Serif";
    int Height = -11;
    bool Bold = false;
    bool Underline = false;
    uint32_t Color = 0x000000;  // 0x00BBGGRR
};

enum class TAlignment { LeftJustify, Center };

class TControl : public TComponent {
public:
    TControl(std::string name, TControl* parent, int left, int top, int width, int height, bool visible = true);

    TControl* Parent() const { return parent_; }
    const std::vector<TControl*>& Children() const { return children_; }

    int Left() const { return left_; }
    int Top() const { return top_; }
    int Width() const { return width_; }
    int Height() const { return height_; }
    void SetBounds(int left, int top, int width, int height);
    void SetLeft(int left) { SetBounds(left, top_, width_, height_); }

    bool Visible() const { return visible_; }
    virtual void SetVisible(bool visible);
    void Show() { SetVisible(true); }
    void Hide() { SetVisible(false); }
    // Visible itself and every parent visible.
    bool Showing() const;

    bool Enabled() const { return enabled_; }
    void SetEnabled(bool enabled);

    const std::string& Caption() const { return caption_; }
    void SetCaption(const std::string& caption);

    const std::string& Hint() const { return hint_; }
    void SetHint(const std::string& hint);
    bool ShowHint = false;

    const TFont& Font() const { return font_; }
    void SetFont(const TFont& font);
    bool Transparent = false;
    bool HandCursor = false;

    TNotifyEvent OnClick;
    // What a mouse click or a keyboard activation does.
    void Click();

    TForm* OwningForm();

private:
    TControl* parent_;
    std::vector<TControl*> children_;
    int left_, top_, width_, height_;
    bool visible_;
    bool enabled_ = true;
    std::string caption_;
    std::string hint_;
    TFont font_;
};

class TSpeedButton : public TControl {
public:
    using TControl::TControl;
    bool Flat = false;
    bool GlyphAboveText = false;
    int GlyphId = -1;  // the backend's picture for the glyph; -1 for none
};

class TLabel : public TControl {
public:
    using TControl::TControl;
    TAlignment Alignment = TAlignment::LeftJustify;
    bool AutoSize = true;
    bool WordWrap = false;
};

enum class TPanelBevel { None, Lowered, Raised };

class TPanel : public TControl {
public:
    using TControl::TControl;
    TPanelBevel BevelOuter = TPanelBevel::Raised;
};

class TBevel : public TControl {
public:
    using TControl::TControl;
};

class TProgressBar : public TControl {
public:
    using TControl::TControl;
    int Min() const { return min_; }
    int Max() const { return max_; }
    int Position() const { return position_; }
    void SetMax(int max);
    void SetPosition(int position);

private:
    int min_ = 0;
    int max_ = 100;
    int position_ = 0;
};

class TEdit : public TControl {
public:
    using TControl::TControl;
    const std::string& Text() const { return text_; }
    // Called by the program; a backend reports what the user typed through UserEdited.
    void SetText(const std::string& text);
    void UserEdited(const std::string& text) { text_ = text; }
    char PasswordChar = 0;
    void SetFocus();

private:
    std::string text_;
};

class TCheckBox : public TControl {
public:
    using TControl::TControl;
    bool Checked() const { return checked_; }
    void SetChecked(bool checked);
    void UserToggled(bool checked) { checked_ = checked; }

private:
    bool checked_ = false;
};

// A picture of 32-bit pixels 0x00RRGGBB, row by row from the top.
struct TBitmap {
    int Width = 0;
    int Height = 0;
    std::vector<uint32_t> Pixels;
    TBitmap() = default;
    TBitmap(int width, int height) : Width(width), Height(height), Pixels(std::size_t(width) * height, 0) {}
    uint32_t& At(int x, int y) { return Pixels[std::size_t(y) * Width + x]; }
    uint32_t At(int x, int y) const { return Pixels[std::size_t(y) * Width + x]; }
};

class TImage : public TControl {
public:
    using TControl::TControl;
    bool HasPicture() const { return picture_ != nullptr; }
    const TBitmap* Picture() const { return picture_.get(); }
    void SetPicture(TBitmap picture);
    int IconId = -1;  // an icon resource shown instead of a bitmap; -1 for none

private:
    std::shared_ptr<TBitmap> picture_;
};

class TTimer : public TComponent {
public:
    TTimer(std::string name, uint32_t interval, bool enabled) : TComponent(std::move(name)), interval_(interval), enabled_(enabled) {}
    uint32_t Interval() const { return interval_; }
    void SetInterval(uint32_t interval);
    bool Enabled() const { return enabled_; }
    // Enabling an enabled timer changes nothing: its period is not restarted.
    void SetEnabled(bool enabled);
    TNotifyEvent OnTimer;
    void Fire() {
        if (OnTimer) OnTimer(this);
    }

private:
    uint32_t interval_;
    bool enabled_;
};

class TMenuItem : public TComponent {
public:
    TMenuItem(std::string name, std::string caption, int imageIndex) : TComponent(std::move(name)), ImageIndex(imageIndex), caption_(std::move(caption)) {}
    const std::string& Caption() const { return caption_; }
    bool IsSeparator() const { return caption_ == "-"; }
    bool Enabled() const { return enabled_; }
    void SetEnabled(bool enabled);
    int ImageIndex;
    TNotifyEvent OnClick;
    void Click() {
        if (OnClick && enabled_) OnClick(this);
    }

private:
    std::string caption_;
    bool enabled_ = true;
};

class TPopupMenu : public TComponent {
public:
    using TComponent::TComponent;
    std::vector<TMenuItem*> Items;
};

class TTrayIcon : public TComponent {
public:
    using TComponent::TComponent;
    bool Visible() const { return visible_; }
    void SetVisible(bool visible);
    std::string Hint;
    int IconIndex = 0;
    TPopupMenu* PopupMenu = nullptr;
    TNotifyEvent OnClick;

private:
    bool visible_ = false;
};

class TOpenDialog : public TComponent {
public:
    using TComponent::TComponent;
    std::string Title;
    std::string Filter;  // "description|pattern|description|pattern"
    bool AllowMultiSelect = true;
    bool HideReadOnly = true;
    bool Resizable = true;
    std::vector<std::string> Files;  // the chosen paths, in the dialog's order
    // Runs the dialog through the host; false when cancelled (Files untouched then).
    bool Execute();
};

enum class TWindowState { Normal, Minimized };

// A window message as the main window's dispatch sees it.
struct TMessage {
    uint32_t Msg = 0;
    uintptr_t WParam = 0;
    intptr_t LParam = 0;
    intptr_t Result = 0;
};

class TForm : public TControl {
public:
    TForm(std::string name, int clientWidth, int clientHeight);

    void SetVisible(bool visible) override;
    TWindowState WindowState() const { return windowState_; }
    void SetWindowState(TWindowState state);

    // Asks OnCloseQuery; hides the form when it may close.
    void Close();

    // The message map. The default passes every message on to DefaultHandler.
    virtual void Dispatch(TMessage& message) { DefaultHandler(message); }
    // The backend's own handling of a message (set by the backend).
    std::function<void(TMessage&)> DefaultHandler = [](TMessage&) {};

    TControl* ActiveControl = nullptr;
    bool KeyPreview = false;

    TNotifyEvent OnShow;
    TNotifyEvent OnResize;
    std::function<void(TObject*, bool&)> OnCloseQuery;

private:
    TWindowState windowState_ = TWindowState::Normal;
};

}  // namespace brindlock
