// The file layer over POSIX calls, for brindlock-cli and the native tests on
// Linux. POSIX has no share modes: OpenRead and OpenExclusive cannot keep
// other programs away here, they only open.
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <cstdio>
#include <cstring>

#include "platform/file_system.h"
#include "platform/path_delimiters.h"

namespace brindlock {
namespace {

thread_local int lastError = 0;

bool Fail() {
    lastError = errno;
    return false;
}

class PosixFile : public IFile {
public:
    explicit PosixFile(int fd) : fd_(fd) {}
    ~PosixFile() override {
        if (fd_ >= 0) ::close(fd_);
    }

    bool Read(void* buffer, int32_t size, int32_t& got) override {
        got = 0;
        if (fd_ < 0 || size < 0) return Fail();
        auto* out = static_cast<char*>(buffer);
        // read() may return less than asked (Linux caps one call at about
        // 2 GiB); keep going until the end of the file.
        while (got < size) {
            const ssize_t n = ::read(fd_, out + got, static_cast<size_t>(size - got));
            if (n < 0) {
                if (errno == EINTR) continue;
                return Fail();
            }
            if (n == 0) break;
            got += static_cast<int32_t>(n);
        }
        return true;
    }

    bool Write(const void* data, int32_t size) override {
        if (fd_ < 0 || size < 0) return Fail();
        const auto* in = static_cast<const char*>(data);
        int32_t done = 0;
        while (done < size) {
            const ssize_t n = ::write(fd_, in + done, static_cast<size_t>(size - done));
            if (n < 0) {
                if (errno == EINTR) continue;
                return Fail();
            }
            if (n == 0) {
                errno = ENOSPC;
                return Fail();
            }
            done += static_cast<int32_t>(n);
        }
        StartWriteBack();
        return true;
    }

    bool Seek(int64_t position) override {
        if (fd_ < 0 || position < 0) return Fail();
        if (::lseek(fd_, static_cast<off_t>(position), SEEK_SET) < 0) return Fail();
        writeBackFrom_ = static_cast<off_t>(position);
        return true;
    }

    bool Size(int64_t& size) override {
        struct stat info {};
        if (fd_ < 0 || ::fstat(fd_, &info) != 0) return Fail();
        size = static_cast<int64_t>(info.st_size);
        return true;
    }

    bool SetSize(int64_t size) override {
        if (fd_ < 0 || size < 0) return Fail();
        return ::ftruncate(fd_, static_cast<off_t>(size)) == 0 || Fail();
    }

    bool Flush() override { return (fd_ >= 0 && ::fsync(fd_) == 0) || Fail(); }

    bool Close() override {
        if (fd_ < 0) return Fail();
        const int fd = fd_;
        fd_ = -1;
        return ::close(fd) == 0 || Fail();
    }

private:
    // Every file this program writes is flushed before it counts as done (a
    // result before it is moved into place, each pass of a wipe). So once a
    // stretch of kWriteBackStretch bytes has been written, the system is told
    // to start putting it on the device while the rest is still being
    // written, and the flush finds less left to wait for (encrypting 256 MiB
    // here: about 0.27 s instead of 0.31 s). Larger stretches keep the
    // requests large; a hint for every megabyte was slower than none.
    static constexpr off_t kWriteBackStretch = off_t{16} << 20;

    void StartWriteBack() {
#ifdef __linux__
        const off_t position = ::lseek(fd_, 0, SEEK_CUR);
        if (position < 0) return;
        if (position < writeBackFrom_) writeBackFrom_ = position;
        if (position - writeBackFrom_ < kWriteBackStretch) return;
        // Only a hint, and its failure changes nothing: the flush writes
        // whatever it did not reach.
        ::sync_file_range(fd_, writeBackFrom_, position - writeBackFrom_, SYNC_FILE_RANGE_WRITE);
        writeBackFrom_ = position;
#endif
    }

    int fd_;
    off_t writeBackFrom_ = 0;  // where the stretch not yet hinted begins
};

FileHandle OpenWith(const std::string& path, int flags) {
    const int fd = ::open(path.c_str(), flags | O_CLOEXEC);
    if (fd < 0) {
        Fail();
        return nullptr;
    }
    struct stat info {};
    if (::fstat(fd, &info) != 0 || !S_ISREG(info.st_mode)) {
        lastError = S_ISDIR(info.st_mode) ? EISDIR : EINVAL;
        ::close(fd);
        return nullptr;
    }
    return std::make_unique<PosixFile>(fd);
}

std::string FolderOf(const std::string& path) {
    const auto cut = path.find_last_of(kPathDelimiters);
    return cut == std::string::npos ? std::string() : path.substr(0, cut + 1);
}

class PosixFileSystem : public IFileSystem {
public:
    FileHandle OpenRead(const std::string& path) override { return OpenWith(path, O_RDONLY); }

    FileHandle OpenExclusive(const std::string& path) override { return OpenWith(path, O_RDWR); }

    FileHandle CreateTempBeside(const std::string& besidePath, uint32_t attributes,
                                std::string& createdPath) override {
        static std::atomic<unsigned> sequence{0};
        const mode_t mode = (attributes & kFileAttributeReadOnly) ? 0444 : 0666;  // less the umask, as any new file
        const std::string folder = FolderOf(besidePath);
        for (int attempt = 0; attempt < 100; ++attempt) {
            char name[64];
            std::snprintf(name, sizeof name, "~brindlock-%ld-%u.tmp", static_cast<long>(::getpid()),
                          sequence.fetch_add(1));
            const std::string candidate = folder + name;
            const int fd = ::open(candidate.c_str(), O_RDWR | O_CREAT | O_EXCL | O_CLOEXEC, mode);
            if (fd >= 0) {
                // The result will replace the file beside it: it keeps that
                // file's permissions, so a plain file of mode 600 does not
                // come back readable by everyone after a decryption over it.
                struct stat replaced {};
                if (!(attributes & kFileAttributeReadOnly) && ::stat(besidePath.c_str(), &replaced) == 0 &&
                    S_ISREG(replaced.st_mode))
                    ::fchmod(fd, replaced.st_mode & 07777);
                createdPath = candidate;
                return std::make_unique<PosixFile>(fd);
            }
            if (errno != EEXIST) break;
        }
        Fail();
        return nullptr;
    }

    bool CanCreateOver(const std::string& path) override {
        struct stat info {};
        if (::stat(path.c_str(), &info) != 0) return errno == ENOENT || Fail();
        if (!S_ISREG(info.st_mode)) {
            lastError = S_ISDIR(info.st_mode) ? EISDIR : EINVAL;
            return false;
        }
        // Ask for write access the way creating over it would.
        const int fd = ::open(path.c_str(), O_WRONLY | O_CLOEXEC);
        if (fd < 0) return Fail();
        ::close(fd);
        return true;
    }

    bool FileExists(const std::string& path) override {
        struct stat info {};
        if (::stat(path.c_str(), &info) == 0) return S_ISREG(info.st_mode);
        // As on Windows: only an answer that nothing is there counts as "no".
        return errno != ENOENT && errno != ENOTDIR && errno != ENAMETOOLONG && errno != ELOOP;
    }

    bool RemoveFile(const std::string& path) override { return ::unlink(path.c_str()) == 0 || Fail(); }

    bool SetAttributes(const std::string& path, uint32_t attributes) override {
        struct stat info {};
        if (::stat(path.c_str(), &info) != 0) return Fail();
        mode_t mode = info.st_mode & 07777;
        mode = (attributes & kFileAttributeReadOnly) ? (mode & ~mode_t{0222}) : (mode | S_IWUSR);
        return ::chmod(path.c_str(), mode) == 0 || Fail();
    }

    bool GetAttributes(const std::string& path, uint32_t& attributes) override {
        struct stat info {};
        if (::stat(path.c_str(), &info) != 0) return Fail();
        attributes = (info.st_mode & S_IWUSR) ? kFileAttributeNormal : kFileAttributeReadOnly;
        return true;
    }

    bool MoveReplace(const std::string& from, const std::string& to) override {
        struct stat info {};
        // rename() would replace an empty folder; a file never takes a folder's place.
        if (::stat(to.c_str(), &info) == 0 && S_ISDIR(info.st_mode)) {
            lastError = EISDIR;
            return false;
        }
        return ::rename(from.c_str(), to.c_str()) == 0 || Fail();
    }

    std::string LastErrorText() override { return std::strerror(lastError); }
};

}  // namespace

IFileSystem& NativeFileSystem() {
    static PosixFileSystem fileSystem;
    return fileSystem;
}

}  // namespace brindlock
