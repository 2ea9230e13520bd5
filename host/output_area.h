// The output area's side of program output: output is gathered between pumps
// and written at the caret in chunks, as the program's line breaks and the
// clear sequence ESC "*" give.
#pragma once

#include <QString>
#include <string>
#include <string_view>

class QPlainTextEdit;

class OutputArea {
 public:
  explicit OutputArea(QPlainTextEdit& memo) : memo_(memo) {}

  // Gathers program output (CR dropped, LF a line break, ESC "*" empties the
  // area, the text ends at its first NUL).
  void Append(std::u16string_view text);
  // Writes what was gathered since the last flush at the caret.
  void Flush() {
    if (!pending_.isEmpty()) WritePending();
  }
  bool HasPending() const { return !pending_.isEmpty(); }
  // Empties the area and drops what was gathered.
  void Clear();
  // The area's text with CR LF line breaks, everything printed included.
  std::u16string Text();

 private:
  void WritePending();

  QPlainTextEdit& memo_;
  QString pending_;
};
