// The file association on real folders: what "/s" writes, what "/u" takes
// away, mimeapps.list edited without disturbing the rest, and the desktop's
// own tools reading the result where they are installed.
#include "host/file_association.h"

#include <gtest/gtest.h>

#include <QDirIterator>
#include <QFile>
#include <QMap>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>

#include "gui_support.h"

using namespace vell::testing;
namespace assoc = vell::host::association;

namespace {

// XDG_DATA_HOME and XDG_CONFIG_HOME in temporary folders for one test.
class XdgFolders {
 public:
  XdgFolders()
      : oldData_(qgetenv("XDG_DATA_HOME")), oldConfig_(qgetenv("XDG_CONFIG_HOME")) {
    qputenv("XDG_DATA_HOME", Data().toUtf8());
    qputenv("XDG_CONFIG_HOME", Config().toUtf8());
  }
  ~XdgFolders() {
    Restore("XDG_DATA_HOME", oldData_);
    Restore("XDG_CONFIG_HOME", oldConfig_);
  }
  QString Data() const { return root_.filePath(QStringLiteral("data")); }
  QString Config() const { return root_.filePath(QStringLiteral("config")); }
  QString DataFile(const char* name) const { return Data() + u'/' + QLatin1String(name); }
  QString List() const { return Config() + QStringLiteral("/mimeapps.list"); }

  // Every file below both folders with its bytes.
  QMap<QString, QByteArray> Snapshot() const {
    QMap<QString, QByteArray> files;
    QDirIterator it(root_.path(), QDir::Files | QDir::Hidden, QDirIterator::Subdirectories);
    while (it.hasNext()) {
      const QString path = it.next();
      files.insert(path.mid(root_.path().size()), ReadBytes(path));
    }
    return files;
  }
  QStringList Entries() const {
    QStringList all;
    QDirIterator it(root_.path(), QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden,
                    QDirIterator::Subdirectories);
    while (it.hasNext()) all << it.next();
    return all;
  }

 private:
  static void Restore(const char* name, const QByteArray& value) {
    if (value.isNull()) {
      qunsetenv(name);
    } else {
      qputenv(name, value);
    }
  }
  QTemporaryDir root_;
  QByteArray oldData_, oldConfig_;
};

constexpr char kDesktop[] = "applications/vell.desktop";
constexpr char kMime[] = "mime/packages/vell-program.xml";
constexpr char kAppIcon[] = "icons/hicolor/scalable/apps/vell.svg";
constexpr char kTypeIcon[] = "icons/hicolor/scalable/mimetypes/text-x-vell.svg";

QByteArray SourceFile(const char* relative) {
  return ReadBytes(QStringLiteral(VELL_SOURCE_DIR "/") + QLatin1String(relative));
}

bool Register(int mode, const QString& executable, QString* error = nullptr) {
  QString message;
  const bool ok = vell::host::RegisterFileType(mode, executable, message);
  if (error) *error = message;
  return ok;
}

}  // namespace

TEST(FileAssociation, RegisterWritesEveryFileExactly) {
  XdgFolders xdg;
  ASSERT_TRUE(Register(1, QStringLiteral("/opt/my vell/renamed-binary")));

  // "Vellファイル" in UTF-8, spelt out.
  EXPECT_EQ(ReadBytes(xdg.DataFile(kMime)),
            QByteArray("<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
                       "<mime-info xmlns=\"http://www.freedesktop.org/standards/shared-mime-info\">\n"
                       "  <mime-type type=\"text/x-vell\">\n"
                       "    <comment>Vell\xE3\x83\x95\xE3\x82\xA1\xE3\x82\xA4\xE3\x83\xAB</comment>\n"
                       "    <sub-class-of type=\"text/plain\"/>\n"
                       "    <icon name=\"text-x-vell\"/>\n"
                       "    <glob pattern=\"*.vell\"/>\n"
                       "  </mime-type>\n"
                       "</mime-info>\n"));
  // The executable is always "vell" in the running one's folder.
  EXPECT_EQ(ReadBytes(xdg.DataFile(kDesktop)), QByteArray("[Desktop Entry]\n"
                                                          "Type=Application\n"
                                                          "Name=Vell\n"
                                                          "Icon=vell\n"
                                                          "Exec=\"/opt/my vell/vell\" %f\n"
                                                          "MimeType=text/x-vell;\n"
                                                          "Terminal=false\n"));
  EXPECT_EQ(ReadBytes(xdg.List()), QByteArray("[Default Applications]\ntext/x-vell=vell.desktop\n"));
  // The icons are the source tree's own, whatever folder the build is in.
  EXPECT_FALSE(SourceFile("host/icons/vell.svg").isEmpty());
  EXPECT_EQ(ReadBytes(xdg.DataFile(kAppIcon)), SourceFile("host/icons/vell.svg"));
  EXPECT_EQ(ReadBytes(xdg.DataFile(kTypeIcon)), SourceFile("host/icons/text-x-vell.svg"));
}

TEST(FileAssociation, RegisterTwiceAndRemove) {
  XdgFolders xdg;
  {  // Removing what was never written creates nothing at all.
    QString error;
    EXPECT_TRUE(Register(0, QStringLiteral("/opt/vell/vell"), &error));
    EXPECT_TRUE(error.isEmpty());
    EXPECT_TRUE(xdg.Entries().isEmpty()) << xdg.Entries().join(u' ').toStdString();
  }
  ASSERT_TRUE(Register(1, QStringLiteral("/opt/vell/vell")));
  const auto first = xdg.Snapshot();
  ASSERT_TRUE(Register(1, QStringLiteral("/opt/vell/vell")));
  EXPECT_EQ(xdg.Snapshot(), first);

  ASSERT_TRUE(Register(0, QStringLiteral("/opt/vell/vell")));
  for (const char* ours : {kDesktop, kMime, kAppIcon, kTypeIcon}) {
    EXPECT_FALSE(QFileInfo::exists(xdg.DataFile(ours))) << ours;
  }
  // The group stays (it may hold the user's own entries later); our key goes.
  EXPECT_EQ(ReadBytes(xdg.List()), QByteArray("[Default Applications]\n"));
  // The rebuilt MIME database no longer knows the type.
  const QString types = xdg.DataFile("mime/types");
  if (QFileInfo::exists(types)) {
    EXPECT_FALSE(ReadBytes(types).contains("text/x-vell"));
  }

  // A second removal changes nothing.
  const auto removed = xdg.Snapshot();
  ASSERT_TRUE(Register(0, QStringLiteral("/opt/vell/vell")));
  EXPECT_EQ(xdg.Snapshot(), removed);
}

TEST(FileAssociation, DefaultApplicationKeepsEveryOtherLine) {
  const QByteArray user =
      "# my defaults\r\n"
      "[Added Associations]\n"
      "text/x-vell=editor.desktop;\n"
      "\n"
      "[Default Applications]\n"
      "text/plain=editor.desktop\n"
      "  text/x-vell = editor.desktop\n"
      "image/png=viewer.desktop\n"
      "[Removed Associations]\n"
      "text/x-vell=vell.desktop;";  // no line break at the end
  const QByteArray withOurs =
      "# my defaults\r\n"
      "[Added Associations]\n"
      "text/x-vell=editor.desktop;\n"
      "\n"
      "[Default Applications]\n"
      "text/plain=editor.desktop\n"
      "text/x-vell=vell.desktop\n"
      "image/png=viewer.desktop\n"
      "[Removed Associations]\n"
      "text/x-vell=vell.desktop;";
  EXPECT_EQ(assoc::WithDefaultApplication(user), withOurs);
  EXPECT_EQ(assoc::WithDefaultApplication(withOurs), withOurs);
  const QByteArray withoutOurs =
      "# my defaults\r\n"
      "[Added Associations]\n"
      "text/x-vell=editor.desktop;\n"
      "\n"
      "[Default Applications]\n"
      "text/plain=editor.desktop\n"
      "image/png=viewer.desktop\n"
      "[Removed Associations]\n"
      "text/x-vell=vell.desktop;";
  EXPECT_EQ(assoc::WithoutDefaultApplication(withOurs), withoutOurs);

  // Without the group it is added at the end, after a line break the file
  // lacked; the group's own line breaks are followed.
  EXPECT_EQ(assoc::WithDefaultApplication("[Added Associations]\na=b.desktop"),
            QByteArray("[Added Associations]\na=b.desktop\n\n"
                       "[Default Applications]\ntext/x-vell=vell.desktop\n"));
  EXPECT_EQ(assoc::WithDefaultApplication("[Default Applications]\r\na=b.desktop\r\n"),
            QByteArray("[Default Applications]\r\ntext/x-vell=vell.desktop\r\na=b.desktop\r\n"));

  // Removal takes the key only while it names our entry alone; a commented
  // line is no key.
  const QByteArray chosen =
      "[Default Applications]\n"
      "#text/x-vell=vell.desktop\n"
      "text/x-vell=editor.desktop;vell.desktop;\n";
  EXPECT_EQ(assoc::WithoutDefaultApplication(chosen), chosen);
  EXPECT_EQ(assoc::WithoutDefaultApplication("[Default Applications]\ntext/x-vell=vell.desktop;\n"),
            QByteArray("[Default Applications]\n"));

  // Through "/s" and "/u" on the user's file: back to what it was but for
  // the key "/s" replaced.
  XdgFolders xdg;
  WriteBytes(xdg.List(), user);
  ASSERT_TRUE(Register(1, QStringLiteral("/opt/vell/vell")));
  EXPECT_EQ(ReadBytes(xdg.List()), withOurs);
  ASSERT_TRUE(Register(0, QStringLiteral("/opt/vell/vell")));
  EXPECT_EQ(ReadBytes(xdg.List()), withoutOurs);
  // A default the user changed afterwards survives "/u".
  WriteBytes(xdg.List(), user);
  ASSERT_TRUE(Register(0, QStringLiteral("/opt/vell/vell")));
  EXPECT_EQ(ReadBytes(xdg.List()), user);
}

TEST(FileAssociation, ExecutableFolderQuoted) {
  // Inside the quotes '"', '`', '$' and '\' take a backslash and '%' is
  // doubled; then the value's own escapes double every backslash.
  EXPECT_EQ(assoc::QuoteExecArgument(QStringLiteral("/a b/vell")), QStringLiteral("\"/a b/vell\""));
  EXPECT_EQ(assoc::QuoteExecArgument(QStringLiteral("/$HOME/100%/\"q\"/`x`/b\\s")),
            QStringLiteral(R"("/\\$HOME/100%%/\\"q\\"/\\`x\\`/b\\\\s")"));
  // A line break cannot end the Exec line early.
  EXPECT_EQ(assoc::QuoteExecArgument(QStringLiteral("/a\nExec=evil\t/vell")),
            QStringLiteral(R"("/a\nExec=evil\t/vell")"));
  EXPECT_EQ(assoc::DesktopEntry(QStringLiteral("/x/it's %f here")).split('\n')[4],
            QByteArray("Exec=\"/x/it's %%f here/vell\" %f"));

  // The desktop's validator accepts what is written for an awkward folder.
  const QString validator = QStandardPaths::findExecutable(QStringLiteral("desktop-file-validate"));
  if (validator.isEmpty()) GTEST_SKIP() << "desktop-file-validate is not installed";
  XdgFolders xdg;
  ASSERT_TRUE(Register(1, QStringLiteral("/opt/a \"b\" $c %d `e` \\f/vell")));
  QProcess check;
  check.start(validator, {xdg.DataFile(kDesktop)});
  ASSERT_TRUE(check.waitForFinished());
  EXPECT_EQ(check.exitCode(), 0) << check.readAllStandardOutput().toStdString();
}

TEST(FileAssociation, FailedWriteLeavesAConsistentAssociation) {
  {  // The default application cannot be written: the rest is whole, and the
     // message names the file and the system's reason.
    XdgFolders xdg;
    WriteBytes(xdg.Config(), "a file where the folder should be");
    QString error;
    EXPECT_FALSE(Register(1, QStringLiteral("/opt/vell/vell"), &error));
    EXPECT_TRUE(error.contains(xdg.List())) << error.toStdString();
    EXPECT_GT(error.size(), xdg.List().size() + 20) << error.toStdString();
    EXPECT_EQ(ReadBytes(xdg.DataFile(kDesktop)), assoc::DesktopEntry(QStringLiteral("/opt/vell")));
    EXPECT_EQ(ReadBytes(xdg.DataFile(kMime)), assoc::MimePackage());
  }
  {  // The icons cannot be written: nothing after them is, so no default
     // names an entry that is not there.
    XdgFolders xdg;
    WriteBytes(xdg.DataFile("icons"), "in the way");
    QString error;
    EXPECT_FALSE(Register(1, QStringLiteral("/opt/vell/vell"), &error));
    EXPECT_TRUE(error.contains(QStringLiteral("vell.svg"))) << error.toStdString();
    EXPECT_FALSE(QFileInfo::exists(xdg.DataFile(kDesktop)));
    EXPECT_FALSE(QFileInfo::exists(xdg.List()));
  }
  {  // "/u" that cannot edit the default application keeps the entry it
     // names.
    XdgFolders xdg;
    ASSERT_TRUE(Register(1, QStringLiteral("/opt/vell/vell")));
    QFile::remove(xdg.List());
    QDir().mkpath(xdg.List());
    QString error;
    EXPECT_FALSE(Register(0, QStringLiteral("/opt/vell/vell"), &error));
    EXPECT_TRUE(error.contains(xdg.List())) << error.toStdString();
    EXPECT_TRUE(QFileInfo::exists(xdg.DataFile(kDesktop)));
  }
}

TEST(FileAssociation, DesktopToolsFindTheDefault) {
  const QString xdgMime = QStandardPaths::findExecutable(QStringLiteral("xdg-mime"));
  const QString gio = QStandardPaths::findExecutable(QStringLiteral("gio"));
  if (xdgMime.isEmpty() || gio.isEmpty()) GTEST_SKIP() << "xdg-mime or gio is not installed";
  XdgFolders xdg;
  // The launcher only lists entries whose program exists.
  QTemporaryDir bin;
  const QString folder = bin.filePath(QStringLiteral("my \"odd\" $folder"));
  WriteBytes(folder + QStringLiteral("/vell"), "#!/bin/sh\n");
  QFile::setPermissions(folder + QStringLiteral("/vell"),
                        QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
  ASSERT_TRUE(Register(1, folder + QStringLiteral("/vell")));
  const QString program = xdg.Data() + QStringLiteral("/x.vell");
  WriteBytes(program, "PRINT 1\n");

  auto query = [&](const QStringList& arguments) {
    QProcess process;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("XDG_CURRENT_DESKTOP"), QStringLiteral("GNOME"));
    process.setProcessEnvironment(env);
    process.start(xdgMime, arguments);
    process.waitForFinished();
    return QString::fromUtf8(process.readAllStandardOutput()).trimmed();
  };
  EXPECT_EQ(query({QStringLiteral("query"), QStringLiteral("default"), QStringLiteral("text/x-vell")}),
            QStringLiteral("vell.desktop"));
  EXPECT_EQ(query({QStringLiteral("query"), QStringLiteral("filetype"), program}),
            QStringLiteral("text/x-vell"));

  // gio lists the entry only when its Exec line reads back to a program that
  // exists, so the quoting of the folder held.
  QProcess info;
  info.start(gio, {QStringLiteral("mime"), QStringLiteral("text/x-vell")});
  info.waitForFinished();
  EXPECT_TRUE(QString::fromUtf8(info.readAllStandardOutput()).contains(QStringLiteral("vell.desktop")));

  ASSERT_TRUE(Register(0, folder + QStringLiteral("/vell")));
  EXPECT_NE(query({QStringLiteral("query"), QStringLiteral("default"), QStringLiteral("text/x-vell")}),
            QStringLiteral("vell.desktop"));
}
