// Writing and reading the pending-wipe list file.
#include "tempcopies/pending_wipes_file.h"

#include <algorithm>
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

// The list only ever holds this program's own viewing copies: full paths of
// files named "_Brindlock" plus an extension. A line naming any other file (a
// damaged list, or one somebody wrote into) would have a document of the
// user's erased ten seconds after start-up, so such lines are passed over:
// - a name that does not begin with "_Brindlock" (in any letter case);
// - a name holding "/" or "\\", which the system may take for a folder
//   delimiter ("C:\\d\\_Brindlock/../thesis.docx" names thesis.docx);
// - a ".." part anywhere, and a path that depends on the current folder
//   (after a restart it would name another file).
bool IsViewingCopyPath(const std::string& path) {
    static constexpr std::string_view kCopyName = "_Brindlock";
    if (!IsFullPath(path)) return false;
    for (std::size_t start = 0;;) {
        const std::size_t end = path.find_first_of("/\\", start);
        if (path.compare(start, (end == std::string::npos ? path.size() : end) - start, "..") == 0) return false;
        if (end == std::string::npos) break;
        start = end + 1;
    }
    const std::string name = NameOfPath(path);
    if (name.size() < kCopyName.size() || name.find_first_of("/\\") != std::string::npos) return false;
    const auto lower = [](char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; };
    for (std::size_t i = 0; i < kCopyName.size(); ++i)
        if (lower(name[i]) != lower(kCopyName[i])) return false;
    return true;
}

// The entries of a list file's text, in order.
std::vector<TForm1::TSecureWipeItem> EntriesOfList(const std::string& text, char separator, TDateTime now) {
    std::vector<TForm1::TSecureWipeItem> entries;
    for (const std::string& line : SplitLines(text)) {
        const size_t bar = line.find('|');
        if (bar == std::string::npos || bar == 0) continue;
        TForm1::TSecureWipeItem item;
        item.Path = line.substr(0, bar);
        if (!IsViewingCopyPath(item.Path)) continue;
        // A due time that cannot be read makes the copy due at once:
        // wiping early is harmless, leaving plaintext behind is not.
        if (!StrToFloat(line.substr(bar + 1), separator, item.DueTime)) item.DueTime = now;
        entries.push_back(std::move(item));
    }
    return entries;
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
        // Writing over a list whose copies were never read would lose them.
        if (pendingWipesUnread_ && !TakeInUnreadPendingWipes()) return;
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
    // Read the way a list that could not be read before is read again. One
    // that is there but unreadable for now (a backup or sync program holding
    // it, a program folder on a share not yet reachable) stays to be read:
    // it is tried at every tick and not written over before.
    pendingWipesUnread_ = platform_.Files != nullptr && platform_.Program != nullptr;
    if (pendingWipesUnread_) TakeInUnreadPendingWipes();
    TimerTimoutErase.SetEnabled(!PendingWipes.empty() || pendingWipesUnread_);
}

bool TForm1::TakeInUnreadPendingWipes() {
    try {
        IFileSystem& files = *platform_.Files;
        const std::string name = PendingWipesFileName(platform_.Program->ProgramPath());
        std::string text;
        if (name.empty()) {
            pendingWipesUnread_ = false;  // no place for a list
        } else if (ReadWholeFile(files, name, text)) {
            // The earlier session's copies go first; one registered since
            // then under the same path keeps its own entry.
            std::vector<TSecureWipeItem> earlier =
                EntriesOfList(text, platform_.Locale->DecimalSeparator(), platform_.Clock->Now());
            std::erase_if(earlier, [this](const TSecureWipeItem& old) {
                return std::any_of(PendingWipes.begin(), PendingWipes.end(), [&](const TSecureWipeItem& item) {
                    return platform_.Locale->AnsiCompareText(item.Path, old.Path) == 0;
                });
            });
            PendingWipes.insert(PendingWipes.begin(), earlier.begin(), earlier.end());
            pendingWipesUnread_ = false;
        } else if (!files.FileExists(name)) {
            pendingWipesUnread_ = false;
        }
    } catch (...) {
    }
    if (!PendingWipes.empty()) TimerTimoutErase.SetEnabled(true);
    return !pendingWipesUnread_;
}

}  // namespace brindlock
