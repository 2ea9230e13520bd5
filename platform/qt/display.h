// Whether the application can open windows at all. Without a display Qt
// cannot load its window system plugin and ends the process, so what needs
// no window is done before the first window object exists, and a reason
// that would be shown in a box goes to standard error instead.
#pragma once

namespace vell::qt {

// True when the window system Qt will use can be reached: the one named in
// QT_QPA_PLATFORM (X needs DISPLAY, Wayland WAYLAND_DISPLAY, the others
// nothing), else X or Wayland, whichever has its variable set.
bool DisplayAvailable();

}  // namespace vell::qt
