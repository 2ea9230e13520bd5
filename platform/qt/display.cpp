#include "platform/qt/display.h"

#include <QString>
#include <QStringList>
#include <QtGlobal>

namespace vell::qt {

namespace {

constexpr char kPlatformVariable[] = "QT_QPA_PLATFORM";
constexpr char kX11Variable[] = "DISPLAY";
constexpr char kWaylandVariable[] = "WAYLAND_DISPLAY";
constexpr char16_t kX11Platform[] = u"xcb";
constexpr char16_t kWaylandPlatform[] = u"wayland";  // also wayland-egl and the like

bool Set(const char* variable) { return !qEnvironmentVariableIsEmpty(variable); }

// A plugin name as QT_QPA_PLATFORM gives it, its options after a colon.
bool Reachable(const QString& platform) {
  const QString name = platform.section(u':', 0, 0).trimmed();
  if (name == kX11Platform) return Set(kX11Variable);
  if (name.startsWith(kWaylandPlatform)) return Set(kWaylandVariable);
  // Offscreen, framebuffer, VNC and the like need no display server.
  return !name.isEmpty();
}

}  // namespace

bool DisplayAvailable() {
  const QString chosen = qEnvironmentVariable(kPlatformVariable);
  if (chosen.trimmed().isEmpty()) return Set(kX11Variable) || Set(kWaylandVariable);
  // Qt tries the plugins of a list in turn.
  for (const QString& platform : chosen.split(u';', Qt::SkipEmptyParts)) {
    if (Reachable(platform)) return true;
  }
  return false;
}

}  // namespace vell::qt
