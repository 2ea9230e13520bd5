// Sleeping the calling thread.
#pragma once

#include <cstdint>

namespace vell::platform {

// Sleeps for ms milliseconds (0 or less: returns at once), resuming after
// signals until the whole time has passed. Nothing else runs meanwhile.
void SleepMilliseconds(int64_t ms);

}  // namespace vell::platform
