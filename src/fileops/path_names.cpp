#include "fileops/path_names.h"

#include "platform/path_delimiters.h"

namespace brindlock {

std::string NameOfPath(const std::string& path) {
    const auto cut = path.find_last_of(kPathDelimiters);
    return cut == std::string::npos ? path : path.substr(cut + 1);
}

std::string FolderOfPath(const std::string& path) {
    const auto cut = path.find_last_of(kPathDelimiters);
    return cut == std::string::npos ? std::string() : path.substr(0, cut + 1);
}

bool HasEncryptedName(const std::string& path) {
    const std::string name = NameOfPath(path);
    return !name.empty() && name[0] == kEncryptedNamePrefix;
}

}  // namespace brindlock
