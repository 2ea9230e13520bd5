// When the window's message pump is due, known without reading a clock for
// every statement: a helper thread marks the pump due once per interval
// while pumps keep coming, and stops after a while without any. The state is
// one flag that the interpreter reads before it sends a pump request.
#pragma once

#include <atomic>
#include <chrono>
#include <thread>

class PumpClock {
 public:
  explicit PumpClock(std::chrono::milliseconds interval) : interval_(interval) {}
  ~PumpClock();
  PumpClock(const PumpClock&) = delete;
  PumpClock& operator=(const PumpClock&) = delete;

  // True once an interval has ended since the last Restart, and whenever the
  // helper thread is not running.
  bool Due() const { return state_.load(std::memory_order_relaxed) != kWaiting; }
  // The pump has just been real: the next one waits for the interval.
  void Restart();
  // The next pump is real, whenever it comes.
  void MarkDue() {
    int waiting = kWaiting;
    state_.compare_exchange_strong(waiting, kDue);
  }
  // 0 exactly while a pump would wait.
  const std::atomic<int>& Gate() const { return state_; }

 private:
  enum State : int { kWaiting = 0, kDue = 1, kStopped = 2 };
  void Tick();

  const std::chrono::milliseconds interval_;
  std::atomic<int> state_{kStopped};
  std::atomic<bool> quit_{false};
  std::thread thread_;
};
