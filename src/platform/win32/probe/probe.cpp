// brindlock-probe.exe: a small console tool for the end-to-end tests. It looks
// at Brindlock's windows from the Win32 side, which the X display cannot show
// (window class names, client sizes, child controls), and prints one line per
// finding. Not shipped; tests/e2e/lib.sh runs it under wine64.
//
//   brindlock-probe window CLASS          the top-level window of that class
//   brindlock-probe wait-window CLASS MS  the same, waiting up to MS ms for it
//   brindlock-probe children CLASS        every child control: class, id, enabled, rect, its
//                                         own visibility (whatever its parents'), text
//   brindlock-probe hotkey MODS VK        whether this process can register the
//                                         global hotkey (exit 0) or another holds it
//   brindlock-probe run COMMANDLINE       starts a program with exactly this command
//                                         line (as Explorer runs a verb), waits for it
//                                         and ends with its exit code
//   brindlock-probe attributes PATH       the file's attributes as GetFileAttributesA
//                                         reports them, in hex and as names; exit 1
//                                         when there is no such file
//   brindlock-probe clipboard             whether the clipboard offers a file-drop list:
//                                         prints "files" (exit 0) or "no files" (exit 1)
//
// Exit code 0 when the window was found, 1 when not, 2 on bad usage.
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <cstdint>
#include <string>

namespace {

std::string WindowText(HWND window) {
    char text[512] = {};
    GetWindowTextA(window, text, sizeof text);
    return text;
}

void PrintWindow(HWND window) {
    RECT client{};
    GetClientRect(window, &client);
    POINT origin{0, 0};
    ClientToScreen(window, &origin);
    // Wine keeps the X window of a top-level window in this property, which
    // lets the tests pick the right X window even when two share a name.
    const auto xwindow = reinterpret_cast<uintptr_t>(GetPropA(window, "__wine_x11_whole_window"));
    std::printf("hwnd=%p xwindow=%lu visible=%d client=%ldx%ld origin=%ld,%ld style=0x%08lx exstyle=0x%08lx caption=%s\n",
                static_cast<void*>(window), static_cast<unsigned long>(xwindow), IsWindowVisible(window) ? 1 : 0,
                client.right - client.left,
                client.bottom - client.top, origin.x, origin.y,
                static_cast<unsigned long>(GetWindowLongPtrA(window, GWL_STYLE)),
                static_cast<unsigned long>(GetWindowLongPtrA(window, GWL_EXSTYLE)), WindowText(window).c_str());
}

BOOL CALLBACK PrintChild(HWND child, LPARAM topLevel) {
    HWND parent = reinterpret_cast<HWND>(topLevel);
    char className[128] = {};
    GetClassNameA(child, className, sizeof className);
    RECT r{};
    GetWindowRect(child, &r);
    MapWindowPoints(HWND_DESKTOP, parent, reinterpret_cast<POINT*>(&r), 2);
    const LONG_PTR style = GetWindowLongPtrA(child, GWL_STYLE);
    std::printf("class=%s id=%ld enabled=%d rect=%ld,%ld,%ld,%ld visible=%d text=%s\n", className,
                static_cast<long>(GetDlgCtrlID(child)), (style & WS_DISABLED) ? 0 : 1, r.left, r.top, r.right - r.left,
                r.bottom - r.top, (style & WS_VISIBLE) ? 1 : 0, WindowText(child).c_str());
    return TRUE;
}

// CreateProcessA with the command line untouched: the quotes and blanks
// reach the started program as written.
int RunCommandLine(const char* commandLine) {
    std::string line = commandLine;
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process{};
    if (!CreateProcessA(nullptr, line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &process)) {
        std::printf("cannot start: %s\n", commandLine);
        return 1;
    }
    WaitForSingleObject(process.hProcess, INFINITE);
    DWORD exitCode = 1;
    GetExitCodeProcess(process.hProcess, &exitCode);
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    return static_cast<int>(exitCode);
}

// The attribute bits the tests look at, by name; `attrib` shows only R, A, S
// and H, so the temporary bit can be seen only here.
int PrintAttributes(const char* path) {
    const DWORD attributes = GetFileAttributesA(path);
    if (attributes == INVALID_FILE_ATTRIBUTES) {
        std::printf("no file %s\n", path);
        return 1;
    }
    std::printf("attributes=0x%08lx", static_cast<unsigned long>(attributes));
    const struct {
        DWORD bit;
        const char* name;
    } names[] = {{FILE_ATTRIBUTE_READONLY, "readonly"},   {FILE_ATTRIBUTE_HIDDEN, "hidden"},
                 {FILE_ATTRIBUTE_SYSTEM, "system"},       {FILE_ATTRIBUTE_DIRECTORY, "directory"},
                 {FILE_ATTRIBUTE_ARCHIVE, "archive"},     {FILE_ATTRIBUTE_NORMAL, "normal"},
                 {FILE_ATTRIBUTE_TEMPORARY, "temporary"}};
    for (const auto& entry : names)
        if (attributes & entry.bit) std::printf(" %s", entry.name);
    std::printf("\n");
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    // Wine takes the X clipboard over a moment after it changed hands; a test
    // waits for that before it presses a hotkey that reads the clipboard.
    if (argc == 2 && std::string(argv[1]) == "clipboard") {
        const bool files = IsClipboardFormatAvailable(CF_HDROP) != 0;
        std::printf("%s\n", files ? "files" : "no files");
        return files ? 0 : 1;
    }
    if (argc < 3) {
        std::fprintf(stderr, "usage: brindlock-probe window|wait-window|children CLASS [MS] | hotkey MODS VK | run COMMANDLINE | attributes PATH | clipboard\n");
        return 2;
    }
    const std::string command = argv[1];
    if (command == "run") return RunCommandLine(argv[2]);
    if (command == "attributes") return PrintAttributes(argv[2]);
    if (command == "hotkey" && argc > 3) {
        const UINT modifiers = static_cast<UINT>(std::strtoul(argv[2], nullptr, 0));
        const UINT key = static_cast<UINT>(std::strtoul(argv[3], nullptr, 0));
        if (!RegisterHotKey(nullptr, 1, modifiers, key)) {
            std::printf("hotkey taken\n");
            return 1;
        }
        UnregisterHotKey(nullptr, 1);
        std::printf("hotkey free\n");
        return 0;
    }
    const char* className = argv[2];
    const int waitMs = command == "wait-window" && argc > 3 ? std::atoi(argv[3]) : 0;
    HWND window = FindWindowA(className, nullptr);
    for (int waited = 0; !window && waited < waitMs; waited += 50) {
        Sleep(50);
        window = FindWindowA(className, nullptr);
    }
    if (!window) {
        std::printf("no window of class %s\n", className);
        return 1;
    }
    if (command == "children") EnumChildWindows(window, PrintChild, reinterpret_cast<LPARAM>(window));
    else PrintWindow(window);
    return 0;
}
