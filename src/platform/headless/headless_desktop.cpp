#include "platform/headless/headless_desktop.h"

namespace brindlock {

HeadlessDesktop::HeadlessDesktop() = default;

Platform HeadlessDesktop::MakePlatform() {
    Platform p;
    p.Host = this;
    p.Application = this;
    p.Shell = this;
    p.Clock = &Clock;
    p.Locale = &Locale;
    return p;
}

void HeadlessDesktop::Schedule(TTimer& timer) {
    timers_[&timer] = &timer;
    if (timer.Enabled() && timer.Interval() > 0) due_[&timer] = Due{nowMs_ + timer.Interval(), sequence_++};
    else due_.erase(&timer);
}

void HeadlessDesktop::ComponentChanged(TComponent& component, ComponentProperty property) {
    auto* timer = dynamic_cast<TTimer*>(&component);
    if (timer && (property == ComponentProperty::Enabled || property == ComponentProperty::Interval)) Schedule(*timer);
}

void HeadlessDesktop::Realize(TForm&, const std::vector<TComponent*>& components) {
    for (TComponent* c : components)
        if (auto* timer = dynamic_cast<TTimer*>(c)) Schedule(*timer);
}

std::optional<uint64_t> HeadlessDesktop::TimeToTick(const TTimer& timer) const {
    auto it = due_.find(&timer);
    if (it == due_.end()) return std::nullopt;
    return it->second.at - nowMs_;
}

TTimer* HeadlessDesktop::NextDue(uint64_t limit) {
    const TTimer* best = nullptr;
    Due bestDue{};
    for (const auto& [timer, due] : due_) {
        if (due.at > limit) continue;
        if (!best || due.at < bestDue.at || (due.at == bestDue.at && due.order < bestDue.order)) {
            best = timer;
            bestDue = due;
        }
    }
    if (!best) return nullptr;
    if (bestDue.at > nowMs_) nowMs_ = bestDue.at;
    TTimer* timer = timers_[best];
    // The next period starts now, as a Windows timer's does.
    due_[best] = Due{bestDue.at + timer->Interval(), sequence_++};
    return timer;
}

void HeadlessDesktop::AdvanceTo(uint64_t ms) {
    while (TTimer* timer = NextDue(ms)) timer->Fire();
    if (ms > nowMs_) nowMs_ = ms;
}

void HeadlessDesktop::AdvanceBy(uint64_t ms) { AdvanceTo(nowMs_ + ms); }

void HeadlessDesktop::ProcessMessages() {
    ++ProcessMessagesCalls;
    if (OnProcessMessages) OnProcessMessages();
    std::deque<std::function<void()>> events;
    events.swap(posted_);
    for (auto& event : events) event();
    // Timers due at this moment; their next period lies in the future, so
    // each fires at most once here.
    while (TTimer* timer = NextDue(nowMs_)) timer->Fire();
}

bool HeadlessDesktop::ExecuteOpenDialog(TOpenDialog& dialog) {
    DialogTitles.push_back(dialog.Title);
    if (DialogAnswers.empty()) return false;
    auto answer = std::move(DialogAnswers.front());
    DialogAnswers.pop_front();
    if (!answer) return false;
    dialog.Files = std::move(*answer);
    return true;
}

intptr_t HeadlessDesktop::ShellOpen(TForm* owner, const std::string& target) {
    ShellOpens.push_back({owner != nullptr, target});
    if (OnShellOpen) OnShellOpen();
    return ShellOpenResult;
}

void HeadlessDesktop::ShowMessage(const std::string& text) {
    Messages.push_back(text);
    if (OnModalBox) OnModalBox();
}

int HeadlessDesktop::MessageBox(const std::string& text, const std::string& caption, uint32_t flags) {
    MessageBoxes.push_back({text, caption, flags});
    if (OnModalBox) OnModalBox();
    return 1;  // IDOK
}

}  // namespace brindlock
