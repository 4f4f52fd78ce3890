// The file layer every file operation goes through. Two backends implement
// it (Win32 and POSIX); a test can wrap an IFileSystem in a decorator to
// watch or fail any call.
//
// Rules shared by every implementation:
// - No call throws. Failures come back as false or as an empty handle; the
//   reason of the last failure is kept for messages (LastErrorText).
// - Handles close themselves when they are destroyed, so every road out of
//   an operation releases them. Close() is there for the caller who wants to
//   know whether the final close succeeded.
// - Sizes and positions are 64-bit; a single read or write moves at most
//   2^31 - 1 bytes.
#pragma once

#include <cstdint>
#include <memory>
#include <string>

namespace brindlock {

// Attribute bits as Windows defines them. The POSIX backend knows only
// read-only; it accepts and ignores the others.
constexpr uint32_t kFileAttributeReadOnly = 0x1;
constexpr uint32_t kFileAttributeHidden = 0x2;
constexpr uint32_t kFileAttributeNormal = 0x80;
constexpr uint32_t kFileAttributeTemporary = 0x100;

class IFile {
public:
    virtual ~IFile() = default;

    // Reads up to `size` bytes at the current position into `buffer` and sets
    // `got` to the count read. Fewer than `size` bytes only at the end of the
    // file. False on an error (`got` then holds what was read before it).
    virtual bool Read(void* buffer, int32_t size, int32_t& got) = 0;

    // Writes `size` bytes at the current position. True only when all of
    // them were written; a short write is a failure.
    virtual bool Write(const void* data, int32_t size) = 0;

    virtual bool Seek(int64_t position) = 0;
    virtual bool Size(int64_t& size) = 0;

    // Sets the end of the file at `size` (grows or shrinks it). The position
    // afterwards is unspecified; Seek before the next read or write.
    virtual bool SetSize(int64_t size) = 0;

    // Pushes everything written so far down to the device.
    virtual bool Flush() = 0;

    // Closes the handle; later calls fail. Destruction closes silently.
    virtual bool Close() = 0;
};

using FileHandle = std::unique_ptr<IFile>;

class IFileSystem {
public:
    virtual ~IFileSystem() = default;

    // Opens an existing file for reading; others may read it but not write
    // it while the handle lives.
    virtual FileHandle OpenRead(const std::string& path) = 0;

    // Opens an existing file for reading and writing with no sharing at all.
    virtual FileHandle OpenExclusive(const std::string& path) = 0;

    // Creates a new file with a name of its own in the folder of `besidePath`
    // (for writing a result that is moved over `besidePath` once complete),
    // for reading and writing with no sharing, with the given attributes.
    // `createdPath` receives its path.
    virtual FileHandle CreateTempBeside(const std::string& besidePath, uint32_t attributes,
                                        std::string& createdPath) = 0;

    // True when a file could be created at `path` replacing what stands
    // there: nothing stands there, or a file that is writable, not held open
    // by another program and (on Windows) neither hidden nor system, which
    // Windows refuses to replace by a file of normal attributes. A folder at
    // `path` gives false. Changes nothing.
    virtual bool CanCreateOver(const std::string& path) = 0;

    // True when `path` names an existing file (a folder does not count).
    // False only when the system says that nothing stands there (no such
    // file or folder, or a name no file can have); when it cannot tell
    // (access denied and the like) the answer is true, so that no caller
    // takes a file it cannot see for one that is gone. Opening it then fails.
    virtual bool FileExists(const std::string& path) = 0;

    virtual bool RemoveFile(const std::string& path) = 0;

    // Replaces the file's attributes by `attributes`.
    virtual bool SetAttributes(const std::string& path, uint32_t attributes) = 0;
    virtual bool GetAttributes(const std::string& path, uint32_t& attributes) = 0;

    // Moves `from` to `to`, replacing a file that stands at `to`.
    virtual bool MoveReplace(const std::string& from, const std::string& to) = 0;

    // The operating system's text for the last failed call on this thread.
    virtual std::string LastErrorText() = 0;
};

// The file system of the platform this program was built for.
IFileSystem& NativeFileSystem();

}  // namespace brindlock
