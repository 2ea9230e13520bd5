// The TEXTBOX members beyond the members every control shares: the creation
// defaults, and one set and one get function. The set function takes the
// member's argument as the program gave it and returns false for a member
// that is not its own (the shared members then handle it); the get function
// puts the value into `result`, false likewise.
#pragma once

#include <QString>
#include <cstdint>
#include <functional>
#include <string_view>

class MemoEdit;
class QPrinter;

namespace vell {
class vellvar;
}

namespace vell::widgets {

// What the text box members need of the window around them.
struct TextBoxHooks {
  // Appends a PRINT member's text; when empty the box's own AppendOutput.
  // (The output area gathers its output in the window.)
  std::function<void(std::u16string_view)> print;
  // Puts output the window gathered for this box into it before a read.
  std::function<void()> flush;
  // Reports a failure (a file that cannot be read or written, no printer);
  // it may end the member there (member_failure.h).
  std::function<void(const QString&)> showError;
  // The printer PRINTER prints on; none: the print fails as without a printer.
  QPrinter* printer = nullptr;
};

// 185 x 21, Enter adds no line.
void SetUpNewTextBox(MemoEdit& box);

bool SetTextBoxMember(MemoEdit& box, int32_t member, const vellvar& arg, const TextBoxHooks& hooks);
bool GetTextBoxMember(MemoEdit& box, int32_t member, vellvar& result, const TextBoxHooks& hooks);

}  // namespace vell::widgets
