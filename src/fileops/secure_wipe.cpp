// Secure wiping of one file: grow by a tenth, overwrite the grown length in
// passes of generator bytes, delete. Each pass is flushed to the device
// before the next one starts and before the deletion; otherwise the passes
// could stay in the cache and die with the file, leaving the original bytes
// on the disk.
//
// A pass is made of chunks of 8192 bytes, each drawn from the generator just
// before its progress report, so a wipe that runs inside a report (the timed
// wiping) continues the generator's sequence exactly where this one stands.
// The chunks are handed to the system many at a time, though: one write call
// per 8192 bytes cost more than the overwriting itself. Whatever is held when
// a pass ends, is aborted or fails, is written before the file is let go.
#include <algorithm>
#include <new>
#include <string>
#include <vector>

#include "fileops/file_ops.h"

namespace brindlock {
namespace {

constexpr int32_t kWipeChunkBytes = 8192;
constexpr int32_t kWipeChunksPerWrite = 128;  // 1 MiB per write call

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
        const int64_t capacity = int64_t{kWipeChunkBytes} * kWipeChunksPerWrite;
        std::vector<uint8_t> held(static_cast<std::size_t>(passCount > 0 ? std::min(wiped, capacity) : 0));
        int64_t done = 0;
        for (int32_t pass = 0; pass < passCount; ++pass) {
            if (!file->Seek(0)) return FailOs(ctx, "cannot seek");
            int32_t heldBytes = 0;
            for (int64_t remaining = wiped; remaining > 0;) {
                const auto m = static_cast<int32_t>(std::min<int64_t>(remaining, kWipeChunkBytes));
                ctx.Random->FillLowBytes(held.data() + heldBytes, static_cast<std::size_t>(m));
                heldBytes += m;
                remaining -= m;
                done += m;
                if (remaining == 0 || heldBytes + kWipeChunkBytes > static_cast<int64_t>(held.size())) {
                    if (!file->Write(held.data(), heldBytes)) return FailOs(ctx, "cannot overwrite it");
                    heldBytes = 0;
                }
                if (!Report(progress, scale, done)) {
                    // The chunks reported so far are overwritten, as promised.
                    if (heldBytes > 0 && !file->Write(held.data(), heldBytes)) return FailOs(ctx, "cannot overwrite it");
                    return Fail(ctx, "aborted");
                }
            }
            if (!file->Flush()) return FailOs(ctx, "cannot flush it");
        }
    }
    file->Close();
    // A file that stays behind was asked to go: a timed wipe must keep it
    // registered and try again, and an erase must not say it is gone. Its
    // content is overwritten either way, so its folder has changed.
    bool removed = ctx.Files.RemoveFile(path);
    std::string why;
    if (!removed) {
        why = ctx.Files.LastErrorText();
        removed = !ctx.Files.FileExists(path);  // gone all the same
    }
    if (ctx.Notifier) ctx.Notifier->NotifyFolderChanged(path);
    if (!removed) return Fail(ctx, "overwritten, but cannot delete it: " + why);
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
