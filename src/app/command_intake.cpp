// Command intake: every road by which files reach the running instance (a
// second start's copy-data packet, the program's own command line, a hotkey)
// ends in AcceptCommand, which admits the paths into the job queue and starts
// the job.
#include <utility>

#include "app/command.h"
#include "fileops/temp_copy_path.h"
#include "jobs/job_queue.h"
#include "platform/file_system.h"
#include "platform/program_info.h"
#include "ui/form1.h"

namespace brindlock {
namespace {

bool IsModeLetter(char mode) { return mode == 'E' || mode == 'D' || mode == 'O' || mode == 'W'; }

int32_t JobModeOf(char letter) { return letter == 'E' ? 0 : letter == 'W' ? -1 : 1; }

// The letter of the queued job, read back from its mode.
char LetterOfQueuedJob(const TForm1& form) {
    if (form.OpenMode) return 'O';
    return form.JobMode == 0 ? 'E' : form.JobMode == -1 ? 'W' : 'D';
}

void ResetQueue(TForm1& form) {
    form.JobFiles.clear();
    form.JobCount = 0;
    form.JobIndex = 0;
    form.AbortRequested = false;
    form.OpenMode = false;
    form.TempCopyPath.clear();
}

// Paths given on a command line or by another program are taken only when
// they name an existing file; a leading "/" or "-" is a mistyped switch, not
// a file, even when a file of that name happens to exist.
bool IsAdmissiblePath(IFileSystem* files, const std::string& path) {
    if (path.empty() || path[0] == '/' || path[0] == '-') return false;
    return files != nullptr && files->FileExists(path);
}

void AcceptOpenCommand(TForm1& form, const std::string& encryptedPath) {
    if (encryptedPath.empty()) return;
    // An open command replaces whatever is queued, also a job that has not
    // ended: the user wants to see this file now.
    ReplaceJobQueue(form, kJobDecrypt, {encryptedPath}, TempCopyPathFor(encryptedPath));
    ResetOverallProgress(form);
    form.StartJob();
    form.FormBringToFront();
}

void AcceptBatchCommand(TForm1& form, char mode, const std::vector<std::string>& files) {
    if (QueuedJobHasEnded(form)) {
        ResetQueue(form);
    } else if (LetterOfQueuedJob(form) != mode) {
        // Not mixed into the job that has not ended: it follows that job.
        form.FollowUpCommands.Push(Command{mode, files});
        form.FormBringToFront();
        return;
    }
    form.JobMode = JobModeOf(mode);
    IFileSystem* fileSystem = form.Services().Files;
    for (const std::string& path : files)
        if (IsAdmissiblePath(fileSystem, path)) form.JobFiles.push_back(path);
    form.JobCount = static_cast<int32_t>(form.JobFiles.size());
    if (form.JobCount == 0) return;
    // A running job takes added files in its stride; only a job that has not
    // begun is started here.
    if (!form.TimerBatch.Enabled() && form.JobIndex == 0 && !form.InFileOperation) {
        ResetOverallProgress(form);
        form.StartJob();
    }
    form.FormBringToFront();
}

// Admits a command now; the caller has made sure that no file operation is
// in progress or that the command neither resets nor replaces the queue.
void AdmitCommand(TForm1& form, char mode, const std::vector<std::string>& files) {
    if (mode == 'O') AcceptOpenCommand(form, files.front());
    else AcceptBatchCommand(form, mode, files);
}

// Once the queued job has ended, the commands that waited behind it start in
// their order, until one of them makes a job of its own. An abort stops the
// waiting commands too: the user asked for the work to stop.
void StartWaitingCommands(TForm1& form) {
    if (!QueuedJobHasEnded(form)) return;
    if (form.AbortRequested) {
        form.FollowUpCommands.Clear();
        return;
    }
    while (!form.FollowUpCommands.Empty() && QueuedJobHasEnded(form)) {
        Command next = *form.FollowUpCommands.PopFront();
        AdmitCommand(form, next.Mode, next.Files);
    }
}

void AdmitInTurn(TForm1& form, char mode, const std::vector<std::string>& files) {
    // An open command replaces the queue at once, and with it the commands
    // that waited behind the job it replaces (ReplaceJobQueue).
    if (mode != 'O') StartWaitingCommands(form);
    AdmitCommand(form, mode, files);
}

// True when admitting the command now would reset or replace the queue.
bool WouldReplaceQueue(const TForm1& form, char mode) { return mode == 'O' || QueuedJobHasEnded(form); }

}  // namespace

void TForm1::AcceptCommand(char mode, const std::vector<std::string>& files) {
    if (files.empty()) return;
    if (!IsModeLetter(mode)) return;
    // Under a running file operation the queue must stay as it is; such a
    // command waits until the operation has returned, and every command after
    // it waits too, so that none overtakes another.
    if (FollowUpCommands.HeldUntilIdle > 0 || (InFileOperation && WouldReplaceQueue(*this, mode))) {
        RunWhenIdle([this, mode, files] { AdmitInTurn(*this, mode, files); });
        return;
    }
    AdmitInTurn(*this, mode, files);
}

void TForm1::StartNextQueuedCommand() {
    if (FollowUpCommands.HeldUntilIdle > 0 || InFileOperation) return;
    StartWaitingCommands(*this);
}

void TForm1::ProcessCommandLine() {
    IProgramInfo* program = platform_.Program;
    if (program == nullptr) return;
    // Full paths, so that a viewing copy's path still names it after a
    // restart from another folder.
    std::optional<Command> command = CommandFromArguments(
        WithFullPaths(program->ProgramArguments(), [program](const std::string& path) { return program->FullPathOf(path); }));
    if (!command) return;
    AcceptCommand(command->Mode, command->Files);
}

void TForm1::WMCopyData(TMessage& message) {
    std::optional<Command> command = DecodeCommandPacket(reinterpret_cast<const CopyDataView*>(message.LParam));
    if (!command) return;
    AcceptCommand(command->Mode, command->Files);
}

}  // namespace brindlock
