// The file operations as methods of the main window: they take the key's
// password and the open job's copy from the window and run the operations
// object (fileops/file_operations.h).
#include "fileops/file_operations.h"
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

}  // namespace

IFileOperations* TForm1::ActiveFileOperations() { return FileOperations; }

bool TForm1::EncryptOneFile(const std::string& path, int32_t limit, const ProgressCallback& progress) {
    IFileOperations* operations = ActiveFileOperations();
    // A key from an empty password could never be typed again at the panel:
    // such a file would be lost.
    if (operations == nullptr || JobPassword.empty()) return false;
    return operations->EncryptOneFile(SettingsOf(*this), path, limit, progress);
}

bool TForm1::DecryptOneFile(const std::string& path, int32_t limit, const ProgressCallback& progress) {
    IFileOperations* operations = ActiveFileOperations();
    if (operations == nullptr || JobPassword.empty()) return false;
    return operations->DecryptOneFile(SettingsOf(*this), path, limit, progress);
}

bool TForm1::SecureWipeFile(const std::string& path, int32_t passes, const ProgressCallback& progress) {
    IFileOperations* operations = ActiveFileOperations();
    return operations != nullptr && operations->SecureWipeFile(path, passes, progress);
}

}  // namespace brindlock
