#include "platform/qt/memo_text.h"

#include <QPlainTextEdit>
#include <QTextBlock>
#include <QTextDocument>
#include <algorithm>

#include "platform/qt/utf16_qstring.h"

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

std::u16string MemoText(const QPlainTextEdit& edit) { return ToU16String(MemoQText(edit)); }

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
  // The last line that starts at or before the position, in CR LF units (a
  // line's start is its position plus one more unit for each line above it).
  // Found by halving over the line numbers, so a long text costs no walk.
  int low = 0;
  int high = document.blockCount() - 1;
  while (low < high) {
    const int mid = low + (high - low + 1) / 2;
    if (document.findBlockByNumber(mid).position() + mid <= crLfPosition) {
      low = mid;
    } else {
      high = mid - 1;
    }
  }
  const QTextBlock block = document.findBlockByNumber(low);
  const int start = block.position() + low;
  const int lineLength = block.length() - 1;  // without the break
  // Past the line's end: inside its CR LF (the line's end) or past the text.
  return block.position() + std::min(crLfPosition - start, lineLength);
}

}  // namespace vell::qt
