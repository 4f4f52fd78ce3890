// Writing and reading the pending-wipe list file.
#include "tempcopies/pending_wipes_file.h"

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "fileops/path_names.h"
#include "platform/clock.h"
#include "platform/file_system.h"
#include "platform/float_text.h"
#include "platform/locale.h"
#include "platform/program_info.h"
#include "platform/whole_file.h"
#include "ui/form1.h"

namespace brindlock {
namespace {

// The list only ever holds this program's own viewing copies, and each of
// them is named "_Brindlock" plus an extension. A line naming any other file
// (a damaged list, or one somebody wrote into) would have a document of the
// user's erased ten seconds after start-up, so such lines are passed over.
bool IsViewingCopyPath(const std::string& path) {
    static constexpr std::string_view kCopyName = "_Brindlock";
    const std::string name = NameOfPath(path);
    if (name.size() < kCopyName.size()) return false;
    const auto lower = [](char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; };
    for (std::size_t i = 0; i < kCopyName.size(); ++i)
        if (lower(name[i]) != lower(kCopyName[i])) return false;
    return true;
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
            if (!IsViewingCopyPath(item.Path)) continue;
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
