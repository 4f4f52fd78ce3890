// Explorer's context-menu verbs for every file: open, encrypt, decrypt and
// erase with this program. They are written afresh at every start, so they
// follow the program file when it moves; nothing removes them.
#pragma once

#include <string>

#include "platform/platform.h"
#include "platform/registry.h"

namespace brindlock {

// Writes the four verbs under HKEY_CLASSES_ROOT and HKEY_CURRENT_USER for
// the program file named by platform.Program. Every write stands alone; no
// failure is reported.
void RegisterShellVerbs(const Platform& platform);

// The two HKEY_CLASSES_ROOT keys of one verb: its menu text and its command.
void WriteClassesRootVerb(IRegistry& registry, const std::string& verb, const std::string& menuText,
                          const std::string& command);

// Creates or opens root\subKey and sets one REG_SZ value (the default value
// when valueName is empty). True when the value was set.
bool WriteRegistryString(IRegistry& registry, RegistryRoot root, const std::string& subKey,
                         const std::string& valueName, const std::string& data);

}  // namespace brindlock
