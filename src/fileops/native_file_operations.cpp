#include "fileops/native_file_operations.h"

#include "fileops/file_ops.h"

namespace brindlock {
namespace {

void Apply(FileOpsContext& context, const FileOperationSettings& settings) {
    context.Password = settings.Password;
    context.OpenMode = settings.OpenMode;
    context.TempCopyPath = settings.TempCopyPath;
}

}  // namespace

bool NativeFileOperations::EncryptOneFile(const FileOperationSettings& settings, const std::string& path,
                                          int32_t limit, const ProgressCallback& progress) {
    FileOpsContext context(files_, &notifier_);
    Apply(context, settings);
    return brindlock::EncryptOneFile(context, path, limit, progress);
}

bool NativeFileOperations::DecryptOneFile(const FileOperationSettings& settings, const std::string& path,
                                          int32_t limit, const ProgressCallback& progress) {
    FileOpsContext context(files_, &notifier_);
    Apply(context, settings);
    return brindlock::DecryptOneFile(context, path, limit, progress);
}

bool NativeFileOperations::SecureWipeFile(const std::string& path, int32_t passes,
                                          const ProgressCallback& progress) {
    FileOpsContext context(files_, &notifier_);
    return brindlock::SecureWipeFile(context, path, passes, progress);
}

}  // namespace brindlock
