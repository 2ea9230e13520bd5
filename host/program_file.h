// Program files: read by byte-order mark (UTF-8, UTF-16LE, UTF-16BE), else in
// the locale's character set; written as UTF-16LE with a byte-order mark.
#pragma once

#include <QString>
#include <string>
#include <string_view>

namespace vell::host {

// The text of a program file's bytes, the mark removed; line breaks are kept
// as they are.
std::u16string DecodeProgramBytes(std::string_view bytes);
// FF FE and the text in UTF-16LE, exactly as given.
std::string EncodeProgramBytes(std::u16string_view text);

// Reads a whole program file; false with a message when it cannot be read.
bool ReadProgramFile(const QString& path, std::u16string& text, QString& error);
// Writes a program file through a temporary file that replaces the old one
// only when everything was written; a failure leaves the old file whole.
bool WriteProgramFile(const QString& path, std::u16string_view text, QString& error);

}  // namespace vell::host
