// ShellExecuteA and the message boxes.
#pragma once

#include "platform/shell_services.h"

namespace brindlock {

class Win32Application;
class Win32FormHost;

class Win32ShellServices : public IShellServices {
public:
    Win32ShellServices(Win32Application& application, Win32FormHost& host) : application_(application), host_(host) {}
    intptr_t ShellOpen(TForm* owner, const std::string& target) override;
    void ShowMessage(const std::string& text) override;
    int MessageBox(const std::string& text, const std::string& caption, uint32_t flags) override;

private:
    Win32Application& application_;
    Win32FormHost& host_;
};

}  // namespace brindlock
