// What the component table needs of the window it lives in, and nothing
// more: the main window and the output area as the two predefined
// components, the panel that holds the controls programs create, writing
// out output that the window still holds back, running an event's text, and
// showing the output area again.
#pragma once

#include <string_view>

class QPlainTextEdit;
class QWidget;

namespace vell {

class ComponentHost {
 public:
  virtual ~ComponentHost() = default;
  // Component 0: the main window.
  virtual QWidget* MainWindowWidget() = 0;
  // Component 1: the output area.
  virtual QPlainTextEdit* OutputArea() = 0;
  // The default parent of every control a program creates.
  virtual QWidget* DefaultParent() = 0;
  // Writes out the output the window has gathered but not yet shown.
  virtual void FlushOutput() = 0;
  // Appends a text box PRINT member's text to the output area as the PRINT
  // statement does (the window gathers it the same way). The plain fallback
  // appends at once.
  virtual void PrintToOutputArea(std::u16string_view text);
  // Runs an event's text (its SUB name already set as the running name)
  // and returns the run's result; the window stays open until it returns.
  virtual int RunEventText(std::u16string_view text) = 0;
  virtual void SetOutputAreaVisible(bool visible) = 0;
};

}  // namespace vell
