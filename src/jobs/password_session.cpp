// The password panel and the session that holds the password: at most 120 s
// from its entry, and only until the end of the job unless "Keep session
// open" is checked. A running job keys with JobPassword, which the session's
// end leaves alone.
#include "ui/form1.h"

namespace brindlock {

void TForm1::ButtonDoneClick(TObject*) {
    // Without the panel this is the "&Close" button after a job.
    if (!PanelPwd.Visible()) {
        Close();
        return;
    }
    AbortRequested = false;
    ButtonDone.Hide();
    PanelPwd.Hide();
    PanelProgress.Show();
    // Taken as typed: an empty text puts the panel up again through StartJob.
    Password = EditPwd.Text();
    KeepSession = CheckBoxKeepSession.Checked();
    EditPwd.SetText("");
    // The session runs a full period from this entry.
    TimerSession.SetEnabled(false);
    TimerSession.SetEnabled(true);
    StartJob();
}

void TForm1::TimerSessionTimer(TObject*) { Password.clear(); }

void TForm1::ButtonLogoutClick(TObject*) {
    TimerSessionTimer(this);
    // Wiping the copies may replace the queue; Wipe Temp itself waits for a
    // file in progress, keeping its place among the commands that came after.
    WipeTemp1Click(this);
}

}  // namespace brindlock
