#include "jobs/job_queue.h"

#include "ui/form1.h"

namespace brindlock {

void ReplaceJobQueue(TForm1& form, int32_t mode, const std::vector<std::string>& files,
                     const std::string& tempCopyPath) {
    form.JobFiles = files;
    form.JobCount = static_cast<int32_t>(form.JobFiles.size());
    form.JobIndex = 0;
    form.JobMode = mode;
    form.AbortRequested = false;
    form.OpenMode = !tempCopyPath.empty();
    form.TempCopyPath = tempCopyPath;
    // Commands of another kind waited for the job that is gone now; they were
    // meant to follow that job, not whatever replaced it.
    form.FollowUpCommands.Clear();
}

bool QueuedJobHasEnded(const TForm1& form) { return form.JobIndex >= form.JobCount || form.AbortRequested; }

void ResetOverallProgress(TForm1& form) {
    form.ProgressBarFilesAll.SetMax(100);
    form.ProgressBarFilesAll.SetPosition(0);
    form.LabelFilesAll.SetCaption("0 %");
}

}  // namespace brindlock
