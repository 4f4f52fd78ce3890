// The file operations and the folder notification as methods of the main
// window. The operations take the key's password and the open job's copy
// from the window and run its operations object (fileops/file_operations.h);
// the notification runs the folder notifier on the window's
// TimerNotifyFolderChanged, with NotifyFolder mirroring the folder it
// remembers.
#include "fileops/form_file_services.h"
#include "ui/form1.h"

namespace brindlock {
namespace {

FileOperationSettings SettingsOf(const TForm1& form) {
    FileOperationSettings settings;
    settings.Password = form.JobPassword;
    settings.OpenMode = form.OpenMode;
    settings.TempCopyPath = form.TempCopyPath;
    return settings;
}

// Runs `call` on the notifier with the window's NotifyFolder, then takes the
// notifier's folder back: the operations notify through it too.
template <typename Call>
auto WithNotifier(TForm1& form, FolderNotifier& notifier, Call call) {
    notifier.NotifyFolder = form.NotifyFolder;
    auto result = call();
    form.NotifyFolder = notifier.NotifyFolder;
    return result;
}

}  // namespace

FormFileServices& TForm1::FileServices() {
    if (!fileServices_)
        fileServices_ = std::make_shared<FormFileServices>(TimerNotifyFolderChanged, platform_.ShellNotify, platform_.Files);
    return *fileServices_;
}

IFileOperations* TForm1::ActiveFileOperations() {
    if (FileOperations) return FileOperations;
    return FileServices().Native.get();
}

bool TForm1::EncryptOneFile(const std::string& path, int32_t limit, const ProgressCallback& progress) {
    IFileOperations* operations = ActiveFileOperations();
    // A key from an empty password could never be typed again at the panel:
    // such a file would be lost.
    if (operations == nullptr || JobPassword.empty()) return false;
    return WithNotifier(*this, FileServices().Notifier,
                        [&] { return operations->EncryptOneFile(SettingsOf(*this), path, limit, progress); });
}

bool TForm1::DecryptOneFile(const std::string& path, int32_t limit, const ProgressCallback& progress) {
    IFileOperations* operations = ActiveFileOperations();
    if (operations == nullptr || JobPassword.empty()) return false;
    return WithNotifier(*this, FileServices().Notifier,
                        [&] { return operations->DecryptOneFile(SettingsOf(*this), path, limit, progress); });
}

bool TForm1::SecureWipeFile(const std::string& path, int32_t passes, const ProgressCallback& progress) {
    IFileOperations* operations = ActiveFileOperations();
    if (operations == nullptr) return false;
    return WithNotifier(*this, FileServices().Notifier,
                        [&] { return operations->SecureWipeFile(path, passes, progress); });
}

void TForm1::NotifyFolderChanged(const std::string& path) {
    WithNotifier(*this, FileServices().Notifier, [&] {
        FileServices().Notifier.NotifyFolderChanged(path);
        return 0;
    });
}

void TForm1::NotifyFolderChanged() {
    WithNotifier(*this, FileServices().Notifier, [&] {
        FileServices().Notifier.NotifyFolderChanged();
        return 0;
    });
}

void TForm1::TimerNotifyFolderChangedTimer(TObject*) {
    WithNotifier(*this, FileServices().Notifier, [&] {
        FileServices().Notifier.TimerNotifyFolderChangedTimer();
        return 0;
    });
}

}  // namespace brindlock
