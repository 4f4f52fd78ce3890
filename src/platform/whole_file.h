// Small text files kept whole: the hand-off log and the pending-wipe list
// are read in one piece and replaced in one piece.
#pragma once

#include <string>
#include <vector>

namespace brindlock {

class IFileSystem;

// The whole content of the file at `path`; false when it cannot be opened,
// a read fails or the reads end short of the size the file had when it was
// opened (`text` then holds what was read so far).
bool ReadWholeFile(IFileSystem& files, const std::string& path, std::string& text);

// Writes `text` under a temporary name beside `path` and moves it over
// `path`, so a failure leaves the previous file rather than a cut-off one and
// no temporary file behind. True when the new content is in place.
bool ReplaceWholeFile(IFileSystem& files, const std::string& path, const std::string& text);

// Lines of a text: each ends at CR, LF or CR LF; a line end at the very end
// opens no further line.
std::vector<std::string> SplitLines(const std::string& text);

}  // namespace brindlock
