// The main window's layout: every control with its place, text and handler,
// the tray menu and the timers. Creation and destruction are in
// form1_lifecycle.cpp.
#include "ui/form1.h"

#include "platform/application.h"
#include "platform/picture_ids.h"

namespace brindlock {
namespace {

constexpr uint32_t kLinkBlue = 0xFF0000;  // 0x00BBGGRR
constexpr const char* kMakerAddress = "www.norvalde.com";
// Short enough to end inside the window at its place in the top right corner.
constexpr const char* kProductAddress = "brindlock.norvalde.com";
// Three lines of the small font fill the label's height.
constexpr const char* kNotice = "A lost password cannot be recovered: keep it safe.";

TFont MakeFont(const char* name, int height, bool bold, bool underline = false, uint32_t color = 0) {
    TFont f;
    f.Name = name;
    f.Height = height;
    f.Bold = bold;
    f.Underline = underline;
    f.Color = color;
    return f;
}

}  // namespace

TForm1::TForm1(Platform& platform)
    : TForm("Form1", 416, 180),
      Image1("Image1", this, 0, -48, 497, 353),
      ButtonDone("ButtonDone", this, 200, 144, 100, 33, false),
      ImageMarble("ImageMarble", this, 24, 360, 56, 48, false),
      ButtonAbort("ButtonAbort", this, 307, 144, 100, 33),
      ButtonClose("ButtonClose", this, 307, 143, 100, 33, false),
      ButtonSettings("ButtonSettings", this, 8, 144, 33, 33),
      Label7("Label7", this, 52, 12, 170, 45),
      Label2("Label2", this, 52, 4, 80, 19),
      Label6("Label6", this, 206, 8, 24, 13),
      Label4("Label4", this, 86, 147, 115, 33),
      Label3("Label3", this, 298, 20, 110, 13),
      Image4("Image4", this, 10, 12, 41, 33),
      ButtonOpen("ButtonOpen", this, 8, 64, 81, 75),
      ButtonEncrypt("ButtonEncrypt", this, 88, 64, 81, 75),
      ButtonDecrypt("ButtonDecrypt", this, 168, 64, 81, 75),
      ButtonErase("ButtonErase", this, 248, 64, 80, 75),
      ButtonLogout("ButtonLogout", this, 327, 64, 80, 75),
      ButtonTerminate("ButtonTerminate", this, 47, 144, 34, 33),
      Label5("Label5", this, 290, 4, 120, 13),
      PanelPwd("PanelPwd", this, 800, 8, 401, 129, false),
      Image2("Image2", &PanelPwd, 56, 32, 32, 32),
      Label1("Label1", &PanelPwd, 112, 32, 200, 13),
      EditPwd("EditPwd", &PanelPwd, 112, 48, 217, 21),
      CheckBoxKeepSession("CheckBoxKeepSession", &PanelPwd, 112, 88, 217, 17),
      PanelProgress("PanelProgress", this, 800, 8, 401, 129, false),
      LabelFilesAll("LabelFilesAll", &PanelProgress, 8, 8, 385, 25),
      ProgressBarFilesAll("ProgressBarFilesAll", &PanelProgress, 8, 32, 385, 22),
      Bevel1("Bevel1", &PanelProgress, 8, 60, 385, 17),
      LabelFileCurrent("LabelFileCurrent", &PanelProgress, 8, 66, 385, 17),
      LabelPercentCurrent("LabelPercentCurrent", &PanelProgress, 8, 80, 385, 17),
      ProgressBarFileCurrent("ProgressBarFileCurrent", &PanelProgress, 8, 96, 385, 22),
      OpenEncryptedFile1("OpenEncryptedFile1", "&Open Encrypted File...", 6),
      WipeTemp1("WipeTemp1", "Wipe Temp", 7),
      N1("N1", "-", -1),
      EncryptFile1("EncryptFile1", "Encrypt Files...", 9),
      DecryptFile1("DecryptFile1", "Decrypt Files...", 10),
      N4("N4", "-", -1),
      EraseFile1("EraseFile1", "Erase Files...", 7),
      N2("N2", "-", -1),
      Settings1("Settings1", "&Settings", 8),
      N3("N3", "-", -1),
      Logout1("Logout1", "&Reset Password", -1),
      Terminate1("Terminate1", "&Terminate", 4),
      PopupMenu1("PopupMenu1"),
      TrayIcon1("TrayIcon1"),
      OpenDialogEncode("OpenDialogEncode"),
      OpenDialogDecode("OpenDialogDecode"),
      OpenDialog("OpenDialog"),
      TimerStartup("TimerStartup", 222, true),
      TimerBatch("TimerBatch", 200, false),
      TimerSession("TimerSession", 120000, true),
      TimerTimoutErase("TimerTimoutErase", 10000, true),
      TimerClose("TimerClose", 50, false),
      TimerNotifyFolderChanged("TimerNotifyFolderChanged", 1000, false),
      TimerUI("TimerUI", 200, true),
      platform_(platform) {
    SetCaption("Norvalde Brindlock");
    KeyPreview = true;

    auto on = [this](void (TForm1::*handler)(TObject*)) { return [this, handler](TObject* s) { (this->*handler)(s); }; };

    // Captions, fonts and hints.
    ButtonDone.SetCaption("&Ok");
    ButtonDone.Flat = true;
    ButtonAbort.SetCaption("&Abort");
    ButtonAbort.Flat = true;
    ButtonClose.SetCaption("&Close");
    ButtonClose.Flat = true;
    ButtonSettings.Flat = true;
    ButtonSettings.SetHint("Settings");
    ButtonSettings.GlyphId = BRINDLOCK_GLYPH_SETTINGS;
    ButtonTerminate.Flat = true;
    ButtonTerminate.SetHint("Terminate Brindlock");
    ButtonTerminate.GlyphId = BRINDLOCK_GLYPH_TERMINATE;
    Label7.SetCaption("Brindlock");
    Label7.SetFont(MakeFont("Arial Black", -32, true));
    Label2.SetCaption("norvalde");
    Label2.SetFont(MakeFont("Arial", -16, true));
    Label6.SetCaption("V1.1");
    Label4.SetCaption(kNotice);
    Label4.SetFont(MakeFont("MS Sans Serif", -9, false));
    Label4.WordWrap = true;
    Label4.AutoSize = false;
    Label3.SetCaption(kMakerAddress);
    Label3.SetFont(MakeFont("MS Sans Serif", -11, false, true, kLinkBlue));
    Label3.HandCursor = true;
    Label5.SetCaption(kProductAddress);
    Label5.SetFont(MakeFont("MS Sans Serif", -11, false, true, kLinkBlue));
    Label5.HandCursor = true;
    for (TLabel* label : {&Label7, &Label2, &Label6, &Label4, &Label3, &Label5}) label->Transparent = true;
    Image4.Transparent = true;
    Image4.IconId = BRINDLOCK_ICON_MAIN;
    Image2.IconId = BRINDLOCK_ICON_PASSWORD;

    struct BigButton {
        TSpeedButton& button;
        const char* caption;
        const char* hint;
        int glyph;
        void (TForm1::*handler)(TObject*);
    };
    const BigButton bigButtons[] = {
        {ButtonOpen, "Open Enc Files", "Open Encrypted File", BRINDLOCK_ICON_OPEN, &TForm1::OpenEncryptedFile1Click},
        {ButtonEncrypt, "Encrypt Files", "Encrypt Files", BRINDLOCK_ICON_ENCRYPT, &TForm1::EncryptFile1Click},
        {ButtonDecrypt, "Decrypt Files", "Decrypt Files", BRINDLOCK_ICON_DECRYPT, &TForm1::DecryptFile1Click},
        {ButtonErase, "Erase Files", "Secure Erase Files", BRINDLOCK_ICON_ERASE, &TForm1::EraseFile1Click},
        {ButtonLogout, "Clear Session", "Logout Session", BRINDLOCK_GLYPH_CLEAR_SESSION, &TForm1::ButtonLogoutClick},
    };
    for (const auto& b : bigButtons) {
        b.button.SetCaption(b.caption);
        b.button.SetHint(b.hint);
        b.button.GlyphAboveText = true;
        b.button.GlyphId = b.glyph;
        b.button.OnClick = on(b.handler);
    }
    for (TSpeedButton* b : {&ButtonDone, &ButtonAbort, &ButtonClose, &ButtonSettings, &ButtonTerminate, &ButtonOpen,
                            &ButtonEncrypt, &ButtonDecrypt, &ButtonErase, &ButtonLogout})
        b->ShowHint = true;

    Label1.SetCaption("Please provide a password:");
    EditPwd.PasswordChar = '*';
    CheckBoxKeepSession.SetCaption("Keep session open");
    PanelPwd.BevelOuter = TPanelBevel::Lowered;
    PanelProgress.BevelOuter = TPanelBevel::Lowered;
    LabelFilesAll.Alignment = TAlignment::Center;
    LabelFilesAll.AutoSize = false;
    LabelFileCurrent.Alignment = TAlignment::Center;
    LabelFileCurrent.AutoSize = false;
    LabelFileCurrent.SetFont(MakeFont("MS Sans Serif", -11, true));
    LabelPercentCurrent.Alignment = TAlignment::Center;
    LabelPercentCurrent.AutoSize = false;

    // Handlers.
    ButtonDone.OnClick = on(&TForm1::ButtonDoneClick);
    ButtonAbort.OnClick = on(&TForm1::ButtonAbortClick);
    ButtonClose.OnClick = on(&TForm1::ButtonDoneClick);
    ButtonTerminate.OnClick = on(&TForm1::ButtonTerminateClick);
    Label3.OnClick = on(&TForm1::Label3Click);
    Label5.OnClick = on(&TForm1::Label5Click);

    PopupMenu1.Items = {&OpenEncryptedFile1, &WipeTemp1, &N1, &EncryptFile1, &DecryptFile1, &N4,
                        &EraseFile1, &N2, &Settings1, &N3, &Logout1, &Terminate1};
    OpenEncryptedFile1.OnClick = on(&TForm1::OpenEncryptedFile1Click);
    WipeTemp1.OnClick = on(&TForm1::WipeTemp1Click);
    EncryptFile1.OnClick = on(&TForm1::EncryptFile1Click);
    DecryptFile1.OnClick = on(&TForm1::DecryptFile1Click);
    EraseFile1.OnClick = on(&TForm1::EraseFile1Click);
    Logout1.OnClick = on(&TForm1::TimerSessionTimer);
    Terminate1.OnClick = on(&TForm1::ButtonTerminateClick);

    TrayIcon1.Hint = "Norvalde Brindlock";
    TrayIcon1.IconIndex = 0;
    TrayIcon1.PopupMenu = &PopupMenu1;
    TrayIcon1.OnClick = on(&TForm1::TrayIcon1Click);

    OpenDialogEncode.Filter = "Non-Encoded Files (?*.*)|?*.*|All Files (*.*)|*.*";
    OpenDialogDecode.Filter = "Encoded Files ($*.*)|$*.*|All Files (*.*)|*.*";
    OpenDialog.Filter = "All Files (*.*)|*.*";

    TimerStartup.OnTimer = on(&TForm1::TimerStartupTimer);
    TimerBatch.OnTimer = on(&TForm1::TimerBatchTimer);
    TimerSession.OnTimer = on(&TForm1::TimerSessionTimer);
    TimerTimoutErase.OnTimer = on(&TForm1::TimerTimoutEraseTimer);
    TimerClose.OnTimer = on(&TForm1::TimerCloseTimer);
    TimerNotifyFolderChanged.OnTimer = on(&TForm1::TimerNotifyFolderChangedTimer);
    TimerUI.OnTimer = on(&TForm1::TimerUITimer);

    OnShow = on(&TForm1::FormShow);
    OnResize = on(&TForm1::FormResize);
    OnCloseQuery = [this](TObject* s, bool& canClose) { FormCloseQuery(s, canClose); };

    if (platform_.Marble) ImageMarble.SetPicture(*platform_.Marble);

    // From here on every change is mirrored by the backend.
    AttachHost(platform_.Host);
    const std::vector<TComponent*> components = AllComponents();
    for (TComponent* c : components) c->AttachHost(platform_.Host);
    if (platform_.Host) platform_.Host->Realize(*this, components);
    FormCreate(this);
}

TForm1::~TForm1() { FormDestroy(this); }

std::vector<TComponent*> TForm1::AllComponents() {
    std::vector<TComponent*> all;
    std::vector<TControl*> pending(Children().begin(), Children().end());
    while (!pending.empty()) {
        TControl* c = pending.back();
        pending.pop_back();
        all.push_back(c);
        pending.insert(pending.end(), c->Children().begin(), c->Children().end());
    }
    for (TMenuItem* item : PopupMenu1.Items) all.push_back(item);
    for (TComponent* c : std::initializer_list<TComponent*>{&PopupMenu1, &TrayIcon1, &OpenDialogEncode, &OpenDialogDecode, &OpenDialog,
                                                            &TimerStartup, &TimerBatch, &TimerSession, &TimerTimoutErase,
                                                            &TimerClose, &TimerNotifyFolderChanged, &TimerUI})
        all.push_back(c);
    return all;
}

}  // namespace brindlock
