// The members that BUTTON, LABEL, TEXTBOX, CHECKBOX and RADIOBUTTON have
// beyond the members every control shares: their creation defaults, and one
// set and one get function per type. A set function takes the member's
// argument as the program gave it and returns false for a member that is not
// its own (the shared members then handle it); a get function puts the value
// into `result`, false likewise.
#pragma once

#include <QString>
#include <cstdint>
#include <functional>
#include <string_view>

class MemoEdit;
class QAbstractButton;
class QLabel;
class QWidget;
class QPrinter;

namespace vell {
class vellvar;
}

namespace vell::widgets {

class TVellButton;

// What the text box members need of the window around them.
struct TextBoxHooks {
  // Appends a PRINT member's text; when empty the box's own AppendOutput.
  // (The output area gathers its output in the window.)
  std::function<void(std::u16string_view)> print;
  // Puts output the window gathered for this box into it before a read.
  std::function<void()> flush;
  // Shows a failure (a file that cannot be read or written, no printer) as
  // a message; the program goes on.
  std::function<void(const QString&)> showError;
  // The printer PRINTER prints on; none: the print fails as without a printer.
  QPrinter* printer = nullptr;
};

// Creation defaults.
void SetUpNewTextBox(MemoEdit& box);             // 185 x 21, Enter adds no line
void SetUpNewButton(TVellButton& button);        // "Button", 75 x 25
void SetUpNewLabel(QLabel& label);               // "Label", sized to it
void SetUpNewCheckBox(QAbstractButton& box);     // "CheckBox", 97 x 17
void SetUpNewRadioButton(QAbstractButton& box);  // "RadioButton", 113 x 17

bool SetTextBoxMember(MemoEdit& box, int32_t member, const vellvar& arg, const TextBoxHooks& hooks);
bool GetTextBoxMember(MemoEdit& box, int32_t member, vellvar& result, const TextBoxHooks& hooks);

bool SetButtonMember(TVellButton& button, int32_t member, const vellvar& arg);
bool GetButtonMember(TVellButton& button, int32_t member, vellvar& result);

bool SetLabelMember(QLabel& label, int32_t member, const vellvar& arg);
bool GetLabelMember(QLabel& label, int32_t member, vellvar& result);

// CHECKBOX and RADIOBUTTON.
bool SetCheckMember(QAbstractButton& box, int32_t member, const vellvar& arg);
bool GetCheckMember(QAbstractButton& box, int32_t member, vellvar& result);

}  // namespace vell::widgets
