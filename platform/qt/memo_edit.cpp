#include "platform/qt/memo_edit.h"

#include <QInputMethodEvent>
#include <QMimeData>
#include <QScrollBar>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QTimer>
#include <algorithm>

#include "platform/qt/memo_text.h"
#include "platform/qt/output_chunks.h"
#include "platform/qt/utf16_qstring.h"
#include "platform/qt/whole_text_files.h"

namespace {

// A line break inside the edit as programs read it: LF.
std::u16string WithLfBreaks(QString text) {
  text.replace(QChar::ParagraphSeparator, QLatin1Char('\n'));
  text.remove(QLatin1Char('\r'));
  return vell::qt::ToU16String(text);
}

// The text's length with each line break counted as two units.
int CrLfLength(const QTextDocument& document) {
  return document.characterCount() - 1 + document.blockCount() - 1;
}

int Clamp(long long value, int high) {
  return static_cast<int>(std::clamp<long long>(value, 0, high));
}

// Gathered output goes in this long after the first of it at the latest:
// soon enough to look immediate, seldom enough that a program printing line
// after line does not lay the edit out anew for every line.
constexpr int kOutputDelayMs = 10;

}  // namespace

void MemoEdit::SetFormatMargins(const QMargins& margins) { setViewportMargins(margins); }

QRect MemoEdit::ClientRect() const {
  const QMargins m = viewportMargins();
  const QRect area = viewport()->geometry().marginsAdded(m);
  return QRect(0, 0, area.width(), area.height());
}

QRect MemoEdit::FormatRect() const { return ClientRect().marginsRemoved(viewportMargins()); }

void MemoEdit::SetFormatRect(const QRect& rect) {
  const QRect client = ClientRect();
  setViewportMargins(std::max(0, rect.left()), std::max(0, rect.top()),
                     std::max(0, client.right() - rect.right()),
                     std::max(0, client.bottom() - rect.bottom()));
}

void MemoEdit::SetScrollBars(int ordinal) {
  scrollBars_ = ordinal;
  const bool horizontal = ordinal == 1 || ordinal == 3;
  const bool vertical = ordinal == 2 || ordinal == 3;
  setHorizontalScrollBarPolicy(horizontal ? Qt::ScrollBarAlwaysOn : Qt::ScrollBarAlwaysOff);
  setVerticalScrollBarPolicy(vertical ? Qt::ScrollBarAlwaysOn : Qt::ScrollBarAlwaysOff);
  setLineWrapMode(horizontal ? QPlainTextEdit::NoWrap : QPlainTextEdit::WidgetWidth);
}

void MemoEdit::SetBorderStyle(int ordinal) {
  borderStyle_ = ordinal;
  setFrameShape(ordinal == 0 ? QFrame::NoFrame : QFrame::StyledPanel);
}

std::u16string MemoEdit::Text() const {
  FlushOutput();
  return vell::qt::MemoText(*this);
}

std::u16string MemoEdit::ProgramText() const {
  FlushOutput();
  return WithLfBreaks(vell::qt::WithLoneReturns(*document(), document()->toRawText(), 0));
}

void MemoEdit::SetText(std::u16string_view text) {
  pendingOutput_.clear();
  vell::qt::SetMemoText(*this, text);
}

void MemoEdit::SetProgramText(std::u16string_view text) {
  pendingOutput_.clear();
  vell::qt::SetMemoTextKeepingReturns(*this, text);
}

int MemoEdit::SelStart() const {
  FlushOutput();
  return vell::qt::CrLfPosition(*document(), textCursor().selectionStart());
}

int MemoEdit::SelLength() const {
  FlushOutput();
  const QTextCursor cursor = textCursor();
  return vell::qt::CrLfPosition(*document(), cursor.selectionEnd()) -
         vell::qt::CrLfPosition(*document(), cursor.selectionStart());
}

void MemoEdit::SetSelStart(int start) {
  FlushOutput();
  const QTextDocument& doc = *document();
  QTextCursor cursor = textCursor();
  cursor.setPosition(vell::qt::QtPosition(doc, Clamp(start, CrLfLength(doc))));
  setTextCursor(cursor);
}

void MemoEdit::SetSelLength(int length) {
  const QTextDocument& doc = *document();
  const int start = SelStart();
  const int end = Clamp(static_cast<long long>(start) + length, CrLfLength(doc));
  QTextCursor cursor = textCursor();
  cursor.setPosition(vell::qt::QtPosition(doc, start));
  cursor.setPosition(vell::qt::QtPosition(doc, end), QTextCursor::KeepAnchor);
  setTextCursor(cursor);
}

std::u16string MemoEdit::SelText() const {
  FlushOutput();
  const QTextCursor cursor = textCursor();
  return WithLfBreaks(
      vell::qt::WithLoneReturns(*document(), cursor.selectedText(), cursor.selectionStart()));
}

void MemoEdit::SetSelText(std::u16string_view text) {
  FlushOutput();
  QTextCursor cursor = textCursor();
  vell::qt::InsertKeepingReturns(cursor, text);
  setTextCursor(cursor);
}

void MemoEdit::AppendOutput(std::u16string_view text) {
  // ESC "*" empties the edit and drops the chunks already complete, while
  // the chunk being gathered survives it.
  QString complete;
  vell::qt::SplitOutput(
      text, [&complete](QStringView chunk) { complete += chunk; },
      [this, &complete] {
        complete.clear();
        pendingOutput_.clear();
        clear();
      });
  if (complete.isEmpty()) return;
  pendingOutput_ += complete;
  if (!pendingScheduled_) {
    pendingScheduled_ = true;
    QTimer::singleShot(kOutputDelayMs, this, [this] { FlushNow(); });
  }
}

void MemoEdit::FlushOutput() const { const_cast<MemoEdit*>(this)->FlushNow(); }

void MemoEdit::FlushNow() {
  pendingScheduled_ = false;
  if (pendingOutput_.isEmpty()) return;
  const QString text = std::move(pendingOutput_);
  pendingOutput_ = QString();
  QTextCursor cursor = textCursor();
  cursor.insertText(text);
  setTextCursor(cursor);
}

namespace {

// Events that read or change the text or the caret.
bool TouchesText(QEvent::Type type) {
  switch (type) {
    case QEvent::KeyPress:
    case QEvent::KeyRelease:
    case QEvent::ShortcutOverride:
    case QEvent::InputMethod:
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonRelease:
    case QEvent::MouseButtonDblClick:
    case QEvent::MouseMove:
    case QEvent::Drop:
    case QEvent::ContextMenu:
    case QEvent::FocusIn:
      return true;
    default:
      return false;
  }
}

}  // namespace

bool MemoEdit::event(QEvent* event) {
  if (!pendingOutput_.isEmpty() && TouchesText(event->type())) FlushNow();
  return QPlainTextEdit::event(event);
}

bool MemoEdit::viewportEvent(QEvent* event) {
  if (!pendingOutput_.isEmpty() && TouchesText(event->type())) FlushNow();
  return QPlainTextEdit::viewportEvent(event);
}

bool MemoEdit::LoadFile(const QString& path, QString* error) {
  std::u16string text;
  QString message;
  if (!vell::qt::ReadMarkedTextFile(path, text, message)) {
    if (error) *error = message;
    return false;
  }
  SetText(text);
  return true;
}

bool MemoEdit::SaveFile(const QString& path, QString* error) const {
  // Every line is followed by CR LF; an empty last line is no line.
  std::u16string text = Text();
  if (!text.empty() && !text.ends_with(u"\r\n")) text += u"\r\n";
  QString message;
  if (!vell::qt::WriteUtf16TextFile(path, text, message)) {
    if (error) *error = message;
    return false;
  }
  return true;
}

void MemoEdit::TypeUnmarked() {
  const QTextCursor cursor = textCursor();
  if (cursor.hasSelection()) return;  // the next text takes the format before the selection
  QTextCharFormat format = cursor.charFormat();
  if (vell::qt::ClearLoneReturnMark(format)) setCurrentCharFormat(format);
}

void MemoEdit::inputMethodEvent(QInputMethodEvent* event) {
  TypeUnmarked();
  QPlainTextEdit::inputMethodEvent(event);
}

void MemoEdit::insertFromMimeData(const QMimeData* source) {
  TypeUnmarked();
  QPlainTextEdit::insertFromMimeData(source);
}

void MemoEdit::keyPressEvent(QKeyEvent* event) {
  if (!event->text().isEmpty()) TypeUnmarked();
  const bool enter = event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter;
  if (enter && !wantReturns_ && !(event->modifiers() & Qt::ControlModifier)) {
    // The key goes on to the window (its default button, if any).
    event->ignore();
    return;
  }
  // Shift+Enter breaks the line like Enter: the edit would otherwise put in
  // a line separator (U+2028), which looks like a line break but is none
  // to the program or the file.
  if (event->matches(QKeySequence::InsertLineSeparator) ||
      (enter && (event->modifiers() & Qt::ControlModifier))) {
    QKeyEvent plain(event->type(), Qt::Key_Return, Qt::NoModifier, QStringLiteral("\r"),
                    event->isAutoRepeat(), static_cast<quint16>(event->count()));
    QPlainTextEdit::keyPressEvent(&plain);
    event->setAccepted(plain.isAccepted());
    return;
  }
  QPlainTextEdit::keyPressEvent(event);
}

namespace vell::qt {

std::u16string ToCrLfText(std::u16string_view text) {
  if (text.find(u'\r') != std::u16string_view::npos) return std::u16string(text);
  std::u16string out;
  out.reserve(text.size() + text.size() / 16);
  for (char16_t c : text) {
    if (c == u'\n') out += u'\r';
    out += c;
  }
  return out;
}

}  // namespace vell::qt
