// Everything the main window needs from the operating system, handed to it
// at construction. The real program fills it with win32/ services, the tests
// with headless/ ones.
#pragma once

namespace brindlock {

class ComponentHost;
class IApplication;
class IShellServices;

struct Platform {
    ComponentHost* Host = nullptr;
    IApplication* Application = nullptr;
    IShellServices* Shell = nullptr;
};

}  // namespace brindlock
