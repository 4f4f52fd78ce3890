// Everything the main window needs from the operating system, handed to it
// at construction. The real program fills it with win32/ services, the tests
// with headless/ ones.
#pragma once

namespace brindlock {

class ComponentHost;
class IApplication;
class IShellServices;
class IFileSystem;
class IProgramInfo;
class IRegistry;
class IEnvironment;
class IProcessLauncher;
class ISleeper;
class IHotkeys;
class IClipboard;
class IKeyboardInput;
class IClock;
class ILocale;
class IShellNotify;
struct TBitmap;

struct Platform {
    ComponentHost* Host = nullptr;
    IApplication* Application = nullptr;
    IShellServices* Shell = nullptr;
    // The file layer; commands admit only paths of existing files.
    IFileSystem* Files = nullptr;
    // Program path and arguments (the command line a first start takes in).
    IProgramInfo* Program = nullptr;
    // Desktop integration: context-menu verbs, Start Menu shortcut, hotkeys
    // and the capture of Explorer's selection.
    IRegistry* Registry = nullptr;
    IEnvironment* Environment = nullptr;
    IProcessLauncher* Processes = nullptr;
    ISleeper* Sleeper = nullptr;
    IHotkeys* HotkeyService = nullptr;
    IClipboard* Clipboard = nullptr;
    IKeyboardInput* Keyboard = nullptr;
    IClock* Clock = nullptr;
    ILocale* Locale = nullptr;
    // Tells Explorer that a folder changed (SHChangeNotify on Windows).
    IShellNotify* ShellNotify = nullptr;
    // The marble texture the window's background is tiled from. The window
    // holds it before its creation handler runs: a first start with a
    // command shows the window from there, and that show tiles the
    // background.
    const TBitmap* Marble = nullptr;
};

// Puts a backend's desktop-integration services into `platform`; each
// backend keeps them as members named as below.
template <class Integration>
void AddDesktopServices(Platform& platform, Integration& services) {
    platform.Registry = &services.registry;
    platform.Environment = &services.environment;
    platform.Processes = &services.processes;
    platform.Sleeper = &services.sleeper;
    platform.HotkeyService = &services.hotkeys;
    platform.Clipboard = &services.clipboard;
    platform.Keyboard = &services.keyboard;
}

}  // namespace brindlock
