// The Windows clock and regional settings.
#pragma once

#include "platform/clock.h"
#include "platform/locale.h"

namespace brindlock {

IClock& Win32Clock();
ILocale& Win32Locale();

}  // namespace brindlock
