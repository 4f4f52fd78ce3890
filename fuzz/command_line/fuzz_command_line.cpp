// SplitCommandLine on any command line a process may be started with, then
// the rule that turns the arguments into a command and a hand-off packet.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "app/command.h"
#include "support/fuzz_check.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
    const std::string_view line(reinterpret_cast<const char*>(data), size);
    const std::vector<std::string> arguments = brindlock::SplitCommandLine(line);

    std::size_t total = 0;
    for (const std::string& argument : arguments) {
        // Never empty; quotes are dropped; a zero byte ends the line.
        FUZZ_CHECK(!argument.empty());
        FUZZ_CHECK(argument.find('"') == std::string::npos);
        FUZZ_CHECK(argument.find('\0') == std::string::npos);
        total += argument.size();
    }
    FUZZ_CHECK(total <= size);
    // A line without quotes splits exactly at the separators (codes 1 to 32).
    if (line.find('"') == std::string_view::npos && line.find('\0') == std::string_view::npos) {
        std::size_t p = 0;
        for (const std::string& argument : arguments) {
            while (p < line.size() && static_cast<unsigned char>(line[p]) <= 32) ++p;
            FUZZ_CHECK(line.substr(p, argument.size()) == argument);
            p += argument.size();
            FUZZ_CHECK(p == line.size() || static_cast<unsigned char>(line[p]) <= 32);
        }
        while (p < line.size() && static_cast<unsigned char>(line[p]) <= 32) ++p;
        FUZZ_CHECK(p == line.size());
    }

    // The split line's arguments (the first is the program) as a second start
    // would hand them over.
    const std::string packet = brindlock::EncodeCommandPacket(arguments);
    FUZZ_CHECK(!packet.empty());
    const auto direct = brindlock::CommandFromArguments(arguments);
    FUZZ_CHECK(direct.has_value() == (arguments.size() > 1));
    const brindlock::CopyDataView view{brindlock::kCommandPacketId, static_cast<uint32_t>(packet.size() + 1),
                                       packet.c_str()};
    const auto decoded = brindlock::DecodeCommandPacket(&view);
    bool anyBar = false;
    if (direct)
        for (const std::string& file : direct->Files) anyBar = anyBar || file.find('|') != std::string::npos;
    if (!direct) FUZZ_CHECK(!decoded);
    // Paths without "|" come through the packet unchanged.
    if (direct && !anyBar) FUZZ_CHECK(decoded && decoded->Mode == direct->Mode && decoded->Files == direct->Files);
    return 0;
}
