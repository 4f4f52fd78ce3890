// A shell that only records the folders it was told about, for tests.
#pragma once

#include <string>
#include <vector>

#include "platform/shell_notify.h"

namespace brindlock {

class RecordingShellNotify : public IShellNotify {
public:
    void UpdateDir(const std::string& folder) override { Folders.push_back(folder); }
    std::vector<std::string> Folders;
};

}  // namespace brindlock
