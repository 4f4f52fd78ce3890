#include "fileops/temp_copy_path.h"

namespace brindlock {

std::string TempCopyPathFor(const std::string& encryptedPath, std::string_view delimiters) {
    const std::size_t lastDelimiter = encryptedPath.find_last_of(delimiters);
    const std::size_t folderEnd = lastDelimiter == std::string::npos ? 0 : lastDelimiter + 1;
    std::string copy = encryptedPath.substr(0, folderEnd) + "_Brindlock";
    // Only a period within the name counts: one in a folder name is no extension.
    const std::size_t period = encryptedPath.find_last_of('.');
    if (period != std::string::npos && period >= folderEnd) copy += encryptedPath.substr(period);
    return copy;
}

}  // namespace brindlock
