// Console services on Windows: a password prompt with the console's echo
// switched off.
//
// The console hands typed text to byte reads in its own code page (the OEM
// one, 437 or 850 on a western system), while the tray program's password box
// gives its text in the ANSI code page. A password with "é" or "ü" would then
// make another key here than there, and a decryption would "succeed" with
// garbage. So a line typed on the console is read as UTF-16 and turned into
// the ANSI code page, the way the password box turns it.
#include <windows.h>

#include <cstdio>
#include <iostream>
#include <iterator>
#include <string>

#include "platform/terminal.h"

namespace brindlock {
namespace {

bool IsConsole(DWORD which) {
    DWORD mode = 0;
    return GetConsoleMode(GetStdHandle(which), &mode) != 0;
}

// One line from the console, up to Enter, without its line end.
bool ReadConsoleLine(HANDLE input, std::string& line) {
    std::wstring wide;
    wide.reserve(256);  // a password rarely grows it, so no copy is left behind
    wchar_t chunk[128];
    bool ended = false;
    for (;;) {
        DWORD got = 0;
        if (!ReadConsoleW(input, chunk, static_cast<DWORD>(std::size(chunk)), &got, nullptr) || got == 0) break;
        wide.append(chunk, got);
        if (wide.back() == L'\n') {
            ended = true;
            break;
        }
    }
    SecureZeroMemory(chunk, sizeof chunk);
    const bool ok = ended || !wide.empty();
    while (!wide.empty() && (wide.back() == L'\n' || wide.back() == L'\r')) wide.pop_back();

    line.clear();
    if (ok && !wide.empty()) {
        const int length = static_cast<int>(wide.size());
        const int bytes = WideCharToMultiByte(CP_ACP, 0, wide.data(), length, nullptr, 0, nullptr, nullptr);
        line.resize(static_cast<std::size_t>(bytes > 0 ? bytes : 0));
        if (bytes > 0) WideCharToMultiByte(CP_ACP, 0, wide.data(), length, line.data(), bytes, nullptr, nullptr);
    }
    wide.resize(wide.capacity());  // within the buffer: the whole of it is wiped
    SecureZeroMemory(wide.data(), wide.size() * sizeof(wchar_t));
    return ok;
}

}  // namespace

bool StdinIsTerminal() { return IsConsole(STD_INPUT_HANDLE); }

bool StderrIsTerminal() { return IsConsole(STD_ERROR_HANDLE); }

bool ReadLineNoEcho(const std::string& prompt, std::string& line) {
    std::fputs(prompt.c_str(), stderr);
    std::fflush(stderr);
    HANDLE input = GetStdHandle(STD_INPUT_HANDLE);
    DWORD saved = 0;
    if (GetConsoleMode(input, &saved) == 0) {
        // Redirected input: the bytes as they come.
        const bool ok = static_cast<bool>(std::getline(std::cin, line));
        if (ok && !line.empty() && line.back() == '\r') line.pop_back();
        return ok;
    }
    SetConsoleMode(input, (saved | ENABLE_LINE_INPUT | ENABLE_PROCESSED_INPUT) & ~static_cast<DWORD>(ENABLE_ECHO_INPUT));
    const bool ok = ReadConsoleLine(input, line);
    SetConsoleMode(input, saved);
    std::fputs("\n", stderr);  // the Enter key was not echoed either
    return ok;
}

}  // namespace brindlock
