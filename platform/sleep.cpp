#include "platform/sleep.h"

#include <time.h>

#include <cerrno>

namespace vell::platform {

void SleepMilliseconds(int64_t ms) {
  if (ms <= 0) return;
  timespec left{static_cast<time_t>(ms / 1000), static_cast<long>(ms % 1000) * 1000000L};
  while (::nanosleep(&left, &left) != 0 && errno == EINTR) {
  }
}

}  // namespace vell::platform
