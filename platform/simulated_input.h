// Simulated keyboard and mouse input, for KEYDOWN, KEYUP, MOUSEMOVE,
// MOUSEDOWN and MOUSEUP.
#pragma once

#include <cstdint>

namespace vell::input {

enum class MouseButton { Left, Right, Middle };

struct ScreenSize {
  int64_t width = 0;
  int64_t height = 0;
};

class InputSimulator {
 public:
  virtual ~InputSimulator() = default;
  // The primary screen's size in pixels; 0 by 0 when there is no screen that
  // input can be simulated on.
  virtual ScreenSize PrimaryScreenSize() = 0;
  // Presses or releases the key of a Windows virtual-key code (0 to 255).
  virtual void Key(int virtualKey, bool down) = 0;
  // Moves the pointer to a position given in absolute units: 0 to 65535
  // span the primary screen in each direction (values outside are clamped
  // to its edges).
  virtual void MoveAbsolute(int64_t x, int64_t y) = 0;
  virtual void Button(MouseButton button, bool down) = 0;
};

// The simulator in use: the installed one, or one that does nothing and has
// no screen.
InputSimulator& CurrentInputSimulator();
// Installs a simulator that outlives every later use (null: the one that
// does nothing); returns the one installed before.
InputSimulator* SetInputSimulator(InputSimulator* simulator);

// A pixel position from absolute units on a screen of the given size: units
// * size / 65536 rounded to the nearest pixel, within the screen (0 when the
// size is not positive).
int64_t PixelFromAbsolute(int64_t units, int64_t size);

}  // namespace vell::input
