#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "platform/file_system.h"
#include "support/existing_files.h"
#include "support/headless_form.h"
#include "support/scripted_file_operations.h"
#include "support/temp_folder.h"

namespace brindlock {
namespace {

using Paths = std::vector<std::string>;
using Kind = test::ScriptedFileOperations::Kind;

// A first start: the window is created with the given program arguments,
// the message loop shows it, and the virtual clock runs from there. Paths
// are relative to the test's folder (absolute ones begin with "/" on Linux,
// which the intake refuses).
class FirstStart : public ::testing::Test {
protected:
    FirstStart() {
        folder.Write("victim.txt", {1, 2, 3});
        folder.Write("a.txt", {4});
        std::filesystem::current_path(folder.Path());
        env.platform.Files = &NativeFileSystem();
        env.integration.environment.Variables["APPDATA"] = "C:\\Users\\me\\AppData\\Roaming";
    }
    ~FirstStart() override { std::filesystem::current_path(previous); }

    TForm1& Start(const Paths& arguments) {
        env.integration.program.Args = arguments;
        TForm1& form = env.Create();
        form.FileOperations = &files;
        form.Show();
        return form;
    }

    std::filesystem::path previous = std::filesystem::current_path();
    test::TempFolder folder;
    test::HeadlessForm env;
    test::ScriptedFileOperations files;
};

TEST_F(FirstStart, WithoutArgumentsTheWindowGoesToTheTrayAfter222Ms) {
    TForm1& form = Start({});
    EXPECT_EQ(form.JobCount, 0);
    env.desktop.AdvanceBy(221);
    EXPECT_FALSE(form.TrayIcon1.Visible());
    EXPECT_TRUE(form.Visible());
    env.desktop.AdvanceBy(1);
    EXPECT_TRUE(form.TrayIcon1.Visible());
    EXPECT_FALSE(form.Visible());
    EXPECT_FALSE(env.desktop.TaskbarWindowVisible);
    EXPECT_FALSE(env.desktop.TimerScheduled(form.TimerStartup));
    // The desktop integration is renewed: verbs written, the shortcut started.
    EXPECT_FALSE(env.integration.registry.Writes.empty());
    EXPECT_EQ(env.integration.processes.Starts.size(), 1u);

    const std::size_t writes = env.integration.registry.Writes.size();
    env.desktop.AdvanceBy(5000);  // the step runs once
    EXPECT_EQ(env.integration.registry.Writes.size(), writes);
}

TEST_F(FirstStart, EraseQueuesAndStartsAWipeJobWithoutAPassword) {
    TForm1& form = Start({"/erase", "victim.txt", "missing.txt"});
    EXPECT_EQ(form.JobFiles, Paths{"victim.txt"});
    EXPECT_EQ(form.JobMode, -1);
    EXPECT_FALSE(form.PanelPwd.Visible());
    EXPECT_TRUE(form.TimerBatch.Enabled());  // started from the creation handler

    env.desktop.AdvanceBy(200);
    ASSERT_EQ(files.Calls.size(), 1u);
    EXPECT_EQ(files.Calls[0].kind, Kind::Wipe);
    EXPECT_EQ(files.Calls[0].path, "victim.txt");
    EXPECT_EQ(files.Calls[0].count, 5);
    env.desktop.AdvanceBy(5000);
    EXPECT_EQ(files.Calls.size(), 1u);  // the start-up step did not run it again
    EXPECT_TRUE(form.TrayIcon1.Visible());
    EXPECT_EQ(form.JobCount, 0);
}

TEST_F(FirstStart, TheStepInsideTheFirstFileLeavesTheRunningJobAlone) {
    // The wipe takes long enough for the start-up step to fall inside it.
    files.Scripts["victim.txt"].reports = {{0, 3}, {1, 3}, {2, 3}, {3, 3}};
    bool stepInsideFile = false;
    TForm1& form = Start({"/erase", "victim.txt"});
    files.BeforeReport = [&](const std::string&, int) {
        env.desktop.AdvanceBy(10);
        stepInsideFile = stepInsideFile || form.TrayIcon1.Visible();
    };
    env.desktop.AdvanceBy(5000);
    EXPECT_TRUE(stepInsideFile);
    EXPECT_EQ(files.Calls.size(), 1u);
    EXPECT_EQ(files.MaxDepth, 1);
    EXPECT_EQ(form.JobCount, 0);
    EXPECT_FALSE(form.TimerBatch.Enabled());
}

TEST_F(FirstStart, EncryptPutsUpThePasswordPanelWhichStaysUp) {
    TForm1& form = Start({"/encrypt", "a.txt"});
    EXPECT_TRUE(form.PanelPwd.Visible());
    env.desktop.AdvanceBy(222);
    EXPECT_TRUE(form.TrayIcon1.Visible());
    EXPECT_TRUE(form.PanelPwd.Visible());
    EXPECT_TRUE(form.Visible());
    EXPECT_TRUE(files.Calls.empty());
}

// Escape in the first moments aborts the job the command line started; the
// start-up step that comes after must not start it again behind the user's
// back (with a wipe job, that would erase the files the user stopped).
TEST_F(FirstStart, AJobAbortedBeforeTheStartUpStepStaysStopped) {
    const Paths commands[] = {{"/erase", "victim.txt", "a.txt"}, {"/encrypt", "a.txt"}};
    for (const Paths& command : commands) {
        SCOPED_TRACE(command[0]);
        test::HeadlessForm local;
        local.platform.Files = &NativeFileSystem();
        local.integration.program.Args = command;
        TForm1& form = local.Create();
        test::ScriptedFileOperations operations;
        form.FileOperations = &operations;
        form.Show();
        local.desktop.AdvanceBy(100);
        TMessage escape;
        escape.Msg = 0xB005;  // the dialog-key message
        escape.WParam = 27;
        form.Dispatch(escape);
        local.desktop.AdvanceBy(5000);
        EXPECT_TRUE(operations.Calls.empty()) << operations.Calls.size() << " files processed after the abort";
        EXPECT_FALSE(form.Visible());
        EXPECT_TRUE(form.TrayIcon1.Visible());
    }
}

// The first start's own command line takes its paths against the current
// folder too, so that a job's paths (and a viewing copy's, kept for the next
// start) name their files whatever folder a later start runs in.
TEST(FirstStartPaths, TheCommandLinesPathsAreMadeFull) {
    test::HeadlessForm local;
    test::ExistingFiles existing;
    existing.Files = {"C:\\docs\\a.txt", "C:\\docs\\b.txt"};
    local.platform.Files = &existing;
    local.integration.program.CurrentFolder = "C:\\docs\\";
    local.integration.program.Args = {"/erase", "a.txt", "C:\\docs\\b.txt"};
    TForm1& form = local.Create();
    EXPECT_EQ(form.JobFiles, (Paths{"C:\\docs\\a.txt", "C:\\docs\\b.txt"}));
}

// The command shows the window from inside its creation; that first show
// already has the marble to tile the background from.
TEST_F(FirstStart, TheWindowShownByTheCommandHasItsBackground) {
    TBitmap marble(56, 48);
    for (int y = 0; y < 48; ++y)
        for (int x = 0; x < 56; ++x) marble.At(x, y) = uint32_t(x * 100 + y + 1);
    env.platform.Marble = &marble;
    TForm1& form = Start({"/encrypt", "a.txt"});
    ASSERT_TRUE(form.Visible());
    const TBitmap* background = form.Image1.Picture();
    ASSERT_NE(background, nullptr);
    EXPECT_EQ(background->At(0, 0), marble.At(0, 0));
    EXPECT_EQ(background->At(60, 50), marble.At(4, 2));
}

}  // namespace
}  // namespace brindlock
