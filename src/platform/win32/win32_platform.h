// Every Win32 service of the program in one place, in the order they need
// each other, and the Platform that hands them to the main window.
#pragma once

#include <windows.h>

#include "platform/file_system.h"
#include "platform/platform.h"
#include "platform/shell_notify.h"
#include "platform/win32/win32_application.h"
#include "platform/win32/win32_form_host.h"
#include "platform/win32/win32_integration.h"
#include "platform/win32/win32_pictures.h"
#include "platform/win32/win32_program_info.h"
#include "platform/win32/win32_run_time.h"
#include "platform/win32/win32_shell_services.h"

namespace brindlock {

class Win32Platform {
public:
    explicit Win32Platform(HINSTANCE instance)
        : Application(instance),
          Pictures(instance),
          Host(Application, Pictures),
          Shell(Application, Host),
          Integration([this](TForm& form) { return Host.WindowOf(&form); }) {
        Services.Host = &Host;
        Services.Application = &Application;
        Services.Shell = &Shell;
        Services.Program = &Program;
        Services.Files = &NativeFileSystem();
        Integration.AddTo(Services);
        Services.Clock = &Win32Clock();
        Services.Locale = &Win32Locale();
        Services.Files = &NativeFileSystem();
        Services.ShellNotify = &NativeShellNotify();
    }

    Win32Application Application;
    Win32Pictures Pictures;
    Win32FormHost Host;
    Win32ShellServices Shell;
    Win32ProgramInfo Program;
    Win32Integration Integration;
    brindlock::Platform Services;
};

}  // namespace brindlock
