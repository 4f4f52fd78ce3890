#include "fileops/run_time_random.h"

namespace brindlock {

RunTimeRandom& ProcessRunTimeRandom() {
    static RunTimeRandom generator;
    return generator;
}

}  // namespace brindlock
