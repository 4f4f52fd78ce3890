// Secure wiping of one file: grow by a tenth, overwrite the grown length in
// passes of generator bytes, delete. Each pass is flushed to the device
// before the next one starts and before the deletion; otherwise the passes
// could stay in the cache and die with the file, leaving the original bytes
// on the disk.
#include <algorithm>
#include <new>

#include "fileops/file_ops.h"

namespace brindlock {
namespace {

constexpr int32_t kWipeChunkBytes = 8192;

bool Fail(FileOpsContext& ctx, const std::string& why) {
    ctx.FailureReason = why;
    return false;
}

bool FailOs(FileOpsContext& ctx, const std::string& what) {
    return Fail(ctx, what + ": " + ctx.Files.LastErrorText());
}

bool Wipe(FileOpsContext& ctx, const std::string& path, int32_t passes, const ProgressCallback& progress) {
    if (path.empty()) return true;
    if (!ctx.Files.FileExists(path)) return true;

    FileHandle file = ctx.Files.OpenExclusive(path);
    if (!file) return FailOs(ctx, "cannot open it for exclusive writing");
    int64_t size = 0;
    if (!file->Size(size)) return FailOs(ctx, "cannot read its size");
    if (size > 0) {
        const int64_t wiped = size + size / 10;
        if (wiped > size && !file->SetSize(wiped)) return FailOs(ctx, "cannot grow it");

        const int32_t passCount = std::max(passes, 0);
        if (passCount > 0 && wiped > INT64_MAX / passCount) return Fail(ctx, "the file is too large");
        const ProgressScale scale(wiped * passCount);
        uint8_t chunk[kWipeChunkBytes];
        int64_t done = 0;
        for (int32_t pass = 0; pass < passCount; ++pass) {
            if (!file->Seek(0)) return FailOs(ctx, "cannot seek");
            for (int64_t remaining = wiped; remaining > 0;) {
                const auto m = static_cast<int32_t>(std::min<int64_t>(remaining, kWipeChunkBytes));
                for (int32_t i = 0; i < m; ++i) chunk[i] = static_cast<uint8_t>(ctx.Random->Next());
                if (!file->Write(chunk, m)) return FailOs(ctx, "cannot overwrite it");
                remaining -= m;
                done += m;
                if (!Report(progress, scale, done)) return Fail(ctx, "aborted");
            }
            if (!file->Flush()) return FailOs(ctx, "cannot flush it");
        }
    }
    file->Close();
    // A deletion that fails leaves an overwritten file; the wipe itself is done.
    ctx.Files.RemoveFile(path);
    if (ctx.Notifier) ctx.Notifier->NotifyFolderChanged(path);
    return true;
}

}  // namespace

bool SecureWipeFile(FileOpsContext& context, const std::string& path, int32_t passes,
                    const ProgressCallback& progress) noexcept {
    try {
        context.FailureReason.clear();
        return Wipe(context, path, passes, progress);
    } catch (const std::bad_alloc&) {
        NoteFailure(context, "not enough memory");
    } catch (...) {
        NoteFailure(context, "unexpected error");
    }
    return false;
}

}  // namespace brindlock
