#include "platform/whole_file.h"

#include <cstdint>

#include "platform/file_system.h"

namespace brindlock {

bool ReadWholeFile(IFileSystem& files, const std::string& path, std::string& text) {
    FileHandle file = files.OpenRead(path);
    int64_t size = 0;
    if (!file || !file->Size(size)) return false;
    const std::size_t start = text.size();
    char buffer[4096];
    for (;;) {
        int32_t got = 0;
        if (!file->Read(buffer, sizeof buffer, got)) return false;
        // Reading ends where the file ends; a file that yields less than the
        // size it had when it was opened was cut short under the reader, and
        // its head alone would pass for the whole list or log.
        if (got == 0) return static_cast<int64_t>(text.size() - start) == size;
        text.append(buffer, static_cast<std::size_t>(got));
    }
}

bool ReplaceWholeFile(IFileSystem& files, const std::string& path, const std::string& text) {
    std::string temporary;
    FileHandle file = files.CreateTempBeside(path, kFileAttributeNormal, temporary);
    if (!file) return false;
    // Flushed before the move, so that the name never stands for content
    // still on its way to the disk.
    const bool written =
        file->Write(text.data(), static_cast<int32_t>(text.size())) && file->Flush() && file->Close();
    file.reset();
    if (written && files.MoveReplace(temporary, path)) return true;
    files.RemoveFile(temporary);
    return false;
}

std::vector<std::string> SplitLines(const std::string& text) {
    std::vector<std::string> lines;
    std::size_t start = 0;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] != '\r' && text[i] != '\n') continue;
        lines.push_back(text.substr(start, i - start));
        if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n') ++i;
        start = i + 1;
    }
    if (start < text.size()) lines.push_back(text.substr(start));
    return lines;
}

}  // namespace brindlock
