// The main window on the headless desktop with scripted file operations.
#pragma once

#include <gtest/gtest.h>

#include "support/headless_form.h"
#include "support/scripted_file_operations.h"

namespace brindlock::test {

using Kind = ScriptedFileOperations::Kind;

struct JobEnv {
    JobEnv() { form.FileOperations = &files; }

    // Enters a password at the panel the way the user does: type, OK.
    void EnterPassword(const std::string& password, bool keepSession = true) {
        form.EditPwd.UserEdited(password);
        form.CheckBoxKeepSession.UserToggled(keepSession);
        form.ButtonDone.Click();
    }

    // Chooses files in the next dialog and runs the command.
    void Choose(TControl& button, std::vector<std::string> chosen) {
        desktop.DialogAnswers.push_back(std::move(chosen));
        button.Click();
    }

    HeadlessForm env;
    TForm1& form = env.Create();
    HeadlessDesktop& desktop = env.desktop;
    ScriptedFileOperations files;
};

class JobTest : public ::testing::Test, public JobEnv {};

}  // namespace brindlock::test
