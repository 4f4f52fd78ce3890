// The main window's message map and its keyboard handling.
#include "ui/form1.h"

namespace brindlock {
namespace {

constexpr uint32_t kWmCopyData = 0x004A;
constexpr uint32_t kWmHotKey = 0x0312;
// The desktop library's dialog-key notification: its control-message base
// 0xB000 plus 5. The window sees it for keys such as Enter and Escape before
// a child control acts on them.
constexpr uint32_t kCmDialogKey = 0xB005;

constexpr uint16_t kKeyReturn = 13;
constexpr uint16_t kKeyEscape = 27;

}  // namespace

void TForm1::Dispatch(TMessage& message) {
    switch (message.Msg) {
    case kWmCopyData:
        WMCopyData(message);
        break;
    case kWmHotKey:
        WMHotKey(message);
        break;
    case kCmDialogKey:
        CMDialogKey(message);
        break;
    default:
        TForm::Dispatch(message);
        break;
    }
}

void TForm1::CMDialogKey(TMessage& message) {
    const uint16_t key = static_cast<uint16_t>(message.WParam & 0xFFFF);
    if (key == kKeyReturn && (ButtonDone.Visible() || ButtonClose.Visible())) {
        ButtonDoneClick(this);
        message.Result = 1;
        return;
    }
    if (key == kKeyEscape) {
        // Escape always hides the window and marks the queued job aborted.
        ButtonAbortClick(this);
        message.Result = 1;
        return;
    }
    TForm::Dispatch(message);
}

}  // namespace brindlock
