// Placeholder bodies so the window links while the jobs methods are being
// written; this file is deleted when they land.
#include "ui/form1.h"

namespace brindlock {

void TForm1::StartJob() {}
void TForm1::TimerBatchTimer(TObject*) {}
bool TForm1::FileProgress(int32_t, int32_t) { return !AbortRequested; }
void TForm1::ButtonAbortClick(TObject*) {}
void TForm1::DoneAndClose(TObject*) {}
void TForm1::TimerCloseTimer(TObject*) {}
void TForm1::ButtonDoneClick(TObject*) {}
void TForm1::TimerSessionTimer(TObject*) {}
void TForm1::ButtonLogoutClick(TObject*) {}
void TForm1::EncryptFile1Click(TObject*) {}
void TForm1::DecryptFile1Click(TObject*) {}
void TForm1::EraseFile1Click(TObject*) {}
void TForm1::OpenEncryptedFile1Click(TObject*) {}
void TForm1::RunWhenIdle(std::function<void()> action) { action(); }

}  // namespace brindlock
