// The console services brindlock-cli needs.
#pragma once

#include <string>

namespace brindlock {

// True when standard input is an interactive terminal (console).
bool StdinIsTerminal();

// True when standard error is a terminal, where a progress bar makes sense.
bool StderrIsTerminal();

// Writes `prompt` to standard error and reads one line from the terminal
// without echoing it. The line ending is not part of `line`. False when no
// line could be read.
bool ReadLineNoEcho(const std::string& prompt, std::string& line);

}  // namespace brindlock
