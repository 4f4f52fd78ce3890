// The file operations as the main window runs them. TForm1's EncryptOneFile,
// DecryptOneFile and SecureWipeFile hand their work to an object of this
// interface: by default the real operations over the platform's files; a
// test puts in a scripted double to make a file fail, report progress or
// meet an abort exactly when it wants.
#pragma once

#include <cstdint>
#include <string>

#include "fileops/progress.h"

namespace brindlock {

// What an encryption or decryption takes from the window besides the path.
struct FileOperationSettings {
    // The password of the key text. The window never passes an empty one.
    std::string Password;
    // An open job: the decryption writes the hidden, temporary copy at
    // TempCopyPath instead of the plain name.
    bool OpenMode = false;
    std::string TempCopyPath;
};

class IFileOperations {
public:
    virtual ~IFileOperations() = default;
    virtual bool EncryptOneFile(const FileOperationSettings& settings, const std::string& path, int32_t limit,
                                const ProgressCallback& progress) = 0;
    virtual bool DecryptOneFile(const FileOperationSettings& settings, const std::string& path, int32_t limit,
                                const ProgressCallback& progress) = 0;
    virtual bool SecureWipeFile(const std::string& path, int32_t passes, const ProgressCallback& progress) = 0;
};

}  // namespace brindlock
