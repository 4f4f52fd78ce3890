// Showing, hiding and the progress display of the main window.
#include <cmath>

#include "platform/application.h"
#include "platform/shell_services.h"
#include "ui/form1.h"

namespace brindlock {
namespace {

constexpr const char* kMakerUrl = "https://www.norvalde.com";
constexpr const char* kProductUrl = "https://brindlock.norvalde.com";

}  // namespace

void TForm1::FormShow(TObject*) { TileImage(ImageMarble, Image1); }

void TForm1::TileImage(TImage& source, TImage& target) {
    const TBitmap* tile = source.Picture();
    if (tile == nullptr || tile->Width <= 0 || tile->Height <= 0) return;
    TBitmap canvas(target.Width(), target.Height());
    const int w = source.Width(), h = source.Height();
    if (w <= 0 || h <= 0) return;
    // Column by column; tiles at the right and bottom edges are clipped. The
    // source control may be larger than its picture: outside it, nothing is copied.
    for (int x = 0; x < canvas.Width; x += w)
        for (int y = 0; y < canvas.Height; y += h)
            for (int dy = 0; dy < h && y + dy < canvas.Height && dy < tile->Height; ++dy)
                for (int dx = 0; dx < w && x + dx < canvas.Width && dx < tile->Width; ++dx)
                    canvas.At(x + dx, y + dy) = tile->At(dx, dy);
    target.SetPicture(std::move(canvas));
}

void TForm1::FormCloseQuery(TObject*, bool& canClose) {
    canClose = false;
    Hide();
    platform_.Application->ShowTaskbarWindow(false);
}

void TForm1::FormResize(TObject*) {
    if (WindowState() != TWindowState::Minimized) return;
    Hide();
    platform_.Application->ShowTaskbarWindow(false);
}

void TForm1::FormBringToFront() {
    EditPwd.SetText("");
    platform_.Application->ShowTaskbarWindow(true);
    SetWindowState(TWindowState::Normal);
    Show();
    platform_.Application->BringToFront();
    platform_.Application->SetForegroundWindow(*this);
    if (PanelPwd.Visible()) EditPwd.SetFocus();
}

void TForm1::UpdateUI() {
    IApplication& app = *platform_.Application;
    if (JobCount <= 0) {
        ProgressBarFilesAll.SetPosition(0);
        ProgressBarFileCurrent.SetPosition(0);
        FilePercent = 0;
        LabelFilesAll.SetCaption("0 %");
        LabelPercentCurrent.SetCaption("0%");
        LabelFileCurrent.SetCaption("no file");
        app.SetTitle("Brindlock");
        SetCaption(app.Title());
        ButtonClose.Hide();
        return;
    }
    int32_t i = JobIndex;
    if (i > JobCount - 1) i = JobCount - 1;
    if (i < 0) i = 0;
    const double overall = ((JobIndex + FilePercent * 0.01) * (1.0 / JobCount)) * 100 + 0.5;
    const int32_t p = static_cast<int32_t>(std::trunc(overall));
    ProgressBarFilesAll.SetPosition(p);
    LabelFilesAll.SetCaption(std::to_string(JobIndex + 1) + " / " + std::to_string(JobCount) + " (" +
                             std::to_string(p) + " %)");
    ProgressBarFileCurrent.SetPosition(FilePercent);
    if (static_cast<std::size_t>(i) < JobFiles.size()) LabelFileCurrent.SetCaption(JobFiles[i]);
    LabelPercentCurrent.SetCaption(std::to_string(FilePercent) + "%");
    const char* verb = JobMode == 0 ? "Encrypting " : JobMode == 1 ? "Decrypting " : "Wiping ";
    app.SetTitle(verb + LabelFilesAll.Caption());
    SetCaption(app.Title());
    ButtonClose.SetVisible(JobIndex == JobCount && FilePercent == 100);
}

void TForm1::TimerUITimer(TObject*) {
    ButtonLogout.SetEnabled(!Password.empty());
    Logout1.SetEnabled(ButtonLogout.Enabled());
}

void TForm1::TrayIcon1Click(TObject*) {
    if (Visible()) Close();
    else FormBringToFront();
}

void TForm1::ButtonTerminateClick(TObject*) { platform_.Application->Terminate(); }

void TForm1::Label3Click(TObject*) { platform_.Shell->ShellOpen(nullptr, kMakerUrl); }

void TForm1::Label5Click(TObject*) { platform_.Shell->ShellOpen(nullptr, kProductUrl); }

}  // namespace brindlock
