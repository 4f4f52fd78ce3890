// Which characters end a folder part in a path text. Windows paths end their
// folder at "\" or at a drive's ":"; POSIX paths at "/" (where "\" and ":"
// are ordinary characters of a name).
#pragma once

#include <string_view>

namespace brindlock {

#ifdef _WIN32
constexpr std::string_view kPathDelimiters = "\\:";
constexpr char kPathSeparator = '\\';
#else
constexpr std::string_view kPathDelimiters = "/";
constexpr char kPathSeparator = '/';
#endif

}  // namespace brindlock
