// Placeholder bodies so the window links while the shell methods are being
// written; this file is deleted when they land.
#include "ui/form1.h"

namespace brindlock {

bool TForm1::AddHotkey(int32_t, int32_t, const std::string&) { return false; }
void TForm1::RegisterDefaultHotkeys() {}
void TForm1::UnregisterHotkeys() {}
void TForm1::WMHotKey(TMessage&) {}
void TForm1::RunHotkeyAction(char) {}
bool TForm1::CaptureSelection(std::vector<std::string>&) { return false; }
void TForm1::SendCopyKeystroke() {}

}  // namespace brindlock
