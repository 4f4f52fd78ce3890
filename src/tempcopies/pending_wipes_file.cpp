// Writing and reading the pending-wipe list file.
#include "tempcopies/pending_wipes_file.h"

#include <cstdint>
#include <string>
#include <vector>

#include "fileops/path_names.h"
#include "platform/clock.h"
#include "platform/file_system.h"
#include "platform/float_text.h"
#include "platform/locale.h"
#include "platform/program_info.h"
#include "ui/form1.h"

namespace brindlock {

namespace {

// The whole content of the file at `path`; false when it cannot be read.
bool ReadWholeFile(IFileSystem& files, const std::string& path, std::string& text) {
    FileHandle file = files.OpenRead(path);
    int64_t size = 0;
    if (!file || !file->Size(size) || size < 0 || size > INT32_MAX) return false;
    text.assign(static_cast<size_t>(size), '\0');
    int32_t got = 0;
    if (size > 0 && (!file->Read(text.data(), static_cast<int32_t>(size), got) || got != size)) return false;
    return true;
}

// Writes under a temporary name beside `path` and moves the result over it,
// so a failed save leaves the previous list rather than a cut-off one.
bool ReplaceWholeFile(IFileSystem& files, const std::string& path, const std::string& text) {
    std::string temporary;
    FileHandle file = files.CreateTempBeside(path, kFileAttributeNormal, temporary);
    if (!file) return false;
    const bool written = file->Write(text.data(), static_cast<int32_t>(text.size())) && file->Close();
    file.reset();
    if (written && files.MoveReplace(temporary, path)) return true;
    files.RemoveFile(temporary);
    return false;
}

// Splits at CR LF, at a lone CR and at a lone LF; a final line break ends
// the last line rather than starting an empty one.
std::vector<std::string> SplitLines(const std::string& text) {
    std::vector<std::string> lines;
    size_t start = 0;
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] != '\r' && text[i] != '\n') continue;
        lines.push_back(text.substr(start, i - start));
        if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n') ++i;
        start = i + 1;
    }
    if (start < text.size()) lines.push_back(text.substr(start));
    return lines;
}

}  // namespace

std::string PendingWipesFileName(const std::string& programPath) {
    const std::string folder = FolderOfPath(programPath);
    if (folder.empty()) return {};
    return folder + "Brindlock.del";
}

void TForm1::SavePendingWipes() {
    // Housekeeping: whatever goes wrong here is dropped without a word, and
    // the registry in memory stays as it is.
    try {
        if (platform_.Files == nullptr || platform_.Program == nullptr) return;
        IFileSystem& files = *platform_.Files;
        const std::string name = PendingWipesFileName(platform_.Program->ProgramPath());
        if (name.empty()) return;
        if (PendingWipes.empty()) {
            if (files.FileExists(name)) {
                files.RemoveFile(name);
                NotifyFolderChanged(name);
            }
            return;
        }
        const char separator = platform_.Locale->DecimalSeparator();
        std::string text;
        for (const TSecureWipeItem& item : PendingWipes) {
            text += item.Path;
            text += '|';
            text += FloatToStr(item.DueTime, separator);
            text += "\r\n";
        }
        ReplaceWholeFile(files, name, text);
    } catch (...) {
    }
}

void TForm1::LoadPendingWipes() {
    PendingWipes.clear();
    try {
        std::string text;
        const bool read = platform_.Files != nullptr && platform_.Program != nullptr &&
                          ReadWholeFile(*platform_.Files, PendingWipesFileName(platform_.Program->ProgramPath()), text);
        if (!read) {
            TimerTimoutErase.SetEnabled(false);
            return;
        }
        const char separator = platform_.Locale->DecimalSeparator();
        for (const std::string& line : SplitLines(text)) {
            const size_t bar = line.find('|');
            if (bar == std::string::npos || bar == 0) continue;
            TSecureWipeItem item;
            item.Path = line.substr(0, bar);
            // A due time that cannot be read makes the copy due at once:
            // wiping early is harmless, leaving plaintext behind is not.
            if (!StrToFloat(line.substr(bar + 1), separator, item.DueTime)) item.DueTime = platform_.Clock->Now();
            PendingWipes.push_back(std::move(item));
        }
        TimerTimoutErase.SetEnabled(!PendingWipes.empty());
    } catch (...) {
        TimerTimoutErase.SetEnabled(false);
    }
}

}  // namespace brindlock
