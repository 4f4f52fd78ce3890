// The main window on the headless desktop, for tests of its behaviour.
#pragma once

#include <memory>

#include "platform/headless/headless_desktop.h"
#include "platform/headless/headless_integration.h"
#include "ui/form1.h"

namespace brindlock::test {

struct HeadlessForm {
    HeadlessDesktop desktop;
    HeadlessIntegration integration;
    Platform platform = desktop.MakePlatform();
    std::unique_ptr<TForm1> form;

    HeadlessForm() { integration.AddTo(platform); }

    // Tests may add services to `platform` before creating the window.
    TForm1& Create() {
        form = std::make_unique<TForm1>(platform);
        return *form;
    }
};

}  // namespace brindlock::test
