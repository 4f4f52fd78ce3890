// Names and folders of path texts, taken from the text exactly as given: no
// change of case, no check against the file system.
#pragma once

#include <string>

namespace brindlock {

// The part after the last folder delimiter ("\" or ":" on Windows, "/" on
// POSIX); the whole text when it has none.
std::string NameOfPath(const std::string& path);

// The part up to and including the last folder delimiter; empty when the
// path has none.
std::string FolderOfPath(const std::string& path);

// An encrypted file's name begins with "$"; the plain name is the rest.
constexpr char kEncryptedNamePrefix = '$';

// True when the name of `path` begins with "$".
bool HasEncryptedName(const std::string& path);

// True for a path that names its file without help from a current folder:
// "X:\..." or "\\server\share\..." on Windows, "/..." on POSIX.
bool IsFullPath(const std::string& path);

}  // namespace brindlock
