// A decorator over a real IFileSystem that logs every call and can make one
// chosen call fail, so tests reach the failure roads of the file operations.
#pragma once

#include <algorithm>
#include <cstring>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "platform/file_system.h"

namespace brindlock::test {

enum class FaultKind {
    Fail,   // the call reports failure
    Short,  // Write: half the bytes are written, then failure;
            // Read: half the bytes are read and reported as a success
    End,    // Read: no bytes, as at the end of the file (a file that shrank)
};

class FaultyFileSystem : public IFileSystem {
public:
    explicit FaultyFileSystem(IFileSystem& inner) : inner_(inner) {}

    // Makes the `nth` call (1-based) of `call` ("Write", "Read", "Flush",
    // "MoveReplace", ...) misbehave.
    void FailOn(const std::string& call, int nth = 1, FaultKind kind = FaultKind::Fail) {
        faultCall_ = call;
        faultNth_ = nth;
        faultKind_ = kind;
    }

    // A full disk: writes succeed until `bytes` bytes in all have been
    // written through this file system; the write that crosses the mark
    // writes the part that fits and fails, and so does every later one.
    void FillDiskAt(int64_t bytes) { diskRoom_ = bytes; }

    // Every call in order, e.g. "OpenExclusive", "Write 8192", "Flush".
    std::vector<std::string> log;
    // Bytes written through handles from OpenExclusive, in order.
    std::vector<uint8_t> exclusiveWrites;

    FileHandle OpenRead(const std::string& path) override {
        if (Faulted("OpenRead")) return nullptr;
        return Wrap(inner_.OpenRead(path), false);
    }
    FileHandle OpenExclusive(const std::string& path) override {
        if (Faulted("OpenExclusive")) return nullptr;
        return Wrap(inner_.OpenExclusive(path), true);
    }
    FileHandle CreateTempBeside(const std::string& besidePath, uint32_t attributes,
                                std::string& createdPath) override {
        if (Faulted("CreateTempBeside")) return nullptr;
        return Wrap(inner_.CreateTempBeside(besidePath, attributes, createdPath), false);
    }
    bool CanCreateOver(const std::string& path) override {
        return !Faulted("CanCreateOver") && inner_.CanCreateOver(path);
    }
    bool FileExists(const std::string& path) override { return !Faulted("FileExists") && inner_.FileExists(path); }
    bool RemoveFile(const std::string& path) override { return !Faulted("RemoveFile") && inner_.RemoveFile(path); }
    bool SetAttributes(const std::string& path, uint32_t attributes) override {
        return !Faulted("SetAttributes " + std::to_string(attributes), "SetAttributes") &&
               inner_.SetAttributes(path, attributes);
    }
    bool GetAttributes(const std::string& path, uint32_t& attributes) override {
        return inner_.GetAttributes(path, attributes);
    }
    bool MoveReplace(const std::string& from, const std::string& to) override {
        return !Faulted("MoveReplace") && inner_.MoveReplace(from, to);
    }
    std::string LastErrorText() override { return injected_ ? "injected fault" : inner_.LastErrorText(); }

private:
    class File : public IFile {
    public:
        File(FaultyFileSystem& owner, FileHandle inner, bool exclusive)
            : owner_(owner), inner_(std::move(inner)), exclusive_(exclusive) {}

        bool Read(void* buffer, int32_t size, int32_t& got) override {
            if (owner_.Faulted("Read")) {
                if (owner_.faultKind_ == FaultKind::Short) return inner_->Read(buffer, size / 2, got);
                got = 0;
                return owner_.faultKind_ == FaultKind::End;
            }
            return inner_->Read(buffer, size, got);
        }
        bool Write(const void* data, int32_t size) override {
            if (owner_.Faulted("Write " + std::to_string(size), "Write")) {
                if (owner_.faultKind_ == FaultKind::Short) inner_->Write(data, size / 2);
                return false;
            }
            if (owner_.diskRoom_ >= 0 && size > owner_.diskRoom_) {
                owner_.injected_ = true;
                if (owner_.diskRoom_ > 0) inner_->Write(data, static_cast<int32_t>(owner_.diskRoom_));
                owner_.diskRoom_ = 0;
                return false;
            }
            if (owner_.diskRoom_ >= 0) owner_.diskRoom_ -= size;
            if (exclusive_) {
                const auto* bytes = static_cast<const uint8_t*>(data);
                owner_.exclusiveWrites.insert(owner_.exclusiveWrites.end(), bytes, bytes + size);
            }
            return inner_->Write(data, size);
        }
        bool Seek(int64_t position) override {
            return !owner_.Faulted("Seek " + std::to_string(position), "Seek") && inner_->Seek(position);
        }
        bool Size(int64_t& size) override { return !owner_.Faulted("Size") && inner_->Size(size); }
        bool SetSize(int64_t size) override {
            return !owner_.Faulted("SetSize " + std::to_string(size), "SetSize") && inner_->SetSize(size);
        }
        bool Flush() override { return !owner_.Faulted("Flush") && inner_->Flush(); }
        bool Close() override { return !owner_.Faulted("Close") && inner_->Close(); }

    private:
        FaultyFileSystem& owner_;
        FileHandle inner_;
        bool exclusive_;
    };

    FileHandle Wrap(FileHandle inner, bool exclusive) {
        if (!inner) return nullptr;
        return std::make_unique<File>(*this, std::move(inner), exclusive);
    }

    // Logs the call; true when it is the one to misbehave.
    bool Faulted(const std::string& entry, const std::string& call = "") {
        log.push_back(entry);
        const std::string& name = call.empty() ? entry : call;
        if (name != faultCall_) return false;
        if (++counts_[name] != faultNth_) return false;
        injected_ = true;
        return true;
    }

    IFileSystem& inner_;
    std::string faultCall_;
    int faultNth_ = 0;
    FaultKind faultKind_ = FaultKind::Fail;
    std::map<std::string, int> counts_;
    bool injected_ = false;
    int64_t diskRoom_ = -1;  // bytes the disk still takes; -1 no limit
};

}  // namespace brindlock::test
