// The multi-line edit of the main window's program and output areas and of
// the text boxes programs create. Programs see its text with CR LF line
// breaks and count each line break as two units in selections, and a CR
// that is no line break as one.
#pragma once

#include <QKeyEvent>
#include <QPlainTextEdit>
#include <QRect>
#include <string>
#include <string_view>

class MemoEdit : public QPlainTextEdit {
  Q_OBJECT

 public:
  using QPlainTextEdit::QPlainTextEdit;

  // The formatting rectangle: the part of the client area (the edit without
  // its frame and scroll bars) inside which the text is laid out, kept as
  // its distances from the client area's edges.
  void SetFormatMargins(int horizontal, int vertical) {
    SetFormatMargins(QMargins(horizontal, vertical, horizontal, vertical));
  }
  void SetFormatMargins(const QMargins& margins);
  QMargins FormatMargins() const { return viewportMargins(); }
  // The client area (left and top 0) and the formatting rectangle in it.
  QRect ClientRect() const;
  QRect FormatRect() const;
  // Lays the text out in `rect` (client coordinates).
  void SetFormatRect(const QRect& rect);

  // Enter breaks a line only while this is on (Ctrl+Enter always does).
  bool WantReturns() const { return wantReturns_; }
  void SetWantReturns(bool on) { wantReturns_ = on; }

  // 0 none, 1 horizontal, 2 vertical, 3 both; other ordinals are kept and
  // show none. With a horizontal bar lines are no longer wrapped.
  int ScrollBars() const { return scrollBars_; }
  void SetScrollBars(int ordinal);

  // 0 no border, 1 a single border.
  int BorderStyle() const { return borderStyle_; }
  void SetBorderStyle(int ordinal);

  // The text with CR LF line breaks (a kept lone CR as a CR), and the text
  // as programs read it (every CR removed).
  std::u16string Text() const;
  std::u16string ProgramText() const;
  // Replaces the text; CR, LF and CR LF each end a line (a file's text).
  void SetText(std::u16string_view text);
  // Replaces the text with a program's: CR LF and LF end a line, a CR on
  // its own is kept as one character (shown as a control picture).
  void SetProgramText(std::u16string_view text);

  // The selection, counted with each line break as two units. Setting the
  // start puts the caret there (no selection); setting the length selects
  // from the start. Values outside the text are taken as its nearest end.
  int SelStart() const;
  int SelLength() const;
  void SetSelStart(int start);
  void SetSelLength(int length);
  // The selected text as programs read it (line breaks as LF).
  std::u16string SelText() const;
  // Replaces the selection, or inserts at the caret; line breaks as for
  // SetProgramText.
  void SetSelText(std::u16string_view text);

  // Program output appended at the caret as the output area receives PRINT:
  // CR is dropped, LF breaks the line, ESC "*" empties the edit, any other
  // ESC is dropped, the text ends at its first NUL. The output is gathered
  // and goes into the edit within a few milliseconds while events are
  // processed, or before anything reads or changes the edit (its members
  // here, a key, the mouse).
  void AppendOutput(std::u16string_view text);
  // Puts the gathered output into the edit now.
  void FlushOutput() const;

  // Replaces the text with a file's, read by byte-order mark, else in the
  // locale's character set. On failure the text stays and `error` says why.
  bool LoadFile(const QString& path, QString* error);
  // Writes the lines, each followed by CR LF, as UTF-16LE with a byte-order
  // mark. The file is replaced only once it is written whole; on failure the
  // old file stays and `error` says why.
  bool SaveFile(const QString& path, QString* error) const;

 protected:
  void keyPressEvent(QKeyEvent* event) override;
  void inputMethodEvent(QInputMethodEvent* event) override;
  void insertFromMimeData(const QMimeData* source) override;
  bool event(QEvent* event) override;
  bool viewportEvent(QEvent* event) override;

 private:
  void FlushNow();
  // What the user puts in next is plain text, also beside a kept lone CR.
  void TypeUnmarked();
  bool pendingScheduled_ = false;
  QString pendingOutput_;
  bool wantReturns_ = true;
  int scrollBars_ = 0;
  int borderStyle_ = 1;
};

namespace vell::qt {

// A program's text for a text box: when it holds no CR, every LF becomes
// CR LF; a text with a CR is taken as it is.
std::u16string ToCrLfText(std::u16string_view text);

}  // namespace vell::qt
