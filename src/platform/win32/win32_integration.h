// The desktop-integration services on Windows: registry, environment,
// process start, sleep, hotkeys, clipboard and synthesised keystrokes.
#pragma once

#include <windows.h>
// <windows.h> renames DragQueryFile to its A or W form; IClipboard's method
// of that name must keep its name on both sides of the layer.
#undef DragQueryFile

#include <functional>

#include "platform/clipboard.h"
#include "platform/environment.h"
#include "platform/hotkeys.h"
#include "platform/keyboard_input.h"
#include "platform/platform.h"
#include "platform/process_launcher.h"
#include "platform/registry.h"
#include "platform/sleeper.h"

namespace brindlock {

class Win32Registry : public IRegistry {
public:
    bool CreateKey(RegistryRoot root, const std::string& subKey, uint32_t access, RegistryKey& key,
                   uint32_t* disposition) override;
    bool SetValue(RegistryKey key, const char* valueName, uint32_t type, const void* data, uint32_t size) override;
    void CloseKey(RegistryKey key) override;
};

class Win32Environment : public IEnvironment {
public:
    uint32_t GetVariable(const char* name, char* buffer, uint32_t size) override;
    uint32_t AnsiCodePage() override;
};

class Win32ProcessLauncher : public IProcessLauncher {
public:
    uint32_t WinExec(const std::string& commandLine, uint32_t show) override;
};

class Win32Sleeper : public ISleeper {
public:
    void Sleep(uint32_t ms) override;
};

// Hotkeys belong to a window handle; the backend that made the window tells
// which handle a form has.
class Win32Hotkeys : public IHotkeys {
public:
    explicit Win32Hotkeys(std::function<HWND(TForm&)> windowOf) : windowOf_(std::move(windowOf)) {}
    bool Register(TForm& window, int32_t id, uint32_t modifiers, uint32_t key) override;
    bool Unregister(TForm& window, int32_t id) override;

private:
    std::function<HWND(TForm&)> windowOf_;
};

class Win32Clipboard : public IClipboard {
public:
    bool IsFormatAvailable(uint32_t format) override;
    bool Open() override;
    DropHandle GetData(uint32_t format) override;
    uint32_t DragQueryFile(DropHandle drop, uint32_t index, char* buffer, uint32_t size) override;
    bool Close() override;
};

class Win32KeyboardInput : public IKeyboardInput {
public:
    uint32_t SendInput(const KeyboardInputRecord* records, uint32_t count) override;
};

// All of the above, ready to be put into the program's Platform.
struct Win32Integration {
    explicit Win32Integration(std::function<HWND(TForm&)> windowOf) : hotkeys(std::move(windowOf)) {}
    Win32Registry registry;
    Win32Environment environment;
    Win32ProcessLauncher processes;
    Win32Sleeper sleeper;
    Win32Hotkeys hotkeys;
    Win32Clipboard clipboard;
    Win32KeyboardInput keyboard;

    void AddTo(Platform& platform);
};

}  // namespace brindlock
