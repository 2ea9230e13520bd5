#include "platform/simulated_input.h"

#include <algorithm>

namespace vell::input {
namespace {

class NoInput final : public InputSimulator {
 public:
  ScreenSize PrimaryScreenSize() override { return {}; }
  void Key(int, bool) override {}
  void MoveAbsolute(int64_t, int64_t) override {}
  void Button(MouseButton, bool) override {}
};

InputSimulator* installed = nullptr;

}  // namespace

InputSimulator& CurrentInputSimulator() {
  static NoInput none;
  return installed != nullptr ? *installed : none;
}

InputSimulator* SetInputSimulator(InputSimulator* simulator) {
  InputSimulator* previous = installed;
  installed = simulator;
  return previous;
}

int64_t PixelFromAbsolute(int64_t units, int64_t size) {
  if (size <= 0) return 0;
  units = std::clamp<int64_t>(units, 0, 65535);
  return std::clamp<int64_t>((units * size + 32768) / 65536, 0, size - 1);
}

}  // namespace vell::input
