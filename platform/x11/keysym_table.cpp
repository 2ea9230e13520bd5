#include "platform/x11/keysym_table.h"

#include <X11/keysym.h>

#include "platform/virtual_keys.h"

namespace vell::x11 {
namespace {

struct KeyPair {
  int virtualKey;
  uint32_t keysym;
};

constexpr KeyPair kNamedKeys[] = {
    {vk::Back, XK_BackSpace},
    {vk::Tab, XK_Tab},
    {vk::Clear, XK_Clear},
    {vk::Return, XK_Return},
    {vk::Shift, XK_Shift_L},
    {vk::Control, XK_Control_L},
    {vk::Menu, XK_Alt_L},
    {vk::Pause, XK_Pause},
    {vk::Capital, XK_Caps_Lock},
    {vk::Escape, XK_Escape},
    {vk::Space, XK_space},
    {vk::Prior, XK_Prior},
    {vk::Next, XK_Next},
    {vk::End, XK_End},
    {vk::Home, XK_Home},
    {vk::Left, XK_Left},
    {vk::Up, XK_Up},
    {vk::Right, XK_Right},
    {vk::Down, XK_Down},
    {vk::Snapshot, XK_Print},
    {vk::Insert, XK_Insert},
    {vk::Delete, XK_Delete},
    {vk::LeftWindows, XK_Super_L},
    {vk::RightWindows, XK_Super_R},
    {vk::Apps, XK_Menu},
    {vk::Multiply, XK_KP_Multiply},
    {vk::Add, XK_KP_Add},
    {vk::Separator, XK_KP_Separator},
    {vk::Subtract, XK_KP_Subtract},
    {vk::Decimal, XK_KP_Decimal},
    {vk::Divide, XK_KP_Divide},
    {vk::NumLock, XK_Num_Lock},
    {vk::Scroll, XK_Scroll_Lock},
    {vk::LeftShift, XK_Shift_L},
    {vk::RightShift, XK_Shift_R},
    {vk::LeftControl, XK_Control_L},
    {vk::RightControl, XK_Control_R},
    {vk::LeftMenu, XK_Alt_L},
    {vk::RightMenu, XK_Alt_R},
    {vk::Semicolon, XK_semicolon},
    {vk::Plus, XK_equal},
    {vk::Comma, XK_comma},
    {vk::Minus, XK_minus},
    {vk::Period, XK_period},
    {vk::Slash, XK_slash},
    {vk::Grave, XK_grave},
    {vk::LeftBracket, XK_bracketleft},
    {vk::Backslash, XK_backslash},
    {vk::RightBracket, XK_bracketright},
    {vk::Quote, XK_apostrophe},
};

}  // namespace

uint32_t KeysymForVirtualKey(int virtualKey) {
  if (virtualKey >= vk::LetterA && virtualKey <= vk::LetterZ) {
    return XK_a + static_cast<uint32_t>(virtualKey - vk::LetterA);
  }
  if (virtualKey >= vk::Digit0 && virtualKey <= vk::Digit9) {
    return XK_0 + static_cast<uint32_t>(virtualKey - vk::Digit0);
  }
  if (virtualKey >= vk::Numpad0 && virtualKey <= vk::Numpad9) {
    return XK_KP_0 + static_cast<uint32_t>(virtualKey - vk::Numpad0);
  }
  if (virtualKey >= vk::F1 && virtualKey <= vk::F24) {
    return XK_F1 + static_cast<uint32_t>(virtualKey - vk::F1);
  }
  for (const KeyPair& pair : kNamedKeys) {
    if (pair.virtualKey == virtualKey) return pair.keysym;
  }
  return 0;
}

}  // namespace vell::x11
