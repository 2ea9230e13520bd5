#include "platform/qt/qt_virtual_keys.h"

#include <QKeyEvent>

#include "platform/virtual_keys.h"

namespace vell::qt {
namespace {

struct KeyPair {
  int qtKey;
  int32_t virtualKey;
};

constexpr KeyPair kNamedKeys[] = {
    {Qt::Key_Backspace, vk::Back},
    {Qt::Key_Tab, vk::Tab},
    {Qt::Key_Backtab, vk::Tab},
    {Qt::Key_Clear, vk::Clear},
    {Qt::Key_Return, vk::Return},
    {Qt::Key_Enter, vk::Return},
    {Qt::Key_Shift, vk::Shift},
    {Qt::Key_Control, vk::Control},
    {Qt::Key_Alt, vk::Menu},
    {Qt::Key_AltGr, vk::Menu},
    {Qt::Key_Pause, vk::Pause},
    {Qt::Key_CapsLock, vk::Capital},
    {Qt::Key_Escape, vk::Escape},
    {Qt::Key_Space, vk::Space},
    {Qt::Key_PageUp, vk::Prior},
    {Qt::Key_PageDown, vk::Next},
    {Qt::Key_End, vk::End},
    {Qt::Key_Home, vk::Home},
    {Qt::Key_Left, vk::Left},
    {Qt::Key_Up, vk::Up},
    {Qt::Key_Right, vk::Right},
    {Qt::Key_Down, vk::Down},
    {Qt::Key_Print, vk::Snapshot},
    {Qt::Key_Insert, vk::Insert},
    {Qt::Key_Delete, vk::Delete},
    {Qt::Key_Super_L, vk::LeftWindows},
    {Qt::Key_Super_R, vk::RightWindows},
    {Qt::Key_Meta, vk::LeftWindows},
    {Qt::Key_Menu, vk::Apps},
    {Qt::Key_NumLock, vk::NumLock},
    {Qt::Key_ScrollLock, vk::Scroll},
    // Punctuation of a US layout, plain and shifted.
    {Qt::Key_Semicolon, vk::Semicolon},
    {Qt::Key_Colon, vk::Semicolon},
    {Qt::Key_Equal, vk::Plus},
    {Qt::Key_Plus, vk::Plus},
    {Qt::Key_Comma, vk::Comma},
    {Qt::Key_Less, vk::Comma},
    {Qt::Key_Minus, vk::Minus},
    {Qt::Key_Underscore, vk::Minus},
    {Qt::Key_Period, vk::Period},
    {Qt::Key_Greater, vk::Period},
    {Qt::Key_Slash, vk::Slash},
    {Qt::Key_Question, vk::Slash},
    {Qt::Key_QuoteLeft, vk::Grave},
    {Qt::Key_AsciiTilde, vk::Grave},
    {Qt::Key_BracketLeft, vk::LeftBracket},
    {Qt::Key_BraceLeft, vk::LeftBracket},
    {Qt::Key_Backslash, vk::Backslash},
    {Qt::Key_Bar, vk::Backslash},
    {Qt::Key_BracketRight, vk::RightBracket},
    {Qt::Key_BraceRight, vk::RightBracket},
    {Qt::Key_Apostrophe, vk::Quote},
    {Qt::Key_QuoteDbl, vk::Quote},
    // The shifted digits.
    {Qt::Key_Exclam, '1'},
    {Qt::Key_At, '2'},
    {Qt::Key_NumberSign, '3'},
    {Qt::Key_Dollar, '4'},
    {Qt::Key_Percent, '5'},
    {Qt::Key_AsciiCircum, '6'},
    {Qt::Key_Ampersand, '7'},
    {Qt::Key_Asterisk, '8'},
    {Qt::Key_ParenLeft, '9'},
    {Qt::Key_ParenRight, '0'},
};

// Keys of the numeric keypad other than the digits.
constexpr KeyPair kKeypadKeys[] = {
    {Qt::Key_Asterisk, vk::Multiply}, {Qt::Key_Plus, vk::Add},        {Qt::Key_Minus, vk::Subtract},
    {Qt::Key_Period, vk::Decimal},    {Qt::Key_Comma, vk::Separator}, {Qt::Key_Slash, vk::Divide},
};

}  // namespace

int32_t VirtualKeyOf(int qtKey, Qt::KeyboardModifiers modifiers) {
  const bool keypad = modifiers.testFlag(Qt::KeypadModifier);
  if (qtKey >= Qt::Key_0 && qtKey <= Qt::Key_9) {
    return keypad ? vk::Numpad0 + (qtKey - Qt::Key_0) : vk::Digit0 + (qtKey - Qt::Key_0);
  }
  if (qtKey >= Qt::Key_A && qtKey <= Qt::Key_Z) return vk::LetterA + (qtKey - Qt::Key_A);
  if (qtKey >= Qt::Key_F1 && qtKey <= Qt::Key_F24) return vk::F1 + (qtKey - Qt::Key_F1);
  if (keypad) {
    for (const KeyPair& k : kKeypadKeys) {
      if (k.qtKey == qtKey) return k.virtualKey;
    }
  }
  for (const KeyPair& k : kNamedKeys) {
    if (k.qtKey == qtKey) return k.virtualKey;
  }
  return 0;
}

int32_t VirtualKeyOf(const QKeyEvent& event) {
  return VirtualKeyOf(event.key(), event.modifiers());
}

}  // namespace vell::qt
