// Commands the running instance has accepted but cannot start yet.
//
// One job runs at a time, under one mode. A command of another mode that
// arrives while a job has not ended waits here, in arrival order, and starts
// when that job has ended; files already queued are never processed under a
// mode other than their own; they are dropped when that job is aborted or
// replaced. Commands that would reset or replace the queue while a file
// operation is in progress are held back until it returns; `HeldUntilIdle`
// counts every action so held (TForm1::RunWhenIdle), the dialog commands'
// too, so that later commands do not overtake them.
#pragma once

#include <cstddef>
#include <deque>
#include <optional>
#include <utility>

#include "app/command.h"

namespace brindlock {

class PendingCommands {
public:
    void Push(Command command) { waiting_.push_back(std::move(command)); }
    std::optional<Command> PopFront() {
        if (waiting_.empty()) return std::nullopt;
        Command front = std::move(waiting_.front());
        waiting_.pop_front();
        return front;
    }
    void Clear() { waiting_.clear(); }
    bool Empty() const { return waiting_.empty(); }
    std::size_t Size() const { return waiting_.size(); }
    const std::deque<Command>& Waiting() const { return waiting_; }

    int HeldUntilIdle = 0;

private:
    std::deque<Command> waiting_;
};

}  // namespace brindlock
