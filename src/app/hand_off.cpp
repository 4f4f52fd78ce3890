#include "app/hand_off.h"

#include "fileops/path_names.h"
#include "platform/file_system.h"
#include "platform/instance_link.h"
#include "platform/program_info.h"
#include "platform/sleeper.h"
#include "platform/whole_file.h"

namespace brindlock {
namespace {

// How long a second start waits for another one to finish its log block.
// Appending takes milliseconds; the wait only bounds a start that hangs.
constexpr uint32_t kLogLockWaitMs = 5000;

}  // namespace

std::vector<std::string> HandOffLogBlock(const Arguments& arguments) {
    const std::size_t count = arguments.empty() ? 0 : arguments.size() - 1;
    std::vector<std::string> block;
    block.push_back("=== MESSENGER INSTANCE ===");
    block.push_back("Raw ParamCount = " + std::to_string(count));
    for (std::size_t i = 0; i <= count; ++i) {
        const std::string argument = i < arguments.size() ? arguments[i] : std::string();
        block.push_back("ParamStr(" + std::to_string(i) + ") = [" + argument + "]");
    }
    block.push_back(std::string(27, '='));
    return block;
}

void WriteHandOffLog(IFileSystem& files, const std::string& logPath, const Arguments& arguments) {
    std::string existing;
    if (!ReadWholeFile(files, logPath, existing)) {
        // An unreadable log is left as it is rather than replaced by a
        // shorter one: the block is lost, the earlier ones are not. Whether
        // it is there is asked only when it cannot be read, so a check that
        // errs cannot cost a readable log its earlier lines.
        if (files.FileExists(logPath)) return;
        existing.clear();
    }
    std::vector<std::string> lines = SplitLines(existing);
    for (std::string& line : HandOffLogBlock(arguments)) lines.push_back(std::move(line));
    std::string text;
    for (const std::string& line : lines) text += line + "\r\n";
    ReplaceWholeFile(files, logPath, text);
}

bool HandOffToRunningInstance(IInstanceLink& link, ISleeper& sleeper, const std::string& packet) {
    uintptr_t window = 0;
    for (int attempt = 0; attempt < kHandOffAttempts && window == 0; ++attempt) {
        window = link.FindWindowOfClass(kMainWindowClass);
        if (window == 0) sleeper.Sleep(kHandOffRetryMs);
    }
    if (window == 0 || packet.empty()) return false;
    CopyDataView data;
    data.dwData = kCommandPacketId;
    data.cbData = static_cast<uint32_t>(packet.size() + 1);
    data.lpData = packet.c_str();
    link.SendCopyData(window, data);
    return true;
}

bool HandOffIfSecondStart(IInstanceLink& link, IProgramInfo& program, IFileSystem& files, ISleeper& sleeper) {
    if (!link.InstanceMarkerExists(kSingleInstanceMarker)) return false;
    const Arguments arguments = program.ProgramArguments();
    // The log goes beside the program file; without its path it would land
    // in whatever the current folder is, so it is left out.
    const std::string programFolder = FolderOfPath(program.ProgramPath());
    if (!programFolder.empty()) {
        const bool locked = link.AcquireLogLock(kLogLockWaitMs);
        WriteHandOffLog(files, programFolder + kHandOffLogName, arguments);
        if (locked) link.ReleaseLogLock();
    }
    // The log shows the command line as given; the running instance, whose
    // current folder is another, gets full paths.
    const Arguments full = WithFullPaths(arguments, [&program](const std::string& path) { return program.FullPathOf(path); });
    HandOffToRunningInstance(link, sleeper, EncodeCommandPacket(full));
    return true;
}

}  // namespace brindlock
