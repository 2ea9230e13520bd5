// The output area's side of program output: output is gathered between pumps
// and written at the caret in chunks, as the program's line breaks and the
// clear sequence ESC "*" give.
#pragma once

#include <memory>
#include <string>
#include <string_view>

#include "host/waiting_output.h"

class QPlainTextEdit;

class OutputArea {
 public:
  explicit OutputArea(QPlainTextEdit& memo);
  ~OutputArea();
  OutputArea(const OutputArea&) = delete;
  OutputArea& operator=(const OutputArea&) = delete;

  // Gathers program output (CR dropped, LF a line break, ESC "*" empties the
  // area, the text ends at its first NUL).
  void Append(std::u16string_view text);
  // Writes what was gathered since the last flush at the caret.
  void Flush() {
    if (HasPending()) WritePending();
  }
  // The same while the area can be seen. While it cannot (its window
  // minimized, as a program started with /v runs, or the area hidden) the
  // output waits until the area is shown or read, however much gathers:
  // putting line after line that nobody sees into the area's document is
  // the most costly part of printing, and the document would hold the same
  // text and more per line than what waits.
  void FlushIfShown();
  bool HasPending() const { return !pending_.IsEmpty(); }
  // Empties the area and drops what was gathered.
  void Clear();
  // The area's text with CR LF line breaks, everything printed included.
  std::u16string Text();

 private:
  class ShowWatch;
  void WritePending();
  bool Shown() const;

  QPlainTextEdit& memo_;
  WaitingOutput pending_;
  std::unique_ptr<ShowWatch> watch_;  // writes what waits when the area is shown
};
