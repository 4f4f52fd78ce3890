// The registry of temporary viewing copies: scheduling, the timed wipe and
// the "Wipe Temp" command.
#include <string>
#include <vector>

#include "jobs/job_queue.h"
#include "platform/clock.h"
#include "platform/file_system.h"
#include "platform/locale.h"
#include "platform/shell_services.h"
#include "ui/form1.h"

namespace brindlock {

namespace {

constexpr double kDaysPerSecond = 1.0 / 86400;

}  // namespace

void TForm1::ScheduleWipe(const std::string& path) {
    if (path.empty()) return;
    const TDateTime due = platform_.Clock->Now() + WipeDelaySeconds * kDaysPerSecond;
    // Open jobs of the same folder and extension share one copy path, so the
    // copy may already be registered: renew its time rather than keep two
    // entries. The entry keeps the spelling it was first registered with.
    for (TSecureWipeItem& item : PendingWipes) {
        if (platform_.Locale->AnsiCompareText(item.Path, path) == 0) {
            item.DueTime = due;
            TimerTimoutErase.SetEnabled(true);
            SavePendingWipes();
            return;
        }
    }
    PendingWipes.push_back(TSecureWipeItem{path, due});
    // Enabling a running timer keeps its phase: the next check comes at the
    // usual tick, not ten seconds from now.
    TimerTimoutErase.SetEnabled(true);
    SavePendingWipes();
}

void TForm1::TimerTimoutEraseTimer(TObject*) {
    if (pendingWipesUnread_) TakeInUnreadPendingWipes();
    if (PendingWipes.empty()) {
        TimerTimoutErase.SetEnabled(pendingWipesUnread_);  // trying the list again
        return;
    }
    const TDateTime now = platform_.Clock->Now();
    // From the end, so that a removal never shifts an entry still to visit.
    for (size_t i = PendingWipes.size(); i-- > 0;) {
        if (now < PendingWipes[i].DueTime) continue;
        const std::string path = PendingWipes[i].Path;
        // A copy the viewer still holds open cannot be wiped yet. Dropping it
        // from the list would leave the plaintext on disk for good, so it
        // stays registered (and in the list file) and is tried again at the
        // next tick, until it is wiped or gone.
        const bool wiped = SecureWipeFile(path, WipePasses, nullptr);
        if (!wiped && (platform_.Files == nullptr || platform_.Files->FileExists(path))) continue;
        PendingWipes.erase(PendingWipes.begin() + static_cast<std::ptrdiff_t>(i));
    }
    if (PendingWipes.empty()) TimerTimoutErase.SetEnabled(false);
    // Rewritten at every tick, whether or not anything changed.
    SavePendingWipes();
}

void TForm1::ForgetPendingWipe(const std::string& path) {
    // Every entry of the copy goes: a list file may have held it twice.
    const auto before = PendingWipes.size();
    std::erase_if(PendingWipes, [&](const TSecureWipeItem& item) {
        return platform_.Locale->AnsiCompareText(item.Path, path) == 0;
    });
    if (PendingWipes.size() == before) return;
    if (PendingWipes.empty()) TimerTimoutErase.SetEnabled(false);
    SavePendingWipes();
}

void TForm1::WipeTemp1Click(TObject*) {
    // Replacing the queue under a running file operation would pull the job
    // from under the runner; the wipe waits until the operation returns.
    RunWhenIdle([this] {
        if (PendingWipes.empty()) {
            platform_.Shell->ShowMessage("No temporary files queued.");
            return;
        }
        // The copies stay registered, and in the list file, until the runner
        // has wiped them or found them gone (ForgetPendingWipe). A copy the
        // viewer still holds open, or one an abort leaves untouched, is then
        // still taken by the timed wipe, also after a restart.
        std::vector<std::string> copies;
        for (const TSecureWipeItem& item : PendingWipes) copies.push_back(item.Path);
        if (!QueuedJobHasEnded(*this)) {
            // A job that has not ended keeps the rest of its files: the wipe
            // follows it, as a command of another kind does.
            FollowUpCommands.Push(Command{'W', copies});
            FormBringToFront();
            return;
        }
        ReplaceJobQueue(*this, kJobWipe, copies);
        ResetOverallProgress(*this);
        StartJob();
        FormBringToFront();
    });
}

}  // namespace brindlock
