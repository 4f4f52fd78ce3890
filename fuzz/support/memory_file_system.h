// A file system held in memory for the fuzz targets: fast enough for
// hundreds of thousands of runs, and able to make any one call misbehave, so
// a target can check what a failure at that point leaves behind.
//
// Files are byte strings by full path. A handle writes straight into its
// file, as the real ones do, so a write that fails halfway leaves the part
// that got through where the next reader sees it.
#pragma once

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <map>
#include <memory>
#include <string>
#include <utility>

#include "platform/file_system.h"

namespace brindlock::fuzz {

enum class Misbehaviour {
    Fail,     // the call reports failure and does nothing
    Short,    // Write: half the bytes get through, then failure;
              // Read: half the bytes asked for, reported as a success
    DiskFull, // from this call on, every write fails without writing
    End       // Read: nothing, reported as a success (a file cut short)
};

class MemoryFileSystem : public IFileSystem {
public:
    std::map<std::string, std::string> Files;

    // Makes call number `nth` (1-based, counting every call on the file
    // system and its handles) misbehave; 0 for none.
    void MisbehaveAt(int nth, Misbehaviour kind) {
        faultAt_ = nth;
        faultKind_ = kind;
    }
    int Calls() const { return calls_; }
    bool Misbehaved() const { return misbehaved_; }

    void Reset() {
        Files.clear();
        calls_ = 0;
        faultAt_ = 0;
        misbehaved_ = false;
        diskFull_ = false;
        serial_ = 0;
    }

    FileHandle OpenRead(const std::string& path) override {
        if (Hit() || !Files.count(path)) return nullptr;
        return std::make_unique<File>(*this, path);
    }
    FileHandle OpenExclusive(const std::string& path) override { return OpenRead(path); }
    FileHandle CreateTempBeside(const std::string& besidePath, uint32_t, std::string& createdPath) override {
        if (Hit()) return nullptr;
        const std::size_t slash = besidePath.find_last_of('/');
        const std::string folder = slash == std::string::npos ? "" : besidePath.substr(0, slash + 1);
        do {
            createdPath = folder + "~tmp" + std::to_string(++serial_);
        } while (Files.count(createdPath));
        Files[createdPath];
        return std::make_unique<File>(*this, createdPath);
    }
    bool CanCreateOver(const std::string&) override { return !Hit(); }
    bool FileExists(const std::string& path) override { return !Hit() && Files.count(path) != 0; }
    bool RemoveFile(const std::string& path) override { return !Hit() && Files.erase(path) != 0; }
    bool SetAttributes(const std::string& path, uint32_t) override { return !Hit() && Files.count(path) != 0; }
    bool GetAttributes(const std::string& path, uint32_t& attributes) override {
        attributes = kFileAttributeNormal;
        return !Hit() && Files.count(path) != 0;
    }
    bool MoveReplace(const std::string& from, const std::string& to) override {
        if (Hit() || !Files.count(from)) return false;
        std::string bytes = std::move(Files[from]);
        Files.erase(from);
        Files[to] = std::move(bytes);
        return true;
    }
    std::string LastErrorText() override { return "memory file system"; }

private:
    class File : public IFile {
    public:
        File(MemoryFileSystem& owner, std::string path) : owner_(owner), path_(std::move(path)) {}

        bool Read(void* buffer, int32_t size, int32_t& got) override {
            got = 0;
            const bool shortened = owner_.Hit();
            if (shortened && owner_.faultKind_ == Misbehaviour::End) return !closed_;
            if (shortened && owner_.faultKind_ != Misbehaviour::Short) return false;
            if (closed_ || size < 0 || !Exists()) return false;
            const std::string& bytes = owner_.Files[path_];
            const int64_t left = std::max<int64_t>(0, static_cast<int64_t>(bytes.size()) - position_);
            got = static_cast<int32_t>(std::min<int64_t>(shortened ? size / 2 : size, left));
            if (got > 0) std::memcpy(buffer, bytes.data() + position_, static_cast<std::size_t>(got));
            position_ += got;
            return true;
        }
        bool Write(const void* data, int32_t size) override {
            const bool hit = owner_.Hit();
            if (hit && owner_.faultKind_ == Misbehaviour::DiskFull) owner_.diskFull_ = true;
            if (closed_ || size < 0 || !Exists() || owner_.diskFull_) return false;
            const int32_t through = hit ? (owner_.faultKind_ == Misbehaviour::Short ? size / 2 : 0) : size;
            std::string& bytes = owner_.Files[path_];
            if (static_cast<int64_t>(bytes.size()) < position_ + through) {
                bytes.resize(static_cast<std::size_t>(position_ + through));
            }
            if (through > 0) bytes.replace(static_cast<std::size_t>(position_), static_cast<std::size_t>(through),
                                           static_cast<const char*>(data), static_cast<std::size_t>(through));
            position_ += through;
            return !hit;
        }
        bool Seek(int64_t position) override {
            if (owner_.Hit() || closed_ || position < 0) return false;
            position_ = position;
            return true;
        }
        bool Size(int64_t& size) override {
            if (owner_.Hit() || closed_ || !Exists()) return false;
            size = static_cast<int64_t>(owner_.Files[path_].size());
            return true;
        }
        bool SetSize(int64_t size) override {
            if (owner_.Hit() || closed_ || size < 0 || !Exists()) return false;
            owner_.Files[path_].resize(static_cast<std::size_t>(size));
            return true;
        }
        bool Flush() override { return !owner_.Hit() && !closed_; }
        bool Close() override {
            if (owner_.Hit() || closed_) return false;
            closed_ = true;
            return true;
        }

    private:
        // A handle whose file was moved away or removed under it writes
        // nowhere.
        bool Exists() const { return owner_.Files.count(path_) != 0; }

        MemoryFileSystem& owner_;
        std::string path_;
        int64_t position_ = 0;
        bool closed_ = false;
    };

    // Counts the call; true when it is the one to misbehave.
    bool Hit() {
        if (++calls_ != faultAt_) return false;
        misbehaved_ = true;
        return true;
    }

    int calls_ = 0;
    int faultAt_ = 0;
    Misbehaviour faultKind_ = Misbehaviour::Fail;
    bool misbehaved_ = false;
    bool diskFull_ = false;
    int serial_ = 0;
};

}  // namespace brindlock::fuzz
