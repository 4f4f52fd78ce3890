// A stand-in for the file operations: it records every call and, per path,
// reports the progress a test scripts and returns the result it scripts. A
// hook runs before each report, so a test can click, post messages or move
// the clock "inside" a file operation.
#pragma once

#include <algorithm>
#include <functional>
#include <map>
#include <string>
#include <utility>
#include <vector>

#include "fileops/file_operations.h"

namespace brindlock::test {

class ScriptedFileOperations : public IFileOperations {
public:
    enum class Kind { Encrypt, Decrypt, Wipe };
    struct Call {
        Kind kind;
        std::string path;
        FileOperationSettings settings;
        int32_t count;  // the length limit, or the passes of a wipe
    };
    struct Script {
        bool succeeds = true;
        std::vector<std::pair<int32_t, int32_t>> reports = {{0, 100}, {100, 100}};
    };

    std::vector<Call> Calls;
    std::map<std::string, Script> Scripts;  // paths without a script succeed
    // Runs before report `index` of the file at `path`.
    std::function<void(const std::string& path, int index)> BeforeReport;
    // How deeply operations were nested at most: 1 unless one started inside another.
    int MaxDepth = 0;

    bool EncryptOneFile(const FileOperationSettings& s, const std::string& path, int32_t limit,
                        const ProgressCallback& progress) override {
        return Run(Kind::Encrypt, s, path, limit, progress);
    }
    bool DecryptOneFile(const FileOperationSettings& s, const std::string& path, int32_t limit,
                        const ProgressCallback& progress) override {
        return Run(Kind::Decrypt, s, path, limit, progress);
    }
    bool SecureWipeFile(const std::string& path, int32_t passes, const ProgressCallback& progress) override {
        return Run(Kind::Wipe, {}, path, passes, progress);
    }

    std::vector<std::string> Paths() const {
        std::vector<std::string> paths;
        for (const Call& c : Calls) paths.push_back(c.path);
        return paths;
    }

private:
    bool Run(Kind kind, const FileOperationSettings& s, const std::string& path, int32_t count,
             const ProgressCallback& progress) {
        Calls.push_back({kind, path, s, count});
        ++depth_;
        MaxDepth = std::max(MaxDepth, depth_);
        const Script script = Scripts.count(path) ? Scripts.at(path) : Script{};
        bool ok = script.succeeds;
        for (std::size_t i = 0; i < script.reports.size(); ++i) {
            if (BeforeReport) BeforeReport(path, static_cast<int>(i));
            if (progress && !progress(script.reports[i].first, script.reports[i].second)) {
                ok = false;
                break;
            }
        }
        --depth_;
        return ok;
    }
    int depth_ = 0;
};

}  // namespace brindlock::test
