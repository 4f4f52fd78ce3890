// The second start's road: it records what it was started with, hands its
// command to the running instance and ends without a window.
#pragma once

#include <string>
#include <vector>

#include "app/command.h"

namespace brindlock {

class IFileSystem;
class IInstanceLink;
class IProgramInfo;
class ISleeper;

constexpr const char* kSingleInstanceMarker = "Pellmar_SingleInstance_Mutex";
constexpr const char* kMainWindowClass = "TForm1";
constexpr const char* kHandOffLogName = "debug_messenger.txt";
constexpr int kHandOffAttempts = 50;
constexpr uint32_t kHandOffRetryMs = 100;

// The lines one second start adds to the hand-off log (without line ends).
std::vector<std::string> HandOffLogBlock(const Arguments& arguments);

// Appends the block for `arguments` to the log `logPath`, keeping the lines
// that are there, every line ended by CR LF. The file is rewritten through a
// new file moved into place, so it is never left half written. Failures are
// swallowed: the hand-off must go on.
void WriteHandOffLog(IFileSystem& files, const std::string& logPath, const Arguments& arguments);

// Looks for the running instance's main window (kHandOffAttempts times,
// kHandOffRetryMs apart) and sends it `packet` as a copy-data message. True
// when a window was found and the packet sent.
bool HandOffToRunningInstance(IInstanceLink& link, ISleeper& sleeper, const std::string& packet);

// The program entry's decision: when another instance holds the marker,
// this start logs its arguments, hands its command over and returns true;
// the caller then ends with exit code 0 and shows nothing. False for a first
// start. The marker stays held by `link` until it is destroyed.
bool HandOffIfSecondStart(IInstanceLink& link, IProgramInfo& program, IFileSystem& files, ISleeper& sleeper);

}  // namespace brindlock
