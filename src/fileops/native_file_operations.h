// The real file operations (file_ops.h) behind the window's operations
// object: each call takes its password and open-job copy from the window's
// settings and tells the window's folder notifier about the folders it
// changes.
#pragma once

#include "fileops/file_operations.h"
#include "fileops/folder_notifier.h"
#include "platform/file_system.h"

namespace brindlock {

class NativeFileOperations : public IFileOperations {
public:
    NativeFileOperations(IFileSystem& files, FolderNotifier& notifier) : files_(files), notifier_(notifier) {}

    bool EncryptOneFile(const FileOperationSettings& settings, const std::string& path, int32_t limit,
                        const ProgressCallback& progress) override;
    bool DecryptOneFile(const FileOperationSettings& settings, const std::string& path, int32_t limit,
                        const ProgressCallback& progress) override;
    bool SecureWipeFile(const std::string& path, int32_t passes, const ProgressCallback& progress) override;

private:
    IFileSystem& files_;
    FolderNotifier& notifier_;
};

}  // namespace brindlock
