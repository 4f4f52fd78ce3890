#include "jobs/job_queue.h"

#include "ui/form1.h"

namespace brindlock {
namespace {

// Where a path's folder part ends. Windows paths end it at "\" or at a
// drive's ":"; elsewhere at "/".
#ifdef _WIN32
constexpr const char* kFolderDelimiters = "\\:";
#else
constexpr const char* kFolderDelimiters = "/";
#endif

}  // namespace

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
    const std::size_t cut = encryptedPath.find_last_of(kFolderDelimiters);
    const std::size_t nameStart = cut == std::string::npos ? 0 : cut + 1;
    const std::string folder = encryptedPath.substr(0, nameStart);
    const std::size_t dot = encryptedPath.rfind('.');
    const std::string extension =
        dot == std::string::npos || dot < nameStart ? std::string() : encryptedPath.substr(dot);
    return folder + "_Brindlock" + extension;
}

}  // namespace brindlock
