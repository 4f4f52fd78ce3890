#include "platform/open_dialog_text.h"

namespace brindlock {
namespace {

bool IsFullPath(const std::string& name) {
    return (name.size() >= 2 && name[1] == ':') || (name.size() >= 2 && name[0] == '\\' && name[1] == '\\');
}

}  // namespace

std::string OpenDialogFilter(const std::string& filter) {
    std::string out;
    out.reserve(filter.size() + 2);
    for (char c : filter) out.push_back(c == '|' ? '\0' : c);
    out.push_back('\0');
    out.push_back('\0');
    return out;
}

std::vector<std::string> OpenDialogChosenFiles(const char* buffer, std::size_t size) {
    // Split into the zero-ended strings up to the first empty one; a buffer
    // without its closing zero ends at `size`.
    std::vector<std::string> parts;
    std::size_t i = 0;
    while (i < size && buffer[i] != '\0') {
        std::size_t end = i;
        while (end < size && buffer[end] != '\0') ++end;
        parts.emplace_back(buffer + i, end - i);
        i = end + 1;
    }
    if (parts.size() <= 1) return parts;
    std::string folder = parts[0];
    if (!folder.empty() && folder.back() != '\\') folder.push_back('\\');
    std::vector<std::string> files;
    files.reserve(parts.size() - 1);
    for (std::size_t k = 1; k < parts.size(); ++k) files.push_back(IsFullPath(parts[k]) ? parts[k] : folder + parts[k]);
    return files;
}

}  // namespace brindlock
