// Simulated input through the X Test extension of an X display.
#pragma once

#include <string>

#include "platform/simulated_input.h"

namespace vell::x11 {

// Opens its own connection to the display on first use (an empty name: the
// DISPLAY variable). The primary screen is the primary monitor as RandR
// reports it (the whole X screen where RandR is missing). Without a display or without the X Test
// extension it does nothing and reports a screen of 0 by 0. Every event has reached the server when
// a call returns.
class XTestInput final : public input::InputSimulator {
 public:
  explicit XTestInput(std::string displayName = {});
  ~XTestInput() override;
  XTestInput(const XTestInput&) = delete;
  XTestInput& operator=(const XTestInput&) = delete;

  // True when the display is open and offers the X Test extension.
  bool Available();

  input::ScreenSize PrimaryScreenSize() override;
  void Key(int virtualKey, bool down) override;
  void MoveAbsolute(int64_t x, int64_t y) override;
  void Button(input::MouseButton button, bool down) override;

 private:
  struct Connection;
  Connection* Open();

  std::string displayName_;
  Connection* connection_ = nullptr;
  bool tried_ = false;
};

}  // namespace vell::x11
