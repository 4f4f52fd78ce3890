// Folder change notification on a virtual clock: an immediate notice per
// call, one repeat a second after the first call of a burst.
#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "fileops/folder_notifier.h"
#include "platform/path_delimiters.h"

namespace brindlock {
namespace {

// A timer on a virtual clock: when enabled it fires every interval; enabling
// it while enabled keeps its period, as the window's timer component does.
class VirtualTimer : public ITimerSwitch {
public:
    void SetEnabled(bool enabled) override {
        if (enabled && !enabled_) due_ = now + FolderNotifier::kTimerIntervalMs;
        enabled_ = enabled;
    }
    bool Enabled() const override { return enabled_; }

    // Moves the clock to `time`, firing `tick` whenever the timer is due.
    template <typename Tick>
    void AdvanceTo(int64_t time, Tick tick) {
        while (enabled_ && due_ <= time) {
            now = due_;
            due_ += FolderNotifier::kTimerIntervalMs;
            tick();
        }
        now = time;
    }

    int64_t now = 0;

private:
    bool enabled_ = false;
    int64_t due_ = 0;
};

class TimedShell : public IShellNotify {
public:
    explicit TimedShell(const VirtualTimer& clock) : clock_(clock) {}
    void UpdateDir(const std::string& folder) override { sent.emplace_back(clock_.now, folder); }
    std::vector<std::pair<int64_t, std::string>> sent;

private:
    const VirtualTimer& clock_;
};

using Sent = std::vector<std::pair<int64_t, std::string>>;

// "a" -> the path of x.txt in folder a, "" -> a bare name.
std::string FileIn(const std::string& folder) {
    if (folder.empty()) return "bare.txt";
#ifdef _WIN32
    return "C:\\" + folder + "\\x.txt";
#else
    return "/" + folder + "/x.txt";
#endif
}

std::string Folder(const std::string& folder) {
#ifdef _WIN32
    return "C:\\" + folder + "\\";
#else
    return "/" + folder + "/";
#endif
}

struct NotifyCase {
    const char* label;
    std::vector<std::pair<int64_t, std::string>> calls;  // (time, folder of the changed file)
    Sent expected;
};

class FolderNotification : public ::testing::TestWithParam<NotifyCase> {};

TEST_P(FolderNotification, Timing) {
    const NotifyCase& c = GetParam();
    VirtualTimer timer;
    TimedShell shell(timer);
    FolderNotifier notifier(shell, timer);
    auto tick = [&] { notifier.TimerNotifyFolderChangedTimer(); };
    for (const auto& [time, folder] : c.calls) {
        timer.AdvanceTo(time, tick);
        notifier.NotifyFolderChanged(FileIn(folder));
    }
    timer.AdvanceTo(10000, tick);
    EXPECT_EQ(shell.sent, c.expected);
    EXPECT_FALSE(timer.Enabled()) << "the timer stops after its tick";
}

INSTANTIATE_TEST_SUITE_P(
    Table, FolderNotification,
    ::testing::Values(
        NotifyCase{"OneFileNowAndASecondLater", {{0, "docs"}}, {{0, Folder("docs")}, {1000, Folder("docs")}}},
        NotifyCase{"BurstRepeatsOnlyTheLastFolderOnceAfterTheFirstCall",
                   {{0, "a"}, {300, "b"}, {900, "c"}},
                   {{0, Folder("a")}, {300, Folder("b")}, {900, Folder("c")}, {1000, Folder("c")}}},
        NotifyCase{"BareNameSendsNothing", {{0, ""}}, {}},
        NotifyCase{"BareNameClearsAPendingRepeat", {{0, "a"}, {500, ""}}, {{0, Folder("a")}}},
        NotifyCase{"TwoCallsTwoSecondsApart",
                   {{0, "d"}, {2000, "d"}},
                   {{0, Folder("d")}, {1000, Folder("d")}, {2000, Folder("d")}, {3000, Folder("d")}}},
        NotifyCase{"CallJustAfterTheTickStartsANewPeriod",
                   {{0, "a"}, {1000, "b"}},
                   {{0, Folder("a")}, {1000, Folder("a")}, {1000, Folder("b")}, {2000, Folder("b")}}}),
    [](const auto& row) { return std::string(row.param.label); });

TEST(FolderNotifier, NoArgumentOverloadRepeatsTheRememberedFolder) {
    VirtualTimer timer;
    TimedShell shell(timer);
    FolderNotifier notifier(shell, timer);
    notifier.NotifyFolderChanged();
    EXPECT_TRUE(shell.sent.empty());
    notifier.NotifyFolderChanged(FileIn("q"));
    EXPECT_EQ(notifier.NotifyFolder, Folder("q"));
    notifier.NotifyFolderChanged();
    EXPECT_EQ(shell.sent, (Sent{{0, Folder("q")}, {0, Folder("q")}}));
    EXPECT_EQ(notifier.NotifyFolder, Folder("q"));
}

#ifdef _WIN32
TEST(FolderNotifier, DriveColonEndsTheFolder) {
    VirtualTimer timer;
    TimedShell shell(timer);
    FolderNotifier notifier(shell, timer);
    notifier.NotifyFolderChanged("C:a.txt");
    EXPECT_EQ(shell.sent, (Sent{{0, "C:"}}));
}
#endif

}  // namespace
}  // namespace brindlock
