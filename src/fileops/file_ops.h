// The file operations: encrypt one file, decrypt one file, securely wipe one
// file. All three follow one contract: a path, one signed 32-bit count (the
// length limit, or the number of passes for wiping), a progress callback
// that may be empty; true for success. No exception leaves them, and they
// never show a message.
//
// Whatever happens, a destination path holds either the finished result or
// exactly what it held before: results are written under a temporary name
// beside the destination and moved into place only when complete.
#pragma once

#include <cstdint>
#include <string>

#include "fileops/folder_notifier.h"
#include "fileops/progress.h"
#include "fileops/run_time_random.h"
#include "platform/file_system.h"

namespace brindlock {

constexpr int32_t kDefaultWipePasses = 5;

// What the operations read from their owner (the main window holds these
// as its members of the same names).
struct FileOpsContext {
    explicit FileOpsContext(IFileSystem& files, FolderNotifier* notifier = nullptr)
        : Files(files), Notifier(notifier) {}

    IFileSystem& Files;
    // Told about a folder after an aborted encryption or decryption and after
    // a wipe's deletion. May be null.
    FolderNotifier* Notifier;
    // The generator of the overwrite bytes; the process's own by default.
    RunTimeRandom* Random = &ProcessRunTimeRandom();

    // The session password. Read again after the first progress report, so
    // a session that ends inside that report is noticed.
    std::string Password;
    // An open job decrypts into TempCopyPath (hidden and temporary) instead
    // of beside the encrypted file.
    bool OpenMode = false;
    std::string TempCopyPath;
    // What callers pass to SecureWipeFile.
    int32_t WipePasses = kDefaultWipePasses;

    // The region passes through a buffer of StreamChunkBytes (a multiple of
    // 16) with the counter continuing, whatever the file's size, so memory
    // use does not grow with the file. Files up to WholeRegionMaxBytes report
    // the region as one piece (at its start and its end); larger ones report
    // every chunk. Tests lower both to reach the chunk reports with small
    // files.
    int64_t WholeRegionMaxBytes = INT32_MAX;
    int32_t StreamChunkBytes = 1 << 20;

    // Why the last operation returned false, for brindlock-cli's messages.
    std::string FailureReason;
};

// Sets FailureReason where no exception may escape.
inline void NoteFailure(FileOpsContext& context, const char* why) noexcept {
    try {
        context.FailureReason = why;
    } catch (...) {
    }
}

// Writes "$" + name beside the file at `path`. A name that already begins
// with "$" is left alone (true). `limit` > 0 and <= size encrypts only the
// first `limit` bytes; otherwise the whole file.
bool EncryptOneFile(FileOpsContext& context, const std::string& path, int32_t limit,
                    const ProgressCallback& progress) noexcept;

// Writes the plain file (the name without its "$") beside the file at
// `path`, or in open mode the temporary copy at TempCopyPath. A name without
// "$" is left alone (true).
bool DecryptOneFile(FileOpsContext& context, const std::string& path, int32_t limit,
                    const ProgressCallback& progress) noexcept;

// Grows the file by a tenth, overwrites the grown length `passes` times with
// bytes of the run time's generator (flushed after every pass) and deletes
// it. An empty path or a missing file is nothing to do (true).
bool SecureWipeFile(FileOpsContext& context, const std::string& path, int32_t passes,
                    const ProgressCallback& progress) noexcept;

}  // namespace brindlock
