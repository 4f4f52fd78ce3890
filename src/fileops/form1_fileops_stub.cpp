// Placeholder bodies so the window links while the fileops methods are being
// written; this file is deleted when they land.
#include "ui/form1.h"

namespace brindlock {

bool TForm1::EncryptOneFile(const std::string&, int32_t, const ProgressCallback&) { return false; }
bool TForm1::DecryptOneFile(const std::string&, int32_t, const ProgressCallback&) { return false; }
bool TForm1::SecureWipeFile(const std::string&, int32_t, const ProgressCallback&) { return false; }
void TForm1::NotifyFolderChanged(const std::string&) {}
void TForm1::NotifyFolderChanged() {}
void TForm1::TimerNotifyFolderChangedTimer(TObject*) {}

}  // namespace brindlock
