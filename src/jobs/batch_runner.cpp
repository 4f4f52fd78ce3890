// The job runner: StartJob, one file per tick of TimerBatch, the progress
// report that keeps the window alive during a file, abort, and the end of a
// job.
//
// Everything runs on the one user-interface thread, but FileProgress pumps
// messages, so any handler can run in the middle of a file. InFileOperation
// is set for exactly the duration of a file operation. While it is set:
// - StartJob does nothing (the job of that file is already running), so
//   TimerBatch cannot tick a second file operation into the first;
// - commands that would replace, reset or start the queue go through
//   RunWhenIdle, which holds them until the runner has finished with the
//   file, and then runs them in the order they came. Every held action counts
//   in FollowUpCommands.HeldUntilIdle, so a command that arrives after it
//   waits behind it instead of slipping into the running job.
#include <algorithm>

#include "fileops/path_names.h"
#include "jobs/job_queue.h"
#include "platform/application.h"
#include "platform/shell_services.h"
#include "ui/form1.h"

namespace brindlock {

void TForm1::RunWhenIdle(std::function<void()> action) {
    // Actions that are still waiting go first, so the order is kept.
    if (InFileOperation || !deferred_.empty()) {
        ++FollowUpCommands.HeldUntilIdle;
        deferred_.push_back(std::move(action));
        return;
    }
    action();
}

void TForm1::RunDeferredActions() {
    // An action may pump messages and so meet a tick of the runner, whose own
    // call here takes the following actions; each one runs exactly once.
    while (!InFileOperation && !deferred_.empty()) {
        std::function<void()> action = std::move(deferred_.front());
        deferred_.erase(deferred_.begin());
        --FollowUpCommands.HeldUntilIdle;
        action();
    }
    // The close of an ended job starts the commands waiting behind it, but
    // not while actions are held. If it came while they ran (a message box of
    // one of them pumps messages), nothing else would start those commands.
    if (!InFileOperation && deferred_.empty() && !TimerClose.Enabled()) StartNextQueuedCommand();
}

void TForm1::StartJob() {
    if (JobCount <= 0) return;
    if (InFileOperation) return;
    // A job that starts (or waits for its password) right after the previous
    // one ended keeps the window: the previous job's close must not hide it.
    TimerClose.SetEnabled(false);
    if (JobMode != kJobWipe && Password.empty()) {
        TimerBatch.SetEnabled(false);
        PanelProgress.Hide();
        PanelPwd.Show();
        ButtonDone.Show();
        FormBringToFront();
        return;
    }
    AbortRequested = false;
    FilePercent = 0;
    JobPassword = Password;
    PanelPwd.Hide();
    PanelProgress.Show();
    ButtonDone.Hide();
    ButtonAbort.Show();
    ButtonAbort.SetEnabled(true);
    ButtonClose.Hide();
    for (TProgressBar* bar : {&ProgressBarFilesAll, &ProgressBarFileCurrent}) {
        bar->SetMax(100);
        bar->SetPosition(0);
    }
    TimerBatch.SetEnabled(true);
}

void TForm1::TimerBatchTimer(TObject*) {
    TimerBatch.SetEnabled(false);
    if (InFileOperation) return;  // the runner enables the timer again after the file
    if (JobCount <= 0 || JobIndex >= JobCount || static_cast<std::size_t>(JobIndex) >= JobFiles.size()) {
        DoneAndClose(this);
        RunDeferredActions();
        return;
    }
    if (AbortRequested) {
        // Abort or Escape between two files: the job stops here, just as one
        // stopped inside a file does. Every command that starts a job clears
        // the flag, so only an abort of this job is found set.
        JobPassword.clear();
        return;
    }
    if (JobMode != kJobWipe && JobPassword.empty()) {
        // Only StartJob hands a job its password; a job that reached the
        // runner without one asks for it instead of keying with nothing.
        StartJob();
        return;
    }
    const std::string path = JobFiles[JobIndex];

    const ProgressCallback progress = [this](int32_t done, int32_t total) { return FileProgress(done, total); };
    InFileOperation = true;
    bool ok = false;
    switch (JobMode) {
        case kJobEncrypt: ok = EncryptOneFile(path, 0, progress); break;
        case kJobDecrypt: ok = DecryptOneFile(path, 0, progress); break;
        case kJobWipe: ok = SecureWipeFile(path, WipePasses, progress); break;
        default: break;
    }
    InFileOperation = false;
    NotifyFolderChanged(path);
    if (ok && JobMode == kJobWipe) ForgetPendingWipe(path);  // a wiped viewing copy leaves the registry

    if (!ok && AbortRequested) {
        // Stopped by the user: nothing restarts this job, so its key goes now.
        JobPassword.clear();
    } else {
        ++JobIndex;  // a file that failed without an abort is skipped
        if (JobIndex >= JobCount || AbortRequested) {
            const bool openJob = OpenMode;
            DoneAndClose(this);
            if (openJob) {
                const std::string copy = TempCopyPath;
                OpenMode = false;
                TempCopyPath.clear();
                // Only a successful decryption of a "$" file wrote the copy.
                // Otherwise the path may hold nothing, an earlier file's copy
                // still waiting for its wipe, or a file of the user's that
                // happens to bear the name; none of these is to be shown or
                // wiped. (A name without "$" is left alone by the decryption,
                // which reports success.)
                if (ok && !copy.empty() && HasEncryptedName(path)) {
                    // Registered before the viewer starts: starting it may
                    // pump messages, and a close, a waiting command or a new
                    // open that comes in then must find the copy already in
                    // the wipe list, and this job's open state already gone.
                    ScheduleWipe(copy);
                    platform_.Shell->ShellOpen(this, copy);
                }
            }
        } else {
            ButtonAbort.Show();
            ButtonClose.Hide();
            TimerBatch.SetEnabled(true);
        }
    }
    RunDeferredActions();
}

bool TForm1::FileProgress(int32_t done, int32_t total) {
    const int64_t whole = total <= 0 ? 1 : total;
    const int64_t percent = static_cast<int64_t>(done) * 100 / whole;
    FilePercent = static_cast<int32_t>(std::clamp<int64_t>(percent, 0, 100));
    UpdateUI();
    platform_.Application->ProcessMessages();
    return !AbortRequested;
}

void TForm1::ButtonAbortClick(TObject*) {
    EditPwd.SetText("");
    Close();
    AbortRequested = true;
    // The commands waiting to follow the job go with it.
    FollowUpCommands.Clear();
}

void TForm1::DoneAndClose(TObject*) {
    TimerBatch.SetEnabled(false);
    AbortRequested = false;
    JobIndex = 0;
    JobCount = 0;
    FilePercent = 0;
    JobPassword.clear();
    UpdateUI();
    ButtonAbort.Hide();
    ButtonClose.Show();
    TimerClose.SetEnabled(true);
    if (!KeepSession) TimerSessionTimer(this);
}

void TForm1::TimerCloseTimer(TObject*) {
    TimerClose.SetEnabled(false);
    Close();
    PanelProgress.Hide();
    PanelPwd.Hide();
    // Commands of another kind that waited for this job start now.
    StartNextQueuedCommand();
}

}  // namespace brindlock
