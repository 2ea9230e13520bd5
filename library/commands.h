// The commands: built-in names that act on the window, the interpreter or
// the system rather than compute a value.
#pragma once

#include <string_view>

namespace vell {

struct Interpreter;

// CLS MSG WAIT RUN BEEP CALC CALLSUB LIST SCREEN DISPPROGRAM CMDOUT GETCMD
// SETCMD KEYDOWN KEYUP MOUSEMOVE MOUSEDOWN MOUSEUP COMMANDLINE, in this order.
void RegisterCommands(Interpreter& interp);

// RUN's work: starts the file (a program, or a document, folder or URL for
// the desktop's opener) with the parameters split as a Windows command line.
// wait: a program is waited for. True when the start or the hand-over
// succeeded.
bool RunFile(std::u16string_view file, std::u16string_view parameters, bool wait);

}  // namespace vell
