// Whole text files read and written at once by the window: the program area's
// files and the text boxes' LOADFILE and SAVEFILE.
#pragma once

#include <QString>
#include <string>
#include <string_view>

namespace vell::qt {

// Reads a file's text by byte-order mark (UTF-8, UTF-16LE, UTF-16BE, the mark
// removed), else in the locale's character set; line breaks stay as they are.
// False with a message when the file cannot be read.
bool ReadMarkedTextFile(const QString& path, std::u16string& text, QString& error);
// Writes FF FE and the text in UTF-16LE through a temporary file that replaces
// the old one only when everything was written. A file that may not be
// written is refused; a failure leaves the old file whole.
bool WriteUtf16TextFile(const QString& path, std::u16string_view text, QString& error);

}  // namespace vell::qt
