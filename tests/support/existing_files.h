// A file layer that knows only which files exist; every other call fails.
// For code that looks files up but never opens them.
#pragma once

#include <set>
#include <string>
#include <vector>

#include "platform/file_system.h"

namespace brindlock::test {

class ExistingFiles : public IFileSystem {
public:
    std::set<std::string> Files;
    std::vector<std::string> Asked;  // every path FileExists was asked about

    bool FileExists(const std::string& path) override {
        Asked.push_back(path);
        return Files.count(path) != 0;
    }
    FileHandle OpenRead(const std::string&) override { return nullptr; }
    FileHandle OpenExclusive(const std::string&) override { return nullptr; }
    FileHandle CreateTempBeside(const std::string&, uint32_t, std::string&) override { return nullptr; }
    bool CanCreateOver(const std::string&) override { return false; }
    bool RemoveFile(const std::string&) override { return false; }
    bool SetAttributes(const std::string&, uint32_t) override { return false; }
    bool GetAttributes(const std::string&, uint32_t&) override { return false; }
    bool MoveReplace(const std::string&, const std::string&) override { return false; }
    std::string LastErrorText() override { return "not there"; }
};

}  // namespace brindlock::test
