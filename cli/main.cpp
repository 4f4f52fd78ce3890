// brindlock-cli: encrypt, decrypt and erase files from a command line, with
// the same file operations (and byte for byte the same results) as the tray
// program.
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>
#include <vector>

#include "cli_options.h"
#include "crypto/aes_ctr.h"
#include "fileops/file_ops.h"
#include "fileops/folder_notifier.h"
#include "fileops/path_names.h"
#include "platform/file_system.h"
#include "platform/path_delimiters.h"
#include "platform/shell_notify.h"
#include "platform/terminal.h"
#include "progress_bar.h"

namespace brindlock::cli {
namespace {

// No message loop here to run a real timer: the repeat notification is sent
// when the run ends, if one is due.
class ExitTimer : public ITimerSwitch {
public:
    void SetEnabled(bool enabled) override { enabled_ = enabled; }
    bool Enabled() const override { return enabled_; }

private:
    bool enabled_ = false;
};

void Complain(const std::string& file, const std::string& why) {
    std::fprintf(stderr, "brindlock-cli: %s: %s\n", file.c_str(), why.c_str());
}

bool ReadPasswordFile(const std::string& path, std::string& password, std::string& error) {
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        error = "cannot read the password file " + path;
        return false;
    }
    std::getline(in, password);
    if (!password.empty() && password.back() == '\r') password.pop_back();
    return true;
}

bool ObtainPassword(const Options& options, std::string& password, std::string& error) {
    if (!options.passwordFile.empty()) {
        if (!ReadPasswordFile(options.passwordFile, password, error)) return false;
    } else if (const char* fromEnvironment = std::getenv("BRINDLOCK_PASSWORD")) {
        password = fromEnvironment;
    } else if (StdinIsTerminal()) {
        if (!ReadLineNoEcho("Password: ", password)) {
            error = "no password entered";
            return false;
        }
        if (options.action == Action::Encrypt) {
            // A typing mistake here would lock the files away for good.
            std::string again;
            const bool same = ReadLineNoEcho("Repeat password: ", again) && again == password;
            SecureZero(again.data(), again.size());
            if (!same) {
                error = "the passwords differ";
                return false;
            }
        }
    } else {
        error = "no password: give --password-file FILE or set BRINDLOCK_PASSWORD (standard input is not a terminal)";
        return false;
    }
    if (password.empty()) {
        error = "the password is empty";
        return false;
    }
    return true;
}

std::string UserPath(std::string path) {
    // Windows accepts "/" too, but only "\" ends a folder in a file's name.
    if (kPathSeparator == '\\')
        for (char& c : path)
            if (c == '/') c = '\\';
    return path;
}

const char* Verb(Action action) {
    switch (action) {
        case Action::Encrypt: return "encrypting";
        case Action::Decrypt: return "decrypting";
        case Action::Erase: return "erasing";
    }
    return "";
}

int Run(const std::vector<std::string>& args) {
    Options options;
    std::string error;
    if (!ParseOptions(args, options, error)) {
        std::fprintf(stderr, "brindlock-cli: %s\n%s", error.c_str(), kUsage);
        return 2;
    }
    if (options.help) {
        std::fputs(kUsage, stdout);
        return 0;
    }

    IFileSystem& files = NativeFileSystem();
    ExitTimer timer;
    FolderNotifier notifier(NativeShellNotify(), timer);
    FileOpsContext context(files, &notifier);
    if (options.action != Action::Erase && !ObtainPassword(options, context.Password, error)) {
        std::fprintf(stderr, "brindlock-cli: %s\n", error.c_str());
        return 2;
    }

    const bool drawProgress = StderrIsTerminal();
    int failures = 0;
    for (const std::string& given : options.files) {
        const std::string path = UserPath(given);
        const std::string name = NameOfPath(path);
        const bool isEncrypted = !name.empty() && name[0] == kEncryptedNamePrefix;
        if (!files.FileExists(path)) {
            Complain(given, "no such file");
            ++failures;
            continue;
        }
        if (options.action == Action::Encrypt && isEncrypted) {
            Complain(given, "skipped: the name begins with \"$\", so it counts as encrypted already");
            ++failures;  // nothing was done for it, so the run did not succeed
            continue;
        }
        if (options.action == Action::Decrypt && !isEncrypted) {
            Complain(given, "skipped: only names beginning with \"$\" are encrypted files");
            ++failures;
            continue;
        }
        ProgressBar bar(std::string(Verb(options.action)) + " " + name, drawProgress);
        const ProgressCallback progress = [&bar](int32_t done, int32_t total) { return bar.Update(done, total); };
        bool ok = false;
        switch (options.action) {
            case Action::Encrypt: ok = EncryptOneFile(context, path, 0, progress); break;
            case Action::Decrypt: ok = DecryptOneFile(context, path, 0, progress); break;
            case Action::Erase: ok = SecureWipeFile(context, path, options.passes, progress); break;
        }
        bar.Finish();
        if (ok) {
            notifier.NotifyFolderChanged(path);
        } else {
            Complain(given, context.FailureReason);
            ++failures;
        }
    }
    SecureZero(context.Password.data(), context.Password.size());
    if (timer.Enabled()) notifier.TimerNotifyFolderChangedTimer();
    return failures == 0 ? 0 : 1;
}

}  // namespace
}  // namespace brindlock::cli

int main(int argc, char** argv) {
    try {
        return brindlock::cli::Run(std::vector<std::string>(argv + 1, argv + argc));
    } catch (...) {
        std::fputs("brindlock-cli: unexpected error\n", stderr);
        return 2;
    }
}
