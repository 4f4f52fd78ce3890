// The command line of brindlock-cli.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace brindlock::cli {

enum class Action { Encrypt, Decrypt, Erase };

struct Options {
    Action action = Action::Encrypt;
    std::vector<std::string> files;
    std::string passwordFile;  // empty: environment or prompt
    int32_t passes = 5;
    bool help = false;
};

// Parses the arguments after the program name. False with `error` set for a
// command line that cannot be run.
bool ParseOptions(const std::vector<std::string>& args, Options& options, std::string& error);

extern const char* const kUsage;

}  // namespace brindlock::cli
