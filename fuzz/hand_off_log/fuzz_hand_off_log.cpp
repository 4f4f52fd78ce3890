// The hand-off log of second starts: whatever debug_messenger.txt holds
// (lines ended by CR, LF or CR LF, other bytes, no end at all) and whatever
// the arguments are, appending a start's block must keep every earlier line
// byte for byte, end every line with CR LF, and add exactly one block. When
// a file call fails or the disk fills up anywhere on the way, the log must be
// the one before or the one after, never a cut-off or shortened one, and no
// temporary file may be left beside it.
//
// Input: byte 0 picks the file call that misbehaves (low five bits: its
// number, 0 for none; the rest: how); byte 1 says whether a log exists
// (bit 7) and how many arguments follow the program (bits 0 and 1). The
// rest holds those arguments, each ended by a zero byte, then the log.
#include <cstddef>
#include <cstdint>
#include <map>
#include <string>
#include <vector>

#include "app/command.h"
#include "app/hand_off.h"
#include "support/fuzz_check.h"
#include "support/memory_file_system.h"

namespace {

const std::string kLog = "/prog/debug_messenger.txt";

// The text with every line ended by CR LF: a CR LF pair, a lone CR and a
// lone LF each end one line; a last line without an end gets one.
std::string WithCrLfEnds(const std::string& text) {
    std::string out;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        if (c == '\r' || c == '\n') {
            out += "\r\n";
            if (c == '\r' && i + 1 < text.size() && text[i + 1] == '\n') ++i;
        } else {
            out += c;
        }
    }
    if (!out.empty() && out.back() != '\n') out += "\r\n";
    return out;
}

// One start's block, written out from the log's layout.
std::string Block(const brindlock::Arguments& arguments) {
    std::string text = "=== MESSENGER INSTANCE ===\r\n";
    text += "Raw ParamCount = " + std::to_string(arguments.size() - 1) + "\r\n";
    for (std::size_t i = 0; i < arguments.size(); ++i) {
        text += "ParamStr(" + std::to_string(i) + ") = [" + arguments[i] + "]\r\n";
    }
    text += "===========================\r\n";
    return text;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
    if (size < 2) return 0;
    const int faultAt = data[0] & 0x1f;
    const auto kind = static_cast<brindlock::fuzz::Misbehaviour>((data[0] >> 5) % 4);
    const bool logExists = (data[1] & 0x80) != 0;
    const std::size_t extra = data[1] & 3;

    std::string rest(reinterpret_cast<const char*>(data + 2), size - 2);
    brindlock::Arguments arguments = {"C:\\Tools\\Brindlock.exe"};
    while (arguments.size() <= extra) {
        const std::size_t zero = rest.find('\0');
        if (zero == std::string::npos) break;
        arguments.push_back(rest.substr(0, zero));
        rest.erase(0, zero + 1);
    }
    const std::string& before = rest;
    const std::string after = (logExists ? WithCrLfEnds(before) : std::string()) + Block(arguments);

    brindlock::fuzz::MemoryFileSystem files;
    if (logExists) files.Files[kLog] = before;
    files.MisbehaveAt(faultAt, kind);
    brindlock::WriteHandOffLog(files, kLog, arguments);

    // Nothing but the log in the folder.
    FUZZ_CHECK(files.Files.size() <= 1);
    FUZZ_CHECK(files.Files.empty() || files.Files.count(kLog) == 1);
    if (!files.Misbehaved()) {
        FUZZ_CHECK(files.Files.count(kLog) == 1);
        FUZZ_CHECK(files.Files[kLog] == after);
    } else if (files.Files.count(kLog) == 0) {
        FUZZ_CHECK(!logExists);
    } else {
        const std::string& now = files.Files[kLog];
        FUZZ_CHECK(now == after || (logExists && now == before));
    }
    if (files.Files.count(kLog) == 0 || files.Files[kLog] != after) return 0;

    // The next start appends to what this one wrote. Its lines are all ended
    // by CR LF already, so they stay byte for byte unless an argument itself
    // held a line end, which the next reading splits like any other.
    const brindlock::Arguments next = {"C:\\Tools\\Brindlock.exe", "/erase", "C:\\a.txt"};
    files.MisbehaveAt(0, kind);
    brindlock::WriteHandOffLog(files, kLog, next);
    FUZZ_CHECK(files.Files.size() == 1);
    const std::string& twice = files.Files[kLog];
    FUZZ_CHECK(twice == WithCrLfEnds(after) + Block(next));
    bool lineEndInArguments = false;
    for (const std::string& argument : arguments) {
        lineEndInArguments = lineEndInArguments || argument.find_first_of("\r\n") != std::string::npos;
    }
    if (!lineEndInArguments) FUZZ_CHECK(twice.compare(0, after.size(), after) == 0);
    return 0;
}
