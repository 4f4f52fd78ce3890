// Helpers every command that fills the window's one job queue shares.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace brindlock {

class TForm1;

// The job modes stored in TForm1::JobMode.
constexpr int32_t kJobEncrypt = 0;
constexpr int32_t kJobDecrypt = 1;  // an open job too
constexpr int32_t kJobWipe = -1;

// A command replaces the queue: `files` in order, `mode`, index 0, no abort.
// A non-empty `tempCopyPath` makes it an open job decrypting into that copy;
// every other command leaves no open job behind. The commands that waited to
// follow the replaced job are dropped. Does not start the job, and
// must not run while a file operation is in progress (use RunWhenIdle).
void ReplaceJobQueue(TForm1& form, int32_t mode, const std::vector<std::string>& files,
                     const std::string& tempCopyPath = {});

// The overall progress bar and its line as a new job shows them: 0, "0 %".
void ResetOverallProgress(TForm1& form);

// A queued job has ended when every file was taken (also true of the empty
// queue) or when the user aborted it. Until then, a command of another kind
// follows it rather than replacing it.
bool QueuedJobHasEnded(const TForm1& form);

}  // namespace brindlock
