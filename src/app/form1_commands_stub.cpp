// Placeholder bodies so the window links while the app methods are being
// written; this file is deleted when they land.
#include "platform/application.h"
#include "ui/form1.h"

namespace brindlock {

void TForm1::Dispatch(TMessage& message) { TForm::Dispatch(message); }
void TForm1::WMCopyData(TMessage&) {}
void TForm1::CMDialogKey(TMessage&) {}
void TForm1::ProcessCommandLine() {}
void TForm1::AcceptCommand(char, const std::vector<std::string>&) {}
void TForm1::TimerStartupTimer(TObject*) {
    TimerStartup.SetEnabled(false);
    TrayIcon1.SetVisible(true);
    if (JobCount == 0) {
        Hide();
        platform_.Application->ShowTaskbarWindow(false);
    }
}

}  // namespace brindlock
