#include "library/qt/command_services.h"

#include <QGuiApplication>

#include "platform/process_start.h"
#include "platform/qt/beep.h"
#include "platform/qt/desktop_process_starter.h"
#include "platform/simulated_input.h"
#include "platform/sound.h"
#include "platform/x11/xtest_input.h"

namespace vell {

void InstallCommandServices() {
  static qt::DesktopProcessStarter starter;
  static qt::BeepOutput beep;
  process::SetProcessStarter(&starter);
  sound::SetSoundOutput(&beep);
  if (QGuiApplication::platformName() == QStringLiteral("xcb")) {
    static x11::XTestInput xtest;
    input::SetInputSimulator(&xtest);
  }
}

}  // namespace vell
