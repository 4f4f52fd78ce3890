#include "fileops/folder_notifier.h"

#include "fileops/path_names.h"

namespace brindlock {

void FolderNotifier::NotifyFolderChanged(const std::string& path) {
    NotifyFolder = FolderOfPath(path);
    if (NotifyFolder.empty()) return;
    // A running timer keeps its period: the repeat comes one interval after
    // the first of a burst of changes, not after the last.
    if (!timer_.Enabled()) timer_.SetEnabled(true);
    NotifyFolderChanged();
}

void FolderNotifier::NotifyFolderChanged() {
    if (NotifyFolder.empty()) return;
    shell_.UpdateDir(NotifyFolder);
}

void FolderNotifier::TimerNotifyFolderChangedTimer() {
    timer_.SetEnabled(false);
    NotifyFolderChanged();
}

}  // namespace brindlock
