// Creation and destruction of the main window.
#include "ui/form1.h"

namespace brindlock {

void TForm1::FormCreate(TObject*) {
    JobFiles.clear();
    JobMode = 0;
    JobIndex = 0;
    JobCount = 0;
    AbortRequested = false;
    Password.clear();
    WipePasses = 5;
    WipeDelaySeconds = 30;
    PanelProgress.SetLeft(8);
    PanelPwd.SetLeft(8);
    NotifyFolder.clear();
    KeepSession = true;
    CheckBoxKeepSession.SetChecked(KeepSession);
    OpenMode = false;
    TempCopyPath.clear();
    PendingWipes.clear();
    TimerTimoutErase.SetEnabled(false);
    LoadPendingWipes();
    ProcessCommandLine();
    RegisterDefaultHotkeys();
}

void TForm1::FormDestroy(TObject*) {
    JobFiles.clear();
    // The copies themselves are not wiped here: the list file keeps them for
    // the next start.
    PendingWipes.clear();
    UnregisterHotkeys();
}

}  // namespace brindlock
