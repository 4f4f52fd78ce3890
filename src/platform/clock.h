// The current local date and time.
#pragma once

#include "platform/date_time.h"

namespace brindlock {

class IClock {
public:
    virtual ~IClock() = default;
    // Local date and time with millisecond resolution.
    virtual TDateTime Now() = 0;
};

}  // namespace brindlock
