#include "host/program_file.h"

#include <QFile>
#include <QSaveFile>

#include "platform/text_files.h"

namespace vell::host {

std::u16string DecodeProgramBytes(std::string_view bytes) { return text::DecodeMarkedText(bytes); }

std::string EncodeProgramBytes(std::u16string_view text) {
  return text::EncodeUtf16LeWithMark(text);
}

bool ReadProgramFile(const QString& path, std::u16string& text, QString& error) {
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
  text = DecodeProgramBytes(std::string_view(bytes.constData(), static_cast<size_t>(bytes.size())));
  return true;
}

bool WriteProgramFile(const QString& path, std::u16string_view text, QString& error) {
  const std::string bytes = EncodeProgramBytes(text);
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

}  // namespace vell::host
