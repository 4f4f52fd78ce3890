// Program entry of Brindlock.exe.
#include <windows.h>

#include <exception>
#include <memory>
#include <string>

#include "app/hand_off.h"
#include "platform/file_system.h"
#include "platform/picture_ids.h"
#include "platform/win32/win32_instance_link.h"
#include "platform/win32/win32_platform.h"
#include "ui/form1.h"

namespace {

using namespace brindlock;

// The platform's display of an exception that escaped the start or the loop.
void ShowException(const char* message) {
    MessageBoxA(nullptr, message, "Brindlock", MB_OK | MB_ICONERROR | MB_TASKMODAL);
}

// Keeps the shutdown in one place for every way out of the run, the
// exceptional ones too: the backend stops its timers and removes the tray
// icon before the main window's destruction handler runs.
struct ShutdownGuard {
    Win32FormHost& host;
    ~ShutdownGuard() { host.Shutdown(); }
};

// The first instance: the application titled "Pellmar", the main window,
// the message loop until Terminate, then the window's destruction.
void RunFirstInstance(HINSTANCE instance) {
    Win32Platform platform(instance);
    platform.Application.SetTitle("Pellmar");
    const TBitmap marble = platform.Pictures.Bitmap(BRINDLOCK_BITMAP_MARBLE);
    platform.Services.Marble = &marble;
    auto form = std::make_unique<TForm1>(platform.Services);
    ShutdownGuard guard{platform.Host};
    platform.Application.Run();
}

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
    // Lives until the entry returns: the first instance holds the marker for
    // its whole run. A second start hands its command over and ends here,
    // without a window.
    Win32InstanceLink link;
    {
        Win32ProgramInfo program;
        Win32Sleeper sleeper;
        if (HandOffIfSecondStart(link, program, NativeFileSystem(), sleeper)) return 0;
    }
    try {
        RunFirstInstance(instance);
    } catch (const std::exception& error) {
        ShowException(error.what());
    } catch (...) {
        // Not one of ours: shown like one, without a message.
        ShowException("");
    }
    return 0;
}
