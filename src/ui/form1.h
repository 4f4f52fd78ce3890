// TForm1, the program's only window. It holds all program state; its methods
// are defined in the folder of the area they belong to:
//   ui/          layout, creation, progress display, tray (form1*.cpp)
//   jobs/        job queue, batch runner, password session, dialog commands
//   fileops/     the file operations as window methods, folder notification
//   app/         message map, command intake, start-up step
//   tempcopies/  pending wipes and their list file
//   shell/       hotkeys and Explorer selection capture
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "app/pending_commands.h"
#include "platform/components.h"
#include "platform/date_time.h"
#include "platform/platform.h"

namespace brindlock {

class IFileOperations;    // fileops/file_operations.h
struct FormFileServices;  // fileops/form_file_services.h

// A file operation's progress report: bytes done, bytes in total; false aborts.
using ProgressCallback = std::function<bool(int32_t done, int32_t total)>;

class TForm1 : public TForm {
public:
    explicit TForm1(Platform& platform);
    ~TForm1() override;

    Platform& Services() { return platform_; }
    // Every component of the window, for a backend to mirror.
    std::vector<TComponent*> AllComponents();

    // ---- Controls -------------------------------------------------------
    TImage Image1;
    TSpeedButton ButtonDone;
    TImage ImageMarble;
    TSpeedButton ButtonAbort;
    TSpeedButton ButtonClose;
    TSpeedButton ButtonSettings;
    TLabel Label7;
    TLabel Label2;
    TLabel Label6;
    TLabel Label4;
    TLabel Label3;
    TImage Image4;
    TSpeedButton ButtonOpen;
    TSpeedButton ButtonEncrypt;
    TSpeedButton ButtonDecrypt;
    TSpeedButton ButtonErase;
    TSpeedButton ButtonLogout;
    TSpeedButton ButtonTerminate;
    TLabel Label5;

    TPanel PanelPwd;
    TImage Image2;
    TLabel Label1;
    TEdit EditPwd;
    TCheckBox CheckBoxKeepSession;

    TPanel PanelProgress;
    TLabel LabelFilesAll;
    TProgressBar ProgressBarFilesAll;
    TBevel Bevel1;
    TLabel LabelFileCurrent;
    TLabel LabelPercentCurrent;
    TProgressBar ProgressBarFileCurrent;

    TMenuItem OpenEncryptedFile1;
    TMenuItem WipeTemp1;
    TMenuItem N1;
    TMenuItem EncryptFile1;
    TMenuItem DecryptFile1;
    TMenuItem N4;
    TMenuItem EraseFile1;
    TMenuItem N2;
    TMenuItem Settings1;
    TMenuItem N3;
    TMenuItem Logout1;
    TMenuItem Terminate1;
    TPopupMenu PopupMenu1;
    TTrayIcon TrayIcon1;

    TOpenDialog OpenDialogEncode;
    TOpenDialog OpenDialogDecode;
    TOpenDialog OpenDialog;

    TTimer TimerStartup;
    TTimer TimerBatch;
    TTimer TimerSession;
    TTimer TimerTimoutErase;
    TTimer TimerClose;
    TTimer TimerNotifyFolderChanged;
    TTimer TimerUI;

    // ---- State ----------------------------------------------------------
    // Job queue
    std::vector<std::string> JobFiles;
    int32_t JobMode = 0;  // 0 encrypt, 1 decrypt (open jobs too), -1 wipe
    int32_t JobIndex = 0;
    int32_t JobCount = 0;
    bool AbortRequested = false;
    bool OpenMode = false;
    std::string TempCopyPath;

    // Password session
    std::string Password;
    bool KeepSession = true;
    // The password the running job was started with. Encryption and
    // decryption key with it, so a session that ends in the middle of a job
    // does not change the key of the job's remaining files.
    std::string JobPassword;

    int32_t FilePercent = 0;
    int32_t WipePasses = 0;
    std::string NotifyFolder;

    // Temporary copies awaiting their wipe
    struct TSecureWipeItem {
        std::string Path;
        TDateTime DueTime = 0;
    };
    std::vector<TSecureWipeItem> PendingWipes;
    int32_t WipeDelaySeconds = 0;

    // Global hotkeys
    struct THotkeyEntry {
        int32_t HotkeyId = 0;
        int32_t HotkeyTag = 0;
    };
    static constexpr int MaxHotkeys = 8;
    THotkeyEntry Hotkeys[MaxHotkeys] = {};
    int32_t HotkeyCount = 0;

    // ---- Re-entrancy ----------------------------------------------------
    // True while the batch runner is inside a file operation. Commands that
    // would replace, reset or start the queue meanwhile go through
    // RunWhenIdle, which holds them until the operation has returned.
    bool InFileOperation = false;
    void RunWhenIdle(std::function<void()> action);

    // ---- Window (ui/) ---------------------------------------------------
    void FormCreate(TObject* sender);
    void FormDestroy(TObject* sender);
    void FormShow(TObject* sender);
    void TileImage(TImage& source, TImage& target);
    void FormCloseQuery(TObject* sender, bool& canClose);
    void FormResize(TObject* sender);
    void FormBringToFront();
    void UpdateUI();
    void TimerUITimer(TObject* sender);
    void TrayIcon1Click(TObject* sender);
    void ButtonTerminateClick(TObject* sender);
    void Label3Click(TObject* sender);
    void Label5Click(TObject* sender);

    // ---- Jobs (jobs/) ---------------------------------------------------
    void StartJob();
    void TimerBatchTimer(TObject* sender);
    bool FileProgress(int32_t done, int32_t total);
    void ButtonAbortClick(TObject* sender);
    void DoneAndClose(TObject* sender);
    void TimerCloseTimer(TObject* sender);
    void ButtonDoneClick(TObject* sender);
    void TimerSessionTimer(TObject* sender);
    void ButtonLogoutClick(TObject* sender);
    void EncryptFile1Click(TObject* sender);
    void DecryptFile1Click(TObject* sender);
    void EraseFile1Click(TObject* sender);
    void OpenEncryptedFile1Click(TObject* sender);

    // ---- File operations (fileops/) ------------------------------------
    // What the three operations below run: the real ones over the platform's
    // files when null; tests put a scripted double here.
    IFileOperations* FileOperations = nullptr;
    bool EncryptOneFile(const std::string& path, int32_t limit, const ProgressCallback& progress);
    bool DecryptOneFile(const std::string& path, int32_t limit, const ProgressCallback& progress);
    bool SecureWipeFile(const std::string& path, int32_t passes, const ProgressCallback& progress);
    void NotifyFolderChanged(const std::string& path);
    void NotifyFolderChanged();
    void TimerNotifyFolderChangedTimer(TObject* sender);

    // ---- Commands and messages (app/) ------------------------------------
    void Dispatch(TMessage& message) override;
    void WMCopyData(TMessage& message);
    void CMDialogKey(TMessage& message);
    void ProcessCommandLine();
    void AcceptCommand(char mode, const std::vector<std::string>& files);
    void TimerStartupTimer(TObject* sender);
    // Commands of another mode that arrived while a job had not ended; they
    // follow it. StartNextQueuedCommand starts them once the job has ended
    // (called when the window hides after a job).
    PendingCommands FollowUpCommands;
    void StartNextQueuedCommand();

    // ---- Temporary copies (tempcopies/) ---------------------------------
    void ScheduleWipe(const std::string& path);
    void TimerTimoutEraseTimer(TObject* sender);
    void WipeTemp1Click(TObject* sender);
    // Drops the entries of a copy that was wiped or found gone.
    void ForgetPendingWipe(const std::string& path);
    void SavePendingWipes();
    void LoadPendingWipes();

    // ---- Hotkeys and selection capture (shell/) --------------------------
    bool AddHotkey(int32_t tag, int32_t id, const std::string& text);
    void RegisterDefaultHotkeys();
    void UnregisterHotkeys();
    void WMHotKey(TMessage& message);
    void RunHotkeyAction(char mode);
    bool CaptureSelection(std::vector<std::string>& list);
    void SendCopyKeystroke();

private:
    // FileOperations, or the real operations when it is null.
    IFileOperations* ActiveFileOperations();
    // The folder notifier and the real operations, made at first use.
    FormFileServices& FileServices();
    std::shared_ptr<FormFileServices> fileServices_;
    // Runs the actions RunWhenIdle held back, in order, once no file
    // operation is in progress.
    void RunDeferredActions();

    Platform& platform_;
    std::vector<std::function<void()>> deferred_;
    // The list file was there at start-up but could not be read: its copies
    // are not in PendingWipes, so it must not be overwritten before they are.
    bool pendingWipesUnread_ = false;
    // Reads such a list again and takes its copies in; true once that is
    // done or the file is gone.
    bool TakeInUnreadPendingWipes();
};

}  // namespace brindlock
