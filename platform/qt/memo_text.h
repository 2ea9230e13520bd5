// The text of a multi-line edit in the form programs and files see it: lines
// separated by CR LF, positions counting each line break as two units.
//
// A program's text may hold a CR that is no line break (one not followed by
// LF): the edit keeps it as one character, shown as the control picture
// U+240D and marked as a CR in its character format, so that it reads back
// as a CR and counts as one unit.
#pragma once

#include <string>
#include <string_view>

class QPlainTextEdit;
class QTextCharFormat;
class QTextCursor;
class QTextDocument;
class QString;

namespace vell::qt {

// What the edit shows for a CR that is no line break.
inline constexpr char16_t kLoneReturnPicture = u'\u240D';

// The whole text with CR LF between lines (taken raw, so a no-break space
// stays U+00A0); a kept lone CR is a CR.
std::u16string MemoText(const QPlainTextEdit& edit);
QString MemoQText(const QPlainTextEdit& edit);
// The document's raw text from position `from` on (`raw`, as the document or
// a cursor's selection gives it: U+2029 between lines) with every kept lone
// CR as a CR.
QString WithLoneReturns(const QTextDocument& document, QString raw, int from);
// Replaces the whole text; CR, LF and CR LF each end a line.
void SetMemoText(QPlainTextEdit& edit, std::u16string_view text);
// Replaces the whole text; CR LF and LF end a line, a lone CR is kept.
void SetMemoTextKeepingReturns(QPlainTextEdit& edit, std::u16string_view text);
// Inserts at the cursor as one undo step, replacing its selection; CR LF
// and LF end a line, a lone CR is kept.
void InsertKeepingReturns(QTextCursor& cursor, std::u16string_view text);
// Every line break (CR, LF or CR LF) as LF, the form the edit takes.
QString ToEditText(std::u16string_view text);
// Takes the mark of a kept lone CR off a format (text typed after such a CR
// takes its format and is no CR); false when it had none.
bool ClearLoneReturnMark(QTextCharFormat& format);

// Caret positions: Qt's position (one unit per line break) and the position
// counted with CR LF as two units.
int CrLfPosition(const QTextDocument& document, int qtPosition);
int QtPosition(const QTextDocument& document, int crLfPosition);

}  // namespace vell::qt
