// The start-up step, about 222 ms after the main window was created: the
// tray icon appears, a job queued by the command line starts (or the window
// goes to the tray), and the desktop integration is renewed.
#include "platform/application.h"
#include "shell/shell_verbs.h"
#include "shell/start_menu_shortcut.h"
#include "ui/form1.h"

namespace brindlock {
namespace {

// A queued job that no one has started yet: the runner's timer is off, no
// file was taken, and it was not aborted. (During the first file of a job
// the same holds, which is why callers check for a file operation first.)
bool JobAwaitsStart(const TForm1& form) {
    return form.JobCount > 0 && form.JobIndex == 0 && !form.TimerBatch.Enabled() && !form.AbortRequested;
}

}  // namespace

void TForm1::TimerStartupTimer(TObject*) {
    TimerStartup.SetEnabled(false);
    TrayIcon1.SetVisible(true);
    if (JobCount > 0) {
        if (!InFileOperation) {
            // A job the user aborted (Escape in the first moments) stays
            // stopped, and one that runs already is not started over.
            if (JobAwaitsStart(*this)) StartJob();
        } else {
            // The runner is inside a file: the job runs already. Look again
            // once the file is done, in case the operation under way belongs
            // to something else and the queued job still waits for its start.
            RunWhenIdle([this] {
                if (JobAwaitsStart(*this)) StartJob();
            });
        }
    } else {
        Hide();
        platform_.Application->ShowTaskbarWindow(false);
    }
    EnsureStartMenuShortcut(platform_, "Brindlock");
    RegisterShellVerbs(platform_);
}

}  // namespace brindlock
