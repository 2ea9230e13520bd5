#include "host/pump_clock.h"

#include <system_error>

namespace {

// Intervals without a single pump after which the helper thread ends (a
// dialog or an idle window does not keep it waking up).
constexpr int kIdleIntervals = 64;

}  // namespace

PumpClock::~PumpClock() {
  quit_.store(true);
  if (thread_.joinable()) thread_.join();
}

void PumpClock::Restart() {
  // Only the helper thread stops itself, and only from kDue: a plain store
  // here could hide that it has just ended.
  int state = state_.load();
  for (;;) {
    if (state == kStopped) {
      if (thread_.joinable()) thread_.join();  // it has ended or is about to
      state_.store(kWaiting);
      try {
        thread_ = std::thread([this] { Tick(); });
      } catch (const std::system_error&) {
        state_.store(kStopped);  // without the helper every pump is real
      }
      return;
    }
    if (state_.compare_exchange_weak(state, kWaiting)) return;
  }
}

void PumpClock::Tick() {
  int idle = 0;
  while (!quit_.load()) {
    std::this_thread::sleep_for(interval_);
    int expected = kWaiting;
    if (state_.compare_exchange_strong(expected, kDue)) {
      idle = 0;
      continue;
    }
    // Still due from an earlier interval: no real pump since.
    if (++idle < kIdleIntervals) continue;
    expected = kDue;
    if (state_.compare_exchange_strong(expected, kStopped)) return;
    idle = 0;
  }
  state_.store(kStopped);
}
