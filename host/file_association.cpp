#include "host/file_association.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QSaveFile>
#include <QStandardPaths>

#include "platform/qt/japanese_texts.h"

namespace vell::host {

namespace {

constexpr char kMimeType[] = "text/x-vell";
constexpr char kMimeFile[] = "mime/packages/vell-program.xml";
constexpr char kDesktopFile[] = "applications/vell.desktop";

// One argument of a desktop entry's Exec line, quoted.
QString QuoteExecArgument(const QString& argument) {
  QString quoted = QStringLiteral("\"");
  for (QChar c : argument) {
    if (c == u'"' || c == u'`' || c == u'$' || c == u'\\') quoted += u'\\';
    if (c == u'%') quoted += u'%';
    quoted += c;
  }
  quoted += u'"';
  // The value itself is a desktop-entry string: its backslashes are doubled.
  quoted.replace(QStringLiteral("\\"), QStringLiteral("\\\\"));
  return quoted;
}

QString XmlEscape(const QString& text) { return text.toHtmlEscaped(); }

bool WriteWhole(const QString& path, const QByteArray& bytes, QString& error) {
  if (!QDir().mkpath(QFileInfo(path).absolutePath())) {
    error = QStringLiteral("Cannot create the folder of \"%1\".").arg(path);
    return false;
  }
  QSaveFile file(path);
  if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size() || !file.commit()) {
    error = QStringLiteral("Cannot write \"%1\". %2").arg(path, file.errorString());
    return false;
  }
  return true;
}

bool RemoveIfPresent(const QString& path, QString& error) {
  QFile file(path);
  if (!file.exists() || file.remove()) return true;
  error = QStringLiteral("Cannot remove \"%1\". %2").arg(path, file.errorString());
  return false;
}

// Tells the desktop that the associations changed (the caches are rebuilt
// where the tools exist; nothing is reported when they do not).
void NotifyDesktop(const QString& dataHome) {
  const QString mimeTool = QStandardPaths::findExecutable(QStringLiteral("update-mime-database"));
  if (!mimeTool.isEmpty()) QProcess::execute(mimeTool, {dataHome + QStringLiteral("/mime")});
  const QString appTool = QStandardPaths::findExecutable(QStringLiteral("update-desktop-database"));
  if (!appTool.isEmpty()) {
    QProcess::execute(appTool, {dataHome + QStringLiteral("/applications")});
  }
}

}  // namespace

QString AssociationDataHome() {
  const QString env = qEnvironmentVariable("XDG_DATA_HOME");
  if (!env.isEmpty() && QDir::isAbsolutePath(env)) return env;
  return QDir::homePath() + QStringLiteral("/.local/share");
}

bool RegisterFileType(int mode, const QString& executablePath, QString& error) {
  const QString home = AssociationDataHome();
  const QString mimePath = home + u'/' + QLatin1String(kMimeFile);
  const QString desktopPath = home + u'/' + QLatin1String(kDesktopFile);
  bool ok = true;
  if (mode == 1) {
    const QString typeName = jp::Q(jp::kFileTypeName);
    const QString mime =
        QStringLiteral(
            "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
            "<mime-info xmlns=\"http://www.freedesktop.org/standards/shared-mime-info\">\n"
            "  <mime-type type=\"%1\">\n"
            "    <comment>%2</comment>\n"
            "    <glob pattern=\"*.vell\"/>\n"
            "  </mime-type>\n"
            "</mime-info>\n")
            .arg(QLatin1String(kMimeType), XmlEscape(typeName));
    const QString desktop =
        QStringLiteral(
            "[Desktop Entry]\n"
            "Type=Application\n"
            "Name=Vell\n"
            "Comment=%1\n"
            "Exec=%2 %f\n"
            "MimeType=%3;\n"
            "Terminal=false\n")
            .arg(typeName, QuoteExecArgument(executablePath), QLatin1String(kMimeType));
    ok = WriteWhole(mimePath, mime.toUtf8(), error) &&
         WriteWhole(desktopPath, desktop.toUtf8(), error);
    if (!ok) return false;
  } else if (mode == 0) {
    ok = RemoveIfPresent(mimePath, error) && RemoveIfPresent(desktopPath, error);
    if (!ok) return false;
  }
  NotifyDesktop(home);
  return true;
}

}  // namespace vell::host
