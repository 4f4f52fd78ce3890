// Placeholder bodies so the window links while the tempcopies methods are being
// written; this file is deleted when they land.
#include "ui/form1.h"

namespace brindlock {

void TForm1::ScheduleWipe(const std::string&) {}
void TForm1::TimerTimoutEraseTimer(TObject*) {}
void TForm1::WipeTemp1Click(TObject*) {}
void TForm1::SavePendingWipes() {}
void TForm1::LoadPendingWipes() {}

}  // namespace brindlock
