// The file layer over Win32: CreateFileA with the share modes the file
// operations rely on, 64-bit sizes and positions, MoveFileExA for putting a
// finished result in place.
#include <windows.h>

#include <atomic>
#include <cstdio>

#include "platform/file_system.h"
#include "platform/path_delimiters.h"

namespace brindlock {
namespace {

thread_local DWORD lastError = 0;

bool Fail() {
    lastError = GetLastError();
    return false;
}

bool FailWith(DWORD error) {
    lastError = error;
    return false;
}

class Win32File : public IFile {
public:
    explicit Win32File(HANDLE handle) : handle_(handle) {}
    ~Win32File() override {
        if (handle_ != INVALID_HANDLE_VALUE) CloseHandle(handle_);
    }

    bool Read(void* buffer, int32_t size, int32_t& got) override {
        got = 0;
        if (handle_ == INVALID_HANDLE_VALUE || size < 0) return FailWith(ERROR_INVALID_HANDLE);
        auto* out = static_cast<char*>(buffer);
        while (got < size) {
            DWORD n = 0;
            if (!ReadFile(handle_, out + got, static_cast<DWORD>(size - got), &n, nullptr)) return Fail();
            if (n == 0) break;  // end of file
            got += static_cast<int32_t>(n);
        }
        return true;
    }

    bool Write(const void* data, int32_t size) override {
        if (handle_ == INVALID_HANDLE_VALUE || size < 0) return FailWith(ERROR_INVALID_HANDLE);
        const auto* in = static_cast<const char*>(data);
        int32_t done = 0;
        while (done < size) {
            DWORD n = 0;
            if (!WriteFile(handle_, in + done, static_cast<DWORD>(size - done), &n, nullptr)) return Fail();
            if (n == 0) return FailWith(ERROR_DISK_FULL);
            done += static_cast<int32_t>(n);
        }
        return true;
    }

    bool Seek(int64_t position) override {
        LARGE_INTEGER to;
        to.QuadPart = position;
        return SetFilePointerEx(handle_, to, nullptr, FILE_BEGIN) || Fail();
    }

    bool Size(int64_t& size) override {
        LARGE_INTEGER value;
        if (!GetFileSizeEx(handle_, &value)) return Fail();
        size = value.QuadPart;
        return true;
    }

    bool SetSize(int64_t size) override { return (Seek(size) && SetEndOfFile(handle_)) || Fail(); }

    bool Flush() override { return FlushFileBuffers(handle_) || Fail(); }

    bool Close() override {
        if (handle_ == INVALID_HANDLE_VALUE) return FailWith(ERROR_INVALID_HANDLE);
        HANDLE handle = handle_;
        handle_ = INVALID_HANDLE_VALUE;
        return CloseHandle(handle) || Fail();
    }

private:
    HANDLE handle_;
};

FileHandle Open(const std::string& path, DWORD access, DWORD share, DWORD disposition, DWORD attributes) {
    HANDLE handle = CreateFileA(path.c_str(), access, share, nullptr, disposition, attributes, nullptr);
    if (handle == INVALID_HANDLE_VALUE) {
        Fail();
        return nullptr;
    }
    return std::make_unique<Win32File>(handle);
}

std::string FolderOf(const std::string& path) {
    const auto cut = path.find_last_of(kPathDelimiters);
    return cut == std::string::npos ? std::string() : path.substr(0, cut + 1);
}

DWORD AttributesOrNormal(uint32_t attributes) { return attributes ? attributes : FILE_ATTRIBUTE_NORMAL; }

class Win32FileSystem : public IFileSystem {
public:
    FileHandle OpenRead(const std::string& path) override {
        return Open(path, GENERIC_READ, FILE_SHARE_READ, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL);
    }

    FileHandle OpenExclusive(const std::string& path) override {
        // Windows refuses write access to a read-only file; say so before
        // asking, since Wine running as root would grant it.
        const DWORD attributes = GetFileAttributesA(path.c_str());
        if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_READONLY)) {
            FailWith(ERROR_ACCESS_DENIED);
            return nullptr;
        }
        return Open(path, GENERIC_READ | GENERIC_WRITE, 0, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL);
    }

    FileHandle CreateTempBeside(const std::string& besidePath, uint32_t attributes,
                                std::string& createdPath) override {
        static std::atomic<unsigned> sequence{0};
        const std::string folder = FolderOf(besidePath);
        for (int attempt = 0; attempt < 100; ++attempt) {
            char name[64];
            std::snprintf(name, sizeof name, "~brindlock-%lu-%u.tmp", static_cast<unsigned long>(GetCurrentProcessId()),
                          sequence.fetch_add(1));
            const std::string candidate = folder + name;
            FileHandle file = Open(candidate, GENERIC_READ | GENERIC_WRITE, 0, CREATE_NEW, AttributesOrNormal(attributes));
            if (file) {
                createdPath = candidate;
                return file;
            }
            if (lastError != ERROR_FILE_EXISTS && lastError != ERROR_ALREADY_EXISTS) break;
        }
        return nullptr;
    }

    bool CanCreateOver(const std::string& path) override {
        const DWORD attributes = GetFileAttributesA(path.c_str());
        if (attributes == INVALID_FILE_ATTRIBUTES) {
            const DWORD error = GetLastError();
            return error == ERROR_FILE_NOT_FOUND || FailWith(error);
        }
        if (attributes & FILE_ATTRIBUTE_DIRECTORY) return FailWith(ERROR_ACCESS_DENIED);
        // CreateFile refuses to create over a hidden or system file with
        // normal attributes, and nobody may replace a read-only one.
        if (attributes & (FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM))
            return FailWith(ERROR_ACCESS_DENIED);
        // The same access without sharing that creating over it would ask for:
        // fails while another program holds the file open.
        return static_cast<bool>(Open(path, GENERIC_READ | GENERIC_WRITE, 0, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL));
    }

    bool FileExists(const std::string& path) override {
        const DWORD attributes = GetFileAttributesA(path.c_str());
        if (attributes != INVALID_FILE_ATTRIBUTES) return !(attributes & FILE_ATTRIBUTE_DIRECTORY);
        // Only these say that no file stands there. Access denied and the
        // like leave it open, and a wipe must not take that for "gone".
        const DWORD error = GetLastError();
        return error != ERROR_FILE_NOT_FOUND && error != ERROR_PATH_NOT_FOUND && error != ERROR_INVALID_NAME &&
               error != ERROR_BAD_PATHNAME;
    }

    bool RemoveFile(const std::string& path) override { return DeleteFileA(path.c_str()) || Fail(); }

    bool SetAttributes(const std::string& path, uint32_t attributes) override {
        return SetFileAttributesA(path.c_str(), AttributesOrNormal(attributes)) || Fail();
    }

    bool GetAttributes(const std::string& path, uint32_t& attributes) override {
        const DWORD value = GetFileAttributesA(path.c_str());
        if (value == INVALID_FILE_ATTRIBUTES) return Fail();
        attributes = value;
        return true;
    }

    bool MoveReplace(const std::string& from, const std::string& to) override {
        return MoveFileExA(from.c_str(), to.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH) || Fail();
    }

    std::string LastErrorText() override {
        char text[512] = {};
        const DWORD length = FormatMessageA(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr,
                                            lastError, 0, text, sizeof text, nullptr);
        std::string message(text, length);
        while (!message.empty() && (message.back() == '\n' || message.back() == '\r' || message.back() == ' '))
            message.pop_back();
        if (message.empty()) message = "error " + std::to_string(lastError);
        return message;
    }
};

}  // namespace

IFileSystem& NativeFileSystem() {
    static Win32FileSystem fileSystem;
    return fileSystem;
}

}  // namespace brindlock
