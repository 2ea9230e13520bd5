// Printing into a PDF file in the tests: the environment variable that sends
// documents there, and the poppler tools that read the file back.
#pragma once

#include <QProcess>
#include <QStandardPaths>
#include <QString>
#include <QStringList>
#include <initializer_list>

namespace vell::testing {

// Every document printed while it lives goes into the PDF file `path`.
class PdfEnvironment {
 public:
  explicit PdfEnvironment(const QString& path) { Use(path); }
  ~PdfEnvironment() { qunsetenv("VELL_PRINT_PDF"); }
  PdfEnvironment(const PdfEnvironment&) = delete;
  PdfEnvironment& operator=(const PdfEnvironment&) = delete;
  void Use(const QString& path) { qputenv("VELL_PRINT_PDF", path.toLocal8Bit()); }
};

inline bool HaveTools(std::initializer_list<const char*> tools) {
  for (const char* tool : tools) {
    if (QStandardPaths::findExecutable(QString::fromLatin1(tool)).isEmpty()) return false;
  }
  return true;
}

// What the tool writes to its standard output.
inline QString RunTool(const QString& tool, const QStringList& arguments) {
  QProcess process;
  process.start(tool, arguments);
  process.waitForFinished(30000);
  return QString::fromUtf8(process.readAllStandardOutput());
}

}  // namespace vell::testing
