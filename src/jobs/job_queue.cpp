#include "jobs/job_queue.h"

#include "fileops/path_names.h"
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
}

void ResetOverallProgress(TForm1& form) {
    form.ProgressBarFilesAll.SetMax(100);
    form.ProgressBarFilesAll.SetPosition(0);
    form.LabelFilesAll.SetCaption("0 %");
}

std::string TempCopyPathFor(const std::string& encryptedPath) {
    const std::string name = NameOfPath(encryptedPath);
    const std::size_t dot = name.rfind('.');
    const std::string extension = dot == std::string::npos ? std::string() : name.substr(dot);
    return FolderOfPath(encryptedPath) + "_Brindlock" + extension;
}

}  // namespace brindlock
