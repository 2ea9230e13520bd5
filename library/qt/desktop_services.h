// The library's services that need the desktop (clipboard, trash), installed
// by the application after the built-ins are registered.
#pragma once

struct Interpreter;

namespace vell {

void InstallDesktopServices(Interpreter& interp);

}  // namespace vell
