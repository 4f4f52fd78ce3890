#include "platform/headless/headless_integration.h"

#include <cstring>

namespace brindlock {

bool HeadlessRegistry::CreateKey(RegistryRoot root, const std::string& subKey, uint32_t access, RegistryKey& key,
                                 uint32_t* disposition) {
    KeysCreated.push_back({root, subKey, access, disposition != nullptr});
    key = 0;
    if (RefusedRoots.count(root)) return false;
    key = next_++;
    open_[key] = {root, subKey};
    ++OpenKeys;
    if (disposition) *disposition = 1;  // REG_CREATED_NEW_KEY
    return true;
}

bool HeadlessRegistry::SetValue(RegistryKey key, const char* valueName, uint32_t type, const void* data,
                                uint32_t size) {
    auto it = open_.find(key);
    if (it == open_.end()) return false;
    ValueWrite write{it->second.first, it->second.second, std::nullopt, type,
                     std::string(static_cast<const char*>(data), size), size};
    if (valueName) write.valueName = valueName;
    Writes.push_back(std::move(write));
    return true;
}

void HeadlessRegistry::CloseKey(RegistryKey key) {
    if (open_.erase(key)) --OpenKeys;
}

uint32_t HeadlessEnvironment::GetVariable(const char* name, char* buffer, uint32_t size) {
    auto it = Variables.find(name);
    if (it == Variables.end() || it->second.empty()) return 0;
    const std::string& value = it->second;
    if (value.size() + 1 > size) return static_cast<uint32_t>(value.size() + 1);
    std::memcpy(buffer, value.c_str(), value.size() + 1);
    return static_cast<uint32_t>(value.size());
}

bool HeadlessHotkeys::Register(TForm&, int32_t id, uint32_t modifiers, uint32_t key) {
    const auto combination = std::make_pair(modifiers, key);
    bool held = TakenElsewhere.count(combination) != 0 || Held.count(id) != 0;
    for (const auto& entry : Held) held = held || entry.second == combination;
    if (!held) Held[id] = combination;
    Calls.push_back({true, id, modifiers, key, !held});
    return !held;
}

bool HeadlessHotkeys::Unregister(TForm&, int32_t id) {
    const bool result = Held.erase(id) != 0;
    Calls.push_back({false, id, 0, 0, result});
    return result;
}

bool HeadlessClipboard::IsFormatAvailable(uint32_t format) {
    ++AvailabilityTests;
    return format == kClipboardFormatHdrop && Files.has_value();
}

bool HeadlessClipboard::Open() {
    ++Opens;
    if (OpenFails || IsOpen) return false;
    IsOpen = true;
    return true;
}

DropHandle HeadlessClipboard::GetData(uint32_t format) {
    if (!IsOpen || format != kClipboardFormatHdrop || !Files) return 0;
    return 0xD409;
}

uint32_t HeadlessClipboard::DragQueryFile(DropHandle drop, uint32_t index, char* buffer, uint32_t size) {
    if (drop == 0 || !Files) return 0;
    if (index == kDropFileCount) return static_cast<uint32_t>(Files->size());
    if (index >= Files->size()) return 0;
    const std::string& name = (*Files)[index];
    // Like the shell: the name is cut to fit, the full length is returned.
    if (buffer && size > 0) {
        const size_t copied = name.size() < size - 1 ? name.size() : size - 1;
        std::memcpy(buffer, name.data(), copied);
        buffer[copied] = '\0';
    }
    return static_cast<uint32_t>(name.size());
}

bool HeadlessClipboard::Close() {
    ++Closes;
    const bool wasOpen = IsOpen;
    IsOpen = false;
    return wasOpen;
}

void HeadlessIntegration::AddTo(Platform& platform) {
    AddDesktopServices(platform, *this);
    platform.Program = &program;
}

}  // namespace brindlock
