// Encrypt Files, Decrypt Files, Erase Files and Open Encrypted File: an open
// dialog chooses the files, the choice replaces the job queue and starts it.
// The dialog is modal and may be opened from the tray in the middle of a
// file; the choice then waits (RunWhenIdle) until that file is done.
#include "fileops/temp_copy_path.h"
#include "jobs/job_queue.h"
#include "ui/form1.h"

namespace brindlock {
namespace {

void ChooseFilesForJob(TForm1& form, TOpenDialog& dialog, const char* title, int32_t mode) {
    dialog.Title = title;
    if (!dialog.Execute()) return;
    std::vector<std::string> files = dialog.Files;
    form.RunWhenIdle([&form, mode, files = std::move(files)] {
        ReplaceJobQueue(form, mode, files);
        ResetOverallProgress(form);
        form.StartJob();
    });
}

}  // namespace

void TForm1::EncryptFile1Click(TObject*) { ChooseFilesForJob(*this, OpenDialogEncode, "Encrypt Files", kJobEncrypt); }

void TForm1::DecryptFile1Click(TObject*) { ChooseFilesForJob(*this, OpenDialogDecode, "Decrypt Files", kJobDecrypt); }

void TForm1::EraseFile1Click(TObject*) { ChooseFilesForJob(*this, OpenDialog, "Secure Erase Files", kJobWipe); }

void TForm1::OpenEncryptedFile1Click(TObject*) {
    OpenDialogDecode.Title = "Open Encrypted File";
    if (!OpenDialogDecode.Execute()) return;
    // Only the first chosen file is opened.
    if (OpenDialogDecode.Files.empty() || OpenDialogDecode.Files.front().empty()) return;
    const std::string path = OpenDialogDecode.Files.front();
    RunWhenIdle([this, path] {
        ReplaceJobQueue(*this, kJobDecrypt, {path}, TempCopyPathFor(path));
        ResetOverallProgress(*this);
        StartJob();
        FormBringToFront();
    });
}

}  // namespace brindlock
