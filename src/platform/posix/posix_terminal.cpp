// Console services on POSIX: a password prompt with echo switched off.
#include <termios.h>
#include <unistd.h>

#include <cstdio>
#include <iostream>

#include "platform/terminal.h"

namespace brindlock {

bool StdinIsTerminal() { return ::isatty(STDIN_FILENO) == 1; }

bool StderrIsTerminal() { return ::isatty(STDERR_FILENO) == 1; }

bool ReadLineNoEcho(const std::string& prompt, std::string& line) {
    std::fputs(prompt.c_str(), stderr);
    std::fflush(stderr);
    termios saved {};
    const bool haveTerminal = ::tcgetattr(STDIN_FILENO, &saved) == 0;
    if (haveTerminal) {
        termios quiet = saved;
        quiet.c_lflag &= ~static_cast<tcflag_t>(ECHO);
        quiet.c_lflag |= ECHONL;
        ::tcsetattr(STDIN_FILENO, TCSAFLUSH, &quiet);
    }
    const bool ok = static_cast<bool>(std::getline(std::cin, line));
    if (haveTerminal) ::tcsetattr(STDIN_FILENO, TCSAFLUSH, &saved);
    if (ok && !line.empty() && line.back() == '\r') line.pop_back();
    return ok;
}

}  // namespace brindlock
