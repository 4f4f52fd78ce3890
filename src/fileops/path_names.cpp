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

bool IsFullPath(const std::string& path) {
#ifdef _WIN32
    const auto letter = [](char c) { return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z'); };
    if (path.size() >= 3 && letter(path[0]) && path[1] == ':' && path[2] == '\\') return true;
    return path.size() >= 3 && path[0] == '\\' && path[1] == '\\' && path[2] != '\\';
#else
    return !path.empty() && path[0] == '/';
#endif
}

bool HasEncryptedName(const std::string& path) {
    const std::string name = NameOfPath(path);
    return !name.empty() && name[0] == kEncryptedNamePrefix;
}

}  // namespace brindlock
