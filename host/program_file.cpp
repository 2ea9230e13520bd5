#include "host/program_file.h"

#include <QFile>
#include <QSaveFile>

#include "platform/text_codec.h"

namespace vell::host {

namespace {

std::u16string DecodeUtf16(std::string_view bytes, bool bigEndian) {
  std::u16string text;
  text.reserve(bytes.size() / 2);
  for (size_t i = 0; i + 1 < bytes.size(); i += 2) {
    const auto b0 = static_cast<unsigned char>(bytes[i]);
    const auto b1 = static_cast<unsigned char>(bytes[i + 1]);
    text.push_back(bigEndian ? static_cast<char16_t>((b0 << 8) | b1)
                             : static_cast<char16_t>((b1 << 8) | b0));
  }
  return text;
}

}  // namespace

std::u16string DecodeProgramBytes(std::string_view bytes) {
  if (bytes.substr(0, 3) == "\xEF\xBB\xBF") return text::Utf8ToWide(bytes.substr(3));
  if (bytes.substr(0, 2) == "\xFF\xFE") return DecodeUtf16(bytes.substr(2), false);
  if (bytes.substr(0, 2) == "\xFE\xFF") return DecodeUtf16(bytes.substr(2), true);
  return text::AnsiToWide(bytes);
}

std::string EncodeProgramBytes(std::u16string_view text) {
  std::string bytes;
  bytes.reserve(2 + text.size() * 2);
  bytes += "\xFF\xFE";
  for (char16_t c : text) {
    bytes.push_back(static_cast<char>(c & 0xFF));
    bytes.push_back(static_cast<char>(c >> 8));
  }
  return bytes;
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
