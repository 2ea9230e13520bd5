#include "host/output_area.h"

#include <QPlainTextEdit>
#include <QTextCursor>
#include <utility>

#include "platform/qt/memo_text.h"
#include "platform/qt/output_chunks.h"

namespace {

// Output goes where the caret is, and the caret follows it.
void InsertAtCaret(QPlainTextEdit& edit, const QString& text) {
  QTextCursor cursor = edit.textCursor();
  cursor.insertText(text);
  edit.setTextCursor(cursor);
}

}  // namespace

void OutputArea::Append(std::u16string_view text) {
  vell::qt::SplitOutput(
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
