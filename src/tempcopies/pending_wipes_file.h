// The list file that carries the copies still awaiting their wipe across a
// restart: one line per copy, the path, "|", the due time as text, CR LF.
#pragma once

#include <string>

namespace brindlock {

// "Brindlock.del" in the folder of the program file at `programPath`; empty
// when that path names no folder (the program's path could not be read),
// so the list is never written into whatever the working folder happens to be.
std::string PendingWipesFileName(const std::string& programPath);

}  // namespace brindlock
