#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "platform/file_system.h"
#include "support/headless_form.h"
#include "support/scripted_file_operations.h"
#include "support/temp_folder.h"

namespace brindlock {
namespace {

using Paths = std::vector<std::string>;

// The queue states a command can meet.
enum class Queue { Idle, WaitingForPassword, RunningBetweenFiles, InFirstFile, Aborted, Finished };

// A few real files around the window. Paths are relative to the test's
// folder, because on Linux every absolute path begins with "/", which the
// intake refuses.
class CommandIntake : public ::testing::Test {
protected:
    CommandIntake() {
        folder.Write("a.txt", {1});
        folder.Write("b.txt", {2});
        folder.Write("c.txt", {3});
        folder.Write("-a.txt", {4});
        std::filesystem::create_directory(folder.Path("sub"));
        std::filesystem::current_path(folder.Path());
    }
    ~CommandIntake() override { std::filesystem::current_path(previous); }

    std::filesystem::path previous = std::filesystem::current_path();
    test::TempFolder folder;
};

// The main window with its queue put into a given state the way the runner
// leaves it.
struct Window {
    test::HeadlessForm env;
    TForm1& form;
    int frontCallsBefore = 0;

    Window() : form((env.platform.Files = &NativeFileSystem(), env.Create())) {}

    void Arrange(Queue state, int32_t mode, const Paths& files) {
        form.JobFiles = files;
        form.JobMode = mode;
        form.JobCount = static_cast<int32_t>(files.size());
        form.JobIndex = 0;
        form.AbortRequested = false;
        form.TimerBatch.SetEnabled(false);
        switch (state) {
        case Queue::Idle:
            form.JobFiles.clear();
            form.JobCount = 0;
            break;
        case Queue::WaitingForPassword:
            form.PanelPwd.Show();
            break;
        case Queue::RunningBetweenFiles:
            form.JobIndex = 1;
            form.TimerBatch.SetEnabled(true);
            break;
        case Queue::InFirstFile:
            form.InFileOperation = true;
            break;
        case Queue::Aborted:
            form.JobIndex = 1;
            form.AbortRequested = true;
            break;
        case Queue::Finished:
            form.JobCount = 0;
            break;
        }
        // A caption the intake never writes, to see whether it started the job.
        form.LabelFilesAll.SetCaption("before");
        form.ProgressBarFilesAll.SetPosition(50);
        frontCallsBefore = env.desktop.BringToFrontCalls;
    }

    bool Started() const { return form.LabelFilesAll.Caption() == "0 %" && form.ProgressBarFilesAll.Position() == 0; }
    bool BroughtToFront() const { return env.desktop.BringToFrontCalls > frontCallsBefore; }
};

// The window with scripted file operations, for jobs that run to their end.
struct ScriptedWindow : Window {
    test::ScriptedFileOperations files;
    ScriptedWindow() { form.FileOperations = &files; }
};

struct IntakeCase {
    const char* name;
    Queue state;
    int32_t queuedMode;
    Paths queued;
    char letter;
    Paths given;
    // What the queue holds afterwards.
    Paths files;
    int32_t mode;
    int32_t index;
    bool openMode;
    std::string tempCopyPath;
    bool started;
    bool front;
    std::size_t followUps;
};

const std::string kSub = std::string("sub") + char(std::filesystem::path::preferred_separator);

const IntakeCase kCases[] = {
    {"only existing files are admitted", Queue::Idle, 0, {}, 'E', {"a.txt", "missing.txt"},
     {"a.txt"}, 0, 0, false, "", true, true, 0},
    {"same letter joins a job waiting for its password", Queue::WaitingForPassword, 0, {"a.txt"}, 'E', {"b.txt"},
     {"a.txt", "b.txt"}, 0, 0, false, "", true, true, 0},
    {"same letter joins a running job without restarting it", Queue::RunningBetweenFiles, 0, {"a.txt", "b.txt"},
     'E', {"c.txt"}, {"a.txt", "b.txt", "c.txt"}, 0, 1, false, "", false, true, 0},
    {"same letter joins the job inside its first file", Queue::InFirstFile, 0, {"a.txt"}, 'E', {"b.txt"},
     {"a.txt", "b.txt"}, 0, 0, false, "", false, true, 0},
    {"a folder is refused", Queue::Idle, 0, {}, 'W', {"sub"}, {}, -1, 0, false, "", false, false, 0},
    {"paths starting with a slash or a minus are refused", Queue::Idle, 0, {}, 'D', {"-a.txt", "/a.txt"},
     {}, 1, 0, false, "", false, false, 0},
    {"refused paths for a job not ended still bring the window up", Queue::WaitingForPassword, 0, {"a.txt"}, 'E',
     {"missing.txt"}, {"a.txt"}, 0, 0, false, "", true, true, 0},
    {"letter X is ignored", Queue::Idle, 0, {}, 'X', {"a.txt"}, {}, 0, 0, false, "", false, false, 0},
    {"an empty list is ignored", Queue::Idle, 0, {}, 'E', {}, {}, 0, 0, false, "", false, false, 0},
    {"open takes the first path only, existing or not", Queue::Idle, 0, {}, 'O', {kSub + "$gone.pdf", "b.txt"},
     {kSub + "$gone.pdf"}, 1, 0, true, kSub + "_Brindlock.pdf", true, true, 0},
    {"open replaces a job that has not ended", Queue::RunningBetweenFiles, 0, {"a.txt", "b.txt"}, 'O',
     {"$notes"}, {"$notes"}, 1, 0, true, "_Brindlock", true, true, 0},
    {"an aborted job is reset by the next command", Queue::Aborted, 0, {"a.txt", "b.txt"}, 'D', {"c.txt"},
     {"c.txt"}, 1, 0, false, "", true, true, 0},
    {"a finished job's leftovers are cleared", Queue::Finished, 0, {"a.txt", "b.txt"}, 'W', {"c.txt"},
     {"c.txt"}, -1, 0, false, "", true, true, 0},
    {"another letter follows a job waiting for its password", Queue::WaitingForPassword, 0, {"a.txt"}, 'W',
     {"b.txt"}, {"a.txt"}, 0, 0, false, "", false, true, 1},
    {"another letter follows a running job", Queue::RunningBetweenFiles, 1, {"a.txt", "b.txt"}, 'E', {"c.txt"},
     {"a.txt", "b.txt"}, 1, 1, false, "", false, true, 1},
};

TEST_F(CommandIntake, AdmitsCommandsByTheQueuesState) {
    for (const IntakeCase& c : kCases) {
        SCOPED_TRACE(c.name);
        Window window;
        window.Arrange(c.state, c.queuedMode, c.queued);
        TForm1& form = window.form;
        form.AcceptCommand(c.letter, c.given);
        EXPECT_EQ(form.JobFiles, c.files);
        EXPECT_EQ(form.JobCount, static_cast<int32_t>(c.files.size()));
        EXPECT_EQ(form.JobMode, c.mode);
        EXPECT_EQ(form.JobIndex, c.index);
        EXPECT_FALSE(form.AbortRequested);
        EXPECT_EQ(form.OpenMode, c.openMode);
        EXPECT_EQ(form.TempCopyPath, c.tempCopyPath);
        EXPECT_EQ(window.Started(), c.started);
        EXPECT_EQ(window.BroughtToFront(), c.front);
        EXPECT_EQ(form.FollowUpCommands.Size(), c.followUps);
    }
}

TEST_F(CommandIntake, AnotherLettersCommandsFollowTheJobInTheirOrder) {
    Window window;
    TForm1& form = window.form;
    window.Arrange(Queue::WaitingForPassword, 0, {"a.txt"});
    form.AcceptCommand('W', {"b.txt"});
    form.AcceptCommand('D', {"c.txt"});
    form.StartNextQueuedCommand();  // the encrypt job has not ended
    EXPECT_EQ(form.JobFiles, Paths{"a.txt"});
    ASSERT_EQ(form.FollowUpCommands.Size(), 2u);

    auto endJob = [&] {
        form.JobIndex = 0;
        form.JobCount = 0;
    };
    endJob();
    form.StartNextQueuedCommand();
    EXPECT_EQ(form.JobFiles, Paths{"b.txt"});
    EXPECT_EQ(form.JobMode, -1);
    EXPECT_EQ(form.JobCount, 1);
    EXPECT_EQ(form.FollowUpCommands.Size(), 1u);
    endJob();
    form.StartNextQueuedCommand();
    EXPECT_EQ(form.JobFiles, Paths{"c.txt"});
    EXPECT_EQ(form.JobMode, 1);
    EXPECT_TRUE(form.FollowUpCommands.Empty());
}

TEST_F(CommandIntake, ANewCommandDoesNotOvertakeTheWaitingOnes) {
    Window window;
    TForm1& form = window.form;
    window.Arrange(Queue::WaitingForPassword, 0, {"a.txt"});
    form.AcceptCommand('W', {"b.txt"});
    form.JobCount = 0;  // the encrypt job ended; the follow-up has not started yet
    form.AcceptCommand('D', {"c.txt"});
    EXPECT_EQ(form.JobFiles, Paths{"b.txt"});
    EXPECT_EQ(form.JobMode, -1);
    ASSERT_EQ(form.FollowUpCommands.Size(), 1u);
    EXPECT_EQ(form.FollowUpCommands.Waiting().front().Mode, 'D');
}

TEST_F(CommandIntake, AnAbortDropsTheCommandsWaitingBehindTheJob) {
    Window window;
    TForm1& form = window.form;
    window.Arrange(Queue::WaitingForPassword, 0, {"a.txt"});
    form.AcceptCommand('W', {"b.txt"});
    form.AbortRequested = true;
    form.StartNextQueuedCommand();
    EXPECT_TRUE(form.FollowUpCommands.Empty());
    EXPECT_EQ(form.JobFiles, Paths{"a.txt"});

    form.AcceptCommand('W', {"b.txt"});  // after an abort: a new job at once
    form.AbortRequested = true;
    form.AcceptCommand('E', {"c.txt"});
    EXPECT_EQ(form.JobFiles, Paths{"c.txt"});
    EXPECT_EQ(form.JobMode, 0);
    EXPECT_TRUE(form.FollowUpCommands.Empty());
}

// A command of another kind waits for the job it arrived behind. When that
// job is aborted or replaced, the waiting command goes with it: it must never
// run after whatever job comes next, which nobody asked for.
TEST_F(CommandIntake, CommandsWaitingBehindAJobGoWhenTheJobIsAbortedOrReplaced) {
    struct Case {
        const char* name;
        std::function<void(Window&)> event;
    };
    auto choose = [](Window& w, TControl& button, Paths chosen) {
        w.env.desktop.DialogAnswers.push_back(std::move(chosen));
        button.Click();
    };
    const Case cases[] = {
        {"Escape", [](Window& w) {
             TMessage escape;
             escape.Msg = 0xB005;  // the dialog-key message
             escape.WParam = 27;
             w.form.Dispatch(escape);
         }},
        {"Abort button", [](Window& w) { w.form.ButtonAbort.Click(); }},
        {"open command", [](Window& w) { w.form.AcceptCommand('O', {"$c.txt"}); }},
        {"Open Encrypted File", [&](Window& w) { choose(w, w.form.ButtonOpen, {"$c.txt"}); }},
        {"Encrypt Files", [&](Window& w) { choose(w, w.form.ButtonEncrypt, {"c.txt"}); }},
        {"Erase Files", [&](Window& w) { choose(w, w.form.ButtonErase, {"c.txt"}); }},
        // Wipe Temp does not replace a job that has not ended: it follows it
        // (tests/tempcopies).
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ScriptedWindow window;
        TForm1& form = window.form;
        test::ScriptedFileOperations& files = window.files;
        form.AcceptCommand('E', {"a.txt"});  // no password held: the panel is up
        form.AcceptCommand('W', {"b.txt"});  // to follow the encrypt job
        EXPECT_EQ(form.FollowUpCommands.Size(), 1u);

        c.event(window);
        EXPECT_TRUE(form.FollowUpCommands.Empty());
        // Whatever is queued now runs to its end.
        if (form.PanelPwd.Visible()) {
            form.EditPwd.UserEdited("pw");
            form.ButtonDone.Click();
        }
        window.env.desktop.AdvanceBy(2000);
        EXPECT_FALSE(files.Calls.empty());
        for (const auto& call : files.Calls) EXPECT_NE(call.path, "b.txt");
        EXPECT_EQ(form.JobCount, 0);
    }
}

// Commands that arrive inside a file operation, through the message pump of
// its progress reports.
TEST_F(CommandIntake, ACommandThatReplacesTheQueueWaitsForTheFileAndNoneOvertakesIt) {
    Window window;
    TForm1& form = window.form;
    test::ScriptedFileOperations files;
    form.FileOperations = &files;
    form.Password = "pw";
    form.AcceptCommand('E', {"a.txt"});
    ASSERT_TRUE(form.TimerBatch.Enabled());
    Paths queueInsideTheFile;
    files.BeforeReport = [&](const std::string& path, int report) {
        if (path != "a.txt") return;
        if (report == 0) form.AcceptCommand('O', {"$c.txt"});
        // Same letter as the running job, but behind the held open command.
        if (report == 1) form.AcceptCommand('E', {"b.txt"});
        queueInsideTheFile = form.JobFiles;
    };
    window.env.desktop.AdvanceBy(200);
    ASSERT_EQ(files.Calls.size(), 1u);
    EXPECT_EQ(queueInsideTheFile, Paths{"a.txt"});
    // After the file: the open job, and the encrypt command waiting behind it.
    EXPECT_TRUE(form.OpenMode);
    EXPECT_EQ(form.JobFiles, Paths{"$c.txt"});
    ASSERT_EQ(form.FollowUpCommands.Size(), 1u);
    EXPECT_EQ(form.FollowUpCommands.Waiting().front().Files, Paths{"b.txt"});

    // The open job runs, then the encrypt command follows it.
    window.env.desktop.AdvanceBy(1000);
    ASSERT_EQ(files.Calls.size(), 3u);
    EXPECT_EQ(files.Calls[1].kind, test::ScriptedFileOperations::Kind::Decrypt);
    EXPECT_EQ(files.Calls[2].kind, test::ScriptedFileOperations::Kind::Encrypt);
    EXPECT_EQ(files.Calls[2].path, "b.txt");
    EXPECT_TRUE(form.FollowUpCommands.Empty());
}

// A dialog command chosen during a file waits for the file to end; a command
// that arrives after it waits behind it, whatever its letter, instead of
// slipping into the running job (or behind it) and being lost when the dialog's
// job replaces the queue.
TEST_F(CommandIntake, ACommandAfterAHeldDialogChoiceKeepsItsPlaceBehindIt) {
    using Kind = test::ScriptedFileOperations::Kind;
    struct Case {
        const char* name;
        TSpeedButton TForm1::*button;
        Kind dialogKind;
        char letter;
        Kind commandKind;
    };
    const Case cases[] = {
        {"same letter as the running job", &TForm1::ButtonErase, Kind::Wipe, 'W', Kind::Wipe},
        {"another letter", &TForm1::ButtonEncrypt, Kind::Encrypt, 'D', Kind::Decrypt},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ScriptedWindow window;
        TForm1& form = window.form;
        test::ScriptedFileOperations& files = window.files;
        form.Password = "pw";
        form.AcceptCommand('W', {"a.txt"});
        files.BeforeReport = [&](const std::string& path, int report) {
            if (path != "a.txt" || report != 0) return;
            window.env.desktop.DialogAnswers.push_back(Paths{"b.txt"});
            (form.*c.button).Click();
            form.AcceptCommand(c.letter, {"c.txt"});
        };
        window.env.desktop.AdvanceBy(2000);
        EXPECT_EQ(files.Paths(), (Paths{"a.txt", "b.txt", "c.txt"}));
        if (files.Calls.size() != 3) continue;
        EXPECT_EQ(files.Calls[1].kind, c.dialogKind);
        EXPECT_EQ(files.Calls[2].kind, c.commandKind);
        EXPECT_EQ(files.MaxDepth, 1);
    }
}

TEST_F(CommandIntake, AFollowUpStartsWhenTheWindowClosesAfterTheJob) {
    Window window;
    TForm1& form = window.form;
    test::ScriptedFileOperations files;
    form.FileOperations = &files;
    form.AcceptCommand('E', {"a.txt"});  // no password held: the panel is up
    form.AcceptCommand('W', {"b.txt"});
    EXPECT_TRUE(form.PanelPwd.Visible());
    window.env.desktop.AdvanceBy(1000);
    EXPECT_TRUE(files.Calls.empty());  // the wipe waits for the encrypt job

    form.EditPwd.UserEdited("pw");
    form.ButtonDone.Click();
    window.env.desktop.AdvanceBy(1000);
    ASSERT_EQ(files.Calls.size(), 2u);
    EXPECT_EQ(files.Calls[0].path, "a.txt");
    EXPECT_EQ(files.Calls[1].kind, test::ScriptedFileOperations::Kind::Wipe);
    EXPECT_EQ(files.Calls[1].path, "b.txt");
}

}  // namespace
}  // namespace brindlock
