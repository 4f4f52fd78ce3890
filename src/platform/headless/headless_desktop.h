// A desktop without a screen, for tests: components only hold their state,
// timers run on a virtual clock that the test advances, the message pump runs
// what the test posted and the timers that are due, dialogs answer from a
// script, and every outward effect is recorded.
#pragma once

#include <cstdint>
#include <deque>
#include <functional>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "platform/application.h"
#include "platform/components.h"
#include "platform/headless/headless_run_time.h"
#include "platform/platform.h"
#include "platform/shell_services.h"

namespace brindlock {

class HeadlessDesktop : public ComponentHost, public IApplication, public IShellServices {
public:
    HeadlessDesktop();

    // The services in the shape the main window takes them. Tests add their
    // own services (files, clock...) to the returned value before use.
    Platform MakePlatform();

    // ---- Virtual clock --------------------------------------------------
    uint64_t NowMs() const { return nowMs_; }
    // Moves the clock forward, firing every timer that falls due, in order of
    // due time (ties in the order the timers were enabled).
    void AdvanceBy(uint64_t ms);
    void AdvanceTo(uint64_t ms);
    bool TimerScheduled(const TTimer& timer) const { return due_.count(&timer) != 0; }
    // Milliseconds until the timer's next tick, or nothing when disabled.
    std::optional<uint64_t> TimeToTick(const TTimer& timer) const;

    // Local time on the virtual clock, and settable regional settings.
    HeadlessClock Clock{[this] { return nowMs_; }};
    HeadlessLocale Locale;

    // ---- Message pump ----------------------------------------------------
    // An event (a click, a message) that runs at the next ProcessMessages.
    void Post(std::function<void()> event) { posted_.push_back(std::move(event)); }
    // Runs at the start of every ProcessMessages, before posted events; a
    // test may advance the clock here to let time pass inside an operation.
    std::function<void()> OnProcessMessages;
    int ProcessMessagesCalls = 0;

    // ---- Scripted dialogs ------------------------------------------------
    // Each dialog takes the next answer: the chosen files, or nothing for Cancel.
    std::deque<std::optional<std::vector<std::string>>> DialogAnswers;
    std::vector<std::string> DialogTitles;  // title of each dialog run

    // ---- Records ---------------------------------------------------------
    struct ShellOpenCall {
        bool hadOwner;
        std::string target;
    };
    std::vector<ShellOpenCall> ShellOpens;
    intptr_t ShellOpenResult = 42;
    // Runs while the shell starts the program of a file: on Windows the start
    // may pump messages (a DDE conversation, say), so timers and commands can
    // come in the middle of it.
    std::function<void()> OnShellOpen;
    std::vector<std::string> Messages;  // ShowMessage texts
    struct MessageBoxCall {
        std::string text, caption;
        uint32_t flags;
    };
    std::vector<MessageBoxCall> MessageBoxes;
    std::function<void()> OnModalBox;  // runs while a box is "open"
    bool TaskbarWindowVisible = true;
    int BringToFrontCalls = 0;
    int ForegroundCalls = 0;

    // ---- ComponentHost ---------------------------------------------------
    void ComponentChanged(TComponent& component, ComponentProperty property) override;
    void Realize(TForm& form, const std::vector<TComponent*>& components) override;
    bool ExecuteOpenDialog(TOpenDialog& dialog) override;

    // ---- IApplication ----------------------------------------------------
    void SetTitle(const std::string& title) override { title_ = title; }
    std::string Title() const override { return title_; }
    void ProcessMessages() override;
    void Terminate() override { terminated_ = true; }
    bool Terminated() const override { return terminated_; }
    void BringToFront() override { ++BringToFrontCalls; }
    void ShowTaskbarWindow(bool show) override { TaskbarWindowVisible = show; }
    void SetForegroundWindow(TForm&) override { ++ForegroundCalls; }

    // ---- IShellServices --------------------------------------------------
    intptr_t ShellOpen(TForm* owner, const std::string& target) override;
    void ShowMessage(const std::string& text) override;
    int MessageBox(const std::string& text, const std::string& caption, uint32_t flags) override;

private:
    void Schedule(TTimer& timer);
    TTimer* NextDue(uint64_t limit);

    uint64_t nowMs_ = 0;
    uint64_t sequence_ = 0;
    struct Due {
        uint64_t at;
        uint64_t order;
    };
    std::map<const TTimer*, Due> due_;
    std::map<const TTimer*, TTimer*> timers_;
    std::deque<std::function<void()>> posted_;
    std::string title_;
    bool terminated_ = false;
};

}  // namespace brindlock
