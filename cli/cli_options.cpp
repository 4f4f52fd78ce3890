#include "cli_options.h"

#include <charconv>

namespace brindlock::cli {

const char* const kUsage =
    "usage: brindlock-cli encrypt [--password-file FILE] FILE...\n"
    "       brindlock-cli decrypt [--password-file FILE] FILE...\n"
    "       brindlock-cli erase [--passes N] FILE...\n"
    "\n"
    "encrypt  writes \"$\" + name beside each file; the file itself stays\n"
    "decrypt  writes the name without \"$\" beside each \"$\" file\n"
    "erase    overwrites each file in N passes (default 5) and deletes it\n"
    "\n"
    "The password is the first line of --password-file, or the environment\n"
    "variable BRINDLOCK_PASSWORD, or is asked for on the terminal.\n";

namespace {

bool ParsePasses(const std::string& text, int32_t& passes) {
    int32_t value = 0;
    const char* end = text.data() + text.size();
    const auto [ptr, ec] = std::from_chars(text.data(), end, value);
    if (ec != std::errc() || ptr != end || value < 0) return false;
    passes = value;
    return true;
}

}  // namespace

bool ParseOptions(const std::vector<std::string>& args, Options& options, std::string& error) {
    options = Options{};
    if (args.empty()) {
        error = "no command given";
        return false;
    }
    const std::string& command = args[0];
    if (command == "-h" || command == "--help" || command == "help") {
        options.help = true;
        return true;
    }
    if (command == "encrypt") {
        options.action = Action::Encrypt;
    } else if (command == "decrypt") {
        options.action = Action::Decrypt;
    } else if (command == "erase") {
        options.action = Action::Erase;
    } else {
        error = "unknown command \"" + command + "\"";
        return false;
    }
    const bool wantsPassword = options.action != Action::Erase;
    bool optionsEnded = false;
    for (std::size_t i = 1; i < args.size(); ++i) {
        const std::string& arg = args[i];
        if (optionsEnded || arg.size() < 2 || arg[0] != '-') {
            options.files.push_back(arg);
            continue;
        }
        if (arg == "--") {
            optionsEnded = true;
        } else if (arg == "-h" || arg == "--help") {
            options.help = true;
        } else if (arg == "--password" || arg.rfind("--password=", 0) == 0 || arg == "-p") {
            // Arguments are visible to every user of the machine (ps, /proc).
            error = "a password is never taken from the command line; use --password-file or BRINDLOCK_PASSWORD";
            return false;
        } else if (wantsPassword && arg == "--password-file") {
            if (++i == args.size()) {
                error = "--password-file needs a file name";
                return false;
            }
            options.passwordFile = args[i];
        } else if (!wantsPassword && arg == "--passes") {
            if (++i == args.size() || !ParsePasses(args[i], options.passes)) {
                error = "--passes needs a whole number from 0 to 2147483647";
                return false;
            }
        } else {
            error = "unknown option \"" + arg + "\" for " + command;
            return false;
        }
    }
    if (options.files.empty() && !options.help) {
        error = "no files given";
        return false;
    }
    return true;
}

}  // namespace brindlock::cli
