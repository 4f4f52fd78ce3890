// The pending-wipe list file Brindlock.del, read at start-up from whatever
// the program's folder holds: every line with a path before its first "|"
// whose file name begins with "_Brindlock" (in any letter case; the program's
// viewing copies are named so, and nothing else may be erased from the list)
// becomes one entry, in order, with the path exactly as written and the due
// time read from the rest, or due at once when the rest is no number. Then
// the list written back from those entries must read back to the same
// entries and be written identically again, and a save that fails at any
// file call must leave the old list or the complete new one, never a cut-off
// one, and no temporary file.
//
// Input: byte 0: bit 0 picks the decimal separator (set: comma); bits 1 to 5
// the number of the file call that misbehaves in a second load and in the
// failing save (0: none); bits 6 and 7 how it misbehaves. The rest is the
// file.
#include <cctype>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "platform/float_text.h"
#include "platform/headless/headless_desktop.h"
#include "platform/headless/headless_integration.h"
#include "support/fuzz_check.h"
#include "support/memory_file_system.h"
#include "ui/form1.h"

namespace {

using brindlock::TForm1;
using Entries = std::vector<TForm1::TSecureWipeItem>;

const std::string kListFile = "/prog/Brindlock.del";

// Beyond this a due time's fifteen-digit text rounds past the largest double
// and no longer reads back (real due times are some 46000 days).
constexpr double kLargestReadableText = 1.79769313486231e308;

struct Window {
    brindlock::HeadlessDesktop desktop;
    brindlock::HeadlessIntegration integration;
    brindlock::Platform platform = desktop.MakePlatform();
    brindlock::fuzz::MemoryFileSystem files;
    std::optional<TForm1> form;

    Window() {
        integration.AddTo(platform);
        integration.program.Path = "/prog/Brindlock.exe";
        platform.Files = &files;
        form.emplace(platform);
    }
};

// The lines of the file: CR LF, a lone CR and a lone LF each end one; a
// line end at the very end opens no further line.
std::vector<std::string> Lines(const std::string& text) {
    std::vector<std::string> lines(1);
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        if (c != '\r' && c != '\n') {
            lines.back() += c;
            continue;
        }
        if (c == '\r' && i + 1 < text.size() && text[i + 1] == '\n') ++i;
        lines.emplace_back();
    }
    if (lines.back().empty()) lines.pop_back();
    return lines;
}

// A full path (from "/"; the targets are built for POSIX) without a ".."
// part, whose file name holds no "\\" and begins with "_Brindlock" in any
// letter case.
bool NamesAViewingCopy(const std::string& path) {
    if (path.empty() || path[0] != '/') return false;
    std::string part;
    for (const char c : path + "/") {
        if (c == '/' || c == '\\') {
            if (part == "..") return false;
            part.clear();
        } else {
            part += c;
        }
    }
    const std::string name = path.substr(path.rfind('/') + 1);
    if (name.find('\\') != std::string::npos) return false;
    const std::string copy = "_brindlock";
    if (name.size() < copy.size()) return false;
    for (std::size_t i = 0; i < copy.size(); ++i)
        if (std::tolower(static_cast<unsigned char>(name[i])) != copy[i]) return false;
    return true;
}

Entries Expected(const std::string& text, char separator, double now) {
    Entries entries;
    for (const std::string& line : Lines(text)) {
        const std::size_t bar = line.find('|');
        if (bar == std::string::npos || bar == 0) continue;
        TForm1::TSecureWipeItem item;
        item.Path = line.substr(0, bar);
        if (!NamesAViewingCopy(item.Path)) continue;
        if (!brindlock::StrToFloat(line.substr(bar + 1), separator, item.DueTime)) item.DueTime = now;
        entries.push_back(item);
    }
    return entries;
}

bool Same(const Entries& a, const Entries& b) {
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        if (a[i].Path != b[i].Path || !(a[i].DueTime == b[i].DueTime)) return false;
    }
    return true;
}

// A due time read back from its own text: the same to fifteen digits, or
// due at once where the text could not be read.
bool ReadBack(double written, double read, double now) {
    if (std::fabs(written) > kLargestReadableText) return read == now || std::fabs(read - written) <= std::fabs(written) * 1e-14;
    if (written == read) return true;
    return std::fabs(written - read) <= std::fmax(std::fabs(written), std::fabs(read)) * 1e-14;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
    static Window window;
    if (size < 1) return 0;
    const char separator = (data[0] & 1) ? ',' : '.';
    const int faultAt = (data[0] >> 1) & 0x1f;
    const auto kind = static_cast<brindlock::fuzz::Misbehaviour>(data[0] >> 6);
    const std::string file(reinterpret_cast<const char*>(data + 1), size - 1);

    TForm1& form = *window.form;
    brindlock::fuzz::MemoryFileSystem& files = window.files;
    window.desktop.Locale.Separator = separator;
    const double now = window.platform.Clock->Now();

    // Loading: the entries of the lines, the timer on when there are any,
    // the file left as it was.
    files.Reset();
    files.Files[kListFile] = file;
    form.PendingWipes.push_back({"/left/over", 1.0});
    form.LoadPendingWipes();
    const Entries loaded = form.PendingWipes;
    FUZZ_CHECK(Same(loaded, Expected(file, separator, now)));
    for (const auto& item : loaded) {
        FUZZ_CHECK(!item.Path.empty());
        FUZZ_CHECK(NamesAViewingCopy(item.Path));
        FUZZ_CHECK(item.Path.find_first_of("|\r\n") == std::string::npos);
        FUZZ_CHECK(std::isfinite(item.DueTime));
    }
    FUZZ_CHECK(form.TimerTimoutErase.Enabled() == !loaded.empty());
    FUZZ_CHECK(files.Files.size() == 1 && files.Files[kListFile] == file);

    // Loading when a file call fails or a read ends early: all the entries
    // or none, never the head of the list. A list that is there but could
    // not be read keeps the timer on, to try it again.
    files.MisbehaveAt(files.Calls() + faultAt, kind);
    form.LoadPendingWipes();
    FUZZ_CHECK(Same(form.PendingWipes, loaded) || form.PendingWipes.empty());
    FUZZ_CHECK(form.TimerTimoutErase.Enabled() || form.PendingWipes.empty());
    if (!files.Misbehaved()) FUZZ_CHECK(form.TimerTimoutErase.Enabled() == !form.PendingWipes.empty());
    FUZZ_CHECK(files.Files.size() == 1 && files.Files[kListFile] == file);
    files.MisbehaveAt(0, kind);
    form.PendingWipes = loaded;

    // Saving: the file exists exactly when there are entries; the entries in
    // memory stay; reading it back gives them again; and a second save of
    // what was read writes the same bytes.
    form.SavePendingWipes();
    FUZZ_CHECK(Same(form.PendingWipes, loaded));
    FUZZ_CHECK(files.Files.size() == (loaded.empty() ? 0u : 1u));
    const std::optional<std::string> saved =
        loaded.empty() ? std::nullopt : std::optional<std::string>(files.Files[kListFile]);
    if (saved) {
        FUZZ_CHECK(Lines(*saved).size() == loaded.size());
        FUZZ_CHECK(saved->size() >= 2 && saved->compare(saved->size() - 2, 2, "\r\n") == 0);
        form.LoadPendingWipes();
        FUZZ_CHECK(form.PendingWipes.size() == loaded.size());
        bool allReadable = true;
        for (std::size_t i = 0; i < loaded.size(); ++i) {
            FUZZ_CHECK(form.PendingWipes[i].Path == loaded[i].Path);
            FUZZ_CHECK(ReadBack(loaded[i].DueTime, form.PendingWipes[i].DueTime, now));
            allReadable = allReadable && std::fabs(loaded[i].DueTime) <= kLargestReadableText;
        }
        form.SavePendingWipes();
        if (allReadable) FUZZ_CHECK(files.Files.size() == 1 && files.Files[kListFile] == *saved);
    }

    // A save that fails somewhere: the list before or the list after, whole,
    // and nothing else in the folder; the entries in memory untouched.
    files.Reset();
    files.Files[kListFile] = file;
    form.PendingWipes = loaded;
    files.MisbehaveAt(faultAt, kind);
    form.SavePendingWipes();
    FUZZ_CHECK(Same(form.PendingWipes, loaded));
    FUZZ_CHECK(files.Files.size() <= 1);
    if (files.Files.empty()) {
        FUZZ_CHECK(!saved);
    } else {
        FUZZ_CHECK(files.Files.count(kListFile) == 1);
        const std::string& there = files.Files[kListFile];
        FUZZ_CHECK(there == file || (saved && there == *saved));
        if (!files.Misbehaved()) FUZZ_CHECK(saved && there == *saved);
    }
    return 0;
}
