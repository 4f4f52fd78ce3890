// The command a running instance receives (mode letter and file list), the
// rule that turns program arguments into one, and the text packet in which a
// second start hands it over in a WM_COPYDATA message. Plain text handling on
// 8-bit strings; no platform calls.
#pragma once

#include <cstdint>
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
// Reads at most cbData bytes; a packet without a zero byte within cbData is
// taken as cbData bytes of text.
std::optional<Command> DecodeCommandPacket(const CopyDataView* data);

// Splits a command line into arguments: characters 1..32 separate them, a
// double-quoted stretch may hold blanks and loses its quotes, a pair of
// double quotes between arguments is skipped. No argument is empty. The first
// element is the program as written on the command line.
std::vector<std::string> SplitCommandLine(std::string_view commandLine);

}  // namespace brindlock
