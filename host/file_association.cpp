#include "host/file_association.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QList>
#include <QProcess>
#include <QSaveFile>
#include <QStandardPaths>
#include <algorithm>
#include <optional>

#include "platform/qt/japanese_texts.h"

namespace vell::host {

namespace {

constexpr char kMimeType[] = "text/x-vell";
constexpr char kDesktopName[] = "vell.desktop";
constexpr char kMimeFile[] = "mime/packages/vell-program.xml";
constexpr char kDesktopFile[] = "applications/vell.desktop";
constexpr char kDefaultsGroup[] = "Default Applications";

// The two icons, compiled in from host/icons, and where they go under the
// data folder.
struct IconFile {
  const char* resource;
  const char* target;
};
constexpr IconFile kIcons[] = {
    {":/vell/icons/vell.svg", "icons/hicolor/scalable/apps/vell.svg"},
    {":/vell/icons/text-x-vell.svg", "icons/hicolor/scalable/mimetypes/text-x-vell.svg"},
};
constexpr char kIconTheme[] = "icons/hicolor";

constexpr int kToolTimeoutMs = 30000;

QString XmlEscape(const QString& text) { return text.toHtmlEscaped(); }

bool WriteWhole(const QString& path, const QByteArray& bytes, QString& error) {
  // A folder that cannot be made shows as the file's own error below.
  QDir().mkpath(QFileInfo(path).absolutePath());
  QSaveFile file(path);
  if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size() || !file.commit()) {
    error = QStringLiteral("Cannot write \"%1\". %2").arg(path, file.errorString());
    return false;
  }
  return true;
}

// `removed` tells whether there was a file to remove.
bool RemoveIfPresent(const QString& path, bool& removed, QString& error) {
  QFile file(path);
  removed = false;
  if (!QFileInfo(path).isFile() && !QFileInfo(path).isSymLink()) return true;
  if (!file.remove()) {
    error = QStringLiteral("Cannot remove \"%1\". %2").arg(path, file.errorString());
    return false;
  }
  removed = true;
  return true;
}

// Runs a desktop tool when it is installed; its output is not shown and its
// failure is not reported (the files themselves are in place).
void RunTool(const char* name, const QStringList& arguments) {
  const QString tool = QStandardPaths::findExecutable(QString::fromLatin1(name));
  if (tool.isEmpty()) return;
  QProcess process;
  process.setStandardOutputFile(QProcess::nullDevice());
  process.setStandardErrorFile(QProcess::nullDevice());
  process.start(tool, arguments);
  if (process.waitForStarted() && !process.waitForFinished(kToolTimeoutMs)) {
    process.kill();
    process.waitForFinished();
  }
}

// What a registration or removal changed, so that only those databases are
// rebuilt.
struct Changes {
  bool mime = false;
  bool applications = false;
  bool icons = false;
};

void RefreshDesktop(const QString& dataHome, const Changes& changes) {
  if (changes.mime) RunTool("update-mime-database", {dataHome + QStringLiteral("/mime")});
  if (changes.applications) {
    RunTool("update-desktop-database", {dataHome + QStringLiteral("/applications")});
  }
  if (changes.icons) {
    RunTool("gtk-update-icon-cache", {QStringLiteral("-q"), QStringLiteral("-t"),
                                      QStringLiteral("-f"),
                                      dataHome + u'/' + QLatin1String(kIconTheme)});
  }
}

QString FromXdg(const char* variable, const QString& fallback) {
  const QString env = qEnvironmentVariable(variable);
  if (!env.isEmpty() && QDir::isAbsolutePath(env)) return env;
  return QDir::homePath() + u'/' + fallback;
}

// ---------------------------------------------------------------------------
// mimeapps.list, edited line by line so that whatever else it holds stays
// as it is.

// The lines with their line breaks; the last one may have none.
QList<QByteArray> SplitLines(const QByteArray& text) {
  QList<QByteArray> lines;
  qsizetype start = 0;
  while (start < text.size()) {
    qsizetype end = text.indexOf('\n', start);
    end = end < 0 ? text.size() : end + 1;
    lines.append(text.mid(start, end - start));
    start = end;
  }
  return lines;
}

QByteArray LineBreakOf(const QByteArray& line) {
  if (line.endsWith("\r\n")) return "\r\n";
  if (line.endsWith('\n')) return "\n";
  return {};
}

QByteArray ContentOf(const QByteArray& line) {
  return line.left(line.size() - LineBreakOf(line).size());
}

// The group a header line opens, or nothing for any other line.
std::optional<QByteArray> GroupOf(const QByteArray& line) {
  const QByteArray content = ContentOf(line).trimmed();
  if (!content.startsWith('[') || !content.endsWith(']')) return std::nullopt;
  return content.mid(1, content.size() - 2);
}

// True when `line` sets the program files' key; `value` receives its value.
bool IsOurKey(const QByteArray& line, QByteArray* value = nullptr) {
  const QByteArray content = ContentOf(line);
  if (content.trimmed().startsWith('#')) return false;
  const qsizetype equals = content.indexOf('=');
  if (equals < 0 || content.left(equals).trimmed() != kMimeType) return false;
  if (value) *value = content.mid(equals + 1).trimmed();
  return true;
}

QByteArray OurLine() { return QByteArray(kMimeType) + '=' + kDesktopName; }

}  // namespace

namespace association {

QByteArray MimePackage() {
  return QStringLiteral(
             "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
             "<mime-info xmlns=\"http://www.freedesktop.org/standards/shared-mime-info\">\n"
             "  <mime-type type=\"%1\">\n"
             "    <comment>%2</comment>\n"
             "    <sub-class-of type=\"text/plain\"/>\n"
             "    <icon name=\"text-x-vell\"/>\n"
             "    <glob pattern=\"*.vell\"/>\n"
             "  </mime-type>\n"
             "</mime-info>\n")
      .arg(QLatin1String(kMimeType), XmlEscape(jp::Q(jp::kFileTypeName)))
      .toUtf8();
}

QString QuoteExecArgument(const QString& argument) {
  // The Exec rules: inside double quotes, '"', '`', '$' and '\' take a
  // backslash and '%' is doubled.
  QString quoted = QStringLiteral("\"");
  for (QChar c : argument) {
    if (c == u'"' || c == u'`' || c == u'$' || c == u'\\') quoted += u'\\';
    if (c == u'%') quoted += u'%';
    quoted += c;
  }
  quoted += u'"';
  // The line is read as a string value first, which takes its own escapes:
  // backslashes are doubled and line breaks and tabs written as escapes.
  QString value;
  for (QChar c : quoted) {
    switch (c.unicode()) {
      case u'\\': value += QStringLiteral("\\\\"); break;
      case u'\n': value += QStringLiteral("\\n"); break;
      case u'\r': value += QStringLiteral("\\r"); break;
      case u'\t': value += QStringLiteral("\\t"); break;
      default: value += c;
    }
  }
  return value;
}

QByteArray DesktopEntry(const QString& executableFolder) {
  const QString executable = QDir(executableFolder).absolutePath() + QStringLiteral("/vell");
  return QStringLiteral(
             "[Desktop Entry]\n"
             "Type=Application\n"
             "Name=Vell\n"
             "Icon=vell\n"
             "Exec=%1 %f\n"
             "MimeType=%2;\n"
             "Terminal=false\n")
      .arg(QuoteExecArgument(executable), QLatin1String(kMimeType))
      .toUtf8();
}

QByteArray WithDefaultApplication(const QByteArray& list) {
  QList<QByteArray> lines = SplitLines(list);
  bool inDefaults = false, found = false;
  qsizetype header = -1;
  for (qsizetype i = 0; i < lines.size(); ++i) {
    if (const auto group = GroupOf(lines[i])) {
      inDefaults = *group == kDefaultsGroup;
      if (inDefaults && header < 0) header = i;
    } else if (inDefaults && IsOurKey(lines[i])) {
      lines[i] = OurLine() + LineBreakOf(lines[i]);
      found = true;
    }
  }
  if (!found) {
    if (header >= 0) {
      QByteArray lineBreak = LineBreakOf(lines[header]);
      if (lineBreak.isEmpty()) {
        lineBreak = "\n";
        lines[header] += lineBreak;
      }
      lines.insert(header + 1, OurLine() + lineBreak);
    } else {
      if (!lines.isEmpty()) {
        if (LineBreakOf(lines.last()).isEmpty()) lines.last() += '\n';
        lines.append("\n");
      }
      lines.append(QByteArray("[") + kDefaultsGroup + "]\n");
      lines.append(OurLine() + '\n');
    }
  }
  return lines.join();
}

QByteArray WithoutDefaultApplication(const QByteArray& list) {
  QList<QByteArray> lines = SplitLines(list);
  bool inDefaults = false;
  for (qsizetype i = 0; i < lines.size();) {
    QByteArray value;
    if (const auto group = GroupOf(lines[i])) {
      inDefaults = *group == kDefaultsGroup;
    } else if (inDefaults && IsOurKey(lines[i], &value)) {
      QList<QByteArray> entries = value.split(';');
      entries.removeIf([](const QByteArray& e) { return e.trimmed().isEmpty(); });
      const bool oursAlone =
          !entries.isEmpty() && std::all_of(entries.begin(), entries.end(), [](const QByteArray& e) {
            return e.trimmed() == kDesktopName;
          });
      if (oursAlone) {
        lines.removeAt(i);
        continue;
      }
    }
    ++i;
  }
  return lines.join();
}

}  // namespace association

QString AssociationDataHome() { return FromXdg("XDG_DATA_HOME", QStringLiteral(".local/share")); }

QString AssociationConfigHome() { return FromXdg("XDG_CONFIG_HOME", QStringLiteral(".config")); }

namespace {

// Reads mimeapps.list; a missing file reads as empty.
bool ReadList(const QString& path, bool& exists, QByteArray& bytes, QString& error) {
  QFile file(path);
  exists = file.exists();
  bytes.clear();
  if (!exists) return true;
  if (!file.open(QIODevice::ReadOnly)) {
    error = QStringLiteral("Cannot read \"%1\". %2").arg(path, file.errorString());
    return false;
  }
  bytes = file.readAll();
  return true;
}

bool Register(const QString& dataHome, const QString& listPath, const QString& executableFolder,
              Changes& changes, QString& error) {
  // Icons and type first, the default application last: whatever stops the
  // way leaves no default naming an entry that is not there.
  for (const IconFile& icon : kIcons) {
    QFile resource(QString::fromLatin1(icon.resource));
    if (!resource.open(QIODevice::ReadOnly)) {
      error = QStringLiteral("Cannot read \"%1\". %2").arg(resource.fileName(), resource.errorString());
      return false;
    }
    if (!WriteWhole(dataHome + u'/' + QLatin1String(icon.target), resource.readAll(), error)) {
      return false;
    }
    changes.icons = true;
  }
  if (!WriteWhole(dataHome + u'/' + QLatin1String(kMimeFile), association::MimePackage(), error)) {
    return false;
  }
  changes.mime = true;
  if (!WriteWhole(dataHome + u'/' + QLatin1String(kDesktopFile),
                  association::DesktopEntry(executableFolder), error)) {
    return false;
  }
  changes.applications = true;

  bool exists = false;
  QByteArray list;
  if (!ReadList(listPath, exists, list, error)) return false;
  const QByteArray updated = association::WithDefaultApplication(list);
  return updated == list || WriteWhole(listPath, updated, error);
}

bool Unregister(const QString& dataHome, const QString& listPath, Changes& changes,
                QString& error) {
  // The reverse order: the default goes before the entry it names.
  bool exists = false;
  QByteArray list;
  if (!ReadList(listPath, exists, list, error)) return false;
  if (exists) {
    const QByteArray updated = association::WithoutDefaultApplication(list);
    if (updated != list && !WriteWhole(listPath, updated, error)) return false;
  }
  bool removed = false;
  if (!RemoveIfPresent(dataHome + u'/' + QLatin1String(kDesktopFile), removed, error)) return false;
  changes.applications = removed;
  if (!RemoveIfPresent(dataHome + u'/' + QLatin1String(kMimeFile), removed, error)) return false;
  changes.mime = removed;
  for (const IconFile& icon : kIcons) {
    if (!RemoveIfPresent(dataHome + u'/' + QLatin1String(icon.target), removed, error)) {
      return false;
    }
    changes.icons = changes.icons || removed;
  }
  return true;
}

}  // namespace

bool RegisterFileType(int mode, const QString& executablePath, QString& error) {
  const QString dataHome = AssociationDataHome();
  const QString listPath = AssociationConfigHome() + QStringLiteral("/mimeapps.list");
  Changes changes;
  bool ok = true;
  if (mode == kWriteFileType) {
    ok = Register(dataHome, listPath, QFileInfo(executablePath).absolutePath(), changes, error);
  } else if (mode == kRemoveFileType) {
    ok = Unregister(dataHome, listPath, changes, error);
  }
  // Also after a failure: the databases then match what was written.
  RefreshDesktop(dataHome, changes);
  return ok;
}

}  // namespace vell::host
