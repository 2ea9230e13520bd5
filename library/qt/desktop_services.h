// The library's services that need the desktop (clipboard, trash), installed
// by the application after the built-ins are registered.
#pragma once

namespace vell {

struct Interpreter;

// Makes the file and clipboard keywords use the application's clipboard and
// the desktop's trash. Needs a QGuiApplication; installing twice is harmless.
void InstallDesktopServices(Interpreter& interp);

}  // namespace vell
