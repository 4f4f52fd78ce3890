// The text conversions around the system's open-file dialog, kept apart from
// the dialog call so they can be tested anywhere.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

namespace brindlock {

// "description|pattern|description|pattern" -> the dialog's filter form: each
// piece ended by a zero byte, the whole ended by one more.
std::string OpenDialogFilter(const std::string& filter);

// The file buffer an explorer-style multi-select dialog filled in: either one
// full path, or the folder followed by the chosen names, each ended by a zero
// byte and the list by an empty one. Returns full paths in the dialog's
// order; a name that is already a full path is kept as it is.
std::vector<std::string> OpenDialogChosenFiles(const char* buffer, std::size_t size);

}  // namespace brindlock
