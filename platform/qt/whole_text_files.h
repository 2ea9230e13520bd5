// Whole files read and written at once by the window: the program area's
// files, the text boxes' LOADFILE and SAVEFILE, and the pictures images save.
#pragma once

#include <QString>
#include <string>
#include <string_view>

namespace vell::qt {

// Reads a file's text by byte-order mark (UTF-8, UTF-16LE, UTF-16BE, the mark
// removed), else in the locale's character set; line breaks stay as they are.
// Only a regular file is read. False with a message when the file cannot be
// read.
bool ReadMarkedTextFile(const QString& path, std::u16string& text, QString& error);
// Writes the bytes to a new file beside the old one, which takes its place
// only when everything was written: a failure leaves the old file whole. A
// file that may not be written is refused. False with a message naming the
// reason (no space left, permission denied and the like).
bool WriteWholeFile(const QString& path, std::string_view bytes, QString& error);
// Writes FF FE and the text in UTF-16LE, as WriteWholeFile does.
bool WriteUtf16TextFile(const QString& path, std::u16string_view text, QString& error);

}  // namespace vell::qt
