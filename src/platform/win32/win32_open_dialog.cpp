// The open-file dialog of the components: GetOpenFileNameA, explorer style,
// several files at once.
#include <windows.h>
#include <commdlg.h>

#include <vector>

#include "platform/open_dialog_text.h"
#include "platform/win32/win32_form_host.h"

namespace brindlock {

bool Win32FormHost::ExecuteOpenDialog(TOpenDialog& dialog) {
    const std::string filter = OpenDialogFilter(dialog.Filter);
    // Room for many names: a selection that does not fit fails the dialog.
    std::vector<char> files(64 * 1024, '\0');
    OPENFILENAMEA request{};
    request.lStructSize = sizeof request;
    request.hwndOwner = window_ && IsWindowVisible(window_) ? window_ : application_.Window();
    request.lpstrFilter = dialog.Filter.empty() ? nullptr : filter.c_str();
    request.nFilterIndex = 1;
    request.lpstrFile = files.data();
    request.nMaxFile = static_cast<DWORD>(files.size());
    request.lpstrTitle = dialog.Title.empty() ? nullptr : dialog.Title.c_str();
    request.Flags = OFN_EXPLORER | OFN_NOCHANGEDIR;
    if (dialog.AllowMultiSelect) request.Flags |= OFN_ALLOWMULTISELECT;
    if (dialog.HideReadOnly) request.Flags |= OFN_HIDEREADONLY;
    if (dialog.Resizable) request.Flags |= OFN_ENABLESIZING;
    if (!GetOpenFileNameA(&request)) return false;
    std::vector<std::string> chosen = OpenDialogChosenFiles(files.data(), files.size());
    if (chosen.empty()) return false;
    dialog.Files = std::move(chosen);
    return true;
}

}  // namespace brindlock
