// The application started as a user starts it: "/s" and "/u" where no
// display can be reached (over SSH, in a script), and how it tells whether
// one can.
#include <gtest/gtest.h>

#include <QDir>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>
#include <initializer_list>
#include <utility>

#include "gui_support.h"
#include "platform/qt/display.h"

using namespace vell::testing;

namespace {

constexpr int kProcessTimeoutMs = 60000;

// Sets environment variables for one test (null: unset) and puts them back.
class ScopedEnvironment {
 public:
  ScopedEnvironment(std::initializer_list<std::pair<const char*, const char*>> values) {
    for (const auto& [name, value] : values) {
      saved_.emplace_back(name, qgetenv(name));
      Put(name, value == nullptr ? QByteArray() : QByteArray(value));
    }
  }
  ~ScopedEnvironment() {
    for (const auto& [name, value] : saved_) Put(name, value);
  }

 private:
  static void Put(const char* name, const QByteArray& value) {
    if (value.isNull()) {
      qunsetenv(name);
    } else {
      qputenv(name, value);
    }
  }
  std::vector<std::pair<const char*, QByteArray>> saved_;
};

struct Finished {
  bool normalExit = false;
  int exitCode = -1;
  QString errors;
};

// Runs the application with `parameters`, without a display and with its
// home and desktop folders in `home`.
Finished RunWithoutDisplay(const QStringList& parameters, const QString& home,
                           const QString& dataHome) {
  QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
  for (const char* name : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"}) {
    env.remove(QString::fromLatin1(name));
  }
  env.insert(QStringLiteral("HOME"), home);
  env.insert(QStringLiteral("XDG_DATA_HOME"), dataHome);
  env.insert(QStringLiteral("XDG_CONFIG_HOME"), home + QStringLiteral("/config"));
  QProcess process;
  process.setProcessEnvironment(env);
  process.start(QStringLiteral(VELL_EXECUTABLE), parameters);
  Finished result;
  if (!process.waitForFinished(kProcessTimeoutMs)) {
    process.kill();
    process.waitForFinished();
    return result;
  }
  result.normalExit = process.exitStatus() == QProcess::NormalExit;
  result.exitCode = process.exitCode();
  result.errors = QString::fromLocal8Bit(process.readAllStandardError());
  return result;
}

}  // namespace

TEST(StartUp, FileTypeSwitchesWithoutADisplay) {
  QTemporaryDir home;
  const QString data = home.filePath(QStringLiteral("data"));
  const QString desktop = data + QStringLiteral("/applications/vell.desktop");
  const QString mime = data + QStringLiteral("/mime/packages/vell-program.xml");
  const QString list = home.filePath(QStringLiteral("config/mimeapps.list"));

  const Finished registered = RunWithoutDisplay({QStringLiteral("/s")}, home.path(), data);
  EXPECT_TRUE(registered.normalExit);
  EXPECT_EQ(registered.exitCode, 0) << registered.errors.toStdString();
  // The entry names the application's own folder.
  const QString folder = QFileInfo(QStringLiteral(VELL_EXECUTABLE)).absolutePath();
  EXPECT_TRUE(
      QString::fromUtf8(ReadBytes(desktop)).contains(u'"' + folder + QStringLiteral("/vell\" %f")));
  EXPECT_TRUE(QFileInfo::exists(mime));
  EXPECT_TRUE(ReadBytes(list).contains("text/x-vell=vell.desktop"));

  const Finished removed = RunWithoutDisplay({QStringLiteral("/u")}, home.path(), data);
  EXPECT_TRUE(removed.normalExit);
  EXPECT_EQ(removed.exitCode, 0) << removed.errors.toStdString();
  EXPECT_FALSE(QFileInfo::exists(desktop));
  EXPECT_FALSE(QFileInfo::exists(mime));
  EXPECT_FALSE(ReadBytes(list).contains("text/x-vell"));

  // Where the association cannot be written, the reason goes to standard
  // error and the status says it failed.
  const QString nowhere = QStringLiteral("/proc/vell-no-such-place");
  const Finished failed = RunWithoutDisplay({QStringLiteral("/s")}, home.path(), nowhere);
  EXPECT_TRUE(failed.normalExit);
  EXPECT_NE(failed.exitCode, 0);
  EXPECT_TRUE(failed.errors.contains(QStringLiteral("Cannot write \"") + nowhere))
      << failed.errors.toStdString();
}

TEST(StartUp, DisplayAvailable) {
  using vell::qt::DisplayAvailable;
  ScopedEnvironment env{
      {"QT_QPA_PLATFORM", nullptr}, {"DISPLAY", nullptr}, {"WAYLAND_DISPLAY", nullptr}};
  EXPECT_FALSE(DisplayAvailable());
  qputenv("DISPLAY", ":7");
  EXPECT_TRUE(DisplayAvailable());
  // X named, with its options, where no X display is set; then a list with a
  // plugin that needs no display server.
  qunsetenv("DISPLAY");
  qputenv("WAYLAND_DISPLAY", "wayland-0");
  qputenv("QT_QPA_PLATFORM", "xcb:nograb");
  EXPECT_FALSE(DisplayAvailable());
  qputenv("QT_QPA_PLATFORM", "xcb;offscreen");
  EXPECT_TRUE(DisplayAvailable());
}

TEST(StartUp, FileTypeFailureFoundBeforeTheWindow) {
  // "/s" already failed before the window existed: the window shows the
  // reason, does not try again and starts as without parameters.
  QTemporaryDir data;
  ScopedEnvironment env{{"XDG_DATA_HOME", data.path().toUtf8().constData()}};
  ScriptedDialogs dialogs;
  auto* previous = vell::qt::SetDialogs(&dialogs);
  {
    TFormMain form;
    EXPECT_EQ(form.FormCreate({QStringLiteral("/opt/vell/vell"), QStringLiteral("/s")},
                              QStringLiteral("Cannot write \"x\". No room")),
              TFormMain::StartResult::Run);
    EXPECT_EQ(dialogs.warnings,
              std::vector<QString>{QStringLiteral("Cannot write \"x\". No room")});
    EXPECT_EQ(vell::gInterpreter->commandLine.ChildCount(), 0);
  }
  vell::qt::SetDialogs(previous);
  EXPECT_TRUE(QDir(data.path()).isEmpty());
}
