#include "platform/qt/memo_text.h"

#include <QPlainTextEdit>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <algorithm>
#include <vector>

#include "platform/qt/utf16_qstring.h"

namespace vell::qt {

namespace {

// The character-format property that marks a picture as a kept lone CR.
constexpr int kLoneReturnProperty = QTextFormat::UserProperty + 1;

bool IsLoneReturn(std::u16string_view text, size_t i) {
  return text[i] == u'\r' && (i + 1 >= text.size() || text[i + 1] != u'\n');
}

// The text as the edit takes it, a lone CR as its picture; the pictures'
// offsets go into `returns`.
QString ToEditTextKeepingReturns(std::u16string_view text, std::vector<int>* returns) {
  QString out;
  out.reserve(static_cast<qsizetype>(text.size()));
  for (size_t i = 0; i < text.size(); ++i) {
    const char16_t c = text[i];
    if (c == u'\r' && !IsLoneReturn(text, i)) continue;  // the LF that follows breaks
    if (c == u'\r') {
      returns->push_back(static_cast<int>(out.size()));
      out += QChar(kLoneReturnPicture);
    } else {
      out += QChar(c);
    }
  }
  return out;
}

}  // namespace

QString WithLoneReturns(const QTextDocument& document, QString raw, int from) {
  if (!raw.contains(QChar(kLoneReturnPicture))) return raw;
  const int to = from + static_cast<int>(raw.size());
  for (QTextBlock block = document.findBlock(from); block.isValid() && block.position() < to;
       block = block.next()) {
    for (auto it = block.begin(); !it.atEnd(); ++it) {
      const QTextFragment fragment = it.fragment();
      if (!fragment.isValid() || !fragment.charFormat().hasProperty(kLoneReturnProperty)) continue;
      const QString text = fragment.text();
      for (int k = 0; k < text.size(); ++k) {
        const int at = fragment.position() + k - from;
        if (at >= 0 && at < raw.size() && text[k] == QChar(kLoneReturnPicture)) raw[at] = u'\r';
      }
    }
  }
  return raw;
}

QString MemoQText(const QPlainTextEdit& edit) {
  const QString raw = WithLoneReturns(*edit.document(), edit.document()->toRawText(), 0);
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

void SetMemoTextKeepingReturns(QPlainTextEdit& edit, std::u16string_view text) {
  std::vector<int> returns;
  edit.setPlainText(ToEditTextKeepingReturns(text, &returns));
  if (returns.empty()) return;
  // Marking the pictures is part of the new text, not a step to undo.
  QTextDocument& document = *edit.document();
  document.setUndoRedoEnabled(false);
  QTextCharFormat mark;
  mark.setProperty(kLoneReturnProperty, true);
  QTextCursor cursor(&document);
  for (const int at : returns) {
    cursor.setPosition(at);
    cursor.setPosition(at + 1, QTextCursor::KeepAnchor);
    cursor.mergeCharFormat(mark);
  }
  document.setUndoRedoEnabled(true);
}

bool ClearLoneReturnMark(QTextCharFormat& format) {
  if (!format.hasProperty(kLoneReturnProperty)) return false;
  format.clearProperty(kLoneReturnProperty);
  return true;
}

void InsertKeepingReturns(QTextCursor& cursor, std::u16string_view text) {
  QTextCharFormat plain = cursor.charFormat();
  ClearLoneReturnMark(plain);
  QTextCharFormat mark = plain;
  mark.setProperty(kLoneReturnProperty, true);
  cursor.beginEditBlock();
  cursor.removeSelectedText();
  size_t start = 0;
  for (size_t i = 0; i <= text.size(); ++i) {
    if (i < text.size() && !IsLoneReturn(text, i)) continue;
    if (i > start) cursor.insertText(ToEditText(text.substr(start, i - start)), plain);
    if (i < text.size()) cursor.insertText(QString(QChar(kLoneReturnPicture)), mark);
    start = i + 1;
  }
  cursor.endEditBlock();
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
