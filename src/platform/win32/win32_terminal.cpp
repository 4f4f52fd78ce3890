// Console services on Windows: a password prompt with the console's echo
// switched off.
#include <windows.h>

#include <cstdio>
#include <iostream>

#include "platform/terminal.h"

namespace brindlock {
namespace {

bool IsConsole(DWORD which) {
    DWORD mode = 0;
    return GetConsoleMode(GetStdHandle(which), &mode) != 0;
}

}  // namespace

bool StdinIsTerminal() { return IsConsole(STD_INPUT_HANDLE); }

bool StderrIsTerminal() { return IsConsole(STD_ERROR_HANDLE); }

bool ReadLineNoEcho(const std::string& prompt, std::string& line) {
    std::fputs(prompt.c_str(), stderr);
    std::fflush(stderr);
    HANDLE input = GetStdHandle(STD_INPUT_HANDLE);
    DWORD saved = 0;
    const bool haveConsole = GetConsoleMode(input, &saved) != 0;
    if (haveConsole) SetConsoleMode(input, saved & ~static_cast<DWORD>(ENABLE_ECHO_INPUT));
    const bool ok = static_cast<bool>(std::getline(std::cin, line));
    if (haveConsole) {
        SetConsoleMode(input, saved);
        std::fputs("\n", stderr);  // the Enter key was not echoed either
    }
    if (ok && !line.empty() && line.back() == '\r') line.pop_back();
    return ok;
}

}  // namespace brindlock
