// Placeholder bodies for the folder notification until it lands.
#include "ui/form1.h"

namespace brindlock {

void TForm1::NotifyFolderChanged(const std::string&) {}
void TForm1::NotifyFolderChanged() {}
void TForm1::TimerNotifyFolderChangedTimer(TObject*) {}

}  // namespace brindlock
