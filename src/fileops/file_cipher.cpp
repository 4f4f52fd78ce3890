// Encryption and decryption of one file. An encrypted file has no header:
// byte k is plain byte k XOR the counter-mode keystream for the key and
// counter derived from "<plain name>|<password>", over the whole file (or
// the first `limit` bytes).
#include <algorithm>
#include <new>
#include <vector>

#include "crypto/aes_ctr.h"
#include "fileops/file_ops.h"
#include "fileops/path_names.h"

namespace brindlock {
namespace {

constexpr int32_t kTailChunkBytes = 8192;

enum class Direction { Encrypt, Decrypt };

// Key and counter, wiped however the call ends.
struct KeyMaterial {
    uint8_t key[16];
    uint8_t counter[16];
    ~KeyMaterial() {
        SecureZero(key, sizeof key);
        SecureZero(counter, sizeof counter);
    }
};

// The result being written under a temporary name beside the destination.
// Removed on every road out unless it was moved into place.
class PendingResult {
public:
    explicit PendingResult(IFileSystem& files) : files_(files) {}
    ~PendingResult() { Discard(); }
    void Discard() {
        file.reset();
        if (!path.empty()) files_.RemoveFile(path);
        path.clear();
    }
    void Placed() { path.clear(); }

    FileHandle file;
    std::string path;

private:
    IFileSystem& files_;
};

class Transform {
public:
    Transform(FileOpsContext& context, const ProgressCallback& progress) : ctx_(context), progress_(progress) {}

    bool Run(const std::string& path, int32_t limit, Direction direction) {
        if (path.empty()) return Fail("no file named");
        const std::string name = NameOfPath(path);
        if (name.empty()) return Fail("the path names a folder, not a file");
        const bool isEncrypted = name[0] == kEncryptedNamePrefix;
        // Nothing to do: already encrypted, or not an encrypted file.
        if (direction == Direction::Encrypt && isEncrypted) return true;
        if (direction == Direction::Decrypt && !isEncrypted) return true;

        const std::string folder = FolderOfPath(path);
        const std::string plainName = direction == Direction::Decrypt ? name.substr(1) : name;
        std::string destination;
        if (direction == Direction::Encrypt)
            destination = folder + kEncryptedNamePrefix + name;
        else if (ctx_.OpenMode && !ctx_.TempCopyPath.empty())
            destination = ctx_.TempCopyPath;
        else
            destination = folder + plainName;
        const uint32_t attributes =
            direction == Direction::Decrypt && ctx_.OpenMode ? kFileAttributeHidden | kFileAttributeTemporary : 0;

        // Without a password the key would come from the file name alone.
        if (ctx_.Password.empty()) return Fail("no password");

        FileHandle source = ctx_.Files.OpenRead(path);
        if (!source) return FailOs("cannot open it for reading");
        if (!ctx_.Files.CanCreateOver(destination)) return FailOs("cannot write " + destination);
        if (!source->Size(size_)) return FailOs("cannot read its size");
        if (size_ <= 0) return Fail("the file is empty");

        PendingResult result(ctx_.Files);
        result.file = ctx_.Files.CreateTempBeside(destination, attributes, result.path);
        if (!result.file) return FailOs("cannot create a file beside " + destination);

        scale_ = ProgressScale(size_);
        const int64_t region = limit > 0 && limit <= size_ ? limit : size_;
        bool go = Report(progress_, scale_, 0);
        if (go) {
            // Read only now: the first report may have let the session end.
            const std::string password = ctx_.Password;
            if (password.empty()) return Fail("the password was dropped");
            std::string keyText = plainName + "|" + password;
            KeyMaterial keys;
            DeriveKeyAndCounter(keyText, keys.key, keys.counter);
            SecureZero(keyText.data(), keyText.size());

            const bool whole = size_ <= ctx_.WholeRegionMaxBytes;
            if (!TransformRegion(*source, *result.file, region, keys, whole, go)) return false;
            if (go && !CopyTail(*source, *result.file, whole ? kTailChunkBytes : StreamChunk(), go)) return false;
        }
        if (!go) {
            result.Discard();  // gone before the shell looks at the folder
            if (ctx_.Notifier) ctx_.Notifier->NotifyFolderChanged(destination);
            return Fail("aborted");
        }

        if (!result.file->Flush()) return FailOs("cannot flush " + result.path);
        if (!result.file->Close()) return FailOs("cannot close " + result.path);
        source.reset();
        // The creation gave it these already; this call drops the archive
        // bit the system may have added, so a viewing copy is exactly hidden
        // and temporary.
        if (attributes) ctx_.Files.SetAttributes(result.path, attributes);
        if (!ctx_.Files.MoveReplace(result.path, destination)) return FailOs("cannot replace " + destination);
        result.Placed();
        return true;
    }

private:
    // The region passes through one chunk buffer, the counter advanced by
    // each chunk's blocks, so byte k meets the same keystream byte as in a
    // single pass over the whole region. Holding the region in memory whole
    // cost as much memory as the file and took several times as long: every
    // page of the buffer had to be faulted in, and none of it stayed in the
    // cache between the read, the transform and the write.
    // A region that counts as whole is reported as one piece (its start and
    // its end only, so an abort can only come before any byte is read or
    // after all are written); larger ones report every chunk.
    bool TransformRegion(IFile& source, IFile& out, int64_t region, const KeyMaterial& keys, bool whole, bool& go) {
        uint8_t counter[16];
        std::copy(keys.counter, keys.counter + 16, counter);
        const int32_t chunk = StreamChunk();
        std::vector<uint8_t> buffer(static_cast<std::size_t>(std::min<int64_t>(region, chunk)));
        bool ok = true;
        while (go && done_ < region) {
            const auto m = static_cast<int32_t>(std::min<int64_t>(region - done_, chunk));
            int32_t got = 0;
            if (!source.Read(buffer.data(), m, got)) {
                ok = FailOs("cannot read it");
                break;
            }
            if (got != m) {
                ok = Fail("the file ended before its size");
                break;
            }
            CtrTransform(buffer.data(), m, keys.key, counter);
            CtrAdvanceCounter(counter, static_cast<uint32_t>(m / kAesBlockSize));
            if (!out.Write(buffer.data(), m)) {
                ok = FailOs("cannot write the result");
                break;
            }
            done_ += m;
            if (!whole || done_ == region) go = Report(progress_, scale_, done_);
        }
        SecureZero(buffer.data(), buffer.size());
        SecureZero(counter, sizeof counter);
        return ok;
    }

    // The bytes after the region are copied as they are.
    bool CopyTail(IFile& source, IFile& out, int32_t chunk, bool& go) {
        std::vector<uint8_t> buffer(static_cast<std::size_t>(chunk));
        while (go && done_ < size_) {
            const auto m = static_cast<int32_t>(std::min<int64_t>(size_ - done_, chunk));
            int32_t got = 0;
            if (!source.Read(buffer.data(), m, got)) return FailOs("cannot read it");
            if (got <= 0) return Fail("the file ended before its size");
            if (!out.Write(buffer.data(), got)) return FailOs("cannot write the result");
            done_ += got;
            go = Report(progress_, scale_, done_);
        }
        return true;
    }

    int32_t StreamChunk() const {
        const int32_t blocks = std::max(ctx_.StreamChunkBytes / kAesBlockSize, 1);
        return blocks * kAesBlockSize;
    }

    bool Fail(const std::string& why) {
        ctx_.FailureReason = why;
        return false;
    }

    bool FailOs(const std::string& what) { return Fail(what + ": " + ctx_.Files.LastErrorText()); }

    FileOpsContext& ctx_;
    const ProgressCallback& progress_;
    ProgressScale scale_{0};
    int64_t size_ = 0;
    int64_t done_ = 0;
};

bool RunTransform(FileOpsContext& context, const std::string& path, int32_t limit, const ProgressCallback& progress,
                  Direction direction) noexcept {
    try {
        context.FailureReason.clear();
        return Transform(context, progress).Run(path, limit, direction);
    } catch (const std::bad_alloc&) {
        NoteFailure(context, "not enough memory");
    } catch (...) {
        NoteFailure(context, "unexpected error");
    }
    return false;
}

}  // namespace

bool EncryptOneFile(FileOpsContext& context, const std::string& path, int32_t limit,
                    const ProgressCallback& progress) noexcept {
    return RunTransform(context, path, limit, progress, Direction::Encrypt);
}

bool DecryptOneFile(FileOpsContext& context, const std::string& path, int32_t limit,
                    const ProgressCallback& progress) noexcept {
    return RunTransform(context, path, limit, progress, Direction::Decrypt);
}

}  // namespace brindlock
