// The platform layers the commands use inside the window: programs and
// documents for RUN, the sound of BEEP, and simulated input on an X display.
#pragma once

namespace vell {

// Needs a QGuiApplication; installing twice is harmless. Simulated input is
// installed only when the application runs on an X display (not offscreen,
// not on Wayland without X).
void InstallCommandServices();

}  // namespace vell
