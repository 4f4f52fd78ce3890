// The hotkey actions: act on the files selected in the window in front,
// normally Explorer. Explorer is not asked for its selection; a simulated
// Ctrl+C makes it put the selection on the clipboard as a file-drop list,
// which is read from there.
#include <string>
#include <vector>

#include "platform/clipboard.h"
#include "platform/keyboard_input.h"
#include "platform/shell_services.h"
#include "platform/sleeper.h"
#include "ui/form1.h"

namespace brindlock {
namespace {

constexpr uint16_t kVkC = 0x43;
constexpr uint32_t kMbOk = 0;
constexpr const char kReportCaption[] = "Brindlock Clipboard-Debug";
constexpr const char kLineEnd[] = "\r\n";
// Explorer needs a moment to answer the copy: up to 10 looks, 50 ms apart.
constexpr int kClipboardPolls = 10;
constexpr uint32_t kClipboardPollMs = 50;
constexpr uint32_t kMaxPath = 260;

struct HotkeyAction {
    int32_t id;
    char mode;
    void (TForm1::*dialogCommand)(TObject*);
};

constexpr HotkeyAction kHotkeyActions[] = {
    {1, 'O', &TForm1::OpenEncryptedFile1Click},
    {2, 'E', &TForm1::EncryptFile1Click},
    {3, 'D', &TForm1::DecryptFile1Click},
    {4, 'W', &TForm1::EraseFile1Click},
};

// Reads name `index` of the drop list; empty when it is empty or does not
// fit into a path buffer (those are left out of report and result alike).
std::string DropName(IClipboard& clipboard, DropHandle drop, uint32_t index) {
    char name[kMaxPath] = {};
    const uint32_t length = clipboard.DragQueryFile(drop, index, name, kMaxPath);
    if (length < 1 || length > kMaxPath - 1) return "";
    return std::string(name, length);
}

// What the clipboard held at the first look, for the diagnostic box.
struct FirstLook {
    bool available = false;
    bool opened = false;
    bool hadDrop = false;
    uint32_t count = 0;
    std::vector<std::string> names;
};

FirstLook LookAtClipboard(IClipboard& clipboard) {
    FirstLook look;
    look.available = clipboard.IsFormatAvailable(kClipboardFormatHdrop);
    look.opened = clipboard.Open();
    if (!look.opened) return look;
    const DropHandle drop = clipboard.GetData(kClipboardFormatHdrop);
    look.hadDrop = drop != 0;
    if (look.hadDrop) {
        look.count = clipboard.DragQueryFile(drop, kDropFileCount, nullptr, 0);
        for (uint32_t i = 0; i < look.count; ++i) {
            std::string name = DropName(clipboard, drop, i);
            if (!name.empty()) look.names.push_back(std::move(name));
        }
    }
    clipboard.Close();
    return look;
}

std::string ReportText(const FirstLook& look) {
    std::string report;
    report += std::string("sendCtrlC: yes") + kLineEnd;
    report += std::string("IsClipboardFormatAvailable(CF_HDROP): ") + (look.available ? "YES" : "NO") + kLineEnd;
    report += std::string("OpenClipboard: ") + (look.opened ? "OK" : "FAILED") + kLineEnd;
    report += std::string("hDrop: ") + (look.hadDrop ? "non-NULL" : "NULL") + kLineEnd;
    report += "File count: " + std::to_string(look.count) + kLineEnd + kLineEnd;
    for (const std::string& name : look.names) report += name + kLineEnd;
    return report;
}

}  // namespace

void TForm1::WMHotKey(TMessage& message) {
    for (const HotkeyAction& action : kHotkeyActions) {
        if (message.WParam == static_cast<uintptr_t>(action.id)) {
            RunHotkeyAction(action.mode);
            break;
        }
    }
    message.Result = 0;
}

void TForm1::RunHotkeyAction(char mode) {
    std::vector<std::string> files;
    if (CaptureSelection(files)) {
        AcceptCommand(mode, files);
        return;
    }
    for (const HotkeyAction& action : kHotkeyActions) {
        if (action.mode == mode) {
            (this->*action.dialogCommand)(this);
            return;
        }
    }
}

void TForm1::SendCopyKeystroke() {
    KeyboardInputRecord records[4];
    records[0].VirtualKey = kVkControl;
    records[1].VirtualKey = kVkC;
    records[2].VirtualKey = kVkC;
    records[2].Flags = kKeyEventKeyUp;
    records[3].VirtualKey = kVkControl;
    records[3].Flags = kKeyEventKeyUp;
    platform_.Keyboard->SendInput(records, 4);
}

bool TForm1::CaptureSelection(std::vector<std::string>& list) {
    IClipboard& clipboard = *platform_.Clipboard;
    list.clear();
    SendCopyKeystroke();
    for (int poll = 0; poll < kClipboardPolls; ++poll) {
        platform_.Sleeper->Sleep(kClipboardPollMs);
        if (clipboard.IsFormatAvailable(kClipboardFormatHdrop)) break;
    }

    const FirstLook look = LookAtClipboard(clipboard);
    // Modal: timers and further hotkeys keep running while it is open.
    platform_.Shell->MessageBox(ReportText(look), kReportCaption, kMbOk);
    if (!look.hadDrop || look.count == 0) return false;

    // Read again: the clipboard may have changed while the box was open.
    if (!clipboard.Open()) return false;
    const DropHandle drop = clipboard.GetData(kClipboardFormatHdrop);
    if (drop == 0) {
        clipboard.Close();
        return false;
    }
    const uint32_t count = clipboard.DragQueryFile(drop, kDropFileCount, nullptr, 0);
    for (uint32_t i = 0; i < count; ++i) {
        std::string name = DropName(clipboard, drop, i);
        if (!name.empty()) list.push_back(std::move(name));
    }
    clipboard.Close();
    return !list.empty();
}

}  // namespace brindlock
