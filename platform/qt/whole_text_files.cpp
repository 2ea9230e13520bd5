#include "platform/qt/whole_text_files.h"

#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

#include "platform/text_files.h"

namespace vell::qt {

bool ReadMarkedTextFile(const QString& path, std::u16string& text, QString& error) {
  QFile file(path);
  if (!file.open(QIODevice::ReadOnly)) {
    error = QStringLiteral("Cannot open file \"%1\". %2").arg(path, file.errorString());
    return false;
  }
  const QByteArray bytes = file.readAll();
  if (file.error() != QFileDevice::NoError) {
    error = QStringLiteral("Cannot read file \"%1\". %2").arg(path, file.errorString());
    return false;
  }
  text = text::DecodeMarkedText(
      std::string_view(bytes.constData(), static_cast<size_t>(bytes.size())));
  return true;
}

bool WriteUtf16TextFile(const QString& path, std::u16string_view text, QString& error) {
  // The temporary file would replace a file that is not ours to write.
  const QFileInfo target(path);
  if (target.exists() && (target.isDir() || !target.isWritable())) {
    error = QStringLiteral("Cannot create file \"%1\". %2")
                .arg(path, target.isDir() ? QStringLiteral("Is a directory")
                                          : QStringLiteral("Permission denied"));
    return false;
  }
  const std::string bytes = text::EncodeUtf16LeWithMark(text);
  QSaveFile file(path);
  if (!file.open(QIODevice::WriteOnly)) {
    error = QStringLiteral("Cannot create file \"%1\". %2").arg(path, file.errorString());
    return false;
  }
  if (file.write(bytes.data(), static_cast<qint64>(bytes.size())) !=
          static_cast<qint64>(bytes.size()) ||
      !file.commit()) {
    error = QStringLiteral("Cannot write file \"%1\". %2").arg(path, file.errorString());
    file.cancelWriting();
    return false;
  }
  return true;
}

}  // namespace vell::qt
