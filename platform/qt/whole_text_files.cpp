#include "platform/qt/whole_text_files.h"

#include <QFile>
#include <cerrno>
#include <cstring>

#include "platform/file_reading.h"
#include "platform/file_replacement.h"
#include "platform/text_files.h"

namespace vell::qt {
namespace {

// The largest file read as a text: as large as the largest text a value
// holds.
constexpr int64_t kMaxTextFileBytes = int64_t{1} << 30;

QString Reason(int error) { return QString::fromLocal8Bit(std::strerror(error)); }

QString Failed(const char* what, const QString& path, const QString& reason) {
  return QStringLiteral("%1 \"%2\". %3").arg(QLatin1String(what), path, reason);
}

}  // namespace

bool ReadMarkedTextFile(const QString& path, std::u16string& text, QString& error) {
  std::string bytes;
  const files::ReadOutcome outcome =
      path.isEmpty()
          ? files::ReadOutcome{files::ReadFailure::Open, ENOENT}
          : files::ReadRegularFile(QFile::encodeName(path).toStdString(), kMaxTextFileBytes, bytes);
  switch (outcome.failed) {
    case files::ReadFailure::None:
      text = text::DecodeMarkedText(bytes);
      return true;
    case files::ReadFailure::Open:
      error = Failed("Cannot open file", path, Reason(outcome.error));
      break;
    case files::ReadFailure::NotRegular:
      error = Failed("Cannot open file", path, QStringLiteral("not a regular file"));
      break;
    case files::ReadFailure::TooLarge:
      error = Failed("Cannot open file", path, QStringLiteral("the file is too large"));
      break;
    case files::ReadFailure::Read:
      error = Failed("Cannot read file", path, Reason(outcome.error));
      break;
  }
  return false;
}

bool WriteWholeFile(const QString& path, std::string_view bytes, QString& error) {
  files::ReplaceOutcome outcome{files::ReplaceStep::Create, ENOENT};
  if (!path.isEmpty()) {
    files::ReplaceRequest request;
    request.size = static_cast<int64_t>(bytes.size());
    request.fill = [bytes](int fd) { return files::WriteAll(fd, bytes); };
    outcome = files::ReplaceFileContents(QFile::encodeName(path).toStdString(), request);
  }
  if (outcome.ok()) return true;
  error = Failed(
      outcome.failed == files::ReplaceStep::Create ? "Cannot create file" : "Cannot write file",
      path, Reason(outcome.error));
  return false;
}

bool WriteUtf16TextFile(const QString& path, std::u16string_view text, QString& error) {
  return WriteWholeFile(path, text::EncodeUtf16LeWithMark(text), error);
}

}  // namespace vell::qt
