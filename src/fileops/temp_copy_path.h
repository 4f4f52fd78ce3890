// Where an open job puts the plaintext copy of an encrypted file: beside it,
// under a fixed name that keeps only the extension, so the associated
// application still recognises the file and nothing of the original name
// shows in the folder.
#pragma once

#include <string>
#include <string_view>

#include "platform/path_delimiters.h"

namespace brindlock {

// Windows folder delimiters: a path's folder part ends at its last "\" or ":".
constexpr std::string_view kWindowsPathDelimiters = "\\:";

// Folder part of `encryptedPath` (up to and including its last delimiter;
// empty when it has none), then "_Brindlock", then the extension of the path
// (from its last "." on, provided no delimiter follows it; empty otherwise).
// C:\docs\$report.pdf gives C:\docs\_Brindlock.pdf. The delimiters are
// those of the platform the program runs on ("\" and ":" on Windows).
std::string TempCopyPathFor(const std::string& encryptedPath, std::string_view delimiters = kPathDelimiters);

}  // namespace brindlock
