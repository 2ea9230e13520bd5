// The Windows virtual-key codes that programs pass to KEYDOWN and KEYUP and
// that key events hand to programs, named once. Letters and digits are their
// upper-case ASCII codes ('A' to 'Z', '0' to '9').
#pragma once

#include <cstdint>

namespace vell::vk {

enum VirtualKey : int32_t {
  Back = 0x08,
  Tab = 0x09,
  Clear = 0x0C,
  Return = 0x0D,
  Shift = 0x10,
  Control = 0x11,
  Menu = 0x12,  // Alt
  Pause = 0x13,
  Capital = 0x14,  // Caps Lock
  Escape = 0x1B,
  Space = 0x20,
  Prior = 0x21,  // Page Up
  Next = 0x22,   // Page Down
  End = 0x23,
  Home = 0x24,
  Left = 0x25,
  Up = 0x26,
  Right = 0x27,
  Down = 0x28,
  Snapshot = 0x2C,  // Print Screen
  Insert = 0x2D,
  Delete = 0x2E,
  Digit0 = 0x30,
  Digit9 = 0x39,
  LetterA = 0x41,
  LetterZ = 0x5A,
  LeftWindows = 0x5B,
  RightWindows = 0x5C,
  Apps = 0x5D,
  Numpad0 = 0x60,
  Numpad9 = 0x69,
  Multiply = 0x6A,
  Add = 0x6B,
  Separator = 0x6C,
  Subtract = 0x6D,
  Decimal = 0x6E,
  Divide = 0x6F,
  F1 = 0x70,
  F24 = 0x87,
  NumLock = 0x90,
  Scroll = 0x91,
  LeftShift = 0xA0,
  RightShift = 0xA1,
  LeftControl = 0xA2,
  RightControl = 0xA3,
  LeftMenu = 0xA4,
  RightMenu = 0xA5,
  // The punctuation keys of a US layout.
  Semicolon = 0xBA,     // ;:
  Plus = 0xBB,          // =+
  Comma = 0xBC,         // ,<
  Minus = 0xBD,         // -_
  Period = 0xBE,        // .>
  Slash = 0xBF,         // /?
  Grave = 0xC0,         // `~
  LeftBracket = 0xDB,   // [{
  Backslash = 0xDC,     // \|
  RightBracket = 0xDD,  // ]}
  Quote = 0xDE,         // '"
};

}  // namespace vell::vk
