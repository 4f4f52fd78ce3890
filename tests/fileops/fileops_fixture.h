// What the file-operation tests share: a fresh folder, the real file system
// behind a fault-injecting decorator, a recording shell, and a progress
// callback that records its reports and can abort at a chosen one.
#pragma once

#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "crypto/aes_ctr.h"
#include "fileops/file_ops.h"
#include "platform/headless/recording_shell_notify.h"
#include "support/faulty_file_system.h"
#include "support/temp_folder.h"

namespace brindlock::test {

using Report = std::pair<int32_t, int32_t>;
using Reports = std::vector<Report>;

class SwitchOnlyTimer : public ITimerSwitch {
public:
    void SetEnabled(bool enabled) override { enabled_ = enabled; }
    bool Enabled() const override { return enabled_; }

private:
    bool enabled_ = false;
};

// The format, computed independently of the file code: the first `region`
// bytes combined with the keystream of "<plainName>|<password>" in one pass.
inline Bytes Cipher(Bytes bytes, const std::string& plainName, const std::string& password, int64_t region = -1) {
    uint8_t key[16], counter[16];
    DeriveKeyAndCounter(plainName + "|" + password, key, counter);
    const auto n = region < 0 ? static_cast<int32_t>(bytes.size()) : static_cast<int32_t>(region);
    CtrTransform(bytes.data(), n, key, counter);
    return bytes;
}

class FileOpsTest : public ::testing::Test {
protected:
    FileOpsTest() { ctx.Password = "secret"; }

    // Records every report; returns false at report number `abortAt`
    // (1-based; 0 never).
    ProgressCallback Recorder(int abortAt = 0) {
        return [this, abortAt](int32_t done, int32_t total) {
            reports.emplace_back(done, total);
            return static_cast<int>(reports.size()) != abortAt;
        };
    }

    TempFolder dir;
    RecordingShellNotify shell;
    SwitchOnlyTimer timer;
    FolderNotifier notifier{shell, timer};
    FaultyFileSystem files{NativeFileSystem()};
    FileOpsContext ctx{files, &notifier};
    Reports reports;
};

}  // namespace brindlock::test
