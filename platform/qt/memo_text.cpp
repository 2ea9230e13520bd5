#include "platform/qt/memo_text.h"

#include <QPlainTextEdit>
#include <QTextBlock>
#include <QTextDocument>

namespace vell::qt {

QString MemoQText(const QPlainTextEdit& edit) {
  const QString raw = edit.document()->toRawText();
  QString out;
  out.reserve(raw.size() + raw.size() / 16);
  for (QChar c : raw) {
    if (c == QChar::ParagraphSeparator) {
      out += u'\r';
      out += u'\n';
    } else {
      out += c;
    }
  }
  return out;
}

std::u16string MemoText(const QPlainTextEdit& edit) {
  const QString text = MemoQText(edit);
  return std::u16string(reinterpret_cast<const char16_t*>(text.utf16()),
                        static_cast<size_t>(text.size()));
}

QString ToEditText(std::u16string_view text) {
  QString out;
  out.reserve(static_cast<qsizetype>(text.size()));
  for (size_t i = 0; i < text.size(); ++i) {
    const char16_t c = text[i];
    if (c == u'\r') {
      out += u'\n';
      if (i + 1 < text.size() && text[i + 1] == u'\n') ++i;
    } else {
      out += QChar(c);
    }
  }
  return out;
}

void SetMemoText(QPlainTextEdit& edit, std::u16string_view text) {
  edit.setPlainText(ToEditText(text));
}

int CrLfPosition(const QTextDocument& document, int qtPosition) {
  if (qtPosition <= 0) return 0;
  const QTextBlock block = document.findBlock(qtPosition);
  const int lineBreaks = block.isValid() ? block.blockNumber() : document.blockCount() - 1;
  return qtPosition + lineBreaks;
}

int QtPosition(const QTextDocument& document, int crLfPosition) {
  if (crLfPosition <= 0) return 0;
  for (QTextBlock block = document.begin(); block.isValid(); block = block.next()) {
    const int start = block.position() + block.blockNumber();  // in CR LF units
    const int end = start + block.length() - 1;                // before the break
    if (crLfPosition <= end) return block.position() + (crLfPosition - start);
    if (crLfPosition <= end + 2 && block.next().isValid()) {
      // Inside or right after the CR LF: the start of the next line when past it.
      return crLfPosition == end + 2 ? block.next().position()
                                     : block.position() + block.length() - 1;
    }
  }
  return document.characterCount() - 1;
}

}  // namespace vell::qt
