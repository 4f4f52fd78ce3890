#include "platform/win32/win32_integration.h"

#include <shellapi.h>

#include <vector>

namespace brindlock {
namespace {

HKEY RootKey(RegistryRoot root) { return root == RegistryRoot::ClassesRoot ? HKEY_CLASSES_ROOT : HKEY_CURRENT_USER; }

}  // namespace

bool Win32Registry::CreateKey(RegistryRoot root, const std::string& subKey, uint32_t access, RegistryKey& key,
                              uint32_t* disposition) {
    HKEY created = nullptr;
    DWORD createdDisposition = 0;
    const LONG result = RegCreateKeyExA(RootKey(root), subKey.c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE, access,
                                        nullptr, &created, disposition ? &createdDisposition : nullptr);
    key = result == ERROR_SUCCESS ? reinterpret_cast<RegistryKey>(created) : 0;
    if (disposition) *disposition = createdDisposition;
    return result == ERROR_SUCCESS;
}

bool Win32Registry::SetValue(RegistryKey key, const char* valueName, uint32_t type, const void* data,
                             uint32_t size) {
    return RegSetValueExA(reinterpret_cast<HKEY>(key), valueName, 0, type, static_cast<const BYTE*>(data), size) ==
           ERROR_SUCCESS;
}

void Win32Registry::CloseKey(RegistryKey key) { RegCloseKey(reinterpret_cast<HKEY>(key)); }

uint32_t Win32Environment::GetVariable(const char* name, char* buffer, uint32_t size) {
    return GetEnvironmentVariableA(name, buffer, size);
}

uint32_t Win32ProcessLauncher::WinExec(const std::string& commandLine, uint32_t show) {
    return ::WinExec(commandLine.c_str(), show);
}

uint32_t Win32Environment::AnsiCodePage() { return GetACP(); }

void Win32Sleeper::Sleep(uint32_t ms) { ::Sleep(ms); }

bool Win32Hotkeys::Register(TForm& window, int32_t id, uint32_t modifiers, uint32_t key) {
    return RegisterHotKey(windowOf_(window), id, modifiers, key) != FALSE;
}

bool Win32Hotkeys::Unregister(TForm& window, int32_t id) { return UnregisterHotKey(windowOf_(window), id) != FALSE; }

bool Win32Clipboard::IsFormatAvailable(uint32_t format) { return IsClipboardFormatAvailable(format) != FALSE; }

bool Win32Clipboard::Open() { return OpenClipboard(nullptr) != FALSE; }

DropHandle Win32Clipboard::GetData(uint32_t format) { return reinterpret_cast<DropHandle>(GetClipboardData(format)); }

uint32_t Win32Clipboard::DragQueryFile(DropHandle drop, uint32_t index, char* buffer, uint32_t size) {
    const HDROP handle = reinterpret_cast<HDROP>(drop);
    if (index == kDropFileCount || buffer == nullptr) return DragQueryFileA(handle, index, buffer, size);
    // Given a buffer, Windows returns the number of characters it copied, so
    // a name cut short to fit would look complete. The length asked for
    // without a buffer is the name's own, which tells the caller it was cut.
    const UINT length = DragQueryFileA(handle, index, nullptr, 0);
    if (size > 0) DragQueryFileA(handle, index, buffer, size);
    return length;
}

bool Win32Clipboard::Close() { return CloseClipboard() != FALSE; }

uint32_t Win32KeyboardInput::SendInput(const KeyboardInputRecord* records, uint32_t count) {
    std::vector<INPUT> inputs(count);
    for (uint32_t i = 0; i < count; ++i) {
        inputs[i].type = INPUT_KEYBOARD;
        inputs[i].ki.wVk = records[i].VirtualKey;
        inputs[i].ki.wScan = records[i].ScanCode;
        inputs[i].ki.dwFlags = records[i].Flags;
        inputs[i].ki.time = records[i].Time;
        inputs[i].ki.dwExtraInfo = records[i].ExtraInfo;
    }
    return ::SendInput(count, inputs.data(), sizeof(INPUT));
}

void Win32Integration::AddTo(Platform& platform) { AddDesktopServices(platform, *this); }

}  // namespace brindlock
