#include "app/command.h"

#include <cstring>

namespace brindlock {
namespace {

std::string LowerAscii(std::string s) {
    // Only ASCII letters can make up a switch, so ASCII folding decides a
    // match exactly as the code page's lower-casing would.
    for (char& c : s)
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    return s;
}

int ArgumentCount(const Arguments& arguments) {
    return arguments.empty() ? 0 : static_cast<int>(arguments.size()) - 1;
}

bool IsSeparator(char c) {
    const auto u = static_cast<unsigned char>(c);
    return u >= 1 && u <= 32;
}

}  // namespace

ModeSelection SelectMode(const Arguments& arguments) {
    const int n = ArgumentCount(arguments);
    ModeSelection result{'O', 1};
    if (n < 2) return result;
    const std::string s = LowerAscii(arguments[1]);
    if (s == "/encrypt") result = {'E', 2};
    else if (s == "/decrypt") result = {'D', 2};
    else if (s == "/erase") result = {'W', 2};
    return result;
}

std::string EncodeCommandPacket(const Arguments& arguments) {
    const ModeSelection mode = SelectMode(arguments);
    std::string text(1, mode.Mode);
    for (int i = mode.FirstFile; i <= ArgumentCount(arguments); ++i) {
        if (arguments[i].empty()) continue;
        text += '|';
        text += arguments[i];
    }
    return text;
}

std::optional<Command> CommandFromArguments(const Arguments& arguments) {
    const int n = ArgumentCount(arguments);
    if (n == 0) return std::nullopt;
    const ModeSelection mode = SelectMode(arguments);
    Command command;
    command.Mode = mode.Mode;
    for (int i = mode.FirstFile; i <= n; ++i) command.Files.push_back(arguments[i]);
    return command;
}

Arguments WithFullPaths(const Arguments& arguments, const std::function<std::string(const std::string&)>& fullPathOf) {
    Arguments result = arguments;
    for (std::size_t i = 1; i < result.size(); ++i) {
        std::string& argument = result[i];
        if (argument.empty() || argument[0] == '/' || argument[0] == '-') continue;
        argument = fullPathOf(argument);
    }
    return result;
}

std::optional<Command> DecodeCommandPacket(const CopyDataView* data) {
    if (data == nullptr || data->lpData == nullptr || data->cbData == 0) return std::nullopt;
    const char* bytes = static_cast<const char*>(data->lpData);
    const void* zero = std::memchr(bytes, 0, data->cbData);
    const std::size_t length = zero ? static_cast<std::size_t>(static_cast<const char*>(zero) - bytes)
                                    : data->cbData;
    if (length == 0) return std::nullopt;

    Command command;
    command.Mode = bytes[0];
    std::string piece;
    for (std::size_t i = 1; i < length; ++i) {
        if (bytes[i] == '|') {
            if (!piece.empty()) command.Files.push_back(std::move(piece));
            piece.clear();
        } else {
            piece += bytes[i];
        }
    }
    if (!piece.empty()) command.Files.push_back(std::move(piece));
    if (command.Files.empty()) return std::nullopt;
    return command;
}

std::vector<std::string> SplitCommandLine(std::string_view commandLine) {
    std::vector<std::string> result;
    std::size_t p = 0;
    const std::size_t end = commandLine.size();
    auto at = [&](std::size_t i) { return i < end ? commandLine[i] : '\0'; };
    for (;;) {
        for (;;) {
            while (at(p) != '\0' && (IsSeparator(at(p)))) ++p;
            if (at(p) == '"' && at(p + 1) == '"') p += 2;
            else break;
        }
        if (at(p) == '\0') break;
        std::string argument;
        while (at(p) != '\0' && !IsSeparator(at(p))) {
            if (at(p) == '"') {
                ++p;
                while (at(p) != '\0' && at(p) != '"') argument += commandLine[p++];
                if (at(p) != '\0') ++p;
            } else {
                argument += commandLine[p++];
            }
        }
        if (!argument.empty()) result.push_back(std::move(argument));
    }
    return result;
}

}  // namespace brindlock
