#include "platform/components.h"

namespace brindlock {

TControl::TControl(std::string name, TControl* parent, int left, int top, int width, int height, bool visible)
    : TComponent(std::move(name)), parent_(parent), left_(left), top_(top), width_(width), height_(height), visible_(visible) {
    if (parent_) parent_->children_.push_back(this);
}

void TControl::SetBounds(int left, int top, int width, int height) {
    if (left == left_ && top == top_ && width == width_ && height == height_) return;
    left_ = left;
    top_ = top;
    width_ = width;
    height_ = height;
    Changed(ComponentProperty::Bounds);
}

void TControl::SetVisible(bool visible) {
    if (visible == visible_) return;
    visible_ = visible;
    Changed(ComponentProperty::Visible);
}

bool TControl::Showing() const {
    for (const TControl* c = this; c; c = c->parent_)
        if (!c->visible_) return false;
    return true;
}

void TControl::SetEnabled(bool enabled) {
    if (enabled == enabled_) return;
    enabled_ = enabled;
    Changed(ComponentProperty::Enabled);
}

void TControl::SetCaption(const std::string& caption) {
    if (caption == caption_) return;
    caption_ = caption;
    Changed(ComponentProperty::Caption);
}

void TControl::SetHint(const std::string& hint) {
    hint_ = hint;
    Changed(ComponentProperty::Hint);
}

void TControl::SetFont(const TFont& font) {
    font_ = font;
    Changed(ComponentProperty::Font);
}

void TControl::Click() {
    if (OnClick && enabled_) OnClick(this);
}

TForm* TControl::OwningForm() {
    TControl* c = this;
    while (c->parent_) c = c->parent_;
    return dynamic_cast<TForm*>(c);
}

void TProgressBar::SetMax(int max) {
    if (max == max_) return;
    max_ = max;
    Changed(ComponentProperty::Range);
}

void TProgressBar::SetPosition(int position) {
    if (position < min_) position = min_;
    if (position > max_) position = max_;
    if (position == position_) return;
    position_ = position;
    Changed(ComponentProperty::Position);
}

void TEdit::SetText(const std::string& text) {
    text_ = text;
    Changed(ComponentProperty::Text);
}

void TEdit::SetFocus() {
    if (TForm* form = OwningForm()) form->ActiveControl = this;
    Changed(ComponentProperty::Focus);
}

void TCheckBox::SetChecked(bool checked) {
    if (checked == checked_) return;
    checked_ = checked;
    Changed(ComponentProperty::Checked);
}

void TImage::SetPicture(TBitmap picture) {
    picture_ = std::make_shared<TBitmap>(std::move(picture));
    Changed(ComponentProperty::Picture);
}

void TTimer::SetInterval(uint32_t interval) {
    if (interval == interval_) return;
    interval_ = interval;
    Changed(ComponentProperty::Interval);
}

void TTimer::SetEnabled(bool enabled) {
    if (enabled == enabled_) return;
    enabled_ = enabled;
    Changed(ComponentProperty::Enabled);
}

void TMenuItem::SetEnabled(bool enabled) {
    if (enabled == enabled_) return;
    enabled_ = enabled;
    Changed(ComponentProperty::Enabled);
}

void TTrayIcon::SetVisible(bool visible) {
    if (visible == visible_) return;
    visible_ = visible;
    Changed(ComponentProperty::Visible);
}

bool TOpenDialog::Execute() { return Host() != nullptr && Host()->ExecuteOpenDialog(*this); }

TForm::TForm(std::string name, int clientWidth, int clientHeight)
    : TControl(std::move(name), nullptr, 0, 0, clientWidth, clientHeight, false) {}

void TForm::SetVisible(bool visible) {
    const bool wasVisible = Visible();
    TControl::SetVisible(visible);
    if (visible && !wasVisible && OnShow) OnShow(this);
}

void TForm::SetWindowState(TWindowState state) {
    if (state == windowState_) return;
    windowState_ = state;
    Changed(ComponentProperty::WindowState);
    if (OnResize) OnResize(this);
}

void TForm::Close() {
    bool canClose = true;
    if (OnCloseQuery) OnCloseQuery(this, canClose);
    if (canClose) Hide();
}

}  // namespace brindlock
