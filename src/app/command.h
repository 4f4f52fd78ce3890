// The command a running instance receives (mode letter and file list), the
// rule that turns program arguments into one, and the text packet in which a
// second start hands it over in a WM_COPYDATA message. Plain text handling on
// 8-bit strings; no platform calls.
#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace brindlock {

struct Command {
    char Mode = 'O';                 // 'E', 'D', 'O' or 'W' (a packet may carry any byte)
    std::vector<std::string> Files;  // in the order given; duplicates remain
};

// Program arguments: element 0 is the program file's full path, elements 1..n
// are the arguments that followed it on the command line.
using Arguments = std::vector<std::string>;

struct ModeSelection {
    char Mode;
    int FirstFile;  // index of the first file argument
};

// The three fields of COPYDATASTRUCT that the packet uses.
struct CopyDataView {
    uintptr_t dwData = 0;
    uint32_t cbData = 0;
    const void* lpData = nullptr;
};

constexpr uintptr_t kCommandPacketId = 1;

ModeSelection SelectMode(const Arguments& arguments);
std::string EncodeCommandPacket(const Arguments& arguments);
std::optional<Command> CommandFromArguments(const Arguments& arguments);

// The arguments with every path made full by `fullPathOf`, so that they name
// the same files wherever they are read: a second start hands its paths to an
// instance whose current folder is another, and a viewing copy's path is
// kept for the next start. Element 0, empty arguments and those beginning
// with "/" or "-" (switches, and paths the intake refuses) stay as they are.
Arguments WithFullPaths(const Arguments& arguments, const std::function<std::string(const std::string&)>& fullPathOf);
// Reads at most cbData bytes; a packet without a zero byte within cbData is
// taken as cbData bytes of text.
std::optional<Command> DecodeCommandPacket(const CopyDataView* data);

// Splits a command line into arguments: characters 1..32 separate them, a
// double-quoted stretch may hold blanks and loses its quotes, a pair of
// double quotes between arguments is skipped. No argument is empty. The first
// element is the program as written on the command line.
std::vector<std::string> SplitCommandLine(std::string_view commandLine);

}  // namespace brindlock
