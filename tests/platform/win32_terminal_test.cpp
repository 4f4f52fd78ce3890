// The password prompt on a real console: keys are put into the console's
// input queue as a user would type them, and the line must come back in the
// ANSI code page, byte for byte what the tray program's password box gives
// for the same keys (a byte read of the console would give its OEM page).
#include <windows.h>

#include <gtest/gtest.h>

#include <string>

#include "platform/terminal.h"

namespace brindlock {
namespace {

std::string InCodePage(UINT page, const std::wstring& text) {
    if (text.empty()) return {};
    const int length = static_cast<int>(text.size());
    std::string bytes(static_cast<std::size_t>(WideCharToMultiByte(page, 0, text.data(), length, nullptr, 0, nullptr, nullptr)), '\0');
    WideCharToMultiByte(page, 0, text.data(), length, bytes.data(), static_cast<int>(bytes.size()), nullptr, nullptr);
    return bytes;
}

class ConsolePrompt : public ::testing::Test {
protected:
    void SetUp() override {
        savedInput_ = GetStdHandle(STD_INPUT_HANDLE);
        FreeConsole();
        ASSERT_TRUE(AllocConsole()) << GetLastError();
        input_ = CreateFileW(L"CONIN$", GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                             OPEN_EXISTING, 0, nullptr);
        ASSERT_NE(input_, INVALID_HANDLE_VALUE) << GetLastError();
        SetStdHandle(STD_INPUT_HANDLE, input_);
        DWORD mode = 0;
        ASSERT_TRUE(GetConsoleMode(input_, &mode));
        savedMode_ = mode;
    }
    void TearDown() override {
        if (input_ != INVALID_HANDLE_VALUE) {
            DWORD mode = 0;
            GetConsoleMode(input_, &mode);
            EXPECT_EQ(mode, savedMode_) << "the console's mode was not given back";
            CloseHandle(input_);
        }
        SetStdHandle(STD_INPUT_HANDLE, savedInput_);
        FreeConsole();
    }

    // Each character as a key press and release, then Enter.
    void Type(const std::wstring& text) {
        std::wstring keys = text + L'\r';
        for (wchar_t ch : keys) {
            INPUT_RECORD press[2] = {};
            for (int i = 0; i < 2; ++i) {
                press[i].EventType = KEY_EVENT;
                press[i].Event.KeyEvent.bKeyDown = i == 0;
                press[i].Event.KeyEvent.wRepeatCount = 1;
                press[i].Event.KeyEvent.wVirtualKeyCode = ch == L'\r' ? VK_RETURN : 0;
                press[i].Event.KeyEvent.uChar.UnicodeChar = ch;
            }
            DWORD written = 0;
            ASSERT_TRUE(WriteConsoleInputW(input_, press, 2, &written));
            ASSERT_EQ(written, 2u);
        }
    }

    HANDLE savedInput_ = nullptr;
    HANDLE input_ = INVALID_HANDLE_VALUE;
    DWORD savedMode_ = 0;
};

TEST_F(ConsolePrompt, TypedLineComesBackInTheAnsiCodePage) {
    const std::wstring longLine(300, L'k');  // longer than one console read
    struct Case {
        const char* label;
        std::wstring typed;
    } cases[] = {
        {"accented letters", L"Gr\u00FC\u00DFe caf\u00E9"},
        {"plain", L"hotkey-pass"},
        {"empty", L""},
        {"long", longLine},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.label);
        Type(c.typed);
        std::string line = "stale";
        ASSERT_TRUE(ReadLineNoEcho("Password: ", line));
        EXPECT_EQ(line, InCodePage(CP_ACP, c.typed));
    }
}

// Why the prompt does not simply read bytes: a byte read of the same keys
// gives the console's own code page, which here differs from the ANSI one.
TEST_F(ConsolePrompt, AByteReadOfTheConsoleGivesAnotherCodePage) {
    const std::wstring typed = L"Gr\u00FC\u00DFe caf\u00E9";
    Type(typed);
    char buffer[64] = {};
    DWORD got = 0;
    ASSERT_TRUE(ReadFile(input_, buffer, sizeof buffer, &got, nullptr));
    std::string bytes(buffer, got);
    while (!bytes.empty() && (bytes.back() == '\n' || bytes.back() == '\r')) bytes.pop_back();
    EXPECT_EQ(bytes, InCodePage(GetConsoleCP(), typed));
    EXPECT_NE(bytes, InCodePage(CP_ACP, typed)) << "ANSI " << GetACP() << ", console " << GetConsoleCP();
}

}  // namespace
}  // namespace brindlock
