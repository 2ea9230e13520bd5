#include "host/program_file.h"

#include "platform/qt/whole_text_files.h"
#include "platform/text_files.h"

namespace vell::host {

std::u16string DecodeProgramBytes(std::string_view bytes) { return text::DecodeMarkedText(bytes); }

std::string EncodeProgramBytes(std::u16string_view text) {
  return text::EncodeUtf16LeWithMark(text);
}

bool ReadProgramFile(const QString& path, std::u16string& text, QString& error) {
  return qt::ReadMarkedTextFile(path, text, error);
}

bool WriteProgramFile(const QString& path, std::u16string_view text, QString& error) {
  return qt::WriteUtf16TextFile(path, text, error);
}

}  // namespace vell::host
