// Recording stand-ins for the desktop-integration services: the registry,
// the program path, the environment, process starts, sleeps, hotkeys, the
// clipboard and synthesised keystrokes. Each records what it was asked, in
// order, and can be scripted to fail the way Windows does.
#pragma once

#include <cstdint>
#include <functional>
#include <map>
#include <optional>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "platform/clipboard.h"
#include "platform/environment.h"
#include "platform/hotkeys.h"
#include "platform/keyboard_input.h"
#include "platform/platform.h"
#include "platform/process_launcher.h"
#include "platform/program_info.h"
#include "platform/registry.h"
#include "platform/sleeper.h"

namespace brindlock {

class HeadlessRegistry : public IRegistry {
public:
    struct KeyCreation {
        RegistryRoot root;
        std::string subKey;
        uint32_t access;
        bool wantedDisposition;
    };
    struct ValueWrite {
        RegistryRoot root;
        std::string subKey;
        std::optional<std::string> valueName;  // nothing: the default value
        uint32_t type;
        std::string data;  // the bytes handed over, `size` of them
        uint32_t size;
    };
    std::vector<KeyCreation> KeysCreated;
    std::vector<ValueWrite> Writes;
    int OpenKeys = 0;  // keys created and not yet closed
    // Key creation under these roots fails (a user without administrator
    // rights under HKEY_CLASSES_ROOT).
    std::set<RegistryRoot> RefusedRoots;

    bool CreateKey(RegistryRoot root, const std::string& subKey, uint32_t access, RegistryKey& key,
                   uint32_t* disposition) override;
    bool SetValue(RegistryKey key, const char* valueName, uint32_t type, const void* data, uint32_t size) override;
    void CloseKey(RegistryKey key) override;

private:
    std::map<RegistryKey, std::pair<RegistryRoot, std::string>> open_;
    RegistryKey next_ = 0x100;
};

class HeadlessProgramInfo : public IProgramInfo {
public:
    std::string Path = "C:\\Program Files\\Brindlock\\Brindlock.exe";
    std::vector<std::string> Args;  // what followed the program on its command line
    std::string ProgramPath() override { return Path; }
    Arguments ProgramArguments() override {
        Arguments arguments{Path};
        arguments.insert(arguments.end(), Args.begin(), Args.end());
        return arguments;
    }
    // The current folder, ending in its delimiter; empty: paths stay as given.
    std::string CurrentFolder;
    std::string FullPathOf(const std::string& path) override {
        const bool full = path.rfind("\\\\", 0) == 0 || (path.size() >= 3 && path[1] == ':' && path[2] == '\\') ||
                          path.rfind('/', 0) == 0;
        return CurrentFolder.empty() || full ? path : CurrentFolder + path;
    }
};

class HeadlessEnvironment : public IEnvironment {
public:
    std::map<std::string, std::string> Variables;
    uint32_t CodePage = 1252;  // Western European, as on most desktops
    uint32_t GetVariable(const char* name, char* buffer, uint32_t size) override;
    uint32_t AnsiCodePage() override { return CodePage; }
};

class HeadlessProcessLauncher : public IProcessLauncher {
public:
    struct Start {
        std::string commandLine;
        uint32_t show;
    };
    std::vector<Start> Starts;
    uint32_t Result = 33;
    uint32_t WinExec(const std::string& commandLine, uint32_t show) override {
        Starts.push_back({commandLine, show});
        return Result;
    }
};

// Sleeps take no time; they are recorded, and a test may act on each one
// (for instance let a file list appear on the clipboard after the third).
class HeadlessSleeper : public ISleeper {
public:
    std::vector<uint32_t> Sleeps;
    std::function<void(uint32_t ms)> OnSleep;
    void Sleep(uint32_t ms) override {
        Sleeps.push_back(ms);
        if (OnSleep) OnSleep(ms);
    }
};

// One desktop-wide table of hotkeys: combinations held by other programs can
// be added, and a combination is refused while anyone holds it.
class HeadlessHotkeys : public IHotkeys {
public:
    struct Call {
        bool registering;
        int32_t id;
        uint32_t modifiers;  // 0 for an unregistration
        uint32_t key;
        bool result;
    };
    std::vector<Call> Calls;
    // Combinations (modifiers, key) held by another program.
    std::set<std::pair<uint32_t, uint32_t>> TakenElsewhere;
    // What the window holds now, by id.
    std::map<int32_t, std::pair<uint32_t, uint32_t>> Held;

    bool Register(TForm& window, int32_t id, uint32_t modifiers, uint32_t key) override;
    bool Unregister(TForm& window, int32_t id) override;
};

// A clipboard whose file-drop list the test sets. Every call is counted;
// an open clipboard must be closed before it can be opened again.
class HeadlessClipboard : public IClipboard {
public:
    // The names of the file-drop list, or nothing when the clipboard holds none.
    std::optional<std::vector<std::string>> Files;
    bool OpenFails = false;  // another program holds the clipboard open
    int AvailabilityTests = 0;
    int Opens = 0;
    int Closes = 0;
    bool IsOpen = false;

    bool IsFormatAvailable(uint32_t format) override;
    bool Open() override;
    DropHandle GetData(uint32_t format) override;
    uint32_t DragQueryFile(DropHandle drop, uint32_t index, char* buffer, uint32_t size) override;
    bool Close() override;
};

class HeadlessKeyboardInput : public IKeyboardInput {
public:
    std::vector<std::vector<KeyboardInputRecord>> Batches;  // one per SendInput call
    // Runs after each batch, as the window in front would answer it.
    std::function<void()> OnSend;
    uint32_t SendInput(const KeyboardInputRecord* records, uint32_t count) override {
        Batches.emplace_back(records, records + count);
        if (OnSend) OnSend();
        return count;
    }
};

// All of the above, ready to be put into a Platform.
struct HeadlessIntegration {
    HeadlessRegistry registry;
    HeadlessProgramInfo program;
    HeadlessEnvironment environment;
    HeadlessProcessLauncher processes;
    HeadlessSleeper sleeper;
    HeadlessHotkeys hotkeys;
    HeadlessClipboard clipboard;
    HeadlessKeyboardInput keyboard;

    void AddTo(Platform& platform);
};

}  // namespace brindlock
