#include "host/output_area.h"

#include <QPlainTextEdit>
#include <QTextCursor>
#include <utility>

#include "platform/qt/memo_text.h"

namespace {

constexpr int kChunkCapacity = 254;

// Splits program output into the chunks the output area receives: CR is
// dropped, LF ends a line and writes the chunk, a chunk is written when it is
// full, ESC "*" empties the area (the chunk gathered so far survives it and is
// written afterwards), any other ESC is dropped. The text ends at its first NUL.
template <class Write, class Clear>
void SplitOutput(std::u16string_view text, Write write, Clear clear) {
  QString chunk;
  chunk.reserve(kChunkCapacity + 2);
  for (size_t i = 0; i < text.size(); ++i) {
    const char16_t c = text[i];
    if (c == 0) break;
    if (c == u'\r') continue;
    if (c == 27) {
      if (i + 1 < text.size() && text[i + 1] == u'*') {
        clear();
        ++i;
      }
      continue;
    }
    if (c == u'\n') {
      chunk += u'\n';
      write(chunk);
      chunk.clear();
      continue;
    }
    chunk += QChar(c);
    if (chunk.size() >= kChunkCapacity) {
      write(chunk);
      chunk.clear();
    }
  }
  if (!chunk.isEmpty()) write(chunk);
}

// Output goes where the caret is, and the caret follows it.
void InsertAtCaret(QPlainTextEdit& edit, const QString& text) {
  QTextCursor cursor = edit.textCursor();
  cursor.insertText(text);
  edit.setTextCursor(cursor);
}

}  // namespace

void OutputArea::Append(std::u16string_view text) {
  SplitOutput(
      text, [this](const QString& chunk) { pending_ += chunk; },
      [this] {
        pending_.clear();
        memo_.clear();
      });
}

void OutputArea::WritePending() {
  const QString text = std::move(pending_);
  pending_ = QString();
  InsertAtCaret(memo_, text);
}

void OutputArea::Clear() {
  pending_.clear();
  memo_.clear();
}

std::u16string OutputArea::Text() {
  Flush();
  return vell::qt::MemoText(memo_);
}

void OutputArea::AppendToEdit(QPlainTextEdit& edit, std::u16string_view text) {
  SplitOutput(
      text, [&edit](const QString& chunk) { InsertAtCaret(edit, chunk); },
      [&edit] { edit.clear(); });
}
